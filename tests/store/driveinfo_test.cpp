#include "fixtures/tempdir.h"
#include "store/driveinfo.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <unistd.h>

namespace {

// Mount points that do not exist on the machine are fine: a folder below one
// is classified by the path it would have.
const char* const MOUNTINFO =
    "22 28 0:21 / /proc rw,relatime - proc proc rw\n"
    "28 1 254:0 / / rw,relatime shared:1 - ext4 /dev/vda rw\n"
    "40 28 0:40 / /tmp rw,nosuid,nodev - tmpfs tmpfs rw,size=1024k\n"
    "41 28 0:41 / /vxmnt/nas rw,relatime - nfs4 server:/export rw,vers=4.2\n"
    "42 41 8:2 / /vxmnt/nas/local rw - ext4 /dev/sda2 rw\n"
    "43 28 11:0 / /vxmnt/cdrom ro,relatime - iso9660 /dev/sr0 ro\n"
    "44 28 8:17 / /vxmnt/usb rw,relatime - vfat /dev/sdb1 ro,fmask=0022\n"
    "45 28 8:18 / /vxmnt/my\\040share rw shared:5 master:2 - cifs //srv/share rw\n"
    "46 28 8:19 / /vxmnt/over rw - ext4 /dev/sdc1 rw\n"
    "47 46 0:50 / /vxmnt/over rw - smb3 //srv/other rw\n"
    "48 28 0:51 / /vxmnt/dvd rw - udf /dev/sr1 rw\n"
    "garbage line\n"
    "49 28 0:52 / /vxmnt/broken rw -\n";

} // namespace

TEST(DriveInfo, ClassifiesTheMountThatHoldsTheFolder)
{
    const CDriveInfo info(MOUNTINFO);
    const struct {
        const char* pszFolder;
        DriveKind kind;
    } cases[] = {
        {"/home/operator/events", DriveKind::Local},
        {"/tmp/events", DriveKind::Local}, // tmpfs
        {"/vxmnt/nas", DriveKind::Network},
        {"/vxmnt/nas/events/2004", DriveKind::Network},
        {"/vxmnt/nas/local/events", DriveKind::Local}, // a disk mounted inside the share
        {"/vxmnt/nasty/events", DriveKind::Local},     // not below /vxmnt/nas
        {"/vxmnt/cdrom/events", DriveKind::InvalidDrive},
        {"/vxmnt/dvd/events", DriveKind::InvalidDrive},
        {"/vxmnt/usb/events", DriveKind::InvalidDrive}, // file system read-only
        {"/vxmnt/my share/events", DriveKind::Network}, // \040 in the mount point
        {"/vxmnt/over/events", DriveKind::Network},     // the later mount hides the first
        {"/vxmnt/cdrom/../nas/x", DriveKind::Network},
        {"/proc/events", DriveKind::InvalidDrive},
        {"events", DriveKind::InvalidPath},
        {"./events", DriveKind::InvalidPath},
        {"", DriveKind::InvalidPath},
    };
    for (const auto& c : cases)
        EXPECT_EQ(info.Classify(c.pszFolder), c.kind) << c.pszFolder;
    EXPECT_EQ(CDriveInfo("").Classify("/home"), DriveKind::InvalidDrive);
}

TEST(DriveInfo, ParsesMountPointsAndReadOnlyFlags)
{
    const CDriveInfo info(MOUNTINFO);
    ASSERT_EQ(info.Mounts().size(), 11u); // the two broken lines are left out
    const CDriveInfo::Mount* pMount = info.MountOf("/vxmnt/my share");
    ASSERT_NE(pMount, nullptr);
    EXPECT_EQ(pMount->strFsType, "cifs");
    EXPECT_FALSE(pMount->bReadOnly);
    EXPECT_TRUE(info.MountOf("/vxmnt/cdrom")->bReadOnly);
    EXPECT_TRUE(info.MountOf("/vxmnt/usb/x")->bReadOnly);
    EXPECT_EQ(CDriveInfo("1 2 3:4 / /a\\134b\\011c rw - ext4 x rw").Mounts().at(0).strMountPoint, "/a\\b\tc");
}

TEST(DriveInfo, FollowsLinksOfTheFolderThatExists)
{
    CTempDir dir;
    const std::string strDisc = std::filesystem::canonical(dir.Path()).string() + "/disc";
    std::filesystem::create_directory(strDisc);
    ASSERT_EQ(::symlink(strDisc.c_str(), (dir / "link").c_str()), 0);
    const CDriveInfo info("28 1 254:0 / / rw - ext4 /dev/vda rw\n"
                          "43 28 11:0 / " + strDisc + " ro - iso9660 /dev/sr0 ro\n");
    EXPECT_EQ(info.Classify(dir / "link"), DriveKind::InvalidDrive);
    EXPECT_EQ(info.Classify(dir / "link/not/made/yet"), DriveKind::InvalidDrive);
    EXPECT_EQ(info.Classify(dir / "elsewhere"), DriveKind::Local);
    EXPECT_EQ(CDriveInfo::ResolvePath(dir / "link/new/"), strDisc + "/new");
}

TEST(DriveInfo, TheMachinesOwnTemporaryFolderCanHoldPictures)
{
    CTempDir dir;
    const DriveKind kind = CDriveInfo::FromSystem().Classify(dir.Path());
    EXPECT_TRUE(kind == DriveKind::Local || kind == DriveKind::Network);
}
