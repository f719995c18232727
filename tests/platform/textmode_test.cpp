#include "platform/textmode.h"

#include <gtest/gtest.h>

TEST(TextMode, EncodesEveryLineFeedAndNothingElse)
{
    struct Case {
        std::string strContent;
        std::string strStored;
    } cases[] = {
        {std::string("\x0A\0\0\0", 4), std::string("\x0D\x0A\0\0\0", 5)}, // a count of 10
        {std::string("\x1A\0\0\0", 4), std::string("\x1A\0\0\0", 4)},     // 26 is content
        {"\r", "\r"},                                                       // a lone CR stays
        {"\r\n", "\r\r\n"},
        {"\n\n", "\r\n\r\n"},
        {"", ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(TextModeEncode(c.strContent), c.strStored);
        EXPECT_EQ(TextModeDecode(c.strStored), c.strContent);
    }
}

TEST(TextMode, DecodeKeepsLoneCarriageReturnsAndATrailingOne)
{
    EXPECT_EQ(TextModeDecode("a\rb\r"), "a\rb\r");
    EXPECT_EQ(TextModeDecode("\r\r\n"), "\r\n");
}
