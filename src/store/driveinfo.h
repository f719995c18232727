// What kind of drive holds a folder, for the save dialog's path check. A
// folder's drive is the mount that holds it: the longest mount point of
// /proc/self/mountinfo that is a whole-component prefix of the folder's real
// path (for a folder not made yet, the real path of its nearest existing
// ancestor followed by the rest). Of two mounts on the same point the later,
// which hides the other, counts.
//
//   Local        writable local file systems: disks, memory (tmpfs, ramfs),
//                overlays, block devices through FUSE, and types not named below
//   Network      nfs, nfs4, cifs, smb3, smbfs, fuse.sshfs, ceph, fuse.glusterfs
//   InvalidDrive optical (iso9660, udf), a read-only mount, a kernel pseudo
//                file system (proc, sysfs, devtmpfs, cgroup, ...), or no mount
//   InvalidPath  a relative or empty path
#pragma once

#include <string>
#include <vector>

enum class DriveKind { Local, Network, InvalidDrive, InvalidPath };

class CDriveInfo {
public:
    struct Mount {
        std::string strMountPoint; // octal escapes (\040 and the like) decoded
        std::string strFsType;
        bool bReadOnly = false;    // the mount or its file system is read-only
    };

    // strMountInfo: the text of /proc/self/mountinfo; lines that do not parse
    // are ignored.
    explicit CDriveInfo(const std::string& strMountInfo);
    // The mounts of this process.
    static CDriveInfo FromSystem();

    const std::vector<Mount>& Mounts() const { return m_mounts; }

    DriveKind Classify(const std::string& strFolder) const;
    // The mount holding an absolute path (taken as it is, not resolved);
    // nullptr when none does.
    const Mount* MountOf(const std::string& strAbsolutePath) const;

    // The kind a writable mount of this type gives.
    static DriveKind KindOfFileSystem(const std::string& strFsType);
    // The real path of strFolder, resolving symbolic links of the part that
    // exists; strFolder must be absolute.
    static std::string ResolvePath(const std::string& strFolder);

private:
    std::vector<Mount> m_mounts;
};
