// The file viewer page: the picture view, playback, the printed pages and
// deleting an event.
#include "fileviewfixture.h"

#include "../store/storetree.h"
#include "fixtures/tempdir.h"
#include "image/vximage.h"
#include "store/filedbase.h"
#include "widgets/printpage.h"
#include "widgets/recordingprintsurface.h"

#include <QComboBox>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include <filesystem>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

// "Cam": camera 03 with 62 pictures over 2004-03-09 23:59:30 .. 2004-03-10
// 00:00:00 (two a second; the minute, the hour and the day change), then
// three more on 2004-03-12.
class PlayTest : public FileViewTest {
protected:
    void SetUp() override
    {
        m_pictures = m_maker.Add(m_strCam, 3, {2004, 3, 9, 23, 59, 30}, 62, 2);
        const auto later = m_maker.Add(m_strCam, 3, {2004, 3, 12, 1, 2, 3}, 3);
        m_pictures.insert(m_pictures.end(), later.begin(), later.end());
        Register("Cam", m_strCam);
        Open();
        Page().Search();
        ASSERT_EQ(Page().GetThumbnailCount(), 60);
    }

    // Double-clicks thumbnail i, as the operator opens the picture view.
    void OpenView(int i)
    {
        QListWidget* pList = Page().GetList();
        pList->scrollToItem(pList->item(i));
        const QRect rect = pList->visualItemRect(pList->item(i));
        QTest::mouseClick(pList->viewport(), Qt::LeftButton, {}, rect.center());
        QTest::mouseDClick(pList->viewport(), Qt::LeftButton, {}, rect.center());
    }

    bool Enabled(int nId) const { return Button(nId)->isEnabled(); }

    const std::string m_strCam = EventFolder("Cam");
    std::vector<std::string> m_pictures; // 65, in time order
};

} // namespace

TEST_F(PlayTest, PlaybackGoesPastTheListAndStopsAtTheLastPicture)
{
    OpenView(59);
    ASSERT_TRUE(Page().IsPictureMode());
    EXPECT_EQ(Page().GetCurrent(), m_pictures[59]);
    EXPECT_EQ(Page().GetOnDisplay(), m_pictures[59]);
    EXPECT_TRUE(Page().GetPictureArea()->isVisible());
    EXPECT_FALSE(Page().GetList()->isVisible());
    EXPECT_TRUE(Enabled(CFileViewDlg::IDC_PLAYBACK));
    EXPECT_FALSE(Enabled(CFileViewDlg::IDC_SEARCH));
    Tick();
    EXPECT_FALSE(Enabled(CFileViewDlg::IDC_DELETE));

    QTest::mouseClick(Button(CFileViewDlg::IDC_PLAYBACK), Qt::LeftButton);
    EXPECT_EQ(Button(CFileViewDlg::IDC_PLAYBACK)->text(), QString("Stop"));
    EXPECT_FALSE(Enabled(CFileViewDlg::IDC_PRINT));
    std::vector<std::string> shown;
    for (int i = 0; i < 6; ++i) {
        Tick();
        shown.push_back(Page().GetOnDisplay());
    }
    // The first tick shows the current picture; then one a tick, into the next
    // day's folder and past the days without one, to the last.
    EXPECT_EQ(shown, (std::vector<std::string>(m_pictures.begin() + 59, m_pictures.end()) ));
    EXPECT_FALSE(Enabled(CFileViewDlg::IDC_PLAYBACK));
    EXPECT_TRUE(Enabled(CFileViewDlg::IDC_PRINT));
    EXPECT_TRUE(Page().IsPlaying());
    // At the end the last picture stays and is looked past on every tick: a
    // picture stored meanwhile is played on.
    Tick();
    EXPECT_EQ(Page().GetOnDisplay(), m_pictures.back());
    const auto added = m_maker.Add(m_strCam, 3, {2004, 3, 12, 1, 2, 6}, 1);
    Tick(2);
    EXPECT_EQ(Page().GetOnDisplay(), added.front());
}

