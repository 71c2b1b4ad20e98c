// Small pieces shared by the windows: placing controls in twips, and the
// picture box that serves as a push button.
#pragma once

#include <QLabel>
#include <QPixmap>
#include <QProgressBar>
#include <functional>

class QGroupBox;
class QLineEdit;
class QListWidget;
class QPushButton;
class QMenu;

class QWidget;

namespace ui {

// Places a control at left, top with width and height, all in twips.
void Place(QWidget* w, int left, int top, int width, int height);

// Creates a control of type W in parent, named as the program names it.
template <class W, class... Args>
W* Make(QWidget* parent, const char* name, Args&&... args) {
    auto* w = new W(std::forward<Args>(args)..., parent);
    w->setObjectName(QString::fromUtf8(name));
    return w;
}

// The usual height of a one-line control, in twips.
constexpr int kLineHeight = 285;
// A text box named as the program names it, and a plain label, placed in
// twips on one line's height. The box keeps its text in view from the start
// (ShowFromStart).
QLineEdit* TextBox(QWidget* parent, const char* name, int left, int top, int width);
QLabel* Label(QWidget* parent, const QString& text, int left, int top, int width);

// Keeps the box's text in view from its first character: after the program
// writes it (a text wider than the box would otherwise show its end), and
// when the user leaves it. While the user is in the box its cursor is the
// user's, unless the program writes a new text there.
void ShowFromStart(QLineEdit* box);

// The width a text box gives its text, in pixels: its width less its frame,
// its margins and its cursor. A text no wider than this is seen whole.
int TextRoom(const QLineEdit* box);

// A button and a frame with their captions, named and placed in twips.
QPushButton* Button(QWidget* parent, const char* name, const QString& text, int left, int top, int width,
                    int height = 360);
QGroupBox* Frame(QWidget* parent, const char* name, const QString& title, int left, int top, int width,
                 int height);

// Captions in the Webdings and Symbol fonts are kept in the program's state
// as those fonts' characters ("8", "7" for a fold switch; "a" for alpha) and
// drawn as the matching Unicode characters. Characters without a match are
// kept as they are.
QString WebdingsText(const QString& caption);
QString SymbolText(const QString& caption);

// Runs `click` when the user chooses a row of the list: on a change of row,
// and on a click of the row already chosen (which changes nothing, so the
// list itself says nothing of it).
void OnListClick(QListWidget* list, std::function<void()> click);

// Shows a pop-up menu at the pointer, whole on the pointer's screen, and
// waits until it is closed.
void ShowPopup(QMenu* menu);
// Where a pop-up menu of that size opens for the pointer on that screen: at
// the pointer, or across the pointer to its left or above it when it would
// pass the screen's right or bottom edge, and always whole inside the screen
// (at its top-left corner when it is larger than the screen).
QPoint PopupPosition(const QPoint& pointer, const QSize& menu, const QRect& screen);
void SetPopupHook(std::function<void(QMenu*)> hook);  // empty: the real menu

// Writes a box's text when it differs from what the box holds. A box
// repaints at every text written, even the one it already shows; the clock
// tick writes a dozen boxes five times a second, most of them unchanged.
void SetText(QLineEdit* box, const QString& text);

// Sets a progress bar's value, shown when the window next repaints, that is
// when pending events next run. A move writes its bars after every pulse; a
// bar whose value is set plainly repaints at once, and with it everything
// else the window has to repaint, between two pulses: that would stretch the
// next one.
void SetProgressSoon(QProgressBar* bar, int value);

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
    // Any mouse button, pressed and released over the picture.
    void MouseDown(Qt::MouseButton button);
    void MouseUp(Qt::MouseButton button);
    // The left button pressed and released over the picture.
    void Click();

protected:
    void mousePressEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;

private:
    QPixmap picture_;
};

// A one-character switch in the Webdings font: its caption stays the font's
// character ("8", "7") and is drawn as the matching Unicode character. It is
// clicked as a picture is.
class WebdingsLabel : public PictureBox {
    Q_OBJECT
public:
    explicit WebdingsLabel(QWidget* parent = nullptr);
    const QString& Caption() const { return caption_; }
    void SetCaption(const QString& caption);

private:
    QString caption_;
};

// A progress bar drawn flat: its frame, its bar in the highlight colour and,
// when shown, its percentage. The moves write their bars after every pulse;
// the style's own bar takes a tenth of a millisecond or more to repaint at
// each change, this one a few microseconds.
class ProgressBar : public QProgressBar {
public:
    explicit ProgressBar(QWidget* parent = nullptr);

protected:
    bool event(QEvent* e) override;
    void paintEvent(QPaintEvent* e) override;
};
