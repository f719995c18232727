#include "search_bench.h"

#include "app/vx2200net.h"
#include "image/vximage.h"
#include "link/vx2200ctrl.h"
#include "platform/scratchdir.h"
#include "search/searchdlg.h"
#include "sim/recordersim.h"
#include "viewer/viewerdlg.h"
#include "widgets/printpage.h"

#include <QApplication>
#include <QComboBox>
#include <QImage>
#include <QLineEdit>
#include <QTimer>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <ostream>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

constexpr int ROUNDS = 15;
constexpr int PRINT_ROUNDS = 5;

double Median(std::vector<double> values)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

double MsSince(Clock::time_point t0)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - t0).count();
}

// 24 bare thumbnails: the picture at each time fetched, cut and scaled.
double BareThumbnailsMs(CVXImage& image, int nStepMinutes)
{
    auto pFrame = std::make_unique<std::uint8_t[]>(CVXImage::FRAME_BYTES);
    auto pDisplay = std::make_unique<std::uint8_t[]>(CVXImage::FRAME_BYTES);
    std::uint8_t info[CVXImage::INFO_SIZE] = {};
    const auto t0 = Clock::now();
    for (int j = 0; j < CSearchDlg::PAGE_SIZE; ++j) {
        const int nMinutes = 9 * 60 + nStepMinutes * j;
        if (!image.FetchPicture(info, pFrame.get(), 0, 4, 1, 23, nMinutes / 60, nMinutes % 60, 0))
            return -1;
        CVXImage::CropVisible(pDisplay.get(), pFrame.get());
        const QImage view(pDisplay.get(), CVXImage::DISPLAY_WIDTH, CVXImage::DISPLAY_HEIGHT,
                          CVXImage::DISPLAY_WIDTH * 3, QImage::Format_BGR888);
        const QImage thumb = view.scaled(CSearchDlg::THUMB_WIDTH, CSearchDlg::THUMB_HEIGHT, Qt::IgnoreAspectRatio,
                                         Qt::SmoothTransformation);
        if (thumb.isNull())
            return -1;
    }
    return MsSince(t0);
}

// A search from 09:00 every 10 minutes, the ticks' own time until the page is full.
double SearchPageMs(CSearchDlg& page, int nCamera)
{
    page.findChild<QLineEdit*>("id1643")->setText("09");
    page.findChild<QLineEdit*>("id1644")->setText("00");
    page.findChild<QComboBox*>("id1640")->setCurrentIndex(5);
    page.findChild<QComboBox*>("id1641")->setCurrentIndex(nCamera);
    const auto t0 = Clock::now();
    page.OnSearch();
    for (int i = 0; i < 100 && page.GetState() != CSearchDlg::STATE_IDLE; ++i)
        page.OnTimer();
    const double dMs = MsSince(t0);
    return page.GetPageCount() == CSearchDlg::PAGE_SIZE ? dMs : -1;
}

void BenchSearchPage(std::ostream& out, CVX2200NETApp& app)
{
    CSearchDlg page;
    page.GetTimer()->stop();
    page.resize(960, 584);
    page.show();
    SearchPageMs(page, 0); // warm-up
    std::vector<double> bare, search, camera;
    for (int i = 0; i < ROUNDS; ++i) {
        bare.push_back(BareThumbnailsMs(*app.GetImage(), 10));
        search.push_back(SearchPageMs(page, 0));
        camera.push_back(SearchPageMs(page, 3));
    }
    if (std::min({*std::min_element(bare.begin(), bare.end()), *std::min_element(search.begin(), search.end()),
                  *std::min_element(camera.begin(), camera.end())})
        < 0) {
        out << "search: a page did not fill\n";
        return;
    }
    const double dBare = Median(bare);
    const double dSearch = Median(search);
    const double dCamera = Median(camera);
    char szLine[300];
    std::snprintf(szLine, sizeof szLine,
                  "search: Search to a full page of 24 (all cameras) %.1f ms of ticks; 24 x (FetchPicture + scale) "
                  "%.1f ms; ratio %.2f (goal at most 1.20)\n",
                  dSearch, dBare, dSearch / dBare);
    out << szLine;
    std::snprintf(szLine, sizeof szLine,
                  "search: the same for camera 3 (up to 15 camera steps a thumbnail) %.1f ms, %.1f x the bare page\n",
                  dCamera, dCamera / dBare);
    out << szLine;
}

// A 16-way split of 16 pictures printed into a PDF file: the page composed and
// the file written.
void BenchPrint(std::ostream& out, CVX2200NETApp& app, const std::string& strFolder)
{
    CViewerDlg page;
    page.GetTimer()->stop();
    page.show();
    page.SetView(1, 4);
    app.GetCtrl()->PictureStep(CViewerDlg::CMD_PLAY_START);
    for (int i = 0; i < CViewerDlg::CAMERA_COUNT; ++i)
        page.ShowPicture(CViewerDlg::CMD_FORWARD, CViewerDlg::KEY_STEP);
    CPrompter::PrintRequest request;
    request.strDocument = CPrintPage::DOCUMENT_NAME;
    request.strOutputFile = strFolder + "split16.pdf";
    std::vector<double> times;
    for (int i = 0; i < PRINT_ROUNDS; ++i) {
        const auto t0 = Clock::now();
        if (!CPrintPage::PrintTo(request, [&](CPrintSurface& surface) { page.ComposePrintPage(surface); })) {
            out << "print: the PDF file could not be written\n";
            return;
        }
        times.push_back(MsSince(t0));
    }
    std::error_code error;
    const auto nBytes = std::filesystem::file_size(request.strOutputFile, error);
    char szLine[200];
    std::snprintf(szLine, sizeof szLine, "print: a 16-way split of 16 pictures into a PDF file %.1f ms (%ld kB)\n",
                  Median(times), error ? 0L : static_cast<long>(nBytes / 1024));
    out << szLine;
}

} // namespace

void BenchSearch(std::ostream& out)
{
    CScratchDir dir("vx2200bench");
    CRecorderSim::Options options;
    options.nTraceKeep = 16;
    options.start = SimDateTime {2004, 1, 23, 13, 30, 0};
    options.nRecordedMinutes = 300;
    CRecorderSim sim(options);
    CVX2200NETApp app({dir.Path() + "none.conf", dir.Path() + "prog/", dir.Path() + "lock"});
    app.LoadSettings();
    if (dir.Path().empty() || !sim.Start() || !app.CreateServices()) {
        out << "search: the simulator or the program's services could not be started\n";
        return;
    }
    app.AddEntry("Bench DVR", "127.0.0.1", sim.Port());
    app.SetConnected(0);
    app.GetCtrl()->SetAskToReconnect(false);
    if (app.GetCtrl()->Connect("127.0.0.1", sim.Port()) != 0) {
        out << "search: the simulator could not be reached\n";
        return;
    }
    BenchSearchPage(out, app);
    BenchPrint(out, app, dir.Path());
    app.DisconnectLink();
}
