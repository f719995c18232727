#include "link/logrecord.h"

namespace {

struct TextRange {
    int nKind;
    int nFirst; // event or failure code range
    int nLast;
    int nStringId;
};

constexpr TextRange kTexts[] = {
    {LogRecord::REC, 0, 0, 187},         // Rec Start
    {LogRecord::REC, 1, 1, 189},         // Rec End
    {LogRecord::REC, 2, 2, 191},         // Timer Rec Start
    {LogRecord::REC, 3, 3, 193},         // Timer Rec End
    {LogRecord::ALARM, 0, 0, 195},       // Alarm Rec Start
    {LogRecord::ALARM, 1, 1, 198},       // Alarm Rec End
    {LogRecord::FAILURE, 101, 200, 200}, // Video Failure
    {LogRecord::FAILURE, 201, 300, 202}, // HDD Failure
    {LogRecord::FAILURE, 301, 301, 204}, // Fan Failure
};

} // namespace

bool LogRecord::HoldsEntry(int nKind) const
{
    return nKind == ALARM ? nEntry == 1 : nEntry != 0;
}

int LogRecord::TextId(int nKind) const
{
    const int nValue = nKind == FAILURE ? FailureCode() : byEvent;
    for (const TextRange& t : kTexts) {
        if (t.nKind == nKind && nValue >= t.nFirst && nValue <= t.nLast)
            return t.nStringId;
    }
    return 0;
}
