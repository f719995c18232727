// Test pictures made with the JPEG compressor: every variant the decoder meets,
// written by the tests themselves.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>

using Rgb = std::array<std::uint8_t, 3>;
using PixelFn = std::function<Rgb(int x, int y)>;

struct JpegOptions {
    enum class Colour { Rgb, Grey, Cmyk, Ycck };
    int nWidth = 720;
    int nHeight = 248;
    Colour colour = Colour::Rgb;
    int nQuality = 100;
    bool bFullChroma = true;  // 4:4:4 instead of the compressor's 4:2:0
    bool bProgressive = false; // the compressor's usual progressive script
    int nScans = 0;            // > 0: a progressive script of exactly this many scans (4 to 696)
    int nRestartRows = 0;      // > 0: a restart marker every that many MCU rows
};

// The compressed bytes of the picture fnPixel paints (red, green, blue; a grey
// picture takes the red byte).
std::string MakeJpeg(const JpegOptions& options, const PixelFn& fnPixel);

// An 8 x 8-block pattern that compresses almost without loss at full quality
// and tells every block row and column apart.
Rgb BlockPattern(int x, int y);
