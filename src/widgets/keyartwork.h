// The pictures of the viewer's recorder-style keys, drawn by the program itself.
// Every key has a normal, a pressed and a disabled look; the five keys that show
// the page's state (STOP, Play, RPLAY, PAUSE, REC) also have a lit look. Each
// picture is known by its resource number, as the page loads them. The REC key
// carries its caption in the user-interface language.
#pragma once

#include <QImage>
#include <QPixmap>

#include <span>

class CKeyArtwork {
public:
    static constexpr int KEY_WIDTH = 60;
    static constexpr int KEY_HEIGHT = 44;

    enum Symbol { SYM_STOP, SYM_PLAY, SYM_RPLAY, SYM_PAUSE, SYM_REC, SYM_REV, SYM_BLOCK, SYM_STEP, SYM_RSTEP };
    enum Look { LOOK_NORMAL, LOOK_LIT, LOOK_PRESSED, LOOK_DISABLED };

    // One key of the viewer page: its control id and the resource numbers of
    // its looks (nLit 0: the key is never lit).
    struct Key {
        int nId;
        Symbol symbol;
        int nNormal;
        int nLit;
        int nPressed;
        int nDisabled;
    };

    // The nine keys, in the order the page shows them.
    static std::span<const Key> Keys();
    // The key with control id nId, or nullptr.
    static const Key* FindKey(int nId);

    // The picture of resource nResource, for language 0 (Japanese) or 1
    // (English); a null pixmap for a number that is no key picture.
    static QPixmap Bitmap(int nResource, int nLanguage);
    // The same as an image (also without a display).
    static QImage Render(int nResource, int nLanguage);
};
