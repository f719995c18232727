// CJpeg on arbitrary files: the output never passes the caller's buffer (a
// recorder frame's 535,680 bytes, and a smaller one), a width above 720 or a
// height above 248 is never decoded, and a hostile progressive file is cut off
// at its scan limit; the same for the scaled decode of the thumbnails.
#include "fuzztempdir.h"

#include "image/jpeg.h"

#include <cstdint>
#include <memory>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* pData, std::size_t nSize)
{
    const std::string strPath = FuzzTempDir() + "picture.jpg";
    FuzzWriteFile(strPath, std::string(reinterpret_cast<const char*>(pData), nSize));
    for (const std::size_t nCapacity : {CJpeg::FRAME_BYTES, std::size_t {100 * 75 * 3}}) {
        // Exactly the capacity, so a write past it is caught.
        auto pOut = std::make_unique<unsigned char[]>(nCapacity);
        int nWidth = 0;
        int nHeight = 0;
        CJpeg jpeg;
        if (jpeg.DecodeFile(strPath, pOut.get(), nWidth, nHeight, nCapacity)) {
            if (nWidth <= 0 || nHeight <= 0 || nWidth > CJpeg::MAX_WIDTH || nHeight > CJpeg::MAX_HEIGHT
                || static_cast<std::size_t>(nWidth) * nHeight * 3 > nCapacity)
                __builtin_trap();
            jpeg.SwapRedBlue(pOut.get(), static_cast<unsigned>(nWidth), static_cast<unsigned>(nHeight), nCapacity);
        }
    }
    // The thumbnails' quarter-size decode, into a thumbnail-sized buffer.
    for (const int nScale : {2, 4}) {
        const std::size_t nCapacity = CJpeg::FRAME_BYTES / (nScale * nScale);
        auto pOut = std::make_unique<unsigned char[]>(nCapacity);
        int nWidth = 0;
        int nHeight = 0;
        if (CJpeg().DecodeFileScaled(strPath, nScale, pOut.get(), nWidth, nHeight, nCapacity)
            && (nWidth <= 0 || nHeight <= 0 || static_cast<std::size_t>(nWidth) * nHeight * 3 > nCapacity))
            __builtin_trap();
    }
    return 0;
}
