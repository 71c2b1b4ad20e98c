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
    bool AtEnd() const { return pos_ >= end_; }
    // The next field, without its quotes and surrounding blanks.
    QString Field();
    // The rest of the current line, as a whole.
    QString Line();

    // The next record of `count` fields, read across commas and line breaks;
    // blank lines before it are passed over. Nothing when only blanks are left.
    // A record is complete when every field is whole (a quoted one has its
    // closing quote) and its last field ends its line: a record cut by the
    // end of the file, or one with a field missing or too many, is not. After
    // an incomplete record reading goes on at the line that follows the one
    // the record began on, so a damaged line costs only its own record.
    struct Record {
        QStringList fields;
        bool complete = false;
    };
    std::optional<Record> NextRecord(int count);

private:
    enum class End { Comma, LineBreak, Text };
    void skipDelimiter();
    void skipBlankLines();
    QString text_;
    qsizetype pos_ = 0;
    qsizetype end_ = 0;  // just past the last character that is not a blank or a line break
    End lastEnd_ = End::LineBreak;
    bool lastQuoteOpen_ = false;
};

// Collects the lines of a file, to be saved whole (see SaveSet).
class SeqWriter {
public:
    void Print(const QString& line) { lines_ << line; }
    void Print(double value);
    QString Text() const;

private:
    QStringList lines_;
};
