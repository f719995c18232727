#include "link/settingsimage.h"

#include <cstdint>

namespace {

void PutInt(std::string& strOut, int nOffset, int nValue)
{
    const auto n = static_cast<std::uint32_t>(nValue);
    for (int b = 0; b < CSettingsImage::FIELD_SIZE; ++b)
        strOut[static_cast<std::size_t>(nOffset + b)] = static_cast<char>((n >> (8 * b)) & 0xFF);
}

int GetInt(std::string_view bytes, int nOffset)
{
    std::uint32_t n = 0;
    for (int b = 0; b < CSettingsImage::FIELD_SIZE; ++b)
        n |= static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[static_cast<std::size_t>(nOffset + b)])) << (8 * b);
    return static_cast<std::int32_t>(n);
}

int ProgramFieldOffset(int p, int f)
{
    return CSettingsImage::SETTINGS_SIZE + p * CSettingsImage::PROGRAM_SIZE + f * CSettingsImage::FIELD_SIZE;
}

} // namespace

CSettingsImage::CSettingsImage()
{
    m_nValue.fill(NO_VALUE);
    for (TimerProgram& program : m_Program)
        program.nField.fill(NO_VALUE);
}

bool CSettingsImage::HoldsSetting(int k)
{
    return k >= 0 && k < CCommandTable::MENU_COUNT && k != CCommandTable::MENU_DT && k != CCommandTable::MENU_TM;
}

int CSettingsImage::SettingOffset(int k)
{
    if (!HoldsSetting(k))
        return -1;
    const int nSlot = k - (k > CCommandTable::MENU_DT ? 1 : 0) - (k > CCommandTable::MENU_TM ? 1 : 0);
    return nSlot * FIELD_SIZE;
}

int CSettingsImage::GetValue(int k) const
{
    return HoldsSetting(k) ? m_nValue[static_cast<std::size_t>(k)] : NO_VALUE;
}

void CSettingsImage::SetValue(int k, int nValue)
{
    if (HoldsSetting(k))
        m_nValue[static_cast<std::size_t>(k)] = nValue;
}

std::string CSettingsImage::Encode() const
{
    std::string strOut(FILE_SIZE, '\0');
    for (int k = 0; k < CCommandTable::MENU_COUNT; ++k) {
        if (HoldsSetting(k))
            PutInt(strOut, SettingOffset(k), m_nValue[static_cast<std::size_t>(k)]);
    }
    for (int p = 0; p < TimerProgram::PROGRAM_COUNT; ++p) {
        for (int f = 0; f < TimerProgram::FIELD_COUNT; ++f)
            PutInt(strOut, ProgramFieldOffset(p, f), Program(p)[f]);
    }
    return strOut;
}

bool CSettingsImage::Decode(std::string_view bytes)
{
    if (bytes.size() != static_cast<std::size_t>(FILE_SIZE))
        return false;
    for (int k = 0; k < CCommandTable::MENU_COUNT; ++k) {
        if (HoldsSetting(k))
            m_nValue[static_cast<std::size_t>(k)] = GetInt(bytes, SettingOffset(k));
    }
    for (int p = 0; p < TimerProgram::PROGRAM_COUNT; ++p) {
        for (int f = 0; f < TimerProgram::FIELD_COUNT; ++f)
            Program(p)[f] = GetInt(bytes, ProgramFieldOffset(p, f));
    }
    return true;
}
