#include "app/vx2200net.h"
#include "fixtures/scriptedprompter.h"
#include "fixtures/tempdir.h"
#include "platform/instancelock.h"
#include "shell/menutabctrl.h"
#include "shell/vx2200netdlg.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTest>
#include <QTimer>
#include <QWheelEvent>
#include <gtest/gtest.h>

namespace {

void ClickTab(CMenuTabCtrl* pTab, int n)
{
    QTabBar* pBar = pTab->GetTabBar();
    QTest::mouseClick(pBar, Qt::LeftButton, {}, pBar->tabRect(n).center());
}

void WheelOver(CMenuTabCtrl* pTab, int nDelta)
{
    QTabBar* pBar = pTab->GetTabBar();
    const QPoint at = pBar->tabRect(1).center();
    QWheelEvent wheel(at, pBar->mapToGlobal(at), QPoint(), QPoint(0, nDelta == 0 ? -120 : nDelta), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(pBar, &wheel);
}

QWidget* VisiblePage(CMenuTabCtrl* pTab)
{
    QWidget* pShown = nullptr;
    int nShown = 0;
    for (int i = 0; i < CMenuTabCtrl::PAGE_COUNT; ++i) {
        if (pTab->GetPage(i)->isVisible()) {
            pShown = pTab->GetPage(i);
            ++nShown;
        }
    }
    return nShown == 1 ? pShown : nullptr;
}

} // namespace

TEST(MainWindow, StartsLockedOnThePcFileViewer)
{
    CVX2200NETDlg dlg;
    dlg.show();
    CMenuTabCtrl* pTab = dlg.GetTabCtrl();
    EXPECT_EQ(dlg.windowTitle(), QString("VX2200NET"));
    ASSERT_EQ(pTab->GetTabBar()->count(), 3);
    EXPECT_EQ(pTab->GetTabBar()->tabText(0), QString("DVR Viewer"));
    EXPECT_EQ(pTab->GetTabBar()->tabText(1), QString("DVR Remote"));
    EXPECT_EQ(pTab->GetTabBar()->tabText(2), QString("PC File Viewer"));
    EXPECT_EQ(pTab->GetCurTab(), 2);
    EXPECT_FALSE(pTab->TabsEnabled());
    EXPECT_EQ(VisiblePage(pTab), pTab->GetPage(CMenuTabCtrl::PAGE_FILEVIEWER));
    EXPECT_EQ(VisiblePage(pTab)->objectName(), QString("id163"));

    for (int n : {0, 1}) {
        ClickTab(pTab, n);
        EXPECT_EQ(pTab->GetCurTab(), 2);
        EXPECT_EQ(pTab->GetTabBar()->currentIndex(), 2);
        EXPECT_EQ(VisiblePage(pTab), pTab->GetPage(CMenuTabCtrl::PAGE_FILEVIEWER));
    }
    // Keys and the wheel on the strip change nothing either.
    QApplication::setActiveWindow(&dlg);
    pTab->GetTabBar()->setFocus();
    QTest::keyClick(pTab->GetTabBar(), Qt::Key_Left);
    EXPECT_EQ(pTab->GetTabBar()->currentIndex(), 2);
    WheelOver(pTab, 0);
    EXPECT_EQ(pTab->GetCurTab(), 2);
    // ... but the focus can leave the strip, forwards and backwards.
    for (const Qt::Key key : {Qt::Key_Tab, Qt::Key_Backtab}) {
        pTab->GetTabBar()->setFocus();
        ASSERT_EQ(QApplication::focusWidget(), pTab->GetTabBar());
        QTest::keyClick(pTab->GetTabBar(), key);
        EXPECT_NE(QApplication::focusWidget(), pTab->GetTabBar()) << key;
        EXPECT_EQ(pTab->GetCurTab(), 2) << key;
    }
}

TEST(MainWindow, TheWheelNeverSwitchesPages)
{
    CVX2200NETDlg dlg;
    dlg.show();
    CMenuTabCtrl* pTab = dlg.GetTabCtrl();
    pTab->EnableTabs(true);
    pTab->SelectTab(1);
    for (const int nDelta : {120, -120}) {
        WheelOver(pTab, nDelta);
        EXPECT_EQ(pTab->GetCurTab(), 1) << nDelta;
        EXPECT_EQ(pTab->GetTabBar()->currentIndex(), 1) << nDelta;
        EXPECT_EQ(VisiblePage(pTab), pTab->GetPage(CMenuTabCtrl::PAGE_REMOTE)) << nDelta;
    }
}

TEST(MainWindow, UnlockedTabsSwitchPagesAndSearchModeStandsInForTheViewer)
{
    CVX2200NETDlg dlg;
    dlg.show();
    CMenuTabCtrl* pTab = dlg.GetTabCtrl();
    pTab->EnableTabs(true);

    ClickTab(pTab, 0);
    EXPECT_EQ(pTab->GetCurTab(), 0);
    EXPECT_EQ(VisiblePage(pTab), pTab->GetPage(CMenuTabCtrl::PAGE_VIEWER));

    dlg.SetSearchMode(true);
    EXPECT_EQ(VisiblePage(pTab), pTab->GetPage(CMenuTabCtrl::PAGE_SEARCH));
    ClickTab(pTab, 1);
    EXPECT_EQ(VisiblePage(pTab), pTab->GetPage(CMenuTabCtrl::PAGE_REMOTE));
    ClickTab(pTab, 0);
    EXPECT_EQ(VisiblePage(pTab), pTab->GetPage(CMenuTabCtrl::PAGE_SEARCH));
    dlg.SetSearchMode(false);
    EXPECT_EQ(VisiblePage(pTab), pTab->GetPage(CMenuTabCtrl::PAGE_VIEWER));

    pTab->SelectTab(2);
    EXPECT_EQ(VisiblePage(pTab), pTab->GetPage(CMenuTabCtrl::PAGE_FILEVIEWER));
    pTab->SelectTab(2); // the current tab: nothing happens
    EXPECT_EQ(VisiblePage(pTab), pTab->GetPage(CMenuTabCtrl::PAGE_FILEVIEWER));
}

TEST(MainWindow, PagesShareOneRectangleBelowTheTabs)
{
    CVX2200NETDlg dlg;
    dlg.show();
    CMenuTabCtrl* pTab = dlg.GetTabCtrl();
    const QRect item = pTab->GetTabBar()->tabRect(0);
    const QRect page = pTab->PageRect();
    EXPECT_EQ(page.left(), item.left());
    EXPECT_EQ(page.top(), item.bottom() + 2);
    EXPECT_EQ(page.size(), CMenuTabCtrl::PageSize());
    for (int i = 0; i < CMenuTabCtrl::PAGE_COUNT; ++i)
        EXPECT_EQ(pTab->GetPage(i)->geometry(), page);
}

TEST(MainWindow, ExitAndCloseBoxEndTheRunEnterAndEscapeDoNot)
{
    {
        CVX2200NETDlg dlg;
        bool bOpenAfterKeys = false;
        QTimer::singleShot(0, &dlg, [&] {
            QTest::keyClick(&dlg, Qt::Key_Return);
            QTest::keyClick(&dlg, Qt::Key_Escape);
            bOpenAfterKeys = dlg.isVisible();
            QTest::mouseClick(dlg.findChild<QPushButton*>("id1305"), Qt::LeftButton);
        });
        EXPECT_EQ(dlg.exec(), 1);
        EXPECT_TRUE(bOpenAfterKeys);
    }
    {
        CVX2200NETDlg dlg;
        QTimer::singleShot(0, &dlg, [&] { dlg.close(); });
        dlg.exec();
        EXPECT_FALSE(dlg.isVisible());
    }
}

TEST(MainWindow, VersionButtonShowsTheVersionBox)
{
    CVX2200NETDlg dlg;
    dlg.show();
    QString strVersion;
    QTimer::singleShot(0, &dlg, [&] {
        QWidget* pBox = QApplication::activeModalWidget();
        ASSERT_NE(pBox, nullptr);
        strVersion = pBox->findChild<QLabel*>("id1677")->text();
        pBox->close();
    });
    QTest::mouseClick(dlg.findChild<QPushButton*>("id1313"), Qt::LeftButton);
    EXPECT_EQ(strVersion, QString("Ver1.10EN for Windows 2000/XP"));
}

TEST(MainWindow, NameFieldHoldsAtMost40Characters)
{
    CVX2200NETDlg dlg;
    dlg.SetEntryName(QString(50, 'x'));
    EXPECT_EQ(dlg.GetEntryNameText(), QString(40, 'x'));
    EXPECT_TRUE(dlg.findChild<QLineEdit*>("id1309")->isReadOnly());
}

TEST(MainWindow, StartUpShowsItUnconnectedAsThePagesHost)
{
    CTempDir dir;
    const CVX2200NETApp::Paths paths {dir / "none.conf", dir / "prog/", dir / "lock"};
    CScriptedPrompter prompter;
    CVX2200NETApp app(paths);
    app.SetWindowRun(&CVX2200NETDlg::RunModal);
    bool bSeen = false;
    QTimer::singleShot(0, [&] {
        auto* pDlg = dynamic_cast<CVX2200NETDlg*>(app.GetMainWnd());
        ASSERT_NE(pDlg, nullptr);
        bSeen = pDlg->isVisible();
        EXPECT_EQ(app.GetConnected(), -1);
        EXPECT_EQ(pDlg->GetEntryNameText(), QString());
        CInstanceLock other;
        EXPECT_FALSE(other.Acquire(paths.strLockFile));
        pDlg->OnExit();
    });
    EXPECT_FALSE(app.InitInstance());
    EXPECT_TRUE(bSeen);
    EXPECT_TRUE(prompter.Asks().empty());
    EXPECT_EQ(app.GetMainWnd(), nullptr);
}
