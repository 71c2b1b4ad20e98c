#include "platform/form.h"

#include <QCloseEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QResizeEvent>

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
        const QSize size = this->size();
        sub_ = mdiArea()->addSubWindow(this);
        sub_->setAttribute(Qt::WA_DeleteOnClose, false);
        sub_->setWindowTitle(windowTitle());
        sub_->resize(size);
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
    if (running_ > 0) {
        destroyPending_ = true;
        return;
    }
    destroyNow();
}

void Form::destroyNow() {
    destroyPending_ = false;
    if (sub_) sub_->deleteLater();
    else deleteLater();
}

Form::Running::Running(Form& f) : form_(&f) { ++f.running_; }

Form::Running::~Running() {
    if (!form_) return;
    if (--form_->running_ == 0 && form_->destroyPending_) form_->destroyNow();
}

void Form::SetTwipsSize(int width, int height) {
    Frame()->resize(twips::ToPixels(width), twips::ToPixels(height));
}
void Form::SetTwipsWidth(int width) { Frame()->resize(twips::ToPixels(width), Frame()->height()); }
void Form::SetTwipsHeight(int height) { Frame()->resize(Frame()->width(), twips::ToPixels(height)); }
int Form::TwipsWidth() const { return twips::FromPixels(Frame()->width()); }
int Form::TwipsHeight() const { return twips::FromPixels(Frame()->height()); }

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
