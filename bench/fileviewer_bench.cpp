#include "fileviewer_bench.h"

#include "app/vx2200net.h"
#include "fileviewer/fileviewdlg.h"
#include "platform/scratchdir.h"
#include "sim/simpicture.h"
#include "store/filedbase.h"
#include "store/picturestamp.h"
#include "store/storewalk.h"

#include <QApplication>
#include <QComboBox>
#include <QDateEdit>
#include <QListWidget>
#include <QTimer>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include <jpeglib.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

using Clock = std::chrono::steady_clock;

constexpr int CAMERAS = 16;
constexpr int PICTURES = 100000;
constexpr int PER_CAMERA = PICTURES / CAMERAS; // 6,250
// Recording days of every camera (with days between them without any) and
// the pictures of each day: one a second up to 23:59:59.
constexpr std::array<int, 4> DAYS = {3, 4, 6, 9};
constexpr int VARIANTS = 64; // distinct pictures per camera; the store links to them
constexpr int ROUNDS = 9;
constexpr int TICKS = 200;

double Ms(Clock::duration d)
{
    return std::chrono::duration<double, std::milli>(d).count();
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

// The store: every picture a hard link to one of the simulator's pictures of
// its camera, written once each. Returns the number of pictures stored.
int BuildStore(const std::string& strScratch, const std::string& strEvent)
{
    std::vector<std::uint8_t> rgb(CSimPicture::FRAME_BYTES);
    int nStored = 0;
    for (int nCamera = 1; nCamera <= CAMERAS; ++nCamera) {
        std::vector<std::string> sources;
        for (int v = 0; v < VARIANTS; ++v) {
            CSimPicture::Render(nCamera, SimDateTime {2024, 5, 3, 23, 0, v}, v % 4, rgb.data());
            const std::string strPath = strScratch + "src" + std::to_string(nCamera) + "_" + std::to_string(v) + ".jpg";
            std::ofstream(strPath, std::ios::binary) << CSimPicture::Encode(rgb.data());
            sources.push_back(strPath);
        }
        const int nPerDay = PER_CAMERA / static_cast<int>(DAYS.size());
        for (std::size_t d = 0; d < DAYS.size(); ++d) {
            const int nCount = d + 1 < DAYS.size() ? nPerDay : PER_CAMERA - nPerDay * static_cast<int>(d);
            const SimDateTime dayEnd {2024, 5, DAYS[d], 23, 59, 59};
            for (int i = 0; i < nCount; ++i) {
                const SimDateTime t = dayEnd.AddSeconds(i - nCount + 1);
                CPictureStamp stamp;
                stamp.nYear = t.nYear;
                stamp.nMonth = t.nMonth;
                stamp.nDay = t.nDay;
                stamp.nHour = t.nHour;
                stamp.nMinute = t.nMinute;
                stamp.nSecond = t.nSecond;
                stamp.nCamera = nCamera;
                const fs::path folder = strEvent + "/" + stamp.SecondFolderPath();
                std::error_code error;
                fs::create_directories(folder, error);
                fs::create_hard_link(sources[static_cast<std::size_t>(i % VARIANTS)], folder / stamp.FileName(), error);
                nStored += error ? 0 : 1;
            }
        }
    }
    return nStored;
}

// The floor: the library alone on one file, read by its own stdio source,
// decoded row by row at full size.
bool BareDecode(const std::string& strPath, std::vector<std::uint8_t>& out)
{
    std::FILE* pFile = std::fopen(strPath.c_str(), "rb");
    if (!pFile)
        return false;
    jpeg_decompress_struct info {};
    jpeg_error_mgr err {};
    info.err = jpeg_std_error(&err);
    jpeg_create_decompress(&info);
    jpeg_stdio_src(&info, pFile);
    jpeg_read_header(&info, TRUE);
    jpeg_start_decompress(&info);
    const std::size_t nRowBytes = std::size_t {info.output_width} * info.output_components;
    while (info.output_scanline < info.output_height) {
        JSAMPROW pRow = &out[info.output_scanline * nRowBytes];
        jpeg_read_scanlines(&info, &pRow, 1);
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    std::fclose(pFile);
    return true;
}

void Print(std::ostream& out, const char* pszFormat, double a, double b = 0, double c = 0)
{
    char szLine[300];
    std::snprintf(szLine, sizeof szLine, pszFormat, a, b, c);
    out << szLine;
}

void RunAll(std::ostream& out, CFileViewDlg& page, const std::string& strEvent)
{
    // Camera 01 from 23:00:00 on its first day: 60 pictures of one minute.
    auto* pDate = page.findChild<QDateEdit*>("id1180");
    pDate->setDate(QDate(2024, 5, DAYS[0]));
    std::vector<double> search;
    std::vector<double> bare;
    std::vector<double> thumbs;
    std::vector<double> walks;
    CStoreWalk listWalk(strEvent + "/01");
    const std::string strKey = CStoreWalk::TimeKey(2024, 5, DAYS[0], 0, 0, 0);
    std::vector<double> ratios;
    CThumbnailMaker maker;
    std::vector<std::uint8_t> thumb(CThumbnailMaker::BYTES);
    std::vector<std::uint8_t> frame(CSimPicture::FRAME_BYTES);
    for (int r = 0; r < ROUNDS; ++r) {
        const auto t0 = Clock::now();
        page.Search();
        const double dSearch = Ms(Clock::now() - t0);
        if (page.GetThumbnailCount() != CFileViewDlg::MAX_THUMBNAIL) {
            out << "fileviewer: Search listed " << page.GetThumbnailCount() << " pictures\n";
            return;
        }
        const auto t1 = Clock::now();
        for (int i = 0; i < page.GetThumbnailCount(); ++i)
            BareDecode(page.GetPicturePath(i), frame);
        const double dBare = Ms(Clock::now() - t1);
        const auto t4 = Clock::now();
        for (int i = 0; i < page.GetThumbnailCount(); ++i)
            maker.Make(page.GetPicturePath(i), thumb.data());
        const double dThumbs = Ms(Clock::now() - t4);
        const auto t5 = Clock::now();
        const bool bListed = listWalk.PicturesFrom(strKey, CFileViewDlg::MAX_THUMBNAIL).size() == 60;
        const double dWalk = bListed ? Ms(Clock::now() - t5) : 0;
        if (r > 0) { // the first round warms the caches
            search.push_back(dSearch);
            bare.push_back(dBare);
            thumbs.push_back(dThumbs);
            walks.push_back(dWalk);
            ratios.push_back(dSearch / dBare);
        }
    }
    Print(out, "fileviewer Search + 60 thumbnails: %.2f ms; 60 bare full-size decodes of the same files %.2f ms; "
               "ratio %.3f (goal <= 0.8)\n",
          Median(search), Median(bare), Median(ratios));
    Print(out, "fileviewer of which making the 60 thumbnails %.2f ms, walking to the 60 pictures %.2f ms\n",
          Median(thumbs), Median(walks));

    // NextFolder from the last second folder of a day to the first of the next
    // day that has one (the days between have none).
    CStoreWalk walk(strEvent + "/01");
    const std::string strLast = strEvent + "/01/2024_05_0" + std::to_string(DAYS[0]) + "/23/59/59";
    walk.ResetFolderReads();
    const auto t2 = Clock::now();
    const std::string strNext = walk.NextFolder(strLast);
    const double dNext = Ms(Clock::now() - t2);
    char szLine[400];
    std::snprintf(szLine, sizeof szLine,
                  "fileviewer NextFolder across the end of a day: %llu folder reads, %.3f ms (goal: a handful of reads) -> %s\n",
                  static_cast<unsigned long long>(walk.FolderReads()), dNext, strNext.substr(strEvent.size()).c_str());
    out << szLine;

    // Playback ticks from the last thumbnail on, across second and minute folders.
    page.GetList()->setCurrentRow(CFileViewDlg::MAX_THUMBNAIL - 1);
    page.OpenPictureView();
    page.OnPlayback();
    std::vector<double> ticks;
    for (int i = 0; i < TICKS; ++i) {
        const auto t3 = Clock::now();
        page.PlaybackStep();
        ticks.push_back(Ms(Clock::now() - t3));
    }
    const double dLongest = *std::max_element(ticks.begin(), ticks.end());
    Print(out, "fileviewer playback tick: median %.2f ms, longest %.2f ms of %.0f ms UpdateTime\n", Median(ticks),
          dLongest, CVX2200NETApp::DEFAULT_UPDATE_TIME);
}

} // namespace

void BenchFileViewer(std::ostream& out)
{
    CScratchDir dir("vx2200bench-store");
    if (dir.Path().empty()) {
        out << "fileviewer: no temporary folder\n";
        return;
    }
    const std::string strEvent = dir.Path() + "Bench";
    const auto t0 = Clock::now();
    const int nStored = BuildStore(dir.Path(), strEvent);
    Print(out, "fileviewer store: %.0f pictures of 16 cameras over 4 days built in %.1f s\n", nStored,
          Ms(Clock::now() - t0) / 1000);
    if (nStored != PICTURES)
        return;
    CVX2200NETApp app({dir.Path() + "none.conf", dir.Path() + "prog/", dir.Path() + "lock"});
    app.LoadSettings();
    if (!app.CreateServices()) {
        out << "fileviewer: the program's services could not be made\n";
        return;
    }
    app.GetFileDB()->Load();
    app.GetFileDB()->AddEvent("Bench", strEvent);
    CFileViewDlg page;
    page.GetTimer()->stop();
    page.resize(960, 584);
    page.show();
    page.GetTimer()->stop();
    RunAll(out, page, strEvent);
}
