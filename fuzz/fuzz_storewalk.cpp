// The store walk over a folder tree made from the fuzzer's bytes: date, hour,
// minute and second folders, pictures, stray files, odd names and symbolic
// links at any level. The walk must visit pictures in strictly ascending time
// order, never more often than they exist, and always end.
#include "fuzztempdir.h"

#include "store/storewalk.h"

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr std::size_t MAX_ENTRIES = 64;

class CBytes {
public:
    CBytes(const std::uint8_t* pData, std::size_t nSize) : m_pData(pData), m_nSize(nSize) {}
    bool Empty() const { return m_nPos >= m_nSize; }
    std::uint8_t Next() { return m_nPos < m_nSize ? m_pData[m_nPos++] : 0; }

private:
    const std::uint8_t* m_pData;
    std::size_t m_nSize;
    std::size_t m_nPos = 0;
};

std::string TwoDigits(int n)
{
    char sz[8];
    std::snprintf(sz, sizeof sz, "%02d", n % 100);
    return sz;
}

// A name, mostly of the shapes the store uses, sometimes anything.
std::string MakeName(CBytes& bytes)
{
    switch (bytes.Next() % 6) {
    case 0: return "2004_01_" + TwoDigits(bytes.Next() % 32);
    case 1:
    case 2: return TwoDigits(bytes.Next() % 64);
    case 3:
        return "200401" + TwoDigits(bytes.Next() % 32) + TwoDigits(bytes.Next() % 25) + TwoDigits(bytes.Next() % 61)
            + TwoDigits(bytes.Next() % 61) + TwoDigits(bytes.Next() % 4) + ".jpg";
    case 4: return TwoDigits(bytes.Next()) + ".jpg";
    default: {
        std::string strName;
        const int nLength = 1 + bytes.Next() % 12;
        for (int i = 0; i < nLength; ++i) {
            const char ch = static_cast<char>(0x21 + bytes.Next() % 0x5E);
            strName += ch == '/' ? '_' : ch;
        }
        return strName == "." || strName == ".." ? "x" : strName;
    }
    }
}

std::vector<std::string> BuildTree(const std::string& strCamera, CBytes& bytes)
{
    std::vector<std::string> folders {strCamera};
    while (!bytes.Empty() && folders.size() < MAX_ENTRIES) {
        const std::string& strParent = folders[bytes.Next() % folders.size()];
        const std::uint8_t byKind = bytes.Next();
        const std::string strPath = strParent + "/" + MakeName(bytes);
        switch (byKind % 4) {
        case 0:
        case 1:
            if (::mkdir(strPath.c_str(), 0700) == 0)
                folders.push_back(strPath);
            break;
        case 2: {
            if (FILE* pFile = std::fopen(strPath.c_str(), "wx"))
                std::fclose(pFile);
            break;
        }
        default:
            // A link to somewhere else in the tree, or to itself.
            [[maybe_unused]] const int nIgnored = ::symlink(folders[bytes.Next() % folders.size()].c_str(), strPath.c_str());
            break;
        }
    }
    return folders;
}

std::size_t CountPictures(const std::string& strCamera)
{
    std::size_t n = 0;
    std::error_code error;
    for (auto it = std::filesystem::recursive_directory_iterator(strCamera, error);
         !error && it != std::filesystem::recursive_directory_iterator(); it.increment(error)) {
        if (it->is_regular_file() && !it->is_symlink())
            ++n;
    }
    return n;
}

void Check(bool bHolds)
{
    if (!bHolds)
        __builtin_trap();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* pData, std::size_t nSize)
{
    const std::string strEvent = FuzzTempDir() + "event";
    std::error_code error;
    std::filesystem::remove_all(strEvent, error);
    const std::string strCamera = strEvent + "/03";
    std::filesystem::create_directories(strCamera, error);
    CBytes bytes(pData, nSize);
    const std::vector<std::string> folders = BuildTree(strCamera, bytes);
    const std::size_t nFiles = CountPictures(strCamera);

    CStoreWalk walk(strCamera);
    const std::vector<std::string> listed = walk.PicturesFrom(std::string(), 2 * MAX_ENTRIES);
    Check(listed.size() <= nFiles);
    for (std::size_t i = 1; i < listed.size(); ++i)
        Check(walk.PathKey(listed[i - 1]) < walk.PathKey(listed[i]));

    // Playback's way: picture after picture, ending.
    std::size_t nSteps = 0;
    std::string strPrevious;
    for (std::string strPicture = listed.empty() ? std::string() : listed.front(); !strPicture.empty();
         strPicture = walk.FollowingPicture(strPicture)) {
        Check(++nSteps <= nFiles);
        Check(strPrevious.empty() || walk.PathKey(strPrevious) < walk.PathKey(strPicture));
        strPrevious = strPicture;
    }
    Check(nSteps == listed.size());

    // From every folder, the next folders of its depth, ending.
    for (const std::string& strFolder : folders) {
        std::size_t nFolders = 0;
        for (std::string strNext = walk.NextFolder(strFolder); !strNext.empty(); strNext = walk.NextFolder(strNext))
            Check(++nFolders <= folders.size());
        walk.HasPicture(strFolder);
        walk.FirstPicture(strFolder);
    }
    return 0;
}
