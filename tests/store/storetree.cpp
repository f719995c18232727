#include "storetree.h"

#include "fixtures/tempdir.h"

#include <algorithm>
#include <fcntl.h>
#include <filesystem>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <unistd.h>

namespace fs = std::filesystem;

void MakeFolders(const std::string& strPath)
{
    fs::create_directories(strPath);
}

void MakeFile(const std::string& strPath, const std::string& strBytes)
{
    fs::create_directories(fs::path(strPath).parent_path());
    WriteAll(strPath, strBytes);
}

std::vector<std::string> ListTree(const std::string& strRoot)
{
    std::vector<std::string> paths;
    fs::path root(strRoot);
    if (!root.has_filename())
        root = root.parent_path();
    std::error_code error;
    for (auto it = fs::recursive_directory_iterator(root, error); !error && it != fs::recursive_directory_iterator();
         it.increment(error))
        paths.push_back(it->path().lexically_relative(root).string());
    std::sort(paths.begin(), paths.end());
    return paths;
}

bool SetImmutable(const std::string& strFolder, bool bOn)
{
    const int nFd = ::open(strFolder.c_str(), O_RDONLY | O_DIRECTORY);
    if (nFd < 0)
        return false;
    int nFlags = 0;
    bool bOk = ::ioctl(nFd, FS_IOC_GETFLAGS, &nFlags) == 0;
    nFlags = bOn ? (nFlags | FS_IMMUTABLE_FL) : (nFlags & ~FS_IMMUTABLE_FL);
    bOk = bOk && ::ioctl(nFd, FS_IOC_SETFLAGS, &nFlags) == 0;
    ::close(nFd);
    return bOk;
}
