// One program per real port: while a program holds a port, a lock file named
// after it says so to every other Orvanel on the machine.
#pragma once

#include <QString>
#include <QStringList>
#include <memory>

namespace port {

// An exclusive hold on a lock file (flock): the kernel lets it go when the
// file is closed, so a program that ends, even by a crash, frees its port.
class PortLock {
public:
    // Takes the lock of `name` ("0x378"): the file "orvanel-port-<name>.lock"
    // in the first lock folder that holds it or may be written to; a folder
    // that does not exist, or where the file is not and cannot be made, is
    // passed over. Null when another holder has it, when the file there
    // cannot be taken (a link or anything but a plain file under its name, a
    // file this user may not open: never a second file elsewhere), or when
    // no folder can hold it; *error then says which, in a few French words
    // naming the lock file.
    static std::unique_ptr<PortLock> Take(const QString& name, QString* error);
    ~PortLock();
    PortLock(const PortLock&) = delete;
    PortLock& operator=(const PortLock&) = delete;

    const QString& Path() const { return path_; }

private:
    PortLock(int fd, QString path) : fd_(fd), path_(std::move(path)) {}
    int fd_;
    QString path_;
};

// The folders tried, in order: /run/lock, /var/lock, then the temporary
// folder. Tests set their own (empty: the default ones again).
QStringList LockFolders();
void SetLockFolders(const QStringList& folders);

// The system's error text as the port messages give it: in French for the
// errors met when a port is opened (no such device, permission, busy, not
// supported, a link in place of the lock file), the system's own otherwise.
QString ErrorText(int error);

}  // namespace port
