// One slot of a recorder log as the link keeps it: 16 bytes filled from one
// 20-byte log answer (answer byte 6 widened into the entry flag, answer bytes
// 7..18 copied as they are).
#pragma once

#include <cstdint>

struct LogRecord {
    enum Kind { REC = 0, ALARM = 1, FAILURE = 2, KIND_COUNT = 3 };

    std::int32_t nEntry = 0;       // entry flag; 0 marks an empty slot
    std::uint8_t byYearHigh = 0;
    std::uint8_t byYearLow = 0;
    std::uint8_t byMonth = 0;
    std::uint8_t byDay = 0;
    std::uint8_t byHour = 0;
    std::uint8_t byMinute = 0;
    std::uint8_t bySecond = 0;
    std::uint8_t byReserved[2] = {0, 0}; // carried along, not interpreted
    std::uint8_t byCodeHigh = 0;   // failure log: high byte of the failure code
    std::uint8_t byEvent = 0;      // event; failure log: low byte of the failure code
    std::uint8_t byMore = 0;       // 0xFE when the recorder has more records

    static constexpr std::uint8_t MORE_FOLLOW = 0xFE;

    int Year() const { return byYearHigh * 256 + byYearLow; }
    int FailureCode() const { return byCodeHigh * 256 + byEvent; }

    // Whether the slot holds an entry: an alarm slot only with flag 1, the
    // other logs with any flag but 0.
    bool HoldsEntry(int nKind) const;

    // The string id of the slot's event or failure text (187 "Rec Start" ..
    // 204 "Fan Failure "), or 0 when the value has no text.
    int TextId(int nKind) const;
};

static_assert(sizeof(LogRecord) == 16, "a log slot is 16 bytes");