TEST_F(PlayTest, PlaybackStartedOnTheLastPictureEndsAtTheSecondTick)
{
    SetDate(2004, 3, 12);
    Page().Search();
    ASSERT_EQ(Page().GetThumbnailCount(), 3);
    OpenView(2);
    Page().OnPlayback();
    Tick();
    EXPECT_EQ(Page().GetOnDisplay(), m_pictures.back());
    EXPECT_TRUE(Enabled(CFileViewDlg::IDC_PLAYBACK));
    Tick();
    EXPECT_EQ(Page().GetOnDisplay(), m_pictures.back());
    EXPECT_FALSE(Enabled(CFileViewDlg::IDC_PLAYBACK));
    EXPECT_TRUE(Enabled(CFileViewDlg::IDC_PRINT));
}

TEST_F(PlayTest, PauseKeepsThePictureAndResumeGoesOnAfterIt)
{
    OpenView(10);
    Page().OnPlayback();
    Tick(3); // pictures 10, 11, 12
    Page().OnPlayback();
    EXPECT_TRUE(Page().IsPaused());
    EXPECT_EQ(Button(CFileViewDlg::IDC_PLAYBACK)->text(), QString("Playback"));
    EXPECT_TRUE(Enabled(CFileViewDlg::IDC_PRINT));
    const QImage before = Page().GetBmp().Surface();
    Tick(4);
    EXPECT_EQ(Page().GetOnDisplay(), m_pictures[12]);
    // Covered and uncovered: the area shows the same picture.
    Page().GetPictureArea()->repaint();
    EXPECT_EQ(Page().GetBmp().Surface(), before);
    // Printing while paused names the picture on display.
    const CFilePrintPage page = Page().PrintPage();
    ASSERT_EQ(page.texts.size(), 3u);
    EXPECT_EQ(page.texts[1].strText, QString("03/09/2004 23:59:36 - FRAME No. 00"));
    EXPECT_EQ(page.texts[2].strText, QString("Camera No.  :   03"));

    Page().OnPlayback();
    EXPECT_FALSE(Enabled(CFileViewDlg::IDC_PRINT));
    Tick();
    EXPECT_EQ(Page().GetOnDisplay(), m_pictures[13]);

    // A click in the picture area: back to the thumbnails, playback off.
    QTest::mouseClick(Page().GetPictureArea(), Qt::LeftButton);
    EXPECT_FALSE(Page().IsPictureMode());
    EXPECT_FALSE(Page().IsPlaying());
    EXPECT_TRUE(Page().GetList()->isVisible());
    EXPECT_EQ(Page().GetList()->count(), 60);
    EXPECT_FALSE(Enabled(CFileViewDlg::IDC_PLAYBACK));
    EXPECT_TRUE(Enabled(CFileViewDlg::IDC_SEARCH));
    Tick();
    EXPECT_TRUE(Enabled(CFileViewDlg::IDC_DELETE));
    EXPECT_EQ(Page().GetOnDisplay(), m_pictures[13]);
}

TEST_F(PlayTest, PictureViewShowsTheDecodedPicture)
{
    OpenView(0);
    const std::uint8_t* pFrame = Page().GetDisplayFrame();
    CVXImage image(nullptr, m_dir.Path());
    std::vector<std::uint8_t> expected(CVXImage::FRAME_BYTES);
    int nWidth = 0;
    int nHeight = 0;
    ASSERT_TRUE(image.LoadPictureFile(m_pictures[0], expected.data(), nWidth, nHeight));
    EXPECT_TRUE(std::equal(expected.begin(), expected.end(), pFrame));

    // A picture that does not decode leaves the area as it was.
    const QImage before = Page().GetBmp().Surface();
    WriteAll(m_pictures[1], "broken");
    EXPECT_FALSE(Page().ShowPicture(m_pictures[1]));
    EXPECT_EQ(Page().GetBmp().Surface(), before);
    EXPECT_TRUE(std::all_of(pFrame, pFrame + CVXImage::FRAME_BYTES, [](std::uint8_t b) { return b == 0; }));
}

