// vx2200shot: a picture of the program's main window on the DVR Viewer page.
//
//   vx2200shot OUT.png [--split 1|4|9|16] [--camera N] [--lang en|ja] [--seconds S]
//              [--dialog save|progress]
//
// It starts the recorder simulator in this process, recording its 16 cameras
// at a short interval, gives the program a temporary program folder with an
// address book of one entry, "Demo DVR", opens the main window on Qt's
// offscreen platform, connects through the connection dialog as an operator
// would, selects the split, presses Play and lets the page run on its own timer
// for a few seconds of live pictures; then it grabs the window into OUT.png.
// With --dialog it presses REC instead and grabs the save-to-PC dialog, or,
// after choosing "Backup " of the last five minutes, the progress dialog two
// seconds into the backup.
#include "addressbook/flexgrid.h"
#include "addressbook/selvxentrydlg.h"
#include "shell/menutabctrl.h"
#include "app/vx2200net.h"
#include "backup/vwrecsetdlg.h"
#include "shell/vx2200netdlg.h"
#include "platform/painthook.h"
#include "platform/parseint.h"
#include "platform/scratchdir.h"
#include "platform/stringtable.h"
#include "sim/recordersim.h"
#include "viewer/viewerdlg.h"

#include <QAbstractButton>
#include <QApplication>
#include <QEventLoop>
#include <QPixmap>
#include <QTimer>

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
    std::string strDialog; // "save" or "progress"
};

int Usage()
{
    std::fprintf(stderr, "usage: vx2200shot OUT.png [--split 1|4|9|16] [--camera 1..16] [--lang en|ja] "
                         "[--seconds 1..60] [--dialog save|progress]\n");
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
        } else if (strArg == "--seconds" && bValue) {
            if (!ParseInt(argv[++i], 1, 60, options.nSeconds))
                return false;
        } else if (strArg == "--dialog" && bValue) {
            options.strDialog = argv[++i];
            if (options.strDialog != "save" && options.strDialog != "progress")
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

// Presses REC and grabs the save-to-PC dialog, or the progress dialog of a
// backup of the last five minutes while it runs.
QPixmap GrabDialog(QWidget* pPage, const std::string& strDialog)
{
    QPixmap shot;
    QTimer::singleShot(300, pPage, [&] {
        auto* pDlg = qobject_cast<CVwRecSetDlg*>(QApplication::activeModalWidget());
        if (!pDlg)
            return;
        if (strDialog == "save") {
            shot = pDlg->grab();
            pDlg->OnCancel();
            return;
        }
        Click(pDlg, CVwRecSetDlg::IDC_BACKUP);
        QTimer::singleShot(2000, pPage, [&] {
            if (QWidget* pProgress = QApplication::activeModalWidget()) {
                shot = pProgress->grab();
                Click(pProgress, 1661);
            }
        });
        pDlg->OnOK();
        if (pDlg->isVisible())
            pDlg->OnCancel();
    });
    Click(pPage, CViewerDlg::IDC_REC);
    return shot;
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

    const QPixmap shot = options.strDialog.empty() ? main.grab() : GrabDialog(pPage, options.strDialog);
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
