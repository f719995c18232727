// vx2200shot: a picture of the program's main window on the DVR Viewer page,
// or on the PC File Viewer page.
//
//   vx2200shot OUT.png [--split 1|4|9|16] [--camera N] [--lang en|ja] [--seconds S]
//   vx2200shot OUT.png --page fileviewer [--camera N] [--lang en|ja] [--open K]
//
// It starts the recorder simulator in this process, recording its 16 cameras
// at a short interval, gives the program a temporary program folder with an
// address book of one entry, "Demo DVR", opens the main window on Qt's
// offscreen platform, connects through the connection dialog as an operator
// would, selects the split, presses Play and lets the page run on its own timer
// for a few seconds of live pictures; then it grabs the window into OUT.png.
//
// With --page fileviewer no recorder is connected: the simulator's recorded
// pictures of cameras 1 to 4 are saved into an event "Demo" with the store
// writer and registered in the event database, the main window starts on the
// PC File Viewer page, the camera is chosen and Search pressed; --open K
// double-clicks thumbnail K (1..60) to show the picture view.
#include "addressbook/flexgrid.h"
#include "fileviewer/fileviewdlg.h"
#include "sim/simpicture.h"
#include "store/filedbase.h"
#include "store/picturestore.h"
#include "addressbook/selvxentrydlg.h"
#include "shell/menutabctrl.h"
#include "app/vx2200net.h"
#include "shell/vx2200netdlg.h"
#include "platform/fileutil.h"
#include "platform/painthook.h"
#include "platform/parseint.h"
#include "platform/scratchdir.h"
#include "platform/stringtable.h"
#include "sim/recordersim.h"
#include "viewer/viewerdlg.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QListWidget>
#include <QEventLoop>
#include <QPixmap>
#include <QTimer>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

