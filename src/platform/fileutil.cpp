#include "platform/fileutil.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

bool WriteAll(int nFd, const void* pData, std::size_t n)
{
    const auto* p = static_cast<const char*>(pData);
    while (n > 0) {
        ssize_t nDone = ::write(nFd, p, n);
        if (nDone < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        p += nDone;
        n -= static_cast<std::size_t>(nDone);
    }
    return true;
}

std::optional<std::string> ReadFileBytes(const std::string& strPath, std::size_t nLimit)
{
    int nFd = ::open(strPath.c_str(), O_RDONLY | O_CLOEXEC);
    if (nFd < 0)
        return std::nullopt;
    struct stat st {};
    if (::fstat(nFd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(nFd);
        return std::nullopt;
    }
    std::string strOut;
    std::vector<char> buf(65536);
    while (strOut.size() < nLimit) {
        std::size_t nWant = std::min(buf.size(), nLimit - strOut.size());
        ssize_t nRead = ::read(nFd, buf.data(), nWant);
        if (nRead < 0) {
            if (errno == EINTR)
                continue;
            ::close(nFd);
            return std::nullopt;
        }
        if (nRead == 0)
            break;
        strOut.append(buf.data(), static_cast<std::size_t>(nRead));
    }
    ::close(nFd);
    return strOut;
}

bool WriteFileAtomically(const std::string& strPath, const std::string& strBytes)
{
    std::string strTemp = strPath + ".XXXXXX";
    std::vector<char> name(strTemp.begin(), strTemp.end());
    name.push_back('\0');
    int nFd = ::mkstemp(name.data());
    if (nFd < 0)
        return false;
    bool bOk = WriteAll(nFd, strBytes.data(), strBytes.size()) && ::fsync(nFd) == 0;
    // mkstemp makes the file 0600; give it the usual permissions of a user file.
    bOk = bOk && ::fchmod(nFd, 0644) == 0;
    bOk = (::close(nFd) == 0) && bOk;
    if (bOk && ::rename(name.data(), strPath.c_str()) == 0)
        return true;
    ::unlink(name.data());
    return false;
}

bool IsDirectory(const std::string& strPath)
{
    struct stat st {};
    return ::stat(strPath.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool PathExists(const std::string& strPath)
{
    struct stat st {};
    return ::lstat(strPath.c_str(), &st) == 0;
}

bool MakeDirectory(const std::string& strPath)
{
    return ::mkdir(strPath.c_str(), 0755) == 0;
}
