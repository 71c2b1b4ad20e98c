// Settings files of one number a line.
#pragma once

#include "platform/seqfile.h"

#include <QString>
#include <vector>

namespace numberfile {

// One value of a file: where it goes, and the range it must be in.
struct Entry {
    Entry(double* v, bool (*accepts)(double) = nullptr) : value(v), fits(accepts) {}
    double* value;
    bool (*fits)(double);  // nullptr: any finite number
};

// Reads up to entries.size() numbers, in order, into the values pointed to;
// a line that is not a number, or a number out of its range, leaves its
// value as it was. A missing file, such a line, or a count other than
// expected is told to the user, with `expected` (what the file should hold)
// when given. False when the file could not be read at all.
bool Read(const QString& programPath, const std::vector<Entry>& entries, const QString& expected = {});

// Replaces the file with the values, one a line; false (the user told, the
// old file kept) when it could not be saved.
bool Write(const QString& programPath, const std::vector<double>& values);
// The lines such a file holds, for a save of several files.
SeqWriter Lines(const std::vector<double>& values);

}  // namespace numberfile
