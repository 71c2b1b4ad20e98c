// Checking the numbers typed in a window's boxes before anything is saved.
#pragma once

#include <QString>
#include <initializer_list>

class QLineEdit;

namespace inputcheck {

enum class Range {
    Positive,     // above 0
    NotNegative,  // 0 or above
};

struct Field {
    const QLineEdit* box;
    QString name;  // how the user knows the box
};

// True when every box holds a finite number in the range and nothing else but
// blanks. Otherwise the user is told which box (the first wrong one) and that
// nothing was saved, and the result is false.
bool Numbers(std::initializer_list<Field> fields, Range range);

}  // namespace inputcheck
