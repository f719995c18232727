#include "addressbook/flexgrid.h"
#include "addressbook/selvxentrydlg.h"
#include "shell/menutabctrl.h"
#include "app/vx2200net.h"
#include "shell/vx2200netdlg.h"
#include "fixtures/scriptedprompter.h"
#include "fixtures/tempdir.h"
#include "link/vx2200ctrl.h"
#include "sim/recordersim.h"

#include <QApplication>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <chrono>
#include <functional>

namespace {

CRecorderSim::Options SimOptions()
{
    CRecorderSim::Options options;
    options.start = SimDateTime{2004, 1, 23, 12, 34, 56};
    return options;
}

// The main window with an address book of the simulator (entry 0 "Demo DVR",
// entry 1 "Other", entry 2 "Third" on a port where nothing listens) and the
// simulator itself.
class ConnectTest : public ::testing::Test {
protected:
    ConnectTest() : m_sim(SimOptions()), m_app({m_dir / "none.conf", m_dir / "prog/", m_dir / "lock"})
    {
        m_app.LoadSettings();
        EXPECT_TRUE(m_app.CreateServices());
    }

    void SetUp() override
    {
        ASSERT_TRUE(m_sim.Start());
        m_app.AddEntry("Demo DVR", "127.0.0.1", m_sim.Port());
        m_app.AddEntry("Other", "127.0.0.2", m_sim.Port());
        m_app.AddEntry("Third", "127.0.0.1", 1); // refused
    }

    // Runs the main window's Connection button; fnInside acts on the selection
    // dialog, which is closed afterwards if it is still open.
    void Connection(const std::function<void(CSelVXEntryDlg&)>& fnInside)
    {
        QTimer::singleShot(0, [&] {
            auto* pDlg = qobject_cast<CSelVXEntryDlg*>(QApplication::activeModalWidget());
            ASSERT_NE(pDlg, nullptr);
            fnInside(*pDlg);
            if (pDlg->isVisible())
                QTest::mouseClick(pDlg->findChild<QPushButton*>("id1316"), Qt::LeftButton);
        });
        m_main.OnConnection();
    }

    // The simulator counts a client when its thread accepts it, a moment after
    // the program's connect has returned.
    bool WaitForConnections(int nCount) const
    {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        while (m_sim.ConnectionCount() < nCount && std::chrono::steady_clock::now() < deadline)
            QTest::qWait(5);
        return m_sim.ConnectionCount() == nCount;
    }

    static void ConnectRow(CSelVXEntryDlg& dlg, int nRow)
    {
        dlg.GetGrid()->SetRow(nRow);
        QTest::mouseClick(dlg.findChild<QPushButton*>("id1311"), Qt::LeftButton);
    }

    QWidget* ShownPage() const
    {
        CMenuTabCtrl* pTab = m_main.GetTabCtrl();
        return pTab->PageForTab(pTab->GetCurTab());
    }

    CTempDir m_dir;
    CRecorderSim m_sim;
    CVX2200NETApp m_app;
    CScriptedPrompter m_prompter;
    CVX2200NETDlg m_main;
};

} // namespace

TEST_F(ConnectTest, ConnectingShowsTheViewerWithTheNameAndUnlocksTheTabs)
{
    m_main.show();
    Connection([](CSelVXEntryDlg& dlg) { ConnectRow(dlg, 1); });
    EXPECT_TRUE(m_prompter.Asks().empty());
    EXPECT_EQ(m_app.GetConnected(), 0);
    EXPECT_TRUE(m_app.GetCtrl()->IsConnected());
    EXPECT_EQ(m_main.GetEntryNameText(), QString("Demo DVR"));
    EXPECT_TRUE(m_main.GetTabCtrl()->TabsEnabled());
    EXPECT_EQ(ShownPage(), m_main.GetTabCtrl()->GetPage(CMenuTabCtrl::PAGE_VIEWER));
    // Two connections: the probe that read the clock, then the working one.
    EXPECT_TRUE(WaitForConnections(2));
}

TEST_F(ConnectTest, DevicesThatAreNoRecorderAreRefused)
{
    struct Case {
        const char* pszWhat;
        SimFault fault;
        int nRow;
    } cases[] = {
        {"silent", SimFault::Silence, 1},
        {"year 2000", SimFault::BadYear, 1},
        {"nothing listens", SimFault::None, 3},
    };
    // The notice never shows under the busy cursor of the probe.
    bool bBusyAtNotice = false;
    m_prompter.m_fnOnAsk = [&](const CScriptedPrompter::Asked&) {
        bBusyAtNotice = bBusyAtNotice || QApplication::overrideCursor() != nullptr;
    };
    for (const Case& c : cases) {
        m_prompter.Clear();
        m_sim.ClearFaults();
        m_sim.SetFault("MVDT", c.fault);
        const auto start = std::chrono::steady_clock::now();
        Connection([&](CSelVXEntryDlg& dlg) {
            ConnectRow(dlg, c.nRow);
            EXPECT_TRUE(dlg.isVisible()) << c.pszWhat; // the dialog stays open
        });
        const auto elapsed = std::chrono::steady_clock::now() - start;
        EXPECT_EQ(m_prompter.ConfirmModes(), std::vector<int>{22}) << c.pszWhat;
        EXPECT_EQ(m_app.GetConnected(), -1) << c.pszWhat;
        EXPECT_FALSE(m_app.GetCtrl()->IsConnected()) << c.pszWhat;
        EXPECT_EQ(m_app.GetLastEntry(), c.nRow - 1) << c.pszWhat;
        EXPECT_FALSE(m_main.GetTabCtrl()->TabsEnabled()) << c.pszWhat;
        EXPECT_EQ(ShownPage(), m_main.GetTabCtrl()->GetPage(CMenuTabCtrl::PAGE_FILEVIEWER)) << c.pszWhat;
        // A silent device costs about the one-second receive limit, not more.
        EXPECT_LT(elapsed, std::chrono::seconds(5)) << c.pszWhat;
    }
    EXPECT_FALSE(bBusyAtNotice);
}

