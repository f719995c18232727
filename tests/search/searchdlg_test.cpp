#include "searchfixture.h"

#include "platform/fileutil.h"
#include "search/nopicture.h"
#include "widgets/printpage.h"
#include "widgets/recordingprintsurface.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QDateEdit>
#include <QLineEdit>
#include <QListWidget>
#include <QTest>

#include <chrono>
#include <cstdio>
#include <filesystem>

namespace {

using Clock = std::chrono::steady_clock;

// "hh:mm:ss" of a thumbnail.
QString ClockOf(const CSearchDlg::Thumb& thumb)
{
    return thumb.time.time().toString(QStringLiteral("hh:mm:ss"));
}

// A recorded call's place in page units.
PicRect Units(const CRecordingPrintSurface::Call& call)
{
    return {call.x1, call.y1, call.x2, call.y2};
}

QString Hms(int nHour, int nMinute, int nSecond)
{
    return QString::asprintf("%02d:%02d:%02d", nHour, nMinute, nSecond);
}

} // namespace

TEST_F(SearchTest, SearchChecksShowTheirNotices)
{
    struct Case {
        const char* pszHour;
        const char* pszMinute;
        int nDaysAhead;
        std::vector<int> modes;
    } cases[] = {
        {"24", "00", 0, {16}}, {"", "00", 0, {16}},   {"9x", "00", 0, {16}},
        {"09", "60", 0, {15}}, {"09", "", 0, {15}},   {"13", "31", 0, {17}},
        {"09", "00", 1, {17}}, {"09", "00", 0, {}},
    };
    for (const Case& c : cases) {
        m_prompter.Clear();
        Page().StopSearch();
        SetFields(c.pszHour, c.pszMinute);
        Page().findChild<QDateEdit*>("id1642")->setDate(QDate(2004, 1, 23 + c.nDaysAhead));
        Click(CSearchDlg::IDC_SEARCH);
        EXPECT_EQ(m_prompter.ConfirmModes(), c.modes) << c.pszHour << ":" << c.pszMinute;
        EXPECT_EQ(Page().GetState(), c.modes.empty() ? CSearchDlg::STATE_SEARCH : CSearchDlg::STATE_IDLE);
    }
}

// From 09:00 every 10 minutes over all cameras: one thumbnail a tick, each
// the interval after the picture before, labelled with its time and camera.
TEST_F(SearchTest, TimeSearchFillsAPageOfTwentyFourInBothLanguages)
{
    for (const Language language : {Language::English, Language::Japanese}) {
        Open(language);
        SetFields("09", "00", 5, 0);
        Click(CSearchDlg::IDC_SEARCH);
        EXPECT_FALSE(Visible(CSearchDlg::IDC_NEXT));
        for (int j = 0; j < CSearchDlg::PAGE_SIZE; ++j) {
            m_pSim->ClearTrace();
            Tick();
            EXPECT_LE(CountReceived("JU"), 1) << j;
        }
        ASSERT_EQ(Page().GetState(), CSearchDlg::STATE_IDLE);
        ASSERT_EQ(Page().GetPageCount(), CSearchDlg::PAGE_SIZE);
        ASSERT_EQ(Page().GetList()->count(), CSearchDlg::PAGE_SIZE);
        for (int j = 0; j < CSearchDlg::PAGE_SIZE; ++j) {
            const int nMinutes = 9 * 60 + 10 * j;
            const CSimRecording::Picture picture = PictureAt(*m_pSim, nMinutes / 60, nMinutes % 60, 0);
            const CSearchDlg::Thumb& thumb = Page().GetThumb(j);
            EXPECT_EQ(ClockOf(thumb), Hms(nMinutes / 60, nMinutes % 60, 0));
            EXPECT_TRUE(thumb.bFound);
            EXPECT_EQ(thumb.nCamera + 1, picture.nCamera);
            EXPECT_EQ(thumb.image.size(), QSize(100, 75));
            const QString strDate = language == Language::English ? QStringLiteral("01/23/2004") : QStringLiteral("2004/01/23");
            EXPECT_EQ(Page().GetList()->item(j)->text(),
                      strDate + "  " + Hms(nMinutes / 60, nMinutes % 60, 0) + QStringLiteral(" Camera No.%1").arg(picture.nCamera));
        }
        EXPECT_TRUE(Visible(CSearchDlg::IDC_NEXT));
        EXPECT_FALSE(Visible(CSearchDlg::IDC_BACK));
    }
}

