// Every modal question, notice and message box of the program goes through one
// prompter. The program installs one that shows real dialogs; tests install a
// scripted one that records what was asked and answers from a script.
#pragma once

#include <string>

enum class MessageIcon { None, Error, Warning, Information, Question };
enum class MessageButtons { Ok, YesNo, OkCancel };

// Answers of MessageBox, numbered like the platform's dialog results.
enum MessageResult { IDOK = 1, IDCANCEL = 2, IDYES = 6, IDNO = 7 };

class CPrompter {
public:
    virtual ~CPrompter() = default;

    // The confirmation dialog in the given mode: 1 for yes (or the only button
    // of a notice), 0 for no.
    virtual int Confirm(int nMode) = 0;

    // A plain message box; returns one of MessageResult.
    virtual int MessageBox(const std::string& strText, const std::string& strCaption,
                           MessageIcon icon, MessageButtons buttons) = 0;
};

// The prompter in use. Until one is installed, a silent one answers no (0,
// IDCANCEL or IDNO) to everything, which is what a program without an operator
// wants: a lost link is not reconnected, nothing is overwritten.
CPrompter& GetPrompter();

// Installs pPrompter (not owned; nullptr restores the silent one) and returns
// the one installed before.
CPrompter* SetPrompter(CPrompter* pPrompter);
