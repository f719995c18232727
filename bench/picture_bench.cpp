#include "picture_bench.h"

#include "alloccount.h"
#include "image/vximage.h"
#include "link/vx2200ctrl.h"
#include "platform/scratchdir.h"
#include "sim/recordersim.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
using Operation = std::function<bool()>;

constexpr int FLOOR_TRIPS = 20; // round trips per floor sample
constexpr double TICK_MS = 33.0;
constexpr double CHUNK_GOAL = 1.25;

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.empty() ? 0.0 : values[values.size() / 2];
}

// The median time in microseconds of each operation over nRounds rounds in
// which the operations take turns; nullopt when one of them failed.
std::optional<std::vector<double>> MedianUs(const std::vector<Operation>& ops, int nRounds, int nWarmUp)
{
    for (int i = 0; i < nWarmUp; ++i) {
        for (const Operation& op : ops) {
            if (!op())
                return std::nullopt;
        }
    }
    std::vector<std::vector<double>> times(ops.size());
    for (int i = 0; i < nRounds; ++i) {
        for (std::size_t n = 0; n < ops.size(); ++n) {
            const auto t0 = Clock::now();
            if (!ops[n]())
                return std::nullopt;
            times[n].push_back(std::chrono::duration<double, std::micro>(Clock::now() - t0).count());
        }
    }
    std::vector<double> medians;
    for (const auto& t : times)
        medians.push_back(Median(t));
    return medians;
}

// The chunks the recorder sends for a picture of nSize bytes.
int ChunksFor(int nSize)
{
    return nSize / 1024 + (nSize % 1024 != 0 ? 1 : 0);
}

// Bytes that do not compress: a picture of exactly the largest size.
std::string LargestPicture()
{
    std::string str(CVX2200Ctrl::PICTURE_BUFFER_BYTES, '\0');
    unsigned n = 12345;
    for (char& ch : str) {
        n = n * 1103515245u + 12345u;
        ch = static_cast<char>(n >> 16);
    }
    return str;
}

// One upload (JU and its chunks) of the picture at the position, against the
// floor; prints the time per chunk and its ratio to the floor.
bool BenchUpload(std::ostream& out, const char* pszName, CVX2200Ctrl& ctrl, const Operation& fnFloor, int nRounds)
{
    const auto pBuffer = std::make_unique<std::uint8_t[]>(CVX2200Ctrl::PICTURE_BUFFER_BYTES);
    int nSize = 0;
    const Operation upload = [&] { return ctrl.PictureUpload(pBuffer.get(), nSize) == 0 && nSize > 0; };
    const auto us = MedianUs({fnFloor, upload}, nRounds, 3);
    if (!us)
        return false;
    const double dFloorUs = (*us)[0] / FLOOR_TRIPS;
    const int nChunks = ChunksFor(nSize);
    const double dChunkUs = (*us)[1] / nChunks;
    char sz[256];
    std::snprintf(sz, sizeof sz,
                  "picture upload, %s (%d bytes, %d chunks): %.2f ms, %.1f us per chunk, floor %.1f us, "
                  "ratio %.2f (goal <= %.2f)\n",
                  pszName, nSize, nChunks, (*us)[1] / 1000, dChunkUs, dFloorUs, dChunkUs / dFloorUs, CHUNK_GOAL);
    out << sz;
    return true;
}

// The whole fetch of the latest picture as a page makes it: transfer, test.jpg,
// decode, mark, and the visible area cut out.
bool BenchFetch(std::ostream& out, CVX2200Ctrl& ctrl)
{
    const CScratchDir folder("vx2200bench");
    CVXImage image(&ctrl, folder.Path());
    std::uint8_t info[CVXImage::INFO_SIZE] = {};
    const auto pFrame = std::make_unique<std::uint8_t[]>(CVXImage::FRAME_BYTES);
    const auto pDisplay = std::make_unique<std::uint8_t[]>(CVXImage::DISPLAY_BYTES);
    const auto pBuffer = std::make_unique<std::uint8_t[]>(CVX2200Ctrl::PICTURE_BUFFER_BYTES);
    const Operation fetch = [&] {
        if (!image.FetchPicture(info, pFrame.get(), 6))
            return false;
        CVXImage::CropVisible(pDisplay.get(), pFrame.get());
        return true;
    };
    const auto us = MedianUs({fetch}, 200, 10);
    if (folder.Path().empty() || !us)
        return false;
    const double dMs = (*us)[0] / 1000;
    char sz[256];
    std::snprintf(sz, sizeof sz, "FetchPicture + CropVisible, latest picture (%d bytes): %.2f ms; a %.0f-ms tick holds %d\n",
                  image.GetLastFileSize(), dMs, TICK_MS, static_cast<int>(TICK_MS / dMs));
    out << sz;

    // Allocations by this thread for one picture, once everything is warm.
    long long nFetch = 0;
    long long nTransfer = 0;
    long long nDecode = 0;
    {
        const CAllocCount count;
        fetch();
        nFetch = count.Count();
    }
    {
        int nSize = 0;
        const CAllocCount count;
        ctrl.TransferPicture(info, pBuffer.get(), nSize, 6, 0, 0, 0, 0, 0, 0);
        nTransfer = count.Count();
    }
    {
        int nWidth = 0;
        int nHeight = 0;
        const CAllocCount count;
        image.LoadPictureFile(image.GetTestFilePath(), pFrame.get(), nWidth, nHeight);
        nDecode = count.Count();
    }
    // The receives of one transfer: the move's acknowledge, the record, the
    // size frame, and per chunk its header, its data and its trailer.
    const int nReceives = 3 + 3 * ChunksFor(image.GetLastFileSize());
    std::snprintf(sz, sizeof sz,
                  "allocations (operator new, this thread) per picture: FetchPicture %lld (goal 0); of them "
                  "TransferPicture %lld over its %d socket receives, decoding test.jpg %lld\n",
                  nFetch, nTransfer, nReceives, nDecode);
    out << sz;
    return true;
}

} // namespace

bool BenchPictures(std::ostream& out, CVX2200Ctrl& ctrl, CRecorderSim& sim, const std::function<bool()>& fnRoundTrip)
{
    const Operation floor = [&] {
        for (int i = 0; i < FLOOR_TRIPS; ++i) {
            if (!fnRoundTrip())
                return false;
        }
        return true;
    };
    sim.SetFixedPicture(std::nullopt);
    if (ctrl.PictureStep(6) != 0 || !BenchUpload(out, "typical", ctrl, floor, 400))
        return false;
    sim.SetFixedPicture(LargestPicture());
    if (!BenchUpload(out, "largest", ctrl, floor, 40))
        return false;
    sim.SetFixedPicture(std::nullopt);
    return BenchFetch(out, ctrl);
}
