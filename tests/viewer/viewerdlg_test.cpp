#include "viewerfixture.h"

#include "app/pagehost.h"
#include "widgets/bitmapbutton.h"
#include "widgets/colorbtn.h"
#include "widgets/keyartwork.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

#include <chrono>
#include <fstream>
#include <iterator>
#include <set>

namespace {

using Clock = std::chrono::steady_clock;

const QColor YELLOW(255, 255, 0);
const QColor GREEN(0, 255, 0);

QString Id(int nId)
{
    return QStringLiteral("id%1").arg(nId);
}

std::vector<int> Range(int nFrom, int nTo)
{
    std::vector<int> v;
    for (int m = nFrom; m <= nTo; ++m)
        v.push_back(m);
    return v;
}

// "Time: MM/DD/YYYY hh:mm:ss" of a recorded picture, for comparison.
QString EnglishTime(const CSimRecording::Picture& picture)
{
    const SimDateTime t = SimDateTime::FromMs(picture.nTimeMs);
    return QString::asprintf("Time: %02d/%02d/%04d %02d:%02d:%02d", t.nMonth, t.nDay, t.nYear, t.nHour, t.nMinute,
                             t.nSecond);
}

std::size_t FileSize(const std::string& strPath)
{
    std::ifstream file(strPath, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), {}).size();
}

} // namespace

TEST(ViewerCells, SplitsShowTheGroupOfTheSelectedCamera)
{
    struct Case {
        int nSplit;
        int nSelected;
        std::vector<int> inView;
    } cases[] = {
        {1, 7, {7}},
        {2, 6, Range(5, 8)},
        {2, 13, Range(13, 16)},
        {2, 4, Range(1, 4)},
        {3, 9, Range(1, 9)},
        {3, 10, Range(10, 16)},
        {4, 3, Range(1, 16)},
    };
    for (const Case& c : cases) {
        std::vector<int> inView;
        for (int m = 0; m <= 17; ++m) {
            if (CViewerDlg::IsCameraInView(m, c.nSelected, c.nSplit))
                inView.push_back(m);
        }
        EXPECT_EQ(inView, c.inView) << "split " << c.nSplit << " camera " << c.nSelected;
    }
}

TEST(ViewerCells, CellsLieInsideThePictureInOrderWithoutOverlapping)
{
    for (int n = 1; n <= 4; ++n) {
        for (int i = 0; i < n; ++i) {
            const PicRect cell = CViewerDlg::CellRect(i, i, n);
            EXPECT_GE(cell.left, 0);
            EXPECT_GE(cell.top, 0);
            EXPECT_LE(cell.right, CViewerDlg::PICTURE_WIDTH);
            EXPECT_LE(cell.bottom, CViewerDlg::PICTURE_HEIGHT);
            EXPECT_GT(cell.right - cell.left, CViewerDlg::PICTURE_WIDTH / n - 8) << n;
            if (i + 1 < n) {
                EXPECT_LE(cell.right, CViewerDlg::CellRect(i, i + 1, n).left) << n;
                EXPECT_LE(cell.bottom, CViewerDlg::CellRect(i + 1, i, n).top) << n;
            }
        }
    }
    EXPECT_EQ(CViewerDlg::CellRect(2, 0, 2), PicRect {});
    EXPECT_EQ(CViewerDlg::CellRect(0, 0, 5), PicRect {});
}

