#include "sim/simpicture.h"

#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include <jpeglib.h>

namespace {

constexpr int kBandTop = 4;
constexpr int kBandRows = 6;
constexpr int kVisibleLeft = 9;
constexpr int kVisibleTop = 17;
constexpr int kVisibleRight = 704; // inclusive

// Bars of the camera mark: first and last column of each (the mark reader
// leaves the last two columns of every bar out, so edges never decide a bar).
struct Bar {
    int nLeft;
    int nRight;
};
constexpr Bar kStartBar = {73, 168};
constexpr Bar kBitBars[4] = {{265, 360}, {361, 456}, {457, 552}, {553, 648}}; // bit 3 .. bit 0

// 5 x 7 glyphs, one byte per row, bit 4 the leftmost pixel.
struct Glyph {
    char c;
    std::uint8_t rows[7];
};
constexpr Glyph kFont[] = {
    {'0', {0x0E, 0x11, 0x13, 0x15, 0x19, 0x11, 0x0E}},
    {'1', {0x04, 0x0C, 0x04, 0x04, 0x04, 0x04, 0x0E}},
    {'2', {0x0E, 0x11, 0x01, 0x02, 0x04, 0x08, 0x1F}},
    {'3', {0x1F, 0x02, 0x04, 0x02, 0x01, 0x11, 0x0E}},
    {'4', {0x02, 0x06, 0x0A, 0x12, 0x1F, 0x02, 0x02}},
    {'5', {0x1F, 0x10, 0x1E, 0x01, 0x01, 0x11, 0x0E}},
    {'6', {0x06, 0x08, 0x10, 0x1E, 0x11, 0x11, 0x0E}},
    {'7', {0x1F, 0x01, 0x02, 0x04, 0x08, 0x08, 0x08}},
    {'8', {0x0E, 0x11, 0x11, 0x0E, 0x11, 0x11, 0x0E}},
    {'9', {0x0E, 0x11, 0x11, 0x0F, 0x01, 0x02, 0x0C}},
    {'C', {0x0E, 0x11, 0x10, 0x10, 0x10, 0x11, 0x0E}},
    {'A', {0x0E, 0x11, 0x11, 0x1F, 0x11, 0x11, 0x11}},
    {'M', {0x11, 0x1B, 0x15, 0x15, 0x11, 0x11, 0x11}},
    {'F', {0x1F, 0x10, 0x10, 0x1E, 0x10, 0x10, 0x10}},
    {'/', {0x01, 0x01, 0x02, 0x04, 0x08, 0x10, 0x10}},
    {':', {0x00, 0x0C, 0x0C, 0x00, 0x0C, 0x0C, 0x00}},
    {'-', {0x00, 0x00, 0x00, 0x1F, 0x00, 0x00, 0x00}},
    {'#', {0x0A, 0x0A, 0x1F, 0x0A, 0x1F, 0x0A, 0x0A}},
};

struct Rgb {
    std::uint8_t r, g, b;
};

// A distinct, not too bright background for each camera.
constexpr Rgb kCameraColours[16] = {
    {40, 70, 140}, {140, 50, 50}, {40, 120, 60}, {120, 100, 30}, {100, 40, 120}, {30, 110, 120},
    {150, 80, 30}, {70, 70, 70}, {60, 40, 150}, {130, 40, 90}, {50, 130, 100}, {110, 110, 50},
    {80, 60, 40}, {40, 90, 90}, {120, 60, 120}, {60, 100, 40},
};

void PutPixel(std::uint8_t* pRgb, int x, int y, Rgb c)
{
    if (x < 0 || x >= CSimPicture::WIDTH || y < 0 || y >= CSimPicture::HEIGHT)
        return;
    std::uint8_t* p = pRgb + (std::size_t(y) * CSimPicture::WIDTH + x) * 3;
    p[0] = c.r;
    p[1] = c.g;
    p[2] = c.b;
}

void FillRect(std::uint8_t* pRgb, int x0, int y0, int x1, int y1, Rgb c)
{
    for (int y = y0; y <= y1; ++y) {
        for (int x = x0; x <= x1; ++x)
            PutPixel(pRgb, x, y, c);
    }
}

const Glyph* FindGlyph(char c)
{
    for (const Glyph& g : kFont) {
        if (g.c == c)
            return &g;
    }
    return nullptr;
}

// Draws text with glyphs scaled by nScale; returns the x after the text.
int DrawText(std::uint8_t* pRgb, int x, int y, const std::string& strText, int nScale, Rgb c)
{
    for (char ch : strText) {
        if (const Glyph* pGlyph = FindGlyph(ch)) {
            for (int row = 0; row < 7; ++row) {
                for (int col = 0; col < 5; ++col) {
                    if (pGlyph->rows[row] & (0x10 >> col))
                        FillRect(pRgb, x + col * nScale, y + row * nScale, x + (col + 1) * nScale - 1,
                                 y + (row + 1) * nScale - 1, c);
                }
            }
        }
        x += 6 * nScale;
    }
    return x;
}

void FillBar(std::uint8_t* pRgb, const Bar& bar, bool bWhite)
{
    const std::uint8_t v = bWhite ? 255 : 0;
    FillRect(pRgb, bar.nLeft, kBandTop, bar.nRight, kBandTop + kBandRows - 1, Rgb{v, v, v});
}

} // namespace

