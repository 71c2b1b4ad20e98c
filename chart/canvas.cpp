#include "chart/canvas.h"

#include "platform/form.h"
#include "platform/widgets.h"

#include <QFont>

#include <algorithm>
#include <cmath>

namespace chart {

namespace {
// Chart units to pixels. The painter keeps no scale of its own: its fast
// ways of drawing circles and lines want plain pixels.
constexpr double kPerPixel = twips::FromPixels(1);
QPointF px(double x, double y) { return {x / kPerPixel, y / kPerPixel}; }
}  // namespace

ImageCanvas::ImageCanvas(int width, int height)
    : image_(twips::ToPixels(width), twips::ToPixels(height), QImage::Format_RGB32) {
    image_.fill(kBackground);
}

ImageCanvas::~ImageCanvas() = default;

QPainter& ImageCanvas::painter() {
    if (!painter_) {
        painter_ = std::make_unique<QPainter>(&image_);
        painter_->setRenderHint(QPainter::Antialiasing, false);
        painter_->setRenderHint(QPainter::TextAntialiasing, false);
    }
    return *painter_;
}

const QImage& ImageCanvas::Image() {
    painter_.reset();  // whatever was drawn is in the picture now
    return image_;
}

void ImageCanvas::Clear() {
    painter_.reset();
    image_.fill(kBackground);
}

void ImageCanvas::Circle(double x, double y, double r, const QColor& outline, const QColor& fill, bool solid) {
    QPainter& p = painter();
    p.setPen(QPen(outline, 0));
    if (solid) p.setBrush(fill);
    else p.setBrush(Qt::NoBrush);
    // On whole pixels, where the painter rasterises a circle directly.
    const QPoint c = px(x, y).toPoint();
    const int radius = std::max(1, static_cast<int>(std::lround(r / kPerPixel)));
    p.drawEllipse(QRectF(c.x() - radius, c.y() - radius, 2 * radius, 2 * radius));
}

void ImageCanvas::Line(double x1, double y1, double x2, double y2, const QColor& colour) {
    QPainter& p = painter();
    p.setPen(QPen(colour, 0));
    p.drawLine(px(x1, y1), px(x2, y2));
}

void ImageCanvas::Print(double x, double y, const QString& text, const QColor& colour, const QString& font,
                        int points) {
    QPainter& p = painter();
    // The Symbol font's letters drawn as the Greek characters, in a font that has them.
    const bool symbol = font == QLatin1String("Symbol");
    QFont f(symbol ? QStringLiteral("DejaVu Sans") : font);
    const int size = twips::ToPixels(points * 20);  // 20 twips to the point
    f.setPixelSize(size);
    p.setFont(f);
    p.setPen(colour);
    const QString shown = symbol ? ui::SymbolText(text) : text;
    p.drawText(QRectF(px(x, y), QSizeF(4.0 * size * static_cast<double>(shown.size()), 2.0 * size)),
               Qt::AlignLeft | Qt::AlignTop, shown);
}

}  // namespace chart
