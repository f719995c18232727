// The file viewer page: the event list, the selectors, Search and the
// thumbnails, over real picture stores.
#include "fileviewfixture.h"

#include "fixtures/tempdir.h"
#include "store/filedbase.h"

#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include <filesystem>

namespace {

const QStringList NA {"N/A"};

// "Trip": camera 01 from 2004-01-05 23:59:50, three pictures a second for 25
// seconds (across midnight), then five on 2004-01-09 from 08:00:00; camera 02
// seven pictures on 2004-02-01 from 10:20:30. Stray entries a hand might leave
// beside them.
class TripTest : public FileViewTest {
protected:
    void SetUp() override
    {
        m_camera1 = m_maker.Add(m_strTrip, 1, {2004, 1, 5, 23, 59, 50}, 75, 3);
        const auto later = m_maker.Add(m_strTrip, 1, {2004, 1, 9, 8, 0, 0}, 5);
        m_camera1.insert(m_camera1.end(), later.begin(), later.end());
        m_camera2 = m_maker.Add(m_strTrip, 2, {2004, 2, 1, 10, 20, 30}, 7);
        ASSERT_EQ(m_camera1.size(), 80u);
        std::filesystem::create_directories(m_strTrip + "/Thumbs");
        std::filesystem::create_directories(m_strTrip + "/01/2004_01_05/xx");
        WriteAll(m_strTrip + "/01/notes.txt", "x");
        Register("Trip", m_strTrip);
        Open();
    }

    const std::string m_strTrip = EventFolder("Trip");
    std::vector<std::string> m_camera1;
    std::vector<std::string> m_camera2;
};

std::vector<std::string> Slice(const std::vector<std::string>& all, std::size_t nFrom, std::size_t nCount)
{
    return {all.begin() + static_cast<long>(nFrom), all.begin() + static_cast<long>(nFrom + nCount)};
}

} // namespace

TEST_F(FileViewTest, EmptyDatabaseOffersNothingAndCreatesTheFile)
{
    Open();
    EXPECT_EQ(ReadAll(ProgDir() + "VX2200DB.db"), std::string(CFileDBase::FILE_SIZE, '\0'));
    EXPECT_EQ(Items(CFileViewDlg::IDC_EVENT), QStringList {"No Event"});
    for (int nId : {CFileViewDlg::IDC_CAMERA, CFileViewDlg::IDC_HOUR, CFileViewDlg::IDC_MINUTE,
                    CFileViewDlg::IDC_SECOND})
        EXPECT_EQ(Items(nId), NA) << nId;
    EXPECT_EQ(Page().GetPathText(), QString());

    QTest::mouseClick(Button(CFileViewDlg::IDC_SEARCH), Qt::LeftButton);
    EXPECT_EQ(Page().GetStatus(), QString("No images found."));
    EXPECT_EQ(Page().GetThumbnailCount(), 0);
    EXPECT_TRUE(Page().GetCameraFolder().empty());
    Tick();
    EXPECT_FALSE(Button(CFileViewDlg::IDC_DELETE)->isEnabled());
    EXPECT_FALSE(Button(CFileViewDlg::IDC_PLAYBACK)->isEnabled());
    EXPECT_TRUE(Button(CFileViewDlg::IDC_PRINT)->isEnabled());
}

TEST_F(FileViewTest, NamesShowOnceWithTheEarlierFolderAndMissingFoldersLeave)
{
    const std::string strFirst = EventFolder("a/Event");
    const std::string strSecond = EventFolder("b/EVENT");
    m_maker.Add(strFirst, 2, {2004, 3, 1, 9, 0, 0}, 1);
    m_maker.Add(strSecond, 5, {2004, 3, 1, 9, 0, 0}, 1);
    Register("Gone", EventFolder("gone"));
    Register("Event", strFirst);
    Register("EVENT", strSecond);
    Register("Beach", EventFolder("Beach")); // sorted before the others
    std::filesystem::create_directories(EventFolder("Beach"));
    Open();
    EXPECT_EQ(Items(CFileViewDlg::IDC_EVENT), (QStringList {"Beach", "Event"}));
    Choose(CFileViewDlg::IDC_EVENT, "Event");
    EXPECT_EQ(Page().GetPathText(), QString::fromStdString(strFirst));
    EXPECT_EQ(Items(CFileViewDlg::IDC_CAMERA), QStringList {"02"});
    // The entry whose folder is gone has left the file for good.
    CFileDBase::Entries entries;
    ASSERT_TRUE(CFileDBase(ProgDir()).GetEntries(entries));
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_EQ(entries[0].strName, "Event");
}

TEST_F(FileViewTest, DoubledSeparatorShowsSingle)
{
    const std::string strFolder = EventFolder("Root");
    m_maker.Add(strFolder, 4, {2004, 3, 1, 9, 0, 0}, 2);
    Register("Root", m_dir / "store//Root");
    Open();
    EXPECT_EQ(Page().GetPathText(), QString::fromStdString(strFolder));
    EXPECT_EQ(Items(CFileViewDlg::IDC_CAMERA), QStringList {"04"});
    Page().Search();
    EXPECT_EQ(Page().GetThumbnailCount(), 2);
    EXPECT_EQ(Page().GetPicturePath(0), strFolder + "/04/2004_03_01/09/00/00/2004030109000000.jpg");
}

