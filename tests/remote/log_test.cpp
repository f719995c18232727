#include "remotefixture.h"

#include "link/vx2200ctrl.h"
#include "remote/controltabctrl.h"
#include "remote/log_seldlg.h"

#include <QComboBox>
#include <QLabel>
#include <QListWidget>

namespace {

using T = CControlTabCtrl;
constexpr int ENGLISH = 1;
constexpr int JAPANESE = 0;

LogRecord Record(int nEntry, int nYear, int nMonth, int nDay, int nHour, int nMinute, int nSecond, int nCode)
{
    LogRecord r;
    r.nEntry = nEntry;
    r.byYearHigh = static_cast<std::uint8_t>(nYear >> 8);
    r.byYearLow = static_cast<std::uint8_t>(nYear & 0xFF);
    r.byMonth = static_cast<std::uint8_t>(nMonth);
    r.byDay = static_cast<std::uint8_t>(nDay);
    r.byHour = static_cast<std::uint8_t>(nHour);
    r.byMinute = static_cast<std::uint8_t>(nMinute);
    r.bySecond = static_cast<std::uint8_t>(nSecond);
    r.byCodeHigh = static_cast<std::uint8_t>(nCode >> 8);
    r.byEvent = static_cast<std::uint8_t>(nCode & 0xFF);
    return r;
}

std::string Spaces(int n)
{
    return std::string(static_cast<std::size_t>(n), ' ');
}

} // namespace

TEST(LogLines, EachKindOfLineIsLaidOutByteForByteInBothLanguages)
{
    const LogRecord timerStart = Record(1, 2004, 3, 15, 8, 5, 0, 2);
    struct Case {
        LogRecord record;
        int nKind;
        int nLanguage;
        std::string strLine;
    };
    const std::string strEnglishTime = Spaces(6) + "03 / 15 / 2004" + Spaces(5) + "08 : 05 : 00";
    const std::string strJapaneseTime = Spaces(6) + "2004 / 03 / 15" + Spaces(5) + "08 : 05 : 00";
    const std::string strNoTimeEnglish = Spaces(6) + "-- / -- / ----" + Spaces(5) + "-- : -- : --";
    const std::string strNoTimeJapanese = Spaces(6) + "---- / -- / --" + Spaces(5) + "-- : -- : --";
    auto at = [](const LogRecord& r, int nCode) {
        LogRecord copy = r;
        copy.byCodeHigh = static_cast<std::uint8_t>(nCode >> 8);
        copy.byEvent = static_cast<std::uint8_t>(nCode & 0xFF);
        return copy;
    };
    LogRecord alarmFlag2 = at(timerStart, 0);
    alarmFlag2.nEntry = 2;
    const Case cases[] = {
        {timerStart, LogRecord::REC, ENGLISH, Spaces(9) + "Timer Rec Start" + strEnglishTime},
        {timerStart, LogRecord::REC, JAPANESE, Spaces(9) + "タイマー録画開始" + strJapaneseTime},
        {at(timerStart, 0), LogRecord::REC, ENGLISH, Spaces(9) + "Rec Start" + Spaces(9) + strEnglishTime},
        {at(timerStart, 0), LogRecord::REC, JAPANESE, Spaces(9) + "録画開始" + Spaces(11) + strJapaneseTime},
        {at(timerStart, 1), LogRecord::REC, ENGLISH, Spaces(9) + "Rec End" + Spaces(10) + strEnglishTime},
        {at(timerStart, 3), LogRecord::REC, ENGLISH, Spaces(9) + "Timer Rec End" + Spaces(1) + strEnglishTime},
        {at(timerStart, 3), LogRecord::REC, JAPANESE, Spaces(9) + "タイマー録画終了" + strJapaneseTime},
        {at(timerStart, 1), LogRecord::ALARM, ENGLISH, Spaces(9) + "Alarm Rec End" + Spaces(2) + strEnglishTime},
        {at(timerStart, 0), LogRecord::ALARM, JAPANESE, Spaces(9) + "アラーム録画開始" + strJapaneseTime},
        {at(timerStart, 105), LogRecord::FAILURE, ENGLISH, Spaces(9) + "Video Failure" + strEnglishTime},
        {at(timerStart, 250), LogRecord::FAILURE, ENGLISH, Spaces(9) + "HDD Failure" + Spaces(2) + strEnglishTime},
        {at(timerStart, 301), LogRecord::FAILURE, ENGLISH, Spaces(9) + "Fan Failure " + Spaces(2) + strEnglishTime},
        {at(timerStart, 301), LogRecord::FAILURE, JAPANESE, Spaces(9) + "ファン異常" + Spaces(1) + strJapaneseTime},
        // Empty slots, alarm slots whose flag is not 1, events without a text.
        {LogRecord {}, LogRecord::REC, ENGLISH, Spaces(9) + Spaces(14) + strNoTimeEnglish},
        {LogRecord {}, LogRecord::FAILURE, JAPANESE, Spaces(9) + Spaces(15) + strNoTimeJapanese},
        {alarmFlag2, LogRecord::ALARM, ENGLISH, Spaces(9) + Spaces(22) + strNoTimeEnglish},
        {alarmFlag2, LogRecord::ALARM, JAPANESE, Spaces(9) + Spaces(23) + strNoTimeJapanese},
        {at(timerStart, 9), LogRecord::REC, ENGLISH, Spaces(9) + Spaces(14) + strNoTimeEnglish},
        {at(timerStart, 302), LogRecord::FAILURE, ENGLISH, Spaces(9) + Spaces(14) + strNoTimeEnglish},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CLogSelDlg::FormatLine(c.record, c.nKind, c.nLanguage).toStdString(), c.strLine);
}

