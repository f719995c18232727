#include "remotefixture.h"

#include "link/commandtable.h"
#include "remote/controltabctrl.h"
#include "remote/menupage.h"
#include "remote/menusetting.h"

#include <QApplication>
#include <QComboBox>
#include <QDateEdit>
#include <QLineEdit>

namespace {

using Codes = std::vector<std::string>;
using T = CControlTabCtrl;

struct Field {
    int k;
    int nId;
    int nShown;   // the recorder's value when the page reads
    int nChosen;  // the item the operator chooses before OK
};

struct PageCase {
    int nPage;
    std::vector<Field> fields;
    Codes reads;
    int nButton;
    std::vector<int> writes; // settings in write order
};

std::string Code(const char* pszFamily, int k)
{
    return pszFamily + std::string(CCommandTable::MenuSuffix(k));
}

const std::vector<PageCase>& Pages()
{
    static const std::vector<PageCase> pages = {
        {T::PAGE_PLAY, {{SET_PM, 1167, 2, 1}, {SET_PR, 1170, 0, 1}}, {"MVPM", "MVPR"}, 1376, {SET_PR, SET_PM}},
        {T::PAGE_DISK, {{SET_WD, 1203, 1, 0}, {SET_WM, 1205, 2, 1}}, {"MVWD", "MVWM"}, 1472, {SET_WD, SET_WM}},
        {T::PAGE_RECORDING,
         {{SET_RQ, 1212, 4, 0}, {SET_RD, 1213, 1, 0}, {SET_RI, 1218, 14, 4}, {SET_RC, 1222, 9, 3}},
         {"MVRQ", "MVRD", "MVRI", "MVRC"},
         1470,
         {SET_RQ, SET_RD, SET_RI, SET_RC}},
        {T::PAGE_ALARM,
         {{SET_AS, 1246, 2, 0}, {SET_AN, 1249, 1, 0}, {SET_AP, 1252, 7, 2}, {SET_AT, 1255, 9, 1},
          {SET_AF, 1225, 6, 0}, {SET_AQ, 1228, 4, 3}, {SET_AD, 1231, 0, 1}, {SET_AI, 1367, 7, 2},
          {SET_AB, 1370, 0, 1}, {SET_AO, 1373, 1, 0}},
         {"MVAS", "MVAN", "MVAP", "MVAT", "MVAF", "MVAQ", "MVAD", "MVAI", "MVAB", "MVAO"},
         1473,
         {SET_AS, SET_AN, SET_AP, SET_AT, SET_AF, SET_AQ, SET_AD, SET_AI, SET_AB, SET_AO}},
        {T::PAGE_DISPLAY,
         {{SET_VQ, 1258, 0, 1}, {SET_VD, 1261, 1, 0}, {SET_VW, 1264, 0, 1}, {SET_VR, 1266, 1, 0},
          {SET_VP, 1269, 0, 1}, {SET_VG, 1272, 1, 0}, {SET_VH, 1275, 0, 1}, {SET_VT, 1234, 1, 0},
          {SET_VC, 1237, 5, 1}, {SET_VM, 1240, 0, 1}},
         {"MVVQ", "MVVD", "MVVW", "MVVR", "MVVP", "MVVG", "MVVH", "MVVT", "MVVC", "MVVM", "MVWD"},
         1474,
         {SET_VQ, SET_VD, SET_VW, SET_VR, SET_VP, SET_VG, SET_VH, SET_VT, SET_VC, SET_VM}},
        {T::PAGE_COMM,
         {{SET_TR, 1325, 2, 1}, {SET_TF, 1327, 1, 0}, {SET_TC, 1329, 2, 0}},
         {"MVTR", "MVTF", "MVTC"},
         1477,
         {SET_TR, SET_TF, SET_TC}},
        {T::PAGE_TIME, {{SET_TS, 1186, 1, 0}, {SET_TT, 1190, 23, 7}}, {"MVTS", "MVTT", "MVDT"}, 1471, {SET_TS, SET_TT}},
    };
    return pages;
}

} // namespace

class SettingPagesTest : public RemoteTest {
protected:
    void Show(int nPage)
    {
        Page().GetTabCtrl()->SelectPage(T::PAGE_LOG);
        m_sim.ClearTrace();
        Page().GetTabCtrl()->SelectPage(nPage);
    }
    QLineEdit* Edit(int nId) const
    {
        return SettingPage(T::PAGE_TIME)->findChild<QLineEdit*>(QStringLiteral("id%1").arg(nId));
    }
    QDateEdit* DatePicker() const { return SettingPage(T::PAGE_TIME)->findChild<QDateEdit*>("id1180"); }
};