TEST_F(ViewerTest, CellsFillWithTheCamerasOfTheGroupAndTheirTimes)
{
    struct Case {
        int nCamera;
        int nSplit;
        std::vector<int> cells;
    } cases[] = {
        {6, 2, Range(5, 8)},
        {12, 3, {10, 11, 12, 13, 14, 15, 16, 0, 0}},
        {1, 4, Range(1, 16)},
        {3, 1, {3}},
    };
    Poll(); // not recording: time-lag play of the recorded hour
    GoToRecordingStart();
    for (const Case& c : cases) {
        Click(CViewerDlg::CAMERA_IDS[static_cast<std::size_t>(c.nCamera - 1)]);
        Click(CViewerDlg::DIVISION_IDS[static_cast<std::size_t>(c.nSplit - 1)]);
        for (int i = 0; i < 4; ++i) {
            auto* pButton = Page().findChild<CColorButton*>(Id(CViewerDlg::DIVISION_IDS[i]));
            EXPECT_EQ(pButton->GetFaceColor(), i + 1 == c.nSplit ? YELLOW : GREEN);
        }
        for (int m = 1; m <= 16; ++m) {
            auto* pButton = Page().findChild<CColorButton*>(Id(CViewerDlg::CAMERA_IDS[static_cast<std::size_t>(m - 1)]));
            EXPECT_EQ(pButton->GetFaceColor(), Page().IsCameraInView(m) ? YELLOW : GREEN) << m;
        }
        Click(CViewerDlg::IDC_PLAY);
        Tick(32);
        EXPECT_EQ(CellCameras(Page().GetBmp(), c.nSplit, &CViewerDlg::CellRect), c.cells)
            << "camera " << c.nCamera << " split " << c.nSplit;
        // Each slot's time is that of a picture its camera took (one a second, in turn).
        for (int k = 0; k < 16; ++k) {
            if (!Page().HasPicture(k))
                continue;
            SimDateTime dt;
            const QString strTime = Page().GetSlotTime(k); // MM/DD/YYYY hh:mm:ss
            ASSERT_EQ(strTime.size(), 19);
            dt.nMonth = strTime.mid(0, 2).toInt();
            dt.nDay = strTime.mid(3, 2).toInt();
            dt.nYear = strTime.mid(6, 4).toInt();
            dt.nHour = strTime.mid(11, 2).toInt();
            dt.nMinute = strTime.mid(14, 2).toInt();
            dt.nSecond = strTime.mid(17, 2).toInt();
            EXPECT_EQ(m_sim.FindPicture(dt, 0).nCamera, k + 1) << strTime.toStdString();
        }
        Click(CViewerDlg::IDC_STOP);
    }
}

TEST_F(ViewerTest, TimeLineInBothLanguages)
{
    struct Case {
        Language language;
        const char* pszLine;
        const char* pszSlot;
    } cases[] = {
        {Language::English, "Time: 01/23/2004 12:34:55", "01/23/2004 12:34:55"},
        {Language::Japanese, "Time: 2004/01/23 12:34:55", "2004/01/23 12:34:55"},
    };
    for (const Case& c : cases) {
        Open(c.language);
        Click(CViewerDlg::IDC_LAST_IMAGE); // the newest picture, the last of the recorded hour
        const CSimRecording::Picture picture = PictureAtPosition();
        const int k = picture.nCamera - 1;
        ASSERT_TRUE(Page().HasPicture(k));
        EXPECT_EQ(Page().findChild<QLineEdit*>(Id(CViewerDlg::IDC_TIME))->text(), QString(c.pszLine));
        EXPECT_EQ(Page().GetSlotTime(k), QString(c.pszSlot));
        EXPECT_EQ(Page().GetLastPictureCamera(), k);
        const std::string strTestJpg = m_dir / "prog/test.jpg";
        EXPECT_EQ(static_cast<std::size_t>(Page().GetSlotFileSize(k)), FileSize(strTestJpg));
        EXPECT_EQ(ReadAll(strTestJpg), m_sim.PictureJpeg(picture.nIndex));
        // The REC key carries its caption in the language of the page.
        const int nLanguage = c.language == Language::Japanese ? 0 : 1;
        EXPECT_EQ(static_cast<CBitmapButton*>(Button(CViewerDlg::IDC_REC))->CurrentPixmap().toImage(),
                  CKeyArtwork::Render(242, nLanguage));
    }
    // Bytes that are no digits never end the line early or break it.
    std::uint8_t info[CViewerDlg::INFO_SIZE] = {};
    std::memcpy(info + 5, "0401231234", 10);
    info[15] = 0x00;
    info[16] = 0xFF;
    EXPECT_EQ(CViewerDlg::FormatTimeLine(info, 1), QString("Time: 01/23/2004 12:34:??"));
}