TEST_F(PlayTest, HidingThePageEndsPlayback)
{
    OpenView(3);
    Page().OnPlayback();
    Tick(2);
    Page().hide();
    EXPECT_FALSE(Page().IsPlaying());
    EXPECT_FALSE(Page().IsPictureMode());
    EXPECT_FALSE(Enabled(CFileViewDlg::IDC_PLAYBACK));
    EXPECT_FALSE(Enabled(CFileViewDlg::IDC_SEARCH));
    Page().show();
    Page().GetTimer()->stop();
    EXPECT_TRUE(Enabled(CFileViewDlg::IDC_SEARCH));
}

// ---------------------------------------------------------------------------
// Printing

TEST_F(FileViewTest, ThumbnailSheetOfSevenPrintsTwoRows)
{
    const std::string strFolder = EventFolder("Seven");
    m_maker.Add(strFolder, 12, {2005, 7, 1, 9, 30, 0}, 7);
    Register("Seven", strFolder);
    Open();
    Page().Search();
    ASSERT_EQ(Page().GetThumbnailCount(), 7);
    const CFilePrintPage page = Page().PrintPage();
    EXPECT_EQ(page.strDocument, "Varnel - DVR Image");
    std::vector<CFilePrintPage::Text> expected {
        {"VX-2200NET", 50, 30, 12},
        {"Camera No.  :   12", 565, 30, 12},
    };
    for (int k = 0; k < 7; ++k) {
        const int x = 50 + 108 * (k % 6);
        const int y = 90 + 95 * (k / 6);
        expected.push_back({Page().GetCaption(k), x + (k < 6 ? 10 : 15), y + 80, 6});
    }
    EXPECT_EQ(page.texts, expected);
    EXPECT_EQ(page.texts[8].strText, QString("07/01/2005 09:30:06 00f"));
    ASSERT_EQ(page.pictures.size(), 7u);
    for (int k = 0; k < 7; ++k) {
        const CFilePrintPage::Picture& picture = page.pictures[static_cast<std::size_t>(k)];
        EXPECT_EQ(picture.target, QRect(50 + 108 * (k % 6), 90 + 95 * (k / 6), 100, 75)) << k;
        EXPECT_EQ(picture.bits, std::vector<std::uint8_t>(Page().GetThumbnail(k),
                                                          Page().GetThumbnail(k) + CThumbnailMaker::BYTES));
    }
}

// Print sends the sheet through the print dialog into the printer (a PDF file
// here): the product name where the sheet puts it, every caption and every
// thumbnail; a cancelled dialog prints nothing.
TEST_F(FileViewTest, PrintButtonPrintsTheSheetThroughThePrintDialog)
{
    const std::string strFolder = EventFolder("Seven");
    m_maker.Add(strFolder, 12, {2005, 7, 1, 9, 30, 0}, 7);
    Register("Seven", strFolder);
    Open();
    Page().Search();
    const std::string strPdf = m_dir / "sheet.pdf";
    CRecordingPrintSurface recorder;
    CPrintPage::SetRecorder(&recorder);
    m_prompter.AnswerPrinter(strPdf);
    QTest::mouseClick(Button(CFileViewDlg::IDC_PRINT), Qt::LeftButton);
    m_prompter.AnswerPrinter(std::nullopt);
    QTest::mouseClick(Button(CFileViewDlg::IDC_PRINT), Qt::LeftButton);
    CPrintPage::SetRecorder(nullptr);

    EXPECT_GT(fs::file_size(strPdf), 1000u);
    const auto* pProduct = recorder.FindText("VX-2200NET");
    ASSERT_NE(pProduct, nullptr);
    EXPECT_EQ(std::make_pair(pProduct->x1, pProduct->y1), std::make_pair(50, 30));
    EXPECT_EQ(recorder.CallsOf(CRecordingPrintSurface::Kind::Text).size(), 2u + 7u); // once: the cancelled one drew nothing
    const auto pictures = recorder.CallsOf(CRecordingPrintSurface::Kind::Picture);
    ASSERT_EQ(pictures.size(), 7u);
    EXPECT_EQ(std::make_pair(pictures[6].x1, pictures[6].y1), std::make_pair(50, 90 + 95));
    EXPECT_EQ(pictures[6].imageSize, QSize(100, 75));
}

