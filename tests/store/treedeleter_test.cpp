#include "fixtures/tempdir.h"
#include "store/treedeleter.h"
#include "storetree.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <thread>

#include <sys/stat.h>
#include <unistd.h>

namespace {

bool Exists(const std::string& strPath)
{
    struct stat st {};
    return ::lstat(strPath.c_str(), &st) == 0;
}

class TreeDeleterTest : public ::testing::Test {
protected:
    CTempDir m_dir;
    const std::string m_strEvent = m_dir / "Event";
    const std::string m_strOutside = m_dir / "Outside";

    void SetUp() override
    {
        MakeFile(m_strEvent + "/03/2004_01_23/13/45/20/2004012313452001.jpg");
        MakeFile(m_strEvent + "/03/2004_01_23/13/45/20/2004012313452002.jpg");
        MakeFile(m_strEvent + "/01/2004_01_23/00/00/00/2004012300000001.jpg");
        MakeFile(m_strOutside + "/keep.jpg", "keep");
        MakeFolders(m_strOutside + "/sub");
    }

    void ExpectOutsideUntouched() const
    {
        EXPECT_EQ(ListTree(m_strOutside), (std::vector<std::string>{"keep.jpg", "sub"}));
        EXPECT_EQ(ReadAll(m_strOutside + "/keep.jpg"), "keep");
    }
};

} // namespace

TEST_F(TreeDeleterTest, DeletesTheWholeEventWithHiddenAndReadOnlyEntries)
{
    MakeFile(m_strEvent + "/.hidden", "x");
    MakeFile(m_strEvent + "/01/.thumbs/.x", "x");
    ASSERT_EQ(::chmod((m_strEvent + "/03/2004_01_23/13/45/20").c_str(), 0555), 0);
    ASSERT_EQ(::chmod((m_strEvent + "/01/2004_01_23/00").c_str(), 0), 0);
    EXPECT_TRUE(CTreeDeleter::DeleteTree(m_strEvent + "/").empty());
    EXPECT_FALSE(Exists(m_strEvent));
    EXPECT_TRUE(CTreeDeleter::DeleteTree(m_strEvent).empty()); // already gone
}

TEST_F(TreeDeleterTest, LinkInsideTheEventIsRemovedNotFollowed)
{
    ASSERT_EQ(::symlink(m_strOutside.c_str(), (m_strEvent + "/03/2004_01_23/13/45/20/link").c_str()), 0);
    ASSERT_EQ(::symlink(m_strOutside.c_str(), (m_strEvent + "/02").c_str()), 0);
    ASSERT_EQ(::symlink((m_strOutside + "/keep.jpg").c_str(), (m_strEvent + "/01/file-link").c_str()), 0);
    EXPECT_TRUE(CTreeDeleter::DeleteTree(m_strEvent).empty());
    EXPECT_FALSE(Exists(m_strEvent));
    ExpectOutsideUntouched();
}

TEST_F(TreeDeleterTest, EventFolderGivenAsALinkLosesOnlyTheLink)
{
    const std::string strLink = m_dir / "EventLink";
    ASSERT_EQ(::symlink(m_strOutside.c_str(), strLink.c_str()), 0);
    EXPECT_TRUE(CTreeDeleter::DeleteTree(strLink).empty());
    EXPECT_FALSE(Exists(strLink));
    ExpectOutsideUntouched();
    ASSERT_EQ(::symlink(m_strOutside.c_str(), strLink.c_str()), 0);
    EXPECT_TRUE(CTreeDeleter::DeleteTree(strLink + "/").empty());
    ExpectOutsideUntouched();
}

TEST_F(TreeDeleterTest, FolderSwappedForALinkWhileItRunsNeverLeadsOutside)
{
    // Another thread swaps a folder of the event for a link to the outside
    // folder and back, over and over, while the event is made and deleted
    // again. Whatever the interleaving, nothing outside may go.
    const std::string strEvent = m_dir / "Race";
    const std::string strFolder = strEvent + "/03";
    const std::string strAside = strEvent + "/aside";
    std::atomic<bool> bStop{false};
    std::thread swapper([&] {
        while (!bStop) {
            if (std::rename(strFolder.c_str(), strAside.c_str()) != 0)
                continue;
            ::symlink(m_strOutside.c_str(), strFolder.c_str());
            ::unlink(strFolder.c_str());
            std::rename(strAside.c_str(), strFolder.c_str());
        }
    });
    for (int nRound = 0; nRound < 2000; ++nRound) {
        ::mkdir(strEvent.c_str(), 0755);
        ::mkdir(strFolder.c_str(), 0755);
        CTreeDeleter::DeleteTree(strEvent);
    }
    bStop = true;
    swapper.join();
    ExpectOutsideUntouched();
}

TEST_F(TreeDeleterTest, FolderTooDeepIsReportedAndTheRestDeleted)
{
    std::string strDeep = m_strEvent + "/deep";
    for (int i = 2; i <= CTreeDeleter::MAX_DEPTH + 1; ++i)
        strDeep += "/" + std::to_string(i);
    MakeFile(strDeep + "/file");
    const std::vector<std::string> failed = CTreeDeleter::DeleteTree(m_strEvent);
    ASSERT_FALSE(failed.empty());
    EXPECT_EQ(failed.front(), strDeep); // level 17 is not entered
    EXPECT_EQ(failed.back(), m_strEvent);
    EXPECT_EQ(failed.size(), static_cast<std::size_t>(CTreeDeleter::MAX_DEPTH + 2)); // levels 17 down to 0
    EXPECT_TRUE(Exists(strDeep + "/file"));
    EXPECT_FALSE(Exists(m_strEvent + "/03"));
    EXPECT_FALSE(Exists(m_strEvent + "/01"));
}

TEST_F(TreeDeleterTest, UnremovableFolderIsReported)
{
    const std::string strLocked = m_strEvent + "/03/2004_01_23/13/45/20";
    if (!SetImmutable(strLocked, true))
        GTEST_SKIP() << "no immutable attribute here (needs root on a file system that has it)";
    const std::vector<std::string> failed = CTreeDeleter::DeleteTree(m_strEvent);
    SetImmutable(strLocked, false);
    EXPECT_EQ(failed, (std::vector<std::string>{strLocked, m_strEvent + "/03/2004_01_23/13/45",
                                                m_strEvent + "/03/2004_01_23/13", m_strEvent + "/03/2004_01_23",
                                                m_strEvent + "/03", m_strEvent}));
    EXPECT_TRUE(Exists(strLocked + "/2004012313452001.jpg"));
    EXPECT_FALSE(Exists(m_strEvent + "/01"));
}

TEST_F(TreeDeleterTest, RefusesPathsThatNameNoFolderOfTheirOwn)
{
    for (const std::string& str : {m_strEvent + "/03/..", m_strEvent + "/.", std::string()})
        EXPECT_EQ(CTreeDeleter::DeleteTree(str), std::vector<std::string>{str}) << str;
    EXPECT_TRUE(Exists(m_strEvent + "/03/2004_01_23"));
    const std::string strFile = m_strEvent + "/03/2004_01_23/13/45/20/2004012313452001.jpg";
    EXPECT_EQ(CTreeDeleter::DeleteTree(strFile), std::vector<std::string>{strFile});
    EXPECT_TRUE(Exists(strFile));
}
