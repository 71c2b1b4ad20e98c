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
    const QChar* d = text_.constData();
    const qsizetype size = text_.size();
    lastEnd_ = End::Text;
    if (pos_ >= size) return;
    if (d[pos_] == u',') {
        ++pos_;
        lastEnd_ = End::Comma;
    } else if (d[pos_] == u'\r') {
        ++pos_;
        if (pos_ < size && d[pos_] == u'\n') ++pos_;
        lastEnd_ = End::LineBreak;
    } else if (d[pos_] == u'\n') {
        ++pos_;
        lastEnd_ = End::LineBreak;
    }
}

QString SeqReader::Field() {
    const QChar* d = text_.constData();
    const qsizetype size = text_.size();
    while (pos_ < size && isBlank(d[pos_])) ++pos_;
    QString out;
    lastQuoteOpen_ = false;
    if (pos_ < size && d[pos_] == u'"') {
        const qsizetype start = ++pos_;
        while (pos_ < size && d[pos_] != u'"' && !isLineBreak(d[pos_])) ++pos_;
        out = text_.mid(start, pos_ - start);
        if (pos_ < size && d[pos_] == u'"') ++pos_;
        else lastQuoteOpen_ = true;
        // Whatever stands between the closing quote and the delimiter is dropped.
        while (pos_ < size && d[pos_] != u',' && !isLineBreak(d[pos_])) ++pos_;
    } else {
        const qsizetype start = pos_;
        while (pos_ < size && d[pos_] != u',' && !isLineBreak(d[pos_])) ++pos_;
        qsizetype stop = pos_;
        while (stop > start && isBlank(d[stop - 1])) --stop;
        out = text_.mid(start, stop - start);
    }
    skipDelimiter();
    return out;
}

QString SeqReader::Line() {
    const QChar* d = text_.constData();
    const qsizetype size = text_.size();
    const qsizetype start = pos_;
    while (pos_ < size && !isLineBreak(d[pos_])) ++pos_;
    QString out = text_.mid(start, pos_ - start);
    if (pos_ < size && d[pos_] == u'\r') ++pos_;
    if (pos_ < size && d[pos_] == u'\n') ++pos_;
    return out;
}

void SeqReader::skipBlankLines() {
    const QChar* d = text_.constData();
    const qsizetype size = text_.size();
    for (;;) {
        qsizetype i = pos_;
        while (i < size && isBlank(d[i])) ++i;
        if (i >= size || !isLineBreak(d[i])) return;
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
