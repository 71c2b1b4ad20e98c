#include "platform/seqfile.h"

#include "platform/textfile.h"
#include "platform/vbrt.h"

SeqReader::SeqReader(QString content) : text_(std::move(content)) {}

std::optional<SeqReader> SeqReader::Open(const QString& path) {
    auto text = textfile::Read(path);
    if (!text) return std::nullopt;
    return SeqReader(std::move(*text));
}

bool SeqReader::AtEnd() const {
    for (qsizetype i = pos_; i < text_.size(); ++i) {
        const QChar c = text_[i];
        if (c != u' ' && c != u'\t' && c != u'\r' && c != u'\n' && c != QChar(0x1A)) return false;
    }
    return true;
}

void SeqReader::skipDelimiter() {
    if (pos_ >= text_.size()) return;
    if (text_[pos_] == u',') {
        ++pos_;
    } else if (text_[pos_] == u'\r') {
        ++pos_;
        if (pos_ < text_.size() && text_[pos_] == u'\n') ++pos_;
    } else if (text_[pos_] == u'\n') {
        ++pos_;
    }
}

QString SeqReader::Field() {
    while (pos_ < text_.size() && (text_[pos_] == u' ' || text_[pos_] == u'\t')) ++pos_;
    QString out;
    if (pos_ < text_.size() && text_[pos_] == u'"') {
        ++pos_;
        while (pos_ < text_.size() && text_[pos_] != u'"' && text_[pos_] != u'\n' && text_[pos_] != u'\r')
            out.append(text_[pos_++]);
        if (pos_ < text_.size() && text_[pos_] == u'"') ++pos_;
        // Whatever stands between the closing quote and the delimiter is dropped.
        while (pos_ < text_.size() && text_[pos_] != u',' && text_[pos_] != u'\r' && text_[pos_] != u'\n') ++pos_;
    } else {
        while (pos_ < text_.size() && text_[pos_] != u',' && text_[pos_] != u'\r' && text_[pos_] != u'\n')
            out.append(text_[pos_++]);
        while (!out.isEmpty() && (out.back() == u' ' || out.back() == u'\t')) out.chop(1);
    }
    skipDelimiter();
    return out;
}

QString SeqReader::Line() {
    QString out;
    while (pos_ < text_.size() && text_[pos_] != u'\r' && text_[pos_] != u'\n') out.append(text_[pos_++]);
    if (pos_ < text_.size() && text_[pos_] == u'\r') ++pos_;
    if (pos_ < text_.size() && text_[pos_] == u'\n') ++pos_;
    return out;
}

void SeqWriter::Print(double value) { lines_ << vb::CStr(value); }

QString SeqWriter::Text() const {
    QString out;
    for (const QString& l : lines_) out += l + QStringLiteral("\r\n");
    return out;
}

bool SeqWriter::Save(const QString& path) const { return textfile::WriteAtomic(path, Text()); }
