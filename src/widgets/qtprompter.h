// The prompter of the program: shows the confirmation dialog and message boxes
// in front of the active window.
#pragma once

#include "platform/prompter.h"

class CQtPrompter : public CPrompter {
public:
    int Confirm(int nMode) override;
    int MessageBox(const std::string& strText, const std::string& strCaption,
                   MessageIcon icon, MessageButtons buttons) override;
    bool ChoosePrinter(PrintRequest& request) override;
    std::optional<std::string> ChooseFile(const FileRequest& request) override;
    // qtfolderpicker.cpp
    std::optional<std::string> ChooseFolder(const std::string& strTitle, const std::string& strStart) override;
};