TEST_F(ViewerTest, KeysMoveThePlayStateAndAskForTheStatusOnTheNextTick)
{
    struct Case {
        int nId;
        int nState;
        bool bPollsNext;
    } cases[] = {
        {CViewerDlg::IDC_PLAY, 1, true},      {CViewerDlg::IDC_RPLAY, 2, true},
        {CViewerDlg::IDC_STOP, 0, true},      {CViewerDlg::IDC_PAUSE, 7, true},
        {CViewerDlg::IDC_STEP, 7, true},      {CViewerDlg::IDC_RSTEP, 7, true},
        {CViewerDlg::IDC_BLOCK, 7, true},     {CViewerDlg::IDC_REV, 7, true},
        {CViewerDlg::IDC_LAST_IMAGE, 7, true}, {CViewerDlg::IDC_REAL_TIME, 7, false},
        {CViewerDlg::IDC_TIME_LAG, 7, false}, {CViewerDlg::IDC_REC, 0, true},
    };
    SetRecording(true); // the display-mode buttons are enabled while the recorder records
    Poll();
    for (const Case& c : cases) {
        Click(c.nId == CViewerDlg::IDC_PLAY ? CViewerDlg::IDC_STOP : CViewerDlg::IDC_PLAY);
        Tick(2);
        if (c.nId == CViewerDlg::IDC_REC) { // REC opens the save dialog: cancelled
            QTimer::singleShot(0, [] {
                if (QWidget* pDialog = QApplication::activeModalWidget())
                    pDialog->close();
            });
        }
        Click(c.nId);
        EXPECT_EQ(Page().GetPlayState(), c.nState) << c.nId;
        m_sim.ClearTrace();
        Tick();
        EXPECT_EQ(CountReceived("BTQT"), c.bPollsNext ? 1 : 0) << c.nId;
    }
}

TEST_F(ViewerTest, ShownAndHiddenPagesAndTheSearchPlayback)
{
    Poll();
    Click(CViewerDlg::IDC_PLAY);
    Tick(3);
    Page().hide();
    EXPECT_EQ(Page().GetPlayState(), CViewerDlg::PLAY_STOP);
    Page().show();
    EXPECT_EQ(Page().GetPlayState(), CViewerDlg::PLAY_STOP);

    // The search page asked for a playback of camera 5: a still of it, one picture back.
    Page().hide();
    m_pApp->SetSearchPlayback(1);
    m_pApp->SetPlaybackCamera(5);
    Page().show();
    EXPECT_EQ(Page().GetPlayState(), CViewerDlg::PLAY_SEARCH);
    EXPECT_EQ(Page().GetCamera(), 5);
    EXPECT_EQ(Page().GetSplit(), 1);
    m_sim.ClearTrace();
    Tick();
    EXPECT_EQ(Page().GetPlayState(), CViewerDlg::PLAY_STILL);
    EXPECT_EQ(m_pApp->GetSearchPlayback(), 0);
    EXPECT_EQ(CountReceived("J2"), 1);
    EXPECT_EQ(Page().GetKeyMode(), CViewerDlg::KEY_STILL);

    // Camera 17 stands for all cameras.
    Page().hide();
    m_pApp->SetSearchPlayback(1);
    m_pApp->SetPlaybackCamera(17);
    Page().show();
    EXPECT_EQ(Page().IsAllCamera(), 1);
    EXPECT_EQ(Page().findChild<CColorButton*>(Id(CViewerDlg::IDC_ALL))->GetFaceColor(), YELLOW);
    EXPECT_EQ(Page().findChild<CColorButton*>(Id(CViewerDlg::CAMERA_IDS[0]))->GetFaceColor(), GREEN);
}

