// The settings file: a raw 692-byte image of the recorder's 33 one-byte menu
// settings and its ten timer programs. Every field is a 32-bit signed integer,
// least significant byte first, holding the widened value (a byte 0xFF read from
// the recorder is stored as FF FF FF FF). The settings stand in setting order
// (k = 0..34 without the clock and the timer program) from offset 0; program p
// starts at offset 132 + 56 p, its field f at 132 + 56 p + 4 f.
#pragma once

#include "link/commandtable.h"
#include "link/timerprogram.h"

#include <array>
#include <string>
#include <string_view>

class CSettingsImage {
public:
    static constexpr int FIELD_SIZE = 4;
    static constexpr int SETTING_COUNT = 33;
    static constexpr int SETTINGS_SIZE = SETTING_COUNT * FIELD_SIZE; // 132
    static constexpr int PROGRAM_SIZE = TimerProgram::FIELD_COUNT * FIELD_SIZE; // 56
    static constexpr int FILE_SIZE = SETTINGS_SIZE + TimerProgram::PROGRAM_COUNT * PROGRAM_SIZE; // 692
    static constexpr int NO_VALUE = -1; // a setting that has not been read

    // Every setting and every program field starts as NO_VALUE.
    CSettingsImage();

    // Whether setting k is one of the 33 that the image holds (not the clock,
    // not the timer program).
    static bool HoldsSetting(int k);
    // The file offset of setting k, or -1 when the image does not hold it.
    static int SettingOffset(int k);

    int GetValue(int k) const;          // NO_VALUE for a setting the image does not hold
    void SetValue(int k, int nValue);   // ignored for a setting the image does not hold

    TimerProgram& Program(int p) { return m_Program[static_cast<std::size_t>(p)]; }
    const TimerProgram& Program(int p) const { return m_Program[static_cast<std::size_t>(p)]; }

    // The 692 file bytes.
    std::string Encode() const;
    // Takes the values of a file's bytes; false (and nothing changed) unless
    // there are exactly 692 of them.
    bool Decode(std::string_view bytes);

private:
    std::array<int, CCommandTable::MENU_COUNT> m_nValue {};
    std::array<TimerProgram, TimerProgram::PROGRAM_COUNT> m_Program {};
};
