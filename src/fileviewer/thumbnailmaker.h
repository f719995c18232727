// The thumbnails of the file viewer: a stored picture file shrunk to 100 x 75
// pixels of its visible area, rows and columns dropped, never blended.
//
// The picture is decoded at a quarter of its size by the library's scaled
// decoding (a thumbnail needs far fewer pixels than a frame has; each pixel
// of the reduced picture stands for a 4 x 4 block of the frame, which keeps
// thin lines and small text readable) and the thumbnail's pixels are picked
// from that, at the places a shrink of the full-size display picture would
// pick them.
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
    // The reduction of the scaled decode: 720 x 248 frames come out at 180 x
    // 62 (the visible area 174 x 58; the recorder's frames are half-height
    // fields, so the thumbnail's 75 rows repeat some of them).
    static constexpr int SCALE_DENOM = 4;

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
