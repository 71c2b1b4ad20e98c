// One program per real port: while a program holds a port, a lock named
// after it says so to every other Orvanel on the machine.
#pragma once

#include <QString>
#include <memory>

namespace port {

// The lock of a port ("0x378") is held two ways at once, and a second
// program is refused while either is held:
// - the file "orvanel-port-0x378.lock" of the lock folder, locked with
//   flock: one folder for every user, never a folder of the user's own;
//   a file this program makes there is readable by every user (flock needs
//   no more) and is never removed;
// - the abstract socket "orvanel-port-0x378", bound for as long as the port
//   is held. No file operation reaches it: a lock file removed or replaced
//   while held, or a program told another folder, does not let a second
//   program take the port.
// The kernel lets both go when the program ends, even by a crash.
class PortLock {
public:
    // Takes the lock of `name`. Null when another program holds it, or when
    // it cannot be taken: the folder missing, the file not there and not to
    // be made (a folder this user may not write to), a file this user may
    // not open, a link or anything but a plain file under its name; *error
    // then says which, in a few French words naming the lock.
    static std::unique_ptr<PortLock> Take(const QString& name, QString* error);
    ~PortLock();
    PortLock(const PortLock&) = delete;
    PortLock& operator=(const PortLock&) = delete;

    // The lock file.
    const QString& Path() const { return path_; }

private:
    PortLock(int file, int socket, QString path) : file_(file), socket_(socket), path_(std::move(path)) {}
    int file_;
    int socket_;
    QString path_;
};

// The lock folder: /run/lock. Tests set their own (empty: /run/lock again).
QString LockFolder();
void SetLockFolder(const QString& folder);
// What the sockets' names begin with: "orvanel-port-". Tests set their own,
// so that test programs running side by side never meet (empty: the
// program's own again).
QString LockSocketPrefix();
void SetLockSocketPrefix(const QString& prefix);
// How a message names the socket of a port: "@orvanel-port-0x378", as
// `ss -xlp` lists it with the program that holds it.
QString LockSocketName(const QString& name);

// The system's error text as the port messages give it: in French for the
// errors met when a port is opened (no such device, permission, busy, not
// supported, a link in place of the lock file), the system's own otherwise.
QString ErrorText(int error);

}  // namespace port
