// A chart canvas that writes down what is drawn on it, one line per call:
//   "clear"
//   "circle 6750,4500 r25 (240,240,240) fill (250,250,250) solid"
//   "line 0,4500 9000,4500 (160,160,160)"
//   "print 6800,4550 m (240,240,240) Symbol 12"
#pragma once

#include "chart/canvas.h"

#include <QRegularExpression>
#include <QStringList>
#include <string>

class ChartRecorder final : public chart::Canvas {
public:
    QStringList calls;

    void Clear() override { calls << QStringLiteral("clear"); }
    void Circle(double x, double y, double r, const QColor& outline, const QColor& fill, bool solid) override {
        calls << QStringLiteral("circle %1,%2 r%3 %4 fill %5 %6")
                     .arg(x)
                     .arg(y)
                     .arg(r)
                     .arg(rgb(outline), rgb(fill), solid ? QStringLiteral("solid") : QStringLiteral("transparent"));
    }
    void Line(double x1, double y1, double x2, double y2, const QColor& colour) override {
        calls << QStringLiteral("line %1,%2 %3,%4 %5").arg(x1).arg(y1).arg(x2).arg(y2).arg(rgb(colour));
    }
    void Print(double x, double y, const QString& text, const QColor& colour, const QString& font,
               int points) override {
        calls << QStringLiteral("print %1,%2 %3 %4 %5 %6").arg(x).arg(y).arg(text, rgb(colour), font).arg(points);
    }

    // The calls that start with `kind` ("circle", "line", "print").
    QStringList Of(const QString& kind) const { return calls.filter(QRegularExpression(u'^' + kind + u' ')); }

    // The calls one a line, for comparisons that print well.
    std::string Text() const { return calls.join(u'\n').toStdString(); }
    static std::string Text(const QStringList& l) { return l.join(u'\n').toStdString(); }

    static QString rgb(const QColor& c) { return QStringLiteral("(%1,%2,%3)").arg(c.red()).arg(c.green()).arg(c.blue()); }
};