TEST_F(PlayTest, PictureSheetHoldsTheDisplayPictureInItsFrame)
{
    OpenView(1);
    const CFilePrintPage page = Page().PrintPage();
    const std::vector<CFilePrintPage::Text> expected {
        {"VX-2200NET", 50, 80, 12},
        {"03/09/2004 23:59:30 - FRAME No. 01", 50, 100, 12},
        {"Camera No.  :   03", 565, 80, 12},
    };
    EXPECT_EQ(page.texts, expected);
    ASSERT_EQ(page.pictures.size(), 1u);
    EXPECT_EQ(page.pictures[0].target, QRect(50, 150, 640, 480));
    std::vector<std::uint8_t> display(CVXImage::DISPLAY_BYTES);
    CVXImage::CropVisible(display.data(), Page().GetDisplayFrame());
    EXPECT_EQ(page.pictures[0].bits, display);
    EXPECT_EQ(page.pictures[0].nWidth, 696);

    // Without a camera selected.
    List(CFileViewDlg::IDC_CAMERA)->setCurrentIndex(-1);
    EXPECT_EQ(Page().PrintPage().texts[2], (CFilePrintPage::Text {"No Camera Selected", 565, 80, 12}));
    QTest::mouseClick(Page().GetPictureArea(), Qt::LeftButton);
    EXPECT_EQ(Page().PrintPage().texts[1], (CFilePrintPage::Text {"No Camera Selected", 565, 30, 12}));
}

TEST(FilePrintPage, CaptionsAndCameraTexts)
{
    const std::string strPath = "/e/03/2004_01_05/13/45/20/2004010513452007.jpg";
    EXPECT_EQ(CFilePrintPage::PictureCaption(strPath, 1), QString("01/05/2004 13:45:20 - FRAME No. 07"));
    EXPECT_EQ(CFilePrintPage::PictureCaption(strPath, 0), QString("2004/01/05 13:45:20 - FRAME No. 07"));
    EXPECT_EQ(CFilePrintPage::PictureCaption("short.jpg", 1), QString());
    EXPECT_EQ(CFilePrintPage::CameraText(true, "07"), QString("Camera No.  :   07"));
    EXPECT_EQ(CFilePrintPage::CameraText(true, "N/A"), QString("Camera No.  :   00"));
    EXPECT_EQ(CFilePrintPage::CameraText(false, "07"), QString("No Camera Selected"));
}

// ---------------------------------------------------------------------------
// Deleting

TEST_F(PlayTest, DeletingTheOnlyEventEmptiesThePage)
{
    Tick();
    ASSERT_TRUE(Enabled(CFileViewDlg::IDC_DELETE));
    m_prompter.Answer(0);
    QTest::mouseClick(Button(CFileViewDlg::IDC_DELETE), Qt::LeftButton);
    EXPECT_EQ(m_prompter.ConfirmModes(), std::vector<int> {28});
    EXPECT_TRUE(fs::exists(m_strCam));

    m_prompter.Answer(1);
    Page().DeleteEvent();
    EXPECT_FALSE(fs::exists(m_strCam));
    EXPECT_TRUE(fs::exists(EventFolder("")));
    EXPECT_EQ(Items(CFileViewDlg::IDC_EVENT), QStringList {"No Event"});
    EXPECT_EQ(Items(CFileViewDlg::IDC_CAMERA), QStringList {"N/A"});
    EXPECT_EQ(Page().GetList()->count(), 0);
    CFileDBase::Entries entries;
    ASSERT_TRUE(CFileDBase(ProgDir()).GetEntries(entries));
    EXPECT_TRUE(entries.empty());
    Tick();
    EXPECT_FALSE(Enabled(CFileViewDlg::IDC_DELETE));
    EXPECT_EQ(m_prompter.Asks().size(), 2u); // the two questions, no notice
}

