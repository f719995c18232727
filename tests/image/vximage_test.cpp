// The picture object: the camera mark, the visible area, and pictures fetched
// from the simulated recorder through test.jpg.
#include "image/vximage.h"

#include "fixtures/scriptedprompter.h"
#include "fixtures/tempdir.h"
#include "jpegmaker.h"
#include "link/vx2200ctrl.h"
#include "sim/recordersim.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <functional>
#include <set>
#include <vector>

#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

using Frame = std::vector<std::uint8_t>;

constexpr int ROW = CVXImage::FRAME_WIDTH * 3;

struct Bar {
    int nLeft;
    int nRight;
};
// start, bit 3, bit 2, bit 1, bit 0, stop
constexpr Bar BARS[6] = {{73, 168}, {265, 360}, {361, 456}, {457, 552}, {553, 648}, {649, 720}};

// Gives a bar of the mark band the quotient nQuotient: its summed columns
// (left .. right - 2, rows 4..9, 3 bytes a pixel) add up to exactly
// nQuotient x (right - left + 1).
void SetBar(Frame& frame, const Bar& bar, int nQuotient)
{
    int nLeft = nQuotient * (bar.nRight - bar.nLeft + 1);
    for (int x = bar.nLeft; x <= bar.nRight - 2; ++x)
        for (int y = CVXImage::MARK_TOP; y < CVXImage::MARK_BOTTOM; ++y)
            for (int c = 0; c < 3; ++c) {
                const int n = std::min(nLeft, 255);
                frame[static_cast<std::size_t>(y * ROW + x * 3 + c)] = static_cast<std::uint8_t>(n);
                nLeft -= n;
            }
}

// The record's time and frame number, as the simulator names its pictures.
CSimRecording::Picture Recorded(CRecorderSim& sim, const std::uint8_t* pInfo)
{
    auto two = [pInfo](int i) { return (pInfo[i] - '0') * 10 + (pInfo[i + 1] - '0'); };
    const SimDateTime time {2000 + two(5), two(7), two(9), two(11), two(13), two(15)};
    return sim.FindPicture(time, two(32));
}

// Makes writing test.jpg fail while it lives: a read-only folder, or a file
// size limit (which holds for root, too, like a full disk).
class CUnwritable {
public:
    enum class Kind { ReadOnlyFolder, FileSizeLimit };
    CUnwritable(Kind kind, const std::string& strFolder) : m_kind(kind), m_strFolder(strFolder)
    {
        if (kind == Kind::ReadOnlyFolder) {
            ::chmod(strFolder.c_str(), 0555);
            return;
        }
        ::getrlimit(RLIMIT_FSIZE, &m_old);
        m_oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit small = m_old;
        small.rlim_cur = 1000;
        ::setrlimit(RLIMIT_FSIZE, &small);
    }
    ~CUnwritable()
    {
        if (m_kind == Kind::ReadOnlyFolder) {
            ::chmod(m_strFolder.c_str(), 0755);
            return;
        }
        ::setrlimit(RLIMIT_FSIZE, &m_old);
        std::signal(SIGXFSZ, m_oldHandler);
    }
    CUnwritable(const CUnwritable&) = delete;
    CUnwritable& operator=(const CUnwritable&) = delete;

private:
    Kind m_kind;
    std::string m_strFolder;
    rlimit m_old {};
    void (*m_oldHandler)(int) = SIG_DFL;
};

} // namespace

