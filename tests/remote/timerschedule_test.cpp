#include "remotefixture.h"

#include "link/vx2200ctrl.h"
#include "remote/controltabctrl.h"
#include "remote/set_rec2dlg.h"
#include "remote/settimerdlg.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QTimer>

namespace {

using T = CControlTabCtrl;
using R = CSet_Rec2Dlg;
constexpr int ENGLISH = 1;
constexpr int JAPANESE = 0;

TimerProgram Program(std::array<int, TimerProgram::FIELD_COUNT> fields)
{
    TimerProgram p;
    p.nField = fields;
    return p;
}

CRecorderModel::Program SimProgram(std::array<int, TimerProgram::FIELD_COUNT> fields)
{
    CRecorderModel::Program p {};
    for (std::size_t i = 0; i < p.size(); ++i)
        p[i] = static_cast<std::uint8_t>(fields[i] & 0xFF);
    return p;
}

const CRecorderClock::Date MARCH_15_2004 {2004, 3, 15};

} // namespace

TEST(TimerSchedule, DatedProgramsTakeTheirYearFromTheClockAndWeeklyOnesShowTheirDays)
{
    struct Case {
        TimerProgram program;
        int nLanguage;
        const char* pszDate;
    };
    const Case cases[] = {
        {Program({0, 1, 3, 10, 0, 8, 0, 9, 0, 0, 0, 0, 0, 0}), ENGLISH, "03 / 10 / 2005"},
        {Program({0, 1, 3, 20, 0, 8, 0, 9, 0, 0, 0, 0, 0, 0}), ENGLISH, "03 / 20 / 2004"},
        {Program({0, 1, 3, 15, 0, 8, 0, 9, 0, 0, 0, 0, 0, 0}), ENGLISH, "03 / 15 / 2004"},
        {Program({0, 1, 3, 10, 0, 8, 0, 9, 0, 0, 0, 0, 0, 0}), JAPANESE, "2005 / 03 / 10"},
        {Program({0, 2, 0, 0, 0x22, 8, 0, 9, 0, 0, 0, 0, 0, 0}), ENGLISH, "-M---F-"},
        {Program({0, 2, 0, 0, 0xFF, 8, 0, 9, 0, 0, 0, 0, 0, 0}), ENGLISH, "SMTWTFS"}, // bit 7 is not used
        {Program({0, 0, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1}), JAPANESE, "---- / -- / --"},
        {Program({0, 1, 13, 10, 0, 8, 0, 9, 0, 0, 0, 0, 0, 0}), ENGLISH, ""}, // no such month
        {Program({0, 5, 3, 10, 0, 8, 0, 9, 0, 0, 0, 0, 0, 0}), ENGLISH, ""},  // no such mode
    };
    for (const Case& c : cases)
        EXPECT_EQ(R::FormatRow(c.program, MARCH_15_2004, c.nLanguage)[R::CELL_DATE].toStdString(), c.pszDate);
}

TEST(TimerSchedule, RowCellsShowTheValueTextsAndNothingForAValueOutsideItsList)
{
    using Row = std::vector<std::string>;
    auto cells = [](const TimerProgram& p) {
        Row row;
        for (const QString& str : R::FormatRow(p, MARCH_15_2004, ENGLISH))
            row.push_back(str.toStdString());
        return row;
    };
    EXPECT_EQ(cells(Program({0, 2, 0, 0, 1, 8, 5, 18, 30, 0, 1, 4, 1, 0})),
              (Row {"S------", "08", "05", "18", "30", "LEVEL 5", "ON", " 1/5", " 2", " 1"}));
    EXPECT_EQ(cells(Program({0, 2, 0, 0, 1, 24, 60, -1, 7, 5, 2, 15, 2, -1})),
              (Row {"S------", "", "", "", "07", "", "", "", "", ""}));
    EXPECT_EQ(cells(Program({4, 0, 3, 10, 1, 8, 5, 18, 30, 0, 1, 4, 1, 0})),
              (Row {"---- / -- / --", "--", "--", "--", "--", "-", "-", "-", "-", "-"}));
}

