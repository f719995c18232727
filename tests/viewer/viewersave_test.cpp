// The viewer's REC key: the Image run and the Backup run against the
// simulator, into real folders, with the event database.
#include "viewerfixture.h"

#include "backup/progressdlg.h"
#include "backup/vwrecsetdlg.h"
#include "link/vx2200ctrl.h"
#include "sim/simfault.h"
#include "sim/simpicture.h"
#include "store/backuprun.h"
#include "store/filedbase.h"
#include "store/picturestamp.h"
#include "widgets/bitmapbutton.h"
#include "widgets/keyartwork.h"

#include <QApplication>
#include <QDateEdit>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <filesystem>
#include <functional>
#include <map>

namespace {

using Pictures = std::map<std::string, std::string>;

// Every file below a folder: its path below it and its bytes.
Pictures FilesBelow(const std::string& strFolder)
{
    namespace fs = std::filesystem;
    Pictures files;
    std::error_code error;
    for (auto it = fs::recursive_directory_iterator(strFolder, error);
         !error && it != fs::recursive_directory_iterator(); it.increment(error)) {
        if (it->is_regular_file())
            files[fs::relative(it->path(), strFolder).string()] = ReadAll(it->path().string());
    }
    return files;
}

class ViewerSaveTest : public ViewerTest {
protected:
    // Fills the save dialog the next REC opens and presses its OK.
    void AnswerSaveDialog(std::function<void(CVwRecSetDlg&)> fnFill)
    {
        QTimer::singleShot(0, [fnFill] {
            auto* pDlg = qobject_cast<CVwRecSetDlg*>(QApplication::activeModalWidget());
            ASSERT_NE(pDlg, nullptr);
            fnFill(*pDlg);
            pDlg->OnOK();
            if (pDlg->isVisible()) {
                ADD_FAILURE() << "the save dialog refused its values";
                pDlg->OnCancel();
            }
        });
    }
    static void Set(CVwRecSetDlg& dlg, int nId, const std::string& str)
    {
        dlg.findChild<QLineEdit*>(QStringLiteral("id%1").arg(nId))->setText(QString::fromStdString(str));
    }
    // An Image run of nCount pictures named Gate into pics/.
    void StartImageRun(int nCount)
    {
        const std::string strFolder = m_dir / "pics";
        AnswerSaveDialog([strFolder, nCount](CVwRecSetDlg& dlg) {
            Set(dlg, CVwRecSetDlg::IDC_EVENT_NAME, "Gate");
            Set(dlg, CVwRecSetDlg::IDC_IMAGE_FOLDER, strFolder);
            Set(dlg, CVwRecSetDlg::IDC_COUNT, std::to_string(nCount));
        });
        Click(CViewerDlg::IDC_REC);
    }
    // The recorded pictures nFrom..nTo by their store paths.
    Pictures Recorded(long long nFrom, long long nTo)
    {
        Pictures pictures;
        for (long long i = nFrom; i <= nTo; ++i) {
            const CSimRecording::Picture p = m_sim.PictureAt(i);
            std::uint8_t info[CPictureStamp::INFO_SIZE] = {};
            CSimPicture::MakeInfo(p.nCamera, SimDateTime::FromMs(p.nTimeMs), p.nFrame, info);
            pictures[CPictureStamp::FromInfo(info, sizeof info)->RelativePath()] = m_sim.PictureJpeg(i);
        }
        return pictures;
    }
    CFileDBase::Entries Events()
    {
        CFileDBase::Entries entries;
        m_pApp->GetFileDB()->GetEntries(entries);
        return entries;
    }
    void TickWhileSaving()
    {
        for (int i = 0; i < 50 && Page().IsSaving(); ++i)
            Tick();
    }
    const std::string m_strEvent = m_dir / "pics/Gate";
};

} // namespace

// An Image run of N from the start of the recording: each picture shown is
// stored, the one after the last ends the run and is shown, not stored; the
// event is in the database.
TEST_F(ViewerSaveTest, ImageRunOfNFetchesNPlusOneAndStoresN)
{
    Poll();
    for (const int nCount : {3, 10}) {
        SCOPED_TRACE(nCount);
        std::filesystem::remove_all(m_dir / "pics");
        m_pApp->GetFileDB()->Load();
        m_pApp->GetFileDB()->RemoveMissing();
        GoToRecordingStart();
        StartImageRun(nCount);
        EXPECT_EQ(Page().GetPlayState(), CViewerDlg::PLAY_SAVING);
        EXPECT_EQ(Page().GetSavedCount(), 1);
        TickWhileSaving();
        EXPECT_FALSE(Page().IsSaving());
        EXPECT_EQ(Page().GetPlayState(), CViewerDlg::PLAY_STOP);
        EXPECT_EQ(CountReceived("JU"), nCount + 1);
        const Pictures stored = FilesBelow(m_strEvent);
        EXPECT_EQ(stored.size(), static_cast<std::size_t>(nCount));
        EXPECT_TRUE(stored == Recorded(1, nCount));
        // The picture that ended the run is the one shown.
        EXPECT_EQ(m_sim.PicturePosition(), nCount + 1);
        EXPECT_EQ(Events(), (CFileDBase::Entries {{"Gate", m_strEvent}}));
    }
}

TEST_F(ViewerSaveTest, ImageRunOfOneStoresTheNextPictureAndStaysStopped)
{
    Poll();
    GoToRecordingStart();
    StartImageRun(1);
    EXPECT_FALSE(Page().IsSaving());
    EXPECT_EQ(Page().GetPlayState(), CViewerDlg::PLAY_STOP);
    // The dialog reads the clock; then one step forward and its picture.
    std::vector<std::string> moves;
    for (const std::string& str : ReceivedCodes()) {
        if (str[0] == 'J')
            moves.push_back(str);
    }
    EXPECT_EQ(moves, (std::vector<std::string> {"J1", "JI", "JU"}));
    EXPECT_TRUE(FilesBelow(m_strEvent) == Recorded(1, 1));
    Tick(3);
    EXPECT_EQ(CountReceived("JU"), 1);
}