TEST_F(TripTest, SelectorsOfferTheFirstDateAndTimeOfTheCamera)
{
    EXPECT_EQ(Items(CFileViewDlg::IDC_CAMERA), (QStringList {"01", "02"}));
    EXPECT_EQ(Page().GetPathText(), QString::fromStdString(m_strTrip));
    EXPECT_EQ(Items(CFileViewDlg::IDC_HOUR), QStringList {"23"});
    EXPECT_EQ(Items(CFileViewDlg::IDC_MINUTE), QStringList {"59"});
    EXPECT_EQ(Items(CFileViewDlg::IDC_SECOND).first(), QString("50"));
    EXPECT_EQ(Items(CFileViewDlg::IDC_SECOND).size(), 10);

    Choose(CFileViewDlg::IDC_CAMERA, "02");
    EXPECT_EQ(Selected(CFileViewDlg::IDC_CAMERA), QString("02"));
    EXPECT_EQ(Items(CFileViewDlg::IDC_HOUR), QStringList {"10"});
    EXPECT_EQ(Items(CFileViewDlg::IDC_SECOND),
              (QStringList {"30", "31", "32", "33", "34", "35", "36"}));

    // Another day of camera 01, then a day without a folder.
    Choose(CFileViewDlg::IDC_CAMERA, "01");
    SetDate(2004, 1, 6);
    EXPECT_EQ(Items(CFileViewDlg::IDC_HOUR), QStringList {"00"});
    EXPECT_EQ(Items(CFileViewDlg::IDC_MINUTE), QStringList {"00"});
    EXPECT_EQ(Items(CFileViewDlg::IDC_SECOND).size(), 15);
    SetDate(2004, 1, 7);
    for (int nId : {CFileViewDlg::IDC_HOUR, CFileViewDlg::IDC_MINUTE, CFileViewDlg::IDC_SECOND})
        EXPECT_EQ(Items(nId), NA) << nId;
}

TEST_F(TripTest, SearchListsTheFirstSixtyFromTheChosenTime)
{
    QTest::mouseClick(Button(CFileViewDlg::IDC_SEARCH), Qt::LeftButton);
    EXPECT_EQ(Page().GetStatus(), QString());
    EXPECT_EQ(Listed(), Slice(m_camera1, 0, 60));
    EXPECT_EQ(Page().GetList()->count(), 60);
    EXPECT_EQ(Page().GetCaption(0), QString("01/05/2004 23:59:50 00f"));
    EXPECT_EQ(Page().GetCaption(59), QString("01/06/2004 00:00:09 02f"));
    EXPECT_EQ(Page().GetList()->item(59)->text(), Page().GetCaption(59));

    // Exactly the chosen second.
    Choose(CFileViewDlg::IDC_SECOND, "55");
    Page().Search();
    EXPECT_EQ(Page().GetPicturePath(0), m_camera1[15]);

    // A day without a folder: from the first picture of the next day that has
    // one; fewer than 60 follow, and no empty item is added.
    SetDate(2004, 1, 7);
    Page().Search();
    EXPECT_EQ(Listed(), Slice(m_camera1, 75, 5));
    EXPECT_EQ(Page().GetList()->count(), 5);

    // After the last date of the camera.
    SetDate(2004, 1, 10);
    Page().Search();
    EXPECT_EQ(Page().GetStatus(), QString("No images found."));
    EXPECT_EQ(Page().GetList()->count(), 0);
}

TEST_F(TripTest, CaptionsInJapaneseReadYearFirst)
{
    Open(Language::Japanese);
    Page().Search();
    EXPECT_EQ(Page().GetCaption(0), QString("2004/01/05 23:59:50 00f"));
    EXPECT_EQ(Page().GetCaption(4), QString("2004/01/05 23:59:51 01f"));
}

TEST_F(TripTest, PictureThatDoesNotDecodeKeepsItsItemWithAnEmptyThumbnail)
{
    WriteAll(m_camera1[1], "not a picture");
    Page().Search();
    ASSERT_EQ(Page().GetThumbnailCount(), 60);
    EXPECT_EQ(Page().GetCaption(1), QString("01/05/2004 23:59:50 01f"));
    const std::uint8_t* pEmpty = Page().GetThumbnail(1);
    const std::uint8_t* pGood = Page().GetThumbnail(2);
    EXPECT_TRUE(std::all_of(pEmpty, pEmpty + CThumbnailMaker::BYTES, [&](std::uint8_t b) { return b == pEmpty[0]; }));
    EXPECT_FALSE(std::equal(pGood, pGood + CThumbnailMaker::BYTES, pEmpty));
}

TEST_F(TripTest, ShownAgainTheListsAreRebuiltAndTheTimerRuns)
{
    Page().hide();
    EXPECT_FALSE(Page().GetTimer()->isActive());
    Register("Zoo", m_strTrip);
    Page().show();
    EXPECT_TRUE(Page().GetTimer()->isActive());
    EXPECT_EQ(Items(CFileViewDlg::IDC_EVENT), (QStringList {"Trip", "Zoo"}));
    Page().GetTimer()->stop();
}

TEST_F(FileViewTest, LargeEventListsItsFirstSixtyWithoutReadingTheRest)
{
    const std::string strFolder = EventFolder("Long");
    const auto pictures = m_maker.Add(strFolder, 7, {2004, 6, 1, 12, 0, 0}, 400);
    Register("Long", strFolder);
    Open();
    Page().GetWalk().ResetFolderReads();
    Page().Search();
    EXPECT_EQ(Listed(), Slice(pictures, 0, 60));
    // About two reads per second folder listed (its pictures, its minute's
    // folders) and the way down: walking all 400 would take over 800.
    EXPECT_LE(Page().GetWalk().FolderReads(), 140u);
}
