#include "chart/chartmath.h"

#include <gtest/gtest.h>

using chart::Project;
using chart::View;

TEST(ChartProjection, PolarMapOfTheNorthernSky) {
    const View razView{4500, 0, 0, 0};
    struct Case {
        const char* what;
        double ad, dec;
        View view;
        double x, y;
    } cases[] = {
        {"pole, RA 0", 0, 54000, razView, 4500, 4500},
        {"pole, RA 7 h", 4200, 54000, razView, 4500, 4500},
        {"pole with a pan", 1234, 54000, {4500, 30, -250, 500}, 4250, 5000},
        {"equator at RA 0 after R.A.Z", 0, 0, razView, 9000, 4500},
        {"RA 6 h straight below", 3600, 0, razView, 4500, 9000},
        {"RA 6 h with rotation -90 to the right", 3600, 0, {4500, -90, 0, 0}, 9000, 4500},
        {"RA 12 h to the left", 7200, 0, razView, 0, 4500},
        {"declination 45 at RA 0", 0, 27000, razView, 6750, 4500},
        {"declination -90 at twice the scale", 0, -54000, razView, 13500, 4500},
        {"first load: equator at radius 4000", 0, 0, View{}, 8500, 4500},
        {"zoom 2", 0, 0, {9000, 0, 0, 0}, 13500, 4500},
        {"pan added after the floor", 0, 0, {4500, 0, 0.5, -0.25}, 9000.5, 4499.75},
    };
    for (const auto& c : cases) {
        const chart::Point p = Project(c.ad, c.dec, c.view);
        EXPECT_DOUBLE_EQ(p.x, c.x) << c.what;
        EXPECT_DOUBLE_EQ(p.y, c.y) << c.what;
    }
}

TEST(ChartProjection, TheProductIsFlooredBeforeTheOffsets) {
    // r = (90 - dec / 600) * scale / 90 = scale at dec 0: the product is
    // r cos(angle), -0.5 at RA 12 h with a scale of 0.5, 2.5 at RA 0 with 2.5.
    struct Case {
        double scale, ad, x;
    } cases[] = {{0.5, 7200, 4499}, {2.5, 0, 4502}, {-0.5, 0, 4499}, {0.4, 0, 4500}};
    for (const auto& c : cases)
        EXPECT_DOUBLE_EQ(Project(c.ad, 0, {c.scale, 0, 0, 0}).x, c.x) << c.scale << " at " << c.ad;
}

TEST(ChartProjection, GreekLettersOfTheStarNames) {
    struct Case {
        const char* name;
        const char* letter;
    } cases[] = {{"DELTA", "d"}, {"UPSILON", "u"}, {"MU", "m"},     {"GAMMA", "g"},  {"EPSILON", "e"}, {"ETA", "h"},
                 {"ZETA", "z"},  {"RHO", "r"},     {"KAPPA", "k"},  {"TAU", "t"},    {"THETA", "q"},   {"IOTA", "i"},
                 {"SIGMA", "s"}, {"PI", "p"},      {"PHI", "f"},    {"CHI", "c"},    {"ALPHA", " "},   {"BETA", " "},
                 {"LAMBDA", " "}, {"Delta", " "},  {"delta", " "},  {"", " "},       {"51", " "},      {" MU", " "}};
    for (const auto& c : cases)
        EXPECT_EQ(chart::GreekToSymbolLetter(QString::fromLatin1(c.name)), QString::fromLatin1(c.letter)) << c.name;
}

TEST(ChartProjection, RotationKeepsTheSignOfTheDividend) {
    struct Case {
        int16_t from;
        int step;
        int16_t to;
    } cases[] = {{0, -10, -10}, {0, 10, 10}, {350, 10, 0}, {-350, -10, 0}, {-10, 10, 0}, {340, 10, 350}, {-20, 10, -10}};
    for (const auto& c : cases) EXPECT_EQ(chart::Rotated(c.from, c.step), c.to) << c.from << " " << c.step;
}

TEST(ChartProjection, PanFollowsTheZoom) {
    EXPECT_DOUBLE_EQ(chart::ZoomedPan(300, 6, 3), 600);
    EXPECT_DOUBLE_EQ(chart::ZoomedPan(600, 3, 6), 300);
    EXPECT_DOUBLE_EQ(chart::ZoomedPan(-250, 2, 1), -500);
    EXPECT_DOUBLE_EQ(chart::ZoomedPan(125, 4, 4), 125);
}

TEST(ChartPicking, StrictlyNearerOnBothAxesWithinTheBox) {
    struct Case {
        const char* what;
        std::vector<double> xs, ys;
        int found;
    } cases[] = {
        {"(10, 80) then (50, 20): the first stays", {1010, 1050}, {1080, 1020}, 0},
        {"(50, 20) then (10, 80): the first stays", {1050, 1010}, {1020, 1080}, 0},
        {"nearer on both axes replaces", {1050, 1010}, {1050, 1010}, 1},
        {"equal distances: the first stays", {1020, 980}, {1020, 980}, 0},
        {"exactly 100 away on x", {1100}, {1000}, -1},
        {"exactly 100 away on y", {1000}, {900}, -1},
        {"99.5 away on both", {1099.5}, {900.5}, 0},
        {"nothing drawn", {}, {}, -1},
    };
    for (const auto& c : cases)
        EXPECT_EQ(chart::NearestInBox(c.xs.data(), c.ys.data(), static_cast<int>(c.xs.size()), 1000, 1000), c.found)
            << c.what;
}

TEST(ChartPicking, CoordinatesSplitForTheBoxes) {
    struct Case {
        double value;
        int32_t whole;
        double minutes;
    } cases[] = {{1234, 2, 3.4}, {-2735, -4, -33.5}, {-300, 0, -30}, {-2400, -4, 0}, {899.5, 1, 29.95}, {-615, -1, -1.5}};
    for (const auto& c : cases) {
        const chart::Split s = chart::SplitCoordinate(c.value);
        EXPECT_EQ(s.whole, c.whole) << c.value;
        EXPECT_NEAR(s.minutes, c.minutes, 1e-9) << c.value;
    }
}
