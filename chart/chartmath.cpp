#include "chart/chartmath.h"

#include "core/conversions.h"
#include "platform/vbrt.h"

#include <cmath>

namespace chart {

Point Project(double ad, double dec, const View& view) {
    const double angle = ad / 40 + view.rotation;  // 24 h of 600 -> 360 degrees
    const double r = (90 - dec / 600) * view.scale / 90;
    return {vb::Int(r * CosDeg(angle)) + kCentre + view.panX, vb::Int(r * SinDeg(angle)) + kCentre + view.panY};
}

QString GreekToSymbolLetter(const QString& name) {
    static const struct {
        const char* name;
        const char* letter;
    } kLetters[] = {{"DELTA", "d"}, {"UPSILON", "u"}, {"MU", "m"},    {"GAMMA", "g"}, {"EPSILON", "e"}, {"ETA", "h"},
                    {"ZETA", "z"},  {"RHO", "r"},     {"KAPPA", "k"}, {"TAU", "t"},   {"THETA", "q"},   {"IOTA", "i"},
                    {"SIGMA", "s"}, {"PI", "p"},      {"PHI", "f"},   {"CHI", "c"}};
    for (const auto& l : kLetters)
        if (name == QLatin1String(l.name)) return QString::fromLatin1(l.letter);
    return QStringLiteral(" ");
}

int16_t Rotated(int16_t rotation, int step) { return static_cast<int16_t>((rotation + step) % 360); }

double ZoomedPan(double pan, int16_t to, int16_t from) { return to * pan / from; }

int NearestInBox(const double* xs, const double* ys, int count, float x, float y) {
    int index = -1;
    double bestX = 99999, bestY = 99999;
    for (int n = 0; n < count; ++n) {
        const double dx = std::fabs(x - xs[n]);
        const double dy = std::fabs(y - ys[n]);
        if (dx < kPickBox && dy < kPickBox && dx < bestX && dy < bestY) {
            index = n;
            bestX = dx;
            bestY = dy;
        }
    }
    return index;
}

Split SplitCoordinate(double value) {
    const int32_t whole = vb::CLng(value) / 600;  // toward zero
    return {whole, (value - 600.0 * whole) / 10};
}

}  // namespace chart