TEST_F(ViewerTest, SpeedDoublesUpToEightThenStartsAgainAndReverseStartsAtOne)
{
    Poll(); // not recording: time lag
    auto* pSpeed = Page().findChild<QLabel*>(Id(CViewerDlg::IDC_SPEED));
    std::vector<QString> texts;
    for (int i = 0; i < 5; ++i) {
        Click(CViewerDlg::IDC_PLAY);
        Tick();
        EXPECT_TRUE(pSpeed->isVisibleTo(&Page()));
        texts.push_back(pSpeed->text());
    }
    Click(CViewerDlg::IDC_RPLAY);
    texts.push_back(pSpeed->text());
    EXPECT_EQ(texts, (std::vector<QString> {"Playback  :  X 1", "Playback  :  X 2", "Playback  :  X 4",
                                            "Playback  :  X 8", "Playback  :  X 1", "Rev Play  :  X 1"}));
    Click(CViewerDlg::IDC_PAUSE);
    EXPECT_FALSE(pSpeed->isVisibleTo(&Page()));
}

// Time-lag play starts with the recorder's own playback start (J5, the first
// picture of its newest recording) on its first tick; with REC MODE 1 it goes
// on from where the recorder stands.
TEST_F(ViewerTest, TimeLagPlayStartsWhereTheRecordersModeSays)
{
    struct Case {
        int nRecMode;
        const char* pszFirstMove;
        const char* pszTime;
    } cases[] = {
        {0, "J5", "Time: 01/23/2004 11:34:56"},
        // On from there: Play fetched 11:34:57, the tick two more, showing the second.
        {1, "J1", "Time: 01/23/2004 11:34:59"},
    };
    for (const Case& c : cases) {
        m_sim.SetSetting(6, c.nRecMode);
        Poll();
        Click(CViewerDlg::IDC_PLAY);
        m_sim.ClearTrace();
        Tick();
        const std::vector<std::string> codes = ReceivedCodes();
        const auto move = std::find_if(codes.begin(), codes.end(),
                                       [](const std::string& str) { return str[0] == 'J' && str[1] <= '6'; });
        ASSERT_NE(move, codes.end());
        EXPECT_EQ(*move, c.pszFirstMove) << c.nRecMode;
        EXPECT_EQ(Page().findChild<QLineEdit*>(Id(CViewerDlg::IDC_TIME))->text(), QString(c.pszTime)) << c.nRecMode;
        Click(CViewerDlg::IDC_STOP);
    }
}

TEST_F(ViewerTest, StopSendsNothingAndLeavesTheEmptyGrid)
{
    Click(CViewerDlg::DIVISION_IDS[3]);
    Poll();
    GoToRecordingStart();
    Click(CViewerDlg::IDC_PLAY);
    Tick(12);
    const std::vector<int> before = CellCameras(Page().GetBmp(), 4, &CViewerDlg::CellRect);
    ASSERT_GT(std::count_if(before.begin(), before.end(), [](int m) { return m != 0; }), 4);

    m_sim.ClearTrace();
    Click(CViewerDlg::IDC_STOP);
    EXPECT_TRUE(m_sim.Trace().empty());
    EXPECT_EQ(CellCameras(Page().GetBmp(), 4, &CViewerDlg::CellRect), std::vector<int>(16, 0));
    // The slots keep their pictures; the grid stays.
    for (int m : before) {
        if (m != 0) {
            EXPECT_TRUE(Page().HasPicture(m - 1)) << m;
        }
    }
    EXPECT_EQ(Page().GetBmp().Surface().pixelColor(CViewerDlg::AREA_WIDTH / 4, 300), QColor(180, 180, 180));
    Tick();
    EXPECT_EQ(ReceivedCodes(), std::vector<std::string> {"BTQT"});
}

