// A date and time of the recorder's clock, as the save dialog, the backup run
// and the picture records carry it. The recorder knows no time zone: times are
// compared and subtracted as civil times (every day 86,400 seconds), so a
// backup across a change to or from summer time spans what its clock shows.
#pragma once

#include <string>

struct CCivilTime {
    int nYear = 2000;
    int nMonth = 1;
    int nDay = 1;
    int nHour = 0;
    int nMinute = 0;
    int nSecond = 0;

    // Seconds since 1970-01-01 00:00:00 of the same calendar, and back.
    long long Seconds() const;
    static CCivilTime FromSeconds(long long nSeconds);
    CCivilTime AddSeconds(long long nSeconds) const { return FromSeconds(Seconds() + nSeconds); }

    // Whether the fields form a real date (years 1..9999) and time.
    bool IsValid() const;
    // "YYYY-MM-DD hh:mm:ss"
    std::string Format() const;

    auto operator<=>(const CCivilTime& other) const { return Seconds() <=> other.Seconds(); }
    bool operator==(const CCivilTime& other) const { return Seconds() == other.Seconds(); }
};
