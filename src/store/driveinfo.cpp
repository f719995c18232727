#include "store/driveinfo.h"

#include "platform/fileutil.h"

#include <algorithm>
#include <array>
#include <filesystem>
#include <sstream>
#include <string_view>

namespace {

constexpr const char* MOUNTINFO_PATH = "/proc/self/mountinfo";
constexpr std::size_t MOUNTINFO_LIMIT = 16 * 1024 * 1024;

// Fields of a mountinfo line before the "-" that ends the optional fields.
constexpr std::size_t MOUNT_POINT_FIELD = 4;
constexpr std::size_t MOUNT_OPTIONS_FIELD = 5;
constexpr std::size_t FIXED_FIELDS = 6;

constexpr std::array<std::string_view, 8> NETWORK_TYPES{
    "nfs", "nfs4", "cifs", "smb3", "smbfs", "fuse.sshfs", "ceph", "fuse.glusterfs",
};

// Optical media and the kernel's own file systems: nowhere to save pictures.
constexpr std::array<std::string_view, 25> INVALID_TYPES{
    "iso9660", "udf",       "proc",       "sysfs",       "devtmpfs", "devpts",  "cgroup",
    "cgroup2", "securityfs", "debugfs",   "tracefs",     "configfs", "pstore",  "bpf",
    "mqueue",  "hugetlbfs", "autofs",     "efivarfs",    "fusectl",  "binfmt_misc",
    "rpc_pipefs", "nsfs",   "selinuxfs",  "nfsd",        "sockfs",
};

template <std::size_t N>
bool Contains(const std::array<std::string_view, N>& table, std::string_view value)
{
    return std::find(table.begin(), table.end(), value) != table.end();
}

// mountinfo writes space, tab, newline and backslash in paths as \ooo.
std::string DecodeEscapes(std::string_view text)
{
    std::string strOut;
    strOut.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const bool bEscape = text[i] == '\\' && i + 4 <= text.size() &&
                             std::all_of(text.begin() + static_cast<std::ptrdiff_t>(i) + 1,
                                         text.begin() + static_cast<std::ptrdiff_t>(i) + 4,
                                         [](char c) { return c >= '0' && c <= '7'; });
        if (bEscape) {
            const int nValue = (text[i + 1] - '0') * 64 + (text[i + 2] - '0') * 8 + (text[i + 3] - '0');
            strOut.push_back(static_cast<char>(nValue & 0xFF));
            i += 3;
        } else {
            strOut.push_back(text[i]);
        }
    }
    return strOut;
}

bool HasOption(std::string_view options, std::string_view option)
{
    while (!options.empty()) {
        const std::size_t nComma = std::min(options.find(','), options.size());
        if (options.substr(0, nComma) == option)
            return true;
        options.remove_prefix(std::min(nComma + 1, options.size()));
    }
    return false;
}

std::vector<std::string_view> SplitFields(std::string_view line)
{
    std::vector<std::string_view> fields;
    while (!line.empty()) {
        const std::size_t nSpace = std::min(line.find(' '), line.size());
        if (nSpace > 0)
            fields.push_back(line.substr(0, nSpace));
        line.remove_prefix(std::min(nSpace + 1, line.size()));
    }
    return fields;
}

// One line: "id parent major:minor root mount-point options [optional...] -
// type source super-options".
bool ParseLine(std::string_view line, CDriveInfo::Mount& mount)
{
    const std::vector<std::string_view> fields = SplitFields(line);
    const auto itDash = std::find(fields.begin() + std::min(fields.size(), FIXED_FIELDS), fields.end(), "-");
    if (itDash == fields.end() || itDash + 1 == fields.end())
        return false;
    mount.strMountPoint = DecodeEscapes(fields[MOUNT_POINT_FIELD]);
    mount.strFsType = std::string(*(itDash + 1));
    const bool bSuperReadOnly = fields.end() - itDash > 3 && HasOption(*(itDash + 3), "ro");
    mount.bReadOnly = HasOption(fields[MOUNT_OPTIONS_FIELD], "ro") || bSuperReadOnly;
    return !mount.strMountPoint.empty() && mount.strMountPoint.front() == '/';
}

bool IsUnder(const std::string& strPath, const std::string& strMountPoint)
{
    if (strMountPoint == "/")
        return true;
    return strPath.compare(0, strMountPoint.size(), strMountPoint) == 0 &&
           (strPath.size() == strMountPoint.size() || strPath[strMountPoint.size()] == '/');
}

} // namespace

CDriveInfo::CDriveInfo(const std::string& strMountInfo)
{
    std::istringstream in(strMountInfo);
    for (std::string strLine; std::getline(in, strLine);) {
        Mount mount;
        if (ParseLine(strLine, mount))
            m_mounts.push_back(std::move(mount));
    }
}

CDriveInfo CDriveInfo::FromSystem()
{
    return CDriveInfo(ReadFileBytes(MOUNTINFO_PATH, MOUNTINFO_LIMIT).value_or(std::string()));
}

DriveKind CDriveInfo::KindOfFileSystem(const std::string& strFsType)
{
    if (Contains(NETWORK_TYPES, strFsType))
        return DriveKind::Network;
    if (Contains(INVALID_TYPES, strFsType))
        return DriveKind::InvalidDrive;
    return DriveKind::Local;
}

std::string CDriveInfo::ResolvePath(const std::string& strFolder)
{
    namespace fs = std::filesystem;
    fs::path path = fs::path(strFolder).lexically_normal();
    if (!path.has_filename() && path.has_parent_path() && path != path.root_path())
        path = path.parent_path();
    // Climb to the nearest folder that exists; what is below it is not made
    // yet and lies on the same mount. Each step removes one component.
    fs::path rest;
    for (fs::path existing = path;; existing = existing.parent_path()) {
        std::error_code error;
        const fs::path real = fs::canonical(existing, error);
        if (!error)
            return (rest.empty() ? real : real / rest).string();
        if (existing == existing.root_path() || !existing.has_relative_path())
            return path.string();
        rest = rest.empty() ? existing.filename() : existing.filename() / rest;
    }
}

const CDriveInfo::Mount* CDriveInfo::MountOf(const std::string& strAbsolutePath) const
{
    const Mount* pBest = nullptr;
    for (const Mount& mount : m_mounts) {
        // ">=": of two mounts on one point the later one is on top.
        if (IsUnder(strAbsolutePath, mount.strMountPoint) &&
            (!pBest || mount.strMountPoint.size() >= pBest->strMountPoint.size()))
            pBest = &mount;
    }
    return pBest;
}

DriveKind CDriveInfo::Classify(const std::string& strFolder) const
{
    if (strFolder.empty() || strFolder.front() != '/')
        return DriveKind::InvalidPath;
    const Mount* pMount = MountOf(ResolvePath(strFolder));
    if (!pMount)
        return DriveKind::InvalidDrive;
    const DriveKind kind = KindOfFileSystem(pMount->strFsType);
    return pMount->bReadOnly ? DriveKind::InvalidDrive : kind;
}
