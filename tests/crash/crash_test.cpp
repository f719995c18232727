// Crash consistency: a writer process saves the operator's files over and over
// with the program's own code, alternating two versions, and is killed with
// SIGKILL at random moments. After every kill the file must be one of the two
// versions, whole, and no half-written file may lie under a name the program
// reads (entry.txt, VX2200DB.db, a .vxs settings file, a .jpg picture).
//
// VX_CRASH_TRIALS sets the trials per file kind (the test command runs a short
// version; scripts/crash-trials.sh runs the long one).
#include "app/vx2200net.h"
#include "fixtures/tempdir.h"
#include "link/settingsimage.h"
#include "platform/fileutil.h"
#include "store/filedbase.h"
#include "store/picturestore.h"
#include "store/storewalk.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <memory>
#include <random>
#include <set>
#include <thread>

#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

int Trials()
{
    const char* pszTrials = std::getenv("VX_CRASH_TRIALS");
    const int n = pszTrials ? std::atoi(pszTrials) : 0;
    return n > 0 ? n : 40;
}

// One kind of file: how to put the old version in place, how the writer
// saves version 0 or 1 (made once per writer, then called over and over),
// where the file lies, and which names in its folder the program would read.
using SaveFn = std::function<void(int nVersion)>;
struct FileKind {
    const char* pszName;
    std::function<void(const std::string& strDir)> fnPrepare;
    std::function<SaveFn(const std::string& strDir)> fnWriter;
    std::function<std::string(const std::string& strDir)> fnPath;
    std::function<bool(const std::string& strName)> fnReadByProgram;
};

// The two settings files of the settings kind: every setting 1, or 2.
std::string SettingsBytes(int nVersion)
{
    CSettingsImage image;
    for (int k = 0; k < 40; ++k)
        image.SetValue(k, nVersion + 1);
    return image.Encode();
}

CVX2200NETApp::Paths AppPaths(const std::string& strDir)
{
    return {strDir + "none.conf", strDir + "prog/", strDir + "lock"};
}

// A picture's information record: camera 3, 2004-01-23 13:45:20, frame 07.
const std::string& Info()
{
    static const std::string strInfo = [] {
        std::string s(38, '\0');
        const std::string strDigits = "040123134520";
        s.replace(5, 12, strDigits);
        s[17] = 2;
        s[32] = '0';
        s[33] = '7';
        return s;
    }();
    return strInfo;
}

std::vector<FileKind> Kinds()
{
    std::vector<FileKind> kinds;
    kinds.push_back({"entry.txt",
                     [](const std::string& strDir) {
                         CVX2200NETApp app(AppPaths(strDir));
                         app.LoadSettings();
                         app.AddEntry("Shop", "10.0.0.1", 8001);
                     },
                     [](const std::string& strDir) -> SaveFn {
                         auto pApp = std::make_shared<CVX2200NETApp>(AppPaths(strDir));
                         pApp->LoadSettings();
                         return [pApp](int nVersion) {
                             pApp->ChangeEntry(0, nVersion ? "Gate" : "Shop", nVersion ? "10.0.0.2" : "10.0.0.1", 8001);
                         };
                     },
                     [](const std::string& strDir) { return strDir + "prog/Data/entry.txt"; },
                     [](const std::string& strName) { return strName == "entry.txt"; }});
    kinds.push_back({"VX2200DB.db",
                     [](const std::string& strDir) {
                         MakeDirectory(strDir + "kept");
                         CFileDBase db(strDir);
                         db.Load();
                         db.AddEvent("kept", strDir + "kept");
                     },
                     [](const std::string& strDir) -> SaveFn {
                         auto pDb = std::make_shared<CFileDBase>(strDir);
                         return [pDb, strDir](int nVersion) {
                             CFileDBase::Entries entries;
                             pDb->GetEntries(entries);
                             if (nVersion && entries.size() == 1)
                                 pDb->AddEvent("gone", strDir + "gone"); // a folder that does not exist
                             else if (!nVersion)
                                 pDb->RemoveMissing();
                         };
                     },
                     [](const std::string& strDir) { return strDir + CFileDBase::FILE_NAME; },
                     [](const std::string& strName) { return strName == CFileDBase::FILE_NAME; }});
    kinds.push_back({"settings file",
                     [](const std::string& strDir) { WriteFileAtomically(strDir + "vx2200setting.vxs", SettingsBytes(0)); },
                     [](const std::string& strDir) -> SaveFn {
                         const std::string strOld = SettingsBytes(0);
                         const std::string strNew = SettingsBytes(1);
                         return [=](int nVersion) {
                             WriteFileAtomically(strDir + "vx2200setting.vxs", nVersion ? strNew : strOld);
                         };
                     },
                     [](const std::string& strDir) { return strDir + "vx2200setting.vxs"; },
                     [](const std::string& strName) {
                         return strName.size() >= 4 && strName.compare(strName.size() - 3, 3, "vxs") == 0;
                     }});
    kinds.push_back({"picture file",
                     [](const std::string& strDir) {
                         // Two sources of different sizes, and the old picture in place.
                         WriteFileAtomically(strDir + "a.src", std::string(30000, 'A'));
                         WriteFileAtomically(strDir + "b.src", std::string(52000, 'B'));
                         MakeDirectory(strDir + "event");
                         CPictureStore store(strDir + "event");
                         store.SavePicture(reinterpret_cast<const unsigned char*>(Info().data()), Info().size(), strDir + "a.src", false);
                     },
                     [](const std::string& strDir) -> SaveFn {
                         auto pStore = std::make_shared<CPictureStore>(strDir + "event");
                         return [pStore, strDir](int nVersion) {
                             pStore->SavePicture(reinterpret_cast<const unsigned char*>(Info().data()), Info().size(),
                                                 strDir + (nVersion ? "b.src" : "a.src"), false);
                         };
                     },
                     [](const std::string& strDir) {
                         return CPictureStore(strDir + "event").PicturePath(reinterpret_cast<const unsigned char*>(Info().data()), Info().size());
                     },
                     [](const std::string& strName) {
                         return strName.size() >= 4 && strName.compare(strName.size() - 4, 4, ".jpg") == 0;
                     }});
    return kinds;
}

