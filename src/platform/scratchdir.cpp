#include "platform/scratchdir.h"

#include <cstdlib>
#include <filesystem>

CScratchDir::CScratchDir(const std::string& strPrefix)
{
    std::error_code error;
    const std::filesystem::path base = std::filesystem::temp_directory_path(error);
    std::string strTemplate = ((error ? std::filesystem::path("/tmp") : base) / (strPrefix + ".XXXXXX")).string();
    if (::mkdtemp(strTemplate.data()))
        m_strPath = strTemplate + "/";
}

CScratchDir::~CScratchDir()
{
    if (m_strPath.empty())
        return;
    std::error_code error;
    // Folders a test or a tool made read-only are made removable first.
    for (auto it = std::filesystem::recursive_directory_iterator(m_strPath, error);
         !error && it != std::filesystem::recursive_directory_iterator(); it.increment(error)) {
        if (it->is_directory(error) && !it->is_symlink(error))
            std::filesystem::permissions(it->path(), std::filesystem::perms::owner_all,
                                         std::filesystem::perm_options::add, error);
    }
    std::filesystem::permissions(m_strPath, std::filesystem::perms::owner_all, std::filesystem::perm_options::add,
                                 error);
    std::filesystem::remove_all(m_strPath, error);
}
