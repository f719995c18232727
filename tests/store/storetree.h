// Builds small picture stores in a test's temporary folder.
#pragma once

#include <string>
#include <vector>

// Makes a folder with every missing level above it.
void MakeFolders(const std::string& strPath);
// Writes a file, making the folders above it.
void MakeFile(const std::string& strPath, const std::string& strBytes = "jpeg");
// Every entry below strRoot as a path relative to it ("a", "a/b"), sorted;
// symbolic links are listed, not followed.
std::vector<std::string> ListTree(const std::string& strRoot);
// Sets or clears the immutable attribute of a folder: nothing, not even root,
// may then add or remove its entries. False where the file system or the
// user's rights do not allow it.
bool SetImmutable(const std::string& strFolder, bool bOn);
