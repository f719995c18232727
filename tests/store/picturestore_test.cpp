#include "fixtures/tempdir.h"
#include "store/picturestore.h"
#include "storetree.h"

#include <gtest/gtest.h>

#include <array>
#include <cstring>

namespace {

using Info = std::array<unsigned char, CPictureStamp::INFO_SIZE>;

// A record with time "YYMMDDhhmmss", a camera code and a frame text; the other
// bytes hold what a recorder might put there.
Info MakeInfo(const char* pszTime, int nCameraCode, const char* pszFrame)
{
    Info info;
    info.fill(0x5A);
    std::memcpy(info.data() + CPictureStamp::TIME_OFFSET, pszTime, 12);
    info[CPictureStamp::CAMERA_OFFSET] = static_cast<unsigned char>(nCameraCode);
    std::memcpy(info.data() + CPictureStamp::FRAME_OFFSET, pszFrame, 2);
    return info;
}

class PictureStoreTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        MakeFolders(m_strEvent);
        WriteAll(m_strSource, m_strJpeg);
    }

    CPictureStore::SaveResult Save(const Info& info, bool bCheckSpace = true)
    {
        return m_store.SavePicture(info.data(), info.size(), m_strSource, bCheckSpace);
    }

    CTempDir m_dir;
    const std::string m_strEvent = m_dir / "Event";
    const std::string m_strSource = m_dir / "test.jpg";
    const std::string m_strJpeg = std::string("\xFF\xD8\xFF\xE0", 4) + std::string(5000, '\x11') + "\xFF\xD9";
    CPictureStore m_store{m_strEvent};
};

} // namespace

TEST_F(PictureStoreTest, StoresThePictureUnderItsCameraDateAndTime)
{
    const Info info = MakeInfo("040123134520", 2, "07");
    const std::string strExpected = m_strEvent + "/03/2004_01_23/13/45/20/2004012313452007.jpg";
    EXPECT_EQ(m_store.PicturePath(info.data(), info.size()), strExpected);
    ASSERT_EQ(Save(info), CPictureStore::SaveResult::Written);
    EXPECT_EQ(m_store.LastWritten(), strExpected);
    EXPECT_EQ(ReadAll(strExpected), m_strJpeg);
    // Nothing but the levels and the picture: no temporary file is left.
    EXPECT_EQ(ListTree(m_strEvent),
              (std::vector<std::string>{"03", "03/2004_01_23", "03/2004_01_23/13", "03/2004_01_23/13/45",
                                        "03/2004_01_23/13/45/20", "03/2004_01_23/13/45/20/2004012313452007.jpg"}));
}

TEST_F(PictureStoreTest, EventFolderWithAFinalSlashGivesOneSeparator)
{
    CPictureStore store(m_strEvent + "//");
    const Info info = MakeInfo("991231235959", 15, "00");
    EXPECT_EQ(store.PicturePath(info.data(), info.size()), m_strEvent + "/16/2099_12_31/23/59/59/2099123123595900.jpg");
}

TEST_F(PictureStoreTest, BadRecordsNeverBecomePaths)
{
    const struct {
        const char* pszCase;
        Info info;
    } cases[] = {
        {"month 0", MakeInfo("040023134520", 0, "01")},   {"month 13", MakeInfo("041323134520", 0, "01")},
        {"day 0", MakeInfo("040100134520", 0, "01")},     {"day 32", MakeInfo("040132134520", 0, "01")},
        {"hour 24", MakeInfo("040123244520", 0, "01")},   {"minute 60", MakeInfo("040123136020", 0, "01")},
        {"second 60", MakeInfo("040123134560", 0, "01")}, {"letter in time", MakeInfo("04012313452a", 0, "01")},
        {"slash in time", MakeInfo("0401/3134520", 0, "01")}, {"space in frame", MakeInfo("040123134520", 0, " 7")},
        {"camera 17", MakeInfo("040123134520", 16, "01")}, {"camera code 255", MakeInfo("040123134520", 255, "01")},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(m_store.PicturePath(c.info.data(), c.info.size()), "") << c.pszCase;
        EXPECT_EQ(Save(c.info), CPictureStore::SaveResult::Skipped) << c.pszCase;
    }
    const Info good = MakeInfo("040123134520", 0, "01");
    EXPECT_EQ(m_store.SavePicture(good.data(), good.size() - 1, m_strSource, true),
              CPictureStore::SaveResult::Skipped);
    EXPECT_EQ(m_store.SavePicture(nullptr, 38, m_strSource, true), CPictureStore::SaveResult::Skipped);
    EXPECT_TRUE(ListTree(m_strEvent).empty());
}

