// The recorder's clock as the timer pages use it, and the dates they derive
// from it: a timer program keeps no year, so a dated program falls in the
// clock's year, or in the next one when its date has passed.
#pragma once

class CVX2200Ctrl;

class CRecorderClock {
public:
    struct Date {
        int nYear = 2000;
        int nMonth = 1;
        int nDay = 1;
    };

    // The clock's date; false (and 1 January 2000) when it cannot be read.
    static bool Read(CVX2200Ctrl* pCtrl, Date& date);
    // The year of a program for nMonth/nDay: the clock's year, or the next
    // one when month * 256 + day comes before the clock's.
    static int ProgramYear(const Date& clock, int nMonth, int nDay);
    static bool IsLeapYear(int nYear);
    // Days in nMonth (1..12) of nYear; 0 for another month.
    static int DaysInMonth(int nYear, int nMonth);
    // The string id of the weekday letter of a date (220 "S" .. 233 "S"), or 0
    // when the date does not exist.
    static int WeekdayLetterId(int nYear, int nMonth, int nDay);
    // The weekday letter ids, Sunday to Saturday, and the dash (235).
    static int WeekdayLetterIdOf(int nWeekday);
    static constexpr int IDS_NO_WEEKDAY = 235;
};
