#include "platform/saveset.h"

#include "platform/datadir.h"
#include "platform/filereport.h"
#include "platform/seqfile.h"
#include "platform/textfile.h"

SaveSet& SaveSet::Add(const QString& programPath, const SeqWriter& lines) {
    files_.emplace_back(programPath, lines.Text());
    return *this;
}

bool SaveSet::Save() const {
    std::vector<textfile::FileText> files;
    for (const auto& [programPath, text] : files_) files.push_back({datadir::Path(programPath), text});
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
