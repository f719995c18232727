#include "sim/simfault.h"

namespace {

struct FaultName {
    SimFault fault;
    const char* pszName;
};

constexpr FaultName kNames[] = {
    {SimFault::Refuse, "refuse"},     {SimFault::BadAck, "bad-ack"},       {SimFault::Silence, "silence"},
    {SimFault::NoFrame, "no-frame"},  {SimFault::BadStart, "bad-start"},   {SimFault::BadEnd, "bad-end"},
    {SimFault::BadCode, "bad-code"},  {SimFault::Reset, "reset"},          {SimFault::Close, "close"},
    {SimFault::Trickle, "trickle"},   {SimFault::Late, "late"},            {SimFault::BadYear, "bad-year"},
    {SimFault::EndlessLog, "endless-log"}, {SimFault::SizeZero, "size-zero"},    {SimFault::SizeHuge, "size-huge"},
    {SimFault::ChunkBadCode, "chunk-bad-code"}, {SimFault::ChunkLong, "chunk-long"},
    {SimFault::ChunkOverrun, "chunk-overrun"},  {SimFault::CloseMidPicture, "close-mid-picture"},
    {SimFault::SilenceMidPicture, "silence-mid-picture"}, {SimFault::BadPicture, "bad-picture"},
};

} // namespace

std::string_view SimFaultName(SimFault fault)
{
    for (const FaultName& n : kNames) {
        if (n.fault == fault)
            return n.pszName;
    }
    return "none";
}

bool ParseSimFault(std::string_view strName, SimFault& fault)
{
    for (const FaultName& n : kNames) {
        if (strName == n.pszName) {
            fault = n.fault;
            return true;
        }
    }
    return false;
}

std::string SimFaultNames()
{
    std::string strNames;
    for (const FaultName& n : kNames) {
        if (!strNames.empty())
            strNames += ", ";
        strNames += n.pszName;
    }
    return strNames;
}
