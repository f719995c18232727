#include "app/vx2200net.h"
#include "fixtures/scriptedprompter.h"
#include "fixtures/tempdir.h"
#include "platform/fileutil.h"
#include "platform/instancelock.h"
#include "store/filedbase.h"

#include <gtest/gtest.h>

namespace {

class AppTest : public ::testing::Test {
protected:
    CVX2200NETApp::Paths Paths() const
    {
        return {m_dir / "Varnel/VX2200NET.conf", m_dir / "share/VX2200NET/", m_dir / "hPrevInstance.lock"};
    }
    void WriteSettings(const std::string& strBody)
    {
        CVX2200NETApp::CreateDirectoryPath(m_dir / "Varnel");
        WriteAll(m_dir / "Varnel/VX2200NET.conf", "[Setting]\n" + strBody);
    }
    std::string EntryFile() const { return m_dir / "share/VX2200NET/Data/entry.txt"; }

    CTempDir m_dir;
};

} // namespace

TEST_F(AppTest, DefaultsWithoutSettingsFileAndEmptyBookWithoutEntryFile)
{
    CVX2200NETApp app(Paths());
    app.LoadSettings();
    EXPECT_EQ(app.GetProgDir(), m_dir / "share/VX2200NET/");
    EXPECT_EQ(app.GetDataDir(), m_dir / "share/VX2200NET/Data/");
    EXPECT_TRUE(IsDirectory(app.GetDataDir()));
    EXPECT_EQ(app.GetUpdateTime(), 300);
    EXPECT_EQ(app.GetEntryCount(), 0);
    EXPECT_EQ(app.GetLanguage(), 1); // the tests run with the English strings

    // Adding one entry writes the whole 300-record file.
    ASSERT_EQ(app.AddEntry("Shop", "10.0.0.7", 8001), 1);
    const std::string strStored = ReadAll(EntryFile());
    EXPECT_EQ(strStored.size(), 28804u);
    EXPECT_EQ(strStored.substr(0, 4), std::string("\x01\0\0\0", 4));
}

TEST_F(AppTest, SettingsFileGivesFoldersAndPeriod)
{
    struct Case {
        std::string strBody;
        std::string strProgDir;
        int nUpdateTime;
    } cases[] = {
        {"ProgDir=" + (m_dir / "prog/") + "\nUpdateTime=150\n", m_dir / "prog/", 150},
        // A folder without its final '/' still gives prog/Data/.
        {"ProgDir=" + (m_dir / "prog") + "\n", m_dir / "prog/", 300},
        {"UpdateTime=abc\n", m_dir / "share/VX2200NET/", 300},
        {"UpdateTime=0\n", m_dir / "share/VX2200NET/", 300},
        {"UpdateTime=-5\n", m_dir / "share/VX2200NET/", 300},
    };
    for (const Case& c : cases) {
        WriteSettings(c.strBody);
        CVX2200NETApp app(Paths());
        app.LoadSettings();
        EXPECT_EQ(app.GetProgDir(), c.strProgDir) << c.strBody;
        EXPECT_EQ(app.GetDataDir(), c.strProgDir + "Data/") << c.strBody;
        EXPECT_EQ(app.GetUpdateTime(), c.nUpdateTime) << c.strBody;
    }
    // The settings file is only read, never written.
    EXPECT_EQ(ReadAll(m_dir / "Varnel/VX2200NET.conf"), "[Setting]\nUpdateTime=-5\n");
}

TEST_F(AppTest, BookSurvivesARestartByteForByte)
{
    std::string strFirst;
    {
        CVX2200NETApp app(Paths());
        app.LoadSettings();
        for (int i = 0; i < 10; ++i)
            ASSERT_EQ(app.AddEntry("DVR " + std::to_string(i), "192.168.1." + std::to_string(i), 8001), 1);
        strFirst = ReadAll(EntryFile());
        EXPECT_EQ(strFirst.substr(0, 5), std::string("\x0D\x0A\0\0\0", 5));
    }
    CVX2200NETApp app(Paths());
    app.LoadSettings();
    ASSERT_EQ(app.GetEntryCount(), 10);
    EXPECT_EQ(app.GetEntryName(9), "DVR 9");
    EXPECT_EQ(app.GetEntryIP(9), "192.168.1.9");
    app.SaveEntries();
    EXPECT_EQ(ReadAll(EntryFile()), strFirst);
}

