// A temporary folder of its own, removed with everything in it when the object
// dies: a program folder for test.jpg in the tools, the benchmark and tests.
#pragma once

#include <string>

class CScratchDir {
public:
    // A new folder "<prefix>.XXXXXX" in the temporary folder ($TMPDIR, else /tmp).
    explicit CScratchDir(const std::string& strPrefix = "vx2200");
    ~CScratchDir();
    CScratchDir(const CScratchDir&) = delete;
    CScratchDir& operator=(const CScratchDir&) = delete;

    // The folder, ending with '/'; empty when it could not be made.
    const std::string& Path() const { return m_strPath; }

private:
    std::string m_strPath;
};