class TimerPageTest : public RemoteTest {
protected:
    void SetUp() override
    {
        RemoteTest::SetUp();
        m_sim.SetClock({2004, 3, 15, 8, 5, 0});
    }
    R* Schedule() const { return static_cast<R*>(SettingPage(T::PAGE_TIMER)); }
    QString CellText(int nRow, int nCell) const
    {
        auto* pLabel = Schedule()->findChild<QLabel*>(QStringLiteral("id%1").arg(R::CellId(nRow, nCell)));
        return pLabel ? pLabel->text() : QStringLiteral("<none>");
    }
    template <typename W>
    static W* Control(QWidget* pDlg, int nId)
    {
        return pDlg->findChild<W*>(QStringLiteral("id%1").arg(nId));
    }
    static int Chosen(QWidget* pDlg, int nId) { return Control<QComboBox>(pDlg, nId)->currentIndex(); }
};

TEST_F(TimerPageTest, ThePageShowsTheRecordersTenProgramsAndKeepsThemWhenAReadFails)
{
    EnterMenuMode(T::PAGE_TIMER);
    EXPECT_EQ(CellText(0, R::CELL_DATE), "-MTWTF-");
    EXPECT_EQ(CellText(1, R::CELL_DATE), "S-----S");
    EXPECT_EQ(CellText(2, R::CELL_DATE), "12 / 24 / 2004");
    EXPECT_EQ(CellText(3, R::CELL_DATE), "01 / 01 / 2005");
    EXPECT_EQ(CellText(9, R::CELL_DATE), "---- / -- / --");
    EXPECT_EQ(CellText(0, R::CELL_END_HOUR), "18");
    EXPECT_EQ(CellText(2, R::CELL_INTERVAL), " 1/3");
    EXPECT_EQ(CellText(9, R::CELL_MOTION), "-");
    // The row 9 cells have ids of their own.
    EXPECT_EQ(R::CellId(9, R::CELL_DATE), 1581);
    EXPECT_EQ(R::CellId(9, R::CELL_START_HOUR), 1583);
    EXPECT_EQ(R::CellId(8, R::CELL_END_MINUTE), 1579);
    EXPECT_EQ(R::CellId(9, R::CELL_MOTION), 1636);

    m_sim.SetTimerProgram(0, SimProgram({0, 1, 7, 4, 0, 1, 2, 3, 4, 0, 0, 0, 0, 0}));
    m_sim.SetFault("MVTM", SimFault::Refuse, 1, 5);
    Page().GetTabCtrl()->SelectPage(T::PAGE_LOG);
    Page().GetTabCtrl()->SelectPage(T::PAGE_TIMER);
    EXPECT_EQ(CellText(0, R::CELL_DATE), "-MTWTF-");
    Page().GetTabCtrl()->SelectPage(T::PAGE_LOG);
    Page().GetTabCtrl()->SelectPage(T::PAGE_TIMER);
    EXPECT_EQ(CellText(0, R::CELL_DATE), "07 / 04 / 2004");
}

