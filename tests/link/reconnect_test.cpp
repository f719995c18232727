// The reconnection sequence: mode 8, then mode 26 and three more attempts,
// then notice 27; the quit request; nested calls while a question is open.
#include "link/linkfixture.h"

#include <chrono>
#include <poll.h>

namespace {

using Clock = std::chrono::steady_clock;

// Waits until the socket has seen its peer go away.
void AwaitHangUp(CVXSocket& socket)
{
    pollfd pfd {socket.GetHandle(), POLLIN, 0};
    ::poll(&pfd, 1, 2000);
}

} // namespace

class ReconnectTest : public CLinkTest {};

TEST_F(ReconnectTest, ResetDuringAReceiveReconnectsAndDeliversNothing)
{
    m_sim.SetFault("MVRI", SimFault::Reset, 1);
    m_prompter.Answer(1);
    int nValue = 1234;
    EXPECT_EQ(m_ctrl.GetRI(nValue), 2); // the answer never came
    EXPECT_EQ(nValue, 1234);
    EXPECT_EQ(m_prompter.ConfirmModes(), std::vector<int> {8});
    EXPECT_EQ(m_ctrl.Socket().m_bReconnecting, 0);
    EXPECT_EQ(m_nQuits, 0);
    ASSERT_EQ(m_ctrl.GetRI(nValue), 0);
    EXPECT_EQ(nValue, 7);
    EXPECT_EQ(m_sim.ConnectionCount(), 2);
}

TEST_F(ReconnectTest, ResetBeforeASendReconnectsAndSendsTheFrameAgain)
{
    int nValue = 0;
    ASSERT_EQ(m_ctrl.GetRI(nValue), 0); // the recorder serves this client now
    m_sim.DropClient(true);
    AwaitHangUp(m_ctrl.Socket());
    m_sim.ClearTrace();
    m_prompter.Answer(1);
    EXPECT_EQ(m_ctrl.SendKey(2), 0);
    EXPECT_EQ(m_prompter.ConfirmModes(), std::vector<int> {8});
    EXPECT_EQ(Received(), std::vector<std::string> {"A0 05 42 54 50 4C 00 AF"});
    EXPECT_EQ(m_sim.GetStatus()[1], 2); // played once
}

TEST_F(ReconnectTest, CancelAsksToQuitOnceAndNothingMoreIsAsked)
{
    m_sim.SetFault("BTQT", SimFault::Reset, 1);
    m_prompter.Answer(0);
    std::array<int, 4> status {};
    EXPECT_NE(m_ctrl.QueryStatus(status), 0);
    EXPECT_EQ(m_nQuits, 1);
    EXPECT_EQ(m_ctrl.Socket().m_bReconnecting, 1);
    // While the program ends, a broken link reports nothing more.
    m_sim.DropClient(true);
    m_ctrl.QueryStatus(status);
    m_ctrl.SendKey(2);
    EXPECT_EQ(m_prompter.ConfirmModes(), std::vector<int> {8});
    EXPECT_EQ(m_nQuits, 1);
}

TEST_F(ReconnectTest, WhenEveryAttemptFailsTheQuestionsComeInOrder)
{
    const struct {
        const char* pszCase;
        std::vector<int> answers;
        bool bNoEntry;
        std::vector<int> modes;
    } cases[] = {
        {"all attempts fail", {1, 1}, false, {8, 26, 27}},
        {"cancel at the second question", {1, 0}, false, {8, 26}},
        {"no entry connected", {1, 1}, true, {8, 26, 27}},
    };
    for (const auto& c : cases) {
        CRecorderSim sim;
        ASSERT_TRUE(sim.Start());
        CVX2200Ctrl ctrl;
        int nQuits = 0;
        ctrl.SetQuitRequest([&nQuits] { ++nQuits; });
        const int nDeadPort = [] {
            CRecorderSim gone;
            gone.Start();
            return gone.Port();
        }();
        const bool bNoEntry = c.bNoEntry;
        ctrl.SetReconnectTarget([bNoEntry, nDeadPort]() -> std::optional<VXAddress> {
            if (bNoEntry)
                return std::nullopt;
            return VXAddress {"127.0.0.1", nDeadPort};
        });
        ASSERT_EQ(ctrl.Connect("127.0.0.1", sim.Port()), 0);
        m_prompter.Clear();
        for (const int n : c.answers)
            m_prompter.Answer(n);
        sim.SetFault("BTQT", SimFault::Reset, 1);
        std::array<int, 4> status {};
        EXPECT_NE(ctrl.QueryStatus(status), 0) << c.pszCase;
        EXPECT_EQ(m_prompter.ConfirmModes(), c.modes) << c.pszCase;
        EXPECT_EQ(nQuits, 1) << c.pszCase;
        EXPECT_EQ(ctrl.Socket().m_bReconnecting, 1) << c.pszCase;
    }
}

// Pages keep polling while the question is open; their calls must neither ask
// again nor wait.
TEST_F(ReconnectTest, NestedCallsDuringTheQuestionAskNothingAndDoNotWait)
{
    std::vector<int> nested;
    double dNestedSeconds = 0;
    m_prompter.m_fnOnAsk = [&](const CScriptedPrompter::Asked&) {
        const auto t0 = Clock::now();
        std::array<int, 4> status {};
        int nValue = 0;
        nested.push_back(m_ctrl.QueryStatus(status));
        nested.push_back(m_ctrl.SendKey(2));
        nested.push_back(m_ctrl.GetRI(nValue));
        dNestedSeconds = std::chrono::duration<double>(Clock::now() - t0).count();
    };
    m_sim.SetFault("MVVG", SimFault::Reset, 1);
    m_prompter.Answer(1);
    int nValue = 0;
    m_ctrl.GetVG(nValue);
    EXPECT_EQ(m_prompter.ConfirmModes(), std::vector<int> {8});
    ASSERT_EQ(nested.size(), 3u);
    for (const int n : nested)
        EXPECT_NE(n, 0);
    EXPECT_LT(dNestedSeconds, 3.0);
    m_prompter.m_fnOnAsk = nullptr;
    EXPECT_EQ(m_ctrl.Socket().m_bReconnecting, 0);
    EXPECT_EQ(m_ctrl.GetRI(nValue), 0);
}

TEST_F(ReconnectTest, WithoutQuestionsALostLinkIsAFailure)
{
    m_ctrl.SetAskToReconnect(false);
    m_sim.SetFault("BTQT", SimFault::Reset, 1);
    std::array<int, 4> status {};
    EXPECT_EQ(m_ctrl.QueryStatus(status), 3);
    EXPECT_EQ(m_ctrl.SendKey(2), 3);
    EXPECT_TRUE(m_prompter.Asks().empty());
    EXPECT_EQ(m_nQuits, 0);
}
