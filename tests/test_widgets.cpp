#include "platform/widgets.h"

#include <QLineEdit>
#include <QTest>

#include <gtest/gtest.h>

TEST(FontCaptions, WebdingsAndSymbolCharactersAreDrawnAsUnicode) {
    struct Case {
        const char* caption;
        QString webdings;
        QString symbol;
    } cases[] = {
        {"8", QStringLiteral("\u25B6\u25B6"), "8"},
        {"7", QStringLiteral("\u25C0\u25C0"), "7"},
        {"6", QString(QChar(0x25BC)), "6"},
        {"5", QString(QChar(0x25B2)), "5"},
        {"a", "a", QString(QChar(0x03B1))},
        {"b", "b", QString(QChar(0x03B2))},
        {"g", "g", QString(QChar(0x03B3))},
        {"q", "q", QString(QChar(0x03B8))},
        {"w", "w", QString(QChar(0x03C9))},
        {"z", "z", QString(QChar(0x03B6))},
        {"W", "W", QString(QChar(0x03A9))},
        {"", "", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ui::WebdingsText(QString::fromLatin1(c.caption)), c.webdings) << c.caption;
        EXPECT_EQ(ui::SymbolText(QString::fromLatin1(c.caption)), c.symbol) << c.caption;
    }
}

TEST(PopupMenus, OpenWholeInsideTheScreen) {
    const QRect screen(0, 0, 1920, 1200);
    const QSize menu(250, 400);
    const struct {
        QPoint pointer;
        QPoint expected;
        const char* what;
    } cases[] = {
        {{100, 100}, {100, 100}, "room below and to the right: at the pointer"},
        {{1800, 100}, {1550, 100}, "at the right edge: to the pointer's left"},
        {{100, 1000}, {100, 600}, "at the bottom: above the pointer"},
        {{1900, 1150}, {1650, 750}, "in the corner: left and above"},
        {{1670, 800}, {1670, 800}, "just fits"},
        {{1671, 801}, {1421, 401}, "one pixel too far on both axes"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ui::PopupPosition(c.pointer, menu, screen), c.expected) << c.what;

    // Flipped across the pointer it would pass the far side: it stays inside.
    EXPECT_EQ(ui::PopupPosition({150, 1100}, QSize(250, 1150), screen), QPoint(150, 0));
    // Larger than the screen: its top-left corner at the screen's.
    EXPECT_EQ(ui::PopupPosition({500, 500}, QSize(2000, 1300), screen), QPoint(0, 0));
    // A second screen to the right of the first.
    EXPECT_EQ(ui::PopupPosition({3800, 50}, menu, QRect(1920, 0, 1920, 1080)), QPoint(3550, 50));
}

namespace {
// Where the cursor is drawn once the box has painted (the box scrolls its
// text as it paints).
int cursorX(QLineEdit* box) {
    box->grab();
    return box->inputMethodQuery(Qt::ImCursorRectangle).toRect().center().x();
}
}  // namespace

TEST(TextBoxes, ATextNoWiderThanTheRoomIsSeenWhole) {
    QWidget window;
    const QString text = QStringLiteral("1295999.99999999");
    QLineEdit wide(&window);
    wide.resize(400, 19);
    wide.setText(text);  // the cursor after its last character
    const int unscrolled = cursorX(&wide);
    QLineEdit box(&window);
    box.resize(100, 19);
    const int need = QFontMetrics(box.font()).horizontalAdvance(text);
    box.resize(box.width() + need - ui::TextRoom(&box), 19);
    ASSERT_EQ(ui::TextRoom(&box), need);
    box.setText(text);
    EXPECT_EQ(cursorX(&box), unscrolled) << "the text fits: no scrolling";
    box.resize(box.width() - 1, 19);
    box.setText(QString());
    box.setText(text);
    EXPECT_NE(cursorX(&box), unscrolled) << "one pixel less: the text scrolls";
}

TEST(TextBoxes, WhatTheProgramWritesIsSeenFromItsFirstCharacterAndTypingIsLeftAlone) {
    QWidget window;
    QLineEdit* box = ui::TextBox(&window, "box", 0, 0, 600);
    QLineEdit* other = ui::TextBox(&window, "other", 0, 400, 600);
    const QString longText = QStringLiteral("-323999.999999999");
    box->setText(longText);
    EXPECT_EQ(box->cursorPosition(), 0);
    box->setText(longText);  // the same text again
    EXPECT_EQ(box->cursorPosition(), 0);

    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    box->setFocus();
    box->clear();
    QTest::keyClicks(box, QStringLiteral("1234"));
    EXPECT_EQ(box->text(), QStringLiteral("1234"));
    EXPECT_EQ(box->cursorPosition(), 4);
    QTest::keyClick(box, Qt::Key_Home);
    QTest::keyClick(box, Qt::Key_End);
    EXPECT_EQ(box->cursorPosition(), 4) << "the user's own moves stay";
    // A new value written while the user is in the box, then the user leaves it.
    box->setText(longText);
    EXPECT_EQ(box->cursorPosition(), 0);
    QTest::keyClick(box, Qt::Key_End);
    other->setFocus();
    EXPECT_EQ(box->cursorPosition(), 0);
}

TEST(ProgressBars, TheBarFillsItsShareOfTheWidthWhateverWaySetAndShowsItsPercentage) {
    QWidget window;
    auto* bar = new ProgressBar(&window);
    bar->setRange(0, 100);
    bar->setGeometry(0, 0, 202, 20);
    window.show();
    // The highlight's share of the middle row, inside the frame.
    const auto filled = [bar] {
        const QImage shot = bar->grab().toImage();
        const QRgb highlight = bar->palette().highlight().color().rgb();
        int n = 0;
        for (int x = 1; x < shot.width() - 1; ++x) n += shot.pixel(x, shot.height() / 2) == highlight;
        return n;
    };
    struct Case {
        int value;
        bool soon;  // written as a move writes it
        int pixels;
    } cases[] = {{0, false, 0}, {40, false, 80}, {40, true, 80}, {75, true, 150}, {100, false, 200}};
    bar->setTextVisible(false);
    for (const auto& k : cases) {
        if (k.soon) ui::SetProgressSoon(bar, k.value);
        else bar->setValue(k.value);
        EXPECT_EQ(bar->value(), k.value);
        EXPECT_EQ(filled(), k.pixels) << k.value;
    }
    // With its percentage, light over the bar and dark past it.
    bar->setTextVisible(true);
    bar->setValue(50);
    const QImage shot = bar->grab().toImage();
    const int base = bar->palette().base().color().lightness();
    const int highlight = bar->palette().highlight().color().lightness();
    bool dark = false, bright = false;  // text darker than the empty part, lighter than the bar
    for (int y = 2; y < shot.height() - 2; ++y)
        for (int x = 2; x < shot.width() - 2; ++x) {
            const int l = shot.pixelColor(x, y).lightness();
            dark |= x > 101 && l < base - 100;
            bright |= x < 101 && l > highlight + 60;
        }
    EXPECT_TRUE(dark);
    EXPECT_TRUE(bright);
}
