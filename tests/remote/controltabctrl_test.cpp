#include "remotefixture.h"

#include "remote/controltabctrl.h"
#include "remote/menupage.h"
#include "remote/menusetting.h"
#include "widgets/resstring.h"

#include <QApplication>
#include <QComboBox>
#include <QTabBar>
#include <QTest>

namespace {

using Codes = std::vector<std::string>;
using T = CControlTabCtrl;

// Play page combos, disk page combos, display page combos.
constexpr int PLAY_MODE = 1167, SIMUL = 1170;
constexpr int DISK_MODE = 1203, REC_MODE = 1205;
constexpr int REMAINING = 1272, DISP_DISK_MODE = 1240;
constexpr int BAUD_RATE = 1325, FLOW_CTRL = 1327;

} // namespace

class ControlTabTest : public RemoteTest {
protected:
    T& Tab() { return *Page().GetTabCtrl(); }
    void ClickTab(int n)
    {
        QTabBar* pBar = Tab().GetTabBar();
        QTest::mouseClick(pBar, Qt::LeftButton, {}, pBar->tabRect(n).center());
    }
    int VisiblePages()
    {
        int nVisible = 0;
        for (int i = 0; i < T::PAGE_COUNT; ++i)
            nVisible += Tab().GetPage(i)->isVisible() ? 1 : 0;
        return nVisible;
    }
};

TEST_F(ControlTabTest, NinePagesInTabOrderLaidOutBelowTheStripAndNothingReadAtCreation)
{
    const char* const names[] = {"id140", "id143", "id145", "id149", "id151", "id153", "id156", "id161", "id147"};
    const int captions[] = {115, 116, 117, 118, 119, 120, 121, 123, 124};
    const QRect item = Tab().GetTabBar()->tabRect(0).translated(Tab().GetTabBar()->pos());
    const QRect expected(item.x(), item.y() + item.height() + 1, Tab().width() - item.x() - 1,
                         Tab().height() - (item.y() + item.height() + 2));
    ASSERT_EQ(Tab().GetTabBar()->count(), T::PAGE_COUNT);
    for (int i = 0; i < T::PAGE_COUNT; ++i) {
        EXPECT_EQ(Tab().GetPage(i)->objectName().toStdString(), names[i]);
        EXPECT_EQ(Tab().GetTabBar()->tabText(i), ResString(captions[i]));
        EXPECT_EQ(Tab().GetPage(i)->geometry(), expected) << i;
    }
    EXPECT_EQ(Tab().GetCurrentPage(), 0);
    EXPECT_FALSE(Tab().GetPage(0)->isHidden());
    EXPECT_FALSE(Tab().isVisible()); // front-panel mode

    CControlDlg other;
    EXPECT_TRUE(ReceivedCodes().empty());
}

TEST_F(ControlTabTest, APressOnTheStripShowsThatPageWhichReadsItsSettings)
{
    EnterMenuMode(T::PAGE_PLAY);
    ClickTab(T::PAGE_DISK);
    EXPECT_EQ(Tab().GetCurrentPage(), T::PAGE_DISK);
    EXPECT_EQ(Tab().GetTabBar()->currentIndex(), T::PAGE_DISK);
    EXPECT_TRUE(Tab().GetPage(T::PAGE_DISK)->isVisible());
    EXPECT_EQ(VisiblePages(), 1);
    EXPECT_EQ(ReceivedCodes(), (Codes {"MVWD", "MVWM"}));

    m_sim.ClearTrace();
    ClickTab(T::PAGE_DISK); // the page already shown
    Tab().SelectPage(T::PAGE_DISK);
    EXPECT_TRUE(ReceivedCodes().empty());

    Tab().SelectPage(T::PAGE_LOG);
    Tab().SelectPage(T::PAGE_LOG);
    ClickTab(T::PAGE_LOG);
    EXPECT_TRUE(ReceivedCodes().empty());
    EXPECT_EQ(VisiblePages(), 1);
}

TEST_F(ControlTabTest, EnterAndEscapeInsideAPageNeitherWriteNorClose)
{
    EnterMenuMode(T::PAGE_PLAY);
    QComboBox* pCombo = Combo(T::PAGE_PLAY, SIMUL);
    pCombo->setFocus();
    for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape}) {
        QTest::keyClick(pCombo, key);
        QTest::keyClick(SettingPage(T::PAGE_PLAY), key);
    }
    EXPECT_TRUE(ReceivedCodes().empty());
    EXPECT_TRUE(SettingPage(T::PAGE_PLAY)->isVisible());
    EXPECT_TRUE(Page().IsMenuMode());
}