TEST_F(TimerPageTest, ACancelledProgramOpensWithTheDefaultsAndADatedOneWithItsYearAndWeekday)
{
    CSetTimerDlg cancelled(6);
    cancelled.show(); // program 6 is cancelled, its unused fields 0xFF
    EXPECT_EQ(Chosen(&cancelled, CSetTimerDlg::IDC_MODE), 0);
    EXPECT_EQ(Control<QComboBox>(&cancelled, CSetTimerDlg::IDC_QUALITY)->currentText(), "LEVEL 3");
    EXPECT_EQ(Control<QComboBox>(&cancelled, CSetTimerDlg::IDC_AUDIO)->currentText(), "ON");
    EXPECT_EQ(Control<QComboBox>(&cancelled, CSetTimerDlg::IDC_INTERVAL)->currentText(), "1/30 SEC");
    EXPECT_EQ(Control<QComboBox>(&cancelled, CSetTimerDlg::IDC_PATTERN)->currentText(), "1");
    EXPECT_EQ(Control<QComboBox>(&cancelled, CSetTimerDlg::IDC_MOTION)->currentText(), "1");
    for (const int nId : {CSetTimerDlg::IDC_MONTH, CSetTimerDlg::IDC_DAY, CSetTimerDlg::IDC_START_HOUR,
                          CSetTimerDlg::IDC_START_MINUTE, CSetTimerDlg::IDC_END_HOUR, CSetTimerDlg::IDC_END_MINUTE})
        EXPECT_EQ(Chosen(&cancelled, nId), -1) << nId;
    EXPECT_EQ(Control<QLabel>(&cancelled, CSetTimerDlg::IDC_YEAR)->text(), "----");
    EXPECT_EQ(Control<QLineEdit>(&cancelled, CSetTimerDlg::IDC_WEEKDAY)->text(), "-");
    EXPECT_EQ(Control<QLineEdit>(&cancelled, CSetTimerDlg::IDC_NUMBER)->text(), "6");

    CSetTimerDlg dated(3); // 24 December, 20:00-23:30
    dated.show();
    EXPECT_EQ(Control<QLabel>(&dated, CSetTimerDlg::IDC_YEAR)->text(), "2004");
    EXPECT_EQ(Control<QLineEdit>(&dated, CSetTimerDlg::IDC_WEEKDAY)->text(), "F");
    EXPECT_EQ(Chosen(&dated, CSetTimerDlg::IDC_MONTH), 11);
    EXPECT_EQ(Chosen(&dated, CSetTimerDlg::IDC_DAY), 23);
    EXPECT_EQ(Chosen(&dated, CSetTimerDlg::IDC_END_MINUTE), 30);
    EXPECT_FALSE(Control<QCheckBox>(&dated, CSetTimerDlg::WEEKDAY_IDS[5])->isEnabled());

    CSetTimerDlg weekly(1); // Monday to Friday
    weekly.show();
    std::vector<bool> checked;
    for (const int nId : CSetTimerDlg::WEEKDAY_IDS)
        checked.push_back(Control<QCheckBox>(&weekly, nId)->isChecked());
    EXPECT_EQ(checked, (std::vector<bool> {false, true, true, true, true, true, false}));
    EXPECT_FALSE(Control<QComboBox>(&weekly, CSetTimerDlg::IDC_MONTH)->isEnabled());
}

TEST_F(TimerPageTest, WeeklyWithoutAWeekdayWritesNothingAndTheMonthResetsTheDay)
{
    CSetTimerDlg dlg(6);
    dlg.show();
    QComboBox* pMode = Control<QComboBox>(&dlg, CSetTimerDlg::IDC_MODE);
    pMode->setCurrentIndex(CSetTimerDlg::MODE_WEEKLY);
    dlg.OnModeChosen();
    m_sim.ClearTrace();
    dlg.accept();
    EXPECT_TRUE(ReceivedCodes().empty());
    EXPECT_TRUE(dlg.isVisible());

    pMode->setCurrentIndex(CSetTimerDlg::MODE_DATED);
    dlg.OnModeChosen();
    Control<QComboBox>(&dlg, CSetTimerDlg::IDC_MONTH)->setCurrentIndex(4);
    Control<QComboBox>(&dlg, CSetTimerDlg::IDC_DAY)->setCurrentIndex(20);
    dlg.OnDayChosen();
    EXPECT_EQ(Control<QLabel>(&dlg, CSetTimerDlg::IDC_YEAR)->text(), "2004"); // 21 May
    Control<QComboBox>(&dlg, CSetTimerDlg::IDC_MONTH)->setCurrentIndex(1);
    dlg.OnMonthChosen();
    EXPECT_EQ(Control<QComboBox>(&dlg, CSetTimerDlg::IDC_DAY)->currentText(), "1");
    Control<QComboBox>(&dlg, CSetTimerDlg::IDC_DAY)->setCurrentIndex(0);
    dlg.OnDayChosen();
    EXPECT_EQ(Control<QLabel>(&dlg, CSetTimerDlg::IDC_YEAR)->text(), "2005"); // 1 February has passed
}

