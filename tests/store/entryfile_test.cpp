#include "store/entryfile.h"

#include "fixtures/tempdir.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

namespace {

CEntryFile::Records Book(int nCount)
{
    CEntryFile::Records records;
    for (int i = 0; i < nCount; ++i)
        records[i] = {"DVR" + std::to_string(i), "192.168.0." + std::to_string(i + 1), 8001 + i};
    return records;
}

std::string Content(int nCount)
{
    // The stored form, decoded back into content bytes for inspection.
    std::string strStored = CEntryFile::Encode(nCount, Book(nCount));
    std::string strContent;
    for (std::size_t i = 0; i < strStored.size(); ++i) {
        if (strStored[i] == '\r' && i + 1 < strStored.size() && strStored[i + 1] == '\n')
            continue;
        strContent += strStored[i];
    }
    return strContent;
}

} // namespace

TEST(EntryFile, LayoutOfOneEntry)
{
    CEntryFile::Records records;
    records[0] = {"Shop", "10.0.0.7", 8001};
    const std::string strStored = CEntryFile::Encode(1, records);
    ASSERT_EQ(strStored.size(), 28804u); // no LF anywhere in this book
    EXPECT_EQ(strStored.substr(0, 4), std::string("\x01\0\0\0", 4));
    EXPECT_EQ(strStored.substr(4, 5), std::string("Shop\0", 5));
    EXPECT_EQ(strStored.substr(36, 9), std::string("10.0.0.7\0", 9));
    EXPECT_EQ(strStored.substr(68, 5), std::string("8001\0", 5));
    // Every empty slot carries an empty name and address and its port text "0".
    for (int i = 1; i < 300; ++i) {
        const std::size_t nBase = 4 + 96 * static_cast<std::size_t>(i);
        ASSERT_EQ(strStored[nBase], '\0');
        ASSERT_EQ(strStored[nBase + 32], '\0');
        ASSERT_EQ(strStored.substr(nBase + 64, 2), std::string("0\0", 2));
    }
}

TEST(EntryFile, CountsWithSpecialBytesRoundTrip)
{
    // 10 is an LF and is stored as CR LF; 26 is the DOS end-of-file byte and is
    // plain content; 13 is a CR that is not followed by an LF.
    for (int nCount : {10, 26, 13, 0, 300}) {
        const std::string strStored = CEntryFile::Encode(nCount, Book(nCount));
        if (nCount == 10) {
            EXPECT_EQ(strStored.substr(0, 5), std::string("\x0D\x0A\0\0\0", 5));
            EXPECT_EQ(strStored.size(), 28805u);
        }
        CEntryFile::Records back;
        ASSERT_EQ(CEntryFile::Decode(strStored, back), nCount);
        for (int i = 0; i < nCount; ++i) {
            EXPECT_EQ(back[i].strName, "DVR" + std::to_string(i));
            EXPECT_EQ(back[i].strIP, "192.168.0." + std::to_string(i + 1));
            EXPECT_EQ(back[i].nPort, 8001 + i);
        }
    }
}

TEST(EntryFile, DamagedFilesYieldOnlyTheRecordsPresent)
{
    const std::string strFull = Content(5); // no LF in a 5-entry book
    struct Case {
        const char* pszWhat;
        std::string strStored;
        int nExpected;
    } cases[] = {
        {"empty", "", 0},
        {"count only, truncated", strFull.substr(0, 3), 0},
        {"two whole records", strFull.substr(0, 4 + 2 * 96 + 50), 2},
        {"count above 300", std::string("\x2d\x01\0\0", 4) + strFull.substr(4), 300},
        {"negative count", std::string("\xff\xff\xff\xff", 4) + strFull.substr(4), 0},
        {"huge count, 3 records", std::string("\xff\xff\xff\x7f", 4) + strFull.substr(4, 3 * 96), 3},
        {"trailing garbage", strFull + std::string(5000, 'x'), 5},
    };
    for (const Case& c : cases) {
        CEntryFile::Records records;
        EXPECT_EQ(CEntryFile::Decode(c.strStored, records), c.nExpected) << c.pszWhat;
    }
}

TEST(EntryFile, FieldsWithoutNulAreCutAt31Characters)
{
    std::string strContent = Content(1);
    strContent.replace(4, 32, std::string(32, 'N'));
    strContent.replace(36, 32, std::string(32, '7'));
    strContent.replace(68, 32, std::string("99999999999999999999999999999999"));
    CEntryFile::Records records;
    ASSERT_EQ(CEntryFile::Decode(strContent, records), 1);
    EXPECT_EQ(records[0].strName, std::string(31, 'N'));
    EXPECT_EQ(records[0].strIP, std::string(31, '7'));
    EXPECT_EQ(records[0].nPort, 2147483647);
}

TEST(EntryFile, LongTextsAreCutOnACharacterBoundary)
{
    // 11 three-byte characters: 33 bytes; 10 fit into the 31 bytes of a field.
    std::string strName;
    for (int i = 0; i < 11; ++i)
        strName += "\xE6\x97\xA5";
    EXPECT_EQ(CEntryFile::FitField(strName), strName.substr(0, 30));
    EXPECT_EQ(CEntryFile::FitField(std::string(40, 'a')), std::string(31, 'a'));
    EXPECT_EQ(CEntryFile::FitField("short"), "short");
}

TEST(EntryFile, DemoScriptWritesTheSameBytesAsTheProgram)
{
    const std::string strOut = ::testing::TempDir() + "demo-entry.txt";
    const std::string strCommand = "sh " VX_SOURCE_DIR "/scripts/write-entry.sh '" + strOut + "' 'Demo DVR' 127.0.0.1 40123";
    ASSERT_EQ(std::system(strCommand.c_str()), 0);
    CEntryFile::Records records;
    records[0] = {"Demo DVR", "127.0.0.1", 40123};
    EXPECT_EQ(ReadAll(strOut), CEntryFile::Encode(1, records));
    std::remove(strOut.c_str());
}
