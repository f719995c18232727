#include "platform/parseint.h"

#include <gtest/gtest.h>

TEST(ParseInt, TakesWholeNumbersInRangeOnly)
{
    const struct {
        const char* pszText;
        int nMin;
        int nMax;
        bool bOk;
        int nValue; // the value after the call (42 when it is left alone)
    } cases[] = {
        {"0", 0, 65535, true, 0},
        {"65535", 0, 65535, true, 65535},
        {"-128", -128, 255, true, -128},
        {"65536", 0, 65535, false, 42},
        {"-1", 0, 65535, false, 42},
        {"", 0, 10, false, 42},
        {"7x", 0, 10, false, 42},
        {"x7", 0, 10, false, 42},
        {"99999999999999999999", 0, 65535, false, 42},
    };
    for (const auto& c : cases) {
        int nValue = 42;
        EXPECT_EQ(ParseInt(c.pszText, c.nMin, c.nMax, nValue), c.bOk) << '"' << c.pszText << '"';
        EXPECT_EQ(nValue, c.nValue) << '"' << c.pszText << '"';
    }
}
