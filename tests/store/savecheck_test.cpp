#include "fixtures/scriptedprompter.h"
#include "fixtures/tempdir.h"
#include "store/civiltime.h"
#include "store/driveinfo.h"
#include "store/filedbase.h"
#include "store/savecheck.h"

#include <gtest/gtest.h>

namespace {

const char* const MOUNTINFO =
    "22 28 0:21 / /proc rw,relatime - proc proc rw\n"
    "28 1 254:0 / / rw,relatime shared:1 - ext4 /dev/vda rw\n"
    "41 28 0:41 / /vxmnt/nas rw,relatime - nfs4 server:/export rw\n"
    "43 28 11:0 / /vxmnt/cdrom ro,relatime - iso9660 /dev/sr0 ro\n";

std::string Repeat(const std::string& str, std::size_t n)
{
    std::string out;
    for (std::size_t i = 0; i < n; ++i)
        out += str;
    return out;
}

} // namespace

// The order of the path checks and what each refuses: a taken name before
// everything, then an empty folder, the length, the drive.
TEST(SaveCheck, ValidatePathAnswersInItsOrder)
{
    CTempDir dir;
    CScriptedPrompter prompter;
    CFileDBase db(dir.Path());
    db.Load();
    ASSERT_TRUE(db.AddEvent("Taken", "/srv/Taken"));
    const CDriveInfo drives(MOUNTINFO);
    const std::string strFolder60 = "/" + std::string(59, 'f');
    const struct {
        const char* pszCase;
        std::string strFolder;
        std::string strName;
        int nCode;
    } cases[] = {
        {"taken name before an empty folder", "", "Taken", CSaveCheck::PATH_NAME_TAKEN},
        {"taken name before a bad drive", "/vxmnt/cdrom", "Taken", CSaveCheck::PATH_NAME_TAKEN},
        {"letter case makes another name", "/home/x", "taken", CSaveCheck::PATH_OK},
        {"empty folder", "", "Event", CSaveCheck::PATH_EMPTY},
        {"60 + 16 + 24 = 100", strFolder60, std::string(16, 'e'), CSaveCheck::PATH_TOO_LONG},
        {"60 + 15 + 24 = 99", strFolder60, std::string(15, 'e'), CSaveCheck::PATH_OK},
        // Counted in characters: 15 three-byte characters pass the rule.
        {"characters, not bytes", strFolder60, Repeat("\xE3\x81\x82", 15), CSaveCheck::PATH_OK},
        // ... but the event folder must fit the database's 259 bytes.
        {"event folder of 260 bytes", "/" + Repeat("\xF0\x9F\x93\xB7", 50), Repeat("\xF0\x9F\x93\xB7", 14) + "ee",
         CSaveCheck::PATH_TOO_LONG},
        {"event folder of 259 bytes", "/" + Repeat("\xF0\x9F\x93\xB7", 50), Repeat("\xF0\x9F\x93\xB7", 14) + "e",
         CSaveCheck::PATH_OK},
        {"too long before a bad drive", "/vxmnt/cdrom/" + std::string(70, 'f'), "E", CSaveCheck::PATH_TOO_LONG},
        {"network folder", "/vxmnt/nas/events", "Event", CSaveCheck::PATH_OK},
        {"optical drive", "/vxmnt/cdrom/events", "Event", CSaveCheck::PATH_INVALID_DRIVE},
        {"pseudo file system", "/proc/events", "Event", CSaveCheck::PATH_INVALID_DRIVE},
        {"relative folder", "events", "Event", CSaveCheck::PATH_INVALID_PATH},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CSaveCheck::ValidatePath(&db, drives, c.strFolder, c.strName), c.nCode) << c.pszCase;
    EXPECT_EQ(CSaveCheck::ValidatePath(nullptr, drives, "/home/x", "Taken"), CSaveCheck::PATH_OK);
    EXPECT_TRUE(prompter.Asks().empty());
}

