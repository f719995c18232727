// Thumbnails: the scaled decode they are made from, and how close they come
// to a plain shrink of the full-size display picture.
#include "fileviewer/thumbnailmaker.h"
#include "fixtures/tempdir.h"
#include "../image/jpegmaker.h"
#include "image/vximage.h"
#include "sim/simpicture.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

namespace {

std::string CameraPicture(const CTempDir& dir, int nCamera)
{
    std::vector<std::uint8_t> rgb(CSimPicture::FRAME_BYTES);
    CSimPicture::Render(nCamera, SimDateTime {2004, 1, 23, 12, 0, 0}, 0, rgb.data());
    const std::string strPath = dir / ("camera" + std::to_string(nCamera) + ".jpg");
    WriteAll(strPath, CSimPicture::Encode(rgb.data()));
    return strPath;
}

} // namespace

TEST(ScaledDecode, ReducesByTheLibrarysScalesWithinTheFrameLimits)
{
    CTempDir dir;
    const std::string strPath = CameraPicture(dir, 5);
    CJpeg jpeg;
    std::vector<std::uint8_t> out(CJpeg::FRAME_BYTES);
    const struct {
        int nScale;
        int nWidth;
        int nHeight;
    } cases[] = {{1, 720, 248}, {2, 360, 124}, {4, 180, 62}, {8, 90, 31}, {3, 0, 0}, {0, 0, 0}};
    for (const auto& c : cases) {
        int nWidth = -1;
        int nHeight = -1;
        const bool bDecoded = jpeg.DecodeFileScaled(strPath, c.nScale, out.data(), nWidth, nHeight) != nullptr;
        EXPECT_EQ(bDecoded, c.nWidth != 0) << c.nScale;
        EXPECT_EQ(nWidth, c.nWidth) << c.nScale;
        EXPECT_EQ(nHeight, c.nHeight) << c.nScale;
    }
    // The output must fit the caller's buffer.
    int nWidth = 0;
    int nHeight = 0;
    EXPECT_EQ(jpeg.DecodeFileScaled(strPath, 2, out.data(), nWidth, nHeight, 360 * 124 * 3 - 1), nullptr);
    EXPECT_NE(jpeg.DecodeFileScaled(strPath, 2, out.data(), nWidth, nHeight, 360 * 124 * 3), nullptr);
    // A picture larger than a frame is refused, though its reduction would fit.
    JpegOptions options;
    options.nWidth = 1440;
    options.nHeight = 496;
    const std::string strBig = dir / "big.jpg";
    WriteAll(strBig, MakeJpeg(options, BlockPattern));
    EXPECT_EQ(jpeg.DecodeFileScaled(strBig, 2, out.data(), nWidth, nHeight), nullptr);
    EXPECT_EQ(nWidth, 0);
}

TEST(ThumbnailMaker, PicksWhatAShrinkOfTheFullPictureKeeps)
{
    CTempDir dir;
    CThumbnailMaker maker;
    ASSERT_TRUE(maker.IsReady());
    for (int nCamera : {1, 9, 16}) {
        const std::string strPath = CameraPicture(dir, nCamera);
        std::vector<std::uint8_t> thumb(CThumbnailMaker::BYTES);
        ASSERT_TRUE(maker.Make(strPath, thumb.data()));

        // The full-size way: decode, crop, drop rows and columns.
        CVXImage image(nullptr, dir.Path());
        std::vector<std::uint8_t> frame(CVXImage::FRAME_BYTES);
        std::vector<std::uint8_t> display(CVXImage::DISPLAY_BYTES);
        int nWidth = 0;
        int nHeight = 0;
        ASSERT_TRUE(image.LoadPictureFile(strPath, frame.data(), nWidth, nHeight));
        CVXImage::CropVisible(display.data(), frame.data());
        long nDifference = 0;
        for (int y = 0; y < CThumbnailMaker::HEIGHT; ++y)
            for (int x = 0; x < CThumbnailMaker::WIDTH; ++x)
                for (int c = 0; c < 3; ++c) {
                    const std::size_t nFrom =
                        (static_cast<std::size_t>(y * CVXImage::DISPLAY_HEIGHT / CThumbnailMaker::HEIGHT)
                             * CVXImage::DISPLAY_WIDTH
                         + x * CVXImage::DISPLAY_WIDTH / CThumbnailMaker::WIDTH) * 3 + c;
                    nDifference += std::abs(thumb[(static_cast<std::size_t>(y) * CThumbnailMaker::WIDTH + x) * 3 + c]
                                            - display[nFrom]);
                }
        // The reduced decode averages each 4 x 4 block: edges differ, the
        // picture does not.
        EXPECT_LT(static_cast<double>(nDifference) / CThumbnailMaker::BYTES, 12.0) << nCamera;
    }
}

TEST(ThumbnailMaker, APictureThatDoesNotDecodeGivesTheEmptyLook)
{
    CTempDir dir;
    WriteAll(dir / "bad.jpg", "\xFF\xD8 not really");
    CThumbnailMaker maker;
    std::vector<std::uint8_t> thumb(CThumbnailMaker::BYTES, 1);
    EXPECT_FALSE(maker.Make(dir / "bad.jpg", thumb.data()));
    EXPECT_FALSE(maker.Make(dir / "missing.jpg", thumb.data()));
    std::vector<std::uint8_t> empty(CThumbnailMaker::BYTES);
    CThumbnailMaker::FillEmpty(empty.data());
    EXPECT_EQ(thumb, empty);
}
