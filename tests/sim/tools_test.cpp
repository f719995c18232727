// vx2200ctl and vx2200sim as the processes they are, against a simulator.
#include "fixtures/runprogram.h"
#include "fixtures/tempdir.h"
#include "link/settingsimage.h"
#include "sim/recordersim.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdio>
#include <fstream>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {

std::string ReadUntilClosed(int h)
{
    std::string str;
    char buf[4096];
    for (ssize_t r; (r = ::read(h, buf, sizeof buf)) > 0;)
        str.append(buf, static_cast<std::size_t>(r));
    return str;
}

class ToolsTest : public ::testing::Test {
protected:
    ToolsTest() : m_sim(Options()) {}
    static CRecorderSim::Options Options()
    {
        CRecorderSim::Options options;
        options.start = SimDateTime {2004, 3, 15, 8, 5, 0};
        return options;
    }
    void SetUp() override { ASSERT_TRUE(m_sim.Start()); }
    RunResult Ctl(const std::vector<std::string>& args)
    {
        std::vector<std::string> all {VX2200CTL_PATH, "127.0.0.1", std::to_string(m_sim.Port())};
        all.insert(all.end(), args.begin(), args.end());
        return RunProgram(all);
    }

    CRecorderSim m_sim;
};

} // namespace

TEST_F(ToolsTest, CommandsPrintWhatTheRecorderAnswers)
{
    m_sim.SetSetting(0, 0xFF);
    SimLogRecord fan;
    fan.time = {2004, 3, 14, 23, 1, 2};
    fan.nCode = 301;
    SimLogRecord disk = fan;
    disk.time = {2004, 3, 1, 0, 0, 9};
    disk.nCode = 250;
    m_sim.SetLog(CRecorderModel::LOG_FAILURE, {fan, disk});
    const struct {
        std::vector<std::string> args;
        std::string strOut;
    } cases[] = {
        {{"status"}, "power=1 playback=0 recording=0 disk=0\n"},
        {{"get", "RI"}, "RI=7\n"},
        {{"get", "pm"}, "PM=-1\n"},
        {{"timer", "5"}, "4 0 -1 -1 -1 -1 -1 -1 -1 -1 -1 -1 -1 -1\n"},
        {{"timer", "2"}, "1 2 0 0 65 10 0 16 30 3 1 9 1 0\n"},
        {{"log", "failure"}, "2004-03-14 23:01:02 Fan Failure \n2004-03-01 00:00:09 HDD Failure\n"},
        {{"key", "BTPL"}, ""},
        {{"key", "btrd"}, ""},
        {{"status"}, "power=1 playback=2 recording=1 disk=0\n"},
        {{"record"}, ""},
        {{"status"}, "power=1 playback=2 recording=0 disk=0\n"},
    };
    for (const auto& c : cases) {
        const RunResult r = Ctl(c.args);
        EXPECT_EQ(r.nExit, 0) << c.args[0] << ": " << r.strErr;
        EXPECT_EQ(r.strOut, c.strOut) << c.args[0];
    }
    const RunResult clock = Ctl({"clock"});
    EXPECT_EQ(clock.strOut.substr(0, 17), "2004-03-15 08:05:");
}

TEST_F(ToolsTest, SettingsGoToTheRecorderWhenItIsOff)
{
    const RunResult refused = Ctl({"set", "RI", "3"});
    EXPECT_EQ(refused.nExit, 3);
    EXPECT_NE(refused.strErr.find("set RI: status 3"), std::string::npos) << refused.strErr;
    EXPECT_EQ(Ctl({"power"}).nExit, 0);
    EXPECT_EQ(m_sim.GetStatus()[0], 0);
    EXPECT_EQ(Ctl({"set", "RI", "3"}).nExit, 0);
    EXPECT_EQ(m_sim.GetSetting(9), 3);
    EXPECT_EQ(Ctl({"set-clock", "2010-06-07", "01:02:03"}).nExit, 0);
    EXPECT_EQ(m_sim.GetClock().nYear, 2010);
    EXPECT_EQ(Ctl({"set-timer", "10", "9", "1", "12", "24", "0", "20", "0", "23", "30", "1", "1", "5", "0", "1"}).nExit, 0);
    EXPECT_EQ(m_sim.GetTimerProgram(9), (CRecorderModel::Program {9, 1, 12, 24, 0, 20, 0, 23, 30, 1, 1, 5, 0, 1}));
}

TEST_F(ToolsTest, DownloadAndUploadMoveAllSettingsThroughAFile)
{
    CTempDir dir;
    const std::string strFile = dir / "vx2200setting.vxs";
    ASSERT_EQ(Ctl({"download", strFile}).nExit, 0);
    std::string strBytes = ReadAll(strFile);
    ASSERT_EQ(strBytes.size(), 692u);
    EXPECT_EQ(strBytes[32], 7); // RI
    strBytes[32] = 12;
    WriteAll(strFile, strBytes);
    m_sim.SetStatus({0, 0, 0, 0});
    ASSERT_EQ(Ctl({"upload", strFile}).nExit, 0);
    EXPECT_EQ(m_sim.GetSetting(9), 12);
}