TEST_F(ViewerTest, PauseLightsItsKeyAndEnablesPrintOnTheNextTick)
{
    auto normal = [this](int nId) { return static_cast<CBitmapButton*>(Button(nId))->GetNormalId(); };
    QAbstractButton* pPrint = Button(CViewerDlg::IDC_PRINT);
    Poll();
    Click(CViewerDlg::IDC_PLAY);
    Tick(3);
    EXPECT_EQ(normal(CViewerDlg::IDC_PLAY), 264);
    EXPECT_FALSE(pPrint->isEnabled());

    Click(CViewerDlg::IDC_PAUSE);
    EXPECT_FALSE(pPrint->isEnabled());
    EXPECT_EQ(normal(CViewerDlg::IDC_PAUSE), 224);
    Tick();
    EXPECT_TRUE(pPrint->isEnabled());
    EXPECT_EQ(normal(CViewerDlg::IDC_PAUSE), 250);
    EXPECT_EQ(normal(CViewerDlg::IDC_PLAY), 209);

    Click(CViewerDlg::IDC_STOP);
    Tick();
    EXPECT_FALSE(pPrint->isEnabled());
    EXPECT_EQ(normal(CViewerDlg::IDC_STOP), 248);
    EXPECT_EQ(normal(CViewerDlg::IDC_PAUSE), 224);
}

TEST_F(ViewerTest, RealTimePlayShowsTheLatestPictureFirst)
{
    SetRecording(true, 1);
    Poll();
    ASSERT_EQ(Page().GetDisplayMode(), CViewerDlg::DISP_REAL_TIME);
    auto normal = [this](int nId) { return static_cast<CBitmapButton*>(Button(nId))->GetNormalId(); };

    m_sim.ClearTrace();
    Click(CViewerDlg::IDC_PLAY);
    std::vector<std::string> codes = ReceivedCodes();
    ASSERT_FALSE(codes.empty());
    EXPECT_EQ(codes.front(), "J6");
    const CSimRecording::Picture latest = PictureAtPosition();
    EXPECT_EQ(Page().findChild<QLineEdit*>(Id(CViewerDlg::IDC_TIME))->text(), EnglishTime(latest));
    EXPECT_EQ(Page().GetLastPictureCamera(), latest.nCamera - 1);
    EXPECT_EQ(normal(CViewerDlg::IDC_PAUSE), 250);

    m_sim.ClearTrace();
    Tick();
    codes = ReceivedCodes();
    EXPECT_EQ(std::count(codes.begin(), codes.end(), "J1"), 1);
    EXPECT_EQ(std::count(codes.begin(), codes.end(), "J6"), 0);
    EXPECT_EQ(normal(CViewerDlg::IDC_PLAY), 264);
    EXPECT_EQ(normal(CViewerDlg::IDC_PAUSE), 224);
}

TEST_F(ViewerTest, StatusPollFollowsTheRecorder)
{
    struct Case {
        const char* pszWhat;
        std::array<int, 4> status;
        bool bRefused;
        bool bModesEnabled;
        int nDisplayMode;
        bool bRecAndSearch;
    } cases[] = {
        {"not recording", {1, 0, 0, 0}, false, false, CViewerDlg::DISP_TIME_LAG, true},
        {"recording", {1, 0, 1, 0}, false, true, CViewerDlg::DISP_REAL_TIME, true},
        {"switched off", {0, 0, 0, 0}, false, false, CViewerDlg::DISP_TIME_LAG, false},
        // A refused query counts as recording; REC and Search keep what the last answer gave.
        {"refused", {1, 0, 0, 0}, true, true, CViewerDlg::DISP_REAL_TIME, false},
    };
    for (const Case& c : cases) {
        m_sim.SetStatus(c.status);
        m_sim.ClearFaults();
        if (c.bRefused)
            m_sim.SetFault("BTQT", SimFault::Refuse);
        Poll();
        EXPECT_EQ(Button(CViewerDlg::IDC_REAL_TIME)->isEnabled(), c.bModesEnabled) << c.pszWhat;
        EXPECT_EQ(Button(CViewerDlg::IDC_TIME_LAG)->isEnabled(), c.bModesEnabled) << c.pszWhat;
        EXPECT_EQ(Button(CViewerDlg::IDC_LAST_IMAGE)->isEnabled(), c.bModesEnabled) << c.pszWhat;
        EXPECT_EQ(Page().GetDisplayMode(), c.nDisplayMode) << c.pszWhat;
        EXPECT_EQ(Button(CViewerDlg::IDC_REC)->isEnabled(), c.bRecAndSearch) << c.pszWhat;
        EXPECT_EQ(Button(CViewerDlg::IDC_SEARCH)->isEnabled(), c.bRecAndSearch) << c.pszWhat;
    }
    // The radio buttons themselves are not changed by the poll.
    EXPECT_TRUE(static_cast<QRadioButton*>(Button(CViewerDlg::IDC_REAL_TIME))->isChecked());
}

