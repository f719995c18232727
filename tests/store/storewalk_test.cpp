#include "fixtures/tempdir.h"
#include "store/storewalk.h"
#include "storetree.h"

#include <gtest/gtest.h>

#include <unistd.h>

namespace {

// A camera folder holding second folders, each with the given frame numbers:
//   2004_01_05/13/45/20  01 02 03
//   2004_01_05/13/45/59  01
//   2004_01_05/13/46/00  05
//   2004_01_05/20        (an hour without minutes)
//   2004_01_05/21/30     (a minute without seconds)
//   2004_01_05/22/10/10  (a second without pictures)
//   2004_01_05/23/59/59  01
//   2004_01_09/00/00/01  01 02
//   2004_01_09/00/00/02  01
class StoreWalkTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        AddPictures("2004_01_05/13/45/20", {"01", "02", "03"});
        AddPictures("2004_01_05/13/45/59", {"01"});
        AddPictures("2004_01_05/13/46/00", {"05"});
        MakeFolders(Cam("2004_01_05/20"));
        MakeFolders(Cam("2004_01_05/21/30"));
        MakeFolders(Cam("2004_01_05/22/10/10"));
        AddPictures("2004_01_05/23/59/59", {"01"});
        AddPictures("2004_01_09/00/00/01", {"01", "02"});
        AddPictures("2004_01_09/00/00/02", {"01"});
        m_walk.SetCameraFolder(m_strCamera + "/");
    }

    std::string Cam(const std::string& strRelative) const { return m_strCamera + "/" + strRelative; }

    // The picture of a second folder "yyyy_mm_dd/hh/mm/ss" with a frame number.
    std::string Picture(const std::string& strSecond, const std::string& strFrame) const
    {
        std::string strName;
        for (char c : strSecond) {
            if (c != '_' && c != '/')
                strName.push_back(c);
        }
        return Cam(strSecond) + "/" + strName + strFrame + ".jpg";
    }

    void AddPictures(const std::string& strSecond, std::initializer_list<const char*> frames)
    {
        for (const char* pszFrame : frames)
            MakeFile(Picture(strSecond, pszFrame));
    }

    CTempDir m_dir;
    const std::string m_strCamera = m_dir / "Event/03";
    CStoreWalk m_walk;
};

} // namespace

TEST_F(StoreWalkTest, PathKeyIsThePathBelowTheCameraFolderWithoutSeparators)
{
    EXPECT_EQ(m_walk.PathKey(Cam("2004_01_05/13/45/20")), "2004_01_05134520");
    EXPECT_EQ(m_walk.PathKey(Picture("2004_01_05/13/45/20", "02")), "2004_01_051345202004010513452002.jpg");
    EXPECT_EQ(m_walk.PathKey(m_strCamera + "//2004_01_05///13/"), "2004_01_0513");
    EXPECT_EQ(m_walk.PathKey(m_strCamera), "");
    EXPECT_EQ(m_walk.PathKey(m_dir / "Event/04/2004_01_05"), "");
    EXPECT_EQ(m_walk.PathKey(m_strCamera + "1/2004_01_05"), "");
    EXPECT_EQ(CStoreWalk::TimeKey(2004, 1, 5, 13, 45, 20), "2004_01_05134520");
}

TEST_F(StoreWalkTest, PicturesOfASecondFollowInFrameOrder)
{
    const std::string strSecond = Cam("2004_01_05/13/45/20");
    EXPECT_EQ(m_walk.FirstPicture(strSecond), Picture("2004_01_05/13/45/20", "01"));
    EXPECT_EQ(m_walk.NextPicture(strSecond, Picture("2004_01_05/13/45/20", "02")),
              Picture("2004_01_05/13/45/20", "03"));
    EXPECT_EQ(m_walk.NextPicture(strSecond, Picture("2004_01_05/13/45/20", "03")), "");
    EXPECT_TRUE(m_walk.HasPicture(strSecond));
}

TEST_F(StoreWalkTest, NextFolderGoesInTimeOrderAcrossEveryLevel)
{
    const struct {
        const char* pszStart;
        const char* pszNext;
    } cases[] = {
        {"2004_01_05/13/45/20", "2004_01_05/13/45/59"}, // next second of the minute
        {"2004_01_05/13/45/59", "2004_01_05/13/46/00"}, // first second of the next minute
        // Past an hour without minutes and a minute without seconds; a second
        // folder without pictures is still a second folder.
        {"2004_01_05/13/46/00", "2004_01_05/22/10/10"},
        {"2004_01_05/22/10/10", "2004_01_05/23/59/59"},
        {"2004_01_05/23/59/59", "2004_01_09/00/00/01"}, // next date folder, days between missing
        {"2004_01_09/00/00/02", nullptr},               // the last one
        {"2004_01_05/13/45", "2004_01_05/13/46"},       // a minute folder
        {"2004_01_05/13", "2004_01_05/20"},             // an hour folder, empty or not
        {"2004_01_05", "2004_01_09"},                   // a date folder
    };
    for (const auto& c : cases)
        EXPECT_EQ(m_walk.NextFolder(Cam(c.pszStart)), c.pszNext ? Cam(c.pszNext) : "") << c.pszStart;
    EXPECT_EQ(m_walk.NextFolder(m_strCamera), "");
    EXPECT_EQ(m_walk.NextFolder(m_dir / "Event/04/2004_01_05/13/45/20"), "");
}

TEST_F(StoreWalkTest, FolderOfSubfoldersHasNoPicture)
{
    EXPECT_EQ(m_walk.FirstPicture(Cam("2004_01_05/13")), "");
    EXPECT_FALSE(m_walk.HasPicture(Cam("2004_01_05/13")));
    EXPECT_FALSE(m_walk.HasPicture(Cam("2004_01_05/22/10/10")));
}

