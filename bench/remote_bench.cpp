#include "remote_bench.h"

#include "app/vx2200net.h"
#include "link/vx2200ctrl.h"
#include "platform/scratchdir.h"
#include "remote/controldlg.h"
#include "remote/controltabctrl.h"
#include "sim/recordersim.h"

#include <QCoreApplication>
#include <QTabBar>
#include <QTimer>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <ostream>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

constexpr int WARM_UP = 100;
constexpr int POLL_RUNS = 2000;
constexpr int PAGE_RUNS = 300;

double Median(std::vector<double> times)
{
    if (times.empty())
        return 0;
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

template <typename Fn>
double TimeUs(Fn fn)
{
    const auto t0 = Clock::now();
    fn();
    return std::chrono::duration<double, std::micro>(Clock::now() - t0).count();
}

void PrintRatio(std::ostream& out, const char* pszName, double dUs, double dFloorUs)
{
    char szLine[200];
    std::snprintf(szLine, sizeof szLine, "%-58s median %7.1f us  ratio %5.2f\n", pszName, dUs,
                  dFloorUs > 0 ? dUs / dFloorUs : 0.0);
    out << szLine;
}

// The page's tick and the floor, in turn; with bChanging the recorder's state
// changes before every tick, so that keys are recoloured each time.
void BenchPoll(std::ostream& out, CRecorderSim& sim, CControlDlg& page, const std::function<bool()>& fnRoundTrip,
               bool bChanging)
{
    const std::array<std::array<int, 4>, 2> states = {{{1, 2, 0, 0}, {1, 4, 1, 1}}};
    std::vector<double> floor;
    std::vector<double> ticks;
    sim.SetStatus(states[0]);
    for (int i = 0; i < WARM_UP + POLL_RUNS; ++i) {
        if (bChanging)
            sim.SetStatus(states[static_cast<std::size_t>(i % 2)]);
        const double dFloor = TimeUs(fnRoundTrip);
        const double dTick = TimeUs([&] { page.OnTimer(); });
        QCoreApplication::processEvents(); // as the program's event loop does between ticks
        if (i >= WARM_UP) {
            floor.push_back(dFloor);
            ticks.push_back(dTick);
        }
    }
    PrintRatio(out, bChanging ? "remote status poll, keys recoloured each tick" : "remote status poll (whole tick)",
               Median(ticks), Median(floor));
}

struct PageCase {
    int nPage;
    const char* pszName;
    int nExchanges;
};

// From the press on a tab (the strip's current item moves) to the page's
// controls filled, against as many floor round trips as the page has reads.
// Rounds in turn: the floor round trips, then the press, each after the event
// loop has run. With bPaint the loop repaints the window between them (which
// leaves both the floor and the press with cold caches); without it the window
// is not repainted during the run.
void BenchPages(std::ostream& out, CControlDlg& page, const std::function<bool()>& fnRoundTrip, bool bPaint)
{
    using T = CControlTabCtrl;
    const PageCase pages[] = {
        {T::PAGE_PLAY, "Play Setup", 2},      {T::PAGE_TIME, "Time Setup", 3},   {T::PAGE_DISK, "Disk Setup", 2},
        {T::PAGE_RECORDING, "Recording", 4},  {T::PAGE_ALARM, "Alarm Recording", 10},
        {T::PAGE_DISPLAY, "Display", 11},     {T::PAGE_COMM, "Communication Setup", 3},
    };
    QTabBar* pBar = page.GetTabCtrl()->GetTabBar();
    page.setUpdatesEnabled(bPaint);
    for (const PageCase& c : pages) {
        std::vector<double> floor;
        std::vector<double> shows;
        for (int i = 0; i < WARM_UP / 10 + PAGE_RUNS; ++i) {
            QCoreApplication::processEvents();
            double dFloor = 0;
            for (int n = 0; n < c.nExchanges; ++n)
                dFloor += TimeUs(fnRoundTrip);
            pBar->setCurrentIndex(T::PAGE_LOG);
            QCoreApplication::processEvents();
            const double dShow = TimeUs([&] { pBar->setCurrentIndex(c.nPage); });
            if (i >= WARM_UP / 10) {
                floor.push_back(dFloor);
                shows.push_back(dShow);
            }
        }
        const std::string strName = std::string("remote tab to filled page") + (bPaint ? ", repainted: " : ": ")
                                    + c.pszName + " (" + std::to_string(c.nExchanges) + " reads)";
        PrintRatio(out, strName.c_str(), Median(shows), Median(floor));
    }
    page.setUpdatesEnabled(true);
}

} // namespace

void BenchRemote(std::ostream& out, const std::function<bool()>& fnRoundTrip)
{
    CScratchDir dir("vx2200bench");
    CRecorderSim::Options options;
    options.nTraceKeep = 0;
    CRecorderSim sim(options);
    CVX2200NETApp app({dir.Path() + "none.conf", dir.Path() + "prog/", dir.Path() + "lock"});
    app.LoadSettings();
    if (dir.Path().empty() || !sim.Start() || !app.CreateServices()) {
        out << "remote: the simulator or the program's services could not be started\n";
        return;
    }
    app.AddEntry("Bench DVR", "127.0.0.1", sim.Port());
    app.SetConnected(0);
    app.GetCtrl()->SetAskToReconnect(false);
    if (app.GetCtrl()->Connect("127.0.0.1", sim.Port()) != 0) {
        out << "remote: the simulator could not be reached\n";
        return;
    }
    {
        CControlDlg page;
        page.GetTimer()->stop();
        page.resize(CControlDlg::PAGE_WIDTH, CControlDlg::PAGE_HEIGHT);
        page.show();
        BenchPoll(out, sim, page, fnRoundTrip, false);
        BenchPoll(out, sim, page, fnRoundTrip, true);
        // Menu-setting mode with the recorder off: nothing is asked.
        sim.SetStatus({0, 0, 0, 0});
        page.OnTimer();
        page.OnMenuSetting();
        BenchPages(out, page, fnRoundTrip, false);
        BenchPages(out, page, fnRoundTrip, true);
        out << "remote goal: each ratio at most 1.50\n";
    }
    app.DisconnectLink();
}
