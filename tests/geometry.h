// What a user sees of a window once it is open: its size, its controls and
// its captions. Used by the window-geometry table (test_geometry.cpp), where
// each window the toolbars and menus open is one row.
#pragma once

#include "platform/form.h"

#include <QMdiSubWindow>
#include <QStringList>
#include <gtest/gtest.h>

#include <functional>
#include <string>

namespace geometry {

inline std::string Name(const QWidget* w) {
    return (w->objectName().isEmpty() ? std::string(w->metaObject()->className()) : w->objectName().toStdString());
}

// The control's rectangle lies wholly inside each of its parents up to the
// window (a frame clips what passes its edge).
inline bool InsideItsParents(const QWidget* control, const QWidget* window) {
    QRect r = control->rect();
    for (const QWidget* w = control; w != window && w->parentWidget(); w = w->parentWidget()) {
        r.translate(w->pos());
        if (!w->parentWidget()->rect().contains(r)) return false;
    }
    return true;
}

// The window is open as the user sees it: shown (inside the main window when
// it is one of its child windows), its inside widthTwips x heightTwips, and
// every named control visible and wholly inside it.
inline void ExpectOpensAtSize(Form& form, int widthTwips, int heightTwips, const QStringList& controlNames) {
    const std::string window = Name(&form);
    EXPECT_TRUE(form.Shown()) << window;
    EXPECT_TRUE(form.isVisible()) << window << ": the inside itself is shown";
    EXPECT_EQ(form.size(), QSize(twips::ToPixels(widthTwips), twips::ToPixels(heightTwips)))
        << window << ": inside " << form.width() << " x " << form.height() << " px";
    if (auto* sub = qobject_cast<QMdiSubWindow*>(form.parentWidget())) {
        EXPECT_TRUE(sub->isVisible()) << window;
        EXPECT_TRUE(sub->contentsRect().contains(form.geometry())) << window << ": the frame holds the inside";
    }
    for (const QString& name : controlNames) {
        const auto* control = form.findChild<QWidget*>(name);
        if (!control) {
            ADD_FAILURE() << window << ": no control " << name.toStdString();
            continue;
        }
        EXPECT_TRUE(control->isVisible()) << window << "." << name.toStdString();
        EXPECT_TRUE(InsideItsParents(control, &form)) << window << "." << name.toStdString() << " is cut off";
    }
}

// Every caption of the window (labels, check boxes, option buttons, frames,
// buttons) is wholly visible in its control.
inline void ExpectCaptionsFit(QWidget* root) {
    QList<QWidget*> all = root->findChildren<QWidget*>();
    all.prepend(root);
    for (const QWidget* w : all) {
        if (!w->isVisibleTo(root) && w != root) continue;
        EXPECT_EQ(forms::CaptionOverrun(w), 0) << Name(root) << "." << Name(w) << " cuts its caption";
    }
}

// One window of the table: how the user opens it, the size its inside opens
// at (0, 0 for a window still to come: the size it was given at load), and
// the controls seen at that size.
struct WindowRow {
    const char* name;
    std::function<Form&()> load;   // loads it without showing it (a read of one of its controls)
    std::function<void()> open;    // opens it as the user does (toolbar, menu)
    int widthTwips = 0;
    int heightTwips = 0;
    QStringList controls;
};

}  // namespace geometry
