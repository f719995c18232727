#include "image/jpeg.h"

#include <csetjmp>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
#include <utility>

#include <fcntl.h>
#include <jpeglib.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// The library's standard error manager, extended by the one place a fatal error
// jumps back to.
struct CErrorMgr {
    jpeg_error_mgr pub;
    std::jmp_buf jump;
};

// Replaces the library's error exit, which would end the program: the message is
// dropped, and control goes back to DecodeStream.
[[noreturn]] void ErrorExit(j_common_ptr pInfo)
{
    std::longjmp(reinterpret_cast<CErrorMgr*>(pInfo->err)->jump, 1);
}

// Warnings (recoverable corrupt data) are neither shown nor printed.
void DropMessage(j_common_ptr) {}

// Called by the library between chunks of input: a file that keeps sending scans
// is ended through the error exit once it passes the scan limit.
void LimitScans(j_common_ptr pInfo)
{
    if (pInfo->is_decompressor
        && reinterpret_cast<j_decompress_ptr>(pInfo)->input_scan_number > CJpeg::MAX_SCANS) {
        pInfo->err->msg_code = 0;
        (*pInfo->err->error_exit)(pInfo);
    }
}

// Colour and greyscale pictures are asked for as red, green, blue; anything else
// (CMYK, YCCK, unknown component layouts) is refused.
bool RequestRgb(jpeg_decompress_struct& info)
{
    const bool bGrey = info.jpeg_color_space == JCS_GRAYSCALE && info.num_components == 1;
    const bool bColour = (info.jpeg_color_space == JCS_YCbCr || info.jpeg_color_space == JCS_RGB)
                         && info.num_components == 3;
    if (!bGrey && !bColour)
        return false;
    info.out_color_space = JCS_RGB;
    return true;
}

// The picture itself must be of a size a recorder frame can have, whatever
// the scale it is decoded at.
bool SourceFits(const jpeg_decompress_struct& info)
{
    return info.image_width <= static_cast<unsigned>(CJpeg::MAX_WIDTH)
           && info.image_height <= static_cast<unsigned>(CJpeg::MAX_HEIGHT);
}

bool OutputFits(const jpeg_decompress_struct& info, std::size_t nCapacity)
{
    if (info.output_components != 3 || info.output_width == 0 || info.output_height == 0)
        return false;
    // Every caller reads the output as rows of a recorder frame: a wider picture
    // would fit by its byte count and still be read as scrambled rows.
    if (info.output_width > static_cast<unsigned>(CJpeg::MAX_WIDTH)
        || info.output_height > static_cast<unsigned>(CJpeg::MAX_HEIGHT))
        return false;
    const std::uint64_t nBytes = std::uint64_t{info.output_width} * info.output_height * 3;
    return nBytes <= nCapacity;
}