TEST_F(AppTest, AddRefusesThe301stEntry)
{
    CVX2200NETApp app(Paths());
    app.LoadSettings();
    for (int i = 0; i < 300; ++i)
        ASSERT_EQ(app.AddEntry("N" + std::to_string(i), "10.0.0.1", i), 1);
    const std::string strBefore = ReadAll(EntryFile());
    EXPECT_EQ(app.AddEntry("one more", "10.0.0.2", 1), 0);
    EXPECT_EQ(app.GetEntryCount(), 300);
    EXPECT_EQ(ReadAll(EntryFile()), strBefore);
    EXPECT_EQ(app.SetEntry("grow", "10.0.0.3", 1, 299, 1), 0);
    EXPECT_EQ(app.SetEntry("outside", "10.0.0.3", 1, 300, 0), 0);
    EXPECT_EQ(app.GetEntryCount(), 300);
}

TEST_F(AppTest, DeleteKeepsTheConnectedEntryAndTheFreedSlotsPort)
{
    CVX2200NETApp app(Paths());
    app.LoadSettings();
    for (int i = 0; i < 8; ++i)
        app.AddEntry("E" + std::to_string(i), "10.0.0." + std::to_string(i), 9000 + i);

    ASSERT_EQ(app.SetConnected(5), 1);
    ASSERT_EQ(app.DeleteEntry(3), 1);
    EXPECT_EQ(app.GetConnected(), 4);
    EXPECT_EQ(app.GetEntryName(4), "E5");
    ASSERT_EQ(app.DeleteEntry(6), 1); // was entry 7
    EXPECT_EQ(app.GetConnected(), 4);
    EXPECT_EQ(app.DeleteEntry(6), 0); // beyond the count now
    EXPECT_EQ(app.GetEntryCount(), 6);

    // The freed slots keep their ports: the file still says so after a restart.
    const std::string strStored = ReadAll(EntryFile());
    EXPECT_EQ(strStored.substr(4 + 96 * 6, 1), std::string("\0", 1));
    EXPECT_EQ(strStored.substr(4 + 96 * 6 + 64, 5), std::string("9007\0", 5));
    EXPECT_EQ(strStored.substr(4 + 96 * 7 + 64, 5), std::string("9007\0", 5));
}

TEST_F(AppTest, UniquenessChangeAndChoice)
{
    CVX2200NETApp app(Paths());
    app.LoadSettings();
    app.AddEntry("A", "10.0.0.1", 8001);
    app.AddEntry("B", "10.0.0.2", 8001);

    EXPECT_EQ(app.IsEntryUnique("A", "10.0.0.9", 1, -1), 0);    // same name
    EXPECT_EQ(app.IsEntryUnique("a", "10.0.0.9", 1, -1), 1);    // names are case-sensitive
    EXPECT_EQ(app.IsEntryUnique("C", "10.0.0.2", 8001, -1), 0); // same address and port
    EXPECT_EQ(app.IsEntryUnique("C", "10.0.0.2", 8002, -1), 1);
    EXPECT_EQ(app.ChangeEntry(1, "B", "10.0.0.2", 8001), 1);    // unchanged: its own index is skipped
    EXPECT_EQ(app.ChangeEntry(1, "A", "10.0.0.2", 8001), 0);
    EXPECT_EQ(app.ChangeEntry(2, "C", "10.0.0.3", 8001), 0);    // not below the count

    EXPECT_EQ(app.SetConnected(2), 0);
    ASSERT_EQ(app.SetConnected(1), 1);
    app.CommitChoice(0);
    EXPECT_EQ(app.GetConnected(), -1);
    EXPECT_EQ(app.GetLastEntryName(), "B");
    std::string strIP = "x";
    int nPort = 5;
    app.GetConnectedAddress(strIP, nPort);
    EXPECT_EQ(strIP, "");
    EXPECT_EQ(nPort, 0);
    app.SetConnected(0);
    app.CommitChoice(1);
    app.GetConnectedAddress(strIP, nPort);
    EXPECT_EQ(strIP, "10.0.0.1");
    EXPECT_EQ(nPort, 8001);
}

