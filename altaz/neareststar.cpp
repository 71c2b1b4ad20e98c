#include "altaz/neareststar.h"

#include "altaz/catalogue.h"
#include "altaz/typefilter.h"
#include "platform/seams.h"
#include "platform/textfile.h"

#include <algorithm>
#include <cmath>

namespace neareststar {

namespace {
constexpr int64_t kDay = 14400;      // 24 h in tenths of a minute of time
constexpr int64_t kHalfDay = kDay / 2;

int lastStar(const BrightStarTable& stars) { return std::min<int>(stars.BrightStarCount, kBrightStarRows - 1); }
}  // namespace

double StarDistance(const ObjectTable& objects, int i, const BrightStarTable& stars, int j) {
    // Right-ascension difference folded into -12 h .. +12 h, then in arc units.
    int64_t dRA = (static_cast<int64_t>(objects.CatalogueRA[i]) - stars.BrightStarRA[j]) % kDay;
    if (dRA > kHalfDay) dRA -= kDay;
    if (dRA < -kHalfDay) dRA += kDay;
    dRA *= 15;
    const int64_t dDec = static_cast<int64_t>(objects.CatalogueDec[i]) - stars.BrightStarDec[j];
    const double a = static_cast<double>(dRA);
    const double b = static_cast<double>(dDec);
    return std::sqrt(b * b + a * a);
}

int NearestStarRow(const ObjectTable& objects, int i, const BrightStarTable& stars) {
    if (i < 0 || i >= objects.CatalogueCount || i >= kCatalogueRows) return -1;
    const int last = lastStar(stars);
    if (last < 0) return -1;
    int bestRow = 0;
    double best = StarDistance(objects, i, stars, 0);
    for (int j = 1; j <= last; ++j) {
        const double d = StarDistance(objects, i, stars, j);
        if (d < best) {
            best = d;
            bestRow = j;
        }
    }
    return bestRow;
}

std::optional<QString> NearestStarMessage(const ObjectTable& objects, int listRow, const BrightStarTable& stars) {
    const int star = NearestStarRow(objects, typefilter::ObjectRow(objects, listRow), stars);
    if (star < 0) return std::nullopt;
    const QString constellation = catalogue::ConstellationName(stars.BrightStarConst[star]);
    // Names come from the files: only their start is quoted.
    return kHeading + QStringLiteral("\r\n") + textfile::Excerpt(stars.BrightStarName[star]) + QStringLiteral(" (") +
           textfile::Excerpt(constellation) + QStringLiteral(").");
}

bool ShowNearestStar(const ObjectTable& objects, int listRow, const BrightStarTable& stars) {
    const auto message = NearestStarMessage(objects, listRow, stars);
    if (!message) return false;
    seams::MsgBox(*message);
    return true;
}

}  // namespace neareststar
