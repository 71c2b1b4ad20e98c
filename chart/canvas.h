// What the chart draws on: a black picture in chart units (twips) that
// takes circles, lines and text. The window draws on a picture it keeps and
// paints; tests put a recorder in its place.
#pragma once

#include <QColor>
#include <QImage>
#include <QPainter>
#include <QString>
#include <memory>

namespace chart {

// The chart's colours.
inline const QColor kBackground(0, 0, 0);
inline const QColor kRepereColour(160, 160, 160);
inline const QColor kStarOutline(240, 240, 240);
inline const QColor kStarFill(250, 250, 250);
inline const QColor kLineColour(160, 160, 220);
inline const QColor kTelescopeColour(255, 0, 0);
inline const QColor kGalaxyColour(0, 255, 0);
inline const QColor kClusterColour(250, 140, 0);
inline const QColor kNebulaColour(250, 0, 220);

class Canvas {
public:
    virtual ~Canvas() = default;
    // Everything black again.
    virtual void Clear() = 0;
    // A circle about (x, y): its outline in `outline`, its inside in `fill`
    // when `solid`, else left as it is.
    virtual void Circle(double x, double y, double r, const QColor& outline, const QColor& fill, bool solid) = 0;
    virtual void Line(double x1, double y1, double x2, double y2, const QColor& colour) = 0;
    // Text whose top left corner is at (x, y). `font` is the font's name;
    // "Symbol" text is the Symbol font's letters ("m" for mu).
    virtual void Print(double x, double y, const QString& text, const QColor& colour, const QString& font,
                       int points) = 0;
};

// A picture of w x h chart units, 15 to the pixel, drawn without
// antialiasing.
class ImageCanvas final : public Canvas {
public:
    ImageCanvas(int width, int height);
    ~ImageCanvas() override;
    // The picture as drawn so far.
    const QImage& Image();

    void Clear() override;
    void Circle(double x, double y, double r, const QColor& outline, const QColor& fill, bool solid) override;
    void Line(double x1, double y1, double x2, double y2, const QColor& colour) override;
    void Print(double x, double y, const QString& text, const QColor& colour, const QString& font,
               int points) override;

private:
    QPainter& painter();
    QImage image_;
    std::unique_ptr<QPainter> painter_;
};

}  // namespace chart
