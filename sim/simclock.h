// The simulated recorder's clock: a civil date and time that runs on from
// where it was last set, second by second, with the machine's steady clock.
#pragma once

#include <chrono>
#include <string>

struct SimDateTime {
    int nYear = 2001;
    int nMonth = 1;
    int nDay = 1;
    int nHour = 0;
    int nMinute = 0;
    int nSecond = 0;

    bool operator==(const SimDateTime&) const = default;

    // "YYYY-MM-DD hh:mm:ss"
    std::string Format() const;
    // Reads "YYYY-MM-DD hh:mm:ss"; false when the text or a field is invalid.
    static bool Parse(const std::string& strText, SimDateTime& dt);
    // Whether the fields form a real date and time.
    bool IsValid() const;
    // 0 Sunday .. 6 Saturday.
    int Weekday() const;
    SimDateTime AddSeconds(long long nSeconds) const;
    // The machine's local date and time.
    static SimDateTime LocalNow();
    // Milliseconds since 1970-01-01 00:00:00 of the same calendar (the
    // recorder's civil time, counted as if it were UTC), and back.
    long long ToMs() const;
    static SimDateTime FromMs(long long nMs);
};

class CSimClock {
public:
    explicit CSimClock(const SimDateTime& start = SimDateTime::LocalNow());

    SimDateTime Now() const;
    // Now, to the millisecond (see SimDateTime::ToMs).
    long long NowMs() const;
    void Set(const SimDateTime& dt);

private:
    std::chrono::sys_seconds m_base;
    std::chrono::steady_clock::time_point m_setAt;
};
