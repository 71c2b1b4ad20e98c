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
    // in the first lock folder where it can be opened or made. Null when
    // another holder has it, or when no folder can hold it; *error then says
    // which, in a few French words naming the lock file.
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

}  // namespace port
