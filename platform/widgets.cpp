#include "platform/widgets.h"

#include "platform/form.h"
#include "platform/seams.h"

#include <QCursor>
#include <QFocusEvent>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QStyleOptionFrame>

#include <algorithm>

#include <algorithm>
#include <cstdint>

namespace ui {

void Place(QWidget* w, int left, int top, int width, int height) {
    w->setGeometry(twips::ToPixels(left), twips::ToPixels(top), twips::ToPixels(width), twips::ToPixels(height));
}

namespace {
std::function<void(QMenu*)>& popupHook() {
    static std::function<void(QMenu*)> h;
    return h;
}
}  // namespace

QPoint PopupPosition(const QPoint& pointer, const QSize& menu, const QRect& screen) {
    // One axis: at the pointer; across it when that passes the far edge;
    // then inside the screen whatever the pointer.
    const auto along = [](int at, int size, int first, int last) {
        if (at + size - 1 > last) at -= size;
        return std::max(first, std::min(at, last - size + 1));
    };
    return {along(pointer.x(), menu.width(), screen.left(), screen.right()),
            along(pointer.y(), menu.height(), screen.top(), screen.bottom())};
}

void ShowPopup(QMenu* menu) {
    seams::NestedLoop nested;
    if (popupHook()) {
        popupHook()(menu);
        return;
    }
    const QPoint pointer = QCursor::pos();
    const QScreen* screen = QGuiApplication::screenAt(pointer);
    if (!screen) screen = QGuiApplication::primaryScreen();
    menu->ensurePolished();
    menu->exec(screen ? PopupPosition(pointer, menu->sizeHint(), screen->availableGeometry()) : pointer);
}

void SetPopupHook(std::function<void(QMenu*)> hook) { popupHook() = std::move(hook); }

QString WebdingsText(const QString& caption) {
    QString out;
    for (QChar c : caption) {
        switch (c.unicode()) {
        case '3': out += QChar(0x25C0); break;  // left-pointing triangle
        case '4': out += QChar(0x25B6); break;  // right-pointing triangle
        case '5': out += QChar(0x25B2); break;  // up-pointing triangle
        case '6': out += QChar(0x25BC); break;  // down-pointing triangle
        // Two triangles each: the single media symbols are missing from the
        // usual fonts (DejaVu among them), where they draw as empty boxes.
        case '7': out += QStringLiteral("\u25C0\u25C0"); break;  // double left (fold)
        case '8': out += QStringLiteral("\u25B6\u25B6"); break;  // double right (unfold)
        case '9': out += QStringLiteral("|\u25C0"); break;        // to the start
        case ':': out += QStringLiteral("\u25B6|"); break;        // to the end
        case '<': out += QChar(0x25A0); break;  // stop square
        case '=': out += QChar(0x25A1); break;
        default: out += c; break;
        }
    }
    return out;
}

QString SymbolText(const QString& caption) {
    // The Symbol font puts the Greek alphabet on the Latin keys.
    static const char16_t lower[26] = {
        0x03B1, 0x03B2, 0x03C7, 0x03B4, 0x03B5, 0x03C6, 0x03B3, 0x03B7, 0x03B9, 0x03D5, 0x03BA, 0x03BB, 0x03BC,
        0x03BD, 0x03BF, 0x03C0, 0x03B8, 0x03C1, 0x03C3, 0x03C4, 0x03C5, 0x03D6, 0x03C9, 0x03BE, 0x03C8, 0x03B6};
    static const char16_t upper[26] = {
        0x0391, 0x0392, 0x03A7, 0x0394, 0x0395, 0x03A6, 0x0393, 0x0397, 0x0399, 0x03D1, 0x039A, 0x039B, 0x039C,
        0x039D, 0x039F, 0x03A0, 0x0398, 0x03A1, 0x03A3, 0x03A4, 0x03A5, 0x03C2, 0x03A9, 0x039E, 0x03A8, 0x0396};
    QString out;
    for (QChar c : caption) {
        const char16_t u = c.unicode();
        if (u >= 'a' && u <= 'z') out += QChar(lower[u - 'a']);
        else if (u >= 'A' && u <= 'Z') out += QChar(upper[u - 'A']);
        else out += c;
    }
    return out;
}

namespace {
// Remembers the list's row when a mouse button goes down on it.
class RowAtPress : public QObject {
public:
    explicit RowAtPress(QListWidget* list) : QObject(list), list_(list) {}
    int row = -1;

protected:
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::MouseButtonPress) row = list_->currentRow();
        return false;
    }

private:
    QListWidget* list_;
};
}  // namespace

void OnListClick(QListWidget* list, std::function<void()> click) {
    auto* press = new RowAtPress(list);
    list->viewport()->installEventFilter(press);
    QObject::connect(list, &QListWidget::currentRowChanged, list, [click] { click(); });
    // A click on another row has already run through the change of row.
    QObject::connect(list, &QListWidget::itemClicked, list, [list, press, click](QListWidgetItem* item) {
        if (list->row(item) == press->row) click();
    });
}