// The versions of a file as they stand in its folder after a clean save.
std::string Snapshot(const FileKind& kind, const std::string& strDir, int nVersion)
{
    kind.fnWriter(strDir)(nVersion);
    return ReadAll(kind.fnPath(strDir));
}

// The names in strFolder (not below it) that the program would read.
std::vector<std::string> ReadNames(const std::string& strFolder, const FileKind& kind)
{
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(strFolder)) {
        const std::string strName = entry.path().filename().string();
        if (kind.fnReadByProgram(strName))
            names.push_back(strName);
    }
    return names;
}

// A writer process: saves the two versions in turn, starting with the one the
// file does not hold (nFirst), until it is killed, and reports each finished
// save with a byte on a pipe.
struct Writer {
    pid_t pid = -1;
    int hSaves = -1; // the pipe's reading end
};

Writer StartWriter(const FileKind& kind, const std::string& strDir, int nFirst)
{
    int fds[2] = {-1, -1};
    if (::pipe(fds) != 0)
        return {};
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::close(fds[0]);
        const SaveFn fnSave = kind.fnWriter(strDir);
        for (int n = nFirst;; n ^= 1) {
            fnSave(n);
            const char chSaved = 's';
            [[maybe_unused]] const ssize_t nIgnored = ::write(fds[1], &chSaved, 1);
        }
    }
    ::close(fds[1]);
    return {pid, fds[0]};
}

// Waits until the writer has finished nSaves saves (at most ten seconds).
bool AwaitSaves(const Writer& writer, int nSaves)
{
    for (int i = 0; i < nSaves; ++i) {
        pollfd pfd {writer.hSaves, POLLIN, 0};
        char ch = 0;
        if (::poll(&pfd, 1, 10000) != 1 || ::read(writer.hSaves, &ch, 1) != 1)
            return false;
    }
    return true;
}

void Kill(Writer& writer)
{
    ::kill(writer.pid, SIGKILL);
    ::waitpid(writer.pid, nullptr, 0);
    ::close(writer.hSaves);
}

} // namespace

TEST(CrashConsistency, AKilledWriterLeavesTheOldFileOrTheNewOneWhole)
{
    const int nTrials = Trials();
    std::mt19937 random(20041123);
    // The kill falls after 0, 1 or 2 finished saves, and then anywhere within
    // the next few saves or between them.
    std::uniform_int_distribution<int> finished(0, 2);
    std::uniform_int_distribution<int> delayUs(0, 4000);
    for (const FileKind& kind : Kinds()) {
        SCOPED_TRACE(kind.pszName);
        CTempDir dir;
        kind.fnPrepare(dir.Path());
        const std::string strOld = Snapshot(kind, dir.Path(), 0);
        const std::string strNew = Snapshot(kind, dir.Path(), 1);
        ASSERT_NE(strOld, strNew);
        const std::string strPath = kind.fnPath(dir.Path());
        const std::string strFolder = std::filesystem::path(strPath).parent_path().string();
        const std::string strName = std::filesystem::path(strPath).filename().string();
        std::set<std::string> seen;
        for (int nTrial = 0; nTrial < nTrials; ++nTrial) {
            Writer writer = StartWriter(kind, dir.Path(), ReadAll(strPath) == strOld ? 1 : 0);
            ASSERT_GT(writer.pid, 0);
            const bool bSaved = AwaitSaves(writer, finished(random));
            std::this_thread::sleep_for(std::chrono::microseconds(delayUs(random)));
            Kill(writer);
            ASSERT_TRUE(bSaved) << "trial " << nTrial << ": the writer never finished its saves";
            const std::string strNow = ReadAll(strPath);
            ASSERT_TRUE(strNow == strOld || strNow == strNew)
                << "trial " << nTrial << ": " << strNow.size() << " bytes, neither version";
            seen.insert(strNow == strOld ? "old" : "new");
            ASSERT_EQ(ReadNames(strFolder, kind), std::vector<std::string> {strName}) << "trial " << nTrial;
        }
        // The kills fell on both sides of the writes (a check that fails when
        // the writer never got to write).
        EXPECT_EQ(seen.size(), 2u) << "only " << *seen.begin() << " after " << nTrials << " trials";
    }
}

// The picture store's walk never lists a picture being written: whatever a kill
// leaves behind, the store holds exactly the one picture.
TEST(CrashConsistency, TheStoreWalkListsOnlyWholePictures)
{
    CTempDir dir;
    const FileKind kind = Kinds().back();
    kind.fnPrepare(dir.Path());
    for (int nTrial = 0; nTrial < 20; ++nTrial) {
        Writer writer = StartWriter(kind, dir.Path(), nTrial % 2);
        ASSERT_GT(writer.pid, 0);
        const bool bSaved = AwaitSaves(writer, nTrial % 3);
        std::this_thread::sleep_for(std::chrono::microseconds(200 * nTrial));
        Kill(writer);
        ASSERT_TRUE(bSaved);
        CStoreWalk walk(dir / "event/03");
        const std::vector<std::string> pictures = walk.PicturesFrom(std::string(), 10);
        ASSERT_EQ(pictures.size(), 1u) << "trial " << nTrial;
        EXPECT_EQ(pictures[0], kind.fnPath(dir.Path()));
    }
}