TEST_F(ViewerTest, KeyImagesLightExactlyTheKeyOfTheMode)
{
    const int lit[] = {CViewerDlg::IDC_STOP, CViewerDlg::IDC_PLAY, CViewerDlg::IDC_RPLAY, CViewerDlg::IDC_PAUSE,
                       CViewerDlg::IDC_REC};
    auto litKeys = [&] {
        std::set<int> ids;
        for (int nId : lit) {
            if (static_cast<CBitmapButton*>(Button(nId))->GetNormalId() == CKeyArtwork::FindKey(nId)->nLit)
                ids.insert(nId);
        }
        return ids;
    };
    struct Step {
        int nMode;
        std::set<int> lit;
    } steps[] = {
        {CViewerDlg::KEY_PLAY, {CViewerDlg::IDC_PLAY}},
        {CViewerDlg::KEY_BLOCK, {CViewerDlg::IDC_PLAY}}, // modes 3 to 6 change nothing
        {CViewerDlg::KEY_STILL, {CViewerDlg::IDC_PAUSE}},
        {CViewerDlg::KEY_SAVING, {CViewerDlg::IDC_PAUSE, CViewerDlg::IDC_REC}}, // 8 changes REC only
        {CViewerDlg::KEY_RPLAY, {CViewerDlg::IDC_RPLAY}},
        {CViewerDlg::KEY_STOP, {CViewerDlg::IDC_STOP}},
    };
    EXPECT_EQ(litKeys(), std::set<int> {CViewerDlg::IDC_STOP});
    for (const Step& step : steps) {
        Page().UpdateKeyImages(step.nMode);
        EXPECT_EQ(litKeys(), step.lit) << step.nMode;
    }
}

TEST_F(ViewerTest, SearchButtonHandsTheFirstTabToTheSearchPage)
{
    // The page asks its host, whatever window that is.
    struct Host : CPageHost {
        std::vector<bool> calls;
        void SetSearchMode(bool bOn) override { calls.push_back(bOn); }
        bool IsSearchMode() const override { return !calls.empty() && calls.back(); }
        void EnableTabs(bool) override {}
    } host;
    m_pApp->SetMainWnd(&host);
    Page().show();
    Click(CViewerDlg::IDC_SEARCH);
    EXPECT_EQ(host.calls, std::vector<bool> {true});
    m_pApp->SetMainWnd(nullptr);
    // Without a host the button does nothing.
    Click(CViewerDlg::IDC_SEARCH);
    EXPECT_EQ(host.calls.size(), 1u);
}