TEST_F(SettingPagesTest, EachPageReadsInItsOrderShowsTheValuesAndWritesTheChoicesInItsOrder)
{
    EnterMenuMode(T::PAGE_LOG);
    for (const PageCase& page : Pages()) {
        for (const Field& f : page.fields)
            m_sim.SetSetting(f.k, f.nShown);
        Show(page.nPage);
        EXPECT_EQ(ReceivedCodes(), page.reads) << page.nPage;
        for (const Field& f : page.fields) {
            QComboBox* pCombo = Combo(page.nPage, f.nId);
            ASSERT_NE(pCombo, nullptr) << f.nId;
            EXPECT_EQ(pCombo->currentIndex(), f.nShown) << f.nId;
            pCombo->setCurrentIndex(f.nChosen);
        }
        m_sim.ClearTrace();
        Click(SettingPage(page.nPage), page.nButton);
        Codes expected;
        for (const int k : page.writes)
            expected.push_back(Code("MS", k));
        EXPECT_EQ(ReceivedCodes(), expected) << page.nPage;
        for (const Field& f : page.fields)
            EXPECT_EQ(m_sim.GetSetting(f.k), f.nChosen) << f.nId;
    }
}

TEST_F(SettingPagesTest, ListsCarryTheStringTableTextsAndAValueOutsideAListShowsNoChoice)
{
    EnterMenuMode(T::PAGE_LOG);
    m_sim.SetSetting(SET_RI, 4);
    m_sim.SetSetting(SET_RC, 10); // one past SW CTRL PERIOD's ten
    m_sim.SetSetting(SET_RQ, 0xFF); // read back as -1
    Show(T::PAGE_RECORDING);
    QComboBox* pInterval = Combo(T::PAGE_RECORDING, 1218);
    ASSERT_EQ(pInterval->count(), 15);
    EXPECT_EQ(pInterval->currentText(), QStringLiteral(" 1/5 SEC"));
    EXPECT_EQ(pInterval->itemText(14), QStringLiteral("   60 SEC"));
    EXPECT_EQ(Combo(T::PAGE_RECORDING, 1222)->currentIndex(), -1);
    EXPECT_EQ(Combo(T::PAGE_RECORDING, 1212)->currentIndex(), -1);
    QComboBox* pAlarmInterval = Combo(T::PAGE_ALARM, 1367);
    ASSERT_EQ(pAlarmInterval->count(), 8);
    EXPECT_EQ(pAlarmInterval->itemText(7), QStringLiteral("    1 SEC"));
    EXPECT_EQ(Combo(T::PAGE_TIME, 1190)->itemText(23), QStringLiteral("23 H"));
    EXPECT_EQ(Combo(T::PAGE_DISPLAY, 1237)->itemText(1), QStringLiteral("UPPER C "));
}

TEST_F(SettingPagesTest, AFailedWriteEndsTheWritingExceptOnTheDiskPage)
{
    EnterMenuMode(T::PAGE_PLAY);
    m_sim.SetFault("MSPR", SimFault::Refuse, 1);
    Click(SettingPage(T::PAGE_PLAY), 1376);
    EXPECT_EQ(ReceivedCodes(), Codes {"MSPR"});

    Show(T::PAGE_DISK);
    m_sim.ClearTrace();
    m_sim.SetFault("MSWD", SimFault::Refuse, 1);
    Click(SettingPage(T::PAGE_DISK), 1472);
    EXPECT_EQ(ReceivedCodes(), (Codes {"MSWD", "MSWM"}));
}

TEST_F(SettingPagesTest, RemainingTimeListFollowsTheDiskMode)
{
    EnterMenuMode(T::PAGE_LOG);
    struct Case {
        int nDiskMode;      // -1: the read of WD is refused
        int nRemaining;
        bool bRefuseVM;
        QStringList items;
        int nChosen;
    };
    const Case cases[] = {
        {1, 3, false, {"HIDE", "MAX", "MIN", "HDD-A", "HDD-B"}, 3},
        {0, 3, false, {"HIDE", "DISP"}, -1},
        {0, 1, false, {"HIDE", "DISP"}, 1},
        {-1, 1, false, {"HIDE", "DISP"}, 1},
        {-1, 1, true, {"HIDE", "DISP"}, 1},
    };
    for (const Case& c : cases) {
        m_sim.SetSetting(SET_WD, c.nDiskMode < 0 ? 1 : c.nDiskMode);
        m_sim.SetSetting(SET_VG, c.nRemaining);
        if (c.nDiskMode < 0)
            m_sim.SetFault("MVWD", SimFault::Refuse, 1);
        if (c.bRefuseVM)
            m_sim.SetFault("MVVM", SimFault::Refuse, 1);
        Show(T::PAGE_DISPLAY);
        QComboBox* pRemaining = Combo(T::PAGE_DISPLAY, 1272);
        QStringList items;
        for (int i = 0; i < pRemaining->count(); ++i)
            items << pRemaining->itemText(i);
        EXPECT_EQ(items, c.items) << c.nDiskMode;
        EXPECT_EQ(pRemaining->currentIndex(), c.nChosen) << c.nDiskMode;
        EXPECT_EQ(Combo(T::PAGE_DISPLAY, 1240)->isEnabled(), !c.bRefuseVM);
    }
}

