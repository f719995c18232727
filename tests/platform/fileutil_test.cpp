#include "fixtures/tempdir.h"
#include "platform/fileutil.h"
#include "platform/instancelock.h"

#include <gtest/gtest.h>

#include <dirent.h>
#include <sys/stat.h>

namespace {

int CountEntries(const std::string& strDir)
{
    int n = 0;
    DIR* pDir = ::opendir(strDir.c_str());
    while (pDir && ::readdir(pDir))
        ++n;
    if (pDir)
        ::closedir(pDir);
    return n - 2;
}

} // namespace

TEST(AtomicFile, ReplacesTheFileAndLeavesNoTemporary)
{
    CTempDir dir;
    const std::string strPath = dir / "entry.txt";
    WriteAll(strPath, "old contents");
    ASSERT_TRUE(WriteFileAtomically(strPath, std::string("new\0bytes", 9)));
    EXPECT_EQ(ReadAll(strPath), std::string("new\0bytes", 9));
    EXPECT_EQ(CountEntries(dir.Path()), 1);
}

TEST(AtomicFile, FailureLeavesTheOldFileIntact)
{
    if (::geteuid() == 0)
        GTEST_SKIP() << "root writes into read-only folders";
    CTempDir dir;
    const std::string strPath = dir / "entry.txt";
    WriteAll(strPath, "old contents");
    ASSERT_EQ(::chmod(dir.Path().c_str(), 0555), 0);
    EXPECT_FALSE(WriteFileAtomically(strPath, "new"));
    ::chmod(dir.Path().c_str(), 0755);
    EXPECT_EQ(ReadAll(strPath), "old contents");
    EXPECT_EQ(CountEntries(dir.Path()), 1);
}

TEST(AtomicFile, MissingFolderFailsWithoutCreatingAnything)
{
    CTempDir dir;
    EXPECT_FALSE(WriteFileAtomically(dir / "nofolder/entry.txt", "x"));
    EXPECT_EQ(CountEntries(dir.Path()), 0);
}

TEST(ReadFileBytes, ReadsUpToTheLimitAndRefusesFolders)
{
    CTempDir dir;
    WriteAll(dir / "f", "0123456789");
    EXPECT_EQ(ReadFileBytes(dir / "f", 4).value_or("?"), "0123");
    EXPECT_EQ(ReadFileBytes(dir / "f", 100).value_or("?"), "0123456789");
    EXPECT_FALSE(ReadFileBytes(dir / "missing", 100).has_value());
    EXPECT_FALSE(ReadFileBytes(dir.Path(), 100).has_value());
}

TEST(InstanceLock, SecondHolderIsRefusedUntilTheFirstReleases)
{
    CTempDir dir;
    const std::string strPath = dir / "hPrevInstance.lock";
    CInstanceLock first;
    CInstanceLock second;
    ASSERT_TRUE(first.Acquire(strPath));
    EXPECT_FALSE(second.Acquire(strPath));
    EXPECT_FALSE(second.IsHeld());
    first.Release();
    EXPECT_TRUE(second.Acquire(strPath));
}

TEST(InstanceLock, DefaultPathUsesTheRuntimeFolderWhenItExists)
{
    CTempDir dir;
    const char* pszOld = std::getenv("XDG_RUNTIME_DIR");
    const std::string strOld = pszOld ? pszOld : "";
    ::setenv("XDG_RUNTIME_DIR", dir.Path().c_str(), 1);
    const std::string strUid = std::to_string(::getuid());
    EXPECT_EQ(CInstanceLock::DefaultPath("hPrevInstance"), dir.Path() + "hPrevInstance-" + strUid + ".lock");
    ::setenv("XDG_RUNTIME_DIR", (dir / "missing").c_str(), 1);
    EXPECT_EQ(CInstanceLock::DefaultPath("hPrevInstance"), "/tmp/hPrevInstance-" + strUid + ".lock");
    if (pszOld)
        ::setenv("XDG_RUNTIME_DIR", strOld.c_str(), 1);
    else
        ::unsetenv("XDG_RUNTIME_DIR");
}
