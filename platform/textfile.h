// Text files as the program reads and writes them: read as UTF-8 when the bytes
// are valid UTF-8, else as Windows-1252; written as UTF-8 through a new file
// renamed over the old one, so no file is ever left half-written.
#pragma once

#include <QByteArray>
#include <QString>
#include <cstddef>
#include <optional>
#include <vector>

namespace textfile {

QString Decode(const QByteArray& bytes);
// The file's text, or nothing when it cannot be read.
std::optional<QString> Read(const QString& path);
// Writes the whole text; false (and the old file untouched) on failure.
bool WriteAtomic(const QString& path, const QString& text);

// Several files written as one: every new file is first written beside its
// old one (its name followed by ".nouveau"), then all are renamed over the
// old ones in one run. When a file cannot be written or renamed, the files
// already renamed get their old content back and no new file is left.
struct FileText {
    QString path;
    QString text;
};
struct WriteAllResult {
    bool ok = true;
    std::size_t failed = 0;  // the file that could not be written or renamed
    bool restored = true;    // every file holds its old content again
};
WriteAllResult WriteAllAtomic(const std::vector<FileText>& files);

}  // namespace textfile
