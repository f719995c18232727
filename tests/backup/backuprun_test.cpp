// The backup run on its own, against the simulator: what it stores, how it
// ends, and how it fails.
#include "backupfixture.h"

#include "../store/storetree.h"
#include "image/vximage.h"
#include "link/vx2200ctrl.h"
#include "platform/stringtable.h"
#include "sim/simfault.h"
#include "store/backuprun.h"

#include <filesystem>
#include <vector>

namespace {

struct Tick {
    int nProgress;
    int nTextId;
    int nSaved;
};

// Runs to the end, noting the bar, the text and the count after each step.
std::vector<Tick> RunToEnd(CBackupRun& run)
{
    std::vector<Tick> ticks;
    for (int i = 0; i < 100000 && run.IsFetching(); ++i) {
        run.Step();
        ticks.push_back({run.Progress(), run.TextId(), run.SavedCount()});
    }
    return ticks;
}

class BackupRunTest : public BackupTest {
protected:
    std::unique_ptr<CBackupRun> MakeRun(const CCivilTime& start, const CCivilTime& end)
    {
        return std::make_unique<CBackupRun>(*m_pApp->GetImage(), m_strFolder, "Event", start, end);
    }
    const std::string m_strFolder = m_dir / "backup";
    const std::string m_strEvent = m_dir / "backup/Event";
};

} // namespace

// From 10:00:00 to 10:00:30 over a picture every 10 s: the pictures of 10:00:00,
// :10, :20 and :30 (the first at the end time is stored too), the bar at 0, 33
// and 66, then "Backup Finsihed."; one fetch more, and the bar rests at 99.
TEST_F(BackupRunTest, StoresEveryPictureFromTheStartToTheFirstAtTheEnd)
{
    MakeFolders(m_strFolder);
    auto pRun = MakeRun(At(10, 0, 0), At(10, 0, 30));
    ASSERT_TRUE(pRun->Start());
    EXPECT_EQ(pRun->EventFolder(), m_strEvent);
    const std::vector<Tick> ticks = RunToEnd(*pRun);
    ASSERT_EQ(ticks.size(), 5u);
    const int nRunning = CBackupRun::STRING_RUNNING;
    const int nFinished = CBackupRun::STRING_FINISHED;
    EXPECT_EQ(ticks[0].nProgress, 0);
    EXPECT_EQ(ticks[1].nProgress, 33);
    EXPECT_EQ(ticks[2].nProgress, 66);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(ticks[static_cast<std::size_t>(i)].nTextId, nRunning) << i;
    EXPECT_EQ(ticks[3].nTextId, nFinished);
    EXPECT_EQ(ticks[3].nSaved, 4);
    EXPECT_EQ(ticks[4].nSaved, 4);
    EXPECT_TRUE(pRun->IsOver());
    pRun->Step();
    EXPECT_EQ(pRun->Progress(), CBackupRun::PROGRESS_ENDED);
    // The first, four more moves forward: the one after the end is fetched, never stored.
    EXPECT_EQ(CountUploads(), 5);
    ExpectSamePictures(StoredPictures(m_strEvent), BackedUpPictures(At(10, 0, 0), At(10, 0, 30)));
    EXPECT_EQ(pRun->FirstSaved(), At(10, 0, 0));
    EXPECT_EQ(pRun->LastSaved(), At(10, 0, 30));
}

TEST_F(BackupRunTest, NoFirstPictureFailsToStartAndStoresNothing)
{
    auto pRun = MakeRun(At(11, 0), At(11, 5)); // after the recording: J0 is refused
    EXPECT_FALSE(pRun->Start());
    EXPECT_TRUE(pRun->FailedToStart());
    EXPECT_TRUE(pRun->IsOver());
    EXPECT_EQ(pRun->TextId(), CBackupRun::STRING_FAILED);
    pRun->Step();
    EXPECT_EQ(pRun->Progress(), CBackupRun::PROGRESS_ENDED);
    EXPECT_FALSE(std::filesystem::exists(m_strEvent));
    EXPECT_EQ(m_pApp->GetCtrl()->m_nResult, 3);
}

