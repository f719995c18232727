// A folder of the fuzz target's own for the files it reads, made once per
// process in /dev/shm when there is one (no disk writes per run), else in /tmp.
#pragma once

#include <string>

const std::string& FuzzTempDir();
// Writes strBytes to strPath whole (replacing it); traps when it cannot.
void FuzzWriteFile(const std::string& strPath, const std::string& strBytes);