// Too little free space for the next picture: "Disk Full Error.", the run
// stops, and nothing is left of the picture.
TEST_F(ViewerSaveTest, DiskFullStopsTheRunWithItsNotice)
{
    Poll();
    GoToRecordingStart();
    StartImageRun(5);
    ASSERT_EQ(Page().GetSavedCount(), 1);
    Page().GetSaveStore().SetFreeSpaceQuery([](const std::string&) { return std::optional<std::uint64_t>(1000); });
    Tick();
    EXPECT_EQ(m_prompter.ConfirmModes(), std::vector<int> {33});
    EXPECT_EQ(Page().GetPlayState(), CViewerDlg::PLAY_STOP);
    Tick();
    EXPECT_FALSE(Page().IsSaving());
    EXPECT_EQ(Page().GetSavedCount(), 1);
    EXPECT_TRUE(FilesBelow(m_strEvent) == Recorded(1, 1)); // no second file, whole or in part
}

// The event is registered when the run starts, even when no picture arrives.
TEST_F(ViewerSaveTest, ImageRunIsRegisteredEvenWithoutAPicture)
{
    Poll();
    m_sim.SetFault("JU", SimFault::SizeZero);
    StartImageRun(3);
    TickWhileSaving();
    EXPECT_EQ(Page().GetSavedCount(), 0);
    EXPECT_TRUE(std::filesystem::is_directory(m_strEvent));
    EXPECT_TRUE(FilesBelow(m_strEvent).empty());
    EXPECT_EQ(Events(), (CFileDBase::Entries {{"Gate", m_strEvent}}));
}

TEST_F(ViewerSaveTest, RecDuringARunEndsItWithoutTheDialog)
{
    Poll();
    GoToRecordingStart();
    StartImageRun(10);
    Tick();
    ASSERT_EQ(Page().GetSavedCount(), 2);
    Click(CViewerDlg::IDC_REC); // no dialog is answered: none may open
    Tick();
    EXPECT_FALSE(Page().IsSaving());
    Tick(3);
    EXPECT_EQ(Page().GetSavedCount(), 2);
    EXPECT_EQ(FilesBelow(m_strEvent).size(), 2u);
}

// REC, then "Backup " over a minute: the progress dialog saves every picture
// of the minute (and the first after it) while the REC key is lit; the event
// is registered afterwards.
TEST_F(ViewerSaveTest, BackupRunsTheProgressDialogWithRecLit)
{
    Poll();
    const std::string strFolder = m_dir / "backups";
    AnswerSaveDialog([strFolder](CVwRecSetDlg& dlg) {
        QTest::mouseClick(dlg.findChild<QAbstractButton*>("id1352"), Qt::LeftButton);
        Set(dlg, CVwRecSetDlg::IDC_EVENT_NAME, "Night");
        Set(dlg, CVwRecSetDlg::IDC_BACKUP_FOLDER, strFolder);
        Set(dlg, CVwRecSetDlg::IDC_START_HOUR, "12");
        Set(dlg, CVwRecSetDlg::IDC_START_MIN, "0");
        Set(dlg, CVwRecSetDlg::IDC_END_HOUR, "12");
        Set(dlg, CVwRecSetDlg::IDC_END_MIN, "1");
        dlg.findChild<QDateEdit*>("id1221")->setDate(QDate(2004, 1, 23));
        dlg.findChild<QDateEdit*>("id1224")->setDate(QDate(2004, 1, 23));
    });
    int nStateWhileOpen = -1;
    int nRecWhileOpen = 0;
    bool bEnded = false;
    QTimer::singleShot(50, [&] {
        auto* pProgress = qobject_cast<CProgressDlg*>(QApplication::activeModalWidget());
        ASSERT_NE(pProgress, nullptr);
        nStateWhileOpen = Page().GetPlayState();
        Tick();
        nRecWhileOpen = static_cast<CBitmapButton*>(Button(CViewerDlg::IDC_REC))->GetNormalId();
        for (int i = 0; i < 1000 && !pProgress->GetRun()->IsOver(); ++i)
            QTest::qWait(10);
        bEnded = pProgress->GetRun()->IsOver();
        QTest::mouseClick(pProgress->findChild<QPushButton*>("id1661"), Qt::LeftButton);
    });
    Click(CViewerDlg::IDC_REC);
    EXPECT_TRUE(bEnded);
    EXPECT_EQ(nStateWhileOpen, CViewerDlg::PLAY_BACKUP);
    EXPECT_EQ(nRecWhileOpen, CKeyArtwork::FindKey(CViewerDlg::IDC_REC)->nLit);
    EXPECT_EQ(Page().GetPlayState(), CViewerDlg::PLAY_STOP);
    const long long nFirst = m_sim.FindPicture({2004, 1, 23, 12, 0, 0}, 0).nIndex;
    const long long nLast = m_sim.FindPicture({2004, 1, 23, 12, 1, 0}, 0).nIndex;
    ASSERT_GE(nFirst, 0);
    ASSERT_EQ(nLast - nFirst, 60);
    EXPECT_TRUE(FilesBelow(strFolder + "/Night") == Recorded(nFirst, nLast));
    EXPECT_EQ(Events(), (CFileDBase::Entries {{"Night", strFolder + "/Night"}}));
}
