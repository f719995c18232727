// The prompter of the program: shows the confirmation dialog and message boxes
// in front of the active window.
#pragma once

#include "platform/prompter.h"

class CQtPrompter : public CPrompter {
public:
    int Confirm(int nMode) override;
    int MessageBox(const std::string& strText, const std::string& strCaption,
                   MessageIcon icon, MessageButtons buttons) override;
    // qtfolderpicker.cpp
    std::optional<std::string> ChooseFolder(const std::string& strTitle, const std::string& strStart) override;
};