// A recorder that stops answering: a failed fetch costs the one-second receive
// limit, not more; time-lag play stops with an empty grid, real-time play goes
// on as it was; only a lost link asks whether to reconnect.
TEST_F(ViewerTest, RecorderThatStopsAnswering)
{
    struct Case {
        const char* pszWhat;
        bool bRecording;
        SimFault fault;
        int nState;
        std::vector<int> modes;
    } cases[] = {
        {"time lag, silent", false, SimFault::Silence, CViewerDlg::PLAY_STOP, {}},
        {"real time, silent", true, SimFault::Silence, CViewerDlg::PLAY_FORWARD, {}},
        {"real time, reset", true, SimFault::Reset, CViewerDlg::PLAY_FORWARD, {8}},
    };
    for (const Case& c : cases) {
        m_sim.ClearFaults();
        m_prompter.Clear();
        SetRecording(c.bRecording, 1);
        Click(CViewerDlg::DIVISION_IDS[3]);
        Poll();
        Click(CViewerDlg::IDC_PLAY);
        Tick(20);
        const QString strTime = Page().findChild<QLineEdit*>(Id(CViewerDlg::IDC_TIME))->text();
        const QImage before = Page().GetBmp().Surface().copy();

        if (c.fault == SimFault::Reset) {
            m_sim.SetFault("*", c.fault, 1);
        } else {
            m_sim.SetFault("J1", c.fault);
            m_sim.SetFault("J6", c.fault);
        }
        m_prompter.Answer(1); // "Reconnect", should it be asked
        const auto start = Clock::now();
        Tick();
        EXPECT_LT(Clock::now() - start, std::chrono::seconds(5)) << c.pszWhat;
        EXPECT_EQ(Page().GetPlayState(), c.nState) << c.pszWhat;
        EXPECT_EQ(m_prompter.ConfirmModes(), c.modes) << c.pszWhat;
        if (c.nState == CViewerDlg::PLAY_STOP) {
            EXPECT_EQ(CellCameras(Page().GetBmp(), 4, &CViewerDlg::CellRect), std::vector<int>(16, 0));
        } else {
            EXPECT_EQ(Page().findChild<QLineEdit*>(Id(CViewerDlg::IDC_TIME))->text(), strTime) << c.pszWhat;
            EXPECT_EQ(Page().GetBmp().Surface(), before) << c.pszWhat;
        }
        m_sim.ClearFaults();
        Click(CViewerDlg::IDC_STOP);
    }
}

TEST_F(ViewerTest, PictureWithAnUnreadableMarkLandsInCameraOnesSlot)
{
    m_sim.SetFixedPicture(CameraJpeg(5, true));
    Click(CViewerDlg::IDC_LAST_IMAGE);
    EXPECT_TRUE(Page().HasPicture(0));
    for (int k = 1; k < 16; ++k)
        EXPECT_FALSE(Page().HasPicture(k)) << k;
    EXPECT_EQ(Page().GetLastPictureCamera(), 0);
    // Camera 1's cell shows it: the picture itself is camera 5's.
    EXPECT_EQ(CellCameras(Page().GetBmp(), 1, &CViewerDlg::CellRect), std::vector<int> {5});
}

// While time-lag play measures the cycle it fetches two pictures a tick and
// shows the second; when the second fails half-way (its record came, its
// picture did not), the first is shown with its own record, in its own slot.
TEST_F(ViewerTest, FailedSecondPictureLeavesTheFirstWithItsOwnRecord)
{
    Click(CViewerDlg::DIVISION_IDS[3]);
    Poll();
    GoToRecordingStart();
    Click(CViewerDlg::IDC_PLAY); // fetches one picture (upload 1)
    m_sim.SetFault("JU", SimFault::SizeZero, 1, 1); // the tick's second upload announces nothing
    Tick();
    const CSimRecording::Picture first = m_sim.PictureAt(m_sim.PicturePosition() - 1);
    EXPECT_EQ(Page().GetLastPictureCamera(), first.nCamera - 1);
    EXPECT_EQ(Page().findChild<QLineEdit*>(Id(CViewerDlg::IDC_TIME))->text(), EnglishTime(first));
    std::vector<int> expected(16, 0);
    expected[static_cast<std::size_t>(first.nCamera - 1)] = first.nCamera;
    EXPECT_EQ(CellCameras(Page().GetBmp(), 4, &CViewerDlg::CellRect), expected);
}

