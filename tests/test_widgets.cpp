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
