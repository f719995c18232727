#include "store/eventfolder.h"

namespace {

char LowerAscii(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

} // namespace

bool CEventFolder::SameName(const std::string& strA, const std::string& strB)
{
    if (strA.size() != strB.size())
        return false;
    for (std::size_t i = 0; i < strA.size(); ++i) {
        if (LowerAscii(strA[i]) != LowerAscii(strB[i]))
            return false;
    }
    return true;
}

std::string CEventFolder::SingleSeparators(const std::string& strPath)
{
    std::string strOut;
    strOut.reserve(strPath.size());
    for (char c : strPath) {
        if (c != '/' || strOut.empty() || strOut.back() != '/')
            strOut.push_back(c);
    }
    return strOut;
}

std::optional<CEventEntry> CEventFolder::Find(const CFileDBase::Entries& entries, const std::string& strName)
{
    if (strName.empty())
        return std::nullopt;
    for (const CEventEntry& entry : entries) {
        if (SameName(entry.strName, strName))
            return CEventEntry {entry.strName, SingleSeparators(entry.strPath)};
    }
    return std::nullopt;
}

bool CEventFolder::IsDeletable(const std::string& strFolder, const std::string& strName)
{
    std::string strPath = SingleSeparators(strFolder);
    while (strPath.size() > 1 && strPath.back() == '/')
        strPath.pop_back();
    if (strPath.size() < 2 || strPath.front() != '/' || strName.empty())
        return false;
    const std::string strLast = strPath.substr(strPath.rfind('/') + 1);
    return strLast != "." && strLast != ".." && SameName(strLast, strName);
}
