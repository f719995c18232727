#include "store/civiltime.h"

#include <cstdio>

namespace {

constexpr long long DAY_SECONDS = 86400;

// Days since 1970-01-01 of a date of the proleptic Gregorian calendar
// (H. Hinnant's days_from_civil).
long long DaysFromCivil(long long y, int m, int d)
{
    y -= m <= 2 ? 1 : 0;
    const long long era = (y >= 0 ? y : y - 399) / 400;
    const long long yoe = y - era * 400;
    const long long doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const long long doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

void CivilFromDays(long long z, long long& y, int& m, int& d)
{
    z += 719468;
    const long long era = (z >= 0 ? z : z - 146096) / 146097;
    const long long doe = z - era * 146097;
    const long long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const long long doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const long long mp = (5 * doy + 2) / 153;
    d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    y = yoe + era * 400 + (m <= 2 ? 1 : 0);
}

bool IsLeap(int y)
{
    return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
}

int DaysInMonth(int y, int m)
{
    static constexpr int DAYS[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return m == 2 && IsLeap(y) ? 29 : DAYS[m - 1];
}

} // namespace

long long CCivilTime::Seconds() const
{
    return DaysFromCivil(nYear, nMonth, nDay) * DAY_SECONDS + nHour * 3600LL + nMinute * 60LL + nSecond;
}

CCivilTime CCivilTime::FromSeconds(long long nSeconds)
{
    long long nDays = nSeconds / DAY_SECONDS;
    long long nRest = nSeconds % DAY_SECONDS;
    if (nRest < 0) {
        nRest += DAY_SECONDS;
        --nDays;
    }
    CCivilTime t;
    long long nYear = 0;
    CivilFromDays(nDays, nYear, t.nMonth, t.nDay);
    t.nYear = static_cast<int>(nYear);
    t.nHour = static_cast<int>(nRest / 3600);
    t.nMinute = static_cast<int>(nRest / 60 % 60);
    t.nSecond = static_cast<int>(nRest % 60);
    return t;
}

bool CCivilTime::IsValid() const
{
    return nYear >= 1 && nYear <= 9999 && nMonth >= 1 && nMonth <= 12 && nDay >= 1
        && nDay <= DaysInMonth(nYear, nMonth) && nHour >= 0 && nHour <= 23 && nMinute >= 0 && nMinute <= 59
        && nSecond >= 0 && nSecond <= 59;
}

std::string CCivilTime::Format() const
{
    char sz[48];
    std::snprintf(sz, sizeof sz, "%04d-%02d-%02d %02d:%02d:%02d", nYear, nMonth, nDay, nHour, nMinute, nSecond);
    return sz;
}
