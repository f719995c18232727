#include "viewer_bench.h"

#include "app/vx2200net.h"
#include "image/vximage.h"
#include "link/vx2200ctrl.h"
#include "platform/scratchdir.h"
#include "sim/recordersim.h"
#include "viewer/viewerdlg.h"

#include <QApplication>
#include <QEventLoop>
#include <QTimer>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <memory>
#include <ostream>
#include <string>
#include <unistd.h>

namespace {

using Clock = std::chrono::steady_clock;

constexpr int PLAY_SECONDS = 10;
constexpr int SAMPLE_RUNS = 200;
constexpr int SETTING_RI = 9;

// Processor time of this thread (the user-interface thread; the simulator
// runs on its own), in milliseconds.
double ThreadCpuMs()
{
    timespec ts {};
    ::clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return static_cast<double>(ts.tv_sec) * 1e3 + static_cast<double>(ts.tv_nsec) / 1e6;
}

// Resident set size in kilobytes.
long ResidentKb()
{
    std::ifstream statm("/proc/self/statm");
    long nPages = 0;
    long nResident = 0;
    statm >> nPages >> nResident;
    return nResident * (::sysconf(_SC_PAGESIZE) / 1024);
}

struct PlayFigures {
    double dTicksPerSecond = 0;
    double dCpuMsPerTick = 0;
    double dMaxTickMs = 0;
};

// Drives the page's tick from a 33-ms timer, as its own timer does, for
// nSeconds of the event loop.
PlayFigures Play(CViewerDlg& page, int nSeconds)
{
    long nTicks = 0;
    double dCpu = 0;
    double dMaxWall = 0;
    QTimer timer;
    timer.setTimerType(Qt::PreciseTimer);
    timer.setInterval(CViewerDlg::TIMER_PERIOD_MS);
    QObject::connect(&timer, &QTimer::timeout, [&] {
        const auto t0 = Clock::now();
        const double dCpu0 = ThreadCpuMs();
        page.OnTimer();
        dCpu += ThreadCpuMs() - dCpu0;
        dMaxWall = std::max(dMaxWall, std::chrono::duration<double, std::milli>(Clock::now() - t0).count());
        ++nTicks;
    });
    QEventLoop loop;
    QTimer::singleShot(nSeconds * 1000, &loop, &QEventLoop::quit);
    const auto start = Clock::now();
    timer.start();
    loop.exec();
    timer.stop();
    const double dSeconds = std::chrono::duration<double>(Clock::now() - start).count();
    PlayFigures figures;
    figures.dTicksPerSecond = dSeconds > 0 ? static_cast<double>(nTicks) / dSeconds : 0;
    figures.dCpuMsPerTick = nTicks > 0 ? dCpu / static_cast<double>(nTicks) : 0;
    figures.dMaxTickMs = dMaxWall;
    return figures;
}

// The recorder records (live, at REC INTERVAL nInterval), or it does not and
// stands 50 minutes back in its recorded hour (time lag); one status poll
// tells the page, then Play starts.
void StartPlay(CRecorderSim& sim, CVX2200Ctrl& ctrl, CViewerDlg& page, bool bLive, int nInterval)
{
    page.OnStop();
    sim.SetStatus({1, 0, 0, 0});
    sim.SetSetting(SETTING_RI, nInterval);
    if (bLive) {
        sim.SetStatus({1, 0, 1, 0});
    } else {
        const SimDateTime t = sim.GetClock().AddSeconds(-50 * 60);
        ctrl.PictureAtTime(t.nYear - 2000, t.nMonth, t.nDay, t.nHour, t.nMinute, t.nSecond);
    }
    page.OnTimer(); // the status poll
    page.SetView(1, 4);
    page.OnPlay();
}

void PrintPlay(std::ostream& out, const char* pszName, const PlayFigures& f)
{
    char szLine[200];
    std::snprintf(szLine, sizeof szLine, "viewer %s: %.1f ticks per second, %.2f ms CPU per tick (longest tick %.1f ms)\n",
                  pszName, f.dTicksPerSecond, f.dCpuMsPerTick, f.dMaxTickMs);
    out << szLine;
}

// Average processor time of fn over SAMPLE_RUNS calls, in milliseconds.
template <typename Fn>
double CpuMsPerCall(Fn fn)
{
    const double dCpu0 = ThreadCpuMs();
    for (int i = 0; i < SAMPLE_RUNS; ++i)
        fn();
    return (ThreadCpuMs() - dCpu0) / SAMPLE_RUNS;
}

// What one picture costs on this thread, step by step, and a full 16-way draw.
void PrintPerPicture(std::ostream& out, CVX2200Ctrl& ctrl, CVXImage& image, CViewerDlg& page)
{
    auto pFrame = std::make_unique<std::uint8_t[]>(CVXImage::FRAME_BYTES);
    auto pDisplay = std::make_unique<std::uint8_t[]>(CVXImage::FRAME_BYTES);
    std::uint8_t info[CVXImage::INFO_SIZE] = {};
    const double dFetch = CpuMsPerCall([&] { image.FetchPicture(info, pFrame.get(), 6); });
    int nWidth = 0;
    int nHeight = 0;
    const std::string strTest = image.GetTestFilePath();
    const double dDecode = CpuMsPerCall([&] { image.LoadPictureFile(strTest, pFrame.get(), nWidth, nHeight); });
    const double dCrop = CpuMsPerCall([&] { CVXImage::CropVisible(pDisplay.get(), pFrame.get()); });
    // Every slot filled: from the start of the newest recording, a picture of each camera.
    page.SetView(1, 4);
    ctrl.PictureStep(CViewerDlg::CMD_PLAY_START);
    for (int i = 0; i < CViewerDlg::CAMERA_COUNT * 2; ++i)
        page.ShowPicture(CViewerDlg::CMD_FORWARD, CViewerDlg::KEY_STEP);
    int nFilled = 0;
    for (int k = 0; k < CViewerDlg::CAMERA_COUNT; ++k)
        nFilled += page.HasPicture(k) ? 1 : 0;
    const double dDraw = CpuMsPerCall([&] { page.DrawCells(); });
    char szLine[240];
    std::snprintf(szLine, sizeof szLine,
                  "viewer per picture: fetch %.2f ms CPU (of which decode %.2f ms), crop %.3f ms; "
                  "drawing a 16-way split of %d pictures %.2f ms\n",
                  dFetch, dDecode, dCrop, nFilled, dDraw);
    out << szLine;
}

int LongRunMinutes()
{
    const char* psz = std::getenv("VX_BENCH_VIEWER_MINUTES");
    const int nMinutes = psz ? std::atoi(psz) : 0;
    return std::clamp(nMinutes, 0, 60);
}

void RunAll(std::ostream& out, CRecorderSim& sim, CVX2200NETApp& app)
{
    CVX2200Ctrl& ctrl = *app.GetCtrl();
    CViewerDlg page;
    page.GetTimer()->stop();
    page.resize(960, 584);
    page.show();

    // A short warm-up, so that the figures below see the page as it runs.
    StartPlay(sim, ctrl, page, true, 1);
    Play(page, 2);
    const long nRssBefore = ResidentKb();

    StartPlay(sim, ctrl, page, true, 1);
    PrintPlay(out, "live 16-split", Play(page, PLAY_SECONDS));
    StartPlay(sim, ctrl, page, true, 0);
    PrintPlay(out, "live 16-split, fastest interval (2 pictures a tick)", Play(page, PLAY_SECONDS));
    StartPlay(sim, ctrl, page, false, 7);
    PrintPlay(out, "time-lag 16-split", Play(page, PLAY_SECONDS));
    int nSeconds = 3 * PLAY_SECONDS;
    if (const int nMinutes = LongRunMinutes(); nMinutes > 0) {
        StartPlay(sim, ctrl, page, true, 1);
        Play(page, nMinutes * 60);
        nSeconds += nMinutes * 60;
    }
    const long nRssAfter = ResidentKb();
    char szLine[200];
    std::snprintf(szLine, sizeof szLine, "viewer memory: RSS %ld kB before, %ld kB after %d s of play (%+ld kB)\n",
                  nRssBefore, nRssAfter, nSeconds, nRssAfter - nRssBefore);
    out << szLine;

    page.OnStop();
    sim.SetStatus({1, 0, 0, 0});
    PrintPerPicture(out, ctrl, *app.GetImage(), page);
    out << "viewer goal: at least 29 ticks per second, at most 8 ms CPU per tick, no growth of the process\n";
}

} // namespace

void BenchViewer(std::ostream& out)
{
    CScratchDir dir("vx2200bench");
    CRecorderSim::Options options;
    options.nTraceKeep = 16;
    CRecorderSim sim(options);
    CVX2200NETApp app({dir.Path() + "none.conf", dir.Path() + "prog/", dir.Path() + "lock"});
    app.LoadSettings();
    if (dir.Path().empty() || !sim.Start() || !app.CreateServices()) {
        out << "viewer: the simulator or the program's services could not be started\n";
        return;
    }
    app.AddEntry("Bench DVR", "127.0.0.1", sim.Port());
    app.SetConnected(0);
    app.GetCtrl()->SetAskToReconnect(false);
    if (app.GetCtrl()->Connect("127.0.0.1", sim.Port()) != 0) {
        out << "viewer: the simulator could not be reached\n";
        return;
    }
    RunAll(out, sim, app);
    app.DisconnectLink();
}
