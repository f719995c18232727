#include "backup_bench.h"

#include "app/vx2200net.h"
#include "backup/progressdlg.h"
#include "image/vximage.h"
#include "link/vx2200ctrl.h"
#include "platform/fileutil.h"
#include "platform/scratchdir.h"
#include "sim/recordersim.h"
#include "store/backuprun.h"

#include <QApplication>
#include <QEventLoop>
#include <QTimer>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fcntl.h>
#include <filesystem>
#include <memory>
#include <ostream>
#include <sched.h>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;

constexpr int REC_INTERVAL_100_MS = 3;
constexpr int RANGE_MINUTES = 17;
constexpr int BASELINE_PICTURES = 1000;
// The recorded hour ends at 10:30:00; the range starts at 09:40.
constexpr CCivilTime RANGE_START {2004, 1, 23, 9, 40, 0};

double ThreadCpuMs()
{
    timespec ts {};
    ::clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return static_cast<double>(ts.tv_sec) * 1e3 + static_cast<double>(ts.tv_nsec) / 1e6;
}

double Seconds(Clock::duration d)
{
    return std::chrono::duration<double>(d).count();
}

int RangeMinutes()
{
    const char* psz = std::getenv("VX_BENCH_BACKUP_MINUTES");
    const int n = psz ? std::atoi(psz) : 0;
    return n >= 1 && n <= RANGE_MINUTES ? n : RANGE_MINUTES;
}

struct DialogFigures {
    int nSaved = 0;
    double dSeconds = 0;
    long nTicks = 0;
    long nOverruns = 0;
    double dLongestMs = 0;
    double dCpuMs = 0;
};

// The progress dialog's tick, driven by a 20-ms timer as its own timer drives it.
DialogFigures RunDialog(const CCivilTime& end, const std::string& strFolder)
{
    DialogFigures f;
    CProgressDlg dlg(CProgressDlg::MODE_BACKUP, 100, RANGE_START, end, strFolder, "BenchDialog");
    dlg.GetTimer()->stop();
    if (dlg.FailedToStart())
        return f;
    QEventLoop loop;
    QTimer timer;
    timer.setTimerType(Qt::PreciseTimer);
    timer.setInterval(CProgressDlg::TIMER_PERIOD_MS);
    QObject::connect(&timer, &QTimer::timeout, [&] {
        const auto t0 = Clock::now();
        const double dCpu0 = ThreadCpuMs();
        dlg.OnTimer();
        f.dCpuMs += ThreadCpuMs() - dCpu0;
        const double dMs = Seconds(Clock::now() - t0) * 1e3;
        f.dLongestMs = std::max(f.dLongestMs, dMs);
        f.nOverruns += dMs > CProgressDlg::TIMER_PERIOD_MS ? 1 : 0;
        ++f.nTicks;
        if (!dlg.GetRun()->IsFetching())
            loop.quit();
    });
    const auto start = Clock::now();
    timer.start();
    loop.exec();
    f.dSeconds = Seconds(Clock::now() - start);
    f.nSaved = dlg.GetRun()->SavedCount();
    return f;
}

struct BaselineFigures {
    double dMs = 0;      // per picture
    int nOverruns = 0;   // pictures that took more than a tick
    int nPictures = 0;
};

// One FetchPicture and one write of its bytes (as the store writes a picture:
// a new file, replaced atomically), per picture; and how many of them alone
// took longer than the dialog's tick.
BaselineFigures FetchAndWrite(CVX2200Ctrl& ctrl, CVXImage& image, const std::string& strFolder)
{
    BaselineFigures f;
    std::filesystem::create_directories(strFolder);
    if (ctrl.PictureAtTime(RANGE_START.nYear - 2000, RANGE_START.nMonth, RANGE_START.nDay, RANGE_START.nHour,
                           RANGE_START.nMinute, 0) != 0)
        return f;
    auto pFrame = std::make_unique<std::uint8_t[]>(CVXImage::FRAME_BYTES);
    std::array<std::uint8_t, CVXImage::INFO_SIZE> info {};
    const auto start = Clock::now();
    for (int i = 0; i < BASELINE_PICTURES; ++i) {
        const auto t0 = Clock::now();
        if (!image.FetchPicture(info.data(), pFrame.get(), 1))
            return f;
        const auto bytes = ReadFileBytes(image.GetTestFilePath(), CVXImage::FRAME_BYTES);
        if (!bytes || !WriteFileAtomically(strFolder + "/p" + std::to_string(i) + ".jpg", *bytes))
            return f;
        f.nOverruns += Seconds(Clock::now() - t0) * 1e3 > CProgressDlg::TIMER_PERIOD_MS ? 1 : 0;
    }
    f.nPictures = BASELINE_PICTURES;
    f.dMs = Seconds(Clock::now() - start) * 1e3 / BASELINE_PICTURES;
    return f;
}

struct ToolFigures {
    int nSaved = 0;
    double dSeconds = 0;
    int nExit = -1;
};

