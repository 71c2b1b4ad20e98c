// The saves of the kill test: what save number s puts in each box, and the
// files it writes, so that the test can tell which save each file comes from.
// Save numbers run from 1 to 32767 (the largest motor steps and backlash).
#pragma once

#include <QString>
#include <QStringList>

namespace savekill {

inline constexpr int kLastSave = 32767;
inline int After(int s) { return s % kLastSave + 1; }

// The set-up window's "Ok": the site stays, the azimuth mechanics and both
// backlash values carry s, the two goto levels follow it.
struct SetupValues {
    int azSteps, azRatio, backlashAz, backlashAlt, levelAz, levelAlt;
};
inline SetupValues Setup(int s) { return {s, s, s, kLastSave - s, s % 5 + 1, s / 5 % 5 + 1}; }
inline const QStringList kSetupFiles{"config_altaz.ini", "backlash.ini", "pointagealtaz.ini"};
// The three files of save s, in the order of kSetupFiles.
inline QStringList SetupFiles(int s) {
    const SetupValues v = Setup(s);
    const auto n = [](long long x) { return QString::number(x) + QStringLiteral("\r\n"); };
    return {n(2) + n(20) + n(48) + n(50) + n(v.azSteps) + n(200) + n(100000) + n(v.azRatio * 1000LL),
            n(v.backlashAz) + n(v.backlashAlt), n(v.levelAz) + n(v.levelAlt)};
}

// The coordinates window's paddle "OK": six delays and the two inversions
// carry s.
inline int PaddleDelay(int s, int axis, int speed) { return s * 10 + axis * 3 + speed; }
inline bool PaddleInverted(int s, int axis) { return (s >> axis) % 2 == 1; }
inline const QStringList kPaddleFiles{"vitessemanu.ini", "inversion.ini"};
inline QStringList PaddleFiles(int s) {
    QString speeds, inversion;
    for (int axis = 0; axis < 2; ++axis) {
        for (int speed = 0; speed < 3; ++speed) speeds += QString::number(PaddleDelay(s, axis, speed)) + "\r\n";
        inversion += (PaddleInverted(s, axis) ? QStringLiteral("Vrai") : QStringLiteral("Faux")) + "\r\n";
    }
    return {speeds, inversion};
}

}  // namespace savekill
