#include "widgets/folderselectdlg.h"

#include "platform/prompter.h"

#include <QDir>
#include <QStandardPaths>

#include <algorithm>
#include <cstring>

namespace {

struct Special {
    int nCode;
    QStandardPaths::StandardLocation location;
};
constexpr Special SPECIAL_FOLDERS[] = {
    {CFolderSelectDlg::SF_DESKTOP, QStandardPaths::DesktopLocation},
    {CFolderSelectDlg::SF_DOCUMENTS, QStandardPaths::DocumentsLocation},
    {CFolderSelectDlg::SF_PICTURES, QStandardPaths::PicturesLocation},
    {CFolderSelectDlg::SF_PROFILE, QStandardPaths::HomeLocation},
};

} // namespace

CFolderSelectDlg::CFolderSelectDlg(int nFlags, const QString& strTitle, int nRootCode)
{
    Reset(nFlags, strTitle, nRootCode);
}

void CFolderSelectDlg::Reset(int nFlags, const QString& strTitle, int nRootCode)
{
    Clear();
    m_nFlags = nFlags;
    m_strTitle = strTitle.left(MAX_TEXT - 4);
    m_nRootCode = nRootCode;
}

void CFolderSelectDlg::Clear()
{
    m_nInitialCode = SF_DESKTOP;
    m_strInitialPath.clear();
    m_strResultPath.clear();
    m_strDisplayName.clear();
}

int CFolderSelectDlg::Browse()
{
    Clear();
    return Run();
}

int CFolderSelectDlg::BrowseFrom(const QString& strInitialPath)
{
    Clear();
    m_strInitialPath = strInitialPath.left(MAX_TEXT);
    return Run();
}

int CFolderSelectDlg::BrowseFromSpecial(int nInitialCode)
{
    Clear();
    m_nInitialCode = nInitialCode;
    return Run();
}

QString CFolderSelectDlg::SpecialFolderPath(int nCode)
{
    const auto* pEnd = std::end(SPECIAL_FOLDERS);
    const auto* p = std::find_if(std::begin(SPECIAL_FOLDERS), pEnd, [nCode](const Special& s) { return s.nCode == nCode; });
    return p == pEnd ? QString() : QStandardPaths::writableLocation(p->location);
}

int CFolderSelectDlg::Run()
{
    // The desktop, as a root or as a start, asks for nothing: the picker opens
    // at the initial path or where it likes.
    QString strStart = m_strInitialPath;
    for (const int nCode : {m_nInitialCode, m_nRootCode}) {
        if (nCode == SF_DESKTOP)
            continue;
        const QString strSpecial = SpecialFolderPath(nCode);
        if (strSpecial.isEmpty())
            return RESULT_NO_FOLDER;
        if (strStart.isEmpty())
            strStart = strSpecial;
    }
    const auto chosen = GetPrompter().ChooseFolder(m_strTitle.toStdString(), strStart.toStdString());
    if (!chosen || chosen->empty())
        return RESULT_CANCELLED;
    m_strResultPath = QString::fromStdString(*chosen).left(MAX_TEXT);
    m_strDisplayName = QDir(m_strResultPath).dirName();
    return RESULT_CHOSEN;
}

QString CFolderSelectDlg::GetResult(int nWhich) const
{
    return nWhich == WHICH_PATH ? m_strResultPath : m_strDisplayName;
}

int CFolderSelectDlg::GetResult(char* pBuffer, int nLength, int nWhich) const
{
    if (!pBuffer || nLength < 0)
        return 0;
    const QByteArray text = GetResult(nWhich).toUtf8();
    // Never a character cut in two.
    int nCopy = std::min<int>(static_cast<int>(text.size()), nLength);
    while (nCopy > 0 && nCopy < text.size() && (static_cast<unsigned char>(text[nCopy]) & 0xC0) == 0x80)
        --nCopy;
    std::memcpy(pBuffer, text.constData(), static_cast<std::size_t>(nCopy));
    pBuffer[nCopy] = '\0';
    return nCopy;
}
