// Walks the pictures of one camera folder of an event in time order, without
// any index: the folder tree the picture store writes is
//   <camera>/yyyy_mm_dd/hh/mm/ss/yyyymmddhhmmssff.jpg
// Every level has a fixed width, so the names read in ascending byte order are
// in time order. Each step re-reads the folders it needs; nothing is cached.
//
// Paths are full paths; a run of '/' counts as one separator. Only entries of
// the expected shape count at each level: folders named like a date, an hour,
// a minute or a second above the pictures, regular files named like a picture
// in a second folder. Anything else (a stray file, a folder of another name, a
// symbolic link, a temporary file of a picture being written) is passed over
// and never ends a walk. "None" is an empty path.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

class CStoreWalk {
public:
    static constexpr int SECOND_DEPTH = 4; // date, hour, minute, second
    static constexpr std::size_t TIME_KEY_SIZE = 16; // "yyyy_mm_ddhhmmss"

    explicit CStoreWalk(const std::string& strCameraFolder = std::string());

    // The camera folder every path below lies in; a final '/' is optional.
    void SetCameraFolder(const std::string& strCameraFolder);
    const std::string& CameraFolder() const { return m_strCameraFolder; }

    // The characters of the path after the camera folder without the '/'s:
    // "2004_01_05134520" for a second folder, followed by the file name for a
    // picture. Empty for a path that does not lie in the camera folder.
    std::string PathKey(const std::string& strPath) const;
    // The key of a second folder: "%04d_%02d_%02d%02d%02d%02d".
    static std::string TimeKey(int nYear, int nMonth, int nDay, int nHour, int nMinute, int nSecond);

    // The first picture of a folder, in name order.
    std::string FirstPicture(const std::string& strFolder);
    // The picture of strFolder that follows strCurrent in name order (the first
    // one after its name when it has gone meanwhile).
    std::string NextPicture(const std::string& strFolder, const std::string& strCurrent);
    // The next folder of the same depth (1 date .. 4 second) in time order;
    // branches that hold no folder of that depth are passed over.
    std::string NextFolder(const std::string& strStart);
    // Whether FirstPicture finds a picture that exists.
    bool HasPicture(const std::string& strFolder);

    // The first second folder whose key is at or after strTimeKey (an empty key
    // is the very first one).
    std::string StartFolder(const std::string& strTimeKey);
    // The picture after strPicture in walk order, across second, minute, hour
    // and date folders; second folders without pictures are passed over.
    std::string FollowingPicture(const std::string& strPicture);
    // The pictures from strTimeKey on, in walk order, at most nMax of them: a
    // large event yields its first nMax without the rest being read.
    std::vector<std::string> PicturesFrom(const std::string& strTimeKey, std::size_t nMax);
    // The same walk, handing each picture to fnVisit as it is found, until
    // nMax have been handed or fnVisit returns false; returns how many were.
    std::size_t VisitPicturesFrom(const std::string& strTimeKey, std::size_t nMax,
                                  const std::function<bool(const std::string&)>& fnVisit);

    // The names of a folder's entries that belong at nLevel, sorted: the
    // camera folders of an event folder (0: two digits), the date, hour,
    // minute or second folders (1..4) or the pictures (5) the walk visits
    // there. One enumeration; nothing for another level.
    std::vector<std::string> LevelNames(const std::string& strFolder, int nLevel);

    // Folder enumerations done so far.
    std::uint64_t FolderReads() const { return m_nFolderReads; }
    void ResetFolderReads() { m_nFolderReads = 0; }

private:
    using Names = std::vector<std::string>;

    // The components below the camera folder (empty for the camera folder
    // itself); nothing for a path outside it.
    std::optional<Names> Components(const std::string& strPath) const;
    std::string FolderOf(const Names& components, std::size_t nCount) const;

    // The names of the entries of a folder that belong at nLevel (1..4 folders,
    // 5 pictures), sorted; one enumeration.
    Names ReadLevel(const std::string& strFolder, int nLevel);
    std::string FirstDescendant(const std::string& strFolder, int nLevel, int nDepth);
    std::string FindFrom(const std::string& strFolder, int nLevel, const Names& target);

    std::string m_strCameraFolder; // runs of '/' made one, no final '/'
    std::uint64_t m_nFolderReads = 0;
};
