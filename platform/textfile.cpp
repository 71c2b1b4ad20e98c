#include "platform/textfile.h"

#include "platform/datadir.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QDirIterator>
#include <QStringDecoder>

#include <cerrno>
#include <filesystem>
#include <functional>
#include <system_error>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

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

std::optional<QByteArray> ReadBytes(const QString& path) {
    // Opened without waiting (a pipe with no writer would hold the open for
    // ever), then taken only when what was opened is a plain file.
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) return std::nullopt;
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return std::nullopt;
    }
    QByteArray bytes;
    bytes.reserve(static_cast<qsizetype>(st.st_size));
    char chunk[64 * 1024];
    for (;;) {
        const ssize_t n = ::read(fd, chunk, sizeof chunk);
        if (n > 0) {
            bytes.append(chunk, static_cast<qsizetype>(n));
        } else if (n == 0) {
            break;
        } else if (errno != EINTR) {
            ::close(fd);
            return std::nullopt;
        }
    }
    ::close(fd);
    return bytes;
}

std::optional<QString> Read(const QString& path) {
    auto bytes = ReadBytes(path);
    if (!bytes) return std::nullopt;
    return Decode(*bytes);
}

bool NotPlain(const QString& path) {
    struct stat st {};
    return ::stat(QFile::encodeName(path).constData(), &st) == 0 && !S_ISREG(st.st_mode);
}

QString Excerpt(const QString& line) {
    if (line.size() <= kExcerptLength) return line;
    qsizetype cut = kExcerptLength;
    if (line[cut].isLowSurrogate()) --cut;  // never half a character
    return line.left(cut) + QStringLiteral("…");
}

namespace {

std::function<void()>& stepHook() {
    static std::function<void()> hook;
    return hook;
}

// Before each file operation of a save.
void step() {
    if (stepHook()) stepHook()();
}

// Holds the lock of a folder for as long as it lives: an exclusive flock on
// the folder itself, which every save of the folder and every start-up's
// recovery of it take, in this program or in another. The kernel lets it go
// when the program ends, even by a kill, so a save whose program died never
// keeps the folder. Taking it waits for the holder, whose work is a few file
// operations and never waits for the user. A folder that cannot be opened
// or locked (a file system without such locks) is worked on unlocked.
class FolderLock {
public:
    explicit FolderLock(const QString& folder)
        : fd_(::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)) {
        if (fd_ < 0) return;
        int r;
        do r = ::flock(fd_, LOCK_EX);
        while (r != 0 && errno == EINTR);
    }
    ~FolderLock() {
        if (fd_ >= 0) ::close(fd_);
    }
    FolderLock(const FolderLock&) = delete;
    FolderLock& operator=(const FolderLock&) = delete;

private:
    int fd_;
};

// Forces what was written to the file, or the entries of the folder, to the disk.
bool syncFolder(const QString& folder) {
    const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return false;
    const bool ok = ::fsync(fd) == 0;
    ::close(fd);
    return ok;
}

QString folderOf(const QString& path) { return QFileInfo(path).absolutePath(); }

bool writeWhole(int fd, const QByteArray& bytes) {
    for (qsizetype done = 0; done < bytes.size();) {
        const ssize_t n = ::write(fd, bytes.constData() + done, static_cast<size_t>(bytes.size() - done));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        done += n;
    }
    return true;
}

// Writes the whole file anew and forces it to the disk. Whatever stands at
// its name (a file left by an earlier save, a link planted there) is removed
// first and the file is made only where nothing is, so it is never written
// through a link. A file that could not be written whole is removed.
bool writeDurably(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(folderOf(path));
    const QByteArray name = QFile::encodeName(path);
    step();
    if (::unlink(name.constData()) != 0 && errno != ENOENT) return false;
    const int fd = ::open(name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (fd < 0) return false;
    const bool ok = writeWhole(fd, bytes) && ::fsync(fd) == 0;
    const bool closed = ::close(fd) == 0;
    if (ok && closed) return true;
    ::unlink(name.constData());
    return false;
}

// Replaces `to` (when it exists) with `from` in one step.
bool renameOver(const QString& from, const QString& to) {
    step();
    std::error_code ec;
    std::filesystem::rename(QFile(from).filesystemFileName(), QFile(to).filesystemFileName(), ec);
    return !ec;
}

// A new file beside the old one, then renamed over it.
bool writeBytes(const QString& path, const QByteArray& bytes) {
    const QString fresh = NewName(path);
    if (!writeDurably(fresh, bytes)) return false;
    if (!renameOver(fresh, path)) {
        QFile::remove(fresh);
        return false;
    }
    syncFolder(folderOf(path));
    return true;
}

// Whether an entry exists, a link (even to nothing) counting as one.
bool entryExists(const QFileInfo& info) { return info.exists() || info.isSymLink(); }

bool removeRecord(const QString& folder) {
    const QString record = folder + u'/' + QString(kSetRecord);
    step();
    const bool ok = QFile::remove(record) || !entryExists(QFileInfo(record));
    syncFolder(folder);
    return ok;
}

// What a file holds before a save replaces it, to give it back if the save
// fails: nothing when there was no file, unknown when its content cannot be
// read (anything but a plain file, or a file that cannot be opened).
struct OldContent {
    bool existed = false;
    std::optional<QByteArray> bytes;
};

OldContent oldContent(const QString& path) {
    const QFileInfo info(path);
    if (!entryExists(info)) return {};
    return {true, ReadBytes(path)};
}

}  // namespace

