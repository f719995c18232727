#include "fixtures/scriptedprompter.h"
#include "fixtures/tempdir.h"
#include "platform/fileutil.h"
#include "store/filedbase.h"
#include "storetree.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr std::size_t NAME_OFFSET = 4;
constexpr std::size_t PATH_OFFSET = 4 + CFileDBase::NAME_SIZE;

std::string CountBytes(std::int32_t nCount)
{
    const auto n = static_cast<std::uint32_t>(nCount);
    return {static_cast<char>(n & 0xFF), static_cast<char>((n >> 8) & 0xFF), static_cast<char>((n >> 16) & 0xFF),
            static_cast<char>((n >> 24) & 0xFF)};
}

// One file entry: the texts NUL-padded to their fields.
std::string EntryBytes(const std::string& strName, const std::string& strPath)
{
    std::string strEntry(CFileDBase::ENTRY_SIZE, '\0');
    strEntry.replace(0, strName.size(), strName);
    strEntry.replace(CFileDBase::NAME_SIZE, strPath.size(), strPath);
    return strEntry;
}

std::string Entry(const std::string& strFile, std::size_t nIndex)
{
    return strFile.substr(4 + nIndex * CFileDBase::ENTRY_SIZE, CFileDBase::ENTRY_SIZE);
}

bool IsValidUtf8(const std::string& strText)
{
    for (std::size_t i = 0; i < strText.size();) {
        const auto c = static_cast<unsigned char>(strText[i]);
        const std::size_t nLen = c < 0x80 ? 1 : (c >> 5) == 0x6 ? 2 : (c >> 4) == 0xE ? 3 : (c >> 3) == 0x1E ? 4 : 0;
        if (nLen == 0 || i + nLen > strText.size())
            return false;
        for (std::size_t k = 1; k < nLen; ++k) {
            if ((static_cast<unsigned char>(strText[i + k]) & 0xC0) != 0x80)
                return false;
        }
        i += nLen;
    }
    return true;
}

class FileDBaseTest : public ::testing::Test {
protected:
    CTempDir m_dir;
    CScriptedPrompter m_prompter;
    CFileDBase m_db{m_dir.Path()};

    std::string FileBytes() const { return ReadAll(m_db.FilePath()); }
};

} // namespace

TEST_F(FileDBaseTest, FirstStartCreatesAZeroFileInTheProgramFolder)
{
    EXPECT_EQ(m_db.FilePath(), m_dir / "VX2200DB.db");
    EXPECT_FALSE(m_db.Exists());
    EXPECT_FALSE(m_db.Load());
    ASSERT_TRUE(m_db.Save());
    EXPECT_TRUE(m_db.Exists());
    EXPECT_EQ(FileBytes(), std::string(131584, '\0'));
    EXPECT_TRUE(m_prompter.Asks().empty());
}

TEST_F(FileDBaseTest, AddEventWritesTheWindowsLayout)
{
    m_db.Load();
    ASSERT_TRUE(m_db.AddEvent("Event1", "/data/Event1"));
    ASSERT_TRUE(m_db.AddEvent("Event2", "/data/Event2"));
    const std::string strFile = FileBytes();
    ASSERT_EQ(strFile.size(), 131584u);
    EXPECT_EQ(strFile.substr(0, 4), CountBytes(2));
    EXPECT_EQ(Entry(strFile, 0), EntryBytes("Event1", "/data/Event1"));
    EXPECT_EQ(Entry(strFile, 1), EntryBytes("Event2", "/data/Event2"));
    EXPECT_EQ(strFile.substr(4 + 2 * CFileDBase::ENTRY_SIZE), std::string(253 * CFileDBase::ENTRY_SIZE, '\0'));

    CFileDBase::Entries entries;
    ASSERT_TRUE(CFileDBase(m_dir.Path()).GetEntries(entries));
    EXPECT_EQ(entries, (CFileDBase::Entries{{"Event1", "/data/Event1"}, {"Event2", "/data/Event2"}}));
}

TEST_F(FileDBaseTest, NameIsFreeUnlessTakenInExactlyTheSameLetters)
{
    EXPECT_TRUE(m_db.IsEventNameFree("Event")); // no file yet
    m_db.Load();
    ASSERT_TRUE(m_db.AddEvent("Event", "/data/Event"));
    const struct {
        const char* pszName;
        bool bFree;
    } cases[] = {{"Event", false}, {"EVENT", true}, {"event", true}, {"Even", true}, {"Event ", true}, {"", true}};
    for (const auto& c : cases)
        EXPECT_EQ(m_db.IsEventNameFree(c.pszName), c.bFree) << c.pszName;
}

