// vx2200bench: how close a recorder exchange comes to the loopback floor.
//
// The floor is the round trip of a 1-byte request answered by 1 byte over a
// loopback TCP connection to a plain echo thread. Against the recorder
// simulator on loopback, the program's key exchange, menu-value read and status
// query are then timed and printed as ratios to that floor (medians of many
// runs). The goal is 1.5 or less for each; nothing here fails on it.
//
// Then pictures: an upload's time per chunk against the same floor (goal 1.25
// or less), the whole FetchPicture per picture and how many a 33-ms tick
// holds, the allocations of one fetch, and decoding a picture file against a
// bare decode of it from memory (goal 1.15 or less). Then the pages on Qt's
// offscreen platform: the viewer playing, the search page and printing, the
// remote page's status poll and setting pages against the same floor (goal 1.5
// or less), and a backup through the progress dialog's 20-ms tick and through
// vx2200ctl. Last the file viewer over a store of 100,000 pictures: Search with
// its 60 thumbnails against 60 bare decodes of the same files (goal 0.8 or
// less), NextFolder across the end of a day, and a playback tick.
//
//   vx2200bench [AREA ...]    AREA: link pictures jpeg viewer search remote
//                             backup fileviewer; none for all of them
#include "backup_bench.h"
#include "fileviewer_bench.h"
#include "jpegdecode_bench.h"
#include "link/vx2200ctrl.h"
#include "picture_bench.h"
#include "remote_bench.h"
#include "search_bench.h"
#include "viewer_bench.h"
#include "sim/recordersim.h"

#include <QApplication>

#include <algorithm>
#include <set>
#include <arpa/inet.h>
#include <cstdlib>
#include <chrono>
#include <cstdio>
#include <functional>
#include <iostream>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sched.h>
#include <sys/socket.h>
#include <string>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

constexpr int WARM_UP = 200;
constexpr int RUNS = 3000;

struct Figures {
    double dMedianUs = 0;
    double dP90Us = 0;
};

// One timed operation; false when it failed.
using Operation = std::function<bool()>;

Figures Summarise(std::vector<double>& times)
{
    if (times.empty())
        return {};
    std::sort(times.begin(), times.end());
    return {times[times.size() / 2], times[times.size() * 9 / 10]};
}

// Runs the operations in turn, RUNS rounds, so that every one of them meets
// the same conditions of the machine; returns the figures of each.
std::vector<Figures> MeasureInterleaved(const std::vector<Operation>& operations)
{
    for (int i = 0; i < WARM_UP; ++i) {
        for (const Operation& op : operations)
            op();
    }
    std::vector<std::vector<double>> times(operations.size());
    for (int i = 0; i < RUNS; ++i) {
        for (std::size_t n = 0; n < operations.size(); ++n) {
            const auto t0 = Clock::now();
            if (!operations[n]())
                return {};
            times[n].push_back(std::chrono::duration<double, std::micro>(Clock::now() - t0).count());
        }
    }
    std::vector<Figures> figures;
    for (auto& t : times)
        figures.push_back(Summarise(t));
    return figures;
}

void SetNoDelay(int h)
{
    const int nOn = 1;
    ::setsockopt(h, IPPROTO_TCP, TCP_NODELAY, &nOn, sizeof nOn);
}

// The floor's peer: an echo thread that answers every byte with itself.
class CEchoPeer {
public:
    CEchoPeer()
    {
        m_hListen = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in addr {};
        addr.sin_family = AF_INET;
        addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t nSize = sizeof addr;
        if (m_hListen < 0 || ::bind(m_hListen, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0
            || ::listen(m_hListen, 1) != 0 || ::getsockname(m_hListen, reinterpret_cast<sockaddr*>(&addr), &nSize) != 0)
            return;
        m_thread = std::thread([this] {
            const int h = ::accept(m_hListen, nullptr, nullptr);
            SetNoDelay(h);
            char ch = 0;
            while (::recv(h, &ch, 1, 0) == 1 && ::send(h, &ch, 1, MSG_NOSIGNAL) == 1) {
            }
            ::close(h);
        });
        m_hClient = ::socket(AF_INET, SOCK_STREAM, 0);
        SetNoDelay(m_hClient);
        m_bConnected = ::connect(m_hClient, reinterpret_cast<sockaddr*>(&addr), sizeof addr) == 0;
    }
    ~CEchoPeer()
    {
        if (m_hClient >= 0)
            ::close(m_hClient);
        if (m_thread.joinable())
            m_thread.join();
        if (m_hListen >= 0)
            ::close(m_hListen);
    }
    CEchoPeer(const CEchoPeer&) = delete;
    CEchoPeer& operator=(const CEchoPeer&) = delete;

    bool IsConnected() const { return m_bConnected; }
    bool RoundTrip()
    {
        char ch = 0x06;
        return ::send(m_hClient, &ch, 1, MSG_NOSIGNAL) == 1 && ::recv(m_hClient, &ch, 1, MSG_WAITALL) == 1;
    }

private:
    int m_hListen = -1;
    int m_hClient = -1;
    bool m_bConnected = false;
    std::thread m_thread;
};

void Print(const char* pszName, const Figures& f, const Figures& floor)
{
    std::printf("%-28s median %8.1f us  p90 %8.1f us  ratio to floor %5.2f\n", pszName, f.dMedianUs, f.dP90Us,
                floor.dMedianUs > 0 ? f.dMedianUs / floor.dMedianUs : 0.0);
}

} // namespace

