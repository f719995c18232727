// The thumbnails of the file viewer: a stored picture file shrunk to 100 x 75
// pixels of its visible area, rows and columns dropped, never blended.
//
// The picture is decoded at half size by the library's scaled decoding (a
// thumbnail needs far fewer pixels than a frame has) and the thumbnail's
// pixels are picked from that, at the places a shrink of the full-size display
// picture would pick them.
#pragma once

#include "image/jpeg.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

class CThumbnailMaker {
public:
    static constexpr int WIDTH = 100;
    static constexpr int HEIGHT = 75;
    static constexpr std::size_t BYTES = std::size_t {WIDTH} * HEIGHT * 3;
    // The reduction of the scaled decode: 720 x 248 frames come out at 360 x
    // 124, still more than the 100 x 75 the thumbnail keeps of them.
    static constexpr int SCALE_DENOM = 2;

    // Allocates the decode buffer once; IsReady() is false when that failed.
    CThumbnailMaker();
    bool IsReady() const { return m_pScaled != nullptr; }

    // The thumbnail of the picture file at strPath into pOut (BYTES, blue,
    // green, red, top row first). False when the file does not decode; pOut
    // then holds the empty thumbnail.
    bool Make(const std::string& strPath, std::uint8_t* pOut);

    // Picks the thumbnail out of a decoded frame of nWidth x nHeight red,
    // green, blue pixels that stands for a whole 720 x 248 recorder frame (at
    // full size or reduced); places outside it are black.
    static void Pick(const std::uint8_t* pRgb, int nWidth, int nHeight, int nScaleDenom, std::uint8_t* pOut);
    // The look of a picture that does not decode: plain grey.
    static void FillEmpty(std::uint8_t* pOut);

private:
    CJpeg m_jpeg;
    std::unique_ptr<std::uint8_t[]> m_pScaled;
};
