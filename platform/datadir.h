// The data folders. The program names its files as "\data\backlash.ini",
// "\Data\vitessemanu.ini" or "\DATA\notes.txt": every spelling names the one
// data folder, which may stand in two places:
// - the shipped files (catalogues, pictures, the settings as shipped), which
//   an installed program never changes;
// - the user's files (every settings file, the notes, a save under way),
//   where every save happens.
// A program run from the build tree has them in one folder, data/ beside
// the executable.
#pragma once

#include <QString>

namespace datadir {

// The user's folder: where saves happen and hold their lock. data/ beside
// the executable unless set otherwise.
QString Folder();
// The folder of the shipped files: Folder() unless set otherwise.
QString ShippedFolder();

// One folder for everything (data/ beside the executable when empty).
void SetFolder(const QString& folder);
// The user's folder and the shipped one.
void SetFolders(const QString& user, const QString& shipped);

// The local path of a program path such as "\data\img\liste.txt", for
// reading: the user's file when it is there, else the shipped one when that
// is there; a file in neither is named where it belongs, in the user's folder
// for a settings file or the notes (UserFile), in the shipped one for
// anything else. Each part of the path after the data folder matches an
// existing entry whatever its case; a part that exists in no case keeps the
// spelling given.
QString Path(const QString& programPath);
// Where a save writes the file: always in the user's folder.
QString SavePath(const QString& programPath);

// The path as the user should read it in a message.
QString Shown(const QString& programPath);

// Whether a file of the data folder, named relative to it ("backlash.ini",
// "img/liste.txt"), is one of the user's: a settings file or the notes
// (*.ini, *.txt, not in a subfolder).
bool UserFile(const QString& relative);

// Where a program finds its files.
struct Layout {
    QString shipped;  // the shipped files
    QString user;     // the user's files
    bool installed = false;
};

// The layout of the program whose executable is in `programDir`. With
// data/ beside it (the build tree) both folders are that one; an installed
// program reads the shipped files where the install put them and keeps the
// user's in `dataHome`/orvanel/data, `dataHome` being $XDG_DATA_HOME when
// that is an absolute path, else `home`/.local/share. `chosen`, a folder
// named on the command line, holds the user's files instead.
Layout Locate(const QString& programDir, const QString& chosen, const QString& dataHome, const QString& home);
// The same with the program's own folder and environment.
Layout LocateProgram(const QString& chosen);

// The help (README.md) of the program whose executable is in `programDir`:
// the installed copy for an installed program, the one beside the sources
// otherwise; empty when neither is there.
QString Readme(const QString& programDir);
// The same for this program.
QString ProgramReadme();

}  // namespace datadir
