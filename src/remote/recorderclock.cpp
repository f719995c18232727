#include "remote/recorderclock.h"

#include "link/vx2200ctrl.h"

#include <QDate>

namespace {
constexpr int kWeekdayLetters[7] = {220, 223, 225, 227, 229, 231, 233}; // Sunday .. Saturday
constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
} // namespace

bool CRecorderClock::Read(CVX2200Ctrl* pCtrl, Date& date)
{
    date = Date {};
    int nYear = 0, nMonth = 0, nDay = 0, nHour = 0, nMinute = 0, nSecond = 0;
    if (!pCtrl || pCtrl->GetDateTime(nYear, nMonth, nDay, nHour, nMinute, nSecond) != CVX2200Ctrl::STATUS_OK)
        return false;
    date = {nYear, nMonth, nDay};
    return true;
}

int CRecorderClock::ProgramYear(const Date& clock, int nMonth, int nDay)
{
    return nMonth * 256 + nDay < clock.nMonth * 256 + clock.nDay ? clock.nYear + 1 : clock.nYear;
}

bool CRecorderClock::IsLeapYear(int nYear)
{
    return (nYear % 4 == 0 && nYear % 100 != 0) || nYear % 400 == 0;
}

int CRecorderClock::DaysInMonth(int nYear, int nMonth)
{
    if (nMonth < 1 || nMonth > 12)
        return 0;
    return nMonth == 2 && IsLeapYear(nYear) ? 29 : kDays[nMonth - 1];
}

int CRecorderClock::WeekdayLetterIdOf(int nWeekday)
{
    return nWeekday >= 0 && nWeekday < 7 ? kWeekdayLetters[nWeekday] : 0;
}

int CRecorderClock::WeekdayLetterId(int nYear, int nMonth, int nDay)
{
    const QDate date(nYear, nMonth, nDay);
    if (!date.isValid())
        return 0;
    return WeekdayLetterIdOf(date.dayOfWeek() % 7); // Qt counts Monday 1 .. Sunday 7
}