// Next goes on from the page's last picture and stops at the end of the
// recording; Back fetches the first page again.
TEST_F(SearchTest, NextAndBackPageThroughTheResults)
{
    SetFields("09", "00", 5, 0);
    Click(CSearchDlg::IDC_SEARCH);
    RunSearch();
    const QString strFirst = Page().GetList()->item(0)->text();
    Click(CSearchDlg::IDC_NEXT);
    EXPECT_EQ(Page().GetState(), CSearchDlg::STATE_NEXT);
    EXPECT_FALSE(Visible(CSearchDlg::IDC_BACK));
    RunSearch();
    // 13:00, 13:10 and 13:20; nothing is recorded at 13:30.
    ASSERT_EQ(Page().GetPageCount(), 3);
    EXPECT_EQ(ClockOf(Page().GetThumb(0)), "13:00:00");
    EXPECT_EQ(ClockOf(Page().GetThumb(2)), "13:20:00");
    EXPECT_EQ(Page().GetTotalCount(), 27);
    EXPECT_FALSE(Visible(CSearchDlg::IDC_NEXT));
    EXPECT_TRUE(Visible(CSearchDlg::IDC_BACK));

    Click(CSearchDlg::IDC_BACK);
    EXPECT_EQ(Page().GetState(), CSearchDlg::STATE_BACK);
    RunSearch();
    EXPECT_EQ(Page().GetPage(), 0);
    EXPECT_EQ(Page().GetPageCount(), CSearchDlg::PAGE_SIZE);
    EXPECT_EQ(Page().GetList()->item(0)->text(), strFirst);
    EXPECT_TRUE(Visible(CSearchDlg::IDC_NEXT));
    EXPECT_FALSE(Visible(CSearchDlg::IDC_BACK));
}

// A recorder of two cameras never shows camera 3: after 32 steps the
// thumbnail is nopicture.jpg, its label has no camera, and the search goes on
// from the picture at the time. Camera 3 of sixteen is found within the steps.
TEST_F(SearchTest, ChosenCameraStepsOnOrShowsNoPicture)
{
    SetFields("09", "00", 5, 3);
    Click(CSearchDlg::IDC_SEARCH);
    Tick();
    const CSearchDlg::Thumb& found = Page().GetThumb(0);
    EXPECT_TRUE(found.bFound);
    EXPECT_EQ(found.nCamera, 2);
    EXPECT_TRUE(Page().GetList()->item(0)->text().endsWith(" Camera No.3"));

    Open(Language::English, 2);
    ASSERT_TRUE(std::filesystem::exists(m_pApp->GetProgDir() + "nopicture.jpg"));
    SetFields("09", "00", 5, 3);
    Click(CSearchDlg::IDC_SEARCH);
    m_pSim->ClearTrace();
    Tick();
    EXPECT_EQ(CountReceived("JU"), 1 + CSearchDlg::MAX_CAMERA_STEPS);
    const CSearchDlg::Thumb& missing = Page().GetThumb(0);
    EXPECT_FALSE(missing.bFound);
    EXPECT_EQ(Page().GetList()->item(0)->text(), "01/23/2004  09:00:00");
    ASSERT_FALSE(missing.image.isNull());
    // The thumbnail is the program's own picture, dark grey at its corner.
    EXPECT_LT(qGray(missing.image.pixel(2, 2)), 100);
    Tick();
    EXPECT_EQ(ClockOf(Page().GetThumb(1)), "09:10:00");

    // Without a readable nopicture.jpg the thumbnail stays empty.
    for (const char* pszBytes : {"", "not a picture"}) {
        std::filesystem::remove(m_pApp->GetProgDir() + "nopicture.jpg");
        if (*pszBytes)
            WriteAll(m_pApp->GetProgDir() + "nopicture.jpg", pszBytes);
        Click(CSearchDlg::IDC_SEARCH);
        Tick();
        EXPECT_FALSE(Page().GetThumb(0).bFound);
        EXPECT_TRUE(Page().GetThumb(0).image.isNull()) << pszBytes;
        EXPECT_EQ(Page().GetList()->count(), 1);
    }
}

