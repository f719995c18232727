#include "store/picturestore.h"

#include "platform/fileutil.h"

#include <cerrno>
#include <sys/statvfs.h>

namespace {

std::string WithoutFinalSlashes(std::string strPath)
{
    while (!strPath.empty() && strPath.back() == '/')
        strPath.pop_back();
    return strPath;
}

// The folder that holds strPath ("/" for a top-level path, "." for a plain
// name); empty once there is nothing left to climb.
std::string ParentOf(const std::string& strPath)
{
    const std::string strTrimmed = WithoutFinalSlashes(strPath);
    if (strTrimmed.empty() || strTrimmed == ".")
        return std::string();
    const std::size_t nSlash = strTrimmed.find_last_of('/');
    if (nSlash == std::string::npos)
        return std::string(".");
    const std::string strParent = WithoutFinalSlashes(strTrimmed.substr(0, nSlash));
    return strParent.empty() ? std::string("/") : strParent;
}

// mkdir that counts a folder already there as made.
bool EnsureFolder(const std::string& strPath)
{
    return MakeDirectory(strPath) || (errno == EEXIST && IsDirectory(strPath));
}

} // namespace

CPictureStore::CPictureStore(std::string strEventFolder)
    : m_freeSpace(&CPictureStore::FreeSpace)
{
    if (!strEventFolder.empty())
        m_strPrefix = WithoutFinalSlashes(std::move(strEventFolder)) + "/";
}

std::string CPictureStore::PicturePath(const unsigned char* pInfo, std::size_t nInfoSize) const
{
    const auto stamp = CPictureStamp::FromInfo(pInfo, nInfoSize);
    if (!stamp || m_strPrefix.empty())
        return std::string();
    return m_strPrefix + stamp->RelativePath();
}

bool CPictureStore::MakeFolders(const CPictureStamp& stamp) const
{
    // Each level of "cc/yyyy_mm_dd/hh/mm/ss" in turn.
    const std::string strLevels = stamp.SecondFolderPath();
    std::size_t nEnd = 0;
    do {
        nEnd = strLevels.find('/', nEnd + 1);
        if (!EnsureFolder(m_strPrefix + strLevels.substr(0, nEnd)))
            return false;
    } while (nEnd != std::string::npos);
    return true;
}

CPictureStore::SaveResult CPictureStore::SavePicture(const unsigned char* pInfo, std::size_t nInfoSize,
                                                     const std::string& strSourcePath, bool bCheckSpace)
{
    const auto stamp = CPictureStamp::FromInfo(pInfo, nInfoSize);
    if (!stamp || m_strPrefix.empty())
        return SaveResult::Skipped;
    const auto bytes = ReadFileBytes(strSourcePath, MAX_PICTURE_BYTES);
    // An empty source holds no picture; an empty file would only stand in for one.
    if (!bytes || bytes->empty())
        return SaveResult::Skipped;
    if (bCheckSpace && !HasSpaceFor(bytes->size()))
        return SaveResult::DiskFull;
    if (!MakeFolders(*stamp))
        return SaveResult::WriteFailed;
    const std::string strPath = m_strPrefix + stamp->RelativePath();
    // The temporary name is the picture's name with a suffix after ".jpg", so
    // the store walk never takes it for a picture.
    if (!WriteFileAtomically(strPath, *bytes))
        return SaveResult::WriteFailed;
    m_strLastWritten = strPath;
    return SaveResult::Written;
}

bool CPictureStore::HasSpaceFor(std::uint64_t nSize) const
{
    const auto nFree = m_freeSpace ? m_freeSpace(m_strPrefix) : std::nullopt;
    return nFree && nSize < *nFree;
}

std::optional<std::uint64_t> CPictureStore::FreeSpace(const std::string& strPath)
{
    // A folder that does not exist yet will be made on its nearest existing
    // ancestor's file system. Each step removes one level, so this ends.
    for (std::string strTry = strPath.empty() ? std::string(".") : strPath; !strTry.empty();
         strTry = ParentOf(strTry)) {
        struct statvfs st {};
        if (::statvfs(strTry.c_str(), &st) == 0)
            return static_cast<std::uint64_t>(st.f_bavail) * static_cast<std::uint64_t>(st.f_frsize);
        if (errno != ENOENT && errno != ENOTDIR)
            return std::nullopt;
    }
    return std::nullopt;
}

bool CPictureStore::HasDiskSpace(std::uint64_t nSize, const std::string& strPath)
{
    const auto nFree = FreeSpace(strPath);
    return nFree && nSize < *nFree;
}
