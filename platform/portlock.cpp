#include "platform/portlock.h"

#include <QDir>
#include <QFileInfo>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace port {

namespace {

QStringList& chosenFolders() {
    static QStringList f;
    return f;
}

// The lock file opened for reading (flock needs no more, so a file made by
// another user will do), or made when it is not there; -1 with errno set.
// Links are not followed: in a folder anyone may write to, a link planted
// under the lock's name must not lead elsewhere.
int openLockFile(const QByteArray& path) {
    for (int attempt = 0; attempt < 2; ++attempt) {
        int fd = ::open(path.constData(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
        if (fd >= 0 || errno != ENOENT) return fd;
        fd = ::open(path.constData(), O_RDONLY | O_CLOEXEC | O_CREAT | O_EXCL, 0644);
        if (fd >= 0 || errno != EEXIST) return fd;
        // Made by another program in between: open that one.
    }
    return -1;
}

}  // namespace

QStringList LockFolders() {
    if (!chosenFolders().isEmpty()) return chosenFolders();
    return {QStringLiteral("/run/lock"), QStringLiteral("/var/lock"), QDir::tempPath()};
}

void SetLockFolders(const QStringList& folders) { chosenFolders() = folders; }

std::unique_ptr<PortLock> PortLock::Take(const QString& name, QString* error) {
    const QString file = QStringLiteral("orvanel-port-%1.lock").arg(name);
    QString refused;
    for (const QString& folder : LockFolders()) {
        if (!QFileInfo(folder).isDir()) continue;
        const QString path = QDir(folder).filePath(file);
        const int fd = openLockFile(QFile::encodeName(path));
        if (fd < 0) {
            if (refused.isEmpty()) refused = QStringLiteral("%1 : %2").arg(path, QString::fromLocal8Bit(std::strerror(errno)));
            continue;  // not here: the next folder
        }
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0) return std::unique_ptr<PortLock>(new PortLock(fd, path));
        const int e = errno;
        ::close(fd);
        if (error) {
            *error = e == EWOULDBLOCK
                         ? QStringLiteral("déjà piloté par un autre programme Orvanel (verrou %1)").arg(path)
                         : QStringLiteral("verrou %1 impossible : %2").arg(path, QString::fromLocal8Bit(std::strerror(e)));
        }
        return nullptr;
    }
    if (error) {
        *error = refused.isEmpty() ? QStringLiteral("aucun dossier pour le verrou (%1)").arg(LockFolders().join(u' '))
                                   : QStringLiteral("verrou impossible : %1").arg(refused);
    }
    return nullptr;
}

PortLock::~PortLock() { ::close(fd_); }

}  // namespace port
