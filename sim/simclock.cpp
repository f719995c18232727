#include "sim/simclock.h"

#include <cstdio>
#include <ctime>

namespace {

using namespace std::chrono;

sys_seconds ToSeconds(const SimDateTime& dt)
{
    const year_month_day ymd {year(dt.nYear), month(static_cast<unsigned>(dt.nMonth)),
                              day(static_cast<unsigned>(dt.nDay))};
    return sys_days(ymd) + hours(dt.nHour) + minutes(dt.nMinute) + seconds(dt.nSecond);
}

SimDateTime FromSeconds(sys_seconds t)
{
    const sys_days d = floor<days>(t);
    const year_month_day ymd(d);
    const hh_mm_ss hms(t - d);
    SimDateTime dt;
    dt.nYear = static_cast<int>(ymd.year());
    dt.nMonth = static_cast<int>(static_cast<unsigned>(ymd.month()));
    dt.nDay = static_cast<int>(static_cast<unsigned>(ymd.day()));
    dt.nHour = static_cast<int>(hms.hours().count());
    dt.nMinute = static_cast<int>(hms.minutes().count());
    dt.nSecond = static_cast<int>(hms.seconds().count());
    return dt;
}

} // namespace

std::string SimDateTime::Format() const
{
    char sz[40];
    std::snprintf(sz, sizeof sz, "%04d-%02d-%02d %02d:%02d:%02d", nYear, nMonth, nDay, nHour, nMinute, nSecond);
    return sz;
}

bool SimDateTime::Parse(const std::string& strText, SimDateTime& dt)
{
    SimDateTime parsed;
    char chEnd = 0;
    if (std::sscanf(strText.c_str(), "%4d-%2d-%2d %2d:%2d:%2d%c", &parsed.nYear, &parsed.nMonth, &parsed.nDay,
                    &parsed.nHour, &parsed.nMinute, &parsed.nSecond, &chEnd) != 6
        || !parsed.IsValid())
        return false;
    dt = parsed;
    return true;
}

bool SimDateTime::IsValid() const
{
    if (nYear < 0 || nYear > 65535 || nMonth < 1 || nMonth > 12 || nDay < 1 || nDay > 31)
        return false;
    const year_month_day ymd {year(nYear), month(static_cast<unsigned>(nMonth)), day(static_cast<unsigned>(nDay))};
    return ymd.ok() && nHour >= 0 && nHour < 24 && nMinute >= 0 && nMinute < 60 && nSecond >= 0 && nSecond < 60;
}

int SimDateTime::Weekday() const
{
    return static_cast<int>(weekday(floor<days>(ToSeconds(*this))).c_encoding());
}

SimDateTime SimDateTime::AddSeconds(long long nSeconds) const
{
    return FromSeconds(ToSeconds(*this) + seconds(nSeconds));
}

SimDateTime SimDateTime::LocalNow()
{
    const std::time_t now = std::time(nullptr);
    std::tm tm {};
    localtime_r(&now, &tm);
    SimDateTime dt;
    dt.nYear = tm.tm_year + 1900;
    dt.nMonth = tm.tm_mon + 1;
    dt.nDay = tm.tm_mday;
    dt.nHour = tm.tm_hour;
    dt.nMinute = tm.tm_min;
    dt.nSecond = tm.tm_sec < 60 ? tm.tm_sec : 59;
    return dt;
}

long long SimDateTime::ToMs() const
{
    return duration_cast<milliseconds>(ToSeconds(*this).time_since_epoch()).count();
}

SimDateTime SimDateTime::FromMs(long long nMs)
{
    return FromSeconds(floor<seconds>(sys_time<milliseconds>(milliseconds(nMs))));
}

CSimClock::CSimClock(const SimDateTime& start)
{
    Set(start);
}

SimDateTime CSimClock::Now() const
{
    const auto elapsed = duration_cast<seconds>(steady_clock::now() - m_setAt);
    return FromSeconds(m_base + elapsed);
}

long long CSimClock::NowMs() const
{
    const auto elapsed = duration_cast<milliseconds>(steady_clock::now() - m_setAt);
    return duration_cast<milliseconds>(m_base.time_since_epoch()).count() + elapsed.count();
}

void CSimClock::Set(const SimDateTime& dt)
{
    m_base = ToSeconds(dt);
    m_setAt = steady_clock::now();
}