// vx2200ctl backup of the same range, as its own process.
ToolFigures RunTool(int nPort, const CCivilTime& end, const std::string& strFolder, const std::string& strDir)
{
    ToolFigures f;
    std::filesystem::create_directories(strDir + "config/Varnel");
    WriteFileAtomically(strDir + "config/Varnel/VX2200NET.conf", "[Setting]\nProgDir=" + strDir + "toolprog/\n");
    ::setenv("XDG_CONFIG_HOME", (strDir + "config").c_str(), 1);
    char szDate[16];
    std::snprintf(szDate, sizeof szDate, "%04d-%02d-%02d", end.nYear, end.nMonth, end.nDay);
    char szStart[8];
    char szEnd[8];
    std::snprintf(szStart, sizeof szStart, "%02d:%02d", RANGE_START.nHour, RANGE_START.nMinute);
    std::snprintf(szEnd, sizeof szEnd, "%02d:%02d", end.nHour, end.nMinute);
    const std::vector<std::string> args {VX2200CTL_PATH, "127.0.0.1", std::to_string(nPort), "backup", szDate,
                                         szStart,        szDate,      szEnd,                   strFolder, "BenchTool"};
    std::vector<char*> argv;
    for (const std::string& a : args)
        argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    const std::string strOut = strDir + "tool.out";
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, strOut.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    const auto start = Clock::now();
    pid_t pid = 0;
    int nStatus = 0;
    if (posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ) == 0 && ::waitpid(pid, &nStatus, 0) == pid)
        f.nExit = WIFEXITED(nStatus) ? WEXITSTATUS(nStatus) : -1;
    f.dSeconds = Seconds(Clock::now() - start);
    posix_spawn_file_actions_destroy(&actions);
    ::unsetenv("XDG_CONFIG_HOME");
    const std::string strLine = ReadFileBytes(strOut, 4096).value_or(std::string());
    std::sscanf(strLine.c_str(), "saved=%d", &f.nSaved);
    return f;
}

void Report(std::ostream& out, const DialogFigures& d, const ToolFigures& t, const BaselineFigures& b)
{
    const double dBaselineMs = b.dMs;
    char sz[400];
    std::snprintf(sz, sizeof sz,
                  "backup dialog: %d pictures in %.1f s: %.1f pictures per second; %.2f %% of %ld ticks over 20 ms "
                  "(longest %.1f ms); %.2f ms CPU per picture\n",
                  d.nSaved, d.dSeconds, d.dSeconds > 0 ? d.nSaved / d.dSeconds : 0.0,
                  d.nTicks > 0 ? 100.0 * static_cast<double>(d.nOverruns) / static_cast<double>(d.nTicks) : 0.0,
                  d.nTicks, d.dLongestMs, d.nSaved > 0 ? d.dCpuMs / d.nSaved : 0.0);
    out << sz;
    const double dToolMs = t.nSaved > 0 ? t.dSeconds * 1e3 / t.nSaved : 0;
    std::snprintf(sz, sizeof sz,
                  "backup vx2200ctl: %d pictures in %.1f s (exit %d): %.2f ms per picture; one FetchPicture and one "
                  "write %.2f ms: ratio %.2f\n",
                  t.nSaved, t.dSeconds, t.nExit, dToolMs, dBaselineMs, dBaselineMs > 0 ? dToolMs / dBaselineMs : 0.0);
    out << sz;
    std::snprintf(sz, sizeof sz,
                  "backup reference: of %d bare FetchPicture-and-write pairs, %.2f %% alone took longer than 20 ms\n",
                  b.nPictures, b.nPictures > 0 ? 100.0 * b.nOverruns / b.nPictures : 0.0);
    out << sz;
    out << "backup goal: at least 49 pictures per second with under 1 % of ticks over 20 ms; vx2200ctl at most 1.3 "
           "times a fetch and a write\n";
}

// The recorder is another machine: its simulator may take the other
// processors (the earlier measurements pin every thread to one).
void UseEveryProcessor()
{
    cpu_set_t set;
    CPU_ZERO(&set);
    const long nCpus = ::sysconf(_SC_NPROCESSORS_ONLN);
    for (long i = 0; i < nCpus && i < CPU_SETSIZE; ++i)
        CPU_SET(static_cast<int>(i), &set);
    ::sched_setaffinity(0, sizeof set, &set);
}

} // namespace

void BenchBackup(std::ostream& out)
{
    UseEveryProcessor();
    CScratchDir dir("vx2200bench");
    CRecorderSim::Options options;
    options.start = SimDateTime {2004, 1, 23, 10, 30, 0};
    options.nRecInterval = REC_INTERVAL_100_MS;
    options.nTraceKeep = 0;
    CRecorderSim sim(options);
    CVX2200NETApp app({dir.Path() + "none.conf", dir.Path() + "prog/", dir.Path() + "lock"});
    app.LoadSettings();
    if (dir.Path().empty() || !sim.Start() || !app.CreateServices()) {
        out << "backup: the simulator or the program's services could not be started\n";
        return;
    }
    CVX2200Ctrl& ctrl = *app.GetCtrl();
    ctrl.SetAskToReconnect(false);
    if (ctrl.Connect("127.0.0.1", sim.Port()) != 0) {
        out << "backup: the simulator could not be reached\n";
        return;
    }
    const CCivilTime end = RANGE_START.AddSeconds(RangeMinutes() * 60LL);
    std::filesystem::create_directories(dir.Path() + "dialog");
    const DialogFigures dialog = RunDialog(end, dir.Path() + "dialog");
    // The baseline before and after the tool, so both halves meet the same machine.
    const BaselineFigures before = FetchAndWrite(ctrl, *app.GetImage(), dir.Path() + "baseline1");
    ctrl.Disconnect();
    const ToolFigures tool = RunTool(sim.Port(), end, dir.Path() + "tool", dir.Path());
    ctrl.Connect("127.0.0.1", sim.Port());
    const BaselineFigures after = FetchAndWrite(ctrl, *app.GetImage(), dir.Path() + "baseline2");
    app.DisconnectLink();
    const BaselineFigures both {(before.dMs + after.dMs) / 2, before.nOverruns + after.nOverruns,
                                before.nPictures + after.nPictures};
    Report(out, dialog, tool, both);
}
