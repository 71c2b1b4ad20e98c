#include "platform/form.h"

#include "platform/seams.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QFontInfo>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QLayout>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMessageBox>
#include <QPointer>
#include <QRadioButton>
#include <QResizeEvent>
#include <QStyle>
#include <QStyleOptionGroupBox>
#include <QTimer>

#include <algorithm>

namespace {
QPointer<QMdiArea>& mdiArea() {
    static QPointer<QMdiArea> a;
    return a;
}
QList<QPointer<Form>>& allForms() {
    static QList<QPointer<Form>> l;
    return l;
}
}  // namespace

int forms::CaptionOverrun(const QWidget* w) {
    const QFontMetrics fm(w->font());
    const QStyle* style = w->style();
    if (const auto* l = qobject_cast<const QLabel*>(w)) {
        if (l->text().isEmpty() || !l->pixmap().isNull()) return 0;
        const int m = l->margin();
        const QRect room = l->contentsRect().adjusted(m, m, -m, -m);
        const QRect need = fm.boundingRect(QRect(QPoint(0, 0), room.size()), l->wordWrap() ? Qt::TextWordWrap : 0,
                                           l->text());
        int across = need.width() - room.width();
        if (l->wordWrap())
            for (const QString& word : l->text().split(u' ', Qt::SkipEmptyParts))
                across = std::max(across, fm.horizontalAdvance(word) - room.width());
        return std::max({0, across, need.height() - room.height()});
    }
    if (const auto* b = qobject_cast<const QAbstractButton*>(w)) {
        if (b->text().isEmpty()) return 0;
        int beside;  // indicator and spacing, or the button's margins and icon
        if (qobject_cast<const QCheckBox*>(b))
            beside = style->pixelMetric(QStyle::PM_IndicatorWidth, nullptr, b) +
                     style->pixelMetric(QStyle::PM_CheckBoxLabelSpacing, nullptr, b);
        else if (qobject_cast<const QRadioButton*>(b))
            beside = style->pixelMetric(QStyle::PM_ExclusiveIndicatorWidth, nullptr, b) +
                     style->pixelMetric(QStyle::PM_RadioButtonLabelSpacing, nullptr, b);
        else
            beside = 2 * style->pixelMetric(QStyle::PM_ButtonMargin, nullptr, b) +
                     (b->icon().isNull() ? 0 : b->iconSize().width() + 4);
        return std::max({0, fm.horizontalAdvance(b->text()) + beside - b->width(), fm.height() - b->height()});
    }
    if (const auto* g = qobject_cast<const QGroupBox*>(w)) {
        if (g->title().isEmpty()) return 0;
        QStyleOptionGroupBox opt;
        opt.initFrom(g);
        opt.text = g->title();
        opt.textAlignment = g->alignment();
        opt.subControls = QStyle::SC_GroupBoxLabel | QStyle::SC_GroupBoxFrame;
        const QRect title = style->subControlRect(QStyle::CC_GroupBox, &opt, QStyle::SC_GroupBoxLabel, g);
        return std::max(0, title.right() - g->rect().right());
    }
    return 0;
}

