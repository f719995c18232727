// The program's file dialog: an open or a save dialog through the prompter (in
// the program a locked file dialog in which the operator can only choose a
// file, see CLockedFileDialog). The filter is the Windows form: pairs of
// zero-terminated texts (label, pattern) ended by an empty text. Open mode asks
// again while the chosen name is no existing file; save mode asks whether to
// replace an existing file ("<path> already exists. Do you want to replace
// it?", captioned "Save as"), and No asks again with the same folder and name.
// A name typed without an extension gets the default extension.
#pragma once

#include <string>
#include <string_view>
#include <vector>

class CFileSelectDlg {
public:
    static constexpr int IDS_REPLACE = 325;
    static constexpr int IDS_SAVE_AS = 326;

    // strFilter holds the filter bytes including the final terminator; empty
    // stands for "All Files". strDefaultExt loses its dots and is cut to three
    // characters.
    CFileSelectDlg(bool bOpen, std::string strInitialFolder, std::string strName, std::string_view strFilter,
                   std::string_view strDefaultExt);

    // 1 for a chosen file, 0 for cancel.
    int DoModal();
    const std::string& GetPathName() const { return m_strPath; }

    // The dialog's filter entries, "VXS files (*.vxs)": each label with its
    // pattern in brackets unless the label carries it already.
    const std::vector<std::string>& GetFilters() const { return m_filters; }
    const std::string& GetDefaultExt() const { return m_strDefaultExt; }

    // Turns a text whose entries are separated by 0x01 into the filter bytes.
    static std::string FilterFromText(std::string_view strText);

private:
    void ParseFilter(std::string_view strFilter);
    std::string WithDefaultExt(const std::string& strPath) const;

    bool m_bOpen;
    std::string m_strFolder;
    std::string m_strName;
    std::string m_strDefaultExt;
    std::vector<std::string> m_filters;
    std::string m_strPath;
};