namespace {

// QLineEdit keeps this many pixels free on each side of its text, and one
// more after it for the cursor.
constexpr int kLineEditTextMargin = 2;
constexpr int kLineEditCursorWidth = 1;

// See ShowFromStart.
class StartInView : public QObject {
public:
    explicit StartInView(QLineEdit* box) : QObject(box), box_(box) {
        // A box the user is not in: whatever moved its cursor was the program.
        connect(box, &QLineEdit::cursorPositionChanged, this, [this] {
            if (!box_->hasFocus()) toStart();
        });
        // A box the user is in: a new text the user did not type.
        connect(box, &QLineEdit::textChanged, this, [this] {
            if (!box_->isModified()) toStart();
        });
        box->installEventFilter(this);
        toStart();
    }

protected:
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::FocusOut && static_cast<QFocusEvent*>(e)->reason() != Qt::PopupFocusReason)
            toStart();
        return false;
    }

private:
    void toStart() {
        if (box_->cursorPosition() != 0) box_->setCursorPosition(0);
    }
    QLineEdit* box_;
};

}  // namespace

void ShowFromStart(QLineEdit* box) {
    constexpr const char* kKept = "startKeptInView";
    if (box->property(kKept).toBool()) return;
    box->setProperty(kKept, true);
    new StartInView(box);
}

int TextRoom(const QLineEdit* box) {
    // What QLineEdit itself leaves for its text.
    QStyleOptionFrame opt;
    opt.initFrom(box);
    opt.rect = box->rect();
    opt.lineWidth = box->hasFrame() ? box->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &opt, box) : 0;
    opt.midLineWidth = 0;
    opt.state |= QStyle::State_Sunken;
    if (box->isReadOnly()) opt.state |= QStyle::State_ReadOnly;
    const QRect contents = box->style()->subElementRect(QStyle::SE_LineEditContents, &opt, box);
    const QMargins m = box->textMargins();
    return contents.width() - m.left() - m.right() - 2 * kLineEditTextMargin - kLineEditCursorWidth;
}

QLineEdit* TextBox(QWidget* parent, const char* name, int left, int top, int width) {
    auto* b = Make<QLineEdit>(parent, name);
    Place(b, left, top, width, kLineHeight);
    ShowFromStart(b);
    return b;
}

QLabel* Label(QWidget* parent, const QString& text, int left, int top, int width) {
    auto* l = new QLabel(text, parent);
    Place(l, left, top, width, kLineHeight);
    return l;
}

QPushButton* Button(QWidget* parent, const char* name, const QString& text, int left, int top, int width,
                    int height) {
    auto* b = Make<QPushButton>(parent, name);
    b->setText(text);
    Place(b, left, top, width, height);
    return b;
}

QGroupBox* Frame(QWidget* parent, const char* name, const QString& title, int left, int top, int width,
                 int height) {
    auto* f = Make<QGroupBox>(parent, name);
    f->setTitle(title);
    Place(f, left, top, width, height);
    return f;
}

void SetText(QLineEdit* box, const QString& text) {
    if (box->text() != text) box->setText(text);
}

void SetProgressSoon(QProgressBar* bar, int value) {
    if (bar->value() == value) return;
    // With its updates held the bar does not repaint; letting them go again
    // asks for a repaint with the window's next one.
    bar->setUpdatesEnabled(false);
    bar->setValue(value);
    bar->setUpdatesEnabled(true);
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
    // A press on a picture button is the button's alone: the window behind
    // it does not see it.
    e->accept();
    emit MouseDown(e->button());
}

void PictureBox::mouseReleaseEvent(QMouseEvent* e) {
    emit MouseUp(e->button());
    if (e->button() == Qt::LeftButton && rect().contains(e->position().toPoint())) emit Click();
    QLabel::mouseReleaseEvent(e);
}

WebdingsLabel::WebdingsLabel(QWidget* parent) : PictureBox(parent) { setCursor(Qt::PointingHandCursor); }

void WebdingsLabel::SetCaption(const QString& caption) {
    caption_ = caption;
    setText(ui::WebdingsText(caption));
}

ProgressBar::ProgressBar(QWidget* parent) : QProgressBar(parent) { setAttribute(Qt::WA_OpaquePaintEvent); }

bool ProgressBar::event(QEvent* e) {
    const bool handled = QProgressBar::event(e);
    // The bar paints every pixel of itself, so nothing behind it is painted
    // first; the style clears that when it polishes the bar.
    if (e->type() == QEvent::Polish) setAttribute(Qt::WA_OpaquePaintEvent);
    return handled;
}

void ProgressBar::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const QRect all = rect();
    p.fillRect(all, palette().base());
    const int span = maximum() - minimum();
    const int done = std::clamp(value() - minimum(), 0, std::max(span, 0));
    const int filled = span > 0 ? static_cast<int>(static_cast<int64_t>(all.width() - 2) * done / span) : 0;
    p.fillRect(QRect(1, 1, filled, all.height() - 2), palette().highlight());
    p.setPen(palette().dark().color());
    p.drawRect(all.adjusted(0, 0, -1, -1));
    if (isTextVisible() && value() >= minimum()) {
        // Dark on the empty part, light on the bar.
        const QRect bar(0, 0, 1 + filled, all.height());
        p.setClipRect(all.adjusted(bar.width(), 0, 0, 0));
        p.setPen(palette().text().color());
        p.drawText(all, Qt::AlignCenter, text());
        p.setClipRect(bar);
        p.setPen(palette().highlightedText().color());
        p.drawText(all, Qt::AlignCenter, text());
    }
}
