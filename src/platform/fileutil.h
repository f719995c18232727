// Small file-system helpers on POSIX calls. Paths use '/'.
#pragma once

#include <cstddef>
#include <optional>
#include <string>

// Writes all nLength bytes to an open file, going on after short writes and
// interruptions. False on any other failure.
bool WriteAll(int nFd, const void* pData, std::size_t nLength);

// Reads at most nLimit bytes of a regular file; nullopt when it cannot be read.
std::optional<std::string> ReadFileBytes(const std::string& strPath, std::size_t nLimit);

// Replaces strPath with strBytes atomically: the bytes go to a temporary file in
// the same folder, are flushed to disk, and the file is renamed over strPath. On
// any failure the old file is untouched and the temporary file is removed.
bool WriteFileAtomically(const std::string& strPath, const std::string& strBytes);

bool IsDirectory(const std::string& strPath);
bool PathExists(const std::string& strPath);

// Creates one folder (the last level only). True when it was created.
bool MakeDirectory(const std::string& strPath);
