// The simulated recorder as a client sees it: its keys, its menu, its clock,
// its timer recording, its clients and what it makes of bad input.
#include "fixtures/scriptedprompter.h"
#include "fixtures/waitrecorder.h"
#include "link/vx2200ctrl.h"
#include "sim/recordersim.h"

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

CRecorderSim::Options StartingAt(const SimDateTime& start)
{
    CRecorderSim::Options options;
    options.start = start;
    return options;
}

class RecorderSimTest : public ::testing::Test {
protected:
    RecorderSimTest() : m_sim(StartingAt({2004, 3, 15, 8, 5, 0})) {}
    void SetUp() override
    {
        ASSERT_TRUE(m_sim.Start());
        m_ctrl.SetAskToReconnect(false);
        ASSERT_EQ(m_ctrl.Connect("127.0.0.1", m_sim.Port()), 0);
    }
    std::array<int, 4> Status()
    {
        std::array<int, 4> status {-9, -9, -9, -9};
        EXPECT_EQ(m_ctrl.QueryStatus(status), 0);
        return status;
    }
    int NewestEvent(int nKind) const
    {
        const std::vector<SimLogRecord> log = m_sim.GetLog(nKind);
        return log.empty() ? -1 : log.front().nCode;
    }

    CRecorderSim m_sim;
    CVX2200Ctrl m_ctrl;
    CWaitRecorder m_waits;
};

} // namespace

TEST_F(RecorderSimTest, KeysWorkLikeTheFrontPanel)
{
    const struct {
        int nKey;
        int nStatus;
        std::array<int, 4> after;
        int nLogKind;  // -1: no new log record
        int nEvent;
    } steps[] = {
        {CCommandTable::KEY_BTPL, 0, {1, 2, 0, 0}, -1, 0},
        {CCommandTable::KEY_BTPL, 0, {1, 3, 0, 0}, -1, 0},
        {CCommandTable::KEY_BTPS, 0, {1, 1, 0, 0}, -1, 0},
        {CCommandTable::KEY_BTPS, 0, {1, 6, 0, 0}, -1, 0},
        {CCommandTable::KEY_BTST, 0, {1, 0, 0, 0}, -1, 0},
        {CCommandTable::KEY_BTRV, 0, {1, 4, 0, 0}, -1, 0},
        {CCommandTable::KEY_BTST, 0, {1, 0, 0, 0}, -1, 0},
        {CCommandTable::KEY_BTRD, 0, {1, 0, 1, 0}, CRecorderModel::LOG_REC, CRecorderModel::REC_START},
        {CCommandTable::KEY_BTON, 3, {1, 0, 1, 0}, -1, 0}, // no timer standby while recording
        {CCommandTable::KEY_BTRS, 0, {1, 0, 0, 0}, CRecorderModel::LOG_REC, CRecorderModel::REC_END},
        {CCommandTable::KEY_BTAL, 0, {1, 0, 2, 0}, CRecorderModel::LOG_ALARM, CRecorderModel::ALARM_START},
        {CCommandTable::KEY_BTDC, 0, {1, 0, 0, 0}, CRecorderModel::LOG_ALARM, CRecorderModel::ALARM_END},
        {CCommandTable::KEY_BTON, 0, {2, 0, 0, 0}, -1, 0},
        {CCommandTable::KEY_BTON, 0, {1, 0, 0, 0}, -1, 0},
        {CCommandTable::KEY_BTMN, 0, {1, 0, 0, 0}, -1, 0},
        {CCommandTable::KEY_BTQT, 3, {1, 0, 0, 0}, -1, 0}, // the key form of the status query
        {CCommandTable::KEY_BTPF, 0, {0, 0, 0, 0}, -1, 0},
        {CCommandTable::KEY_BTPL, 3, {0, 0, 0, 0}, -1, 0}, // off: only the power keys
        {CCommandTable::KEY_BTPO, 0, {1, 0, 0, 0}, -1, 0},
    };
    m_sim.SetClock({2004, 3, 15, 19, 0, 0}); // no timer program records now
    for (const auto& step : steps) {
        const std::size_t nRec = m_sim.GetLog(CRecorderModel::LOG_REC).size();
        const std::size_t nAlarm = m_sim.GetLog(CRecorderModel::LOG_ALARM).size();
        EXPECT_EQ(m_ctrl.SendKey(step.nKey), step.nStatus) << CCommandTable::Code(step.nKey);
        EXPECT_EQ(Status(), step.after) << CCommandTable::Code(step.nKey);
        const std::size_t nGrown = m_sim.GetLog(CRecorderModel::LOG_REC).size() - nRec
            + m_sim.GetLog(CRecorderModel::LOG_ALARM).size() - nAlarm;
        EXPECT_EQ(nGrown, step.nLogKind < 0 ? 0u : 1u) << CCommandTable::Code(step.nKey);
        if (step.nLogKind >= 0) {
            EXPECT_EQ(NewestEvent(step.nLogKind), step.nEvent) << CCommandTable::Code(step.nKey);
        }
    }
}