TEST(CameraMark, BarsReadAsTheRecorderStampsThem)
{
    const struct {
        const char* pszName;
        int nQuotients[6]; // start, bit 3 .. bit 0, stop
        int nCode;
    } cases[] = {
        {"start white, stop black, bits black", {4494, 0, 0, 0, 0, 0}, 15},
        {"start white, stop black, bits white", {4494, 4494, 4494, 4494, 4494, 0}, 0},
        {"bits 1010", {4494, 4494, 0, 4494, 0, 0}, 5},
        {"start black", {0, 4494, 0, 4494, 0, 0}, 0},
        {"stop white", {4494, 0, 0, 0, 0, 4494}, 0},
        {"quotient 125 counts as white", {125, 0, 0, 0, 0, 0}, 15},
        {"quotient 124 counts as black", {124, 0, 0, 0, 0, 0}, 0},
        {"a stop bar of 125 is white", {4494, 0, 0, 0, 0, 125}, 0},
        {"a stop bar of 124 is black", {4494, 0, 0, 0, 0, 124}, 15},
        {"a bit bar of 125 is white", {4494, 0, 0, 0, 125, 0}, 14},
    };
    for (const auto& c : cases) {
        Frame frame(CVXImage::FRAME_BYTES, 0);
        for (int b = 0; b < 6; ++b)
            SetBar(frame, BARS[b], c.nQuotients[b]);
        EXPECT_EQ(CVXImage::ReadCameraMark(frame.data()), c.nCode) << c.pszName;
    }

    Frame white(CVXImage::FRAME_BYTES, 0);
    std::fill(white.begin() + CVXImage::MARK_TOP * ROW, white.begin() + CVXImage::MARK_BOTTOM * ROW, 255);
    EXPECT_EQ(CVXImage::ReadCameraMark(white.data()), 0) << "an all-white band";

    // The last two columns of a bar are not summed.
    Frame edge(CVXImage::FRAME_BYTES, 0);
    for (int y = CVXImage::MARK_TOP; y < CVXImage::MARK_BOTTOM; ++y)
        std::fill_n(edge.begin() + y * ROW + 167 * 3, 6, 255);
    EXPECT_EQ(CVXImage::ReadCameraMark(edge.data()), 0) << "white only in columns 167 and 168";
}

TEST(CameraMark, ThresholdMakesTheBandBlackAndWhiteAboveLevel128)
{
    Frame frame(CVXImage::FRAME_BYTES, 128);
    for (int y = CVXImage::MARK_TOP; y < CVXImage::MARK_BOTTOM; ++y)
        std::fill_n(frame.begin() + y * ROW + 73 * 3, 96 * 3, 129); // the start bar
    EXPECT_EQ(CVXImage::ReadCameraMark(frame.data()), 0); // unthresholded, every bar reads white
    CVXImage::ThresholdBand(frame.data());
    EXPECT_EQ(CVXImage::ReadCameraMark(frame.data()), 15);
    EXPECT_EQ(frame[4 * ROW + 73 * 3], 255);
    EXPECT_EQ(frame[9 * ROW + 72 * 3], 0);
    EXPECT_EQ(frame[3 * ROW + 73 * 3], 128); // rows outside the band keep their bytes
    EXPECT_EQ(frame[10 * ROW + 73 * 3], 128);
}

TEST(CropVisible, CutsColumns9To704AndRows17To247AndBlacksTheLastRow)
{
    Frame source(CVXImage::FRAME_BYTES);
    auto value = [](int x, int y, int c) { return static_cast<std::uint8_t>(x * 3 + y * 7 + c); };
    for (int y = 0; y < CVXImage::FRAME_HEIGHT; ++y)
        for (int x = 0; x < CVXImage::FRAME_WIDTH; ++x)
            for (int c = 0; c < 3; ++c)
                source[static_cast<std::size_t>(y * ROW + x * 3 + c)] = value(x, y, c);
    Frame dest(CVXImage::DISPLAY_BYTES, 0xAA);
    CVXImage::CropVisible(dest.data(), source.data());
    int nWrong = 0;
    for (int y = 0; y < CVXImage::DISPLAY_HEIGHT; ++y)
        for (int x = 0; x < CVXImage::DISPLAY_WIDTH; ++x)
            for (int c = 0; c < 3; ++c) {
                const std::uint8_t want = y < CVXImage::DISPLAY_HEIGHT - 1 ? value(x + 9, y + 17, c) : 0;
                nWrong += dest[static_cast<std::size_t>((y * CVXImage::DISPLAY_WIDTH + x) * 3 + c)] != want;
            }
    EXPECT_EQ(nWrong, 0);
}

