// The values each quantity may take, in one place: what a settings file may
// hold and what a window may save are the same.
#pragma once

#include <cmath>

namespace ranges {

// The site, in degrees and minutes. A negative minutes value may carry the
// site's sign, so the minutes are bounded whatever their sign.
inline constexpr double kMaxLatitudeDeg = 90;
inline constexpr double kMaxLongitudeDeg = 180;
inline constexpr double kMaxSiteMinutes = 59.9;

inline bool Latitude(double degrees) { return std::fabs(degrees) <= kMaxLatitudeDeg; }
inline bool Longitude(double degrees) { return std::fabs(degrees) <= kMaxLongitudeDeg; }
inline bool SiteMinutes(double minutes) { return std::fabs(minutes) <= kMaxSiteMinutes; }

// Motor steps per turn: a whole number from 1 to 32767, the 16-bit count the
// step angle takes. Reduction ratios: above 0 and at most 32767. A turn's
// pulses, 2 x steps x ratio, then fit the 32-bit counters.
inline constexpr double kMaxMotorSteps = 32767;
inline constexpr double kMaxRatio = 32767;

inline bool MotorSteps(double steps) {
    return steps >= 1 && steps <= kMaxMotorSteps && steps == std::floor(steps);
}
inline bool Ratio(double ratio) { return ratio > 0 && ratio <= kMaxRatio; }

// Busy-wait delays and backlash: whole counts from 0 to the largest a
// 32-bit table entry holds.
inline constexpr double kMaxCount = 2147483647;

inline bool Count(double count) { return count >= 0 && count <= kMaxCount && count == std::floor(count); }

// The tracking tick's increment: whole milliseconds in the tick's 16-bit range.
inline constexpr double kMinTrackIncrementMs = 10;
inline constexpr double kMaxTrackIncrementMs = 32767;

inline bool TrackIncrement(double ms) {
    return ms >= kMinTrackIncrementMs && ms <= kMaxTrackIncrementMs && ms == std::floor(ms);
}

// Goto speed levels as the files and lists hold them: 1 to 5.
inline bool GotoLevel(double level) { return level >= 1 && level <= 5 && level == std::floor(level); }

}  // namespace ranges
