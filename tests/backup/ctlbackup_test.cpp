// vx2200ctl backup as the process it is, against the simulator: the same
// pictures as the dialog's Backup, the program's event database, refusals,
// failures, the progress bar on a terminal and Ctrl-C.
#include "backupfixture.h"

#include "../store/storetree.h"
#include "backup/progressdlg.h"
#include "fixtures/runprogram.h"
#include "link/vx2200ctrl.h"
#include "store/backuprun.h"
#include "store/filedbase.h"

#include <QTimer>

#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <poll.h>
#include <pty.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {

namespace fs = std::filesystem;

// The tool finds the program folder through the program's settings file.
class CtlBackupTest : public BackupTest {
protected:
    explicit CtlBackupTest(int nRecInterval = INTERVAL_10_S) : BackupTest(nRecInterval) {}
    void SetUp() override
    {
        BackupTest::SetUp();
        fs::create_directories(m_dir / "config/Varnel");
        WriteAll(m_dir / "config/Varnel/VX2200NET.conf", "[Setting]\nProgDir=" + m_strProgDir + "\n");
        ::setenv("XDG_CONFIG_HOME", (m_dir / "config").c_str(), 1);
    }
    void TearDown() override { ::unsetenv("XDG_CONFIG_HOME"); }

    std::vector<std::string> Args(const std::vector<std::string>& args) const
    {
        std::vector<std::string> all {VX2200CTL_PATH, "127.0.0.1", std::to_string(m_sim.Port()), "backup"};
        all.insert(all.end(), args.begin(), args.end());
        return all;
    }
    // The simulator serves one client at a time: the test's own link goes first.
    RunResult Ctl(const std::vector<std::string>& args)
    {
        m_pApp->GetCtrl()->Disconnect();
        return RunProgram(Args(args));
    }
    CFileDBase::Entries ToolEvents() const
    {
        CFileDBase db(m_strProgDir);
        CFileDBase::Entries entries;
        db.GetEntries(entries);
        return entries;
    }

    const std::string m_strProgDir = m_dir / "progctl/";
};

class CtlLongBackupTest : public CtlBackupTest {
protected:
    CtlLongBackupTest() : CtlBackupTest(INTERVAL_500_MS) {}
};

int CountPictures(const std::string& strFolder)
{
    int n = 0;
    std::error_code error;
    for (auto it = fs::recursive_directory_iterator(strFolder, error); !error && it != fs::recursive_directory_iterator();
         it.increment(error))
        n += it->is_regular_file() && it->path().extension() == ".jpg" ? 1 : 0;
    return n;
}

} // namespace

// Over the same five minutes the tool writes the files the dialog's Backup
// writes, byte for byte, and enters the event in the program's database.
TEST_F(CtlBackupTest, SavesWhatTheDialogsBackupSaves)
{
    fs::create_directories(m_dir / "dialog");
    {
        CProgressDlg dlg(CProgressDlg::MODE_BACKUP, 100, At(10, 0), At(10, 5), m_dir / "dialog", "Same");
        dlg.GetTimer()->stop();
        for (int i = 0; i < 1000 && dlg.GetRun()->IsFetching(); ++i)
            dlg.OnTimer();
        ASSERT_EQ(dlg.GetRun()->TextId(), 269);
    }
    const RunResult result = Ctl({"2004-01-23", "10:00", "2004-01-23", "10:05", m_dir / "tool", "Same"});
    EXPECT_EQ(result.nExit, 0) << result.strErr;
    EXPECT_EQ(result.strOut, "saved=31 first=2004-01-23 10:00:00 last=2004-01-23 10:05:00\n");
    EXPECT_EQ(result.strErr, ""); // no terminal, no bar
    const auto dialogFiles = StoredPictures(m_dir / "dialog/Same");
    EXPECT_EQ(dialogFiles.size(), 31u);
    ExpectSamePictures(StoredPictures(m_dir / "tool/Same"), dialogFiles);
    EXPECT_EQ(ToolEvents(), (CFileDBase::Entries {{"Same", m_dir / "tool/Same"}}));
}

