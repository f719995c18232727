// Every exchange on the wire, byte for byte, against the simulator, and how
// each answer or failure becomes a status code.
#include "link/linkfixture.h"

#include <chrono>
#include <functional>
#include <thread>

namespace {

using Clock = std::chrono::steady_clock;

double SecondsSince(Clock::time_point t0)
{
    return std::chrono::duration<double>(Clock::now() - t0).count();
}

} // namespace

class ExchangeTest : public CLinkTest {};

TEST_F(ExchangeTest, EachOperationPutsItsFrameOnTheWireAndReadsItsAnswer)
{
    m_sim.SetAcceptMenuAlways(true);
    m_sim.SetSetting(5, 1); // mirroring, so that VG takes 0..4
    TimerProgram weekly;
    weekly.nField = {2, 2, 0, 0, 0x41, 10, 0, 16, 30, 3, 1, 9, 1, 0};
    int nValue = 0;
    TimerProgram program;
    std::array<int, 4> status {};
    const WireCase cases[] = {
        {"SendKey(2)", [&] { return m_ctrl.SendKey(2); }, 0,
         {"<- A0 05 42 54 50 4C 00 AF", "-> 06"}},
        {"SetMenuValue VG 3", [&] { return m_ctrl.SetVG(3); }, 0,
         {"<- A0 05 4D 53 56 47 03 AF", "-> 06"}},
        {"SetMenuValue PM -1", [&] { return m_ctrl.SetMenuValue(0, -1); }, 3,
         {"<- A0 05 4D 53 50 4D FF AF", "-> 15"}},
        {"SetDateTime", [&] { return m_ctrl.SetDateTime(2004, 3, 15, 8, 5, 0); }, 0,
         {"<- A0 0B 4D 53 44 54 07 D4 03 0F 08 05 00 AF", "-> 06"}},
        {"SetTimerProgram", [&] { return m_ctrl.SetTimerProgram(weekly); }, 0,
         {"<- A0 12 4D 53 54 4D 02 02 00 00 41 0A 00 10 1E 03 01 09 01 00 AF", "-> 06"}},
        {"GetMenuValue RI", [&] { return m_ctrl.GetRI(nValue); }, 0,
         {"<- A0 04 4D 56 52 49 AF", "-> 06", "-> A0 05 4D 56 52 49 07 AF"}},
        {"GetTimerProgram(9)", [&] { return m_ctrl.GetTimerProgram(9, program); }, 0,
         {"<- A0 05 4D 56 54 4D 09 AF", "-> 06",
          "-> A0 12 4D 56 54 4D 09 00 FF FF FF FF FF FF FF FF FF FF FF FF AF"}},
        {"QueryStatus", [&] { return m_ctrl.QueryStatus(status); }, 0,
         {"<- A0 04 42 54 51 54 AF", "-> 06", "-> A0 08 42 54 51 54 01 02 00 00 AF"}}, // playing since BTPL
    };
    CheckWire(cases);
}

TEST_F(ExchangeTest, AnswersAreWidenedFromSignedBytesExceptTheYear)
{
    m_sim.SetSetting(9, 0xFF);
    int nValue = 0;
    ASSERT_EQ(m_ctrl.GetMenuValue(9, nValue), 0);
    EXPECT_EQ(nValue, -1);

    m_sim.SetClock(At(2004, 3, 15, 8, 5, 0)); // year bytes 07 D4: D4 has its top bit set
    int y = 0, mo = 0, d = 0, h = 0, mi = 0, s = -1;
    ASSERT_EQ(m_ctrl.GetDateTime(y, mo, d, h, mi, s), 0);
    EXPECT_EQ(std::vector<int>({y, mo, d, h, mi}), std::vector<int>({2004, 3, 15, 8, 5}));
    EXPECT_GE(s, 0);
    EXPECT_LE(s, 5);

    m_sim.SetTimerProgram(6, {6, 2, 0xFF, 0xFF, 0x7F, 23, 59, 0, 0, 4, 1, 14, 1, 1});
    TimerProgram program;
    ASSERT_EQ(m_ctrl.GetTimerProgram(6, program), 0);
    EXPECT_EQ(program.nField, (std::array<int, 14> {6, 2, -1, -1, 127, 23, 59, 0, 0, 4, 1, 14, 1, 1}));

    m_sim.SetStatus({2, 6, 3, 0x80});
    std::array<int, 4> status {};
    ASSERT_EQ(m_ctrl.QueryStatus(status), 0);
    EXPECT_EQ(status, (std::array<int, 4> {2, 6, 3, -128}));
    EXPECT_EQ(m_ctrl.m_nDvrStatus, status);
}

// The acknowledge and the answer frame of a read and of a key, under every
// fault the recorder can show; a failed read leaves the output untouched and
// the link is usable afterwards.
TEST_F(ExchangeTest, FaultsBecomeTheirStatusCodes)
{
    const struct {
        const char* pszCode;
        SimFault fault;
        int nStatus;
    } cases[] = {
        {"MVRI", SimFault::Refuse, 3},   {"MVRI", SimFault::BadAck, 2},   {"MVRI", SimFault::Silence, 3},
        {"MVRI", SimFault::NoFrame, 3},  {"MVRI", SimFault::BadStart, 2}, {"MVRI", SimFault::BadEnd, 2},
        {"MVRI", SimFault::BadCode, 2},  {"MVRI", SimFault::Trickle, 0},
        {"BTPL", SimFault::Refuse, 3},   {"BTPL", SimFault::BadAck, 2},   {"BTPL", SimFault::Silence, 3},
        {"BTPL", SimFault::Trickle, 0},
    };
    for (const auto& c : cases) {
        const std::string strCase = std::string(c.pszCode) + " " + std::string(SimFaultName(c.fault));
        m_sim.SetFault(c.pszCode, c.fault, 1);
        int nValue = 1234;
        const auto t0 = Clock::now();
        const int nStatus = c.pszCode[0] == 'M' ? m_ctrl.GetRI(nValue) : m_ctrl.SendKey(CCommandTable::KEY_BTPL);
        EXPECT_EQ(nStatus, c.nStatus) << strCase;
        EXPECT_LT(SecondsSince(t0), 5.0) << strCase;
        if (c.pszCode[0] == 'M') {
            EXPECT_EQ(nValue, c.nStatus == 0 ? 7 : 1234) << strCase;
        }
        ASSERT_EQ(m_ctrl.GetRI(nValue), 0) << "after " << strCase;
        EXPECT_EQ(nValue, 7);
    }
    EXPECT_TRUE(m_prompter.Asks().empty());
}

