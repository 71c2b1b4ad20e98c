// What a user sees of a window once it is open: its size, its controls and
// its captions. Used by the window-geometry table (test_geometry.cpp), where
// each window the toolbars and menus open is one row.
#pragma once

#include "platform/form.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QMdiSubWindow>
#include <QRadioButton>
#include <QStringList>
#include <QStyle>
#include <QStyleOptionGroupBox>
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

// How much of a caption does not fit in its control, in pixels across and
// down, measured with the font the control uses; 0 x 0 when it fits.
inline QSize CaptionOverflow(const QWidget* w) {
    const QFontMetrics fm(w->font());
    const QStyle* style = w->style();
    if (const auto* l = qobject_cast<const QLabel*>(w)) {
        if (l->text().isEmpty() || !l->pixmap().isNull()) return {0, 0};
        const QRect room = l->contentsRect().adjusted(l->margin(), l->margin(), -l->margin(), -l->margin());
        int widest = 0;
        QRect need;
        if (l->wordWrap()) {
            for (const QString& word : l->text().split(u' ', Qt::SkipEmptyParts))
                widest = std::max(widest, fm.horizontalAdvance(word));
            need = fm.boundingRect(QRect(0, 0, room.width(), 100000), Qt::TextWordWrap, l->text());
        } else {
            need = fm.boundingRect(QRect(0, 0, 100000, 100000), 0, l->text());
        }
        return {std::max({0, need.width() - room.width(), widest - room.width()}),
                std::max(0, need.height() - room.height())};
    }
    if (const auto* b = qobject_cast<const QAbstractButton*>(w)) {
        if (b->text().isEmpty()) return {0, 0};
        int beside = 0;  // what the control draws beside its text
        if (qobject_cast<const QCheckBox*>(b)) {
            beside = style->pixelMetric(QStyle::PM_IndicatorWidth, nullptr, b) +
                     style->pixelMetric(QStyle::PM_CheckBoxLabelSpacing, nullptr, b);
        } else if (qobject_cast<const QRadioButton*>(b)) {
            beside = style->pixelMetric(QStyle::PM_ExclusiveIndicatorWidth, nullptr, b) +
                     style->pixelMetric(QStyle::PM_RadioButtonLabelSpacing, nullptr, b);
        } else {
            beside = 2 * style->pixelMetric(QStyle::PM_ButtonMargin, nullptr, b);
            if (!b->icon().isNull()) beside += b->iconSize().width() + 4;
        }
        return {std::max(0, fm.horizontalAdvance(b->text()) + beside - b->width()),
                std::max(0, fm.height() - b->height())};
    }
    if (const auto* g = qobject_cast<const QGroupBox*>(w)) {
        if (g->title().isEmpty()) return {0, 0};
        QStyleOptionGroupBox opt;
        opt.initFrom(g);
        opt.text = g->title();
        opt.textAlignment = g->alignment();
        opt.subControls = QStyle::SC_GroupBoxLabel | QStyle::SC_GroupBoxFrame;
        const QRect title = style->subControlRect(QStyle::CC_GroupBox, &opt, QStyle::SC_GroupBoxLabel, g);
        return {std::max(0, title.right() - g->rect().right()), std::max(0, title.bottom() - g->rect().bottom())};
    }
    return {0, 0};
}

// Every caption of the window (labels, check boxes, option buttons, frames,
// buttons) is wholly visible in its control.
inline void ExpectCaptionsFit(QWidget* root) {
    QList<QWidget*> all = root->findChildren<QWidget*>();
    all.prepend(root);
    for (const QWidget* w : all) {
        if (!w->isVisibleTo(root) && w != root) continue;
        const QSize over = CaptionOverflow(w);
        EXPECT_EQ(over, QSize(0, 0))
            << Name(root) << "." << Name(w) << " cuts its caption by " << over.width() << " x " << over.height()
            << " px";
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