TEST_F(PlayTest, DeletingNeverFollowsALink)
{
    const std::string strOutside = m_dir / "outside";
    MakeFile(strOutside + "/keep.jpg");
    ASSERT_EQ(::symlink(strOutside.c_str(), (m_strCam + "/03/2004_03_09/link").c_str()), 0);
    ASSERT_EQ(::symlink((strOutside + "/keep.jpg").c_str(), (m_strCam + "/03/pic.jpg").c_str()), 0);
    m_prompter.Answer(1);
    Page().DeleteEvent();
    EXPECT_FALSE(fs::exists(fs::symlink_status(m_strCam)));
    EXPECT_EQ(ListTree(strOutside), std::vector<std::string> {"keep.jpg"});
}

TEST_F(PlayTest, EventFolderGivenAsALinkLosesOnlyTheLink)
{
    // The database names a link to the pictures: the link goes, the pictures stay.
    const std::string strLink = EventFolder("Linked");
    ASSERT_EQ(::symlink(m_strCam.c_str(), strLink.c_str()), 0);
    Register("Linked", strLink);
    Open();
    List(CFileViewDlg::IDC_EVENT)->setCurrentIndex(1);
    Page().OnEventChange();
    ASSERT_EQ(Page().GetPath(), strLink);
    m_prompter.Answer(1);
    Page().DeleteEvent();
    EXPECT_FALSE(fs::exists(fs::symlink_status(strLink)));
    EXPECT_TRUE(fs::exists(m_pictures.front()));
    EXPECT_EQ(Items(CFileViewDlg::IDC_EVENT), QStringList {"Cam"});
}

TEST_F(FileViewTest, ADatabaseEntryNamingAnotherFolderDeletesNothing)
{
    // An entry edited by hand to point at a folder that is not the event's.
    const std::string strHome = m_dir / "home";
    m_maker.Add(strHome, 1, {2004, 3, 1, 9, 0, 0}, 1);
    Register("Trip", strHome);
    Open();
    m_prompter.Answer(1);
    Page().DeleteEvent();
    EXPECT_FALSE(ListTree(strHome).empty());
    ASSERT_EQ(m_prompter.Asks().size(), 2u);
    EXPECT_EQ(m_prompter.Asks()[1].strText, "Cannot Delete Event Folder.\n" + strHome);
}

TEST_F(PlayTest, AFolderThatCannotBeDeletedIsReported)
{
    const std::string strSecond = m_strCam + "/03/2004_03_12/01/02/03";
    if (!SetImmutable(strSecond, true))
        GTEST_SKIP() << "the immutable attribute cannot be set here";
    m_prompter.Answer(1);
    Page().DeleteEvent();
    SetImmutable(strSecond, false);
    ASSERT_EQ(m_prompter.Asks().size(), 2u);
    EXPECT_EQ(m_prompter.Asks()[1].kind, CScriptedPrompter::Asked::Kind::MessageBox);
    EXPECT_NE(m_prompter.Asks()[1].strText.find("Cannot Delete Event Folder."), std::string::npos);
    EXPECT_NE(m_prompter.Asks()[1].strText.find(strSecond), std::string::npos);
    // The rest is gone; the event stays listed while its folder is there.
    EXPECT_FALSE(fs::exists(m_pictures.front()));
    EXPECT_EQ(Items(CFileViewDlg::IDC_EVENT), QStringList {"Cam"});
    EXPECT_EQ(Page().GetList()->count(), 0);
}
