// Which keys the number fields (the entry editor's address fields, the hour
// and minute fields) pass on, and what the dialogs do with the others. The table is the one place where
// the Japanese keyboard's mode keys are named.
#pragma once

class QKeyEvent;

class CKeyFilter {
public:
    // Keys that may reach a number field: editing and moving keys, modifiers,
    // lock keys, digits (main row and keypad), the system and menu keys, and the
    // Japanese keyboard's mode keys.
    static bool IsPassedKey(const QKeyEvent& event);
    // Enter and Escape belong to the dialog, not to the field.
    static bool IsDialogKey(const QKeyEvent& event);
    // The address-book dialogs move the focus with the arrow keys: 1 to the
    // next control (Right, Down), -1 to the previous one (Left, Up), 0 for any
    // other key.
    static int FocusStep(const QKeyEvent& event);
    // Enter and Escape, which the address-book dialogs take without acting.
    static bool IsAcceptOrCancelKey(const QKeyEvent& event);
};
