#include "widgets/keyfilter.h"

#include <QKeyEvent>

#include <algorithm>
#include <iterator>

namespace {

// Backspace, Shift, Ctrl, Alt and AltGr (the menu keys), Caps Lock, the
// arrows, Delete, the system and menu keys, Num Lock, Scroll Lock.
constexpr int kEditingKeys[] = {
    Qt::Key_Backspace, Qt::Key_Shift, Qt::Key_Control, Qt::Key_Alt, Qt::Key_AltGr, Qt::Key_CapsLock,
    Qt::Key_Left, Qt::Key_Right, Qt::Key_Up, Qt::Key_Down, Qt::Key_Delete,
    Qt::Key_Meta, Qt::Key_Super_L, Qt::Key_Super_R, Qt::Key_Menu,
    Qt::Key_NumLock, Qt::Key_ScrollLock,
};

// The Japanese keyboard's mode keys: Eisu (alphanumeric), Katakana/Hiragana and
// Hankaku/Zenkaku, with the separate keys some layouts give them.
constexpr int kJapaneseModeKeys[] = {
    Qt::Key_Eisu_toggle, Qt::Key_Eisu_Shift,
    Qt::Key_Hiragana_Katakana, Qt::Key_Hiragana, Qt::Key_Katakana,
    Qt::Key_Zenkaku_Hankaku, Qt::Key_Zenkaku, Qt::Key_Hankaku,
};

bool Contains(const int* pBegin, const int* pEnd, int nKey)
{
    return std::find(pBegin, pEnd, nKey) != pEnd;
}

} // namespace

bool CKeyFilter::IsPassedKey(const QKeyEvent& event)
{
    const int nKey = event.key();
    if (nKey >= Qt::Key_0 && nKey <= Qt::Key_9)
        return true;
    return Contains(std::begin(kEditingKeys), std::end(kEditingKeys), nKey)
        || Contains(std::begin(kJapaneseModeKeys), std::end(kJapaneseModeKeys), nKey);
}

bool CKeyFilter::IsDialogKey(const QKeyEvent& event)
{
    const int nKey = event.key();
    return IsAcceptOrCancelKey(event) || nKey == Qt::Key_Tab || nKey == Qt::Key_Backtab;
}

int CKeyFilter::FocusStep(const QKeyEvent& event)
{
    switch (event.key()) {
    case Qt::Key_Right:
    case Qt::Key_Down:
        return 1;
    case Qt::Key_Left:
    case Qt::Key_Up:
        return -1;
    default:
        return 0;
    }
}

bool CKeyFilter::IsAcceptOrCancelKey(const QKeyEvent& event)
{
    const int nKey = event.key();
    return nKey == Qt::Key_Return || nKey == Qt::Key_Enter || nKey == Qt::Key_Escape;
}