TEST(NoPicture, IsMadeOnlyWhenMissing)
{
    CTempDir dir;
    const std::string strPath = dir / "nopicture.jpg";
    ASSERT_TRUE(CNoPicture::EnsureFile(strPath, std::string()));
    const QImage image(QString::fromStdString(strPath));
    EXPECT_EQ(image.size(), QSize(CNoPicture::WIDTH, CNoPicture::HEIGHT));
    WriteAll(strPath, "the operator's own");
    EXPECT_TRUE(CNoPicture::EnsureFile(strPath));
    EXPECT_EQ(ReadAll(strPath), "the operator's own");

    // An installed copy is taken as it is.
    MakeDirectory(dir / "share");
    WriteAll(dir / "share/nopicture.jpg", "installed picture");
    EXPECT_TRUE(CNoPicture::EnsureFile(dir / "prog-nopicture.jpg", dir / "share/"));
    EXPECT_EQ(ReadAll(dir / "prog-nopicture.jpg"), "installed picture");
}

// Five minutes of recording: the blocks of 13:28 down to 13:25, newest first
// after J6 and J4; then J4 comes round to the newest block and the search ends.
TEST_F(SearchTest, BlockSearchStopsWhenTheSequenceComesRound)
{
    Open(Language::English, 16, 5);
    Click(CSearchDlg::IDC_BLOCK_SEARCH);
    EXPECT_FALSE(Page().findChild<QLineEdit*>("id1643")->isEnabled());
    SetFields("99", "99"); // not checked in block search
    Click(CSearchDlg::IDC_SEARCH);
    EXPECT_TRUE(m_prompter.ConfirmModes().empty());
    EXPECT_LE(RunSearch(), 6);
    EXPECT_EQ(Page().GetState(), CSearchDlg::STATE_IDLE);
    ASSERT_EQ(Page().GetPageCount(), 4);
    const char* const times[] = {"13:28:00", "13:27:00", "13:26:00", "13:25:00"};
    for (int j = 0; j < 4; ++j) {
        EXPECT_EQ(ClockOf(Page().GetThumb(j)), times[j]);
        EXPECT_TRUE(Page().GetThumb(j).bFound);
    }
    EXPECT_FALSE(Visible(CSearchDlg::IDC_NEXT));
}

// A recorder that stops answering ends the search within the receive limit of
// the one fetch; only a lost link asks whether to reconnect.
TEST_F(SearchTest, RecorderThatStopsAnsweringEndsTheSearch)
{
    struct Case {
        const char* pszWhat;
        SimFault fault;
        std::vector<int> modes;
    } cases[] = {
        {"silent", SimFault::Silence, {}},
        {"reset", SimFault::Reset, {8}},
    };
    for (const Case& c : cases) {
        m_prompter.Clear();
        m_pSim->ClearFaults();
        SetFields("09", "00", 5, 0);
        Click(CSearchDlg::IDC_SEARCH);
        Tick(2);
        m_pSim->SetFault("*", c.fault, c.fault == SimFault::Reset ? 1 : -1);
        m_prompter.Answer(1); // "Reconnect", should it be asked
        const auto start = Clock::now();
        Tick();
        EXPECT_LT(Clock::now() - start, std::chrono::milliseconds(2500)) << c.pszWhat;
        EXPECT_EQ(Page().GetState(), CSearchDlg::STATE_IDLE) << c.pszWhat;
        EXPECT_EQ(Page().GetPageCount(), 2) << c.pszWhat;
        EXPECT_EQ(m_prompter.ConfirmModes(), c.modes) << c.pszWhat;
        m_pSim->ClearFaults();
    }
    // The page is usable again: a new search fills.
    Tick(CSearchDlg::POLL_PAUSE_TICKS + 2);
    EXPECT_TRUE(Button(CSearchDlg::IDC_SEARCH)->isEnabled());
    Click(CSearchDlg::IDC_SEARCH);
    RunSearch();
    EXPECT_EQ(Page().GetPageCount(), CSearchDlg::PAGE_SIZE);
}

