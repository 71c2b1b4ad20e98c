// The constants and rounding every astronomy formula of the program shares.
#pragma once

#include <cmath>

// pi as every formula of the program uses it.
constexpr double Pi = 3.14159265358979;

// Rounding to a number of decimals, halves to even.
inline double RoundDecimals(double value, int decimals) {
    const double scale = std::pow(10.0, decimals);
    return std::nearbyint(value * scale) / scale;
}
