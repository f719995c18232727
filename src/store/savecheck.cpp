#include "store/savecheck.h"

#include "store/backuprun.h"
#include "store/civiltime.h"
#include "store/driveinfo.h"
#include "store/filedbase.h"

#include <algorithm>
#include <string_view>

namespace {

constexpr std::string_view BAD_NAME_CHARS = " \\/:*?\"<>|.";

struct ModeText {
    int nMode;
    int nStringId;
};
constexpr ModeText MODE_TEXTS[] = {
    {CSaveCheck::MODE_TIME, 292},         {CSaveCheck::MODE_BAD_NAME, 304},
    {CSaveCheck::MODE_NO_NAME, 305},      {CSaveCheck::MODE_INVALID_PATH, 312},
    {CSaveCheck::MODE_INVALID_DRIVE, 313}, {CSaveCheck::MODE_COUNT, 314},
    {CSaveCheck::MODE_NO_PATH, 317},      {CSaveCheck::MODE_TOO_LONG, 322},
    {CSaveCheck::MODE_NAME_TAKEN, 323},   {CSaveCheck::MODE_NO_COUNT, 324},
};

bool IsTooLong(const std::string& strFolder, const std::string& strName)
{
    if (CSaveCheck::CharCount(strFolder) + CSaveCheck::CharCount(strName) + CSaveCheck::STORE_LEVEL_CHARS
        >= CSaveCheck::MAX_PATH_CHARS)
        return true;
    // The database keeps the name and the event folder whole or not at all.
    return strName.size() > CFileDBase::MAX_NAME_BYTES
        || CBackupRun::EventFolderOf(strFolder, strName).size() > CFileDBase::MAX_PATH_BYTES;
}

} // namespace

int CSaveCheck::ValidatePath(CFileDBase* pDb, const CDriveInfo& drives, const std::string& strFolder,
                             const std::string& strName)
{
    if (pDb && !pDb->IsEventNameFree(strName))
        return PATH_NAME_TAKEN;
    if (strFolder.empty())
        return PATH_EMPTY;
    if (IsTooLong(strFolder, strName))
        return PATH_TOO_LONG;
    switch (drives.Classify(strFolder)) {
    case DriveKind::Local:
    case DriveKind::Network: return PATH_OK;
    case DriveKind::InvalidPath: return PATH_INVALID_PATH;
    case DriveKind::InvalidDrive: break;
    }
    return PATH_INVALID_DRIVE;
}

int CSaveCheck::PathMode(int nCode)
{
    switch (nCode) {
    case PATH_INVALID_DRIVE: return MODE_INVALID_DRIVE;
    case PATH_INVALID_PATH: return MODE_INVALID_PATH;
    case PATH_EMPTY: return MODE_NO_PATH;
    case PATH_TOO_LONG: return MODE_TOO_LONG;
    case PATH_NAME_TAKEN: return MODE_NAME_TAKEN;
    default: return 0;
    }
}

bool CSaveCheck::IsBlankName(const std::string& strName)
{
    return std::all_of(strName.begin(), strName.end(), [](char ch) { return ch == ' '; });
}

bool CSaveCheck::IsBadName(const std::string& strName)
{
    return std::any_of(strName.begin(), strName.end(), [](char ch) {
        const auto by = static_cast<unsigned char>(ch);
        return by < 0x20 || by == 0x7F || BAD_NAME_CHARS.find(ch) != std::string_view::npos;
    });
}

bool CSaveCheck::IsTimeRange(const CCivilTime& start, const CCivilTime& end)
{
    return start < end;
}

std::size_t CSaveCheck::CharCount(const std::string& strText)
{
    return static_cast<std::size_t>(std::count_if(strText.begin(), strText.end(), [](char ch) {
        return (static_cast<unsigned char>(ch) & 0xC0) != 0x80;
    }));
}

int CSaveCheck::StringIdOfMode(int nMode)
{
    for (const ModeText& m : MODE_TEXTS) {
        if (m.nMode == nMode)
            return m.nStringId;
    }
    return 0;
}
