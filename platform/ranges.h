// The values each quantity may take, in one place: what a settings file may
// hold and what a window may save are the same.
#pragma once

#include <cmath>

namespace ranges {

// A range of values: from `low` (included or not) to `high` (included),
// whole numbers only when `whole`.
struct Range {
    double low = 0;
    double high = 0;
    bool lowIncluded = true;  // false: the value must be above low
    bool whole = false;

    constexpr bool Contains(double v) const {
        if (lowIncluded ? !(v >= low) : !(v > low)) return false;
        if (!(v <= high)) return false;
        return !whole || std::floor(v) == v;
    }
};

// The site, in degrees and minutes. A negative minutes value may carry the
// site's sign, so the minutes are bounded whatever their sign.
inline constexpr double kMaxLatitudeDeg = 90;
inline constexpr double kMaxLongitudeDeg = 180;
inline constexpr double kMaxSiteMinutes = 59.9;
inline constexpr Range kLatitude{-kMaxLatitudeDeg, kMaxLatitudeDeg};
inline constexpr Range kLongitude{-kMaxLongitudeDeg, kMaxLongitudeDeg};
inline constexpr Range kSiteMinutes{-kMaxSiteMinutes, kMaxSiteMinutes};

// Motor steps per turn: a whole number from 1 to 32767, the 16-bit count the
// step angle takes. Reduction ratios: above 0 and at most 32767. A turn's
// pulses, 2 x steps x ratio, then fit the 32-bit counters.
inline constexpr double kMaxMotorSteps = 32767;
inline constexpr double kMaxRatio = 32767;
inline constexpr Range kMotorSteps{1, kMaxMotorSteps, true, true};
inline constexpr Range kRatio{0, kMaxRatio, false};

// Busy-wait delays: whole counts from 0 to the largest a 32-bit table entry
// holds.
inline constexpr double kMaxCount = 2147483647;
inline constexpr Range kCount{0, kMaxCount, true, true};

// A speed table's delay (manual drive, goto, paddle): a whole count from 1.
// A delay of 0, or a negative one, is no speed a motor can follow.
inline constexpr Range kSpeedDelay{1, kMaxCount, true, true};

// Backlash, in pulses: the take-up record counts them in 16 bits.
inline constexpr double kMaxBacklash = 32767;
inline constexpr Range kBacklash{0, kMaxBacklash, true, true};

// The tracking tick's increment: whole milliseconds in the tick's 16-bit range.
inline constexpr double kMinTrackIncrementMs = 10;
inline constexpr double kMaxTrackIncrementMs = 32767;
inline constexpr Range kTrackIncrement{kMinTrackIncrementMs, kMaxTrackIncrementMs, true, true};

// Goto speed levels as the files and lists hold them: 1 to 5.
inline constexpr Range kGotoLevel{1, 5, true, true};

// Catalogue coordinates, whole numbers: right ascension in tenths of a minute
// of time (600 an hour) from 0 h to the last tenth before 24 h, declination
// in tenths of a minute of arc (600 a degree) from pole to pole.
inline constexpr double kMaxRightAscension = 24 * 600 - 1;
inline constexpr double kMaxDeclination = 90 * 600;
inline constexpr Range kRightAscension{0, kMaxRightAscension, true, true};
inline constexpr Range kDeclination{-kMaxDeclination, kMaxDeclination, true, true};

// The same as plain tests, for the file readers.
inline bool Latitude(double degrees) { return kLatitude.Contains(degrees); }
inline bool Longitude(double degrees) { return kLongitude.Contains(degrees); }
inline bool SiteMinutes(double minutes) { return kSiteMinutes.Contains(minutes); }
inline bool MotorSteps(double steps) { return kMotorSteps.Contains(steps); }
inline bool Ratio(double ratio) { return kRatio.Contains(ratio); }
inline bool Count(double count) { return kCount.Contains(count); }
inline bool SpeedDelay(double count) { return kSpeedDelay.Contains(count); }
inline bool Backlash(double pulses) { return kBacklash.Contains(pulses); }
inline bool TrackIncrement(double ms) { return kTrackIncrement.Contains(ms); }
inline bool GotoLevel(double level) { return kGotoLevel.Contains(level); }
inline bool RightAscension(double tenths) { return kRightAscension.Contains(tenths); }
inline bool Declination(double tenths) { return kDeclination.Contains(tenths); }

}  // namespace ranges