TEST(SaveCheck, PathCodesMapToTheirNoticesAndTexts)
{
    const struct {
        int nCode;
        int nMode;
        int nStringId;
    } cases[] = {
        {CSaveCheck::PATH_INVALID_DRIVE, 30, 313}, {CSaveCheck::PATH_INVALID_PATH, 29, 312},
        {CSaveCheck::PATH_EMPTY, 34, 317},         {CSaveCheck::PATH_TOO_LONG, 37, 322},
        {CSaveCheck::PATH_NAME_TAKEN, 38, 323},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(CSaveCheck::PathMode(c.nCode), c.nMode);
        EXPECT_EQ(CSaveCheck::StringIdOfMode(c.nMode), c.nStringId);
    }
    EXPECT_EQ(CSaveCheck::PathMode(CSaveCheck::PATH_OK), 0);
    EXPECT_EQ(CSaveCheck::StringIdOfMode(16), 292);
    EXPECT_EQ(CSaveCheck::StringIdOfMode(24), 304);
    EXPECT_EQ(CSaveCheck::StringIdOfMode(23), 0);
}

// Names that could leave the chosen folder, or name no folder of their own,
// are refused.
TEST(SaveCheck, EventNamesThatAreNoSingleFolderNameAreRefused)
{
    for (const char* psz : {"a b", "a\\b", "a/b", "a:b", "a*b", "a?b", "a\"b", "a<b", "a>b", "a|b", "a.b", ".", "..",
                            "../up", "a\tb", "a\nb", "a\x7F"})
        EXPECT_TRUE(CSaveCheck::IsBadName(psz)) << psz;
    for (const char* psz : {"20040123000200", "Event_1-2", "\xE3\x82\xA4\xE3\x83\x99\xE3\x83\xB3\xE3\x83\x88"})
        EXPECT_FALSE(CSaveCheck::IsBadName(psz)) << psz;
    EXPECT_TRUE(CSaveCheck::IsBlankName(""));
    EXPECT_TRUE(CSaveCheck::IsBlankName("   "));
    EXPECT_FALSE(CSaveCheck::IsBlankName(" a "));
}

TEST(CivilTime, CountsEveryDayAsADayAcrossMidnightMonthsAndLeapYears)
{
    const CCivilTime t {2004, 1, 23, 0, 2, 0};
    EXPECT_EQ(t.AddSeconds(-300), (CCivilTime {2004, 1, 22, 23, 57, 0}));
    EXPECT_EQ((CCivilTime {2004, 3, 1, 0, 0, 0}).AddSeconds(-1), (CCivilTime {2004, 2, 29, 23, 59, 59}));
    EXPECT_EQ((CCivilTime {2004, 12, 31, 23, 59, 59}).AddSeconds(1), (CCivilTime {2005, 1, 1, 0, 0, 0}));
    EXPECT_EQ((CCivilTime {2004, 1, 23, 10, 0, 30}).Seconds() - (CCivilTime {2004, 1, 23, 10, 0, 0}).Seconds(), 30);
    EXPECT_EQ((CCivilTime {1970, 1, 1, 0, 0, 0}).Seconds(), 0);
    EXPECT_TRUE((CCivilTime {2004, 2, 29, 23, 59, 59}).IsValid());
    EXPECT_FALSE((CCivilTime {2005, 2, 29, 0, 0, 0}).IsValid());
    EXPECT_FALSE((CCivilTime {2004, 13, 1, 0, 0, 0}).IsValid());
    EXPECT_FALSE((CCivilTime {2004, 1, 1, 24, 0, 0}).IsValid());
    EXPECT_TRUE(CSaveCheck::IsTimeRange({2004, 1, 23, 10, 0, 0}, {2004, 1, 23, 10, 1, 0}));
    EXPECT_FALSE(CSaveCheck::IsTimeRange({2004, 1, 23, 10, 0, 0}, {2004, 1, 23, 10, 0, 0}));
    EXPECT_EQ((CCivilTime {2004, 1, 23, 9, 5, 7}).Format(), "2004-01-23 09:05:07");
}
