#include "jpegdecode_bench.h"

#include "image/jpeg.h"
#include "sim/simpicture.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <ostream>
#include <string>
#include <vector>

#include <jpeglib.h>
#include <unistd.h>

namespace {

constexpr int WIDTH = CSimPicture::WIDTH;
constexpr int HEIGHT = CSimPicture::HEIGHT;

// A picture like a camera's: smooth shading, some texture and sharp-edged
// shapes, compressed the usual way (quality 75, 4:2:0).
std::vector<unsigned char> MakeCameraLikeJpeg()
{
    std::vector<JSAMPLE> pixels(static_cast<std::size_t>(WIDTH) * HEIGHT * 3);
    unsigned nNoise = 12345;
    for (int y = 0; y < HEIGHT; ++y)
        for (int x = 0; x < WIDTH; ++x) {
            nNoise = nNoise * 1103515245u + 12345u;
            const int nTexture = static_cast<int>((nNoise >> 16) % 24);
            const bool bShape = ((x / 60) + (y / 40)) % 3 == 0 && (x % 60) > 10 && (y % 40) > 8;
            JSAMPLE* p = &pixels[(static_cast<std::size_t>(y) * WIDTH + x) * 3];
            p[0] = static_cast<JSAMPLE>(bShape ? 230 : 40 + x * 150 / WIDTH + nTexture);
            p[1] = static_cast<JSAMPLE>(bShape ? 200 : 60 + y * 120 / HEIGHT + nTexture);
            p[2] = static_cast<JSAMPLE>(bShape ? 30 : 90 + (x + y) % 90 + nTexture / 2);
        }
    const std::string strBytes = CSimPicture::Encode(pixels.data(), 75);
    return {strBytes.begin(), strBytes.end()};
}

// The floor: the library alone, from bytes already in memory, each row
// decoded straight into its place in the output.
void BareDecode(const std::vector<unsigned char>& jpeg, std::vector<unsigned char>& out)
{
    jpeg_decompress_struct info{};
    jpeg_error_mgr err{};
    info.err = jpeg_std_error(&err);
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, jpeg.data(), static_cast<unsigned long>(jpeg.size()));
    jpeg_read_header(&info, TRUE);
    jpeg_start_decompress(&info);
    const std::size_t nRowBytes = std::size_t{info.output_width} * info.output_components;
    while (info.output_scanline < info.output_height) {
        JSAMPROW pRow = &out[info.output_scanline * nRowBytes];
        jpeg_read_scanlines(&info, &pRow, 1);
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
}

template <typename Fn>
double SecondsFor(int nTimes, Fn fn)
{
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < nTimes; ++i)
        fn();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

void BenchJpegDecode(std::ostream& out)
{
    const std::vector<unsigned char> jpeg = MakeCameraLikeJpeg();
    const std::filesystem::path path =
        std::filesystem::temp_directory_path() / ("jpegdecode_bench_" + std::to_string(::getpid()) + ".jpg");
    {
        std::ofstream file(path, std::ios::binary);
        file.write(reinterpret_cast<const char*>(jpeg.data()), static_cast<std::streamsize>(jpeg.size()));
    }
    std::vector<unsigned char> frame(CJpeg::FRAME_BYTES);
    CJpeg decoder;
    bool bOk = true;
    auto program = [&] {
        int nWidth = 0;
        int nHeight = 0;
        bOk = bOk && decoder.DecodeFile(path.string(), frame.data(), nWidth, nHeight) != nullptr
              && decoder.SwapRedBlue(frame.data(), static_cast<unsigned>(nWidth), static_cast<unsigned>(nHeight));
    };
    auto bare = [&] { BareDecode(jpeg, frame); };

    // Warm the caches, then alternate rounds so that both sides see the same
    // machine; the median round ratio is the figure.
    SecondsFor(20, program);
    SecondsFor(20, bare);
    constexpr int ROUNDS = 15;
    constexpr int PER_ROUND = 40;
    std::vector<double> programTimes;
    std::vector<double> bareTimes;
    std::vector<double> ratios;
    for (int r = 0; r < ROUNDS; ++r) {
        const double dBare = SecondsFor(PER_ROUND, bare);
        const double dProgram = SecondsFor(PER_ROUND, program);
        bareTimes.push_back(dBare / PER_ROUND);
        programTimes.push_back(dProgram / PER_ROUND);
        ratios.push_back(dProgram / dBare);
    }
    std::filesystem::remove(path);

    char szLine[256];
    std::snprintf(szLine, sizeof szLine,
                  "jpeg decode %dx%d (%zu bytes): DecodeFile+SwapRedBlue %.3f ms, bare libjpeg-turbo from memory "
                  "%.3f ms, ratio %.3f (goal <= 1.15)%s\n",
                  WIDTH, HEIGHT, jpeg.size(), Median(programTimes) * 1e3, Median(bareTimes) * 1e3, Median(ratios),
                  bOk ? "" : " [DECODE FAILED]");
    out << szLine;
}