TEST_F(FileDBaseTest, RemoveMissingKeepsTheSurvivorsInOrderWithoutGaps)
{
    MakeDirectory(m_dir / "A");
    MakeDirectory(m_dir / "C");
    WriteAll(m_dir / "D", "a file counts too");
    m_db.Load();
    for (const char* psz : {"A", "B", "C", "D", "E"})
        ASSERT_TRUE(m_db.AddEvent(psz, m_dir / psz));
    ASSERT_TRUE(m_db.RemoveMissing());

    const std::string strFile = FileBytes();
    EXPECT_EQ(strFile.substr(0, 4), CountBytes(3));
    EXPECT_EQ(Entry(strFile, 0), EntryBytes("A", m_dir / "A"));
    EXPECT_EQ(Entry(strFile, 1), EntryBytes("C", m_dir / "C"));
    EXPECT_EQ(Entry(strFile, 2), EntryBytes("D", m_dir / "D"));
    EXPECT_EQ(Entry(strFile, 3), std::string(CFileDBase::ENTRY_SIZE, '\0'));
    EXPECT_EQ(Entry(strFile, 4), std::string(CFileDBase::ENTRY_SIZE, '\0'));

    EXPECT_FALSE(CFileDBase(m_dir / "missing/").RemoveMissing());
}

TEST_F(FileDBaseTest, LongestTextsAreStoredWholeAndLongerOnesNeverPastTheirField)
{
    const std::string strName255(255, 'n');
    const std::string strPath259 = "/" + std::string(258, 'p');
    m_db.Load();
    ASSERT_TRUE(m_db.AddEvent(strName255, strPath259));
    std::string strFile = FileBytes();
    EXPECT_EQ(strFile.substr(NAME_OFFSET, 256), strName255 + '\0');
    EXPECT_EQ(strFile.substr(PATH_OFFSET, 260), strPath259 + '\0');

    // 'a' and 85 three-byte characters: 256 bytes, cut before the last character.
    std::string strLong = "a";
    for (int i = 0; i < 85; ++i)
        strLong += "\xE3\x81\x82";
    ASSERT_TRUE(m_db.AddEvent(strLong, "/data/long"));
    CFileDBase::Entries entries;
    ASSERT_TRUE(m_db.GetEntries(entries));
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[1].strName, strLong.substr(0, 253));
    EXPECT_TRUE(IsValidUtf8(entries[1].strName));
    strFile = FileBytes();
    EXPECT_EQ(Entry(strFile, 1).substr(253, 3), std::string(3, '\0'));

    // A path that does not fit would be another folder: the event is refused.
    EXPECT_FALSE(m_db.AddEvent("TooLong", strPath259 + "q"));
    EXPECT_EQ(FileBytes(), strFile);
}

TEST_F(FileDBaseTest, FullTableRefusesTheNextEventAndChangesNothing)
{
    CFileDBase::Entries entries;
    for (int i = 0; i < 255; ++i)
        entries.push_back({"E" + std::to_string(i), "/data/E" + std::to_string(i)});
    WriteAll(m_db.FilePath(), CFileDBase::Encode(entries));
    ASSERT_TRUE(m_db.Load());
    EXPECT_TRUE(m_db.IsFull());
    EXPECT_FALSE(m_db.AddEvent("One more", "/data/One more"));
    EXPECT_EQ(FileBytes(), CFileDBase::Encode(entries));
    entries.pop_back();
    WriteAll(m_db.FilePath(), CFileDBase::Encode(entries));
    ASSERT_TRUE(m_db.Load());
    EXPECT_FALSE(m_db.IsFull());
}

