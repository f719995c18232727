#include "fileviewer/thumbnailmaker.h"

#include "image/vximage.h"

#include <array>
#include <cstring>
#include <new>

namespace {

// The visible area of a recorder frame, as the picture object crops it.
constexpr int VISIBLE_LEFT = 9;
constexpr int VISIBLE_TOP = 17;
constexpr std::uint8_t EMPTY_GREY = 160;

// The frame column (and row) of each thumbnail column (and row): the pixel a
// plain shrink of the display picture keeps.
constexpr std::array<int, CThumbnailMaker::WIDTH> FrameColumns()
{
    std::array<int, CThumbnailMaker::WIDTH> columns {};
    for (int x = 0; x < CThumbnailMaker::WIDTH; ++x)
        columns[static_cast<std::size_t>(x)] = VISIBLE_LEFT + x * CVXImage::DISPLAY_WIDTH / CThumbnailMaker::WIDTH;
    return columns;
}

constexpr std::array<int, CThumbnailMaker::HEIGHT> FrameRows()
{
    std::array<int, CThumbnailMaker::HEIGHT> rows {};
    for (int y = 0; y < CThumbnailMaker::HEIGHT; ++y)
        rows[static_cast<std::size_t>(y)] = VISIBLE_TOP + y * CVXImage::DISPLAY_HEIGHT / CThumbnailMaker::HEIGHT;
    return rows;
}

constexpr auto FRAME_COLUMNS = FrameColumns();
constexpr auto FRAME_ROWS = FrameRows();

} // namespace

CThumbnailMaker::CThumbnailMaker()
    : m_pScaled(new (std::nothrow) std::uint8_t[CJpeg::FRAME_BYTES / (SCALE_DENOM * SCALE_DENOM)])
{
}

bool CThumbnailMaker::Make(const std::string& strPath, std::uint8_t* pOut)
{
    int nWidth = 0;
    int nHeight = 0;
    const std::size_t nCapacity = CJpeg::FRAME_BYTES / (SCALE_DENOM * SCALE_DENOM);
    if (!m_pScaled || !m_jpeg.DecodeFileScaled(strPath, SCALE_DENOM, m_pScaled.get(), nWidth, nHeight, nCapacity)) {
        FillEmpty(pOut);
        return false;
    }
    Pick(m_pScaled.get(), nWidth, nHeight, SCALE_DENOM, pOut);
    return true;
}

void CThumbnailMaker::Pick(const std::uint8_t* pRgb, int nWidth, int nHeight, int nScaleDenom, std::uint8_t* pOut)
{
    for (int y = 0; y < HEIGHT; ++y) {
        const int nRow = FRAME_ROWS[static_cast<std::size_t>(y)] / nScaleDenom;
        std::uint8_t* pDest = pOut + static_cast<std::size_t>(y) * WIDTH * 3;
        for (int x = 0; x < WIDTH; ++x, pDest += 3) {
            const int nColumn = FRAME_COLUMNS[static_cast<std::size_t>(x)] / nScaleDenom;
            if (nRow >= nHeight || nColumn >= nWidth) {
                pDest[0] = pDest[1] = pDest[2] = 0;
                continue;
            }
            const std::uint8_t* pSource = pRgb + (static_cast<std::size_t>(nRow) * nWidth + nColumn) * 3;
            pDest[0] = pSource[2];
            pDest[1] = pSource[1];
            pDest[2] = pSource[0];
        }
    }
}

void CThumbnailMaker::FillEmpty(std::uint8_t* pOut)
{
    std::memset(pOut, EMPTY_GREY, BYTES);
}