TEST_F(ConnectTest, EmptyRowWhileConnectedGivesTheRecorderBackOnClose)
{
    Connection([](CSelVXEntryDlg& dlg) { ConnectRow(dlg, 1); });
    ASSERT_EQ(m_app.GetConnected(), 0);
    ASSERT_TRUE(WaitForConnections(2));

    Connection([](CSelVXEntryDlg& dlg) { ConnectRow(dlg, 5); });
    EXPECT_EQ(m_prompter.ConfirmModes(), std::vector<int>{22});
    EXPECT_EQ(m_app.GetConnected(), 0);
    EXPECT_TRUE(m_app.GetCtrl()->IsConnected());
    EXPECT_TRUE(WaitForConnections(3)); // connected again on close
    EXPECT_TRUE(m_main.GetTabCtrl()->TabsEnabled());
    EXPECT_EQ(m_main.GetEntryNameText(), QString("Demo DVR"));
}

TEST_F(ConnectTest, ChangeClosesTheConnectionAndClosingReconnects)
{
    Connection([](CSelVXEntryDlg& dlg) { ConnectRow(dlg, 1); });
    ASSERT_TRUE(WaitForConnections(2));
    bool bClosedMeanwhile = false;
    Connection([&](CSelVXEntryDlg& dlg) {
        dlg.GetGrid()->SetRow(5); // an empty row: no editor opens
        QTest::mouseClick(dlg.findChild<QPushButton*>("id1101"), Qt::LeftButton);
        bClosedMeanwhile = !m_app.GetCtrl()->IsConnected();
    });
    EXPECT_TRUE(bClosedMeanwhile);
    EXPECT_TRUE(m_prompter.Asks().empty());
    EXPECT_TRUE(m_app.GetCtrl()->IsConnected());
    EXPECT_TRUE(WaitForConnections(3));
}

TEST_F(ConnectTest, FailedAttemptFromAConnectedStateLocksTheTabsButKeepsTheName)
{
    Connection([](CSelVXEntryDlg& dlg) { ConnectRow(dlg, 1); });
    ASSERT_TRUE(m_main.GetTabCtrl()->TabsEnabled());
    Connection([](CSelVXEntryDlg& dlg) { ConnectRow(dlg, 3); });
    EXPECT_EQ(m_app.GetConnected(), -1);
    EXPECT_FALSE(m_app.GetCtrl()->IsConnected());
    EXPECT_FALSE(m_main.GetTabCtrl()->TabsEnabled());
    EXPECT_EQ(ShownPage(), m_main.GetTabCtrl()->GetPage(CMenuTabCtrl::PAGE_FILEVIEWER));
    EXPECT_EQ(m_main.GetEntryNameText(), QString("Demo DVR"));
}

TEST_F(ConnectTest, LostLinkReconnectsToTheConnectedEntry)
{
    Connection([](CSelVXEntryDlg& dlg) { ConnectRow(dlg, 1); });
    ASSERT_TRUE(m_app.GetCtrl()->IsConnected());
    ASSERT_TRUE(WaitForConnections(2));
    m_sim.SetFault("BTPL", SimFault::Reset, 1);
    m_prompter.Answer(1); // "Reconnect"
    // The interrupted exchange delivers nothing: the key is not confirmed.
    EXPECT_EQ(m_app.GetCtrl()->KeyPlay(), 2);
    EXPECT_EQ(m_prompter.ConfirmModes(), std::vector<int>{8});
    EXPECT_TRUE(WaitForConnections(3));
    EXPECT_EQ(m_app.GetCtrl()->KeyPlay(), 0);
    EXPECT_FALSE(m_app.QuitRequested());

    // Declining ends the program: every event loop is asked to end.
    m_sim.SetFault("BTPL", SimFault::Reset, 1);
    m_prompter.Clear();
    m_prompter.Answer(0);
    m_app.GetCtrl()->KeyPlay();
    EXPECT_TRUE(m_app.QuitRequested());
    QDialog probe;
    QTimer::singleShot(2000, &probe, [&] { probe.done(7); }); // only if the quit never came
    EXPECT_EQ(probe.exec(), 0);
    // Once the quit has come, every new loop ends at once, as the program wants;
    // running the application's own loop once clears that for the next tests.
    QTimer::singleShot(0, [] { QCoreApplication::exit(0); });
    QCoreApplication::exec();
}
