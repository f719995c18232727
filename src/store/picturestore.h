// Writes recorded pictures into an event's folder tree:
//   <event>/<camera>/<date>/<hour>/<minute>/<second>/<picture>.jpg
// (names in CPictureStamp). Each picture is written under a temporary name in
// its second folder, flushed and renamed, so no picture file is ever seen half
// written; a picture of the same name is replaced. Shared by the viewer's
// Image run, the backup progress dialog and the command-line backup.
#pragma once

#include "store/picturestamp.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

class CPictureStore {
public:
    static constexpr std::size_t MAX_PICTURE_BYTES = 535680;

    enum class SaveResult {
        Written,     // the picture file holds the source's bytes
        Skipped,     // a bad information record, or no picture in the source
        DiskFull,    // not enough free space for it (only with the space check)
        WriteFailed, // a folder or the file could not be made or written
    };

    // Free bytes available to the user on the file system holding a path;
    // nothing when that cannot be told.
    using FreeSpaceQuery = std::function<std::optional<std::uint64_t>(const std::string&)>;

    // strEventFolder: the event's folder, which the caller has made; a final
    // '/' is optional.
    explicit CPictureStore(std::string strEventFolder);

    // The event folder followed by exactly one '/'; empty when none was given.
    const std::string& EventPrefix() const { return m_strPrefix; }

    // The full path a record's picture is stored under; empty for a record that
    // is refused.
    std::string PicturePath(const unsigned char* pInfo, std::size_t nInfoSize) const;

    // Stores the picture in strSourcePath (its first 535,680 bytes) under the
    // record's path, making the folders below the event folder that are
    // missing. With bCheckSpace, a picture that would not fit the free space is
    // refused with DiskFull before anything is written.
    SaveResult SavePicture(const unsigned char* pInfo, std::size_t nInfoSize, const std::string& strSourcePath,
                           bool bCheckSpace);
    // The path of the last picture written.
    const std::string& LastWritten() const { return m_strLastWritten; }

    // True when nSize is below the free space available to the user on the
    // file system holding strPath (or, while it does not exist yet, its
    // nearest existing folder). False when that cannot be told.
    static bool HasDiskSpace(std::uint64_t nSize, const std::string& strPath);
    // statvfs: f_bavail times f_frsize.
    static std::optional<std::uint64_t> FreeSpace(const std::string& strPath);

    // Tests replace the free-space query to play a full disk.
    void SetFreeSpaceQuery(FreeSpaceQuery query) { m_freeSpace = std::move(query); }

private:
    bool HasSpaceFor(std::uint64_t nSize) const;
    bool MakeFolders(const CPictureStamp& stamp) const;

    std::string m_strPrefix;
    std::string m_strLastWritten;
    FreeSpaceQuery m_freeSpace;
};