TEST_F(RecorderSimTest, PowerOffEndsRecordingAndPlayback)
{
    ASSERT_EQ(m_ctrl.KeyPlay(), 0);
    ASSERT_EQ(m_ctrl.KeyRecord(), 0);
    ASSERT_EQ(m_ctrl.PowerKey(), 0);
    EXPECT_EQ(Status(), (std::array<int, 4> {0, 0, 0, 0}));
    EXPECT_EQ(NewestEvent(CRecorderModel::LOG_REC), CRecorderModel::REC_END);
    EXPECT_EQ(m_waits.Waits(), std::vector<int> {500});
}

TEST_F(RecorderSimTest, MenuIsWrittenOnlyWithTheRecorderOff)
{
    EXPECT_EQ(m_ctrl.SetRI(3), 3);
    EXPECT_EQ(m_ctrl.SetDateTime(2010, 1, 2, 3, 4, 5), 3);
    EXPECT_EQ(m_sim.GetSetting(9), 7);
    m_sim.SetStatus({0, 0, 0, 0});
    EXPECT_EQ(m_ctrl.SetRI(3), 0);
    EXPECT_EQ(m_sim.GetSetting(9), 3);
    EXPECT_EQ(m_ctrl.SetRI(15), 3); // not one of its 15 intervals
    EXPECT_EQ(m_ctrl.SetVG(4), 3);  // five choices only with mirroring
    EXPECT_EQ(m_ctrl.SetWD(1), 0);
    EXPECT_EQ(m_ctrl.SetVG(4), 0);
    m_sim.SetStatus({1, 0, 0, 0});
    m_sim.SetAcceptMenuAlways(true);
    EXPECT_EQ(m_ctrl.SetRI(5), 0);
    EXPECT_EQ(m_sim.GetSetting(9), 5);
    int nValue = 0;
    ASSERT_EQ(m_ctrl.GetRI(nValue), 0);
    EXPECT_EQ(nValue, 5);
}

TEST_F(RecorderSimTest, ClockRunsFromItsStartAndIsSetByTheProgram)
{
    int y = 0, mo = 0, d = 0, h = 0, mi = 0, s = 0;
    ASSERT_EQ(m_ctrl.GetDateTime(y, mo, d, h, mi, s), 0);
    EXPECT_EQ(std::vector<int>({y, mo, d, h, mi}), std::vector<int>({2004, 3, 15, 8, 5}));
    m_sim.SetStatus({0, 0, 0, 0});
    EXPECT_EQ(m_ctrl.SetDateTime(2000, 1, 1, 0, 0, 0), 3);  // a recorder's clock runs in 2001..2999
    EXPECT_EQ(m_ctrl.SetDateTime(2010, 2, 30, 0, 0, 0), 3); // no such day
    ASSERT_EQ(m_ctrl.SetDateTime(2010, 12, 31, 23, 59, 58), 0);
    ASSERT_EQ(m_ctrl.GetDateTime(y, mo, d, h, mi, s), 0);
    EXPECT_EQ(y * 10000 + mo * 100 + d, y == 2010 ? 20101231 : 20110101);
    m_sim.SetFault("MVDT", SimFault::BadYear, 1);
    ASSERT_EQ(m_ctrl.GetDateTime(y, mo, d, h, mi, s), 0);
    EXPECT_EQ(y, 2000);
}

TEST_F(RecorderSimTest, TimerStandbyRecordsWhileAProgramsTimeHasCome)
{
    m_sim.SetClock({2004, 3, 15, 9, 0, 0}); // a Monday; program 1 records Monday to Friday 08:00-18:00
    ASSERT_EQ(m_ctrl.KeyTimer(), 0);
    EXPECT_EQ(Status(), (std::array<int, 4> {2, 0, 3, 0}));
    EXPECT_EQ(NewestEvent(CRecorderModel::LOG_REC), CRecorderModel::TIMER_START);
    m_sim.SetClock({2004, 3, 15, 18, 0, 0});
    EXPECT_EQ(Status(), (std::array<int, 4> {2, 0, 0, 0}));
    EXPECT_EQ(NewestEvent(CRecorderModel::LOG_REC), CRecorderModel::TIMER_END);
    m_sim.SetClock({2004, 3, 13, 12, 0, 0}); // Saturday: program 2 records 10:00-16:30
    EXPECT_EQ(Status()[2], 3);
    ASSERT_EQ(m_ctrl.KeyTimer(), 0);
    EXPECT_EQ(Status(), (std::array<int, 4> {1, 0, 0, 0}));
}