class VXImageTest : public ::testing::Test {
protected:
    VXImageTest()
        : m_sim(Options()), m_image(&m_ctrl, m_dir.Path()), m_frame(CVXImage::FRAME_BYTES)
    {
    }
    static CRecorderSim::Options Options()
    {
        CRecorderSim::Options options;
        options.start = SimDateTime {2004, 3, 15, 8, 5, 0};
        return options;
    }
    void SetUp() override
    {
        ASSERT_TRUE(m_sim.Start());
        m_ctrl.SetAskToReconnect(false);
        ASSERT_EQ(m_ctrl.Connect("127.0.0.1", m_sim.Port()), 0);
    }
    void Reconnect()
    {
        m_ctrl.Disconnect();
        ASSERT_EQ(m_ctrl.Connect("127.0.0.1", m_sim.Port()), 0);
    }
    int Fetch(int nCommand) { return m_image.FetchPicture(m_info, m_frame.data(), nCommand); }
    std::string TestJpg() const { return ReadAll(m_dir / "test.jpg"); }

    CRecorderSim m_sim;
    CVX2200Ctrl m_ctrl;
    CTempDir m_dir;
    CScriptedPrompter m_prompter;
    CVXImage m_image;
    Frame m_frame;
    std::uint8_t m_info[CVXImage::INFO_SIZE] = {};
};

// Sixteen pictures in a row are one of each camera; each one's mark, record
// and test.jpg agree with what the recorder recorded.
TEST_F(VXImageTest, EveryCameraReadsBackThroughTheWholeFetch)
{
    std::set<int> cameras;
    for (int i = 0; i < 16; ++i) {
        ASSERT_EQ(Fetch(i == 0 ? 6 : 2), 1) << i;
        const CSimRecording::Picture picture = Recorded(m_sim, m_info);
        ASSERT_GE(picture.nIndex, 0) << i;
        EXPECT_EQ(m_info[17] + 1, picture.nCamera) << i;
        EXPECT_EQ(CVXImage::ReadCameraMark(m_frame.data()) + 1, picture.nCamera) << i;
        EXPECT_EQ(std::vector<int>(m_info + 18, m_info + 22), std::vector<int>(4, 0)) << i;
        const std::string strJpeg = m_sim.PictureJpeg(picture.nIndex);
        EXPECT_EQ(TestJpg(), strJpeg) << i;
        EXPECT_EQ(m_image.GetLastFileSize(), static_cast<int>(strJpeg.size())) << i;
        cameras.insert(picture.nCamera);
    }
    EXPECT_EQ(cameras.size(), 16u);
    EXPECT_TRUE(m_prompter.Asks().empty());
}

// Byte 17 comes from the mark in the picture, whatever the recorder's record
// says, and bytes 18..21 are cleared.
TEST_F(VXImageTest, CameraComesFromTheMarkAndBytes18To21AreCleared)
{
    const long long nNewest = m_sim.PictureCount() - 1; // camera 16
    m_sim.SetFixedPicture(m_sim.PictureJpeg(nNewest - 11)); // camera 5
    ASSERT_EQ(m_ctrl.PictureStep(6), 0);
    std::uint8_t record[CVXImage::INFO_SIZE] = {};
    ASSERT_EQ(m_ctrl.PictureInfo(record), 0);
    ASSERT_EQ(record[17], 15);
    ASSERT_NE(std::vector<int>(record + 18, record + 22), std::vector<int>(4, 0));
    ASSERT_EQ(Fetch(6), 1);
    EXPECT_EQ(m_info[17], 4);
    EXPECT_EQ(std::vector<int>(m_info + 18, m_info + 22), std::vector<int>(4, 0));
    EXPECT_EQ(std::vector<std::uint8_t>(m_info, m_info + 17), std::vector<std::uint8_t>(record, record + 17));
}

