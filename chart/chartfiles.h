// The files the chart reads at every drawing: its stars ("\data\vstar.cat":
// Greek name, constellation abbreviation, right ascension, declination), its
// constellation lines ("\data\vconst.cat": pairs of star numbers, counted
// from 0 in the star file) and the catalogue of deep-sky objects it shows.
// A missing or malformed file is told once and reads as what could be read.
#pragma once

#include <QString>
#include <vector>

namespace chart {

inline const QString kStarFile = QStringLiteral("\\data\\vstar.cat");
inline const QString kLineFile = QStringLiteral("\\data\\vconst.cat");

// The chart's tables: stars 0..200, objects 0..1100.
inline constexpr int kStarRows = 201;
inline constexpr int kObjectRows = 1101;

// "\data\messier.cat" for the stem "messier".
QString CatalogueFile(const QString& stem);

struct LineRecord {
    int a = 0;
    int b = 0;
};
// The constellation lines whose two ends are both among the first
// `starCount` stars; a line naming a later star is left out. A record that
// is not two whole star numbers from 0 to 200 is skipped and told, as in the
// catalogue files.
std::vector<LineRecord> ReadLines(int starCount);

}  // namespace chart
