// The progress dialog: its bar, texts and button as the backup runs from its
// tick, against the simulator.
#include "backupfixture.h"

#include "backup/progressdlg.h"
#include "store/backuprun.h"

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <filesystem>

namespace {

class ProgressDlgTest : public BackupTest {
protected:
    std::unique_ptr<CProgressDlg> Open(const CCivilTime& start, const CCivilTime& end)
    {
        auto pDlg = std::make_unique<CProgressDlg>(CProgressDlg::MODE_BACKUP, 100, start, end, m_strFolder, "Event");
        pDlg->GetTimer()->stop();
        return pDlg;
    }
    template <typename T>
    static T* Control(const CProgressDlg& dlg, int nId)
    {
        return dlg.findChild<T*>(QStringLiteral("id%1").arg(nId));
    }
    struct Look {
        int nBar;
        QString strText;
        bool bWaitShown;
        QString strButton;
        bool operator==(const Look&) const = default;
    };
    static Look LookOf(const CProgressDlg& dlg)
    {
        return {Control<QProgressBar>(dlg, CProgressDlg::IDC_PROGRESS)->value(),
                Control<QLabel>(dlg, CProgressDlg::IDC_TEXT)->text(),
                !Control<QLabel>(dlg, CProgressDlg::IDC_WAIT)->isHidden(),
                Control<QPushButton>(dlg, CProgressDlg::IDC_BUTTON)->text()};
    }

    const std::string m_strFolder = m_dir / "backup";
};

} // namespace

// From 10:00:00 to 10:00:30 over a picture every 10 s: four pictures saved, the
// bar at 0, 33 and 66, then "Backup Finsihed." with an OK button; once the
// run has stopped fetching the bar rests at 99.
TEST_F(ProgressDlgTest, BarAndTextsFollowTheRun)
{
    std::filesystem::create_directories(m_strFolder);
    auto pDlg = Open(At(10, 0, 0), At(10, 0, 30));
    EXPECT_FALSE(pDlg->FailedToStart());
    EXPECT_EQ(pDlg->windowTitle(), QString("Backup Recording"));
    const QString strRunning("Backup Recording to Host PC.");
    const QString strFinished("Backup Finsihed.");
    EXPECT_EQ(LookOf(*pDlg), (Look {0, QString(), true, "Cancel"}));
    std::vector<Look> looks;
    for (int i = 0; i < 6; ++i) {
        pDlg->OnTimer();
        looks.push_back(LookOf(*pDlg));
    }
    const std::vector<Look> expected {
        {0, strRunning, true, "Cancel"},  {33, strRunning, true, "Cancel"}, {66, strRunning, true, "Cancel"},
        {66, strFinished, false, "OK"},   {66, strFinished, false, "OK"},   {99, strFinished, false, "OK"},
    };
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(looks[i].nBar, expected[i].nBar) << i;
        EXPECT_EQ(looks[i].strText, expected[i].strText) << i;
        EXPECT_EQ(looks[i].bWaitShown, expected[i].bWaitShown) << i;
        EXPECT_EQ(looks[i].strButton, expected[i].strButton) << i;
    }
    EXPECT_EQ(pDlg->GetRun()->SavedCount(), 4);
    ExpectSamePictures(StoredPictures(m_strFolder + "/Event"), BackedUpPictures(At(10, 0, 0), At(10, 0, 30)));
}

TEST_F(ProgressDlgTest, FirstPictureThatCannotBeFetchedFailsAtOnce)
{
    auto pDlg = Open(At(11, 0), At(11, 5));
    EXPECT_TRUE(pDlg->FailedToStart());
    EXPECT_EQ(LookOf(*pDlg), (Look {0, "Backup Failed.", false, "OK"}));
    pDlg->OnTimer();
    EXPECT_EQ(LookOf(*pDlg), (Look {99, "Backup Failed.", false, "OK"}));
    EXPECT_FALSE(std::filesystem::exists(m_strFolder + "/Event"));
}

// Only the button ends the dialog (with 1), at any time; Enter, Esc and the
// close box do nothing. Meanwhile its own timer runs the backup.
TEST_F(ProgressDlgTest, OnlyTheButtonEndsTheDialog)
{
    std::filesystem::create_directories(m_strFolder);
    CProgressDlg dlg(CProgressDlg::MODE_BACKUP, 100, At(10, 0), At(10, 5), m_strFolder, "Event");
    bool bStillOpen = false;
    int nSavedBeforeButton = 0;
    QTimer::singleShot(0, &dlg, [&] {
        QTest::keyClick(&dlg, Qt::Key_Return);
        QTest::keyClick(&dlg, Qt::Key_Escape);
        dlg.close();
        bStillOpen = dlg.isVisible();
        QTest::qWait(200);
        nSavedBeforeButton = dlg.GetRun()->SavedCount();
        QTest::mouseClick(Control<QPushButton>(dlg, CProgressDlg::IDC_BUTTON), Qt::LeftButton);
    });
    EXPECT_EQ(dlg.exec(), 1);
    EXPECT_TRUE(bStillOpen);
    EXPECT_GT(nSavedBeforeButton, 0);
    EXPECT_FALSE(dlg.GetRun()->IsOver());
    EXPECT_EQ(dlg.GetRun()->SavedCount(), nSavedBeforeButton);
}