TEST_F(ExchangeTest, RefusedReadReadsNothingMore)
{
    m_sim.SetFault("MVRI", SimFault::Refuse, 1);
    int nValue = 1234;
    EXPECT_EQ(m_ctrl.GetRI(nValue), 3);
    EXPECT_EQ(Wire(), (std::vector<std::string> {"<- A0 04 4D 56 52 49 AF", "-> 15"}));
    EXPECT_EQ(nValue, 1234);
}

TEST_F(ExchangeTest, SilentRecorderFailsEachReceiveAfterOneSecond)
{
    m_sim.SetFault("BTQT", SimFault::Silence);
    std::array<int, 4> status {9, 9, 9, 9};
    const auto t0 = Clock::now();
    EXPECT_EQ(m_ctrl.QueryStatus(status), 3);
    const double dSeconds = SecondsSince(t0);
    EXPECT_GE(dSeconds, 0.95);
    EXPECT_LT(dSeconds, 5.0);
    EXPECT_EQ(status, (std::array<int, 4> {9, 9, 9, 9}));
}

TEST_F(ExchangeTest, LateAnswerIsNotTakenForTheNextOne)
{
    m_sim.SetFault("MVRI", SimFault::Late, 1);
    int nValue = 1234;
    EXPECT_EQ(m_ctrl.GetRI(nValue), 3);
    std::this_thread::sleep_for(std::chrono::milliseconds(900)); // the late answer arrives meanwhile
    ASSERT_EQ(m_ctrl.GetVG(nValue), 0);
    EXPECT_EQ(nValue, 1);
}

TEST_F(ExchangeTest, ClosedConnectionFailsTheReceiveWithoutAQuestion)
{
    m_sim.SetFault("BTQT", SimFault::Close, 1);
    std::array<int, 4> status {};
    const auto t0 = Clock::now();
    EXPECT_EQ(m_ctrl.QueryStatus(status), 3);
    EXPECT_LT(SecondsSince(t0), 5.0);
    EXPECT_TRUE(m_prompter.Asks().empty());
    EXPECT_EQ(m_nQuits, 0);
}

TEST_F(ExchangeTest, PowerAndRecordKeysFollowTheStatus)
{
    const struct {
        std::array<int, 4> status;
        bool bPower;
        const char* pszKey;
        std::vector<int> waits;
    } cases[] = {
        {{1, 0, 0, 0}, true, "BTPF", {500}},
        {{2, 0, 3, 0}, true, "BTPF", {500}},
        {{0, 0, 0, 0}, true, "BTPO", {5000}},
        {{1, 0, 1, 0}, false, "BTRS", {}},
        {{1, 0, 0, 0}, false, "BTRD", {}},
        {{1, 0, 3, 0}, false, "BTRD", {}},
    };
    for (const auto& c : cases) {
        m_sim.SetStatus(c.status);
        m_sim.ClearTrace();
        const std::size_t nWaitsBefore = m_waits.Waits().size();
        EXPECT_EQ(c.bPower ? m_ctrl.PowerKey() : m_ctrl.RecordKey(), 0);
        EXPECT_EQ(ReceivedCodes(), (std::vector<std::string> {"BTQT", c.pszKey}));
        EXPECT_EQ(std::vector<int>(m_waits.Waits().begin() + static_cast<long>(nWaitsBefore), m_waits.Waits().end()),
                  c.waits);
    }
}

TEST_F(ExchangeTest, RecordKeyAfterAFailedQueryUsesTheLastGoodStatus)
{
    m_sim.SetStatus({1, 0, 1, 0});
    std::array<int, 4> status {};
    ASSERT_EQ(m_ctrl.QueryStatus(status), 0);
    m_sim.SetStatus({1, 0, 0, 0});
    m_sim.SetFault("BTQT", SimFault::Refuse, 1);
    m_sim.ClearTrace();
    EXPECT_EQ(m_ctrl.RecordKey(), 0);
    EXPECT_EQ(ReceivedCodes(), (std::vector<std::string> {"BTQT", "BTRS"}));
}

TEST_F(ExchangeTest, ArgumentsOutsideTheTableSendNothing)
{
    int nValue = 0;
    TimerProgram program;
    EXPECT_EQ(m_ctrl.SendKey(20), 3);
    EXPECT_EQ(m_ctrl.SendKey(-1), 3);
    EXPECT_EQ(m_ctrl.GetMenuValue(2, nValue), 3);  // the clock has its own operation
    EXPECT_EQ(m_ctrl.SetMenuValue(11, 0), 3);      // and so has the timer program
    EXPECT_EQ(m_ctrl.GetMenuValue(35, nValue), 3);
    EXPECT_EQ(m_ctrl.GetTimerProgram(10, program), 3);
    EXPECT_EQ(m_ctrl.ReadLog(3), 3);
    EXPECT_TRUE(m_sim.Trace().empty());
}
