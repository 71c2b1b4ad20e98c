// The data/ folder beside the program. The program names its files as
// "\data\backlash.ini", "\Data\vitessemanu.ini" or "\DATA\notes.txt": every
// spelling names the one folder.
#pragma once

#include <QString>

namespace datadir {

// The folder in use: data/ beside the executable unless set otherwise.
QString Folder();
void SetFolder(const QString& folder);

// The local path of a program path such as "\data\img\liste.txt". Each part
// of the path after the data folder matches an existing entry whatever its
// case; a part that exists in no case keeps the spelling given.
QString Path(const QString& programPath);

// The path as the user should read it in a message.
QString Shown(const QString& programPath);

}  // namespace datadir
