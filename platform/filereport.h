// What the user is told when a file the program needs is missing, malformed
// or cannot be written. Each problem of a file is told once until the file
// reads well again, so a file read at every move does not flood the screen.
#pragma once

#include <QString>
#include <QStringList>

class SeqWriter;

namespace filereport {

// Saves the writer's lines over the file; on failure tells the user, keeps the
// old file and returns false.
bool Save(const QString& programPath, const SeqWriter& lines);

// A file that cannot be read: missing or unreadable, or no plain file (a
// pipe, a device, a folder), which the message says.
void Missing(const QString& programPath);
// `what` tells what is wrong or what the file should hold; `outcome` what
// the program does instead (by default: unread values keep their defaults).
void Malformed(const QString& programPath, const QString& what = {}, const QString& outcome = {});
void Unwritable(const QString& programPath);
// A save of several files failed at this one: none changed when `oldKept`.
void UnwritableSet(const QString& programPath, bool oldKept);
// A save cut off by a kill or a power cut, found at start-up (local paths):
// its record cannot be trusted, so nothing was touched; a file of it could
// not be put in place; a new file left by it could not be removed.
void InterruptedRecordUnreadable(const QString& recordPath, const QString& what);
void InterruptedUnfinished(const QString& path);
void InterruptedNotRemoved(const QString& path);
// The user's folder cannot be made, or shipped settings files could not be
// copied into it (local paths): the shipped files are read instead.
void UserFolderUnusable(const QString& folder);
void NotCopied(const QStringList& paths);
// The file was read without a problem: its next problem is told again.
void Readable(const QString& programPath);

// Forget every problem told (tests start each case this way).
void Reset();

}  // namespace filereport
