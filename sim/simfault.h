// Faults the simulated recorder can be told to show, per command code.
#pragma once

#include <string>
#include <string_view>

enum class SimFault {
    None,
    Refuse,     // acknowledge 0x15; the command is not carried out
    BadAck,     // acknowledge 0x00 instead of 0x06
    Silence,    // no answer at all; the command is not carried out
    NoFrame,    // acknowledge 0x06, then no answer frame
    BadStart,   // answer frame with a wrong start byte
    BadEnd,     // answer frame with a wrong end byte
    BadCode,    // answer frame carrying another code
    Reset,      // the connection is reset instead of answering
    Close,      // the connection is closed instead of answering
    Trickle,    // the answer is sent one byte at a time
    Late,       // the answer comes 1.5 seconds late
    BadYear,    // the clock answer carries the year 2000
    EndlessLog, // every log answer says that more records follow
    // Picture uploads (set on JU):
    SizeZero,          // the size frame announces 0 bytes
    SizeHuge,          // the size frame announces 535,681 bytes, and no chunk follows
    ChunkBadCode,      // the first chunk is marked 'J' 'Y'
    ChunkLong,         // the first chunk's length byte is 0x80 (128 bytes follow)
    ChunkOverrun,      // chunks marked 'J' 'W' go on past the picture, to 614,400 bytes
    CloseMidPicture,   // the connection is closed after two chunks
    SilenceMidPicture, // no chunk after the second is answered
    BadPicture,        // the picture arrives whole, but its bytes are no JPEG
};

// The name used on the command line ("refuse", "bad-ack", ...).
std::string_view SimFaultName(SimFault fault);
// False for an unknown name.
bool ParseSimFault(std::string_view strName, SimFault& fault);
// Every name, for usage texts.
std::string SimFaultNames();
