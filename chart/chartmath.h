// The chart's sums: the polar projection, the Greek letter of a star name,
// rotation and zoom steps, and the search for the point under the pointer.
// Plain functions of their values; the chart window holds the state.
#pragma once

#include <QString>
#include <cstdint>

namespace chart {

// Chart units are twips; the chart's picture is 9030 x 9030 of them and its
// centre, without pan, is (4500, 4500).
inline constexpr int kChartSize = 9030;
inline constexpr double kCentre = 4500;
// Radius of the declination-0 circle at zoom n: 4500 n. The first opening
// of the program draws at 4000.
inline constexpr double kScalePerZoom = 4500;
inline constexpr double kFirstScale = 4000;
inline constexpr int16_t kMaxZoom = 7;

struct View {
    double scale = kFirstScale;  // radius of the declination-0 circle
    int16_t rotation = 0;        // degrees added to every right-ascension angle
    double panX = 0;
    double panY = 0;
};

struct Point {
    double x = 0;
    double y = 0;
};

// Where a right ascension (tenths of a time-minute) and a declination
// (tenths of an arc-minute) fall on the chart: the pole at the centre, the
// equator at `scale`, right ascension growing clockwise from the right.
// Each product is floored before the centre and the pan are added.
Point Project(double ad, double dec, const View& view);

// The Symbol-font letter of a star's Greek name ("MU" -> "m"), or " " for a
// name without one (alpha and beta included). Exact and case-sensitive.
QString GreekToSymbolLetter(const QString& name);

// The rotation after a step of +10 or -10 degrees: the remainder of a
// division by 360 that keeps the sign of the dividend (-350 - 10 -> 0).
int16_t Rotated(int16_t rotation, int step);

// A pan scaled from zoom `from` to zoom `to`, so the picture grows about the
// window's centre.
double ZoomedPan(double pan, int16_t to, int16_t from);

// The entry among the first `count` points that lies less than 100 units
// from (x, y) on both axes, keeping a later entry only when it is strictly
// nearer on both axes; -1 when none.
inline constexpr double kPickBox = 100;
int NearestInBox(const double* xs, const double* ys, int count, float x, float y);

// Text forms of a right ascension or declination split for the displays:
// whole hours (degrees) from the rounded value, truncated toward zero, and
// the rest in minutes (arc-minutes), signed.
struct Split {
    int32_t whole = 0;
    double minutes = 0;
};
Split SplitCoordinate(double value);

}  // namespace chart
