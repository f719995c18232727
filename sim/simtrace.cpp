#include "sim/simtrace.h"

std::string SimTraceEntry::Hex() const
{
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string strHex;
    for (const char ch : strBytes) {
        const auto by = static_cast<unsigned char>(ch);
        if (!strHex.empty())
            strHex += ' ';
        strHex += kDigits[by >> 4];
        strHex += kDigits[by & 0x0F];
    }
    return strHex;
}
