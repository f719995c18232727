// The folder picker: a folder tree titled by the caller, opening at a folder,
// through the prompter (the program's shows a file dialog that only chooses
// folders and changes nothing on the disk). Lives for one browse.
//
// A run returns 1 when a folder was chosen, 2 when the operator cancelled
// (the results are then empty and the caller's field stays as it was), and -1
// when a special-folder code names no folder here.
#pragma once

#include <QString>

#include <string>

class CFolderSelectDlg {
public:
    enum { RESULT_CHOSEN = 1, RESULT_CANCELLED = 2, RESULT_NO_FOLDER = -1 };
    enum { WHICH_PATH = 1, WHICH_DISPLAY_NAME = 0 };
    static constexpr int MAX_TEXT = 260;

    // Special-folder codes as the Windows program passes them: 0 the desktop
    // (as a root: no restriction), 5 the documents, 39 the pictures, 40 the
    // home folder.
    enum SpecialFolder { SF_DESKTOP = 0, SF_DOCUMENTS = 5, SF_PICTURES = 39, SF_PROFILE = 40 };

    // nFlags: kept for the caller (1: only file-system folders can be
    // confirmed, which every folder here is). nRootCode: the folder the tree
    // opens at when no initial folder is given; 0 none.
    CFolderSelectDlg(int nFlags = 1, const QString& strTitle = QString(), int nRootCode = SF_DESKTOP);
    void Reset(int nFlags, const QString& strTitle, int nRootCode);

    int Browse();
    int BrowseFrom(const QString& strInitialPath);
    int BrowseFromSpecial(int nInitialCode);

    // WHICH_PATH: the full path chosen; otherwise its display name (the last
    // component).
    QString GetResult(int nWhich) const;
    // The same into a buffer of nLength characters plus the terminator; the
    // number copied, 0 for an empty text.
    int GetResult(char* pBuffer, int nLength, int nWhich) const;

    int GetFlags() const { return m_nFlags; }
    const QString& GetTitle() const { return m_strTitle; }

    // The folder a special-folder code stands for; empty when none.
    static QString SpecialFolderPath(int nCode);

private:
    void Clear();
    int Run();

    int m_nFlags = 1;
    int m_nRootCode = SF_DESKTOP;
    int m_nInitialCode = SF_DESKTOP;
    QString m_strTitle;
    QString m_strInitialPath;
    QString m_strResultPath;
    QString m_strDisplayName;
};