TEST_F(RecorderSimTest, ServesOneClientAtATimeAndTheNextOneAfterwards)
{
    CVX2200Ctrl second;
    second.SetAskToReconnect(false);
    ASSERT_EQ(second.Connect("127.0.0.1", m_sim.Port()), 0); // waits in the queue
    std::array<int, 4> status {};
    EXPECT_EQ(second.QueryStatus(status), 3);
    m_ctrl.Disconnect();
    EXPECT_EQ(second.QueryStatus(status), 0);
    EXPECT_EQ(status[0], 1);
    EXPECT_EQ(m_sim.ConnectionCount(), 2);
}

TEST(RecorderSimClients, ServesSeveralClientsAtOnceWhenToldTo)
{
    CRecorderSim::Options options = StartingAt({2004, 3, 15, 8, 5, 0});
    options.nMaxClients = 2;
    CRecorderSim sim(options);
    ASSERT_TRUE(sim.Start());
    CVX2200Ctrl first;
    CVX2200Ctrl second;
    CVX2200Ctrl third;
    for (CVX2200Ctrl* pCtrl : {&first, &second, &third}) {
        pCtrl->SetAskToReconnect(false);
        ASSERT_EQ(pCtrl->Connect("127.0.0.1", sim.Port()), 0);
    }
    // The first two are served in turn, on one recorder; the third waits.
    std::array<int, 4> status {};
    ASSERT_EQ(second.KeyPlay(), 0);
    ASSERT_EQ(first.QueryStatus(status), 0);
    EXPECT_EQ(status[1], 2);
    ASSERT_EQ(first.KeyPlayStop(), 0);
    ASSERT_EQ(second.QueryStatus(status), 0);
    EXPECT_EQ(status[1], 0);
    EXPECT_EQ(third.QueryStatus(status), 3);
    first.Disconnect();
    EXPECT_EQ(third.QueryStatus(status), 0);
    EXPECT_EQ(second.KeyPlay(), 0);
    EXPECT_EQ(sim.ConnectionCount(), 3);
    sim.DropClient(true);
    EXPECT_NE(second.QueryStatus(status), 0);
    EXPECT_NE(third.QueryStatus(status), 0);
}

TEST_F(RecorderSimTest, FaultsLastForTheirCountAfterTheirSkip)
{
    m_sim.SetFault("BTPL", SimFault::Refuse, 2, 1);
    std::vector<int> results;
    for (int i = 0; i < 4; ++i)
        results.push_back(m_ctrl.KeyPlay());
    EXPECT_EQ(results, (std::vector<int> {0, 3, 3, 0}));
    m_sim.SetFault("*", SimFault::BadAck);
    EXPECT_EQ(m_ctrl.KeyPlayStop(), 2);
    m_sim.ClearFaults();
    EXPECT_EQ(m_ctrl.KeyPlayStop(), 0);
}

// Whatever arrives, the recorder answers bad frames with a refusal and keeps
// serving.
TEST_F(RecorderSimTest, BadInputIsRefusedAndServingGoesOn)
{
    m_ctrl.Disconnect();
    const int h = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in addr {};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    addr.sin_port = htons(static_cast<std::uint16_t>(m_sim.Port()));
    ASSERT_EQ(::connect(h, reinterpret_cast<sockaddr*>(&addr), sizeof addr), 0);
    const timeval timeout {5, 0};
    ::setsockopt(h, SOL_SOCKET, SO_RCVTIMEO, &timeout, sizeof timeout);
    const std::string strInput = std::string("\x00\x11\x42", 3)         // junk
        + std::string("\xA0\xFF\x42\x54", 4)                            // a length no frame has
        + std::string("\xA0\x02\x42\x54", 4)                            // too short for its code
        + std::string("\xA0\x05\x42\x54\x50\x4C\x00\x00", 8)            // no end byte
        + std::string("\xA0\x05\x42\x54\x50\x4C\x00\xAF", 8);           // BTPL
    ASSERT_EQ(::send(h, strInput.data(), strInput.size(), MSG_NOSIGNAL), static_cast<ssize_t>(strInput.size()));
    std::string strAnswer(4, '\0');
    std::size_t nGot = 0;
    while (nGot < strAnswer.size()) {
        const ssize_t r = ::recv(h, &strAnswer[nGot], strAnswer.size() - nGot, 0);
        if (r <= 0)
            break;
        nGot += static_cast<std::size_t>(r);
    }
    ::close(h);
    EXPECT_EQ(strAnswer, std::string("\x15\x15\x15\x06", 4));
    EXPECT_EQ(m_sim.GetStatus()[1], 2);
}