QString NewName(const QString& path) { return path + QString(kNewSuffix); }

void SetSaveStepHook(std::function<void()> hook) { stepHook() = std::move(hook); }

WriteAllResult WriteAllAtomic(const QString& folder, const std::vector<FileText>& files) {
    WriteAllResult r;
    const QDir dir(folder);
    for (std::size_t i = 0; i < files.size(); ++i) {
        if (dir.relativeFilePath(files[i].path).startsWith(QStringLiteral(".."))) {
            r.ok = false;
            r.failed = i;
            return r;
        }
    }
    QDir().mkpath(folder);
    const FolderLock lock(folder);
    // One file needs no record: its rename alone puts it in place.
    if (files.size() == 1) {
        r.ok = writeBytes(files[0].path, files[0].text.toUtf8());
        return r;
    }
    std::vector<QString> fresh;
    const auto fail = [&](std::size_t at) {
        for (const QString& f : fresh) QFile::remove(f);
        r.ok = false;
        r.failed = at;
        return r;
    };
    QString record = QString(kSetRecordHeader) + u'\n';
    QStringList folders;
    for (std::size_t i = 0; i < files.size(); ++i) {
        record += dir.relativeFilePath(files[i].path) + u'\n';
        const QString beside = NewName(files[i].path);
        if (!writeDurably(beside, files[i].text.toUtf8())) return fail(i);
        fresh.push_back(beside);
        if (!folders.contains(folderOf(beside))) folders << folderOf(beside);
    }
    record += QString(kSetRecordEnd) + u'\n';
    // The new files are on the disk before the record that names them.
    for (const QString& f : folders) syncFolder(f);
    const QString recordPath = folder + u'/' + QString(kSetRecord);
    if (!writeDurably(NewName(recordPath), record.toUtf8()) || !renameOver(NewName(recordPath), recordPath) ||
        !syncFolder(folder)) {
        QFile::remove(NewName(recordPath));
        removeRecord(folder);
        return fail(files.size());
    }
    std::vector<OldContent> old;
    for (const FileText& f : files) old.push_back(oldContent(f.path));
    for (std::size_t i = 0; i < files.size(); ++i) {
        if (renameOver(fresh[i], files[i].path)) continue;
        r.ok = false;
        r.failed = i;
        for (std::size_t j = i; j < files.size(); ++j) QFile::remove(fresh[j]);
        for (std::size_t j = 0; j < i; ++j) {
            // A file whose old content is unknown keeps the new one.
            const bool back = !old[j].existed ? QFile::remove(files[j].path)
                              : old[j].bytes  ? writeBytes(files[j].path, *old[j].bytes)
                                              : false;
            r.restored = r.restored && back;
        }
        for (const QString& f : folders) syncFolder(f);
        removeRecord(folder);
        return r;
    }
    for (const QString& f : folders) syncFolder(f);
    removeRecord(folder);
    return r;
}

