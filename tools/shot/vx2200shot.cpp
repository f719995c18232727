// vx2200shot: a picture of the program's main window on one of its pages, for
// the README, made on Qt's offscreen platform without a display.
//
//   vx2200shot OUT.png [--split 1|4|9|16] [--camera N] [--lang en|ja] [--seconds S]
//                      [--page viewer|search] [--print OUT.pdf] [--dialog save|progress]
//   vx2200shot OUT.png --page remote [--menu 0..8] [--lang en|ja] [--seconds S]
//   vx2200shot OUT.png --page fileviewer [--camera N] [--lang en|ja] [--open K] [--print OUT.pdf]
//
// It starts the recorder simulator in this process, recording its 16 cameras
// at a short interval, gives the program a temporary program folder with an
// address book of one entry, "Demo DVR", and opens the main window. On the
// viewer and search pages it connects through the connection dialog as an
// operator would, selects the split, presses Play and lets the page run on its
// own timer for a few seconds of live pictures; --page search then runs a time
// search from 10:00 every minute; --print holds the picture (PAUSE) and prints
// the page through the print dialog's path into OUT.pdf; --dialog presses REC
// and grabs the save-to-PC dialog or a backup's progress dialog (shotdialog.cpp)
// instead of the window. The remote page shows
// the front panel or a setting page (shotremote.cpp); the file viewer needs no
// recorder (shotfileviewer.cpp). Then it grabs the window into OUT.png.
#include "shotcommon.h"

#include "app/vx2200net.h"
#include "fileviewer/fileviewdlg.h"
#include "platform/painthook.h"
#include "platform/parseint.h"
#include "platform/scratchdir.h"
#include "remote/controltabctrl.h"
#include "sim/recordersim.h"

#include <QApplication>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

int Usage()
{
    std::fprintf(stderr, "usage: vx2200shot OUT.png [--split 1|4|9|16] [--camera 1..16] [--lang en|ja] "
                         "[--seconds 1..60] [--page viewer|search] [--print OUT.pdf] [--dialog save|progress]\n"
                         "       vx2200shot OUT.png --page remote [--menu 0..8] [--lang en|ja] [--seconds 1..60]\n"
                         "       vx2200shot OUT.png --page fileviewer [--camera 1..4] [--lang en|ja] [--open 1..60] [--print OUT.pdf]\n");
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

bool IsPage(const std::string& strPage)
{
    return strPage == "viewer" || strPage == "search" || strPage == "remote" || strPage == "fileviewer";
}

bool ParseArguments(int argc, char** argv, ShotOptions& options)
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
            options.strPage = argv[++i];
            if (!IsPage(options.strPage))
                return false;
        } else if (strArg == "--menu" && bValue) {
            if (!ParseInt(argv[++i], 0, CControlTabCtrl::PAGE_COUNT - 1, options.nMenu))
                return false;
        } else if (strArg == "--open" && bValue) {
            if (!ParseInt(argv[++i], 1, CFileViewDlg::MAX_THUMBNAIL, options.nOpen))
                return false;
        } else if (strArg == "--seconds" && bValue) {
            if (!ParseInt(argv[++i], 1, 60, options.nSeconds))
                return false;
        } else if (strArg == "--dialog" && bValue) {
            options.strDialog = argv[++i];
            if (options.strDialog != "save" && options.strDialog != "progress")
                return false;
        } else if (strArg == "--print" && bValue) {
            options.strPrint = argv[++i];
        } else if (!strArg.empty() && strArg[0] != '-' && options.strOut.empty()) {
            options.strOut = strArg;
        } else {
            return false;
        }
    }
    return !options.strOut.empty() && (options.nMenu < 0 || options.strPage == "remote");
}

int Run(const ShotOptions& options)
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
    if (options.strPage == "fileviewer")
        return ShootFileViewer(options, sim, dir.Path());
    if (options.strPage == "remote")
        return ShootRemote(options, sim);
    return ShootViewer(options);
}

} // namespace

int main(int argc, char** argv)
{
    ShotOptions options;
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
