// The catalogue files of the data folder and the tables they load into.
//
// Every file is read field by field: commas and line breaks separate fields,
// a text field may stand in double quotes. A catalogue record has four
// fields: name, type code ("GL", "OC", "GC", "PN", "DN", "ST"; in the
// bright-star file the constellation abbreviation), right ascension in tenths
// of a minute of time, declination in tenths of a minute of arc.
// "\data\const.cat" holds pairs of constellation abbreviation and full name.
//
// Blank lines between records are passed over. A missing file is told to
// the user and loads as empty; so is a file that holds no record. A record
// that is not complete (a field missing or one too many, a field cut by the
// end of the file: its last field must end its line) or whose coordinates
// are not whole numbers of the sky (right ascension 0 to 14399 tenths of a
// minute of time, 14400, 24 h, taken as 0 h; declination -54000 to 54000
// tenths of a minute of arc) is skipped whole, never half read, and the file
// is told malformed with the count of records skipped. A file longer than
// its table fills the table and is told with the count of records left out.
#pragma once

#include "core/state.h"

#include <QString>
#include <QStringList>
#include <cstdint>
#include <optional>
#include <vector>

struct CatalogueRecord {
    QString name;
    QString type;     // type code, or the constellation abbreviation of a bright star
    int32_t ra = 0;   // tenths of a minute of time
    int32_t dec = 0;  // tenths of a minute of arc, signed
    int number = 0;   // its place in the file from 0, unreadable records counted
};

namespace catalogue {

inline const QString kBrightStarFile = QStringLiteral("\\data\\5magstar.cat");
inline const QString kConstellationFile = QStringLiteral("\\data\\const.cat");

// Catalogue numbers 0..10: 0 the bright stars, 1 Messier, 2 IC, 3..10 the
// NGC thousands.
inline constexpr int16_t kCatalogues = 11;
// The file name ("messier.cat"), its program path ("\data\messier.cat") and
// the caption of the catalogue lists ("Objets Messier"); empty texts for a
// number that names no catalogue.
QString FileName(int16_t number);
QString ProgramPath(int16_t number);
QString Caption(int16_t number);
// The eleven captions in number order, as the coordinates window lists them.
QStringList Captions();

// The records of a file, at most `limit` of them (the records past them
// are counted and told); nothing when the file cannot be read (the user has
// been told).
std::optional<std::vector<CatalogueRecord>> ReadRecords(const QString& programPath, int limit);

// What the readers of record files share: the value of a field that holds a
// whole number within 32 bits, and the telling of a file read with `seen`
// records of which `skipped` could not be taken, being incomplete, unreadable
// or out of their limits, and `leftOut` found no room in a table of `rows`
// (an empty file when none was seen); `record` says what a record holds
// ("deux champs complets (...)").
std::optional<int32_t> WholeNumber(const QString& field);
void TellRecords(const QString& programPath, int seen, int skipped, const QString& record, int leftOut = 0,
                 int rows = 0);

// Loads catalogue `number` into rows 0.. of the table and sets its
// CatalogueCount. Returns the names in file order, for the caller to append
// to its object list (which it has cleared). A number that names no
// catalogue, or a missing file, leaves the table empty.
QStringList LoadCatalogue(ObjectTable& table, int16_t number);

// Fills the bright-star table from "\data\5magstar.cat"; BrightStarCount is
// the last row loaded, -1 when the file holds no star (or is missing).
void LoadBrightStars(BrightStarTable& stars);

// The full name of a constellation from "\data\const.cat" (the last record
// with this abbreviation, compared case-sensitively), or an empty text.
QString ConstellationName(const QString& abbreviation);

// Captions of the star-information pop-up: "in " and the constellation's full
// name; "AD:" hours "h" minutes "'"; "Dec:" degrees "°" minutes "'" (each
// number in signed text form, e.g. "AD: 5h 32.7'", "Dec:-2°-3.4'").
struct StarInfo {
    QString constellation;
    QString rightAscension;
    QString declination;
};
StarInfo StarInfoCaptions(const QString& constellationAbbreviation, int32_t ra, int32_t dec);
// The same for a row of a bright-star table; nothing for a row that holds no
// star (no selection, or beyond the last star loaded).
std::optional<StarInfo> StarInfoForRow(const BrightStarTable& stars, int row);

}  // namespace catalogue
