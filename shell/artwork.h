// Pictures the program draws itself: the splash photograph, the about and help
// pictures and the stop sign of the progress window.
#pragma once

#include <QPixmap>

namespace artwork {

QPixmap NightSky(int width, int height, unsigned seed);
QPixmap Telescope(int size);
QPixmap StopSign(int size);
// A small polar chart with a mark: refresh the telescope on the sky chart.
QPixmap ChartIcon(int size);
// One frame of a slowly turning star.
QPixmap TwinklingStar(int size, int frame);

// A thick arrow pointing up, turned clockwise by that many degrees (90 right).
QPixmap Arrow(int size, int degrees);
// Start and stop of a run: a triangle, a square.
QPixmap PlaySymbol(int size);
QPixmap StopSymbol(int size);
// An open door with an arrow leaving through it: closing a window.
QPixmap ExitDoor(int size);

}  // namespace artwork
