// Which keys the number fields of the entry editor pass on. The table is the
// one place where the Japanese keyboard's mode keys are named.
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
};
