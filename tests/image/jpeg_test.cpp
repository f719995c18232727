#include "image/jpeg.h"

#include "fixtures/scriptedprompter.h"
#include "fixtures/tempdir.h"
#include "jpegmaker.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <vector>

#include <sys/stat.h>

namespace {

constexpr unsigned char SENTINEL = 0xA5;

int OpenFileCount()
{
    int n = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator("/proc/self/fd"))
        ++n;
    return n;
}

// Largest difference between the decoded picture and what fnPixel painted.
int WorstDifference(const std::vector<unsigned char>& rgb, int nWidth, int nHeight, const PixelFn& fnPixel)
{
    int nWorst = 0;
    for (int y = 0; y < nHeight; ++y)
        for (int x = 0; x < nWidth; ++x) {
            const Rgb want = fnPixel(x, y);
            const unsigned char* p = &rgb[(static_cast<std::size_t>(y) * nWidth + x) * 3];
            for (int c = 0; c < 3; ++c)
                nWorst = std::max(nWorst, std::abs(int{p[c]} - int{want[c]}));
        }
    return nWorst;
}

Rgb GreyPattern(int x, int y)
{
    const std::uint8_t v = BlockPattern(x, y)[0];
    return {v, v, v};
}

} // namespace

TEST(Jpeg, DecodesEveryVariantTopRowFirstIntoExactlyItsBytes)
{
    struct Case {
        const char* pszName;
        JpegOptions options;
        PixelFn fnPixel;
    } cases[] = {
        {"baseline frame", {}, BlockPattern},
        {"progressive", {.bProgressive = true}, BlockPattern},
        {"scan limit exactly", {.nScans = CJpeg::MAX_SCANS}, BlockPattern},
        {"restart markers", {.nRestartRows = 1}, BlockPattern},
        {"greyscale as colour", {.colour = JpegOptions::Colour::Grey}, GreyPattern},
        {"narrow rows not padded", {.nWidth = 37, .nHeight = 19}, BlockPattern},
    };
    CTempDir dir;
    CScriptedPrompter prompter;
    const int nFiles = OpenFileCount();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pszName);
        const std::string strPath = dir / "picture.jpg";
        WriteAll(strPath, MakeJpeg(c.options, c.fnPixel));
        std::vector<unsigned char> rgb(CJpeg::FRAME_BYTES + 64, SENTINEL);
        int nWidth = -1;
        int nHeight = -1;
        CJpeg jpeg;
        ASSERT_EQ(jpeg.DecodeFile(strPath, rgb.data(), nWidth, nHeight), rgb.data());
        EXPECT_EQ(nWidth, c.options.nWidth);
        EXPECT_EQ(nHeight, c.options.nHeight);
        EXPECT_LE(WorstDifference(rgb, nWidth, nHeight, c.fnPixel), 4);
        const std::size_t nBytes = static_cast<std::size_t>(nWidth) * nHeight * 3;
        for (std::size_t i = nBytes; i < rgb.size(); ++i)
            ASSERT_EQ(rgb[i], SENTINEL) << "written past the picture at " << i;
    }
    EXPECT_EQ(OpenFileCount(), nFiles);
    EXPECT_TRUE(prompter.Asks().empty());
}

TEST(Jpeg, RefusesWhatItCannotHoldWithoutTouchingTheBufferOrAFile)
{
    const std::string strFrame = MakeJpeg({}, BlockPattern);
    struct Case {
        const char* pszName;
        std::string strBytes;
    } cases[] = {
        {"one column too wide", MakeJpeg({.nWidth = 721, .nHeight = 248}, BlockPattern)},
        {"one row too tall", MakeJpeg({.nWidth = 720, .nHeight = 249}, BlockPattern)},
        // A frame's bytes exactly, but not a frame's rows.
        {"twice as wide, half as tall", MakeJpeg({.nWidth = 1440, .nHeight = 124}, BlockPattern)},
        {"a frame's bytes in 744 columns", MakeJpeg({.nWidth = 744, .nHeight = 240}, BlockPattern)},
        {"far too large", MakeJpeg({.nWidth = 2000, .nHeight = 1000, .nQuality = 10}, BlockPattern)},
        {"CMYK", MakeJpeg({.colour = JpegOptions::Colour::Cmyk}, BlockPattern)},
        {"YCCK", MakeJpeg({.colour = JpegOptions::Colour::Ycck}, BlockPattern)},
        {"one scan past the limit", MakeJpeg({.nScans = CJpeg::MAX_SCANS + 1}, BlockPattern)},
        {"many-scan progressive", MakeJpeg({.nScans = 696}, BlockPattern)},
        {"cut inside the header", strFrame.substr(0, 120)},
        {"empty file", ""},
        {"not a JPEG", "This is a text file, not a picture.\n"},
    };
    CTempDir dir;
    CScriptedPrompter prompter;
    const int nFiles = OpenFileCount();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pszName);
        const std::string strPath = dir / "picture.jpg";
        WriteAll(strPath, c.strBytes);
        std::vector<unsigned char> rgb(CJpeg::FRAME_BYTES, SENTINEL);
        int nWidth = -1;
        int nHeight = -1;
        EXPECT_EQ(CJpeg().DecodeFile(strPath, rgb.data(), nWidth, nHeight), nullptr);
        EXPECT_EQ(nWidth, 0);
        EXPECT_EQ(nHeight, 0);
        EXPECT_EQ(std::count(rgb.begin(), rgb.end(), SENTINEL), static_cast<std::ptrdiff_t>(rgb.size()));
    }
    int nWidth = -1;
    int nHeight = -1;
    std::vector<unsigned char> rgb(CJpeg::FRAME_BYTES);
    EXPECT_EQ(CJpeg().DecodeFile(dir / "missing.jpg", rgb.data(), nWidth, nHeight), nullptr);
    EXPECT_EQ(nWidth, 0);
    EXPECT_EQ(CJpeg().DecodeFile(dir.Path(), rgb.data(), nWidth, nHeight), nullptr);
    // A named pipe with no writer would block a plain open for ever.
    ASSERT_EQ(::mkfifo((dir / "pipe.jpg").c_str(), 0600), 0);
    EXPECT_EQ(CJpeg().DecodeFile(dir / "pipe.jpg", rgb.data(), nWidth, nHeight), nullptr);
    // A good picture with a long tail is refused by its size alone.
    WriteAll(dir / "long.jpg", strFrame);
    ASSERT_NE(CJpeg().DecodeFile(dir / "long.jpg", rgb.data(), nWidth, nHeight), nullptr);
    std::filesystem::resize_file(dir / "long.jpg", CJpeg::MAX_FILE_BYTES + 1);
    EXPECT_EQ(CJpeg().DecodeFile(dir / "long.jpg", rgb.data(), nWidth, nHeight), nullptr);
    EXPECT_EQ(OpenFileCount(), nFiles);
    EXPECT_TRUE(prompter.Asks().empty());
}

