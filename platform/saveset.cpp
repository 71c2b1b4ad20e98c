#include "platform/saveset.h"

#include "platform/datadir.h"
#include "platform/filereport.h"
#include "platform/seqfile.h"
#include "platform/textfile.h"

#include <QDir>
#include <QFileInfo>

SaveSet& SaveSet::Add(const QString& programPath, const SeqWriter& lines) {
    files_.emplace_back(programPath, lines.Text());
    return *this;
}

bool SaveSet::Save() const {
    std::vector<textfile::FileText> files;
    for (const auto& [programPath, text] : files_) files.push_back({datadir::SavePath(programPath), text});
    const textfile::WriteAllResult r = textfile::WriteAllAtomic(datadir::Folder(), files);
    if (r.ok) return true;
    const QString failed = r.failed < files_.size() ? files_[r.failed].first
                                                    : QStringLiteral("\\data\\") + QString(textfile::kSetRecord);
    if (files_.size() == 1) filereport::Unwritable(failed);
    else filereport::UnwritableSet(failed, r.restored);
    return false;
}

void SaveSet::FinishInterrupted() {
    using Kind = textfile::Interrupted::Kind;
    for (const auto& p : textfile::FinishInterrupted(datadir::Folder()).problems) {
        switch (p.kind) {
        case Kind::BadRecord: filereport::InterruptedRecordUnreadable(p.path, p.what); break;
        case Kind::Unfinished: filereport::InterruptedUnfinished(p.path); break;
        case Kind::NotRemoved: filereport::InterruptedNotRemoved(p.path); break;
        }
    }
}

void SaveSet::CopyMissingSettings() {
    const QString user = datadir::Folder();
    const QString shipped = datadir::ShippedFolder();
    if (user == shipped || (QFileInfo(user).exists() && QFileInfo(user).canonicalFilePath() ==
                                                             QFileInfo(shipped).canonicalFilePath()))
        return;
    if (!QDir().mkpath(user)) {
        filereport::UserFolderUnusable(user);
        return;
    }
    QStringList failed;
    for (const QString& name : QDir(shipped).entryList(QDir::Files | QDir::Hidden, QDir::Name)) {
        if (!datadir::UserFile(name)) continue;
        const QString target = datadir::SavePath(QStringLiteral("\\data\\") + name);
        const QFileInfo there(target);
        if (there.exists() || there.isSymLink()) continue;
        // A shipped file that cannot be read is told when the program reads it.
        const auto text = textfile::Read(shipped + u'/' + name);
        if (!text) continue;
        if (!textfile::WriteAllAtomic(user, {{target, *text}}).ok) failed << target;
    }
    if (!failed.isEmpty()) filereport::NotCopied(failed);
}
