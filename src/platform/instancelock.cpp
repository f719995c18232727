#include "platform/instancelock.h"

#include <cstdlib>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

CInstanceLock::~CInstanceLock()
{
    Release();
}

std::string CInstanceLock::DefaultPath(const std::string& strName)
{
    std::string strDir;
    const char* pszRuntime = std::getenv("XDG_RUNTIME_DIR");
    struct stat st {};
    if (pszRuntime && *pszRuntime && ::stat(pszRuntime, &st) == 0 && S_ISDIR(st.st_mode))
        strDir = pszRuntime;
    else
        strDir = "/tmp";
    if (strDir.back() != '/')
        strDir += '/';
    return strDir + strName + "-" + std::to_string(::getuid()) + ".lock";
}

bool CInstanceLock::Acquire(const std::string& strPath)
{
    Release();
    // O_NOFOLLOW: a link planted in a shared folder is never followed.
    int nFd = ::open(strPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (nFd < 0)
        return false;
    if (::flock(nFd, LOCK_EX | LOCK_NB) != 0) {
        ::close(nFd);
        return false;
    }
    m_nFd = nFd;
    return true;
}

void CInstanceLock::Release()
{
    if (m_nFd >= 0) {
        ::flock(m_nFd, LOCK_UN);
        ::close(m_nFd);
        m_nFd = -1;
    }
}
