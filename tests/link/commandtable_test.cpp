#include "link/commandtable.h"
#include "link/linkfixture.h"

#include <gtest/gtest.h>

namespace {

std::string TemplateHex(int nIndex)
{
    const CCommandTable::Template& t = CCommandTable::Get(nIndex);
    SimTraceEntry entry {SimTraceEntry::Direction::Sent,
                         std::string(t.begin(), t.begin() + CCommandTable::FrameLength(nIndex))};
    return entry.Hex();
}

} // namespace

// Every family's shape and every template that differs from its family.
TEST(CommandTable, TemplatesAreTheRecorderFrames)
{
    const struct {
        int nIndex;
        const char* pszHex;
    } cases[] = {
        {0, "A0 05 42 54 50 4F 00 AF"},                   // BTPO
        {2, "A0 05 42 54 50 4C 00 AF"},                   // BTPL
        {13, "A0 05 42 54 51 54 00 AF"},                  // BTQT, key form
        {19, "A0 05 42 54 53 4C 00 AF"},                  // BTSL
        {20, "A0 05 4D 53 50 4D 00 AF"},                  // MSPM
        {22, "A0 0B 4D 53 44 54 00 00 00 00 00 00 00 AF"}, // MSDT
        {31, "A0 12 4D 53 54 4D 00 00 00 00 00 00 00 00 00 00 00 00 00 00 AF"}, // MSTM
        {54, "A0 05 4D 53 54 43 00 AF"},                  // MSTC
        {55, "A0 0A 53 45 53 44 00 00 00 00 00 00 AF"},   // SESD
        {56, "A0 04 4D 56 50 4D AF"},                     // MVPM
        {67, "A0 05 4D 56 54 4D 00 AF"},                  // MVTM
        {90, "A0 04 4D 56 54 43 AF"},                     // MVTC
        {91, "A0 04 42 54 51 54 AF"},                     // BTQT, status query
        {92, "A0 04 4C 47 52 44 AF"},                     // LGRD
        {97, "A0 04 4C 47 54 51 AF"},                     // LGTQ
        {98, "A0 00 4A 49 AF"},                           // JI
        {99, "A0 0C 4A 30 00 00 00 00 00 00 00 00 00 00 00 00 AF"}, // J0
        {100, "A0 00 4A 31 AF"},                          // J1
        {105, "A0 00 4A 36 AF"},                          // J6
        {106, "A0 00 4A 55 AF"},                          // JU
    };
    for (const auto& c : cases)
        EXPECT_EQ(TemplateHex(c.nIndex), c.pszHex) << "template " << c.nIndex;
}

TEST(CommandTable, SetAndReadFamiliesShareTheSuffixOrderAndEndInZeros)
{
    for (int k = 0; k < CCommandTable::MENU_COUNT; ++k) {
        EXPECT_EQ(CCommandTable::Code(CCommandTable::MENU_SET_FIRST + k).substr(2),
                  CCommandTable::Code(CCommandTable::MENU_VALUE_FIRST + k).substr(2));
        EXPECT_EQ(CCommandTable::MenuIndex(CCommandTable::MenuSuffix(k)), k);
    }
    EXPECT_EQ(CCommandTable::MenuSuffix(27), "VG");
    EXPECT_EQ(CCommandTable::MenuSuffix(34), "TC");
    for (int i = 0; i < CCommandTable::COMMAND_COUNT; ++i) {
        const CCommandTable::Template& t = CCommandTable::Get(i);
        for (std::size_t b = static_cast<std::size_t>(CCommandTable::FrameLength(i)); b < t.size(); ++b)
            ASSERT_EQ(t[b], 0) << "template " << i << " byte " << b;
    }
    // Outside the table there is no frame to send.
    EXPECT_EQ(CCommandTable::FrameLength(107), 0);
    EXPECT_EQ(CCommandTable::Get(-1)[0], 0);
}
