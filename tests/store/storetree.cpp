#include "storetree.h"

#include "fixtures/tempdir.h"

#include <algorithm>
#include <filesystem>

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
