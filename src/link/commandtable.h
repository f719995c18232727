// The recorder's command frames as fixed templates: 107 frames of 200 bytes,
// each a complete frame with its parameter bytes 0, followed by zero bytes. An
// exchange copies its template, writes its parameters and sends the copy.
//
// Frame: A0, length, code, parameters, AF. The four-letter families count the
// code letters and the parameters in the length byte; the picture family (two
// letters, 'J' and one more) counts the parameters only.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

class CCommandTable {
public:
    static constexpr int COMMAND_COUNT = 107;
    static constexpr int TEMPLATE_SIZE = 200;
    static constexpr int MENU_COUNT = 35; // settings k = 0..34

    static constexpr std::uint8_t FRAME_START = 0xA0;
    static constexpr std::uint8_t FRAME_END = 0xAF;
    static constexpr std::uint8_t ACK = 0x06;
    static constexpr std::uint8_t NAK = 0x15;

    // Template indices of the families and of the commands used by name.
    enum Index {
        KEY_FIRST = 0, // BTPO .. BTSL, 20 keys
        KEY_BTPO = 0, KEY_BTPF = 1, KEY_BTPL = 2, KEY_BTST = 3, KEY_BTRV = 4,
        KEY_BTPS = 5, KEY_BTRD = 6, KEY_BTKH = 7, KEY_BTRS = 8, KEY_BTDC = 9,
        KEY_BTMN = 10, KEY_BTON = 11, KEY_BTSC = 12, KEY_BTQT = 13, KEY_BTAL = 14,
        KEY_BTUP = 15, KEY_BTDW = 16, KEY_BTLF = 17, KEY_BTRT = 18, KEY_BTSL = 19,
        KEY_COUNT = 20,
        MENU_SET_FIRST = 20, // MS + suffix of setting k at 20 + k
        SEARCH_SESD = 55,
        MENU_VALUE_FIRST = 56, // MV + suffix of setting k at 56 + k
        STATUS_BTQT = 91,
        LOG_LGRD = 92, LOG_LGRQ = 93, LOG_LGAL = 94, LOG_LGAQ = 95, LOG_LGTR = 96, LOG_LGTQ = 97,
        PICTURE_JI = 98, PICTURE_J0 = 99, PICTURE_JU = 106,
    };

    // Settings with more than one parameter byte.
    static constexpr int MENU_DT = 2; // date and time, 7 bytes
    static constexpr int MENU_TM = 11; // one timer program, 14 bytes

    using Template = std::array<std::uint8_t, TEMPLATE_SIZE>;

    // The template at nIndex (0..106); all zero bytes for any other index.
    static const Template& Get(int nIndex);

    // The code letters of template nIndex ("BTPL", "MVRI", "JU"); empty for any other index.
    static std::string_view Code(int nIndex);

    // The frame length of template nIndex, start byte to end byte; 0 for any other index.
    static int FrameLength(int nIndex);

    // The two-letter suffix of setting k ("PM" for 0, ... "TC" for 34).
    static std::string_view MenuSuffix(int k);

    // The setting k of a suffix, or -1 when there is none.
    static int MenuIndex(std::string_view strSuffix);
};
