// The single-instance guard: an advisory lock on a file of the user's runtime
// folder. The lock is held while the object lives, and released by the kernel
// when the process ends in any way.
#pragma once

#include <string>

class CInstanceLock {
public:
    CInstanceLock() = default;
    ~CInstanceLock();
    CInstanceLock(const CInstanceLock&) = delete;
    CInstanceLock& operator=(const CInstanceLock&) = delete;

    // The lock file for the given name: $XDG_RUNTIME_DIR/<name>-<uid>.lock, or
    // the same in /tmp when there is no runtime folder.
    static std::string DefaultPath(const std::string& strName);

    // Takes the lock on strPath. Returns true when this object now holds it,
    // false when another holder has it (or the file cannot be opened).
    bool Acquire(const std::string& strPath);
    void Release();
    bool IsHeld() const { return m_nFd >= 0; }

private:
    int m_nFd = -1;
};