// The same when the second picture arrives whole but does not decode: the
// slot's picture, its record, its file size and test.jpg (what a save copies)
// all stay the first picture's.
TEST_F(ViewerTest, UndecodableSecondPictureLeavesEverythingWithTheFirst)
{
    Click(CViewerDlg::DIVISION_IDS[3]);
    Poll();
    GoToRecordingStart();
    Click(CViewerDlg::IDC_PLAY);
    m_sim.SetFault("JU", SimFault::BadPicture, 1, 1); // the tick's second upload
    Tick();
    const CSimRecording::Picture first = m_sim.PictureAt(m_sim.PicturePosition() - 1);
    const std::string strFirst = m_sim.PictureJpeg(first.nIndex);
    const int k = first.nCamera - 1;
    EXPECT_EQ(Page().GetLastPictureCamera(), k);
    EXPECT_EQ(Page().findChild<QLineEdit*>(Id(CViewerDlg::IDC_TIME))->text(), EnglishTime(first));
    EXPECT_EQ(Page().GetSlotFileSize(k), static_cast<int>(strFirst.size()));
    EXPECT_EQ(ReadAll(m_dir / "prog/test.jpg"), strFirst);
    std::vector<int> expected(16, 0);
    expected[static_cast<std::size_t>(k)] = first.nCamera;
    EXPECT_EQ(CellCameras(Page().GetBmp(), 4, &CViewerDlg::CellRect), expected);
}

// "All" in the still state shows the last picture full size at once; no new
// picture would come to fill a blank area.
TEST_F(ViewerTest, AllInTheStillStateShowsTheLastPictureAtOnce)
{
    Click(CViewerDlg::DIVISION_IDS[1]); // cameras 1 to 4
    Click(CViewerDlg::IDC_LAST_IMAGE); // the newest picture, camera 16, not in view
    ASSERT_EQ(Page().GetPlayState(), CViewerDlg::PLAY_STILL);
    const int nCamera = Page().GetLastPictureCamera() + 1;
    Click(CViewerDlg::IDC_ALL);
    EXPECT_EQ(Page().IsAllCamera(), 1);
    EXPECT_EQ(CellCameras(Page().GetBmp(), 1, &CViewerDlg::CellRect), std::vector<int> {nCamera});
}

// Fast time-lag play skips speed x cycle pictures with step requests at the
// start of every cycle; a recorder that fails one step is not asked for the
// rest (each would cost the receive limit).
TEST_F(ViewerTest, SkippingEndsAtTheFirstStepTheRecorderFails)
{
    Poll();
    GoToRecordingStart();
    Click(CViewerDlg::IDC_PLAY); // speed 1; one J1 (the current picture)
    Click(CViewerDlg::IDC_PLAY); // speed 2
    // 16 cameras in turn: 8 ticks of two pictures measure the cycle (16), then
    // 15 ticks of one; the 24th tick's fetch is answered and its skip of 32
    // pictures meets the silent recorder at its first step.
    m_sim.SetFault("J1", SimFault::Silence, -1, 16 + 15 + 1);
    m_sim.ClearTrace();
    const auto start = Clock::now();
    Tick(24);
    EXPECT_LT(Clock::now() - start, std::chrono::seconds(8));
    EXPECT_EQ(CountReceived("J1"), 16 + 15 + 1 + 1);
    Tick();
    EXPECT_EQ(Page().GetPlayState(), CViewerDlg::PLAY_STOP);
}

// When the first camera never comes round (here: every picture carries
// another camera's mark), the measurement ends after its longest count, and
// fast play then skips a bounded number of pictures per cycle.
TEST_F(ViewerTest, CycleMeasurementEndsWhenTheCameraNeverComesRound)
{
    Poll();
    GoToRecordingStart();
    for (int i = 0; i < 4; ++i)
        Click(CViewerDlg::IDC_PLAY); // speed 8
    // Play noted the camera of the picture the recorder stands on; every
    // picture from now on carries the next camera's mark.
    m_sim.SetFixedPicture(CameraJpeg(PictureAtPosition().nCamera % 16 + 1, false));
    Tick(CViewerDlg::MAX_CYCLE_TICKS);
    m_sim.ClearTrace();
    Tick();
    EXPECT_EQ(CountReceived("JU"), 1); // the cycle is taken as known: one picture a tick
    int nMostSteps = 0;
    for (int i = 0; i < 2 * CViewerDlg::MAX_CYCLE_TICKS; ++i) {
        m_sim.ClearTrace();
        Tick();
        nMostSteps = std::max(nMostSteps, CountReceived("J1"));
    }
    EXPECT_EQ(nMostSteps, 1 + 8 * 2 * CViewerDlg::MAX_CYCLE_TICKS);
}
