#include "platform/datadir.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

// Set by the build: where the install puts the shipped data and the
// documentation, relative to the installed executable's folder, and the
// source folder (whose README is the help of a program run from the build tree).
#ifndef ORVANEL_INSTALLED_DATA
#define ORVANEL_INSTALLED_DATA "../share/orvanel"
#endif
#ifndef ORVANEL_INSTALLED_DOC
#define ORVANEL_INSTALLED_DOC "../share/doc/orvanel"
#endif
#ifndef ORVANEL_SOURCE_DIR
#define ORVANEL_SOURCE_DIR ""
#endif

namespace datadir {

namespace {

QString& userOverride() {
    static QString f;
    return f;
}
QString& shippedOverride() {
    static QString f;
    return f;
}

// The parts of a program path after the data folder.
QStringList partsOf(const QString& programPath) {
    QString rel = programPath;
    rel.replace(u'\\', u'/');
    QStringList parts = rel.split(u'/', Qt::SkipEmptyParts);
    if (!parts.isEmpty() && parts.front().compare(QStringLiteral("data"), Qt::CaseInsensitive) == 0)
        parts.removeFirst();
    return parts;
}

struct Resolved {
    QString path;
    bool found = false;  // something stands there (a link to nothing counts)
};

// The parts under `base`, each matched to an existing entry whatever its case.
Resolved resolve(const QString& base, const QStringList& parts) {
    QString path = base;
    for (const QString& part : parts) {
        QString chosen = part;
        const QDir dir(path);
        if (!dir.exists(part)) {
            const QStringList entries = dir.entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
            for (const QString& e : entries) {
                if (e.compare(part, Qt::CaseInsensitive) == 0) {
                    chosen = e;
                    break;
                }
            }
        }
        path += u'/' + chosen;
    }
    const QFileInfo info(path);
    return {path, parts.isEmpty() || info.exists() || info.isSymLink()};
}

bool oneFolder() { return ShippedFolder() == Folder(); }

QString absolute(const QString& programDir, const char* relative) {
    return QDir::cleanPath(programDir + u'/' + QString::fromUtf8(relative));
}

bool isDir(const QString& path) { return QFileInfo(path).isDir(); }

}  // namespace

QString Folder() {
    if (!userOverride().isEmpty()) return userOverride();
    const QString base = QCoreApplication::instance() ? QCoreApplication::applicationDirPath() : QDir::currentPath();
    return base + QStringLiteral("/data");
}

QString ShippedFolder() { return shippedOverride().isEmpty() ? Folder() : shippedOverride(); }

void SetFolder(const QString& folder) { SetFolders(folder, folder); }

void SetFolders(const QString& user, const QString& shipped) {
    userOverride() = user;
    shippedOverride() = shipped;
}

QString Path(const QString& programPath) {
    const QStringList parts = partsOf(programPath);
    const Resolved user = resolve(Folder(), parts);
    if (user.found || oneFolder()) return user.path;
    const Resolved shipped = resolve(ShippedFolder(), parts);
    if (shipped.found) return shipped.path;
    return UserFile(parts.join(u'/')) ? user.path : shipped.path;
}

QString SavePath(const QString& programPath) { return resolve(Folder(), partsOf(programPath)).path; }

QString Shown(const QString& programPath) { return QDir::toNativeSeparators(Path(programPath)); }

bool UserFile(const QString& relative) {
    if (relative.contains(u'/')) return false;
    return relative.endsWith(QStringLiteral(".ini"), Qt::CaseInsensitive) ||
           relative.endsWith(QStringLiteral(".txt"), Qt::CaseInsensitive);
}

Layout Locate(const QString& programDir, const QString& chosen, const QString& dataHome, const QString& home) {
    Layout out;
    const QString beside = QDir::cleanPath(programDir + QStringLiteral("/data"));
    const QString installed = absolute(programDir, ORVANEL_INSTALLED_DATA);
    if (!isDir(beside) && isDir(installed)) {
        out.installed = true;
        out.shipped = installed;
        const QString base = QDir::isAbsolutePath(dataHome) ? dataHome : home + QStringLiteral("/.local/share");
        out.user = QDir::cleanPath(base + QStringLiteral("/orvanel/data"));
    } else {
        out.shipped = beside;
        out.user = beside;
    }
    if (!chosen.isEmpty()) out.user = QDir::cleanPath(QFileInfo(chosen).absoluteFilePath());
    return out;
}

Layout LocateProgram(const QString& chosen) {
    return Locate(QCoreApplication::applicationDirPath(), chosen, qEnvironmentVariable("XDG_DATA_HOME"),
                  QDir::homePath());
}

QString Readme(const QString& programDir) {
    const QString installed = absolute(programDir, ORVANEL_INSTALLED_DOC) + QStringLiteral("/README.md");
    const QString source = QStringLiteral(ORVANEL_SOURCE_DIR "/README.md");
    const bool isInstalled = Locate(programDir, {}, {}, {}).installed;
    for (const QString& candidate : isInstalled ? QStringList{installed, source} : QStringList{source, installed})
        if (QFileInfo(candidate).isFile()) return candidate;
    return {};
}

QString ProgramReadme() { return Readme(QCoreApplication::applicationDirPath()); }

}  // namespace datadir