// Decodes from an open file. The jump buffer is armed here and nowhere else; this
// frame holds only plain data, so jumping back into it skips no destructor, and
// the decompression object is destroyed on every way out.
// nScaleDenom 1 decodes at full size; 2, 4 and 8 use the library's scaled
// decoding, with plain upsampling of the colour planes (the output is small).
bool DecodeStream(std::FILE* pFile, unsigned char* pOut, std::size_t nCapacity, int& nWidth, int& nHeight,
                  unsigned nScaleDenom = 1)
{
    jpeg_decompress_struct info{};
    CErrorMgr err;
    jpeg_progress_mgr progress{};
    info.err = jpeg_std_error(&err.pub);
    err.pub.error_exit = ErrorExit;
    err.pub.output_message = DropMessage;
    progress.progress_monitor = LimitScans;
    if (setjmp(err.jump)) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    jpeg_create_decompress(&info);
    info.progress = &progress;
    jpeg_stdio_src(&info, pFile);
    jpeg_read_header(&info, TRUE);
    if (!RequestRgb(info)) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    if (nScaleDenom != 1) {
        info.scale_num = 1;
        info.scale_denom = nScaleDenom;
        info.do_fancy_upsampling = FALSE;
    }
    jpeg_calc_output_dimensions(&info);
    if (!SourceFits(info) || !OutputFits(info, nCapacity)) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    jpeg_start_decompress(&info);
    nWidth = static_cast<int>(info.output_width);
    nHeight = static_cast<int>(info.output_height);

    // One scan line at a time through one row of the library's memory, copied to
    // its own row of the caller's buffer (the size check above makes every row
    // fit). The library writes rows that start on a 16-byte boundary with stores
    // that bypass the cache; the row therefore starts one byte past such a
    // boundary, so that it stays in the cache, and so does the picture it is
    // copied into, for the red/blue swap that every caller runs next.
    const std::size_t nRowBytes = std::size_t{info.output_width} * 3;
    auto* pBlock = static_cast<unsigned char*>(
        (*info.mem->alloc_small)(reinterpret_cast<j_common_ptr>(&info), JPOOL_IMAGE, nRowBytes + 1));
    JSAMPROW pRow = pBlock + 1;
    while (info.output_scanline < info.output_height) {
        unsigned char* pDest = pOut + std::size_t{info.output_scanline} * nRowBytes;
        if (jpeg_read_scanlines(&info, &pRow, 1) != 1) {
            jpeg_destroy_decompress(&info);
            return false;
        }
        std::memcpy(pDest, pRow, nRowBytes);
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    return true;
}

// Opens a regular file of at most MAX_FILE_BYTES for reading. Opening does not
// wait (a named pipe in the picture's place would block a plain open), and a
// file far larger than any picture is not read through.
std::FILE* OpenPictureFile(const std::string& strPath)
{
    const int fd = ::open(strPath.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return nullptr;
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || st.st_size > CJpeg::MAX_FILE_BYTES) {
        ::close(fd);
        return nullptr;
    }
    std::FILE* pFile = ::fdopen(fd, "rb");
    if (!pFile)
        ::close(fd);
    return pFile;
}

struct CFileCloser {
    void operator()(std::FILE* pFile) const { std::fclose(pFile); }
};

} // namespace

unsigned char* CJpeg::DecodeFile(const std::string& strPath, unsigned char* pRgbOut, int& nWidth, int& nHeight,
                                 std::size_t nCapacity)
{
    nWidth = 0;
    nHeight = 0;
    if (!pRgbOut)
        return nullptr;
    std::unique_ptr<std::FILE, CFileCloser> file(OpenPictureFile(strPath));
    if (!file)
        return nullptr;
    return DecodeStream(file.get(), pRgbOut, nCapacity, nWidth, nHeight) ? pRgbOut : nullptr;
}

unsigned char* CJpeg::DecodeFileScaled(const std::string& strPath, int nScaleDenom, unsigned char* pRgbOut,
                                       int& nWidth, int& nHeight, std::size_t nCapacity)
{
    nWidth = 0;
    nHeight = 0;
    if (!pRgbOut || (nScaleDenom != 1 && nScaleDenom != 2 && nScaleDenom != 4 && nScaleDenom != 8))
        return nullptr;
    std::unique_ptr<std::FILE, CFileCloser> file(OpenPictureFile(strPath));
    if (!file)
        return nullptr;
    return DecodeStream(file.get(), pRgbOut, nCapacity, nWidth, nHeight, static_cast<unsigned>(nScaleDenom))
               ? pRgbOut
               : nullptr;
}

int CJpeg::SwapRedBlue(unsigned char* pBuffer, unsigned nWidth, unsigned nHeight, std::size_t nCapacity)
{
    if (!pBuffer)
        return 0;
    const std::uint64_t nPixels = std::uint64_t{nWidth} * nHeight;
    if (nPixels > nCapacity / 3)
        return 0;
    unsigned char* const pEnd = pBuffer + nPixels * 3;
    for (unsigned char* p = pBuffer; p < pEnd; p += 3)
        std::swap(p[0], p[2]);
    return 1;
}
