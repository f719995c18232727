#include "ctlbackup.h"

#include "app/vx2200net.h"
#include "image/vximage.h"
#include "link/vx2200ctrl.h"
#include "platform/scratchdir.h"
#include "platform/stringtable.h"
#include "store/backuprun.h"
#include "store/driveinfo.h"
#include "store/filedbase.h"
#include "store/savecheck.h"

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <iostream>
#include <string_view>
#include <unistd.h>

namespace {

constexpr int EXIT_DATAERR = 65;
constexpr int EXIT_CANTCREAT = 73;
constexpr int BAR_WIDTH = 40;
constexpr int BAR_EVERY = 16; // pictures between redraws of an unchanged bar

// The pickers' range of dates, as the dialog offers them.
constexpr CCivilTime FIRST_DATE {2004, 1, 1, 0, 0, 0};
constexpr CCivilTime LAST_DATE {2038, 1, 18, 23, 59, 0};

volatile std::sig_atomic_t g_bInterrupted = 0;

void OnInterrupt(int)
{
    g_bInterrupted = 1;
}

// A handler without SA_RESTART that is taken away by its first signal: a
// second Ctrl-C ends the program at once.
void CatchInterrupts()
{
    struct sigaction action {};
    action.sa_handler = OnInterrupt;
    action.sa_flags = SA_RESETHAND;
    sigemptyset(&action.sa_mask);
    ::sigaction(SIGINT, &action, nullptr);
    ::sigaction(SIGTERM, &action, nullptr);
}

bool IsDigits(std::string_view sv)
{
    return !sv.empty() && sv.find_first_not_of("0123456789") == std::string_view::npos;
}

// "dddd-dd-dd" and "dd:dd" (one-digit hours and minutes too), as numbers.
bool ParseDate(const std::string& str, CCivilTime& t)
{
    if (str.size() != 10 || str[4] != '-' || str[7] != '-' || !IsDigits(std::string_view(str).substr(0, 4))
        || !IsDigits(std::string_view(str).substr(5, 2)) || !IsDigits(std::string_view(str).substr(8, 2)))
        return false;
    t.nYear = std::stoi(str.substr(0, 4));
    t.nMonth = std::stoi(str.substr(5, 2));
    t.nDay = std::stoi(str.substr(8, 2));
    return true;
}

bool ParseClock(const std::string& str, CCivilTime& t)
{
    const std::size_t nColon = str.find(':');
    if (nColon == std::string::npos || nColon < 1 || nColon > 2 || str.size() - nColon - 1 < 1
        || str.size() - nColon - 1 > 2 || !IsDigits(std::string_view(str).substr(0, nColon))
        || !IsDigits(std::string_view(str).substr(nColon + 1)))
        return false;
    t.nHour = std::stoi(str.substr(0, nColon));
    t.nMinute = std::stoi(str.substr(nColon + 1));
    t.nSecond = 0;
    return true;
}

// A refusal: the text of the dialog's notice, without its blank lines.
int Refuse(int nMode)
{
    std::string strText(CStringTable::Load(CSaveCheck::StringIdOfMode(nMode), Language::English));
    for (char& ch : strText) {
        if (ch == '\n')
            ch = ' ';
    }
    const std::size_t nFirst = strText.find_first_not_of(' ');
    strText = nFirst == std::string::npos ? std::string() : strText.substr(nFirst);
    std::cerr << "vx2200ctl: backup: " << strText << "\n";
    return EXIT_DATAERR;
}

bool InPickerRange(const CCivilTime& t)
{
    return t.IsValid() && !(t < FIRST_DATE) && !(LAST_DATE < t);
}

class CProgressBar {
public:
    CProgressBar() : m_bShown(::isatty(STDERR_FILENO) == 1) {}
    ~CProgressBar()
    {
        if (m_bDrawn)
            std::fputc('\n', stderr);
    }
    void Update(const CBackupRun& run)
    {
        if (run.Progress() != m_nLast || run.SavedCount() - m_nLastCount >= BAR_EVERY)
            Draw(run.Progress(), run.SavedCount());
    }
    // A run that reached its end shows a full bar.
    void Finish(const CBackupRun& run, bool bInterrupted)
    {
        if (!run.HasFailed() && !bInterrupted)
            Draw(CBackupRun::RANGE, run.SavedCount());
    }

private:
    void Draw(int nProgress, int nCount)
    {
        if (!m_bShown)
            return;
        m_nLast = nProgress;
        m_nLastCount = nCount;
        const int nFilled = std::clamp(m_nLast, 0, CBackupRun::RANGE) * BAR_WIDTH / CBackupRun::RANGE;
        std::fprintf(stderr, "\r[%s%s] %3d%%  %d saved", std::string(static_cast<std::size_t>(nFilled), '#').c_str(),
                     std::string(static_cast<std::size_t>(BAR_WIDTH - nFilled), ' ').c_str(), m_nLast,
                     m_nLastCount);
        std::fflush(stderr);
        m_bDrawn = true;
    }