namespace {

struct Options {
    std::string strOut;
    int nSplit = 4;   // cells per side
    int nCamera = 1;
    Language language = Language::English;
    int nSeconds = 3;
    bool bFileViewer = false;
    int nOpen = 0; // the thumbnail the picture view shows (1..60), 0 for none
};

int Usage()
{
    std::fprintf(stderr, "usage: vx2200shot OUT.png [--split 1|4|9|16] [--camera 1..16] [--lang en|ja] "
                         "[--seconds 1..60]\n"
                         "       vx2200shot OUT.png --page fileviewer [--camera 1..4] [--lang en|ja] [--open 1..60]\n");
    return 64;
}

bool ParseSplit(const char* psz, int& nSplit)
{
    int nCells = 0;
    if (!ParseInt(psz, 1, 16, nCells))
        return false;
    for (int n = 1; n <= 4; ++n) {
        if (nCells == n * n) {
            nSplit = n;
            return true;
        }
    }
    return false;
}

bool ParseArguments(int argc, char** argv, Options& options)
{
    for (int i = 1; i < argc; ++i) {
        const std::string strArg = argv[i];
        const bool bValue = i + 1 < argc;
        if (strArg == "--split" && bValue) {
            if (!ParseSplit(argv[++i], options.nSplit))
                return false;
        } else if (strArg == "--camera" && bValue) {
            if (!ParseInt(argv[++i], 1, 16, options.nCamera))
                return false;
        } else if (strArg == "--lang" && bValue) {
            const std::string strLang = argv[++i];
            if (strLang != "en" && strLang != "ja")
                return false;
            options.language = strLang == "ja" ? Language::Japanese : Language::English;
        } else if (strArg == "--page" && bValue) {
            const std::string strPage = argv[++i];
            if (strPage != "viewer" && strPage != "fileviewer")
                return false;
            options.bFileViewer = strPage == "fileviewer";
        } else if (strArg == "--open" && bValue) {
            if (!ParseInt(argv[++i], 1, CFileViewDlg::MAX_THUMBNAIL, options.nOpen))
                return false;
        } else if (strArg == "--seconds" && bValue) {
            if (!ParseInt(argv[++i], 1, 60, options.nSeconds))
                return false;
        } else if (!strArg.empty() && strArg[0] != '-' && options.strOut.empty()) {
            options.strOut = strArg;
        } else {
            return false;
        }
    }
    return !options.strOut.empty();
}

// Runs the event loop for nMilliseconds: the pages' timers tick as in the program.
void RunFor(int nMilliseconds)
{
    QEventLoop loop;
    QTimer::singleShot(nMilliseconds, &loop, &QEventLoop::quit);
    loop.exec();
}

// Chooses "Demo DVR" (row 1) in the connection dialog and presses Connect.
bool Connect(CVX2200NETDlg& main)
{
    bool bChosen = false;
    QTimer::singleShot(0, &main, [&] {
        auto* pDlg = qobject_cast<CSelVXEntryDlg*>(QApplication::activeModalWidget());
        if (!pDlg)
            return;
        pDlg->GetGrid()->SetRow(1);
        if (auto* pConnect = pDlg->findChild<QAbstractButton*>("id1311")) {
            bChosen = true;
            pConnect->click();
        }
        if (pDlg->isVisible())
            pDlg->reject();
    });
    main.OnConnection();
    return bChosen && GetApp()->GetConnected() == 0;
}

void Click(QWidget* pPage, int nId)
{
    if (auto* pButton = pPage->findChild<QAbstractButton*>(QStringLiteral("id%1").arg(nId)))
        pButton->click();
}

// The cameras the demo event holds, and how many pictures of each.
constexpr int DEMO_CAMERAS = 4;
constexpr int DEMO_PICTURES_PER_CAMERA = 72;

// Saves the simulator's recorded pictures of the demo cameras into the event
// folder with the store writer, oldest first, and registers the event.
bool MakeDemoEvent(CRecorderSim& sim, const std::string& strScratch, const std::string& strEventFolder)
{
    std::filesystem::create_directories(strEventFolder);
    CPictureStore store(strEventFolder);
    const std::string strSource = strScratch + "picture.jpg";
    std::array<std::uint8_t, CSimPicture::INFO_SIZE> info {};
    int nSaved = 0;
    const long long nCount = sim.PictureCount();
    for (long long i = 0; i < nCount && nSaved < DEMO_CAMERAS * DEMO_PICTURES_PER_CAMERA; ++i) {
        const CSimRecording::Picture picture = sim.PictureAt(i);
        if (picture.nCamera < 1 || picture.nCamera > DEMO_CAMERAS)
            continue;
        if (!WriteFileAtomically(strSource, sim.PictureJpeg(i)))
            return false;
        CSimPicture::MakeInfo(picture.nCamera, SimDateTime::FromMs(picture.nTimeMs), picture.nFrame, info.data());
        if (store.SavePicture(info.data(), info.size(), strSource, false) == CPictureStore::SaveResult::Written)
            ++nSaved;
    }
    CFileDBase* pDB = GetApp()->GetFileDB();
    pDB->Load();
    return nSaved > 0 && pDB->AddEvent("Demo", strEventFolder);
}

int ShootFileViewer(const Options& options, CRecorderSim& sim, const std::string& strScratch)
{
    if (!MakeDemoEvent(sim, strScratch, strScratch + "store/Demo")) {
        std::fprintf(stderr, "vx2200shot: the demo event could not be saved\n");
        return 1;
    }
    CVX2200NETDlg main;
    main.show();
    auto* pPage = qobject_cast<CFileViewDlg*>(main.GetTabCtrl()->GetPage(CMenuTabCtrl::PAGE_FILEVIEWER));
    if (!pPage || !pPage->isVisible()) {
        std::fprintf(stderr, "vx2200shot: the PC File Viewer page is not shown\n");
        return 1;
    }
    if (auto* pCamera = pPage->findChild<QComboBox*>(QStringLiteral("id%1").arg(CFileViewDlg::IDC_CAMERA))) {
        const int nIndex = pCamera->findText(QStringLiteral("%1").arg(std::min(options.nCamera, DEMO_CAMERAS), 2, 10,
                                                                      QLatin1Char('0')));
        if (nIndex >= 0) {
            pCamera->setCurrentIndex(nIndex);
            emit pCamera->activated(nIndex);
        }
    }
    Click(pPage, CFileViewDlg::IDC_SEARCH);
    if (options.nOpen > 0 && options.nOpen <= pPage->GetThumbnailCount()) {
        pPage->GetList()->setCurrentRow(options.nOpen - 1);
        pPage->OpenPictureView();
    }
    RunFor(500);
    const QPixmap shot = main.grab();
    if (!shot.save(QString::fromStdString(options.strOut), "PNG")) {
        std::fprintf(stderr, "vx2200shot: %s could not be written\n", options.strOut.c_str());
        return 73;
    }
    return 0;
}

int Run(const Options& options)
{
    CScratchDir dir("vx2200shot");
    if (dir.Path().empty()) {
        std::fprintf(stderr, "vx2200shot: no temporary folder\n");
        return 1;
    }
    CRecorderSim::Options simOptions;
    simOptions.start = SimDateTime {2024, 5, 17, 10, 30, 0};
    simOptions.nTraceKeep = 16;
    CRecorderSim sim(simOptions);
    if (!sim.Start()) {
        std::fprintf(stderr, "vx2200shot: the simulator could not start\n");
        return 1;
    }
    // Live: the recorder records, one picture every 33 ms (REC INTERVAL 1).
    sim.SetSetting(9, 1);
    sim.SetStatus({1, 0, 1, 0});

    CStringTable::SetLanguage(options.language);
    CVX2200NETApp app({dir.Path() + "none.conf", dir.Path() + "prog/", dir.Path() + "lock"});
    app.LoadSettings();
    if (!app.CreateServices()) {
        std::fprintf(stderr, "vx2200shot: the services could not be created\n");
        return 1;
    }
    app.AddEntry("Demo DVR", "127.0.0.1", sim.Port());
    if (options.bFileViewer)
        return ShootFileViewer(options, sim, dir.Path());

    CVX2200NETDlg main;
    main.show();
    if (!Connect(main)) {
        std::fprintf(stderr, "vx2200shot: could not connect to the simulator\n");
        return 1;
    }
    QWidget* pPage = main.GetTabCtrl()->GetPage(CMenuTabCtrl::PAGE_VIEWER);
    Click(pPage, CViewerDlg::CAMERA_IDS[static_cast<std::size_t>(options.nCamera - 1)]);
    Click(pPage, CViewerDlg::DIVISION_IDS[static_cast<std::size_t>(options.nSplit - 1)]);
    // Let the first status poll find the recorder recording, then play live.
    RunFor(1000);
    Click(pPage, CViewerDlg::IDC_PLAY);
    RunFor(options.nSeconds * 1000);

    const QPixmap shot = main.grab();
    app.DisconnectLink();
    if (!shot.save(QString::fromStdString(options.strOut), "PNG")) {
        std::fprintf(stderr, "vx2200shot: %s could not be written\n", options.strOut.c_str());
        return 73;
    }
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    Options options;
    if (!ParseArguments(argc, argv, options))
        return Usage();
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication application(argc, argv);
    // While the link waits for the recorder, repaint what is marked for update
    // and run nothing else, as the program does.
    SetPaintHook([] { QCoreApplication::sendPostedEvents(nullptr, QEvent::UpdateRequest); });
    const int nResult = Run(options);
    SetPaintHook({});
    return nResult;
}
