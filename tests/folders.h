// Files and folders as tests look at them: whole files' bytes, and every
// file below a folder.
#pragma once

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QStringList>
#include <gtest/gtest.h>

namespace folders {

// The file's bytes; empty when it cannot be read.
inline QByteArray BytesOf(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Writes the file whole, making its folder when needed.
inline void Write(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate)) << path.toStdString();
    f.write(bytes);
}

// Every file below the folder, sorted.
inline QStringList FilesBelow(const QString& folder) {
    QStringList out;
    QDirIterator it(folder, QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
    while (it.hasNext()) out << it.next();
    out.sort();
    return out;
}

// Every file below the folder, by its name relative to it, with its bytes.
inline QMap<QString, QByteArray> ContentsOf(const QString& folder) {
    QMap<QString, QByteArray> out;
    for (const QString& path : FilesBelow(folder)) out.insert(QDir(folder).relativeFilePath(path), BytesOf(path));
    return out;
}

}  // namespace folders
