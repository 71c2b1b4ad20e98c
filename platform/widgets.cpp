#include "platform/widgets.h"

#include "platform/form.h"

#include <QMouseEvent>

namespace ui {

void Place(QWidget* w, int left, int top, int width, int height) {
    w->setGeometry(twips::ToPixels(left), twips::ToPixels(top), twips::ToPixels(width), twips::ToPixels(height));
}

}  // namespace ui

PictureBox::PictureBox(QWidget* parent) : QLabel(parent) {
    setAlignment(Qt::AlignCenter);
}

void PictureBox::SetPicture(const QPixmap& p) {
    picture_ = p;
    setPixmap(p);
}

bool PictureBox::Shows(const QPixmap& p) const {
    return !picture_.isNull() && !p.isNull() && picture_.cacheKey() == p.cacheKey();
}

void PictureBox::mousePressEvent(QMouseEvent* e) {
    if (e->button() == Qt::LeftButton) emit MouseDown();
    QLabel::mousePressEvent(e);
}

void PictureBox::mouseReleaseEvent(QMouseEvent* e) {
    if (e->button() == Qt::LeftButton) {
        emit MouseUp();
        if (rect().contains(e->position().toPoint())) emit Click();
    }
    QLabel::mouseReleaseEvent(e);
}
