#include "chart/canvas.h"

#include "platform/form.h"
#include "platform/widgets.h"

#include <QFont>

namespace chart {

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
        painter_->scale(1.0 / twips::FromPixels(1), 1.0 / twips::FromPixels(1));
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
    p.drawEllipse(QPointF(x, y), r, r);
}

void ImageCanvas::Line(double x1, double y1, double x2, double y2, const QColor& colour) {
    QPainter& p = painter();
    p.setPen(QPen(colour, 0));
    p.drawLine(QPointF(x1, y1), QPointF(x2, y2));
}

void ImageCanvas::Print(double x, double y, const QString& text, const QColor& colour, const QString& font,
                        int points) {
    QPainter& p = painter();
    // The Symbol font's letters drawn as the Greek characters, in a font that has them.
    const bool symbol = font == QLatin1String("Symbol");
    QFont f(symbol ? QStringLiteral("DejaVu Sans") : font);
    f.setPixelSize(points * 20);  // twips: 20 to the point
    p.setFont(f);
    p.setPen(colour);
    const QString shown = symbol ? ui::SymbolText(text) : text;
    p.drawText(QRectF(x, y, points * 20 * 4.0 * shown.size(), points * 40.0), Qt::AlignLeft | Qt::AlignTop, shown);
}

}  // namespace chart