namespace {

// The largest record a save writes is a few lines; anything far larger is no record.
constexpr qint64 kMaxRecordBytes = 64 * 1024;

// The files named by the record, relative to the folder, or what is wrong with it.
struct RecordNames {
    QStringList names;
    QString wrong;
};

// Whether a name of the record stands for a file inside the folder: a
// relative path that never climbs out, through no link to another folder.
bool insideFolder(const QString& folder, const QString& name) {
    if (name.isEmpty() || name.startsWith(u'/') || name.contains(u'\\') || name.contains(u':') ||
        name.contains(QChar(0)))
        return false;
    for (const QString& part : name.split(u'/'))
        if (part.isEmpty() || part == QStringLiteral(".") || part == QStringLiteral("..")) return false;
    const QString home = QFileInfo(folder).canonicalFilePath();
    const QString parent = QFileInfo(QFileInfo(folder + u'/' + name).absolutePath()).canonicalFilePath();
    // A folder that does not exist holds no file to finish.
    return parent.isEmpty() || parent == home || parent.startsWith(home + u'/');
}

RecordNames readRecord(const QString& folder, const QString& path) {
    RecordNames r;
    const QFileInfo info(path);
    if (info.isSymLink() || !info.isFile()) {
        r.wrong = QStringLiteral("Ce n'est pas un fichier ordinaire.");
        return r;
    }
    if (info.size() > kMaxRecordBytes) {
        r.wrong = QStringLiteral("Il est bien trop long pour un relevé d'enregistrement.");
        return r;
    }
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        r.wrong = QStringLiteral("Il ne peut pas être lu.");
        return r;
    }
    QStringList lines = QString::fromUtf8(f.readAll()).split(u'\n');
    for (QString& l : lines)
        if (l.endsWith(u'\r')) l.chop(1);
    while (!lines.isEmpty() && lines.back().isEmpty()) lines.removeLast();
    if (lines.isEmpty() || lines.front() != QString(kSetRecordHeader)) {
        r.wrong = QStringLiteral("Sa première ligne n'est pas « %1 ».").arg(QString(kSetRecordHeader));
        return r;
    }
    if (lines.size() < 2 || lines.back() != QString(kSetRecordEnd)) {
        r.wrong =
            QStringLiteral("Sa dernière ligne n'est pas « %1 » : il est incomplet.").arg(QString(kSetRecordEnd));
        return r;
    }
    for (qsizetype i = 1; i + 1 < lines.size(); ++i) {
        const QString& name = lines[i];
        if (!insideFolder(folder, name)) {
            r.wrong = QStringLiteral("Sa ligne %1 (« %2 ») ne nomme pas un fichier du dossier des données.")
                          .arg(QString::number(i + 1), Excerpt(name));
            return r;
        }
        if (name.endsWith(QString(kNewSuffix)) || name == QString(kSetRecord)) {
            r.wrong = QStringLiteral("Sa ligne %1 (« %2 ») ne nomme pas un fichier de réglages.")
                          .arg(QString::number(i + 1), Excerpt(name));
            return r;
        }
        r.names << name;
    }
    if (r.names.isEmpty()) r.wrong = QStringLiteral("Il ne nomme aucun fichier.");
    return r;
}

}  // namespace

Interrupted FinishInterrupted(const QString& folder) {
    Interrupted out;
    // A save under way in another program is waited for: only a save whose
    // program has ended is finished or undone.
    const FolderLock lock(folder);
    const QString recordPath = folder + u'/' + QString(kSetRecord);
    if (entryExists(QFileInfo(recordPath))) {
        const RecordNames record = readRecord(folder, recordPath);
        if (!record.wrong.isEmpty()) {
            out.problems.push_back({Interrupted::Kind::BadRecord, recordPath, record.wrong});
            return out;
        }
        // The record is in place only once every new file is on the disk:
        // the save is finished by renaming those not renamed yet.
        QStringList folders;
        for (const QString& name : record.names) {
            const QString path = folder + u'/' + name;
            const QFileInfo fresh(NewName(path));
            if (!entryExists(fresh)) continue;  // renamed before the save was cut off
            if (fresh.isSymLink() || !fresh.isFile() || !renameOver(fresh.filePath(), path)) {
                out.problems.push_back({Interrupted::Kind::Unfinished, path, {}});
                continue;
            }
            out.finished << path;
            if (!folders.contains(folderOf(path))) folders << folderOf(path);
        }
        for (const QString& f : folders) syncFolder(f);
        if (!removeRecord(folder)) out.problems.push_back({Interrupted::Kind::NotRemoved, recordPath, {}});
    }
    // Whatever new file of a settings file, of the notes or of the record is
    // left belongs to a save that never reached its record (or to a single
    // file's save): its old file stands. Saves write at the top of the data
    // folder only, and only those files: anything else there (the folder may
    // be one the user chose) is not the program's to remove.
    QDirIterator it(folder, {QStringLiteral("*") + QString(kNewSuffix)},
                    QDir::Files | QDir::System | QDir::Hidden | QDir::NoDotAndDotDot);
    while (it.hasNext()) {
        const QString path = it.next();
        const QString saved = it.fileName().chopped(QString(kNewSuffix).size());
        if (!datadir::UserFile(saved) && saved != QString(kSetRecord)) continue;
        if (QFile::remove(path)) out.removed << path;
        else out.problems.push_back({Interrupted::Kind::NotRemoved, path, {}});
    }
    return out;
}

}  // namespace textfile