// The recorder stays on its newest picture when asked for the next one; a
// range that ends after the recording ends there instead of storing that
// picture on every tick.
TEST_F(BackupRunTest, RangePastTheRecordingEndsAtTheNewestPicture)
{
    MakeFolders(m_strFolder);
    auto pRun = MakeRun(At(10, 29), At(10, 45));
    ASSERT_TRUE(pRun->Start());
    const std::vector<Tick> ticks = RunToEnd(*pRun);
    EXPECT_LE(ticks.size(), 8u);
    EXPECT_EQ(pRun->TextId(), CBackupRun::STRING_FINISHED);
    ExpectSamePictures(StoredPictures(m_strEvent), BackedUpPictures(At(10, 29), At(10, 45)));
    EXPECT_EQ(pRun->SavedCount(), 6);
}

// A picture that cannot be stored fails the run; the run fetches once more and
// stops, and stays failed even when that fetch fails too.
TEST_F(BackupRunTest, PictureThatCannotBeStoredFailsTheRunForGood)
{
    MakeFolders(m_strFolder);
    auto pRun = MakeRun(At(10, 0), At(10, 5));
    ASSERT_TRUE(pRun->Start());
    if (!SetImmutable(m_strEvent, true))
        GTEST_SKIP() << "no immutable folders here";
    m_sim.SetFault("J1", SimFault::Refuse);
    const std::vector<Tick> ticks = RunToEnd(*pRun);
    SetImmutable(m_strEvent, false);
    ASSERT_EQ(ticks.size(), 1u);
    EXPECT_EQ(ticks[0].nTextId, CBackupRun::STRING_FAILED);
    EXPECT_TRUE(pRun->HasFailed());
    EXPECT_TRUE(pRun->IsOver());
    EXPECT_EQ(pRun->SavedCount(), 0);
    EXPECT_TRUE(StoredPictures(m_strEvent).empty());
}

TEST_F(BackupRunTest, StoppedRunFetchesNothingMore)
{
    MakeFolders(m_strFolder);
    auto pRun = MakeRun(At(10, 0), At(10, 5));
    ASSERT_TRUE(pRun->Start());
    pRun->Step();
    pRun->Step();
    pRun->Stop();
    const int nUploads = CountUploads();
    const std::vector<Tick> ticks = RunToEnd(*pRun);
    EXPECT_EQ(ticks.size(), 1u);
    EXPECT_EQ(CountUploads(), nUploads);
    EXPECT_EQ(pRun->SavedCount(), 2);
    EXPECT_FALSE(pRun->HasFailed());
}

TEST(BackupRunFolder, EventFolderJoinsWithOneSeparator)
{
    EXPECT_EQ(CBackupRun::EventFolderOf("/srv/pictures", "E"), "/srv/pictures/E");
    EXPECT_EQ(CBackupRun::EventFolderOf("/srv/pictures//", "E"), "/srv/pictures/E");
    EXPECT_EQ(CBackupRun::EventFolderOf("/", "E"), "/E");
}

namespace {

class HalfSecondRunTest : public BackupTest {
protected:
    HalfSecondRunTest() : BackupTest(INTERVAL_500_MS) {}
};

} // namespace

// Two pictures a second: each second folder holds both, kept apart by their
// frame numbers.
TEST_F(HalfSecondRunTest, PicturesOfOneSecondAreKeptApartByTheirFrameNumber)
{
    const std::string strFolder = m_dir / "backup";
    MakeFolders(strFolder);
    CBackupRun run(*m_pApp->GetImage(), strFolder, "Event", At(10, 0, 0), At(10, 0, 10));
    ASSERT_TRUE(run.Start());
    RunToEnd(run);
    const auto stored = StoredPictures(strFolder + "/Event");
    ExpectSamePictures(stored, BackedUpPictures(At(10, 0, 0), At(10, 0, 10)));
    EXPECT_EQ(stored.size(), 21u);
    EXPECT_EQ(stored.count("02/2004_01_23/10/00/00/2004012310000001.jpg"), 1u);
    EXPECT_EQ(stored.count("01/2004_01_23/10/00/00/2004012310000000.jpg"), 1u);
}
