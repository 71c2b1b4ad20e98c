// The files saved by one button, as one save, in the data folder in use: a
// single file's new file is written beside it, then renamed over it; several
// files' new files are all written beside their old ones, then renamed over
// them in one run at the end, under a record that lets the next start finish
// a save cut off by a kill or a power cut (see textfile::WriteAllAtomic). A
// file that cannot be written or renamed is told, and every file keeps its
// old content. The window checks every value first, so that a refused value
// never starts a save.
#pragma once

#include <QString>
#include <utility>
#include <vector>

class SeqWriter;

class SaveSet {
public:
    // The lines of a file, named as the program names it ("\data\backlash.ini").
    SaveSet& Add(const QString& programPath, const SeqWriter& lines);
    // False (the user told, the old files kept) when the files could not all be saved.
    bool Save() const;

    // Run at start-up before any settings file is read: the save a kill or a
    // power cut interrupted is finished when its record was in place, else
    // its new files are removed, so each save's files are all old or all
    // new. A save under way in another program on the same data folder is
    // waited for, never finished or undone while that program runs.
    // Whatever cannot be done is told, naming the file, and the program
    // goes on.
    static void FinishInterrupted();

    // Run at start-up right after FinishInterrupted, when the user's files
    // have a folder of their own: each shipped settings file that folder
    // lacks is copied into it (the first start copies them all), the
    // folder made first when needed. A file already there is never
    // replaced. What cannot be made or copied is told, and the shipped
    // file is read in its place.
    static void CopyMissingSettings();

private:
    std::vector<std::pair<QString, QString>> files_;  // program path, text
};
