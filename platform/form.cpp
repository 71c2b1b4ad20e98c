#include "platform/form.h"

#include "platform/seams.h"

#include <QCloseEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QResizeEvent>
#include <QTimer>

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
    if (!sub_ && MdiChild() && mdiArea()) {
        const QSize inside = size();
        sub_ = mdiArea()->addSubWindow(this);
        sub_->setAttribute(Qt::WA_DeleteOnClose, false);
        sub_->setWindowTitle(windowTitle());
        sub_->show();
        sub_->resize(inside + (sub_->size() - size()));
    }
    if (sub_) {
        QWidget::show();
        sub_->show();
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
    // Every handler that lets events run does so through seams::DoEvents (or
    // waits in a message box): a zero timer that finds neither under way runs
    // straight from the main event loop.
    QTimer::singleShot(0, this, [this] {
        if (seams::NestingDepth() > 0) {
            destroyWhenIdle();
            return;
        }
        if (sub_) sub_->deleteLater();
        else deleteLater();
    });
}

// Sizes are those of the window's inside, where its controls are placed; a
// sub-window grows its frame around it.
void Form::SetTwipsSize(int width, int height) {
    const QSize inside(twips::ToPixels(width), twips::ToPixels(height));
    if (sub_) sub_->resize(inside + (sub_->size() - size()));
    else resize(inside);
}
void Form::SetTwipsWidth(int width) { SetTwipsSize(width, TwipsHeight()); }
void Form::SetTwipsHeight(int height) { SetTwipsSize(TwipsWidth(), height); }
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
