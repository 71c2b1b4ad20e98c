// Windows as the program sees them: one class per window, one instance each,
// created and loaded on first use. Touching a control of a window that is not
// loaded loads it (its load handler runs) without showing it; unloading a
// window drops it, and the next use loads a fresh one.
#pragma once

#include <QPointer>
#include <QWidget>

#include <memory>

class QMessageBox;
class QMdiArea;
class QMdiSubWindow;

namespace twips {
// 15 twips to the pixel.
constexpr int ToPixels(int t) { return (t + 7) / 15; }
constexpr int FromPixels(int px) { return px * 15; }
}  // namespace twips

class Form : public QWidget {
    Q_OBJECT
public:
    explicit Form(const QString& caption);
    ~Form() override;

    // Shown non-modal: inside the main window when it is there, else on its own.
    void Show();
    void Hide();
    bool Shown() const;
    bool Unloaded() const { return unloaded_; }

    // Drops the window (its unload handler runs). While a handler that lets
    // events run is under way the window is only hidden; it goes once
    // control is back in the main event loop, so no handler ever runs on a
    // destroyed window.
    void Unload();

    // Size and place of the window's frame, in twips.
    // Sizes are those of the inside, where the controls are placed.
    void SetTwipsSize(int width, int height);
    void SetTwipsWidth(int width);
    void SetTwipsHeight(int height);
    int TwipsWidth() const;
    int TwipsHeight() const;
    // Sets the size back when it is not that one (windows of a fixed size
    // call it from their resize handler).
    void KeepSize(int width, int height);

    // The main window's document area that child windows open in. A child
    // window opens whole inside it, beside the windows already open when
    // there is room, and stays whole when it grows.
    static void SetMdiArea(QMdiArea* area);
    // The borders a child window's frame adds around its inside (title bar
    // at the top); none while there is no document area.
    static QMargins SubWindowFrame();

    // The window's own handlers.
    virtual void Form_Load() {}
    virtual void Form_Unload() {}
    virtual void Form_Resize() {}

protected:
    // Windows that are not children of the main window (the splash) say so.
    virtual bool MdiChild() const { return true; }
    QWidget* Frame() const;  // the sub-window when there is one, else this
    void resizeEvent(QResizeEvent* e) override;
    void closeEvent(QCloseEvent* e) override;

private:
    void destroyWhenIdle();
    void resizeInside(const QSize& inside);
    void keepWhole();
    QSize inside_;  // the inside size asked for last (invalid: none yet)
    QPointer<QMdiSubWindow> sub_;
    bool unloaded_ = false;
    bool inResize_ = false;
};

namespace forms {

template <class T>
struct Slot {
    static inline QPointer<T> instance;
};

// The window, loaded if it was not.
template <class T>
T& Use() {
    auto& p = Slot<T>::instance;
    if (!p || p->Unloaded()) {
        T* f = new T();
        p = f;
        f->Form_Load();
    }
    return *p;
}

template <class T>
bool Loaded() {
    auto& p = Slot<T>::instance;
    return p && !p->Unloaded();
}

// The program's message box: the text, the program's name as its title, an
// OK button only and no icon.
std::unique_ptr<QMessageBox> MessageBox(const QString& text, QWidget* parent = nullptr);
// Shows it over the active window and returns once the user has read it
// (the program's seams::MsgBox).
void ShowMessageBox(const QString& text);

// How far a caption (label, check box, option button, button, frame title)
// runs past its control, across or down, in pixels, with the font the control
// uses; 0 when it is wholly visible.
int CaptionOverrun(const QWidget* w);

// Makes every caption under root wholly visible in its control: a label that
// fits on two lines wraps, any other caption too wide for its control takes
// a smaller font. Every window does this when it is shown.
void FitCaptions(QWidget* root);

// Where a child window's frame goes to lie whole inside a document area of
// that size: moved up and left as far as needed, never past the area's
// top-left corner.
QPoint PlaceInside(const QRect& frame, const QSize& area);

// Unloads every loaded window (tests start each case this way).
void UnloadAll();

// Unloads the window when it is loaded; nothing happens otherwise.
template <class T>
void Unload() {
    if (Loaded<T>()) Slot<T>::instance->Unload();
}

}  // namespace forms