// The dialog's checks, with their notices' texts, before anything is sent;
// arguments that are no dates and times are usage errors.
TEST_F(CtlBackupTest, RefusesWhatTheDialogRefusesBeforeConnecting)
{
    CFileDBase db(m_strProgDir);
    fs::create_directories(m_strProgDir);
    db.Load();
    ASSERT_TRUE(db.AddEvent("Taken", m_dir / "old/Taken"));
    const std::string strFolder = m_dir / "tool";
    const struct {
        std::vector<std::string> args;
        int nExit;
        const char* pszText;
    } cases[] = {
        {{"2004-01-23", "10:00", "2004-01-23", "10:05", strFolder, "Taken"}, 65, "Event Already Exists."},
        {{"2004-01-23", "10:00", "2004-01-23", "10:05", "tool", "E"}, 65, "Invalid Path."},
        {{"2004-01-23", "10:00", "2004-01-23", "10:05", "", "E"}, 65, "Please Specify Recording Path."},
        {{"2004-01-23", "10:00", "2004-01-23", "10:05", "/proc/tool", "E"}, 65, "Invalid Drive."},
        {{"2004-01-23", "10:00", "2004-01-23", "10:05", strFolder, "a.b"}, 65, "Invalid Event Name....."},
        {{"2004-01-23", "10:00", "2004-01-23", "10:05", strFolder, "../up"}, 65, "Invalid Event Name....."},
        {{"2004-01-23", "10:00", "2004-01-23", "10:05", strFolder, "  "}, 65, "Please Specify Event Name."},
        {{"2004-01-23", "10:05", "2004-01-23", "10:05", strFolder, "E"}, 65, "There is an error in search option."},
        {{"2004-01-23", "25:00", "2004-01-23", "10:05", strFolder, "E"}, 65, "There is an error in search option."},
        {{"2003-12-31", "10:00", "2004-01-23", "10:05", strFolder, "E"}, 65, "There is an error in search option."},
        {{"2004-02-30", "10:00", "2004-03-01", "10:05", strFolder, "E"}, 65, "There is an error in search option."},
        {{"2004/01/23", "10:00", "2004-01-23", "10:05", strFolder, "E"}, 64, "dates are YYYY-MM-DD"},
        {{"2004-01-23", "10h00", "2004-01-23", "10:05", strFolder, "E"}, 64, "dates are YYYY-MM-DD"},
        {{"2004-01-23", "10:00", "2004-01-23", "10:05", strFolder}, 64, "usage"},
    };
    m_pApp->GetCtrl()->Disconnect();
    const int nConnections = m_sim.ConnectionCount();
    for (const auto& c : cases) {
        const RunResult result = RunProgram(Args(c.args));
        EXPECT_EQ(result.nExit, c.nExit) << c.pszText;
        EXPECT_NE(result.strErr.find(c.pszText), std::string::npos) << result.strErr;
        EXPECT_EQ(result.strOut, "");
    }
    EXPECT_EQ(m_sim.ConnectionCount(), nConnections);
    EXPECT_FALSE(fs::exists(strFolder));
    EXPECT_EQ(ToolEvents().size(), 1u);
}

TEST_F(CtlBackupTest, FirstPictureThatCannotBeFetchedEndsWithTheLinkStatus)
{
    const RunResult result = Ctl({"2004-01-23", "11:00", "2004-01-23", "11:05", m_dir / "tool", "Late"});
    EXPECT_EQ(result.nExit, 3);
    EXPECT_NE(result.strErr.find("no picture at or after 2004-01-23 11:00:00"), std::string::npos);
    EXPECT_EQ(result.strOut, "");
    EXPECT_TRUE(ToolEvents().empty());
    EXPECT_FALSE(fs::exists(m_dir / "tool/Late"));
}

TEST_F(CtlBackupTest, DatabaseThatCannotBeWrittenStopsBeforeAnyPicture)
{
    fs::create_directories(m_strProgDir);
    if (!SetImmutable(m_strProgDir, true))
        GTEST_SKIP() << "no immutable folders here";
    const RunResult result = Ctl({"2004-01-23", "10:00", "2004-01-23", "10:05", m_dir / "tool", "E"});
    SetImmutable(m_strProgDir, false);
    EXPECT_EQ(result.nExit, 73);
    EXPECT_NE(result.strErr.find("VX2200DB.db: cannot be written"), std::string::npos) << result.strErr;
    EXPECT_EQ(CountPictures(m_dir / "tool"), 0);
}

