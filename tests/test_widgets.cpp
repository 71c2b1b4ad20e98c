#include "platform/widgets.h"

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
