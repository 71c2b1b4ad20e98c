#include "platform/seqfile.h"

#include "platform/textfile.h"
#include "platform/vbrt.h"

namespace {

bool isBlank(QChar c) { return c == u' ' || c == u'\t'; }
bool isLineBreak(QChar c) { return c == u'\r' || c == u'\n'; }
// What AtEnd passes over: blanks, line breaks and the old end-of-file mark.
bool isFiller(QChar c) { return isBlank(c) || isLineBreak(c) || c == QChar(0x1A); }

}  // namespace

SeqReader::SeqReader(QString content) : text_(std::move(content)) {
    // Found once, so that AtEnd costs nothing however many blank lines follow.
    end_ = text_.size();
    while (end_ > 0 && isFiller(text_[end_ - 1])) --end_;
}

std::optional<SeqReader> SeqReader::Open(const QString& path) {
    auto text = textfile::Read(path);
    if (!text) return std::nullopt;
    return SeqReader(std::move(*text));
}

void SeqReader::skipDelimiter() {
    lastEnd_ = End::Text;
    if (pos_ >= text_.size()) return;
    if (text_[pos_] == u',') {
        ++pos_;
        lastEnd_ = End::Comma;
    } else if (text_[pos_] == u'\r') {
        ++pos_;
        if (pos_ < text_.size() && text_[pos_] == u'\n') ++pos_;
        lastEnd_ = End::LineBreak;
    } else if (text_[pos_] == u'\n') {
        ++pos_;
        lastEnd_ = End::LineBreak;
    }
}

QString SeqReader::Field() {
    const qsizetype size = text_.size();
    while (pos_ < size && isBlank(text_[pos_])) ++pos_;
    QString out;
    lastQuoteOpen_ = false;
    if (pos_ < size && text_[pos_] == u'"') {
        const qsizetype start = ++pos_;
        while (pos_ < size && text_[pos_] != u'"' && !isLineBreak(text_[pos_])) ++pos_;
        out = text_.mid(start, pos_ - start);
        if (pos_ < size && text_[pos_] == u'"') ++pos_;
        else lastQuoteOpen_ = true;
        // Whatever stands between the closing quote and the delimiter is dropped.
        while (pos_ < size && text_[pos_] != u',' && !isLineBreak(text_[pos_])) ++pos_;
    } else {
        const qsizetype start = pos_;
        while (pos_ < size && text_[pos_] != u',' && !isLineBreak(text_[pos_])) ++pos_;
        qsizetype stop = pos_;
        while (stop > start && isBlank(text_[stop - 1])) --stop;
        out = text_.mid(start, stop - start);
    }
    skipDelimiter();
    return out;
}

QString SeqReader::Line() {
    const qsizetype size = text_.size();
    const qsizetype start = pos_;
    while (pos_ < size && !isLineBreak(text_[pos_])) ++pos_;
    QString out = text_.mid(start, pos_ - start);
    if (pos_ < size && text_[pos_] == u'\r') ++pos_;
    if (pos_ < size && text_[pos_] == u'\n') ++pos_;
    return out;
}

void SeqReader::skipBlankLines() {
    const qsizetype size = text_.size();
    for (;;) {
        qsizetype i = pos_;
        while (i < size && isBlank(text_[i])) ++i;
        if (i >= size || !isLineBreak(text_[i])) return;
        pos_ = i;
        Line();
    }
}

std::optional<SeqReader::Record> SeqReader::NextRecord(int count) {
    skipBlankLines();
    if (AtEnd()) return std::nullopt;
    const qsizetype start = pos_;
    Record r;
    bool whole = true;
    while (r.fields.size() < count && !AtEnd()) {
        r.fields << Field();
        whole = whole && !lastQuoteOpen_;
    }
    r.complete = whole && r.fields.size() == count && lastEnd_ == End::LineBreak;
    if (!r.complete) {
        pos_ = start;
        Line();
    }
    return r;
}

void SeqWriter::Print(double value) { lines_ << vb::CStr(value); }

QString SeqWriter::Text() const {
    QString out;
    for (const QString& l : lines_) out += l + QStringLiteral("\r\n");
    return out;
}

bool SeqWriter::Save(const QString& path) const { return textfile::WriteAtomic(path, Text()); }
