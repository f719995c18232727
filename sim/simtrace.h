// One block of bytes the simulated recorder received or sent.
#pragma once

#include <string>

struct SimTraceEntry {
    enum class Direction { Received, Sent };
    Direction direction = Direction::Received;
    std::string strBytes;

    bool IsReceived() const { return direction == Direction::Received; }
    // The bytes as upper-case hex pairs separated by spaces ("A0 05 42 ...").
    std::string Hex() const;
};