// On a terminal, standard error carries a bar that ends full.
TEST_F(CtlBackupTest, TerminalShowsAProgressBar)
{
    m_pApp->GetCtrl()->Disconnect();
    int hMaster = -1;
    int hSlave = -1;
    ASSERT_EQ(::openpty(&hMaster, &hSlave, nullptr, nullptr, nullptr), 0);
    const std::string strOut = m_dir / "out";
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, strOut.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    posix_spawn_file_actions_adddup2(&actions, hSlave, 2);
    posix_spawn_file_actions_addclose(&actions, hMaster);
    const std::vector<std::string> args = Args({"2004-01-23", "10:00", "2004-01-23", "10:05", m_dir / "tool", "E"});
    std::vector<char*> argv;
    for (const std::string& a : args)
        argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    pid_t pid = 0;
    ASSERT_EQ(posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ), 0);
    posix_spawn_file_actions_destroy(&actions);
    ::close(hSlave);
    std::string strTerminal;
    char buf[4096];
    for (pollfd pfd {hMaster, POLLIN, 0}; ::poll(&pfd, 1, 20000) > 0;) {
        const ssize_t n = ::read(hMaster, buf, sizeof buf);
        if (n <= 0)
            break; // the child has closed the terminal
        strTerminal.append(buf, static_cast<std::size_t>(n));
    }
    ::close(hMaster);
    int nStatus = 0;
    ::waitpid(pid, &nStatus, 0);
    EXPECT_EQ(WEXITSTATUS(nStatus), 0);
    EXPECT_NE(strTerminal.find("\r["), std::string::npos) << strTerminal;
    EXPECT_NE(strTerminal.find("] 100%  31 saved"), std::string::npos) << strTerminal;
    EXPECT_EQ(ReadAll(strOut), "saved=31 first=2004-01-23 10:00:00 last=2004-01-23 10:05:00\n");
}

// Ctrl-C ends the run cleanly after the picture in hand: the event stays
// registered, every picture file is whole, none is left half written.
TEST_F(CtlLongBackupTest, InterruptStopsCleanly)
{
    m_pApp->GetCtrl()->Disconnect();
    const std::string strOut = m_dir / "out";
    const std::string strErr = m_dir / "err";
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, strOut.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    posix_spawn_file_actions_addopen(&actions, 2, strErr.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    const std::string strEvent = m_dir / "tool/Long";
    const std::vector<std::string> args = Args({"2004-01-23", "09:30", "2004-01-23", "10:29", m_dir / "tool", "Long"});
    std::vector<char*> argv;
    for (const std::string& a : args)
        argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    pid_t pid = 0;
    ASSERT_EQ(posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ), 0);
    posix_spawn_file_actions_destroy(&actions);
    for (int i = 0; i < 2000 && CountPictures(strEvent) < 3; ++i)
        ::usleep(5000);
    ::kill(pid, SIGINT);
    int nStatus = 0;
    ::waitpid(pid, &nStatus, 0);
    ASSERT_TRUE(WIFEXITED(nStatus));
    EXPECT_EQ(WEXITSTATUS(nStatus), 130) << ReadAll(strErr);
    const std::string strLine = ReadAll(strOut);
    const auto stored = StoredPictures(strEvent);
    EXPECT_EQ(strLine.rfind("saved=" + std::to_string(stored.size()) + " first=2004-01-23 09:30:00 last=", 0), 0u)
        << strLine;
    EXPECT_GE(stored.size(), 3u);
    EXPECT_LT(stored.size(), 7000u);
    for (const auto& [strName, strBytes] : stored) // a temporary file would show as "?"
        EXPECT_EQ(strBytes.substr(0, 2), std::string("\xFF\xD8")) << strName;
    EXPECT_EQ(ToolEvents(), (CFileDBase::Entries {{"Long", strEvent}}));
}