TEST_F(ControlTabTest, ARecorderThatStopsAnsweringLeavesThePageAsItWas)
{
    m_sim.SetSetting(SET_TR, 1);
    m_sim.SetSetting(SET_TF, 1);
    EnterMenuMode(T::PAGE_COMM);
    ASSERT_EQ(Combo(T::PAGE_COMM, BAUD_RATE)->currentIndex(), 1);
    m_sim.SetSetting(SET_TR, 2);
    m_sim.SetSetting(SET_TF, 0);

    m_sim.SetFault("MVTF", SimFault::Silence);
    Tab().SelectPage(T::PAGE_LOG);
    Tab().SelectPage(T::PAGE_COMM);
    EXPECT_EQ(ReceivedCodes(), (Codes {"MVTR", "MVTF"})); // the first read that fails ends the reading
    EXPECT_EQ(Combo(T::PAGE_COMM, BAUD_RATE)->currentIndex(), 1);
    EXPECT_EQ(Combo(T::PAGE_COMM, FLOW_CTRL)->currentIndex(), 1);
    EXPECT_TRUE(m_prompter.Asks().empty()); // no reconnection question for a silent recorder
}

TEST_F(ControlTabTest, ARefusedReadStopsTheReadingExceptForPlayModeDiskModeAndItsDisplay)
{
    m_sim.SetSetting(SET_PR, 0);
    EnterMenuMode(T::PAGE_PLAY);
    ASSERT_EQ(Combo(T::PAGE_PLAY, SIMUL)->currentIndex(), 0);

    // Any other refusal: nothing changes.
    m_sim.SetSetting(SET_PR, 1);
    m_sim.SetFault("MVPR", SimFault::Refuse, 1);
    Tab().SelectPage(T::PAGE_LOG);
    Tab().SelectPage(T::PAGE_PLAY);
    EXPECT_EQ(Combo(T::PAGE_PLAY, PLAY_MODE)->currentIndex(), 0);
    EXPECT_TRUE(Combo(T::PAGE_PLAY, PLAY_MODE)->isEnabled());
    EXPECT_EQ(Combo(T::PAGE_PLAY, SIMUL)->currentIndex(), 0);

    // A one-disk recorder refuses play mode, disk mode and its display.
    m_sim.SetSingleDisk(true);
    struct Case {
        int nPage;
        int nRefusedId;
        int nShownId;
    };
    for (const Case& c : {Case {T::PAGE_PLAY, PLAY_MODE, SIMUL}, Case {T::PAGE_DISK, DISK_MODE, REC_MODE},
                          Case {T::PAGE_DISPLAY, DISP_DISK_MODE, REMAINING}}) {
        Tab().SelectPage(T::PAGE_LOG);
        Tab().SelectPage(c.nPage);
        EXPECT_EQ(Combo(c.nPage, c.nRefusedId)->currentIndex(), -1) << c.nPage;
        EXPECT_FALSE(Combo(c.nPage, c.nRefusedId)->isEnabled()) << c.nPage;
        EXPECT_GE(Combo(c.nPage, c.nShownId)->currentIndex(), 0) << c.nPage;
    }
    EXPECT_EQ(Combo(T::PAGE_PLAY, SIMUL)->currentIndex(), 1);
    EXPECT_EQ(Combo(T::PAGE_DISPLAY, REMAINING)->count(), 2);

    // Written without a choice, the refused value goes out as 0xFF.
    m_sim.ClearTrace();
    Click(SettingPage(T::PAGE_DISK), 1472);
    EXPECT_EQ(Parameters("MSWD"), std::vector<std::string> {Byte(0xFF)});

    m_sim.SetSingleDisk(false);
    m_sim.SetSetting(SET_PM, 2);
    Tab().SelectPage(T::PAGE_PLAY);
    EXPECT_TRUE(Combo(T::PAGE_PLAY, PLAY_MODE)->isEnabled());
    EXPECT_EQ(Combo(T::PAGE_PLAY, PLAY_MODE)->currentIndex(), 2);
}