TEST_F(TimerPageTest, FebruaryHasTheDaysOfTheFebruaryToCome)
{
    struct Case {
        SimDateTime clock;
        int nMonth;
        int nDays;
    };
    const Case cases[] = {
        {{2003, 3, 15, 9, 0, 0}, 2, 29}, // next February: 2004
        {{2003, 1, 15, 9, 0, 0}, 2, 28},
        {{2004, 2, 10, 9, 0, 0}, 2, 29},
        {{2100, 1, 10, 9, 0, 0}, 2, 28},
        {{2003, 1, 15, 9, 0, 0}, 4, 30},
        {{2003, 1, 15, 9, 0, 0}, 12, 31},
    };
    for (const Case& c : cases) {
        m_sim.SetClock(c.clock);
        CSetTimerDlg dlg(3);
        dlg.show();
        Control<QComboBox>(&dlg, CSetTimerDlg::IDC_MONTH)->setCurrentIndex(c.nMonth - 1);
        dlg.OnMonthChosen();
        dlg.OnDayListOpening();
        EXPECT_EQ(Control<QComboBox>(&dlg, CSetTimerDlg::IDC_DAY)->count(), c.nDays) << c.clock.nYear << c.nMonth;
    }
}

TEST_F(TimerPageTest, OkInTheEditorWritesTheProgramAndTheTableIsReadAgain)
{
    EnterMenuMode(T::PAGE_TIMER);
    bool bEdited = false;
    QTimer::singleShot(0, [&] {
        auto* pDlg = qobject_cast<CSetTimerDlg*>(QApplication::activeModalWidget());
        if (!pDlg)
            return;
        auto choose = [pDlg](int nId, int nIndex) { Control<QComboBox>(pDlg, nId)->setCurrentIndex(nIndex); };
        choose(CSetTimerDlg::IDC_MODE, CSetTimerDlg::MODE_DATED);
        pDlg->OnModeChosen();
        choose(CSetTimerDlg::IDC_MONTH, 6);
        choose(CSetTimerDlg::IDC_DAY, 3);
        choose(CSetTimerDlg::IDC_START_HOUR, 7);
        choose(CSetTimerDlg::IDC_START_MINUTE, 30);
        choose(CSetTimerDlg::IDC_END_HOUR, 9);
        choose(CSetTimerDlg::IDC_END_MINUTE, 0);
        bEdited = true;
        Control<QAbstractButton>(pDlg, 1)->click();
        if (pDlg->isVisible())
            pDlg->reject();
    });
    m_sim.ClearTrace();
    Click(Schedule(), R::ROW_BUTTON_IDS[5]);
    ASSERT_TRUE(bEdited);
    const CRecorderModel::Program p = m_sim.GetTimerProgram(5);
    EXPECT_EQ(std::vector<int>(p.begin(), p.end()),
              (std::vector<int> {5, 1, 7, 4, 0, 7, 30, 9, 0, 2, 1, 1, 0, 0}));
    EXPECT_EQ(CellText(5, R::CELL_DATE), "07 / 04 / 2004");
    EXPECT_EQ(CellText(5, R::CELL_START_MINUTE), "30");
    const std::vector<std::string> codes = ReceivedCodes();
    ASSERT_FALSE(codes.empty());
    EXPECT_EQ(std::count(codes.begin(), codes.end(), "MSTM"), 1);
    EXPECT_EQ(std::count(codes.begin(), codes.end(), "MVTM"), 11); // the editor's, then the table's ten
}
