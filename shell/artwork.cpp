#include "shell/artwork.h"

#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <QRandomGenerator>
#include <cmath>

namespace artwork {

namespace {

QPixmap blank(int size) {
    QPixmap p(size, size);
    p.fill(Qt::transparent);
    return p;
}

// A square picture, transparent, that draw paints with antialiasing.
template <class Draw>
QPixmap painted(int size, Draw draw) {
    QPixmap p = blank(size);
    QPainter g(&p);
    g.setRenderHint(QPainter::Antialiasing);
    draw(g);
    return p;
}

// One filled shape with a darker outline; draw gets the painter and the size.
template <class Draw>
QPixmap filledShape(int size, const QColor& outline, const QColor& fill, Draw draw) {
    return painted(size, [&](QPainter& g) {
        g.setPen(QPen(outline, size / 24.0));
        g.setBrush(fill);
        draw(g, static_cast<double>(size));
    });
}

const QColor kGreenOutline(20, 60, 20);
const QColor kGreen(60, 170, 70);

}  // namespace

QPixmap NightSky(int width, int height, unsigned seed) {
    QPixmap p(width, height);
    QPainter g(&p);
    QLinearGradient sky(0, 0, 0, height);
    sky.setColorAt(0, QColor(5, 8, 30));
    sky.setColorAt(1, QColor(25, 35, 80));
    g.fillRect(p.rect(), sky);
    QRandomGenerator rng(seed);
    g.setRenderHint(QPainter::Antialiasing);
    for (int i = 0; i < width * height / 250; ++i) {
        const double x = rng.bounded(width), y = rng.bounded(height);
        const double r = 0.4 + rng.bounded(1.4);
        const int v = 160 + rng.bounded(96);
        g.setPen(Qt::NoPen);
        g.setBrush(QColor(v, v, 255));
        g.drawEllipse(QPointF(x, y), r, r);
    }
    // A hill line and a small dome.
    QPainterPath hill;
    hill.moveTo(0, height);
    hill.lineTo(0, height * 0.85);
    hill.cubicTo(width * 0.3, height * 0.75, width * 0.6, height * 0.95, width, height * 0.8);
    hill.lineTo(width, height);
    g.fillPath(hill, QColor(8, 10, 12));
    g.setBrush(QColor(60, 60, 70));
    g.drawPie(QRectF(width * 0.62, height * 0.78, width * 0.12, width * 0.12), 0, 180 * 16);
    return p;
}

QPixmap Telescope(int size) {
    return painted(size, [size](QPainter& g) {
        g.translate(size / 2.0, size / 2.0);
        g.setPen(QPen(QColor(40, 40, 40), size / 24.0));
        g.drawLine(QPointF(0, 0), QPointF(-size * 0.3, size * 0.45));
        g.drawLine(QPointF(0, 0), QPointF(size * 0.3, size * 0.45));
        g.rotate(-35);
        g.setBrush(QColor(230, 230, 235));
        g.drawRoundedRect(QRectF(-size * 0.42, -size * 0.09, size * 0.84, size * 0.18), 4, 4);
        g.setBrush(QColor(30, 30, 40));
        g.drawRect(QRectF(size * 0.36, -size * 0.11, size * 0.08, size * 0.22));
    });
}

QPixmap StopSign(int size) {
    return painted(size, [size](QPainter& g) {
        QPolygonF octagon;
        for (int i = 0; i < 8; ++i) {
            const double a = (22.5 + 45.0 * i) * 3.14159265358979 / 180.0;
            octagon << QPointF(size / 2.0 + size * 0.46 * std::cos(a), size / 2.0 + size * 0.46 * std::sin(a));
        }
        g.setPen(QPen(Qt::white, size / 20.0));
        g.setBrush(QColor(200, 20, 20));
        g.drawPolygon(octagon);
        QFont f = g.font();
        f.setBold(true);
        f.setPixelSize(size / 4);
        g.setFont(f);
        g.drawText(QRect(0, 0, size, size), Qt::AlignCenter, QStringLiteral("STOP"));
    });
}

QPixmap ChartIcon(int size) {
    return painted(size, [size](QPainter& g) {
        const QPointF c(size / 2.0, size / 2.0);
        g.setPen(QPen(QColor(30, 40, 90), size / 16.0));
        g.setBrush(QColor(20, 30, 70));
        g.drawEllipse(c, size * 0.45, size * 0.45);
        g.setPen(QPen(QColor(120, 140, 200), size / 24.0));
        g.setBrush(Qt::NoBrush);
        g.drawEllipse(c, size * 0.25, size * 0.25);
        g.setPen(QPen(QColor(255, 80, 80), size / 12.0));
        g.drawLine(QPointF(c.x() + size * 0.12, c.y() - size * 0.2), QPointF(c.x() + size * 0.12, c.y()));
        g.drawLine(QPointF(c.x() + size * 0.02, c.y() - size * 0.1), QPointF(c.x() + size * 0.22, c.y() - size * 0.1));
    });
}

QPixmap TwinklingStar(int size, int frame) {
    return painted(size, [size, frame](QPainter& g) {
        g.translate(size / 2.0, size / 2.0);
        g.rotate(frame * 9.0);
        QPolygonF star;
        for (int i = 0; i < 10; ++i) {
            const double r = (i % 2 == 0 ? 0.46 : 0.18) * size;
            const double a = i * 36.0 * 3.14159265358979 / 180.0;
            star << QPointF(r * std::sin(a), -r * std::cos(a));
        }
        g.setPen(Qt::NoPen);
        g.setBrush(QColor(255, 220, 90));
        g.drawPolygon(star);
    });
}


QPixmap Arrow(int size, int degrees) {
    return filledShape(size, kGreenOutline, kGreen, [degrees](QPainter& g, double s) {
        g.translate(s / 2, s / 2);
        g.rotate(degrees);
        QPolygonF arrow;
        arrow << QPointF(0, -0.42 * s) << QPointF(0.34 * s, -0.02 * s) << QPointF(0.13 * s, -0.02 * s)
              << QPointF(0.13 * s, 0.40 * s) << QPointF(-0.13 * s, 0.40 * s) << QPointF(-0.13 * s, -0.02 * s)
              << QPointF(-0.34 * s, -0.02 * s);
        g.drawPolygon(arrow);
    });
}

QPixmap PlaySymbol(int size) {
    return filledShape(size, kGreenOutline, kGreen, [](QPainter& g, double s) {
        QPolygonF t;
        t << QPointF(0.28 * s, 0.18 * s) << QPointF(0.82 * s, 0.5 * s) << QPointF(0.28 * s, 0.82 * s);
        g.drawPolygon(t);
    });
}

QPixmap StopSymbol(int size) {
    return filledShape(size, QColor(90, 10, 10), QColor(200, 30, 30), [](QPainter& g, double s) {
        g.drawRect(QRectF(0.22 * s, 0.22 * s, 0.56 * s, 0.56 * s));
    });
}

QPixmap ExitDoor(int size) {
    return painted(size, [size](QPainter& g) {
        const double s = size;
        g.setPen(QPen(QColor(60, 40, 20), s / 16.0));
        g.setBrush(QColor(170, 120, 70));
        g.drawRect(QRectF(0.12 * s, 0.1 * s, 0.42 * s, 0.8 * s));
        g.setPen(QPen(QColor(30, 80, 30), s / 10.0));
        g.drawLine(QPointF(0.4 * s, 0.5 * s), QPointF(0.88 * s, 0.5 * s));
        g.drawLine(QPointF(0.88 * s, 0.5 * s), QPointF(0.72 * s, 0.36 * s));
        g.drawLine(QPointF(0.88 * s, 0.5 * s), QPointF(0.72 * s, 0.64 * s));
    });
}

}  // namespace artwork
