#include "store/picturestamp.h"

#include <algorithm>
#include <array>
#include <cstdio>

namespace {

// A field of two ASCII digits at nOffset; -1 when either byte is not a digit.
int TwoDigits(const unsigned char* p, std::size_t nOffset)
{
    const unsigned char cTens = p[nOffset];
    const unsigned char cUnits = p[nOffset + 1];
    if (cTens < '0' || cTens > '9' || cUnits < '0' || cUnits > '9')
        return -1;
    return (cTens - '0') * 10 + (cUnits - '0');
}

struct FieldRule {
    std::size_t nOffset;
    int nMin;
    int nMax;
    int CPictureStamp::*pField;
};

constexpr std::array<FieldRule, 7> FIELD_RULES{{
    {CPictureStamp::TIME_OFFSET + 0, 0, 99, &CPictureStamp::nYear},
    {CPictureStamp::TIME_OFFSET + 2, 1, 12, &CPictureStamp::nMonth},
    {CPictureStamp::TIME_OFFSET + 4, 1, 31, &CPictureStamp::nDay},
    {CPictureStamp::TIME_OFFSET + 6, 0, 23, &CPictureStamp::nHour},
    {CPictureStamp::TIME_OFFSET + 8, 0, 59, &CPictureStamp::nMinute},
    {CPictureStamp::TIME_OFFSET + 10, 0, 59, &CPictureStamp::nSecond},
    {CPictureStamp::FRAME_OFFSET, 0, 99, &CPictureStamp::nFrame},
}};

template <typename... Args>
std::string Format(const char* pszFormat, Args... args)
{
    std::array<char, 64> text{};
    const int n = std::snprintf(text.data(), text.size(), pszFormat, args...);
    return n > 0 ? std::string(text.data(), std::min<std::size_t>(static_cast<std::size_t>(n), text.size() - 1))
                 : std::string();
}

} // namespace

std::optional<CPictureStamp> CPictureStamp::FromInfo(const unsigned char* pInfo, std::size_t nSize)
{
    if (!pInfo || nSize < INFO_SIZE)
        return std::nullopt;
    CPictureStamp stamp;
    for (const FieldRule& rule : FIELD_RULES) {
        const int nValue = TwoDigits(pInfo, rule.nOffset);
        if (nValue < rule.nMin || nValue > rule.nMax)
            return std::nullopt;
        stamp.*rule.pField = nValue;
    }
    stamp.nYear += 2000;
    if (pInfo[CAMERA_OFFSET] > MAX_CAMERA_CODE)
        return std::nullopt;
    stamp.nCamera = pInfo[CAMERA_OFFSET] + 1;
    return stamp;
}

std::string CPictureStamp::CameraFolderName() const
{
    return Format("%02d", nCamera);
}

std::string CPictureStamp::DateFolderName() const
{
    return Format("%d_%02d_%02d", nYear, nMonth, nDay);
}

std::string CPictureStamp::SecondFolderPath() const
{
    return CameraFolderName() + "/" + DateFolderName() + Format("/%02d/%02d/%02d", nHour, nMinute, nSecond);
}

std::string CPictureStamp::FileName() const
{
    return Format("%d%02d%02d%02d%02d%02d%02d.jpg", nYear, nMonth, nDay, nHour, nMinute, nSecond, nFrame);
}

std::string CPictureStamp::RelativePath() const
{
    return SecondFolderPath() + "/" + FileName();
}