void CSimPicture::StampCameraMark(int nCamera, std::uint8_t* pRgb)
{
    nCamera = std::clamp(nCamera, 1, 16);
    // Black band, white start bar, black stop bar; the bits hold 16 - camera.
    FillRect(pRgb, 0, kBandTop, WIDTH - 1, kBandTop + kBandRows - 1, Rgb{0, 0, 0});
    FillBar(pRgb, kStartBar, true);
    const int nBits = 16 - nCamera;
    for (int i = 0; i < 4; ++i)
        FillBar(pRgb, kBitBars[i], (nBits >> (3 - i)) & 1);
}

void CSimPicture::Render(int nCamera, const SimDateTime& t, int nFrame, std::uint8_t* pRgb)
{
    nCamera = std::clamp(nCamera, 1, 16);
    nFrame = std::clamp(nFrame, 0, 99);
    const Rgb background = kCameraColours[nCamera - 1];
    // Outside the visible area the recorder sends black.
    std::memset(pRgb, 0, FRAME_BYTES);
    FillRect(pRgb, kVisibleLeft, kVisibleTop, kVisibleRight, HEIGHT - 1, background);
    StampCameraMark(nCamera, pRgb);

    const Rgb white{255, 255, 255};
    const Rgb yellow{255, 230, 60};
    char szCamera[16];
    std::snprintf(szCamera, sizeof szCamera, "CAM%02d", nCamera);
    DrawText(pRgb, 30, 32, szCamera, 9, white);

    char szTime[64];
    std::snprintf(szTime, sizeof szTime, "%04d/%02d/%02d %02d:%02d:%02d", t.nYear, t.nMonth, t.nDay, t.nHour,
                  t.nMinute, t.nSecond);
    DrawText(pRgb, 30, 120, szTime, 4, white);
    char szFrame[16];
    std::snprintf(szFrame, sizeof szFrame, "F%02d", nFrame);
    DrawText(pRgb, 30, 170, szFrame, 4, yellow);

    // Something that moves: a square that runs along the bottom once a minute,
    // a little further with every frame.
    const int nTrack = kVisibleRight - kVisibleLeft - 40;
    const int nStep = (t.nSecond * 30 + nFrame * 7 + nCamera * 37) % 1800;
    const int x = kVisibleLeft + 10 + nStep * nTrack / 1800;
    FillRect(pRgb, x, 206, x + 29, 235, yellow);
    FillRect(pRgb, x + 8, 214, x + 21, 227, background);
}

namespace {

struct EncodeError {
    jpeg_error_mgr pub;
    std::jmp_buf jump;
};

[[noreturn]] void EncodeErrorExit(j_common_ptr pInfo)
{
    std::longjmp(reinterpret_cast<EncodeError*>(pInfo->err)->jump, 1);
}

// The compressor with its output in memory that the library allocates; this
// frame holds only plain data, so a jump back into it skips no destructor.
bool Compress(const std::uint8_t* pRgb, int nQuality, unsigned char*& pOut, unsigned long& nOut)
{
    jpeg_compress_struct cinfo {};
    EncodeError err;
    cinfo.err = jpeg_std_error(&err.pub);
    err.pub.error_exit = EncodeErrorExit;
    if (setjmp(err.jump)) {
        jpeg_destroy_compress(&cinfo);
        return false;
    }
    jpeg_create_compress(&cinfo);
    jpeg_mem_dest(&cinfo, &pOut, &nOut);
    cinfo.image_width = CSimPicture::WIDTH;
    cinfo.image_height = CSimPicture::HEIGHT;
    cinfo.input_components = 3;
    cinfo.in_color_space = JCS_RGB;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, nQuality, TRUE);
    jpeg_start_compress(&cinfo, TRUE);
    while (cinfo.next_scanline < cinfo.image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(pRgb + std::size_t(cinfo.next_scanline) * CSimPicture::WIDTH * 3);
        jpeg_write_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    return true;
}

} // namespace

std::string CSimPicture::Encode(const std::uint8_t* pRgb, int nQuality)
{
    unsigned char* pOut = nullptr;
    unsigned long nOut = 0;
    const bool bOk = Compress(pRgb, nQuality, pOut, nOut);
    std::string bytes;
    if (bOk && pOut)
        bytes.assign(reinterpret_cast<const char*>(pOut), nOut);
    std::free(pOut);
    return bytes;
}

void CSimPicture::MakeInfo(int nCamera, const SimDateTime& t, int nFrame, std::uint8_t* pInfo)
{
    nCamera = std::clamp(nCamera, 1, 16);
    const int nDigits[] = {t.nYear % 100, t.nMonth, t.nDay, t.nHour, t.nMinute, t.nSecond,
                           std::clamp(nFrame, 0, 99)};
    // Bytes 0..4, 18..31 and 34..37 carry the recorder's own data; the program
    // does not read them.
    std::memcpy(pInfo, "VX220", 5);
    std::memcpy(pInfo + 18, "REC00000000000", 14);
    std::memcpy(pInfo + 34, "0000", 4);
    std::uint8_t* p = pInfo + 5;
    for (int i = 0; i < 7; ++i) {
        const int n = std::clamp(nDigits[i], 0, 99);
        if (i == 6)
            p = pInfo + 32; // the frame number
        *p++ = static_cast<std::uint8_t>('0' + n / 10);
        *p++ = static_cast<std::uint8_t>('0' + n % 10);
    }
    pInfo[17] = static_cast<std::uint8_t>(nCamera - 1);
}
