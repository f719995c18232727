#include "store/storewalk.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

namespace {

constexpr int PICTURE_LEVEL = CStoreWalk::SECOND_DEPTH + 1;

// The shape of a name at each level: 'd' stands for a digit, anything else for
// itself.
constexpr std::array<const char*, PICTURE_LEVEL + 1> LEVEL_SHAPE{
    "dd",                    // camera, in the event folder
    "dddd_dd_dd",            // date
    "dd",                    // hour
    "dd",                    // minute
    "dd",                    // second
    "dddddddddddddddd.jpg",  // picture: date, time and frame number
};

bool HasShape(const std::string& strName, int nLevel)
{
    const std::string_view shape = LEVEL_SHAPE[static_cast<std::size_t>(nLevel)];
    if (strName.size() != shape.size())
        return false;
    for (std::size_t i = 0; i < shape.size(); ++i) {
        const bool bDigit = strName[i] >= '0' && strName[i] <= '9';
        if (shape[i] == 'd' ? !bDigit : strName[i] != shape[i])
            return false;
    }
    return true;
}

// Runs of '/' made one and a final '/' dropped ("/" stays "/").
std::string Normalise(const std::string& strPath)
{
    std::string strOut;
    strOut.reserve(strPath.size());
    for (char c : strPath) {
        if (c != '/' || strOut.empty() || strOut.back() != '/')
            strOut.push_back(c);
    }
    if (strOut.size() > 1 && strOut.back() == '/')
        strOut.pop_back();
    return strOut;
}

std::string Join(const std::string& strFolder, const std::string& strName)
{
    return strFolder.empty() || strFolder.back() == '/' ? strFolder + strName : strFolder + "/" + strName;
}

enum class EntryKind { Folder, File, Other };

// What a folder entry is, without following a symbolic link.
EntryKind KindOf(DIR* pDir, const dirent* pEntry)
{
    unsigned char nType = pEntry->d_type;
    if (nType == DT_UNKNOWN) {
        struct stat st {};
        if (::fstatat(::dirfd(pDir), pEntry->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0)
            return EntryKind::Other;
        nType = S_ISDIR(st.st_mode) ? DT_DIR : (S_ISREG(st.st_mode) ? DT_REG : DT_LNK);
    }
    return nType == DT_DIR ? EntryKind::Folder : (nType == DT_REG ? EntryKind::File : EntryKind::Other);
}

} // namespace

CStoreWalk::CStoreWalk(const std::string& strCameraFolder)
{
    SetCameraFolder(strCameraFolder);
}

void CStoreWalk::SetCameraFolder(const std::string& strCameraFolder)
{
    m_strCameraFolder = Normalise(strCameraFolder);
}

std::string CStoreWalk::TimeKey(int nYear, int nMonth, int nDay, int nHour, int nMinute, int nSecond)
{
    std::array<char, 64> text{};
    std::snprintf(text.data(), text.size(), "%04d_%02d_%02d%02d%02d%02d", nYear, nMonth, nDay, nHour, nMinute,
                  nSecond);
    return text.data();
}

std::optional<CStoreWalk::Names> CStoreWalk::Components(const std::string& strPath) const
{
    if (m_strCameraFolder.empty())
        return std::nullopt;
    const std::string strNormal = Normalise(strPath);
    if (strNormal.compare(0, m_strCameraFolder.size(), m_strCameraFolder) != 0)
        return std::nullopt;
    std::string_view rest = std::string_view(strNormal).substr(m_strCameraFolder.size());
    if (rest.empty())
        return Names{};
    // Only a whole component matches: "/e/03" holds "/e/03/x", not "/e/031".
    if (rest.front() != '/' && m_strCameraFolder != "/")
        return std::nullopt;
    Names components;
    while (!rest.empty()) {
        if (rest.front() == '/')
            rest.remove_prefix(1);
        const std::size_t nEnd = std::min(rest.find('/'), rest.size());
        components.emplace_back(rest.substr(0, nEnd));
        rest.remove_prefix(nEnd);
    }
    return components;
}

std::string CStoreWalk::FolderOf(const Names& components, std::size_t nCount) const
{
    std::string strFolder = m_strCameraFolder;
    for (std::size_t i = 0; i < nCount && i < components.size(); ++i)
        strFolder = Join(strFolder, components[i]);
    return strFolder;
}

std::string CStoreWalk::PathKey(const std::string& strPath) const
{
    const auto components = Components(strPath);
    std::string strKey;
    if (components) {
        for (const std::string& strPart : *components)
            strKey += strPart;
    }
    return strKey;
}

CStoreWalk::Names CStoreWalk::ReadLevel(const std::string& strFolder, int nLevel)
{
    ++m_nFolderReads;
    Names names;
    DIR* pDir = ::opendir(strFolder.c_str());
    if (!pDir)
        return names;
    const EntryKind wanted = nLevel == PICTURE_LEVEL ? EntryKind::File : EntryKind::Folder;
    while (const dirent* pEntry = ::readdir(pDir)) {
        const std::string strName = pEntry->d_name;
        // "." and ".." never have the shape of a level.
        if (HasShape(strName, nLevel) && KindOf(pDir, pEntry) == wanted)
            names.push_back(strName);
    }
    ::closedir(pDir);
    std::sort(names.begin(), names.end());
    return names;
}

std::string CStoreWalk::FirstPicture(const std::string& strFolder)
{
    const Names pictures = ReadLevel(strFolder, PICTURE_LEVEL);
    return pictures.empty() ? std::string() : Join(strFolder, pictures.front());
}

std::string CStoreWalk::NextPicture(const std::string& strFolder, const std::string& strCurrent)
{
    const auto folder = Components(strFolder);
    const auto current = Components(strCurrent);
    if (!folder || !current || current->empty())
        return std::string();
    const std::string strFolderKey = PathKey(strFolder);
    const std::string strCurrentKey = PathKey(strCurrent);
    for (const std::string& strName : ReadLevel(strFolder, PICTURE_LEVEL)) {
        if (strFolderKey + strName > strCurrentKey)
            return Join(strFolder, strName);
    }
    return std::string();
}

std::string CStoreWalk::FirstDescendant(const std::string& strFolder, int nLevel, int nDepth)
{
    if (nLevel >= nDepth)
        return strFolder;
    for (const std::string& strName : ReadLevel(strFolder, nLevel + 1)) {
        std::string strFound = FirstDescendant(Join(strFolder, strName), nLevel + 1, nDepth);
        if (!strFound.empty())
            return strFound;
    }
    return std::string();
}

std::string CStoreWalk::NextFolder(const std::string& strStart)
{
    const auto start = Components(strStart);
    if (!start || start->empty() || start->size() > static_cast<std::size_t>(SECOND_DEPTH))
        return std::string();
    const int nDepth = static_cast<int>(start->size());
    // Climb one level at a time; at each, the siblings after the current
    // folder, in order, down to the depth of the start.
    for (int nLevel = nDepth; nLevel >= 1; --nLevel) {
        const std::string strParent = FolderOf(*start, static_cast<std::size_t>(nLevel - 1));
        const std::string& strCurrent = (*start)[static_cast<std::size_t>(nLevel - 1)];
        for (const std::string& strName : ReadLevel(strParent, nLevel)) {
            if (strName <= strCurrent)
                continue;
            std::string strFound = FirstDescendant(Join(strParent, strName), nLevel, nDepth);
            if (!strFound.empty())
                return strFound;
        }
    }
    return std::string();
}

bool CStoreWalk::HasPicture(const std::string& strFolder)
{
    const std::string strPicture = FirstPicture(strFolder);
    struct stat st {};
    return !strPicture.empty() && ::stat(strPicture.c_str(), &st) == 0;
}

std::string CStoreWalk::FindFrom(const std::string& strFolder, int nLevel, const Names& target)
{
    const std::string& strTarget = target[static_cast<std::size_t>(nLevel - 1)];
    for (const std::string& strName : ReadLevel(strFolder, nLevel)) {
        if (strName < strTarget)
            continue;
        const std::string strPath = Join(strFolder, strName);
        // Equal so far: the levels below must still reach the target; past it,
        // the first second folder of this branch is the answer.
        std::string strFound = strName == strTarget
                                   ? (nLevel == SECOND_DEPTH ? strPath : FindFrom(strPath, nLevel + 1, target))
                                   : FirstDescendant(strPath, nLevel, SECOND_DEPTH);
        if (!strFound.empty())
            return strFound;
    }
    return std::string();
}

std::string CStoreWalk::StartFolder(const std::string& strTimeKey)
{
    if (m_strCameraFolder.empty())
        return std::string();
    if (strTimeKey.empty())
        return FirstDescendant(m_strCameraFolder, 0, SECOND_DEPTH);
    if (strTimeKey.size() != TIME_KEY_SIZE)
        return std::string();
    const Names target{strTimeKey.substr(0, 10), strTimeKey.substr(10, 2), strTimeKey.substr(12, 2),
                       strTimeKey.substr(14, 2)};
    return FindFrom(m_strCameraFolder, 1, target);
}

std::string CStoreWalk::FollowingPicture(const std::string& strPicture)
{
    const auto components = Components(strPicture);
    if (!components || components->size() != static_cast<std::size_t>(PICTURE_LEVEL))
        return std::string();
    const std::string strFolder = FolderOf(*components, SECOND_DEPTH);
    std::string strNext = NextPicture(strFolder, strPicture);
    // Each NextFolder lies strictly later than the one before, so this ends.
    for (std::string strNextFolder = strFolder; strNext.empty();) {
        strNextFolder = NextFolder(strNextFolder);
        if (strNextFolder.empty())
            break;
        strNext = FirstPicture(strNextFolder);
    }
    return strNext;
}

std::vector<std::string> CStoreWalk::PicturesFrom(const std::string& strTimeKey, std::size_t nMax)
{
    std::vector<std::string> pictures;
    VisitPicturesFrom(strTimeKey, nMax, [&pictures](const std::string& strPicture) {
        pictures.push_back(strPicture);
        return true;
    });
    return pictures;
}

std::size_t CStoreWalk::VisitPicturesFrom(const std::string& strTimeKey, std::size_t nMax,
                                          const std::function<bool(const std::string&)>& fnVisit)
{
    std::size_t nVisited = 0;
    if (nMax == 0)
        return nVisited;
    for (std::string strFolder = StartFolder(strTimeKey); !strFolder.empty(); strFolder = NextFolder(strFolder)) {
        for (const std::string& strName : ReadLevel(strFolder, PICTURE_LEVEL)) {
            ++nVisited;
            if (!fnVisit(Join(strFolder, strName)) || nVisited >= nMax)
                return nVisited;
        }
    }
    return nVisited;
}

std::vector<std::string> CStoreWalk::LevelNames(const std::string& strFolder, int nLevel)
{
    if (nLevel < 0 || nLevel > PICTURE_LEVEL)
        return {};
    return ReadLevel(strFolder, nLevel);
}
