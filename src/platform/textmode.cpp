#include "platform/textmode.h"

std::string TextModeEncode(const std::string& strContent)
{
    std::string strOut;
    strOut.reserve(strContent.size() + strContent.size() / 16 + 8);
    for (char c : strContent) {
        if (c == '\n')
            strOut += '\r';
        strOut += c;
    }
    return strOut;
}

std::string TextModeDecode(const std::string& strStored)
{
    std::string strOut;
    strOut.reserve(strStored.size());
    for (std::size_t i = 0; i < strStored.size(); ++i) {
        if (strStored[i] == '\r' && i + 1 < strStored.size() && strStored[i + 1] == '\n')
            continue;
        strOut += strStored[i];
    }
    return strOut;
}