// A failed transfer, a picture announced empty or larger than a buffer, or one
// that does not decode, fails the fetch and leaves test.jpg with the last
// picture that arrived whole.
TEST_F(VXImageTest, FailedFetchLeavesTestJpgAsItWas)
{
    ASSERT_EQ(Fetch(6), 1);
    const std::string strBefore = TestJpg();
    const int nSizeBefore = m_image.GetLastFileSize();
    const SimFault faults[] = {SimFault::SizeZero, SimFault::SizeHuge, SimFault::ChunkOverrun,
                               SimFault::ChunkBadCode, SimFault::ChunkLong, SimFault::CloseMidPicture};
    for (const SimFault fault : faults) {
        Reconnect();
        m_sim.SetFault("JU", fault, 1);
        EXPECT_EQ(Fetch(2), 0) << SimFaultName(fault);
        EXPECT_EQ(TestJpg(), strBefore) << SimFaultName(fault);
        EXPECT_EQ(m_image.GetLastFileSize(), nSizeBefore) << SimFaultName(fault);
    }
    Reconnect();
    m_sim.SetFault("J2", SimFault::Refuse, 1);
    EXPECT_EQ(Fetch(2), 0);
    EXPECT_EQ(TestJpg(), strBefore);

    // Received whole but no picture: the fetch fails, and test.jpg and its
    // size still belong to the last picture that decoded (the one a save
    // would copy and the page still shows).
    m_sim.SetFixedPicture(std::string("no picture here"));
    EXPECT_EQ(Fetch(2), 0);
    EXPECT_EQ(TestJpg(), strBefore);
    EXPECT_EQ(m_image.GetLastFileSize(), nSizeBefore);
    EXPECT_TRUE(m_prompter.Asks().empty());
    std::size_t nEntries = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(m_dir.Path()))
        ++nEntries;
    EXPECT_EQ(nEntries, 1u); // no temporary file stays behind
}

// The message comes once; while test.jpg stays unwritable, fetches decode
// the picture it still holds; a successful write arms the message again.
TEST_F(VXImageTest, UnwritableTestJpgWarnsOnceThenDecodesWhatItHolds)
{
    const CUnwritable::Kind kinds[] = {CUnwritable::Kind::ReadOnlyFolder, CUnwritable::Kind::FileSizeLimit};
    for (const CUnwritable::Kind kind : kinds) {
        const bool bFolder = kind == CUnwritable::Kind::ReadOnlyFolder;
        if (bFolder && ::geteuid() == 0)
            continue; // root writes into read-only folders
        m_prompter.Clear();
        ASSERT_EQ(Fetch(6), 1);
        const std::string strHeld = TestJpg();
        const int nHeldCamera = m_info[17];
        {
            CUnwritable unwritable(kind, m_dir.Path());
            EXPECT_EQ(Fetch(2), 0);
            ASSERT_EQ(m_prompter.Asks().size(), 1u);
            EXPECT_EQ(m_prompter.Asks()[0].strText, "File is not exist.(CVXImage Warning)");
            EXPECT_EQ(m_prompter.Asks()[0].icon, MessageIcon::Error);
            EXPECT_EQ(Fetch(2), 1); // silently, the picture test.jpg holds
            EXPECT_EQ(m_info[17], nHeldCamera);
            EXPECT_EQ(Fetch(2), 1);
            EXPECT_EQ(m_prompter.Asks().size(), 1u);
            EXPECT_EQ(TestJpg(), strHeld);
        }
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(m_dir.Path()), {}), 1); // test.jpg alone
        ASSERT_EQ(Fetch(2), 1);
        EXPECT_NE(m_info[17], nHeldCamera);
        {
            CUnwritable unwritable(kind, m_dir.Path());
            EXPECT_EQ(Fetch(2), 0);
            EXPECT_EQ(m_prompter.Asks().size(), 2u) << (bFolder ? "read-only folder" : "file size limit");
        }
    }
}

TEST(LoadPictureFile, DecodesAStoredFileInBlueGreenRedOrder)
{
    CTempDir dir;
    CVXImage image(nullptr, dir.Path());
    Frame frame(CVXImage::FRAME_BYTES, 0x55);
    int nWidth = -1;
    int nHeight = -1;
    EXPECT_EQ(image.LoadPictureFile(dir / "missing.jpg", frame.data(), nWidth, nHeight), 0);
    EXPECT_EQ(nWidth, 0);
    EXPECT_EQ(nHeight, 0);

    WriteAll(dir / "red.jpg", MakeJpeg({}, [](int, int) { return Rgb {255, 0, 0}; }));
    ASSERT_EQ(image.LoadPictureFile(dir / "red.jpg", frame.data(), nWidth, nHeight), 1);
    EXPECT_EQ(nWidth, 720);
    EXPECT_EQ(nHeight, 248);
    EXPECT_LE(frame[0], 2);
    EXPECT_GE(frame[2], 253);
    EXPECT_FALSE(std::filesystem::exists(dir / "test.jpg"));
}
