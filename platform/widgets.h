// Small pieces shared by the windows: placing controls in twips, and the
// picture box that serves as a push button.
#pragma once

#include <QLabel>
#include <QPixmap>

class QWidget;

namespace ui {

// Places a control at left, top with width and height, all in twips.
void Place(QWidget* w, int left, int top, int width, int height);

// Creates a control of type W in parent, named as the program names it.
template <class W, class... Args>
W* Make(QWidget* parent, const char* name, Args&&... args) {
    auto* w = new W(std::forward<Args>(args)..., parent);
    w->setObjectName(QString::fromLatin1(name));
    return w;
}

}  // namespace ui

// A picture that can be clicked. Which picture it shows is its state: compare
// Picture() with a picture by Same().
class PictureBox : public QLabel {
    Q_OBJECT
public:
    explicit PictureBox(QWidget* parent = nullptr);
    void SetPicture(const QPixmap& p);
    const QPixmap& Picture() const { return picture_; }
    bool Shows(const QPixmap& p) const;

signals:
    void MouseDown();
    void MouseUp();
    void Click();

protected:
    void mousePressEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;

private:
    QPixmap picture_;
};
