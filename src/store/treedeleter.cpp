#include "store/treedeleter.h"

#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr int FOLDER_OPEN_FLAGS = O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC;

bool IsDotOrDotDot(const char* pszName)
{
    return pszName[0] == '.' && (pszName[1] == '\0' || (pszName[1] == '.' && pszName[2] == '\0'));
}

// unlinkat that counts an entry already gone as removed.
bool RemoveAt(int nParentFd, const std::string& strName, int nFlags)
{
    return ::unlinkat(nParentFd, strName.c_str(), nFlags) == 0 || errno == ENOENT;
}

// Opens a folder entry of nParentFd for reading without following a link,
// giving it the owner's read and search rights when it lacks them. -1 with
// errno set on failure; ELOOP or ENOTDIR when the entry is no longer a folder.
int OpenFolderAt(int nParentFd, const std::string& strName, mode_t nMode)
{
    int nFd = ::openat(nParentFd, strName.c_str(), FOLDER_OPEN_FLAGS);
    if (nFd < 0 && errno == EACCES &&
        ::fchmodat(nParentFd, strName.c_str(), (nMode & 07777) | S_IRWXU, AT_SYMLINK_NOFOLLOW) == 0)
        nFd = ::openat(nParentFd, strName.c_str(), FOLDER_OPEN_FLAGS);
    return nFd;
}

// The names in an open folder, "." and ".." left out. They are read before any
// is removed, so the removals never disturb the enumeration.
std::vector<std::string> ReadNames(DIR* pDir)
{
    std::vector<std::string> names;
    while (const dirent* pEntry = ::readdir(pDir)) {
        if (!IsDotOrDotDot(pEntry->d_name))
            names.emplace_back(pEntry->d_name);
    }
    return names;
}

} // namespace

struct CTreeDeleter::Walk {
    dev_t nDevice = 0;
    std::vector<std::string> failed;

    // Removes entry strName of the folder open as nParentFd; false when it is
    // still there.
    bool RemoveEntry(int nParentFd, const std::string& strName, const std::string& strPath, int nDepth)
    {
        struct stat st {};
        if (::fstatat(nParentFd, strName.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0)
            return errno == ENOENT;
        if (S_ISDIR(st.st_mode))
            return RemoveFolder(nParentFd, strName, strPath, nDepth, st.st_mode);
        return RemoveAt(nParentFd, strName, 0);
    }

    bool Fail(const std::string& strPath)
    {
        failed.push_back(strPath);
        return false;
    }

    bool RemoveFolder(int nParentFd, const std::string& strName, const std::string& strPath, int nDepth,
                      mode_t nMode)
    {
        if (nDepth > MAX_DEPTH)
            return Fail(strPath);
        const int nFd = OpenFolderAt(nParentFd, strName, nMode);
        if (nFd < 0) {
            // Swapped for a link or a file since it was looked at: remove that.
            if ((errno == ELOOP || errno == ENOTDIR) && RemoveAt(nParentFd, strName, 0))
                return true;
            return errno == ENOENT || Fail(strPath);
        }
        struct stat st {};
        if (::fstat(nFd, &st) != 0 || st.st_dev != nDevice) {
            ::close(nFd);
            return Fail(strPath);
        }
        // Entries can only be removed from a folder the owner may write and search.
        if ((st.st_mode & S_IRWXU) != S_IRWXU)
            ::fchmod(nFd, (st.st_mode & 07777) | S_IRWXU);
        DIR* pDir = ::fdopendir(nFd);
        if (!pDir) {
            ::close(nFd);
            return Fail(strPath);
        }
        for (const std::string& strChild : ReadNames(pDir))
            RemoveEntry(::dirfd(pDir), strChild, strPath + "/" + strChild, nDepth + 1);
        ::closedir(pDir);
        if (RemoveAt(nParentFd, strName, AT_REMOVEDIR))
            return true;
        // A link put in its place meanwhile goes; the folder it replaced is
        // no longer in the event.
        if (errno == ENOTDIR && RemoveAt(nParentFd, strName, 0))
            return true;
        return Fail(strPath);
    }
};

std::vector<std::string> CTreeDeleter::DeleteTree(const std::string& strFolder)
{
    std::string strPath = strFolder;
    while (strPath.size() > 1 && strPath.back() == '/')
        strPath.pop_back();
    const std::size_t nSlash = strPath.find_last_of('/');
    const std::string strName = nSlash == std::string::npos ? strPath : strPath.substr(nSlash + 1);
    const std::string strParent =
        nSlash == std::string::npos ? std::string(".") : (nSlash == 0 ? std::string("/") : strPath.substr(0, nSlash));
    if (strName.empty() || IsDotOrDotDot(strName.c_str()))
        return {strFolder};

    // The folders above the event are the operator's path: links there are
    // followed, and nothing above the event is ever changed.
    const int nParentFd = ::open(strParent.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
    if (nParentFd < 0)
        return errno == ENOENT ? std::vector<std::string>{} : std::vector<std::string>{strPath};
    Walk walk;
    struct stat st {};
    if (::fstatat(nParentFd, strName.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0) {
        const bool bGone = errno == ENOENT;
        ::close(nParentFd);
        return bGone ? std::vector<std::string>{} : std::vector<std::string>{strPath};
    }
    if (S_ISLNK(st.st_mode)) {
        if (!RemoveAt(nParentFd, strName, 0))
            walk.failed.push_back(strPath);
    } else if (S_ISDIR(st.st_mode)) {
        walk.nDevice = st.st_dev;
        walk.RemoveFolder(nParentFd, strName, strPath, 0, st.st_mode);
    } else {
        // Not a folder: not an event's, and left as it is.
        walk.failed.push_back(strPath);
    }
    ::close(nParentFd);
    return walk.failed;
}
