// What the simulated recorder sends back for one request.
#pragma once

#include <string>

struct SimAnswer {
    std::string strAck;   // the acknowledge byte, or nothing
    std::string strFrame; // the answer frame (or chunk), or nothing
    bool bHangUp = false; // close the connection instead of answering
};