TEST(Jpeg, TruncatedPictureDecodesWhatArrivedSilently)
{
    // The library fills in what is missing and warns; the warning neither stops
    // the decode nor reaches the terminal.
    const std::string strBytes = MakeJpeg({}, BlockPattern);
    CTempDir dir;
    WriteAll(dir / "cut.jpg", strBytes.substr(0, strBytes.size() * 6 / 10));
    std::vector<unsigned char> rgb(CJpeg::FRAME_BYTES);
    int nWidth = 0;
    int nHeight = 0;
    testing::internal::CaptureStderr();
    ASSERT_NE(CJpeg().DecodeFile(dir / "cut.jpg", rgb.data(), nWidth, nHeight), nullptr);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    EXPECT_EQ(nWidth, 720);
    EXPECT_EQ(nHeight, 248);
    EXPECT_LE(WorstDifference(rgb, 720, 100, BlockPattern), 4);
}

TEST(Jpeg, BufferSmallerThanTheOutputIsRefused)
{
    CTempDir dir;
    WriteAll(dir / "small.jpg", MakeJpeg({.nWidth = 37, .nHeight = 19}, BlockPattern));
    const std::size_t nExact = 37 * 19 * 3;
    std::vector<unsigned char> exact(nExact);
    std::vector<unsigned char> shortBy1(nExact - 1);
    int nWidth = 0;
    int nHeight = 0;
    CJpeg jpeg;
    EXPECT_EQ(jpeg.DecodeFile(dir / "small.jpg", exact.data(), nWidth, nHeight, exact.size()), exact.data());
    EXPECT_EQ(jpeg.DecodeFile(dir / "small.jpg", shortBy1.data(), nWidth, nHeight, shortBy1.size()), nullptr);
    EXPECT_EQ(jpeg.DecodeFile(dir / "small.jpg", nullptr, nWidth, nHeight), nullptr);
}

TEST(Jpeg, SwapRedBlueTurnsDecodedRedIntoBlueGreenRedOrder)
{
    CTempDir dir;
    WriteAll(dir / "red.jpg", MakeJpeg({.nWidth = 24, .nHeight = 16}, [](int, int) { return Rgb{255, 0, 0}; }));
    std::vector<unsigned char> rgb(CJpeg::FRAME_BYTES);
    int nWidth = 0;
    int nHeight = 0;
    CJpeg jpeg;
    ASSERT_NE(jpeg.DecodeFile(dir / "red.jpg", rgb.data(), nWidth, nHeight), nullptr);
    const std::vector<unsigned char> decoded = rgb;
    EXPECT_EQ(jpeg.SwapRedBlue(rgb.data(), nWidth, nHeight), 1);
    for (int i = 0; i < nWidth * nHeight; ++i) {
        ASSERT_LE(rgb[i * 3], 2) << i;
        ASSERT_LE(rgb[i * 3 + 1], 2) << i;
        ASSERT_GE(rgb[i * 3 + 2], 253) << i;
    }
    EXPECT_EQ(jpeg.SwapRedBlue(rgb.data(), nWidth, nHeight), 1);
    EXPECT_EQ(rgb, decoded);

    EXPECT_EQ(jpeg.SwapRedBlue(nullptr, 720, 248), 0);
    EXPECT_EQ(jpeg.SwapRedBlue(rgb.data(), 720, 249), 0); // more than any picture buffer holds
    EXPECT_EQ(jpeg.SwapRedBlue(rgb.data(), 0x10000, 0x10000), 0);
    EXPECT_EQ(rgb, decoded);
}