TEST_F(SearchTest, StatusDecidesWhatMayBePressed)
{
    struct Case {
        std::array<int, 4> nStatus;
        bool bSearch;
        bool bNextBack;
    } cases[] = {
        {{1, 0, 0, 0}, true, true},
        {{1, 7, 0, 0}, true, false},
        {{0, 0, 0, 0}, false, false},
    };
    SetFields("09", "00", 5, 0);
    Click(CSearchDlg::IDC_SEARCH);
    RunSearch();
    for (const Case& c : cases) {
        m_pSim->SetStatus(c.nStatus);
        Tick();
        EXPECT_EQ(Button(CSearchDlg::IDC_SEARCH)->isEnabled(), c.bSearch);
        EXPECT_EQ(Button(CSearchDlg::IDC_NEXT)->isEnabled(), c.bNextBack);
        EXPECT_EQ(Button(CSearchDlg::IDC_BACK)->isEnabled(), c.bNextBack);
        EXPECT_FALSE(Button(CSearchDlg::IDC_PLAYBACK)->isEnabled());
        // Enabling shows no hidden button.
        EXPECT_FALSE(Visible(CSearchDlg::IDC_BACK));
    }
}

TEST_F(SearchTest, EscapeAndTheModeRadiosStopASearch)
{
    SetFields("09", "00", 5, 0);
    Click(CSearchDlg::IDC_SEARCH);
    Tick(2);
    QTest::keyClick(&Page(), Qt::Key_Escape);
    EXPECT_EQ(Page().GetState(), CSearchDlg::STATE_IDLE);
    EXPECT_EQ(Page().GetPageCount(), 2);
    // Stopped, not ended: Next goes on from there.
    EXPECT_TRUE(Visible(CSearchDlg::IDC_NEXT));
    Tick();
    EXPECT_EQ(Page().GetPageCount(), 2);

    for (const int nRadio : {CSearchDlg::IDC_BLOCK_SEARCH, CSearchDlg::IDC_TIME_SEARCH}) {
        Click(CSearchDlg::IDC_SEARCH);
        Tick();
        Click(nRadio);
        EXPECT_EQ(Page().GetState(), CSearchDlg::STATE_IDLE) << nRadio;
        EXPECT_EQ(Page().findChild<QComboBox*>("id1640")->isEnabled(), nRadio == CSearchDlg::IDC_TIME_SEARCH);
    }
}

