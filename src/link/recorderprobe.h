// Whether a recorder of the expected kind answers at an address: connect, read
// its clock, close again. A device that accepts the connection but does not
// answer within the receive limit, or answers with a year outside 2001..2999,
// is not taken for a recorder.
#pragma once

#include <string>

class CVX2200Ctrl;

class CRecorderProbe {
public:
    static constexpr int MIN_YEAR = 2001;
    static constexpr int MAX_YEAR = 2999;

    // 1 when the recorder answered with a plausible clock, else 0. The protocol
    // object is disconnected afterwards in every case.
    static int ProbeRecorder(CVX2200Ctrl& ctrl, const std::string& strIP, int nPort);
};