TEST(FileDBaseDecode, UsesOnlyWhatTheBytesReallyHold)
{
    const std::string strA = EntryBytes("A", "/a");
    const std::string strB = EntryBytes("B", "/b");
    const std::string strFull = CountBytes(2) + strA + strB + std::string(253 * CFileDBase::ENTRY_SIZE, '\0');
    const std::string strUnterminated = CountBytes(1) + std::string(CFileDBase::ENTRY_SIZE, 'x');
    const struct {
        const char* pszCase;
        std::string strBytes;
        CFileDBase::Entries expected;
    } cases[] = {
        {"empty", "", {}},
        {"shorter than the count", CountBytes(2).substr(0, 3), {}},
        {"count above the entries read", CountBytes(5) + strA + strB + strA.substr(0, 515), {{"A", "/a"}, {"B", "/b"}}},
        {"negative count", CountBytes(-1) + strA, {}},
        {"count above 255", CountBytes(300) + strA + strB, {{"A", "/a"}, {"B", "/b"}}},
        {"longer file", strFull + CountBytes(7) + strA, {{"A", "/a"}, {"B", "/b"}}},
        {"texts without NUL", strUnterminated, {{std::string(255, 'x'), std::string(259, 'x')}}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CFileDBase::Decode(c.strBytes), c.expected) << c.pszCase;

    CFileDBase::Entries clamped = CFileDBase::Decode(CountBytes(INT32_MAX) + std::string(131580, 'y'));
    EXPECT_EQ(clamped.size(), 255u);
}

TEST_F(FileDBaseTest, TruncatedFileCountsOnlyTheWholeEntriesRead)
{
    WriteAll(m_db.FilePath(), CountBytes(3) + EntryBytes("A", "/a") + EntryBytes("B", "/b").substr(0, 300));
    CFileDBase::Entries entries;
    ASSERT_TRUE(m_db.GetEntries(entries));
    EXPECT_EQ(entries, (CFileDBase::Entries{{"A", "/a"}}));
    // A later save writes a whole file with the count it really holds.
    ASSERT_TRUE(m_db.AddEvent("C", "/c"));
    EXPECT_EQ(FileBytes().size(), 131584u);
    EXPECT_EQ(FileBytes().substr(0, 4), CountBytes(2));
}

TEST_F(FileDBaseTest, GetAllCopiesTheWholeImageOrLeavesTheBufferAlone)
{
    CFileDBase::Image image;
    image.fill(0xAB);
    EXPECT_FALSE(m_db.GetAll(image));
    EXPECT_EQ(image[0], 0xAB);
    EXPECT_EQ(image[131583], 0xAB);

    m_db.Load();
    ASSERT_TRUE(m_db.AddEvent("Event", "/data/Event"));
    ASSERT_TRUE(m_db.GetAll(image));
    EXPECT_EQ(std::string(image.begin(), image.end()), FileBytes());
}

TEST_F(FileDBaseTest, SaveFailureShowsTheMessageAndKeepsTheTable)
{
    CFileDBase db(m_dir / "no such folder/");
    EXPECT_FALSE(db.AddEvent("Event", "/data/Event"));
    ASSERT_EQ(m_prompter.Asks().size(), 1u);
    EXPECT_EQ(m_prompter.Asks()[0].kind, CScriptedPrompter::Asked::Kind::MessageBox);
    EXPECT_EQ(m_prompter.Asks()[0].strText, "Error Opening File");
    // The table kept the event: a save that works later writes it.
    MakeDirectory(m_dir / "no such folder");
    ASSERT_TRUE(db.Save());
    CFileDBase::Entries entries;
    ASSERT_TRUE(db.GetEntries(entries));
    EXPECT_EQ(entries, (CFileDBase::Entries{{"Event", "/data/Event"}}));
}

TEST_F(FileDBaseTest, RemoveMissingSucceedsEvenWhenTheSaveFails)
{
    m_db.Load();
    ASSERT_TRUE(m_db.AddEvent("Gone", m_dir / "Gone"));
    const std::string strBefore = FileBytes();
    // Root writes into read-only folders, but not into immutable ones.
    const bool bRoot = ::geteuid() == 0;
    if (bRoot ? !SetImmutable(m_dir.Path(), true) : ::chmod(m_dir.Path().c_str(), 0555) != 0)
        GTEST_SKIP() << "cannot make the program folder unwritable here";
    const bool bRemoved = m_db.RemoveMissing();
    if (bRoot)
        SetImmutable(m_dir.Path(), false);
    else
        ::chmod(m_dir.Path().c_str(), 0755);
    EXPECT_TRUE(bRemoved);
    ASSERT_EQ(m_prompter.Asks().size(), 1u);
    EXPECT_EQ(m_prompter.Asks()[0].strText, "Error Opening File");
    EXPECT_EQ(FileBytes(), strBefore);
}