TEST_F(PictureStoreTest, FramesOfOneSecondAreKeptApartAndASameFrameReplaces)
{
    ASSERT_EQ(Save(MakeInfo("040123134520", 0, "01")), CPictureStore::SaveResult::Written);
    WriteAll(m_strSource, "second picture");
    ASSERT_EQ(Save(MakeInfo("040123134520", 0, "02")), CPictureStore::SaveResult::Written);
    const std::string strSecond = m_strEvent + "/01/2004_01_23/13/45/20/";
    EXPECT_EQ(ReadAll(strSecond + "2004012313452001.jpg"), m_strJpeg);
    EXPECT_EQ(ReadAll(strSecond + "2004012313452002.jpg"), "second picture");

    WriteAll(m_strSource, "third picture");
    ASSERT_EQ(Save(MakeInfo("040123134520", 0, "01")), CPictureStore::SaveResult::Written);
    EXPECT_EQ(ReadAll(strSecond + "2004012313452001.jpg"), "third picture");
    EXPECT_EQ(ListTree(strSecond), (std::vector<std::string>{"2004012313452001.jpg", "2004012313452002.jpg"}));
}

TEST_F(PictureStoreTest, MissingOrEmptySourceIsSkippedAndALongOneCut)
{
    const Info info = MakeInfo("040123134520", 0, "01");
    EXPECT_EQ(m_store.SavePicture(info.data(), info.size(), m_dir / "missing.jpg", true),
              CPictureStore::SaveResult::Skipped);
    WriteAll(m_strSource, "");
    EXPECT_EQ(Save(info), CPictureStore::SaveResult::Skipped);
    EXPECT_TRUE(ListTree(m_strEvent).empty());

    const std::string strLong = std::string(535680, 'a') + "beyond";
    WriteAll(m_strSource, strLong);
    ASSERT_EQ(Save(info), CPictureStore::SaveResult::Written);
    EXPECT_EQ(ReadAll(m_store.LastWritten()), strLong.substr(0, 535680));
}

TEST_F(PictureStoreTest, FullDiskRefusesBeforeWritingUnlessTheCallerSkipsTheCheck)
{
    const std::size_t nSize = m_strJpeg.size();
    std::string strAsked;
    m_store.SetFreeSpaceQuery([&](const std::string& strPath) -> std::optional<std::uint64_t> {
        strAsked = strPath;
        return nSize; // the picture is not below it
    });
    const Info info = MakeInfo("040123134520", 0, "01");
    EXPECT_EQ(Save(info), CPictureStore::SaveResult::DiskFull);
    EXPECT_EQ(strAsked, m_strEvent + "/");
    EXPECT_TRUE(ListTree(m_strEvent).empty());
    EXPECT_EQ(Save(info, false), CPictureStore::SaveResult::Written);

    m_store.SetFreeSpaceQuery([&](const std::string&) -> std::optional<std::uint64_t> { return nSize + 1; });
    EXPECT_EQ(Save(MakeInfo("040123134520", 0, "02")), CPictureStore::SaveResult::Written);
    m_store.SetFreeSpaceQuery([](const std::string&) -> std::optional<std::uint64_t> { return std::nullopt; });
    EXPECT_EQ(Save(MakeInfo("040123134520", 0, "03")), CPictureStore::SaveResult::DiskFull);
}

TEST_F(PictureStoreTest, LevelThatCannotBeMadeFailsTheWrite)
{
    WriteAll(m_strEvent + "/01", "a file where the camera folder belongs");
    EXPECT_EQ(Save(MakeInfo("040123134520", 0, "01")), CPictureStore::SaveResult::WriteFailed);
    CPictureStore missing(m_dir / "no event folder");
    const Info info = MakeInfo("040123134520", 1, "01");
    EXPECT_EQ(missing.SavePicture(info.data(), info.size(), m_strSource, false),
              CPictureStore::SaveResult::WriteFailed);
}

TEST(HasDiskSpace, ComparesWithTheFreeSpaceOfTheNearestExistingFolder)
{
    CTempDir dir;
    const auto nFree = CPictureStore::FreeSpace(dir.Path());
    ASSERT_TRUE(nFree.has_value());
    ASSERT_GT(*nFree, 0u);
    EXPECT_TRUE(CPictureStore::HasDiskSpace(0, dir.Path()));
    EXPECT_FALSE(CPictureStore::HasDiskSpace(UINT64_MAX, dir.Path()));
    // A folder not made yet is measured on the file system that will hold it.
    EXPECT_TRUE(CPictureStore::HasDiskSpace(0, dir / "not/made/yet"));
    EXPECT_FALSE(CPictureStore::HasDiskSpace(UINT64_MAX, dir / "not/made/yet"));
}
