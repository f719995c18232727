#include "link/commandtable.h"

#include <cstring>

namespace {

struct CommandDef {
    const char* pszCode;
    int nParams;
};

// Every template in index order: its code and its number of parameter bytes.
constexpr CommandDef kCommands[CCommandTable::COMMAND_COUNT] = {
    // 0..19 front-panel keys: A0 05 'B' 'T' x y 00 AF
    {"BTPO", 1}, {"BTPF", 1}, {"BTPL", 1}, {"BTST", 1}, {"BTRV", 1},
    {"BTPS", 1}, {"BTRD", 1}, {"BTKH", 1}, {"BTRS", 1}, {"BTDC", 1},
    {"BTMN", 1}, {"BTON", 1}, {"BTSC", 1}, {"BTQT", 1}, {"BTAL", 1},
    {"BTUP", 1}, {"BTDW", 1}, {"BTLF", 1}, {"BTRT", 1}, {"BTSL", 1},
    // 20..54 menu set: one parameter byte, except the clock (7) and a timer program (14)
    {"MSPM", 1}, {"MSPR", 1}, {"MSDT", 7}, {"MSTS", 1}, {"MSTT", 1},
    {"MSWD", 1}, {"MSWM", 1}, {"MSRQ", 1}, {"MSRD", 1}, {"MSRI", 1},
    {"MSRC", 1}, {"MSTM", 14}, {"MSAS", 1}, {"MSAN", 1}, {"MSAP", 1},
    {"MSAT", 1}, {"MSAF", 1}, {"MSAQ", 1}, {"MSAD", 1}, {"MSAI", 1},
    {"MSAB", 1}, {"MSAO", 1}, {"MSVQ", 1}, {"MSVD", 1}, {"MSVW", 1},
    {"MSVR", 1}, {"MSVP", 1}, {"MSVG", 1}, {"MSVH", 1}, {"MSVT", 1},
    {"MSVC", 1}, {"MSVM", 1}, {"MSTR", 1}, {"MSTF", 1}, {"MSTC", 1},
    // 55 search by date (never sent)
    {"SESD", 6},
    // 56..90 menu value read: no parameter, except the timer program number
    {"MVPM", 0}, {"MVPR", 0}, {"MVDT", 0}, {"MVTS", 0}, {"MVTT", 0},
    {"MVWD", 0}, {"MVWM", 0}, {"MVRQ", 0}, {"MVRD", 0}, {"MVRI", 0},
    {"MVRC", 0}, {"MVTM", 1}, {"MVAS", 0}, {"MVAN", 0}, {"MVAP", 0},
    {"MVAT", 0}, {"MVAF", 0}, {"MVAQ", 0}, {"MVAD", 0}, {"MVAI", 0},
    {"MVAB", 0}, {"MVAO", 0}, {"MVVQ", 0}, {"MVVD", 0}, {"MVVW", 0},
    {"MVVR", 0}, {"MVVP", 0}, {"MVVG", 0}, {"MVVH", 0}, {"MVVT", 0},
    {"MVVC", 0}, {"MVVM", 0}, {"MVTR", 0}, {"MVTF", 0}, {"MVTC", 0},
    // 91 status query
    {"BTQT", 0},
    // 92..97 logs: first and follow-up command of each kind
    {"LGRD", 0}, {"LGRQ", 0}, {"LGAL", 0}, {"LGAQ", 0}, {"LGTR", 0}, {"LGTQ", 0},
    // 98..106 pictures
    {"JI", 0}, {"J0", 12}, {"J1", 0}, {"J2", 0}, {"J3", 0}, {"J4", 0}, {"J5", 0}, {"J6", 0},
    {"JU", 0},
};

using Table = std::array<CCommandTable::Template, CCommandTable::COMMAND_COUNT>;

CCommandTable::Template BuildTemplate(const CommandDef& def)
{
    CCommandTable::Template frame {};
    const std::size_t nCode = std::strlen(def.pszCode);
    const bool bPicture = nCode == 2;
    frame[0] = CCommandTable::FRAME_START;
    frame[1] = static_cast<std::uint8_t>(bPicture ? def.nParams : static_cast<int>(nCode) + def.nParams);
    std::memcpy(&frame[2], def.pszCode, nCode);
    frame[2 + nCode + static_cast<std::size_t>(def.nParams)] = CCommandTable::FRAME_END;
    return frame;
}

const Table& BuiltTable()
{
    static const Table table = [] {
        Table t {};
        for (int i = 0; i < CCommandTable::COMMAND_COUNT; ++i)
            t[static_cast<std::size_t>(i)] = BuildTemplate(kCommands[i]);
        return t;
    }();
    return table;
}

bool ValidIndex(int nIndex)
{
    return nIndex >= 0 && nIndex < CCommandTable::COMMAND_COUNT;
}

} // namespace

const CCommandTable::Template& CCommandTable::Get(int nIndex)
{
    static const Template empty {};
    return ValidIndex(nIndex) ? BuiltTable()[static_cast<std::size_t>(nIndex)] : empty;
}

std::string_view CCommandTable::Code(int nIndex)
{
    return ValidIndex(nIndex) ? kCommands[nIndex].pszCode : "";
}

int CCommandTable::FrameLength(int nIndex)
{
    if (!ValidIndex(nIndex))
        return 0;
    const CommandDef& def = kCommands[nIndex];
    return 2 + static_cast<int>(std::strlen(def.pszCode)) + def.nParams + 1;
}

std::string_view CCommandTable::MenuSuffix(int k)
{
    if (k < 0 || k >= MENU_COUNT)
        return {};
    return Code(MENU_VALUE_FIRST + k).substr(2);
}

int CCommandTable::MenuIndex(std::string_view strSuffix)
{
    for (int k = 0; k < MENU_COUNT; ++k) {
        if (MenuSuffix(k) == strSuffix)
            return k;
    }
    return -1;
}
