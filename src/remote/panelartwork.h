// The remote page's own pictures: the recorder's front panel (a black strip
// with white labels and the product mark, 680 x 95) and the DISK FULL/FAILURE
// lamp, lit (red) and dark (white), 18 x 9. One table places the labels, the
// fifteen keys under them and the lamp, so the page lays its keys out from it.
#pragma once

#include <QPixmap>
#include <QRect>

#include <span>

class CPanelArtwork {
public:
    static constexpr int PANEL_WIDTH = 680;
    static constexpr int PANEL_HEIGHT = 95;
    static constexpr int LAMP_WIDTH = 18;
    static constexpr int LAMP_HEIGHT = 9;
    static constexpr int KEY_WIDTH = 28;
    static constexpr int KEY_HEIGHT = 16;
    static constexpr int KEY_TOP = 46;

    // How a slot's label is drawn beyond its text.
    enum class Sign { None, Record, Minus, Plus, Up, Down };

    // One place on the panel: a key (or the lamp) centred at nCentre, its label
    // above (lines split at '\n'), an optional label below it.
    struct Slot {
        int nId;
        int nCentre;
        const char* pszLabel;
        const char* pszBelow;
        Sign sign;
    };

    static constexpr int LAMP_ID = 1656;

    // The sixteen places from left to right: the fifteen keys and the lamp.
    static std::span<const Slot> Slots();
    // The key's rectangle in panel coordinates; an empty one for an id that
    // has no slot. The lamp's rectangle for LAMP_ID.
    static QRect KeyRect(int nId);

    static QPixmap Panel();     // bitmap 154
    static QPixmap LampOn();    // bitmap 266
    static QPixmap LampOff();   // bitmap 267
};