namespace {

// A label that fits on two lines wraps; any other caption that does not fit
// takes a smaller font, down to 6 points. The controls inside a frame keep
// their own font.
void fitCaption(QWidget* w) {
    if (forms::CaptionOverrun(w) == 0) return;
    if (auto* l = qobject_cast<QLabel*>(w); l && !l->wordWrap()) {
        l->setWordWrap(true);
        if (forms::CaptionOverrun(l) == 0) return;
        l->setWordWrap(false);
    }
    for (QWidget* child : w->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        if (!child->testAttribute(Qt::WA_SetFont)) {
            QFont own = child->font();
            own.setResolveMask(QFont::AllPropertiesResolved);
            child->setFont(own);
        }
    QFont f = w->font();
    if (f.pointSizeF() <= 0) f.setPointSizeF(QFontInfo(f).pointSizeF());
    constexpr double kSmallest = 6;
    while (forms::CaptionOverrun(w) > 0 && f.pointSizeF() > kSmallest) {
        f.setPointSizeF(f.pointSizeF() - 0.5);
        w->setFont(f);
    }
}

}  // namespace

std::unique_ptr<QMessageBox> forms::MessageBox(const QString& text, QWidget* parent) {
    auto box = std::make_unique<QMessageBox>(QMessageBox::NoIcon, QStringLiteral("Orvanel"), text, QMessageBox::Ok,
                                             parent);
    box->setDefaultButton(QMessageBox::Ok);
    return box;
}

void forms::ShowMessageBox(const QString& text) { MessageBox(text, QApplication::activeWindow())->exec(); }

void forms::FitCaptions(QWidget* root) {
    fitCaption(root);
    for (QWidget* w : root->findChildren<QWidget*>()) fitCaption(w);
}

QPoint forms::PlaceInside(const QRect& frame, const QSize& area) {
    // Up and left as far as needed; a frame larger than the area keeps its
    // title bar and left edge in view.
    return {std::max(0, std::min(frame.x(), area.width() - frame.width())),
            std::max(0, std::min(frame.y(), area.height() - frame.height()))};
}

void forms::UnloadAll() {
    const auto list = allForms();
    allForms().clear();
    for (const auto& f : list)
        if (f && !f->Unloaded()) f->Unload();
}

Form::Form(const QString& caption) {
    allForms().removeAll(nullptr);
    allForms().append(this);
    setWindowTitle(caption);
    setAttribute(Qt::WA_DeleteOnClose, false);
}

Form::~Form() = default;

void Form::SetMdiArea(QMdiArea* area) { mdiArea() = area; }

QWidget* Form::Frame() const { return sub_ ? static_cast<QWidget*>(sub_.data()) : const_cast<Form*>(this); }

void Form::Show() {
    if (unloaded_) return;
    ensurePolished();
    forms::FitCaptions(this);
    if (!sub_ && MdiChild() && mdiArea()) {
        // The size asked for last; the window may have been hidden or laid
        // out while it had no frame.
        const QSize inside = inside_.isValid() ? inside_ : size();
        // Made inside the area, the frame knows its borders at once: it
        // takes its whole size before the area places it among the windows
        // already open.
        sub_ = new QMdiSubWindow(mdiArea()->viewport());
        sub_->setAttribute(Qt::WA_DeleteOnClose, false);
        sub_->setWidget(this);
        sub_->setWindowTitle(windowTitle());
        sub_->resize(inside.grownBy(sub_->contentsMargins()));
        mdiArea()->addSubWindow(sub_);
        // The inside is shown first: a window hidden before it had a frame
        // would otherwise give the frame no size at all.
        QWidget::show();
        sub_->show();
        resizeInside(inside);
    }
    if (sub_) {
        QWidget::show();
        sub_->show();
        keepWhole();
        sub_->raise();
    } else {
        show();
        raise();
    }
}

void Form::Hide() {
    if (sub_) sub_->hide();
    else hide();
}

bool Form::Shown() const { return !unloaded_ && Frame()->isVisible(); }

void Form::Unload() {
    if (unloaded_) return;
    unloaded_ = true;
    Form_Unload();
    Hide();
    destroyWhenIdle();
}

void Form::destroyWhenIdle() {
    // Every handler that lets events run does so through seams::DoEvents or
    // DoEventsNow (or waits in a message box): a zero timer that finds none of
    // them under way runs straight from the main event loop. One that finds
    // one waits for it to end before it tries again: posted again at once, it
    // would keep a message box's loop from ever waiting.
    QTimer::singleShot(0, this, [this] {
        if (seams::NestingDepth() > 0) {
            seams::WhenNotNested([form = QPointer<Form>(this)] {
                if (form) form->destroyWhenIdle();
            });
            return;
        }
        if (sub_) sub_->deleteLater();
        else deleteLater();
    });
}

// Sizes are those of the window's inside, where its controls are placed; a
// sub-window grows its frame around it.
void Form::SetTwipsSize(int width, int height) {
    resizeInside(QSize(twips::ToPixels(width), twips::ToPixels(height)));
}

void Form::resizeInside(const QSize& inside) {
    inside_ = inside;
    if (!sub_) {
        resize(inside);
        return;
    }
    // The frame is what the sub-window adds around its laid-out inside.
    if (QLayout* l = sub_->layout()) l->activate();
    sub_->resize(inside + (sub_->size() - size()));
    if (QLayout* l = sub_->layout()) l->activate();
    // A window that grows (a panel unfolds) stays whole in the area.
    keepWhole();
}

void Form::keepWhole() {
    if (!sub_ || !mdiArea()) return;
    const QPoint at = forms::PlaceInside(sub_->geometry(), mdiArea()->viewport()->size());
    if (at != sub_->pos()) sub_->move(at);
}

QMargins Form::SubWindowFrame() {
    if (!mdiArea()) return {};
    // A frame made in the area (never shown) tells its borders.
    const QMdiSubWindow probe(mdiArea()->viewport());
    return probe.contentsMargins();
}
void Form::SetTwipsWidth(int width) { SetTwipsSize(width, TwipsHeight()); }
void Form::SetTwipsHeight(int height) { SetTwipsSize(TwipsWidth(), height); }
void Form::KeepSize(int width, int height) {
    if (TwipsWidth() != width || TwipsHeight() != height) SetTwipsSize(width, height);
}

int Form::TwipsWidth() const { return twips::FromPixels(width()); }
int Form::TwipsHeight() const { return twips::FromPixels(height()); }

void Form::resizeEvent(QResizeEvent* e) {
    QWidget::resizeEvent(e);
    if (inResize_) return;
    inResize_ = true;
    Form_Resize();
    inResize_ = false;
}

void Form::closeEvent(QCloseEvent* e) {
    // Closing by the title bar unloads the window, as the program's own
    // unload does.
    e->accept();
    Unload();
}
