#include "platform/portlock.h"

#include <QDir>
#include <QFile>

#include <cerrno>
#include <cstddef>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace port {

namespace {

QString& chosenFolder() {
    static QString f;
    return f;
}

QString& chosenPrefix() {
    static QString p;
    return p;
}

// Why a lock was not taken: another program holds it, or it cannot be taken.
struct Refusal {
    bool held = false;
    QString why;
};

// The file's lock: the descriptor of the locked file, or -1 and *refusal.
// The file is opened for reading (flock needs no more, so a file made by
// another user will do), or made when it is not there. Links are not
// followed: in a folder anyone may write to, a link planted under the
// lock's name must lead nowhere, so it refuses the port. Nor does the open
// wait (a pipe under the lock's name).
int lockFile(const QString& folder, const QString& path, Refusal* refusal) {
    const QByteArray name = QFile::encodeName(path);
    const auto openError = [&](int e) {
        if (e == ENOENT || e == ENOTDIR) return QStringLiteral("dossier %1 introuvable").arg(folder);
        return ErrorText(e);
    };
    // A file removed or replaced between its open and its lock is not the
    // lock: the one under the name then is opened again.
    for (int attempt = 0; attempt < 8; ++attempt) {
        int fd = ::open(name.constData(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY);
        if (fd < 0 && errno == ENOENT) {
            fd = ::open(name.constData(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_CREAT | O_EXCL, 0644);
            if (fd < 0 && errno == EEXIST) continue;  // made by another program in between: open that one
            // Readable by every user whatever this one's umask, so that a
            // program of another user takes the same lock.
            if (fd >= 0) ::fchmod(fd, 0644);
        }
        if (fd < 0) {
            refusal->why = openError(errno);
            return -1;
        }
        struct stat opened {};
        if (::fstat(fd, &opened) != 0 || !S_ISREG(opened.st_mode)) {
            ::close(fd);
            refusal->why = QStringLiteral("ce n'est pas un fichier ordinaire");
            return -1;
        }
        if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
            const int e = errno;
            ::close(fd);
            if (e == EWOULDBLOCK) refusal->held = true;
            else refusal->why = ErrorText(e);
            return -1;
        }
        struct stat named {};
        if (::lstat(name.constData(), &named) == 0 && named.st_dev == opened.st_dev && named.st_ino == opened.st_ino)
            return fd;
        ::close(fd);
    }
    refusal->why = QStringLiteral("le fichier est remplacé sans cesse");
    return -1;
}

// The socket's lock: the descriptor of the bound socket, or -1 and *refusal.
int bindSocket(const QString& name, Refusal* refusal) {
    const QByteArray bytes = name.toUtf8();
    sockaddr_un address {};
    address.sun_family = AF_UNIX;
    // A leading 0 puts the name in the abstract namespace, where no file stands.
    if (static_cast<std::size_t>(bytes.size()) + 1 > sizeof address.sun_path) {
        refusal->why = ErrorText(ENAMETOOLONG);
        return -1;
    }
    std::memcpy(address.sun_path + 1, bytes.constData(), static_cast<std::size_t>(bytes.size()));
    const auto length = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + 1 + bytes.size());
    const int s = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (s < 0) {
        refusal->why = ErrorText(errno);
        return -1;
    }
    if (::bind(s, reinterpret_cast<const sockaddr*>(&address), length) == 0) return s;
    const int e = errno;
    ::close(s);
    if (e == EADDRINUSE) refusal->held = true;
    else refusal->why = ErrorText(e);
    return -1;
}

}  // namespace

QString LockFolder() {
    if (!chosenFolder().isEmpty()) return chosenFolder();
    return QStringLiteral("/run/lock");
}

void SetLockFolder(const QString& folder) { chosenFolder() = folder; }

QString LockSocketPrefix() {
    if (!chosenPrefix().isEmpty()) return chosenPrefix();
    return QStringLiteral("orvanel-port-");
}

void SetLockSocketPrefix(const QString& prefix) { chosenPrefix() = prefix; }

QString LockSocketName(const QString& name) { return u'@' + LockSocketPrefix() + name; }

std::unique_ptr<PortLock> PortLock::Take(const QString& name, QString* error) {
    const auto refuse = [error](const QString& lock, const Refusal& r) -> std::unique_ptr<PortLock> {
        if (error)
            *error = r.held ? QStringLiteral("déjà piloté par un autre programme Orvanel (verrou %1)").arg(lock)
                            : QStringLiteral("verrou %1 impossible : %2").arg(lock, r.why);
        return nullptr;
    };
    const QString folder = LockFolder();
    const QString path = QDir(folder).filePath(QStringLiteral("orvanel-port-%1.lock").arg(name));
    Refusal refusal;
    const int file = lockFile(folder, path, &refusal);
    if (file < 0) return refuse(path, refusal);
    const int socket = bindSocket(LockSocketPrefix() + name, &refusal);
    if (socket < 0) {
        ::close(file);
        return refuse(LockSocketName(name), refusal);
    }
    return std::unique_ptr<PortLock>(new PortLock(file, socket, path));
}

QString ErrorText(int error) {
    switch (error) {
    case ENOENT:
    case ENODEV:
    case ENXIO: return QStringLiteral("périphérique introuvable");
    case EACCES:
    case EPERM: return QStringLiteral("permission refusée");
    case EBUSY: return QStringLiteral("périphérique occupé");
    case ENOSYS:
    case ENOTTY: return QStringLiteral("fonction non prise en charge");
    case ELOOP: return QStringLiteral("un lien symbolique tient la place du fichier");
    default: return QString::fromLocal8Bit(std::strerror(error));
    }
}

PortLock::~PortLock() {
    ::close(socket_);
    ::close(file_);
}

}  // namespace port
