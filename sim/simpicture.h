// The simulator's recorded pictures: a 720 x 248 colour frame per camera and
// moment, carrying the camera's bar mark in rows 4 to 9 the way the recorder
// stamps it, and in its visible area the camera number, the recording time and
// a marker that moves with every frame; encoded as a JPEG file.
#pragma once

#include "sim/simclock.h"

#include <cstddef>
#include <cstdint>
#include <string>

class CSimPicture {
public:
    static constexpr int WIDTH = 720;
    static constexpr int HEIGHT = 248;
    static constexpr std::size_t FRAME_BYTES = std::size_t(WIDTH) * HEIGHT * 3;
    static constexpr int INFO_SIZE = 38;

    // Renders camera nCamera (1..16) at time t, frame nFrame (0..99 within its
    // second) into pRgb (FRAME_BYTES, red-green-blue order, top row first).
    static void Render(int nCamera, const SimDateTime& t, int nFrame, std::uint8_t* pRgb);

    // The bar mark of camera nCamera in rows 4 to 9: start bar white, stop bar
    // black, four bit bars holding 16 - camera (white = 1).
    static void StampCameraMark(int nCamera, std::uint8_t* pRgb);

    // Encodes an RGB frame as a baseline JPEG; empty if the encoder fails.
    static std::string Encode(const std::uint8_t* pRgb, int nQuality = 90);

    // The 38-byte information record: bytes 5..16 the time as YYMMDDhhmmss,
    // byte 17 camera - 1, bytes 32..33 the frame number as two digits.
    static void MakeInfo(int nCamera, const SimDateTime& t, int nFrame, std::uint8_t* pInfo);
};
