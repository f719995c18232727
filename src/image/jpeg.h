// JPEG decoding for every picture the program shows, prints or crops: the
// file test.jpg written after each transfer from the recorder, and the picture
// files of the PC store. The program only decodes; it never compresses.
#pragma once

#include <cstddef>
#include <string>

class CJpeg {
public:
    // One recorder frame, 720 x 248 pixels of 3 bytes: the size of every picture
    // buffer of the program and so, unless told otherwise, the most DecodeFile
    // writes.
    static constexpr int MAX_WIDTH = 720;
    static constexpr int MAX_HEIGHT = 248;
    static constexpr std::size_t FRAME_BYTES = MAX_WIDTH * MAX_HEIGHT * 3;
    // A progressive file with more scans than this is given up. Real encoders
    // write about ten; the limit only stops files built to keep the decoder busy.
    static constexpr int MAX_SCANS = 100;
    // A file larger than this is not read: no picture the program can hold comes
    // near it, and reading it through would only keep the decoder busy.
    static constexpr long long MAX_FILE_BYTES = 16LL * 1024 * 1024;

    // Decodes the file at strPath into pRgbOut: 3 bytes per pixel in red, green,
    // blue order, top row first, rows of exactly width x 3 bytes back to back.
    // Returns pRgbOut, or nullptr when the file cannot be opened or decoded.
    // nWidth and nHeight are 0 on entry and become the picture's size once
    // decoding has started. A picture wider than MAX_WIDTH or taller than
    // MAX_HEIGHT (no recorder frame is), or whose output would not fit nCapacity
    // bytes, is refused before anything is written; greyscale pictures come out as
    // colour, CMYK and YCCK pictures are refused, and so is anything that is not
    // a regular file of at most MAX_FILE_BYTES. No message is ever shown.
    unsigned char* DecodeFile(const std::string& strPath, unsigned char* pRgbOut, int& nWidth, int& nHeight,
                              std::size_t nCapacity = FRAME_BYTES);

    // Decodes the file at strPath reduced by nScaleDenom (1, 2, 4 or 8) with the
    // library's scaled decoding, which is much cheaper than decoding at full size
    // and shrinking: a picture of 720 x 248 comes out at 360 x 124 for 2. The
    // limits are those of DecodeFile, applied to the picture's own size and to
    // the output; any other scale is refused. The output is red, green, blue.
    unsigned char* DecodeFileScaled(const std::string& strPath, int nScaleDenom, unsigned char* pRgbOut,
                                    int& nWidth, int& nHeight, std::size_t nCapacity = FRAME_BYTES);

    // Exchanges the first and third byte of each of the nWidth x nHeight pixels
    // in place, turning the decoder's red, green, blue into the blue, green, red
    // that the drawing code expects (and back). Returns 0 and changes nothing
    // when pBuffer is null or the pixels would not fit nCapacity bytes.
    int SwapRedBlue(unsigned char* pBuffer, unsigned nWidth, unsigned nHeight,
                    std::size_t nCapacity = FRAME_BYTES);
};
