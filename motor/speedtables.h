// The busy-wait counts that set the motors' speeds, and their files:
// "\Data\vitessemanu.ini" (paddle: azimuth slow, medium, fast, then altitude),
// "\Data\vitesseequa.ini" and "\Data\vitessealtaz.ini" (levels 0..4 of the
// azimuth or right-ascension axis, then of the other axis), one number a line.
#pragma once

#include "core/state.h"

#include <QString>

namespace speedfiles {
inline const QString kManual = QStringLiteral("\\Data\\vitessemanu.ini");
inline const QString kEqua = QStringLiteral("\\Data\\vitesseequa.ini");
inline const QString kAltaz = QStringLiteral("\\Data\\vitessealtaz.ini");

// The counts used when a file is missing or a line cannot be read; the same
// as the shipped files.
extern const PaddleTable kDefaultManual;
extern const SpeedTable kDefaultEqua;
extern const SpeedTable kDefaultAltaz;
}  // namespace speedfiles

// Fills the three tables from their files, in the order vitessemanu,
// vitesseequa, vitessealtaz. Each value, rounded halves to even, goes to the
// next level of the first axis, then of the second; a short file leaves the
// remaining entries as they were, extra lines go round the second axis again.
// A line that is not a number, or one that rounds below 0, keeps its entry
// as it was; such a line, or a count other than the table's, is told.
void LoadSpeedTables();

// StepDelay from the table of the mount for the axis of MotorMode (1, 2: the
// azimuth or right-ascension level; 3, 4: the other); any other mode, or a
// level outside 0..4, leaves StepDelay as it is.
void LookupAltazDelay();
void LookupEquaDelay();