TEST_F(AppTest, ListTopMoves)
{
    CVX2200NETApp app(Paths());
    app.LoadSettings();
    for (int i = 0; i < 25; ++i)
        app.AddEntry("E" + std::to_string(i), "10.0.1." + std::to_string(i), 80);
    app.ScrollList(10, 1);
    EXPECT_EQ(app.GetListTop(), 10);
    app.ScrollList(4, 0);
    EXPECT_EQ(app.GetListTop(), 6);
    app.ScrollList(10, 0);
    EXPECT_EQ(app.GetListTop(), 0);

    app.SetConnected(17);
    app.CommitChoice(1);
    app.ResetListTop();
    EXPECT_EQ(app.GetListTop(), 17);
    app.SetConnected(0);
    app.CommitChoice(0); // last entry 0, none connected
    app.SetListTop(9);
    app.ResetListTop();
    EXPECT_EQ(app.GetListTop(), 0);
}

TEST_F(AppTest, CreateDirectoryPathMakesEachMissingLevel)
{
    const std::string strPath = m_dir / "a/b/c/";
    EXPECT_EQ(CVX2200NETApp::CreateDirectoryPath(strPath), 1);
    EXPECT_TRUE(IsDirectory(m_dir / "a/b/c"));
    // Nothing left to create: 0. Trailing slashes are folded.
    EXPECT_EQ(CVX2200NETApp::CreateDirectoryPath(m_dir / "a/b/c///"), 0);
    // A level blocked by a file: the last creation fails.
    WriteAll(m_dir / "file", "x");
    EXPECT_EQ(CVX2200NETApp::CreateDirectoryPath(m_dir / "file/sub"), 0);
    // Relative paths work from the current folder's point of view, too.
    EXPECT_EQ(CVX2200NETApp::CreateDirectoryPath(m_dir / "x"), 1);
}

TEST_F(AppTest, SecondCopyIsRefusedWithTheMessage)
{
    CInstanceLock first;
    ASSERT_TRUE(first.Acquire(Paths().strLockFile));
    CScriptedPrompter prompter;
    CVX2200NETApp app(Paths());
    EXPECT_FALSE(app.InitInstance());
    ASSERT_EQ(prompter.Asks().size(), 1u);
    EXPECT_EQ(prompter.Asks()[0].strText, "Cannot Run Multiple DVR LAN software.");
    EXPECT_EQ(app.GetMainWnd(), nullptr);
    // The first copy keeps its lock.
    EXPECT_TRUE(first.IsHeld());
    CInstanceLock third;
    EXPECT_FALSE(third.Acquire(Paths().strLockFile));
}

TEST_F(AppTest, StartUpRunsTheWindowUnconnectedAndReleasesTheLockAtTheEnd)
{
    CScriptedPrompter prompter;
    CVX2200NETApp app(Paths());
    int nRuns = 0;
    app.SetWindowRun([&](CVX2200NETApp& running) {
        ++nRuns;
        EXPECT_EQ(&running, &app);
        EXPECT_EQ(running.GetConnected(), -1);
        EXPECT_NE(running.GetCtrl(), nullptr);
        EXPECT_NE(running.GetImage(), nullptr);
        ASSERT_NE(running.GetFileDB(), nullptr);
        EXPECT_EQ(running.GetFileDB()->FilePath(), running.GetProgDir() + "VX2200DB.db");
        CInstanceLock other;
        EXPECT_FALSE(other.Acquire(Paths().strLockFile));
    });
    EXPECT_FALSE(app.InitInstance());
    EXPECT_EQ(nRuns, 1);
    EXPECT_TRUE(prompter.Asks().empty());
    EXPECT_EQ(app.GetMainWnd(), nullptr);
    CInstanceLock after;
    EXPECT_TRUE(after.Acquire(Paths().strLockFile));
}

TEST(AppVersion, VersionTextFollowsTheLanguage)
{
    const Language old = CStringTable::CurrentLanguage();
    CStringTable::SetLanguage(Language::English);
    EXPECT_EQ(CVX2200NETApp::VersionText(), "Ver1.10EN for Windows 2000/XP");
    CStringTable::SetLanguage(Language::Japanese);
    EXPECT_EQ(CVX2200NETApp::VersionText(), "Ver1.10JN for Windows 2000/XP");
    CStringTable::SetLanguage(old);
}

TEST_F(AppTest, LanguageFollowsTheStringTable)
{
    const Language old = CStringTable::CurrentLanguage();
    for (Language lang : {Language::Japanese, Language::English}) {
        CStringTable::SetLanguage(lang);
        CVX2200NETApp app(Paths());
        app.LoadSettings();
        EXPECT_EQ(app.GetLanguage(), lang == Language::Japanese ? 0 : 1);
    }
    CStringTable::SetLanguage(old);
}