TEST_F(SettingPagesTest, TimePageShowsTheClockOrFallsBackTo2000)
{
    EnterMenuMode(T::PAGE_LOG);
    m_sim.SetSetting(SET_TS, 1);
    m_sim.SetSetting(SET_TT, 13);
    m_sim.SetClock({2004, 3, 15, 8, 5, 0});
    Show(T::PAGE_TIME);
    EXPECT_EQ(DatePicker()->date(), QDate(2004, 3, 15));
    EXPECT_EQ(Edit(1108)->text(), "08");
    EXPECT_EQ(Edit(1111)->text(), "05");
    EXPECT_LE(Edit(1115)->text().toInt(), 2);

    m_sim.SetFault("MVDT", SimFault::Refuse, 1);
    Show(T::PAGE_TIME);
    EXPECT_EQ(DatePicker()->date(), QDate(2000, 1, 1));
    for (const int nId : {1108, 1111, 1115})
        EXPECT_EQ(Edit(nId)->text(), "00") << nId;
    EXPECT_EQ(Combo(T::PAGE_TIME, 1186)->currentIndex(), 1);
    EXPECT_EQ(Combo(T::PAGE_TIME, 1190)->currentIndex(), 13);
}

TEST_F(SettingPagesTest, TimeFieldsAreCheckedInOrderBeforeAnythingIsSent)
{
    EnterMenuMode(T::PAGE_TIME);
    struct Case {
        const char* pszHour;
        const char* pszMinute;
        const char* pszSecond;
        int nButton;
        const char* pszMessage; // nullptr: accepted
        int nFocus;
    };
    const Case cases[] = {
        {"24", "00", "00", 1196, "Please enter an integer between 0 and 23.", 1108},
        {"", "00", "00", 1196, "Please enter an integer.", 1108},
        {"7", "x", "99", 1471, "Please enter an integer.", 1111},
        {"7", "60", "x", 1196, "Please enter an integer between 0 and 59.", 1111},
        {"7", "59", "-1", 1471, "Please enter an integer between 0 and 59.", 1115},
    };
    for (const Case& c : cases) {
        Edit(1108)->setText(c.pszHour);
        Edit(1111)->setText(c.pszMinute);
        Edit(1115)->setText(c.pszSecond);
        m_prompter.Clear();
        m_sim.ClearTrace();
        Click(SettingPage(T::PAGE_TIME), c.nButton);
        ASSERT_EQ(m_prompter.Asks().size(), 1u) << c.pszHour << c.pszMinute << c.pszSecond;
        EXPECT_EQ(m_prompter.Asks()[0].strText, c.pszMessage);
        EXPECT_EQ(m_prompter.Asks()[0].icon, MessageIcon::Warning);
        EXPECT_TRUE(ReceivedCodes().empty());
        EXPECT_EQ(SettingPage(T::PAGE_TIME)->focusWidget(), Edit(c.nFocus));
    }
}

TEST_F(SettingPagesTest, SetTimeSendsThePickersDateWithTheEditsTime)
{
    EnterMenuMode(T::PAGE_TIME);
    DatePicker()->setDate(QDate(2004, 5, 6));
    Edit(1108)->setText("7");
    Edit(1111)->setText(" 08");
    Edit(1115)->setText("59");
    Click(SettingPage(T::PAGE_TIME), 1196);
    EXPECT_TRUE(m_prompter.Asks().empty());
    EXPECT_EQ(Parameters("MSDT"), std::vector<std::string> {std::string("\x07\xD4\x05\x06\x07\x08\x3B", 7)});
    EXPECT_EQ(ReceivedCodes(), Codes {"MSDT"});
    const SimDateTime clock = m_sim.GetClock();
    EXPECT_EQ(std::vector<int>({clock.nYear, clock.nMonth, clock.nDay, clock.nHour, clock.nMinute}),
              std::vector<int>({2004, 5, 6, 7, 8}));
}
