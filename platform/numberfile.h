// Settings files of one number a line.
#pragma once

#include "platform/seqfile.h"

#include <QString>
#include <vector>

namespace numberfile {

// Reads up to values.size() numbers, in order, into the values pointed to; a
// line that is not a number leaves its value as it was. A missing file, a
// line that is not a number, or a count other than expected is told to the
// user. False when the file could not be read at all.
bool Read(const QString& programPath, const std::vector<double*>& values);

// Replaces the file with the values, one a line; false (the user told, the
// old file kept) when it could not be saved.
bool Write(const QString& programPath, const std::vector<double>& values);
// The lines such a file holds, for a save of several files.
SeqWriter Lines(const std::vector<double>& values);

}  // namespace numberfile
