// One timer recording program of the recorder: 14 one-byte fields on the wire,
// kept here widened to 32-bit integers (a byte 0xFF reads as -1).
#pragma once

#include <array>

struct TimerProgram {
    enum Field {
        PROGRAM,        // program number minus 1 (0..9)
        MODE,           // 0 cancelled, 1 one date (month and day), 2 weekly
        MONTH,          // 1..12 (mode 1)
        DAY,            // 1..31 (mode 1)
        WEEKDAYS,       // bit 0 Sunday .. bit 6 Saturday (mode 2)
        START_HOUR,
        START_MINUTE,
        END_HOUR,
        END_MINUTE,
        QUALITY,        // as the recording picture quality, 0..4
        AUDIO,          // 0 off, 1 on
        INTERVAL,       // as the recording interval, 0..14
        REC_PATTERN,    // 0 shown "1", 1 shown "2"
        MOTION_PATTERN, // 0 shown "1", 1 shown "2"
        FIELD_COUNT
    };

    static constexpr int PROGRAM_COUNT = 10;

    std::array<int, FIELD_COUNT> nField {};

    int& operator[](int f) { return nField[static_cast<std::size_t>(f)]; }
    int operator[](int f) const { return nField[static_cast<std::size_t>(f)]; }
    bool operator==(const TimerProgram&) const = default;
};
