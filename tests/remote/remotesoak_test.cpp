// The fault soak of the remote page: its status poll goes on while the recorder
// shows every fault of the link in turn, with a prompter that always answers
// "Reconnect"; after each fault the lamps follow the recorder again. The test
// command runs one round; VX_SOAK_SECONDS (scripts/soak.sh) makes it go round
// for that long.
#include "remotefixture.h"

#include "link/vxsocket.h"

#include <algorithm>
#include <chrono>
#include <cstdlib>

namespace {

using Clock = std::chrono::steady_clock;

struct Fault {
    const char* pszCode;
    SimFault fault;
    int nTimes;
};

constexpr Fault kFaults[] = {
    {"*", SimFault::Reset, 1},        {"*", SimFault::Close, 1},       {"BTQT", SimFault::Silence, 1},
    {"BTQT", SimFault::Trickle, 2},   {"BTQT", SimFault::Late, 1},     {"BTQT", SimFault::BadStart, 2},
    {"BTQT", SimFault::BadEnd, 2},    {"BTQT", SimFault::BadCode, 2},  {"BTQT", SimFault::BadAck, 2},
    {"BTQT", SimFault::NoFrame, 1},   {"BTQT", SimFault::Refuse, 2},
};

constexpr auto TICK_LIMIT = std::chrono::seconds(15);
constexpr int RESUME_TICKS = 20;

} // namespace

TEST_F(RemoteTest, StatusPollSurvivesEveryFaultAndFollowsTheRecorderAgain)
{
    m_prompter.m_fnOnAsk = [this](const CScriptedPrompter::Asked& asked) {
        if (asked.kind == CScriptedPrompter::Asked::Kind::Confirm)
            m_prompter.Answer(1);
    };
    const char* pszSeconds = std::getenv("VX_SOAK_SECONDS");
    const auto deadline = Clock::now() + std::chrono::seconds(pszSeconds ? std::atoi(pszSeconds) : 0);
    int nPlayback = 0;
    do {
        m_sim.ClearTrace(); // the simulator's own trace would grow the process
        for (const Fault& f : kFaults) {
            SCOPED_TRACE(std::string(f.pszCode) + " " + std::string(SimFaultName(f.fault)));
            m_sim.SetFault(f.pszCode, f.fault, f.nTimes);
            for (int i = 0; i < 3; ++i) {
                const auto t0 = Clock::now();
                Tick();
                ASSERT_LT(Clock::now() - t0, TICK_LIMIT);
            }
            m_sim.ClearFaults();
            // The recorder changes; the page must see it again.
            nPlayback = nPlayback == 0 ? 2 : 0;
            const std::array<int, 4> now {1, nPlayback, 0, 0};
            m_sim.SetStatus(now);
            int nTicks = 0;
            while (nTicks < RESUME_TICKS && Page().GetStatus() != now) {
                Tick();
                ++nTicks;
            }
            ASSERT_LT(nTicks, RESUME_TICKS) << "the poll did not follow the recorder again";
            ASSERT_FALSE(m_pApp->QuitRequested());
        }
    } while (Clock::now() < deadline);
    const std::vector<int> modes = m_prompter.ConfirmModes();
    EXPECT_FALSE(modes.empty());
    EXPECT_TRUE(std::all_of(modes.begin(), modes.end(), [](int n) { return n == CVXSocket::MODE_RECONNECT; }));
}
