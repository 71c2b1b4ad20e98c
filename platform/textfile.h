// Text files as the program reads and writes them: read as UTF-8 when the bytes
// are valid UTF-8, else as Windows-1252; written as UTF-8 through a new file
// renamed over the old one, so no file is ever left half-written.
//
// A save and the start-up's recovery of the saves cut off (FinishInterrupted)
// each hold a lock on the folder while they work, so that on one folder they
// never run at the same time, in one program or in two: a second program
// started during a save waits for it to end and leaves alone the save of a
// program still running.
#pragma once

#include <QByteArray>
#include <QLatin1String>
#include <QString>
#include <QStringList>
#include <cstddef>
#include <functional>
#include <optional>
#include <vector>

namespace textfile {

QString Decode(const QByteArray& bytes);
// The file's text, or nothing when it cannot be read: missing, unreadable,
// or no plain file (a pipe, a device, a folder; a link to a plain file is
// followed). Nothing waits for a pipe's writer, nor reads a device's endless
// bytes.
std::optional<QString> Read(const QString& path);
// Its bytes, the same way.
std::optional<QByteArray> ReadBytes(const QString& path);
// Whether something is there (a link followed) that is no plain file.
bool NotPlain(const QString& path);

// At most the start of a line read from a file, as a message quotes it: its
// first kExcerptLength characters, then "…" when there was more.
inline constexpr qsizetype kExcerptLength = 80;
QString Excerpt(const QString& line);

// What a new file is called while it is written beside its old one.
inline constexpr QLatin1String kNewSuffix(".nouveau");
QString NewName(const QString& path);

// Files of one folder written as one save. Each new file is made afresh,
// never through a link: whatever stands at its name (a file left by an
// earlier save, a link) is removed, then the file is created where nothing
// is, written whole and forced to the disk. A single file's new file is then
// renamed over the old one; on failure the old file stands and no new file
// is left. For several files every new file is first written beside its old
// one; then a record naming them all is put in the folder (kSetRecord) and
// forced to the disk too; then each new file is renamed over its old one;
// then the record goes. A save cut off before the record is in place is
// undone at the next start (FinishInterrupted removes its new files), one
// cut off after it is finished (its renames are done): the files of a save
// are all old or all new. When a file cannot be written or renamed, the
// files already renamed get their old content back and no new file is left.
inline constexpr QLatin1String kSetRecord("enregistrement.encours");
inline constexpr QLatin1String kSetRecordHeader("Orvanel : enregistrement en cours");
inline constexpr QLatin1String kSetRecordEnd("fin");
struct FileText {
    QString path;  // inside the folder
    QString text;
};
struct WriteAllResult {
    bool ok = true;
    std::size_t failed = 0;  // the file that could not be written or renamed; the
                             // number of files when the record could not be
    bool restored = true;    // every file holds its old content again
};
WriteAllResult WriteAllAtomic(const QString& folder, const std::vector<FileText>& files);

// What the start-up does with a save cut off by a kill or a power cut.
struct Interrupted {
    enum class Kind {
        BadRecord,   // the record cannot be trusted: nothing was touched
        Unfinished,  // a file of the record could not be put in place
        NotRemoved,  // a new file of no save could not be removed
    };
    struct Problem {
        Kind kind;
        QString path;  // the file concerned
        QString what;  // for a bad record, what is wrong with it
    };
    QStringList finished;  // files the record's save put in place
    QStringList removed;   // new files left by a save that never reached its record
    std::vector<Problem> problems;
};
// Finishes the save whose record is left in the folder, then removes every
// new file left beside an old one (in the folder and below it). A record
// that cannot be trusted (unreadable, malformed, or naming a file outside
// the folder) is left as it is with every new file, and only told.
Interrupted FinishInterrupted(const QString& folder);

// Tests step in here: the hook runs before each file operation of a save or
// of the recovery (making a new file, renaming one, removing the record),
// while the folder's lock is held. Empty: none.
void SetSaveStepHook(std::function<void()> hook);

}  // namespace textfile