// All threads on one processor: otherwise whether the peer's thread happens
// to wake on another processor decides the figures more than the code does.
int PinToOneProcessor()
{
    const int nCpu = ::sched_getcpu();
    cpu_set_t set;
    CPU_ZERO(&set);
    CPU_SET(nCpu >= 0 ? nCpu : 0, &set);
    return ::sched_setaffinity(0, sizeof set, &set) == 0 ? nCpu : -1;
}

namespace {

// The areas named on the command line; all of them when none is named.
std::set<std::string> g_areas;

bool Wanted(const char* pszArea)
{
    return g_areas.empty() || g_areas.count(pszArea) != 0;
}

// The floor and the key, menu-value and status exchanges against it.
bool BenchLink(CEchoPeer& echo, CVX2200Ctrl& ctrl, int nCpu)
{
    std::array<int, 4> status {};
    int nValue = 0;
    const std::vector<Figures> figures = MeasureInterleaved({
        [&] { return echo.RoundTrip(); },
        [&] { return ctrl.SendKey(CCommandTable::KEY_BTMN) == 0; },
        [&] { return ctrl.GetMenuValue(9, nValue) == 0; },
        [&] { return ctrl.QueryStatus(status) == 0; },
    });
    if (figures.size() != 4) {
        std::fprintf(stderr, "vx2200bench: an exchange failed\n");
        return false;
    }
    std::printf("loopback, %d rounds, the four measurements interleaved, ", RUNS);
    if (nCpu >= 0)
        std::printf("all threads on processor %d\n", nCpu);
    else
        std::printf("threads not pinned\n");
    std::printf("%-28s median %8.1f us  p90 %8.1f us\n", "floor (1 byte, 1 byte back)", figures[0].dMedianUs,
                figures[0].dP90Us);
    Print("key exchange (BTMN)", figures[1], figures[0]);
    Print("menu-value read (MVRI)", figures[2], figures[0]);
    Print("status query (BTQT)", figures[3], figures[0]);
    std::printf("goal: each ratio at most 1.50\n");
    std::fflush(stdout);
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    static const std::set<std::string> kAreas {"link", "pictures", "jpeg", "viewer", "search", "remote", "backup",
                                               "fileviewer"};
    for (int i = 1; i < argc; ++i) {
        if (!kAreas.count(argv[i])) {
            std::fprintf(stderr, "usage: vx2200bench [link|pictures|jpeg|viewer|search|remote|backup|fileviewer]...\n");
            return 64;
        }
        g_areas.insert(argv[i]);
    }
    const int nCpu = PinToOneProcessor();
    CEchoPeer echo;
    CRecorderSim::Options options;
    options.nTraceKeep = 0;
    CRecorderSim sim(options);
    CVX2200Ctrl ctrl;
    ctrl.SetAskToReconnect(false);
    if (!echo.IsConnected() || !sim.Start() || ctrl.Connect("127.0.0.1", sim.Port()) != 0) {
        std::fprintf(stderr, "vx2200bench: the echo peer or the simulator could not be reached\n");
        return 1;
    }
    sim.SetStatus({1, 0, 0, 0});
    if (Wanted("link") && !BenchLink(echo, ctrl, nCpu))
        return 1;
    if (Wanted("pictures") && !BenchPictures(std::cout, ctrl, sim, [&] { return echo.RoundTrip(); })) {
        std::fprintf(stderr, "vx2200bench: a picture exchange failed\n");
        return 1;
    }
    if (Wanted("jpeg"))
        BenchJpegDecode(std::cout);
    std::cout.flush();
    // The pages run on Qt's offscreen platform, in the one application every
    // page benchmark uses.
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication application(argc, argv);
    if (Wanted("viewer"))
        BenchViewer(std::cout);
    std::cout.flush();
    if (Wanted("search"))
        BenchSearch(std::cout);
    std::cout.flush();
    if (Wanted("remote"))
        BenchRemote(std::cout, [&] { return echo.RoundTrip(); });
    std::cout.flush();
    if (Wanted("backup"))
        BenchBackup(std::cout);
    std::cout.flush();
    if (Wanted("fileviewer"))
        BenchFileViewer(std::cout);
    return 0;
}
