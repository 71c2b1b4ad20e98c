#include "platform/textfile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringDecoder>

#include <filesystem>
#include <system_error>

namespace textfile {

namespace {

// Windows-1252 differs from Latin-1 only in 0x80..0x9F.
constexpr char16_t kCp1252High[32] = {
    0x20AC, 0xFFFD, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0xFFFD, 0x017D, 0xFFFD,
    0xFFFD, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0xFFFD, 0x017E, 0x0178,
};

QString decodeCp1252(const QByteArray& bytes) {
    QString out;
    out.reserve(bytes.size());
    for (char ch : bytes) {
        const auto b = static_cast<unsigned char>(ch);
        out.append(b >= 0x80 && b < 0xA0 ? QChar(kCp1252High[b - 0x80]) : QChar(b));
    }
    return out;
}

}  // namespace

QString Decode(const QByteArray& bytes) {
    QByteArray body = bytes;
    if (body.startsWith("\xEF\xBB\xBF")) body.remove(0, 3);
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(body);
    if (!utf8.hasError()) return text;
    return decodeCp1252(bytes);
}

std::optional<QString> Read(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return std::nullopt;
    return Decode(f.readAll());
}

namespace {

bool writeBytes(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QSaveFile f(path);
    if (!f.open(QIODevice::WriteOnly)) return false;
    if (f.write(bytes) != bytes.size()) {
        f.cancelWriting();
        return false;
    }
    return f.commit();
}

QString besideName(const QString& path) { return path + QStringLiteral(".nouveau"); }

// Replaces `to` (when it exists) with `from` in one step.
bool renameOver(const QString& from, const QString& to) {
    std::error_code ec;
    std::filesystem::rename(QFile(from).filesystemFileName(), QFile(to).filesystemFileName(), ec);
    return !ec;
}

}  // namespace

bool WriteAtomic(const QString& path, const QString& text) { return writeBytes(path, text.toUtf8()); }

WriteAllResult WriteAllAtomic(const std::vector<FileText>& files) {
    WriteAllResult r;
    std::vector<QString> fresh;
    for (std::size_t i = 0; i < files.size(); ++i) {
        const QString beside = besideName(files[i].path);
        if (!writeBytes(beside, files[i].text.toUtf8())) {
            for (const QString& f : fresh) QFile::remove(f);
            r.ok = false;
            r.failed = i;
            return r;
        }
        fresh.push_back(beside);
    }
    // What each file holds before the renames, to give it back if one fails.
    std::vector<std::optional<QByteArray>> old;
    for (const FileText& f : files) {
        QFile in(f.path);
        old.push_back(in.open(QIODevice::ReadOnly) ? std::optional(in.readAll()) : std::nullopt);
    }
    for (std::size_t i = 0; i < files.size(); ++i) {
        if (renameOver(fresh[i], files[i].path)) continue;
        r.ok = false;
        r.failed = i;
        for (std::size_t j = 0; j < i; ++j) {
            const bool back = old[j] ? writeBytes(files[j].path, *old[j]) : QFile::remove(files[j].path);
            r.restored = r.restored && back;
        }
        for (std::size_t j = i; j < files.size(); ++j) QFile::remove(fresh[j]);
        return r;
    }
    return r;
}

}  // namespace textfile
