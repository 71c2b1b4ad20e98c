// Text files as the program reads and writes them: read as UTF-8 when the bytes
// are valid UTF-8, else as Windows-1252; written as UTF-8 through a new file
// renamed over the old one, so no file is ever left half-written.
#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

namespace textfile {

QString Decode(const QByteArray& bytes);
// The file's text, or nothing when it cannot be read.
std::optional<QString> Read(const QString& path);
// Writes the whole text; false (and the old file untouched) on failure.
bool WriteAtomic(const QString& path, const QString& text);

}  // namespace textfile
