#include "fuzztempdir.h"

#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

struct CDir {
    std::string strPath;
    CDir()
    {
        const char* pszBase = ::access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
        std::string strTemplate = std::string(pszBase) + "/vx2200fuzz.XXXXXX";
        std::vector<char> name(strTemplate.begin(), strTemplate.end());
        name.push_back('\0');
        if (!::mkdtemp(name.data()))
            __builtin_trap();
        strPath = std::string(name.data()) + "/";
    }
    ~CDir()
    {
        std::error_code error;
        std::filesystem::remove_all(strPath, error);
    }
};

} // namespace

const std::string& FuzzTempDir()
{
    static CDir dir;
    return dir.strPath;
}

void FuzzWriteFile(const std::string& strPath, const std::string& strBytes)
{
    const int fd = ::open(strPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (fd < 0)
        __builtin_trap();
    std::size_t nDone = 0;
    while (nDone < strBytes.size()) {
        const ssize_t n = ::write(fd, strBytes.data() + nDone, strBytes.size() - nDone);
        if (n <= 0)
            __builtin_trap();
        nDone += static_cast<std::size_t>(n);
    }
    ::close(fd);
}