TEST_F(StoreWalkTest, StrayEntriesAreSkippedAndHideNothing)
{
    const std::string strSecond = Cam("2004_01_05/13/45/20");
    // Sorted between the frames and the folders: a temporary file of a picture
    // being written, a stray file, a folder named like a picture, a link.
    MakeFile(Picture("2004_01_05/13/45/20", "01") + ".a1b2c3");
    MakeFile(strSecond + "/2004010513452001a.jpg");
    MakeFolders(strSecond + "/2004010513452001.jpg.d");
    MakeFolders(strSecond + "/0000000000000000.jpg");
    ASSERT_EQ(::symlink(Picture("2004_01_05/13/46/00", "05").c_str(), (strSecond + "/2004010513452000.jpg").c_str()), 0);
    EXPECT_EQ(m_walk.FirstPicture(strSecond), Picture("2004_01_05/13/45/20", "01"));
    EXPECT_EQ(m_walk.NextPicture(strSecond, Picture("2004_01_05/13/45/20", "01")),
              Picture("2004_01_05/13/45/20", "02"));

    // In a minute folder: a stray file and folders of other names right after "20".
    MakeFile(Cam("2004_01_05/13/45/3 copy.txt"));
    MakeFolders(Cam("2004_01_05/13/45/2a/00"));
    MakeFolders(Cam("2004_01_05/13/45/300/00"));
    EXPECT_EQ(m_walk.NextFolder(strSecond), Cam("2004_01_05/13/45/59"));
    // In the camera folder: a date-like name of another shape.
    MakeFolders(Cam("2004-01-06/00/00/00"));
    MakeFile(Cam("2004_01_06"));
    EXPECT_EQ(m_walk.NextFolder(Cam("2004_01_05/23/59/59")), Cam("2004_01_09/00/00/01"));
}

TEST_F(StoreWalkTest, VanishedPictureStillHasAFollower)
{
    const std::string strSecond = Cam("2004_01_05/13/45/20");
    ASSERT_EQ(::unlink(Picture("2004_01_05/13/45/20", "02").c_str()), 0);
    EXPECT_EQ(m_walk.NextPicture(strSecond, Picture("2004_01_05/13/45/20", "02")),
              Picture("2004_01_05/13/45/20", "03"));
}

TEST_F(StoreWalkTest, StartFolderIsTheFirstSecondAtOrAfterTheTime)
{
    const struct {
        const char* pszKey;
        const char* pszFolder;
    } cases[] = {
        {"2004_01_05134520", "2004_01_05/13/45/20"}, // exactly
        {"2004_01_05134521", "2004_01_05/13/45/59"}, // later second of the minute
        {"2004_01_05134600", "2004_01_05/13/46/00"},
        {"2004_01_05134601", "2004_01_05/22/10/10"}, // over empty hour and minute folders
        {"2004_01_05000000", "2004_01_05/13/45/20"}, // the day from its start
        {"2004_01_07000000", "2004_01_09/00/00/01"}, // a day without folder
        {"2004_01_05235959", "2004_01_05/23/59/59"},
        {"2004_01_09000003", nullptr},               // after the last
        {"", "2004_01_05/13/45/20"},                 // from the first
        {"2004_01_05", nullptr},                     // not a time key
    };
    for (const auto& c : cases)
        EXPECT_EQ(m_walk.StartFolder(c.pszKey), c.pszFolder ? Cam(c.pszFolder) : "") << c.pszKey;
}

TEST_F(StoreWalkTest, PicturesFromATimeInWalkOrderUpToTheMaximum)
{
    const std::vector<std::string> all = {
        Picture("2004_01_05/13/45/59", "01"), Picture("2004_01_05/13/46/00", "05"),
        Picture("2004_01_05/23/59/59", "01"), Picture("2004_01_09/00/00/01", "01"),
        Picture("2004_01_09/00/00/01", "02"), Picture("2004_01_09/00/00/02", "01"),
    };
    EXPECT_EQ(m_walk.PicturesFrom("2004_01_05134521", 60), all);
    EXPECT_EQ(m_walk.PicturesFrom("2004_01_05134521", 4), std::vector<std::string>(all.begin(), all.begin() + 4));
    EXPECT_TRUE(m_walk.PicturesFrom("2004_01_05134521", 0).empty());
    EXPECT_TRUE(m_walk.PicturesFrom("2004_01_10000000", 60).empty());

    // The first two pictures need the way down to the start and its second folder only.
    m_walk.ResetFolderReads();
    EXPECT_EQ(m_walk.PicturesFrom("2004_01_05134520", 2),
              (std::vector<std::string>{Picture("2004_01_05/13/45/20", "01"), Picture("2004_01_05/13/45/20", "02")}));
    EXPECT_EQ(m_walk.FolderReads(), 5u);
}

TEST_F(StoreWalkTest, FollowingPictureCrossesFoldersAndEndsAtTheLast)
{
    EXPECT_EQ(m_walk.FollowingPicture(Picture("2004_01_05/13/45/20", "02")), Picture("2004_01_05/13/45/20", "03"));
    EXPECT_EQ(m_walk.FollowingPicture(Picture("2004_01_05/13/45/20", "03")), Picture("2004_01_05/13/45/59", "01"));
    // Over the second folder without pictures.
    EXPECT_EQ(m_walk.FollowingPicture(Picture("2004_01_05/13/46/00", "05")), Picture("2004_01_05/23/59/59", "01"));
    EXPECT_EQ(m_walk.FollowingPicture(Picture("2004_01_05/23/59/59", "01")), Picture("2004_01_09/00/00/01", "01"));
    EXPECT_EQ(m_walk.FollowingPicture(Picture("2004_01_09/00/00/02", "01")), "");
}
