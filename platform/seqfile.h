// Sequential text files, read field by field and written line by line.
// Fields are separated by commas and line breaks (CR LF or LF); a field may
// stand in double quotes, which lets it hold commas.
#pragma once

#include <QString>
#include <QStringList>
#include <optional>

class SeqReader {
public:
    explicit SeqReader(QString content);
    // The reader of a file, or nothing when the file cannot be read.
    static std::optional<SeqReader> Open(const QString& path);

    // True when nothing but blanks and line breaks is left.
    bool AtEnd() const;
    // The next field, without its quotes and surrounding blanks.
    QString Field();
    // The rest of the current line, as a whole.
    QString Line();

private:
    void skipDelimiter();
    QString text_;
    qsizetype pos_ = 0;
};

// Collects lines and writes them as one file, replacing the old one whole.
class SeqWriter {
public:
    void Print(const QString& line) { lines_ << line; }
    void Print(double value);
    // False when the file could not be written (the old one is then kept).
    bool Save(const QString& path) const;
    QString Text() const;

private:
    QStringList lines_;
};
