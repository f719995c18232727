#include "widgets/fileselectdlg.h"

#include "platform/fileutil.h"
#include "platform/prompter.h"
#include "platform/stringtable.h"

#include <algorithm>
#include <sys/stat.h>

namespace {

constexpr std::size_t MAX_EXT = 3;
constexpr std::size_t MAX_FILTER = 520;

bool IsRegularFile(const std::string& strPath)
{
    struct stat st {};
    return ::stat(strPath.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

std::string Folder(const std::string& strPath)
{
    const std::size_t n = strPath.rfind('/');
    return n == std::string::npos ? std::string() : strPath.substr(0, n + 1);
}

std::string FileName(const std::string& strPath)
{
    const std::size_t n = strPath.rfind('/');
    return n == std::string::npos ? strPath : strPath.substr(n + 1);
}

} // namespace

CFileSelectDlg::CFileSelectDlg(bool bOpen, std::string strInitialFolder, std::string strName,
                               std::string_view strFilter, std::string_view strDefaultExt)
    : m_bOpen(bOpen), m_strFolder(std::move(strInitialFolder)), m_strName(std::move(strName))
{
    for (const char ch : strDefaultExt) {
        if (ch != '.' && m_strDefaultExt.size() < MAX_EXT)
            m_strDefaultExt += ch;
    }
    ParseFilter(strFilter.substr(0, MAX_FILTER));
}

std::string CFileSelectDlg::FilterFromText(std::string_view strText)
{
    std::string strFilter(strText);
    std::replace(strFilter.begin(), strFilter.end(), '\x01', '\0');
    return strFilter;
}

void CFileSelectDlg::ParseFilter(std::string_view strFilter)
{
    std::vector<std::string> texts;
    std::size_t nStart = 0;
    while (nStart < strFilter.size()) {
        const std::size_t nEnd = std::min(strFilter.find('\0', nStart), strFilter.size());
        if (nEnd == nStart)
            break; // the empty text ends the list
        texts.emplace_back(strFilter.substr(nStart, nEnd - nStart));
        nStart = nEnd + 1;
    }
    for (std::size_t i = 0; i + 1 < texts.size(); i += 2) {
        const std::string& strLabel = texts[i];
        const std::string& strPattern = texts[i + 1];
        const bool bCarries = strLabel.find("(" + strPattern + ")") != std::string::npos;
        m_filters.push_back(bCarries ? strLabel : strLabel + " (" + strPattern + ")");
    }
    if (m_filters.empty())
        m_filters.push_back("All Files (*)");
}

std::string CFileSelectDlg::WithDefaultExt(const std::string& strPath) const
{
    if (m_strDefaultExt.empty() || FileName(strPath).find('.') != std::string::npos)
        return strPath;
    return strPath + "." + m_strDefaultExt;
}

int CFileSelectDlg::DoModal()
{
    CPrompter::FileRequest request;
    request.bSave = !m_bOpen;
    request.strFolder = m_strFolder;
    request.strName = m_strName;
    request.filters = m_filters;
    for (;;) {
        const std::optional<std::string> chosen = GetPrompter().ChooseFile(request);
        if (!chosen || chosen->empty())
            return 0;
        const std::string strPath = m_bOpen ? *chosen : WithDefaultExt(*chosen);
        if (m_bOpen) {
            if (IsRegularFile(strPath)) {
                m_strPath = strPath;
                return 1;
            }
        } else {
            if (!PathExists(strPath)) {
                m_strPath = strPath;
                return 1;
            }
            const std::string strText = strPath + " " + std::string(CStringTable::Load(IDS_REPLACE));
            const int nAnswer = GetPrompter().MessageBox(strText, std::string(CStringTable::Load(IDS_SAVE_AS)),
                                                         MessageIcon::Warning, MessageButtons::YesNo);
            if (nAnswer == IDYES) {
                m_strPath = strPath;
                return 1;
            }
        }
        // Again, where the operator was.
        request.strFolder = Folder(strPath);
        request.strName = FileName(strPath);
    }
}