class LogPageTest : public RemoteTest {
protected:
    CLogSelDlg* Log() const { return static_cast<CLogSelDlg*>(SettingPage(T::PAGE_LOG)); }
    QListWidget* List() const { return Log()->findChild<QListWidget*>("id1525"); }
    QString Status() const { return Log()->findChild<QLabel*>("id1524")->text(); }
    void Display(int nKind)
    {
        Log()->findChild<QComboBox*>("id1209")->setCurrentIndex(nKind);
        Click(Log(), CLogSelDlg::IDC_DISPLAY);
    }
};

TEST_F(LogPageTest, DisplayLogListsEverySlotOfTheChosenLog)
{
    EnterMenuMode(T::PAGE_LOG);
    EXPECT_TRUE(ReceivedCodes().empty()); // showing the page reads nothing
    struct Case {
        int nKind;
        int nLines;
        const char* pszFirst;
    };
    for (const Case& c : {Case {LogRecord::REC, 100, "LGRD"}, Case {LogRecord::ALARM, 500, "LGAL"},
                          Case {LogRecord::FAILURE, 100, "LGTR"}}) {
        m_sim.ClearTrace();
        Display(c.nKind);
        const std::vector<SimLogRecord> log = m_sim.GetLog(c.nKind);
        ASSERT_EQ(List()->count(), c.nLines);
        EXPECT_EQ(ReceivedCodes().front(), c.pszFirst);
        EXPECT_EQ(ReceivedCodes().size(), log.size()); // the first and a follow-up per further record
        EXPECT_TRUE(Status().isEmpty());
        for (std::size_t i = 0; i < log.size(); ++i) {
            const SimLogRecord& r = log[i];
            const LogRecord slot = Record(r.byFlag, r.time.nYear, r.time.nMonth, r.time.nDay, r.time.nHour,
                                          r.time.nMinute, r.time.nSecond, r.nCode);
            EXPECT_EQ(List()->item(static_cast<int>(i))->text(), CLogSelDlg::FormatLine(slot, c.nKind, ENGLISH));
        }
        EXPECT_EQ(List()->item(c.nLines - 1)->text(), CLogSelDlg::FormatLine(LogRecord {}, c.nKind, ENGLISH));
    }
    EXPECT_TRUE(List()->item(0)->text().contains("Fan Failure "));
}

TEST_F(LogPageTest, AFailedReadingKeepsTheLinesAndMenuModeEmptiesThePage)
{
    EnterMenuMode(T::PAGE_LOG);
    Display(LogRecord::FAILURE);
    ASSERT_EQ(List()->count(), 100);
    m_sim.SetFault("LGRD", SimFault::Refuse, 1);
    Display(LogRecord::REC);
    EXPECT_EQ(Status().toStdString(), "Loading LOGs... Wait for a while.");
    EXPECT_EQ(List()->count(), 100);
    EXPECT_TRUE(List()->item(0)->text().contains("Fan Failure "));

    Page().OnMenuSetting(); // leave
    Page().OnMenuSetting(); // enter again: the log page starts empty
    EXPECT_TRUE(Status().isEmpty());
    EXPECT_EQ(List()->count(), 0);
}
