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
    const textfile::WriteAllResult r = textfile::WriteAllAtomic(files);
    if (r.ok) return true;
    const QString& failed = files_[r.failed].first;
    if (files_.size() == 1) filereport::Unwritable(failed);
    else filereport::UnwritableSet(failed, r.restored);
    return false;
}