    bool m_bShown;
    bool m_bDrawn = false;
    int m_nLast = -1;
    int m_nLastCount = 0;
};

void PrintSummary(const CBackupRun& run)
{
    const bool bAny = run.SavedCount() > 0;
    std::cout << "saved=" << run.SavedCount() << " first=" << (bAny ? run.FirstSaved().Format() : "none")
              << " last=" << (bAny ? run.LastSaved().Format() : "none") << "\n";
}

} // namespace

std::string ParseBackupArgs(const std::vector<std::string>& args, CBackupJob& job)
{
    if (args.size() != static_cast<std::size_t>(CBackupJob::ARG_COUNT))
        return "usage: backup START_DATE START_TIME END_DATE END_TIME FOLDER EVENT";
    if (!ParseDate(args[0], job.start) || !ParseClock(args[1], job.start) || !ParseDate(args[2], job.end)
        || !ParseClock(args[3], job.end))
        return "backup: dates are YYYY-MM-DD and times hh:mm: " + args[0] + " " + args[1] + " " + args[2] + " "
               + args[3];
    job.strFolder = args[4];
    job.strEventName = args[5];
    return {};
}

int PrepareBackup(CBackupJob& job)
{
    // The program folder the program itself uses: its settings file decides.
    CVX2200NETApp app;
    app.LoadSettings();
    job.strProgDir = app.GetProgDir();
    CFileDBase db(job.strProgDir);
    if (const int nPath = CSaveCheck::ValidatePath(&db, CDriveInfo::FromSystem(), job.strFolder, job.strEventName))
        return Refuse(CSaveCheck::PathMode(nPath));
    if (db.IsFull()) {
        std::cerr << "vx2200ctl: backup: the event list of " << db.FilePath()
                  << " is full (255 events); nothing saved\n";
        return EXIT_DATAERR;
    }
    if (!InPickerRange(job.start) || !InPickerRange(job.end))
        return Refuse(CSaveCheck::MODE_TIME);
    if (CSaveCheck::IsBlankName(job.strEventName))
        return Refuse(CSaveCheck::MODE_NO_NAME);
    if (CSaveCheck::IsBadName(job.strEventName))
        return Refuse(CSaveCheck::MODE_BAD_NAME);
    if (!CSaveCheck::IsTimeRange(job.start, job.end))
        return Refuse(CSaveCheck::MODE_TIME);
    return 0;
}

int RunBackup(CVX2200Ctrl& ctrl, const CBackupJob& job)
{
    // test.jpg of this run lies in a folder of its own, never in the
    // program's.
    CScratchDir scratch("vx2200ctl");
    if (scratch.Path().empty()) {
        std::cerr << "vx2200ctl: backup: no temporary folder can be made\n";
        return EXIT_CANTCREAT;
    }
    CVXImage image(&ctrl, scratch.Path());
    CVX2200NETApp::CreateDirectoryPath(job.strFolder);
    CBackupRun run(image, job.strFolder, job.strEventName, job.start, job.end);
    if (!run.Start()) {
        const int nStatus = ctrl.m_nResult != 0 ? ctrl.m_nResult : CVX2200Ctrl::STATUS_WRONG_ANSWER;
        std::cerr << "vx2200ctl: backup: no picture at or after " << job.start.Format() << ": status " << nStatus
                  << "; nothing saved\n";
        return nStatus;
    }
    // Entered at once: whatever happens to the run now, what it stores is listed.
    CFileDBase db(job.strProgDir);
    db.Load();
    if (!db.AddEvent(job.strEventName, run.EventFolder())) {
        std::cerr << "vx2200ctl: backup: " << db.FilePath() << ": cannot be written; nothing saved\n";
        return EXIT_CANTCREAT;
    }
    CatchInterrupts();
    {
        CProgressBar bar;
        while (run.IsFetching()) {
            if (g_bInterrupted)
                run.Stop();
            run.Step();
            bar.Update(run);
        }
        bar.Finish(run, g_bInterrupted != 0);
    }
    PrintSummary(run);
    if (run.HasFailed()) {
        std::cerr << "vx2200ctl: backup: a picture could not be written below " << run.EventFolder() << "\n";
        return EXIT_CANTCREAT;
    }
    return g_bInterrupted ? CBackupJob::EXIT_INTERRUPTED : 0;
}
