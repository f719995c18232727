#include "store/entryfile.h"

#include "platform/textmode.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace {

void PutField(std::string& strOut, std::size_t nOffset, const std::string& strText)
{
    const std::string strFit = CEntryFile::FitField(strText);
    std::memcpy(&strOut[nOffset], strFit.data(), strFit.size());
    strOut[nOffset + strFit.size()] = '\0';
}

std::string GetField(const std::string& strContent, std::size_t nOffset)
{
    const char* p = strContent.data() + nOffset;
    std::size_t nLen = 0;
    while (nLen < CEntryFile::FIELD_SIZE - 1 && p[nLen] != '\0')
        ++nLen;
    return std::string(p, nLen);
}

// The decimal value of a port field, as the C library's atoi reads it, kept
// within the range of a 32-bit integer.
int ParsePort(const std::string& strText)
{
    long long nValue = std::strtoll(strText.c_str(), nullptr, 10);
    return static_cast<int>(std::clamp<long long>(nValue, INT32_MIN, INT32_MAX));
}

} // namespace

std::string CEntryFile::FitField(const std::string& strText)
{
    std::size_t nLen = std::min<std::size_t>(strText.find('\0'), FIELD_SIZE - 1);
    if (nLen >= strText.size())
        return strText;
    // Do not cut a UTF-8 sequence: step back over continuation bytes.
    if (nLen < strText.size() && (static_cast<unsigned char>(strText[nLen]) & 0xC0) == 0x80) {
        while (nLen > 0 && (static_cast<unsigned char>(strText[nLen]) & 0xC0) == 0x80)
            --nLen;
    }
    return strText.substr(0, nLen);
}

std::string CEntryFile::Encode(int nCount, const Records& records)
{
    nCount = std::clamp(nCount, 0, MAX_ENTRY);
    std::string strContent(CONTENT_SIZE, '\0');
    const auto nStored = static_cast<std::uint32_t>(nCount);
    for (int b = 0; b < 4; ++b)
        strContent[b] = static_cast<char>((nStored >> (8 * b)) & 0xFF);
    for (int i = 0; i < MAX_ENTRY; ++i) {
        const std::size_t nBase = 4 + static_cast<std::size_t>(i) * RECORD_SIZE;
        const bool bValid = i < nCount;
        PutField(strContent, nBase, bValid ? records[i].strName : std::string());
        PutField(strContent, nBase + FIELD_SIZE, bValid ? records[i].strIP : std::string());
        PutField(strContent, nBase + 2 * FIELD_SIZE, std::to_string(records[i].nPort));
    }
    return TextModeEncode(strContent);
}

int CEntryFile::Decode(const std::string& strStored, Records& records)
{
    records = Records{};
    std::string strContent = TextModeDecode(strStored);
    if (strContent.size() > static_cast<std::size_t>(CONTENT_SIZE))
        strContent.resize(CONTENT_SIZE);
    if (strContent.size() < 4)
        return 0;

    std::uint32_t nRaw = 0;
    for (int b = 0; b < 4; ++b)
        nRaw |= static_cast<std::uint32_t>(static_cast<unsigned char>(strContent[b])) << (8 * b);
    const auto nStoredCount = static_cast<std::int32_t>(nRaw);
    const int nPresent = static_cast<int>((strContent.size() - 4) / RECORD_SIZE);
    const int nCount = std::clamp<std::int32_t>(nStoredCount, 0, std::min(nPresent, MAX_ENTRY));

    for (int i = 0; i < nCount; ++i) {
        const std::size_t nBase = 4 + static_cast<std::size_t>(i) * RECORD_SIZE;
        records[i].strName = GetField(strContent, nBase);
        records[i].strIP = GetField(strContent, nBase + FIELD_SIZE);
        records[i].nPort = ParsePort(GetField(strContent, nBase + 2 * FIELD_SIZE));
    }
    return nCount;
}
