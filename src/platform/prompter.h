// Every modal question, notice and message box of the program goes through one
// prompter. The program installs one that shows real dialogs; tests install a
// scripted one that records what was asked and answers from a script.
#pragma once

#include <optional>
#include <string>
#include <vector>

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

    // What a file dialog asks the operator for.
    struct FileRequest {
        bool bSave = false;             // a save dialog, else an open dialog
        std::string strTitle;
        std::string strFolder;          // where it opens
        std::string strName;            // the name it proposes
        std::vector<std::string> filters; // "Setting Files (*.vxs)", ...
    };
    // The file dialog: the full path chosen, or nothing when cancelled.
    virtual std::optional<std::string> ChooseFile(const FileRequest&) { return std::nullopt; }

    // The folder picker, titled strTitle, opening at strStart: the folder
    // chosen, or nothing when cancelled.
    virtual std::optional<std::string> ChooseFolder(const std::string& /*strTitle*/, const std::string& /*strStart*/)
    {
        return std::nullopt;
    }

    // Where printed pages go, as the print dialog leaves it.
    struct PrintRequest {
        std::string strDocument;   // the document name
        std::string strPrinter;    // the printer chosen; empty with an output file
        std::string strOutputFile; // a PDF file to print into, else empty
        int nResolution = 0;       // dots per inch; 0 for the printer's own
        int nPageSize = -1;        // the paper, as Qt numbers page sizes; -1 for the printer's own
        bool bLandscape = false;
        int nCopies = 1;
    };
    // The print dialog: false when cancelled.
    virtual bool ChoosePrinter(PrintRequest&) { return false; }
};

// The prompter in use. Until one is installed, a silent one answers no (0,
// IDCANCEL or IDNO, no file, folder or printer) to everything, which is what a program without an operator
// wants: a lost link is not reconnected, nothing is overwritten.
CPrompter& GetPrompter();

// Installs pPrompter (not owned; nullptr restores the silent one) and returns
// the one installed before.
CPrompter* SetPrompter(CPrompter* pPrompter);
