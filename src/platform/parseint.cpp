#include "platform/parseint.h"

#include <cstdlib>

bool ParseInt(const std::string& strText, int nMin, int nMax, int& nValue)
{
    char* pEnd = nullptr;
    const long n = std::strtol(strText.c_str(), &pEnd, 10);
    if (strText.empty() || *pEnd != '\0' || n < nMin || n > nMax)
        return false;
    nValue = static_cast<int>(n);
    return true;
}
