#include "platform/datadir.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace datadir {

namespace {
QString& folderOverride() {
    static QString f;
    return f;
}
}  // namespace

QString Folder() {
    if (!folderOverride().isEmpty()) return folderOverride();
    const QString base = QCoreApplication::instance() ? QCoreApplication::applicationDirPath() : QDir::currentPath();
    return base + QStringLiteral("/data");
}

void SetFolder(const QString& folder) { folderOverride() = folder; }

QString Path(const QString& programPath) {
    QString rel = programPath;
    rel.replace(u'\\', u'/');
    QStringList parts = rel.split(u'/', Qt::SkipEmptyParts);
    if (!parts.isEmpty() && parts.front().compare(QStringLiteral("data"), Qt::CaseInsensitive) == 0)
        parts.removeFirst();
    QString path = Folder();
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
    return path;
}

QString Shown(const QString& programPath) { return QDir::toNativeSeparators(Path(programPath)); }

}  // namespace datadir
