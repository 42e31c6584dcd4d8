#include "util/text_convert.h"

#include <gtest/gtest.h>

using namespace quillet;

TEST(TextConvert, BytesToQString) {
    struct Row {
        std::string bytes;
        QString expected;
    } rows[] = {
        {"plain", "plain"},
        {"Caf\xC3\xA9", QString::fromUtf8("Café")},
        {"Caf\xE9", QString::fromUtf8("Café")},           // not UTF-8: Windows-1252
        {"\x80 \x93q\x94", QString::fromUtf8("€ “q”")},   // the 0x80..0x9F range of Windows-1252
        {"\x81\x8D", QString(QChar(0x81)) + QChar(0x8D)}, // unassigned codes keep their value
        {std::string("a\0b", 3), QString("a") + QChar(0) + "b"},
        {"\xC3", QString(QChar(0xC3))}, // a cut UTF-8 sequence
    };
    for (const auto& r : rows)
        EXPECT_EQ(ToQString(r.bytes), r.expected) << r.bytes;
}

TEST(TextConvert, RoundTripOfUtf8) {
    const std::string text = "Grüße, 日本語, €";
    EXPECT_EQ(FromQString(ToQString(text)), text);
    EXPECT_EQ(FromQString(QString()), "");
}
