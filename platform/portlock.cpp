#include "platform/portlock.h"

#include <QDir>
#include <QFileInfo>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace port {

namespace {

QStringList& chosenFolders() {
    static QStringList f;
    return f;
}

// Where the lock file of a folder stands.
enum class Place {
    Opened,   // the file is open: fd
    Passed,   // not there, and the folder cannot be written: the next folder
    Refused,  // there but not to be taken, or not made: errno
};
struct Opening {
    Place place = Place::Refused;
    int fd = -1;
    int error = 0;
};

// The lock file opened for reading (flock needs no more, so a file made by
// another user will do), or made when it is not there. Links are not
// followed: in a folder anyone may write to, a link planted under the lock's
// name must lead nowhere, so it refuses the port. Nor does the open wait
// (a pipe under the lock's name).
Opening openLockFile(const QByteArray& folder, const QByteArray& path) {
    for (int attempt = 0; attempt < 2; ++attempt) {
        int fd = ::open(path.constData(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY);
        if (fd >= 0) return {Place::Opened, fd, 0};
        if (errno != ENOENT) return {Place::Refused, -1, errno};
        if (::access(folder.constData(), W_OK | X_OK) != 0) return {Place::Passed, -1, errno};
        fd = ::open(path.constData(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_CREAT | O_EXCL, 0644);
        if (fd >= 0) return {Place::Opened, fd, 0};
        if (errno == EACCES || errno == EPERM || errno == EROFS) return {Place::Passed, -1, errno};
        if (errno != EEXIST) return {Place::Refused, -1, errno};
        // Made by another program in between: open that one.
    }
    return {Place::Refused, -1, EEXIST};
}

}  // namespace

QStringList LockFolders() {
    if (!chosenFolders().isEmpty()) return chosenFolders();
    return {QStringLiteral("/run/lock"), QStringLiteral("/var/lock"), QDir::tempPath()};
}

void SetLockFolders(const QStringList& folders) { chosenFolders() = folders; }

std::unique_ptr<PortLock> PortLock::Take(const QString& name, QString* error) {
    const QString file = QStringLiteral("orvanel-port-%1.lock").arg(name);
    const auto refuse = [error](const QString& path, const QString& why) -> std::unique_ptr<PortLock> {
        if (error) *error = QStringLiteral("verrou %1 impossible : %2").arg(path, why);
        return nullptr;
    };
    for (const QString& folder : LockFolders()) {
        if (!QFileInfo(folder).isDir()) continue;  // no such folder: the next one
        const QString path = QDir(folder).filePath(file);
        const Opening o = openLockFile(QFile::encodeName(folder), QFile::encodeName(path));
        if (o.place == Place::Passed) continue;  // a folder this user cannot write to
        if (o.place == Place::Refused) return refuse(path, ErrorText(o.error));
        struct stat st {};
        if (::fstat(o.fd, &st) != 0 || !S_ISREG(st.st_mode)) {
            ::close(o.fd);
            return refuse(path, QStringLiteral("ce n'est pas un fichier ordinaire"));
        }
        if (::flock(o.fd, LOCK_EX | LOCK_NB) == 0) return std::unique_ptr<PortLock>(new PortLock(o.fd, path));
        const int e = errno;
        ::close(o.fd);
        if (e != EWOULDBLOCK) return refuse(path, ErrorText(e));
        if (error) *error = QStringLiteral("déjà piloté par un autre programme Orvanel (verrou %1)").arg(path);
        return nullptr;
    }
    if (error) *error = QStringLiteral("aucun dossier pour le verrou (%1)").arg(LockFolders().join(u' '));
    return nullptr;
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

PortLock::~PortLock() { ::close(fd_); }

}  // namespace port
