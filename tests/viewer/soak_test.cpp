// The fault soak: the viewer page plays the recorder live while the recorder
// shows every fault it knows in turn, with a prompter that always answers
// "Reconnect". Nothing may crash, no tick may hang past the link's limits,
// play must resume after each fault once the recorder behaves again, and (in
// a build without the address sanitizer, whose quarantine grows by design) the
// process must not grow.
//
// VX_SOAK_SECONDS makes it go round the faults for that long (the test command
// runs one round; scripts/soak.sh runs ten minutes).
#include "viewerfixture.h"

#include "link/vx2200ctrl.h"
#include "link/vxsocket.h"

#include <QLineEdit>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>

#include <unistd.h>

namespace {

using Clock = std::chrono::steady_clock;

struct Fault {
    const char* pszCode; // "*" for every command
    SimFault fault;
    int nTimes;          // exchanges it spoils
};

// Every fault kind: on the link as a whole, on the picture moves and the
// status query, and on the picture upload.
constexpr Fault kFaults[] = {
    {"*", SimFault::Reset, 1},          {"*", SimFault::Close, 1},        {"J6", SimFault::Silence, 2},
    {"BTQT", SimFault::Silence, 1},     {"*", SimFault::Trickle, 6},      {"J6", SimFault::Late, 2},
    {"JI", SimFault::BadStart, 2},      {"JI", SimFault::BadEnd, 2},      {"JI", SimFault::BadCode, 2},
    {"J6", SimFault::BadAck, 2},        {"J6", SimFault::NoFrame, 2},     {"J6", SimFault::Refuse, 3},
    {"BTQT", SimFault::Refuse, 2},      {"JU", SimFault::SizeZero, 2},    {"JU", SimFault::SizeHuge, 2},
    {"JU", SimFault::ChunkBadCode, 2},  {"JU", SimFault::ChunkLong, 2},   {"JU", SimFault::ChunkOverrun, 1},
    {"JU", SimFault::CloseMidPicture, 1}, {"JU", SimFault::SilenceMidPicture, 1}, {"JU", SimFault::BadPicture, 2},
};

// The longest a tick may take: a handful of exchanges at their one-second
// limit and a reconnection. Only a hang comes near it.
constexpr auto TICK_LIMIT = std::chrono::seconds(15);
constexpr int RESUME_TICKS = 60;

long ResidentKilobytes()
{
    std::ifstream statm("/proc/self/statm");
    long nPages = 0;
    long nResident = 0;
    statm >> nPages >> nResident;
    return nResident * (::sysconf(_SC_PAGESIZE) / 1024);
}

int SoakSeconds()
{
    const char* psz = std::getenv("VX_SOAK_SECONDS");
    return psz ? std::atoi(psz) : 0;
}

#if defined(__SANITIZE_ADDRESS__)
constexpr bool kSanitized = true;
#else
constexpr bool kSanitized = false;
#endif

} // namespace

TEST_F(ViewerTest, LivePlaySurvivesEveryFaultAndResumes)
{
    // Always "Reconnect": the recorder is there again once its fault is spent.
    m_prompter.m_fnOnAsk = [this](const CScriptedPrompter::Asked& asked) {
        if (asked.kind == CScriptedPrompter::Asked::Kind::Confirm)
            m_prompter.Answer(1);
    };
    SetRecording(true, 1); // live, a picture every 1/30 s
    Click(CViewerDlg::DIVISION_IDS[3]);
    Poll();
    Click(CViewerDlg::IDC_PLAY);
    Tick(20);
    ASSERT_TRUE(Page().HasPicture(Page().GetLastPictureCamera()));

    const auto deadline = Clock::now() + std::chrono::seconds(SoakSeconds());
    long nBaseline = 0;
    int nRounds = 0;
    Clock::duration longestTick {};
    do {
        // The simulator's own trace would grow the process; only its last round counts.
        m_sim.ClearTrace();
        for (const Fault& f : kFaults) {
            SCOPED_TRACE(std::string(f.pszCode) + " " + std::string(SimFaultName(f.fault)));
            const std::vector<std::uint8_t> before(Page().GetLastInfo(), Page().GetLastInfo() + CViewerDlg::INFO_SIZE);
            m_sim.SetFault(f.pszCode, f.fault, f.nTimes);
            for (int i = 0; i < 3; ++i) {
                const auto t0 = Clock::now();
                Tick();
                longestTick = std::max(longestTick, Clock::now() - t0);
                ASSERT_LT(Clock::now() - t0, TICK_LIMIT);
            }
            m_sim.ClearFaults();
            int nTicks = 0;
            while (nTicks < RESUME_TICKS
                   && std::equal(before.begin(), before.end(), Page().GetLastInfo())) {
                Tick();
                ++nTicks;
            }
            ASSERT_LT(nTicks, RESUME_TICKS) << "play did not resume: play state " << Page().GetPlayState()
                                            << ", connected " << m_pApp->GetCtrl()->IsConnected() << ", "
                                            << m_prompter.ConfirmModes().size() << " questions, reconnecting "
                                            << m_pApp->GetCtrl()->Socket().m_bReconnecting << ", error "
                                            << m_pApp->GetCtrl()->Socket().GetLastError();
            EXPECT_EQ(Page().GetPlayState(), CViewerDlg::PLAY_FORWARD);
            ASSERT_FALSE(m_pApp->QuitRequested());
        }
        ++nRounds;
        if (nRounds == 1)
            nBaseline = ResidentKilobytes();
    } while (Clock::now() < deadline);

    const long nGrowth = ResidentKilobytes() - nBaseline;
    std::printf("soak: %d rounds of %zu faults, longest tick %.2f s, %zu reconnections, resident growth after the "
                "first round %ld kB\n",
                nRounds, std::size(kFaults), std::chrono::duration<double>(longestTick).count(),
                m_prompter.ConfirmModes().size(), nGrowth);
    if (!kSanitized && nRounds > 2) {
        EXPECT_LT(nGrowth, 4096);
    }
    // The lost links asked to reconnect, and only they did.
    const std::vector<int> modes = m_prompter.ConfirmModes();
    EXPECT_FALSE(modes.empty());
    EXPECT_TRUE(std::all_of(modes.begin(), modes.end(), [](int n) { return n == CVXSocket::MODE_RECONNECT; }));
}
