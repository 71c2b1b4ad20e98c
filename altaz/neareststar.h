// The bright star nearest to an object of an object table, on a flat map of
// right ascension and declination: 15 arc units per time unit whatever the
// declination, the right-ascension difference taken the short way round 0 h.
#pragma once

#include "core/state.h"

#include <QString>
#include <optional>

namespace neareststar {

inline const QString kHeading = QStringLiteral("L'ETOILE LA PLUS PROCHE EST:");

// Distance in tenths of a minute of arc between object row i and star row j.
double StarDistance(const ObjectTable& objects, int i, const BrightStarTable& stars, int j);

// The star row nearest to object row i (the earlier star on equal
// distances); -1 when the star table is empty or the row holds no object.
int NearestStarRow(const ObjectTable& objects, int i, const BrightStarTable& stars);

// The message for the selected row of an object list (mapped through the
// type filter): the heading, CR LF, the star's name, " (", its
// constellation's full name, ")." Nothing when the row stands for no object
// or there is no star.
std::optional<QString> NearestStarMessage(const ObjectTable& objects, int listRow, const BrightStarTable& stars);

// Shows that message in a message box; false when there was nothing to show.
bool ShowNearestStar(const ObjectTable& objects, int listRow, const BrightStarTable& stars);

}  // namespace neareststar