TEST_F(ToolsTest, FailuresEndWithTheStatusOfTheFirstFailedExchange)
{
    m_sim.SetFault("BTQT", SimFault::Reset, 1);
    const RunResult lost = Ctl({"status"});
    EXPECT_EQ(lost.nExit, 3);
    EXPECT_EQ(lost.strOut, "");
    EXPECT_NE(lost.strErr.find("status: status 3"), std::string::npos) << lost.strErr;

    m_sim.SetFault("MVRI", SimFault::BadCode, 1);
    EXPECT_EQ(Ctl({"get", "RI"}).nExit, 2);
    m_sim.SetFault("BTQT", SimFault::Refuse, 1);
    const RunResult power = Ctl({"power"});
    EXPECT_EQ(power.nExit, 3);
    EXPECT_EQ(m_sim.GetStatus()[0], 1); // no power key sent on a guess
    m_sim.SetFault("MVTM", SimFault::Silence, 1, 2);
    CTempDir dir;
    EXPECT_EQ(Ctl({"download", dir / "f.vxs"}).nExit, 3);
    EXPECT_FALSE(std::ifstream(dir / "f.vxs").good());

    CRecorderSim gone;
    ASSERT_TRUE(gone.Start());
    const int nDeadPort = gone.Port();
    gone.Stop();
    const RunResult refused = RunProgram({VX2200CTL_PATH, "127.0.0.1", std::to_string(nDeadPort), "status"});
    EXPECT_EQ(refused.nExit, 3);
    EXPECT_NE(refused.strErr.find("connect"), std::string::npos);
}

TEST_F(ToolsTest, BadUseIsRefusedBeforeAnythingIsSent)
{
    CTempDir dir;
    WriteAll(dir / "short.vxs", std::string(691, '\0'));
    WriteAll(dir / "long.vxs", std::string(693, '\0'));
    const struct {
        std::vector<std::string> args;
        int nExit;
    } cases[] = {
        {{"status", "extra"}, 64},
        {{"nosuch"}, 64},
        {{"key", "BTXX"}, 64},
        {{"get", "DT"}, 64},
        {{"get", "TM"}, 64},
        {{"set", "RI", "256"}, 64},
        {{"set-clock", "2004-13-01", "00:00:00"}, 64},
        {{"timer", "0"}, 64},
        {{"timer", "11"}, 64},
        {{"set-timer", "3", "0", "0", "0", "0", "0", "0", "0", "0", "0", "0", "0", "0", "0", "0"}, 64},
        {{"log", "all"}, 64},
        {{"upload", dir / "short.vxs"}, 65},
        {{"upload", dir / "long.vxs"}, 65},
        {{"upload", dir / "missing.vxs"}, 66},
    };
    for (const auto& c : cases) {
        const RunResult r = Ctl(c.args);
        EXPECT_EQ(r.nExit, c.nExit) << c.args[0];
        EXPECT_FALSE(r.strErr.empty()) << c.args[0];
    }
    EXPECT_EQ(RunProgram({VX2200CTL_PATH}).nExit, 64);
    EXPECT_EQ(RunProgram({VX2200CTL_PATH, "127.0.0.1", "99999", "status"}).nExit, 64);
    EXPECT_EQ(m_sim.ConnectionCount(), 0);
}

// The simulator program names its port on its first line, serves, takes its
// faults from the command line and ends on SIGTERM.
TEST(SimulatorProgram, ServesOnTheNamedPortUntilTerminated)
{
    int hOut[2];
    ASSERT_EQ(::pipe(hOut), 0);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, hOut[1], 1);
    posix_spawn_file_actions_addclose(&actions, hOut[0]);
    std::vector<std::string> args {VX2200SIM_PATH, "--port", "0", "--start", "2004-03-15 08:05:00",
                                   "--fault", "BTQT=refuse:1"};
    std::vector<char*> argv;
    for (const std::string& a : args)
        argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    pid_t pid = 0;
    ASSERT_EQ(posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ), 0);
    posix_spawn_file_actions_destroy(&actions);
    ::close(hOut[1]);
    std::string strLine;
    char ch = 0;
    pollfd pfd {hOut[0], POLLIN, 0};
    while (::poll(&pfd, 1, 10000) > 0 && ::read(hOut[0], &ch, 1) == 1 && ch != '\n')
        strLine += ch;
    int nPort = 0;
    ASSERT_EQ(std::sscanf(strLine.c_str(), "port %d", &nPort), 1) << strLine;
    const std::string strPort = std::to_string(nPort);
    EXPECT_EQ(RunProgram({VX2200CTL_PATH, "127.0.0.1", strPort, "status"}).nExit, 3);
    const RunResult status = RunProgram({VX2200CTL_PATH, "127.0.0.1", strPort, "status"});
    EXPECT_EQ(status.strOut, "power=1 playback=0 recording=0 disk=0\n");
    EXPECT_EQ(RunProgram({VX2200CTL_PATH, "127.0.0.1", strPort, "clock"}).strOut.substr(0, 16), "2004-03-15 08:05");
    ::kill(pid, SIGTERM);
    int nStatus = 0;
    ::waitpid(pid, &nStatus, 0);
    EXPECT_TRUE(WIFEXITED(nStatus));
    EXPECT_EQ(WEXITSTATUS(nStatus), 0);
    ReadUntilClosed(hOut[0]);
    ::close(hOut[0]);
}