TEST_F(SearchTest, AThumbnailOpensLargeAndAClickReturnsToTheList)
{
    SetFields("09", "00", 5, 0);
    Click(CSearchDlg::IDC_SEARCH);
    RunSearch();
    m_pSim->ClearTrace();
    Page().OpenThumbnail(3);
    EXPECT_TRUE(Page().IsLargePicture());
    EXPECT_EQ(CountReceived("J0"), 1);
    EXPECT_EQ(CountReceived("JU"), 1);
    EXPECT_FALSE(Page().GetList()->isVisibleTo(&Page()));
    EXPECT_FALSE(Visible(CSearchDlg::IDC_SEARCH_CANCEL));
    EXPECT_FALSE(Visible(CSearchDlg::IDC_NEXT));
    EXPECT_FALSE(Button(CSearchDlg::IDC_SEARCH)->isEnabled());
    EXPECT_TRUE(Button(CSearchDlg::IDC_PLAYBACK)->isEnabled());
    EXPECT_TRUE(Visible(CSearchDlg::IDC_PRINT));
    EXPECT_NE(Page().GetLargePicture(), nullptr);
    EXPECT_EQ(m_pApp->GetPlaybackCamera(), 17); // all cameras were searched
    // The large picture is drawn: not white at its centre.
    const QImage& surface = Page().GetBmp().Surface();
    EXPECT_NE(surface.pixel(surface.width() / 2, surface.height() / 2), qRgb(255, 255, 255));

    QWidget* pLarge = Page().findChild<QWidget*>("id1646");
    QTest::mouseClick(pLarge, Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_FALSE(Page().IsLargePicture());
    EXPECT_TRUE(Page().GetList()->isVisibleTo(&Page()));
    EXPECT_TRUE(Visible(CSearchDlg::IDC_SEARCH_CANCEL));
    EXPECT_TRUE(Visible(CSearchDlg::IDC_NEXT));
    EXPECT_EQ(Button(CSearchDlg::IDC_PLAYBACK)->text(), "Playback");
}

// The sheet: every thumbnail of the page, six to a row, its time below and its
// camera below that; the large picture: its label and the picture in the frame.
TEST_F(SearchTest, PrintingTheSheetAndTheLargePicture)
{
    SetFields("09", "00", 5, 0);
    Click(CSearchDlg::IDC_SEARCH);
    RunSearch();
    CRecordingPrintSurface recorder;
    CPrintPage::SetRecorder(&recorder);
    Page().GetList()->setCurrentRow(0);
    Page().OnThumbnailClicked();
    ASSERT_TRUE(Button(CSearchDlg::IDC_PRINT)->isEnabled());
    m_prompter.AnswerPrinter(m_dir / "sheet.pdf");
    Click(CSearchDlg::IDC_PRINT);
    const auto pictures = recorder.CallsOf(CRecordingPrintSurface::Kind::Picture);
    ASSERT_EQ(pictures.size(), 24u);
    for (int j = 0; j < 24; ++j) {
        const int x = 50 + 108 * (j % 6);
        const int y = 150 + 105 * (j / 6);
        EXPECT_EQ(Units(pictures[j]), (PicRect {x, y, x + 100, y + 75})) << j;
        EXPECT_EQ(pictures[j].pBits, Page().GetThumb(j).image.constBits()) << j;
        const QString strTime = Page().GetList()->item(j)->text().section(" Camera", 0, 0);
        const auto* pTime = recorder.FindText(strTime);
        ASSERT_NE(pTime, nullptr) << j;
        EXPECT_EQ(pTime->x1, x + 15);
        EXPECT_EQ(pTime->y1, y + 80);
        EXPECT_EQ(pTime->nPoints, 6);
    }
    const auto texts = recorder.CallsOf(CRecordingPrintSurface::Kind::Text);
    ASSERT_EQ(texts.size(), 1u + 48u);
    EXPECT_EQ(texts[2].strText, QStringLiteral("Camera No. %1").arg(Page().GetThumb(0).nCamera + 1));
    EXPECT_EQ(texts[2].x1, 75);
    EXPECT_EQ(texts[2].y1, 240);
    EXPECT_EQ(ReadAll(m_dir / "sheet.pdf").substr(0, 4), "%PDF");

    recorder.Clear();
    Page().OpenThumbnail(0);
    m_prompter.AnswerPrinter(m_dir / "large.pdf");
    Click(CSearchDlg::IDC_PRINT);
    const auto* pLabel = recorder.FindText(Page().GetList()->item(0)->text());
    ASSERT_NE(pLabel, nullptr);
    EXPECT_EQ(pLabel->x1, 50);
    EXPECT_EQ(pLabel->y1, 100);
    const auto large = recorder.CallsOf(CRecordingPrintSurface::Kind::Picture);
    ASSERT_EQ(large.size(), 1u);
    EXPECT_EQ(Units(large[0]), (PicRect {50, 150, 690, 630}));
    EXPECT_EQ(large[0].pBits, Page().GetLargePicture());

    // A cancelled dialog prints nothing.
    recorder.Clear();
    Click(CSearchDlg::IDC_PRINT);
    EXPECT_TRUE(recorder.Calls().empty());
    CPrintPage::SetRecorder(nullptr);
}
