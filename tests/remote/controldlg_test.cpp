#include "remotefixture.h"

#include "remote/controltabctrl.h"
#include "widgets/colorbtn.h"
#include "widgets/resstring.h"

#include <QPushButton>

namespace {

const QColor W = CControlDlg::White();
const QColor G = CControlDlg::Green();
const QColor R = CControlDlg::Red();
const QColor K = CControlDlg::Grey();

using Codes = std::vector<std::string>;

// The faces a poll leaves, key by key.
struct Faces {
    QColor timer, rec, reverse, pause, play, stop, power, buzzer;
    bool operator==(const Faces&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Faces& f)
{
    for (const QColor& c : {f.timer, f.rec, f.reverse, f.pause, f.play, f.stop, f.power, f.buzzer})
        out << c.name().toStdString() << ' ';
    return out;
}

} // namespace

class ControlDlgTest : public RemoteTest {
protected:
    Faces Polled() const
    {
        using C = CControlDlg;
        return {Face(C::IDC_TIMER), Face(C::IDC_REC),   Face(C::IDC_REVERSE_PLAY), Face(C::IDC_PAUSE),
                Face(C::IDC_PLAY),  Face(C::IDC_PLAY_STOP), Face(C::IDC_POWER),    Face(C::IDC_BUZZER_STOP)};
    }
};

// Each row: the state polled before, the state polled now, the faces then.
TEST_F(ControlDlgTest, PollColoursTheKeysByTheStatusTables)
{
    struct Case {
        std::array<int, 4> before;
        std::array<int, 4> now;
        Faces faces; // TIMER, REC, REVERSE, PAUSE, PLAY, STOP, POWER, BUZZER
        bool bTimerEnabled;
    };
    const Case cases[] = {
        // playback value
        {{1, 2, 0, 0}, {1, 0, 0, 0}, {W, W, W, W, W, W, G, W}, true},
        {{1, 0, 0, 0}, {1, 1, 0, 0}, {W, W, W, G, W, W, G, W}, true},
        {{1, 0, 0, 0}, {1, 2, 0, 0}, {W, W, W, W, G, W, G, W}, true},
        {{1, 0, 0, 0}, {1, 3, 0, 0}, {W, W, W, W, G, W, G, W}, true},
        {{1, 0, 0, 0}, {1, 4, 0, 0}, {W, W, G, W, W, W, G, W}, true},
        {{1, 0, 0, 0}, {1, 5, 0, 0}, {W, W, G, W, W, W, G, W}, true},
        {{1, 1, 0, 0}, {1, 6, 0, 0}, {W, W, W, W, W, W, G, W}, true},  // only PAUSE goes out
        {{1, 4, 0, 0}, {1, 6, 0, 0}, {W, W, G, W, W, W, G, W}, true},  // REVERSE PLAY kept
        {{1, 2, 0, 0}, {1, 6, 0, 0}, {W, W, W, W, G, W, G, W}, true},  // PLAY kept
        {{1, 1, 0, 0}, {1, 9, 0, 0}, {W, W, W, G, W, W, G, W}, true},  // outside the table: all kept
        {{1, 1, 0, 0}, {1, -1, 0, 0}, {W, W, W, G, W, W, G, W}, true},
        // recording value and power
        {{1, 0, 0, 0}, {1, 0, 1, 0}, {K, R, W, W, W, W, G, W}, false},
        {{1, 0, 1, 0}, {1, 0, 0, 0}, {W, W, W, W, W, W, G, W}, true},
        {{1, 0, 0, 0}, {2, 0, 0, 0}, {G, W, W, W, W, W, G, W}, true},
        {{1, 0, 0, 0}, {0, 0, 0, 0}, {W, W, W, W, W, W, W, W}, true},
        {{1, 0, 0, 0}, {5, 0, 0, 0}, {W, W, W, W, W, W, G, W}, true},   // POWER kept
        {{1, 0, 1, 0}, {1, 0, 7, 0}, {W, W, W, W, W, W, G, W}, false},  // TIMER white by power, stays disabled
        {{2, 0, 1, 0}, {2, 0, 2, 0}, {G, R, W, W, W, W, G, W}, true},   // alarm in standby: TIMER back
    };
    // A Sunday morning: no timer program is due, so timer standby records nothing.
    m_sim.SetClock({2004, 3, 14, 8, 5, 0});
    for (const Case& c : cases) {
        SetStatus(c.before);
        m_sim.SetStatus(c.now);
        Tick();
        EXPECT_EQ(Polled(), c.faces) << c.now[0] << c.now[1] << c.now[2];
        EXPECT_EQ(Page().Key(CControlDlg::IDC_TIMER)->isEnabled(), c.bTimerEnabled) << c.now[2];
        EXPECT_EQ(ReceivedCodes(), Codes {"BTQT"});
        m_sim.ClearTrace();
    }
}

TEST_F(ControlDlgTest, TimerRecordingLightsTimerAndRec)
{
    SetStatus({1, 0, 2, 0});
    SetStatus({1, 0, 1, 0});
    // Monday 08:05, in standby: the weekday program records.
    m_sim.SetStatus({2, 0, 0, 0});
    Tick();
    ASSERT_EQ(Page().GetStatus()[2], 3);
    EXPECT_EQ(Polled(), (Faces {G, R, W, W, W, W, G, W}));
    EXPECT_TRUE(Page().Key(CControlDlg::IDC_TIMER)->isEnabled());
}

TEST_F(ControlDlgTest, BuzzerStopBlinksEveryThirdTickOfAnAlarmAndTheLampFollowsTheDisk)
{
    SetStatus({1, 0, 2, 0});
    std::vector<QColor> faces;
    for (int i = 0; i < 9; ++i) {
        Tick();
        faces.push_back(Face(CControlDlg::IDC_BUZZER_STOP));
    }
    // the first tick above was the blink count's second
    EXPECT_EQ(faces, (std::vector<QColor> {W, R, R, R, W, W, W, R, R}));
    EXPECT_EQ(Face(CControlDlg::IDC_REC), R);

    EXPECT_FALSE(Page().IsLampLit());
    m_sim.SetStatus({1, 0, 0, 4});
    Tick();
    EXPECT_TRUE(Page().IsLampLit());
    EXPECT_EQ(Face(CControlDlg::IDC_BUZZER_STOP), W);
    m_sim.SetStatus({1, 0, 0, 0});
    Tick();
    EXPECT_FALSE(Page().IsLampLit());
}

TEST_F(ControlDlgTest, AFailedPollRecoloursFromTheLastValues)
{
    SetStatus({1, 2, 1, 1});
    m_sim.SetFault("BTQT", SimFault::Refuse, 1);
    m_sim.SetStatus({1, 0, 0, 0});
    Tick();
    EXPECT_EQ(Page().GetStatus(), (std::array<int, 4> {1, 2, 1, 1}));
    EXPECT_EQ(Face(CControlDlg::IDC_PLAY), G);
    EXPECT_EQ(Face(CControlDlg::IDC_REC), R);
    EXPECT_TRUE(Page().IsLampLit());
}

TEST_F(ControlDlgTest, PollIsSilentWhileHiddenAndInMenuMode)
{
    Page().hide();
    Tick(3);
    EXPECT_TRUE(ReceivedCodes().empty());
    Page().show();
    Tick();
    EXPECT_EQ(ReceivedCodes(), Codes {"BTQT"});

    EnterMenuMode(CControlTabCtrl::PAGE_LOG);
    Tick(3);
    EXPECT_TRUE(ReceivedCodes().empty());
}

TEST_F(ControlDlgTest, PlainKeysSendTheirCommandWithoutAsking)
{
    using C = CControlDlg;
    const std::pair<int, const char*> keys[] = {
        {C::IDC_REVERSE_PLAY, "BTRV"}, {C::IDC_PAUSE, "BTPS"}, {C::IDC_PLAY, "BTPL"}, {C::IDC_PLAY_STOP, "BTST"},
        {C::IDC_BLOCK_MINUS, "BTLF"}, {C::IDC_BLOCK_PLUS, "BTRT"}, {C::IDC_UP, "BTUP"}, {C::IDC_DOWN, "BTDW"},
        {C::IDC_SELECT, "BTSL"}, {C::IDC_MENU, "BTMN"}, {C::IDC_SEARCH, "BTSC"}, {C::IDC_BUZZER_STOP, "BTDC"},
    };
    SetStatus({1, 0, 2, 0});
    for (const auto& [nId, pszCode] : keys) {
        Click(nId);
        EXPECT_EQ(ReceivedCodes(), Codes {pszCode}) << nId;
        m_sim.ClearTrace();
    }
    EXPECT_TRUE(m_prompter.Asks().empty());
    EXPECT_EQ(m_sim.GetStatus()[2], 0); // BUZZER STOP reset the alarm
}

// The question a key asks from the last poll's values, and what it sends.
TEST_F(ControlDlgTest, TimerRecAndPowerAskByTheLastPollAndActOnYes)
{
    struct Case {
        int nKey;
        std::array<int, 4> status;
        int nAnswer;
        std::vector<int> modes;
        Codes sent;
        std::vector<int> waits;
    };
    using C = CControlDlg;
    const Case cases[] = {
        {C::IDC_TIMER, {0, 0, 0, 0}, 1, {}, {}, {}},
        {C::IDC_TIMER, {1, 0, 0, 0}, 0, {}, {"BTON"}, {}},
        {C::IDC_TIMER, {2, 0, 0, 0}, 0, {2}, {}, {}},
        {C::IDC_TIMER, {2, 0, 0, 0}, 1, {2}, {"BTON"}, {}},
        {C::IDC_REC, {2, 0, 0, 0}, 0, {18}, {}, {}},
        {C::IDC_REC, {2, 0, 0, 0}, 1, {18}, {"BTQT", "BTRD"}, {}},
        {C::IDC_REC, {2, 0, 3, 0}, 1, {18}, {"BTQT", "BTRD"}, {}},
        {C::IDC_REC, {1, 0, 1, 0}, 0, {5}, {}, {}},
        {C::IDC_REC, {1, 0, 1, 0}, 1, {5}, {"BTQT", "BTRS"}, {}},
        {C::IDC_REC, {1, 0, 2, 0}, 1, {5}, {"BTQT", "BTRD"}, {}},
        {C::IDC_REC, {1, 0, 0, 0}, 0, {}, {"BTQT", "BTRD"}, {}},
        {C::IDC_POWER, {1, 0, 0, 0}, 0, {6}, {}, {}},
        {C::IDC_POWER, {2, 0, 0, 0}, 1, {6}, {"BTQT", "BTPF"}, {500}},
        {C::IDC_POWER, {0, 0, 0, 0}, 0, {}, {"BTQT", "BTPO"}, {5000}},
    };
    for (const Case& c : cases) {
        SetStatus(c.status);
        m_prompter.Clear();
        m_prompter.Answer(c.nAnswer);
        const std::size_t nWaits = m_waits.Waits().size();
        Click(c.nKey);
        EXPECT_EQ(m_prompter.ConfirmModes(), c.modes) << c.nKey << ' ' << c.status[0] << c.status[2];
        EXPECT_EQ(ReceivedCodes(), c.sent) << c.nKey << ' ' << c.status[0] << c.status[2];
        EXPECT_EQ(std::vector<int>(m_waits.Waits().begin() + static_cast<long>(nWaits), m_waits.Waits().end()),
                  c.waits);
    }
}

TEST_F(ControlDlgTest, MenuModeWhileRecordingStopsAndSwitchesOffThenOnAgain)
{
    SetStatus({1, 0, 1, 0});
    m_prompter.Answer(1);
    Page().OnMenuSetting();
    EXPECT_EQ(m_prompter.ConfirmModes(), std::vector<int> {0});
    // The play page, current before, reads what the recorder holds now.
    EXPECT_EQ(ReceivedCodes(), (Codes {"BTQT", "BTRS", "BTQT", "BTPF", "MVPM", "MVPR"}));
    EXPECT_EQ(m_waits.Waits(), std::vector<int> {500});
    EXPECT_TRUE(Page().IsMenuMode());
    EXPECT_EQ(Page().GetMenuButton()->text(), ResString(243));
    EXPECT_FALSE(Page().GetUploadButton()->isEnabled());
    EXPECT_TRUE(Page().GetTabCtrl()->isVisible());
    for (const int nId : CControlDlg::KEY_IDS) {
        EXPECT_FALSE(Page().Key(nId)->isEnabled()) << nId;
        EXPECT_EQ(Face(nId), K) << nId;
    }

    m_sim.ClearTrace();
    Page().OnMenuSetting();
    EXPECT_EQ(ReceivedCodes(), (Codes {"BTQT", "BTQT", "BTPO"}));
    EXPECT_EQ(m_waits.Waits(), (std::vector<int> {500, 5000}));
    EXPECT_EQ(m_sim.GetStatus()[0], 1);
    EXPECT_FALSE(Page().IsMenuMode());
    EXPECT_EQ(Page().GetMenuButton()->text(), ResString(241));
    EXPECT_TRUE(Page().GetUploadButton()->isEnabled());
    EXPECT_FALSE(Page().GetTabCtrl()->isVisible());
    for (const int nId : CControlDlg::KEY_IDS) {
        EXPECT_TRUE(Page().Key(nId)->isEnabled()) << nId;
        EXPECT_EQ(Face(nId), W) << nId;
    }
}

TEST_F(ControlDlgTest, MenuModeWithTheRecorderOffAsksNothingAndLeavesItOff)
{
    SetStatus({0, 0, 0, 0});
    Page().GetTabCtrl()->SelectPage(CControlTabCtrl::PAGE_COMM);
    m_sim.ClearTrace();
    Page().OnMenuSetting();
    EXPECT_TRUE(m_prompter.Asks().empty());
    EXPECT_EQ(ReceivedCodes(), (Codes {"MVTR", "MVTF", "MVTC"}));
    m_sim.ClearTrace();
    Page().OnMenuSetting();
    EXPECT_EQ(ReceivedCodes(), Codes {"BTQT"});
    EXPECT_TRUE(m_waits.Waits().empty());
    EXPECT_EQ(m_sim.GetStatus()[0], 0);
}

TEST_F(ControlDlgTest, MenuModeDeclinedChangesNothing)
{
    SetStatus({2, 0, 0, 0});
    Page().OnMenuSetting(); // the script answers no
    EXPECT_EQ(m_prompter.ConfirmModes(), std::vector<int> {0});
    EXPECT_TRUE(ReceivedCodes().empty());
    EXPECT_FALSE(Page().IsMenuMode());
    EXPECT_TRUE(Page().GetUploadButton()->isEnabled());
    EXPECT_EQ(Page().GetMenuButton()->text(), ResString(241));
}
