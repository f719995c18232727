// vx2200shot: a picture of the program's main window on the DVR Viewer or the
// DVR Remote page.
//
//   vx2200shot OUT.png [--page viewer|remote] [--menu 0..8] [--split 1|4|9|16] [--camera N]
//                      [--lang en|ja] [--seconds S]
//
// It starts the recorder simulator in this process, recording its 16 cameras
// at a short interval, gives the program a temporary program folder with an
// address book of one entry, "Demo DVR", opens the main window on Qt's
// offscreen platform and connects through the connection dialog as an operator
// would. On the viewer page it selects the split, presses Play and lets the
// page run on its own timer for a few seconds of live pictures. On the remote
// page the recorder also plays, and the page polls it on its own timer; with
// --menu N it presses Menu Setting (answering its question with yes), shows
// setting page N as read from the simulator, and presses Display Log on the
// log page. Then it grabs the window into OUT.png.
#include "addressbook/flexgrid.h"
#include "addressbook/selvxentrydlg.h"
#include "shell/menutabctrl.h"
#include "app/vx2200net.h"
#include "shell/vx2200netdlg.h"
#include "platform/painthook.h"
#include "platform/parseint.h"
#include "platform/scratchdir.h"
#include "platform/stringtable.h"
#include "sim/recordersim.h"
#include "platform/prompter.h"
#include "remote/controldlg.h"
#include "remote/controltabctrl.h"
#include "remote/menupage.h"
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
    bool bRemote = false;
    int nMenuPage = -1; // remote page: the setting page shown in menu-setting mode
    int nSplit = 4;   // cells per side
    int nCamera = 1;
    Language language = Language::English;
    int nSeconds = 3;
};

int Usage()
{
    std::fprintf(stderr, "usage: vx2200shot OUT.png [--page viewer|remote] [--menu 0..8] [--split 1|4|9|16] "
                         "[--camera 1..16] [--lang en|ja] [--seconds 1..60]\n");
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
        if (strArg == "--page" && bValue) {
            const std::string strPage = argv[++i];
            if (strPage != "viewer" && strPage != "remote")
                return false;
            options.bRemote = strPage == "remote";
        } else if (strArg == "--menu" && bValue) {
            if (!ParseInt(argv[++i], 0, CControlTabCtrl::PAGE_COUNT - 1, options.nMenuPage))
                return false;
        } else if (strArg == "--split" && bValue) {
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
        } else if (!strArg.empty() && strArg[0] != '-' && options.strOut.empty()) {
            options.strOut = strArg;
        } else {
            return false;
        }
    }
    return !options.strOut.empty() && (options.nMenuPage < 0 || options.bRemote);
}

// Answers every question with yes: entering menu-setting mode asks one.
class CYesPrompter : public CPrompter {
public:
    int Confirm(int) override { return 1; }
    int MessageBox(const std::string&, const std::string&, MessageIcon, MessageButtons buttons) override
    {
        return buttons == MessageButtons::YesNo ? IDYES : IDOK;
    }
};

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

void ShowViewer(CVX2200NETDlg& main, const Options& options)
{
    QWidget* pPage = main.GetTabCtrl()->GetPage(CMenuTabCtrl::PAGE_VIEWER);
    Click(pPage, CViewerDlg::CAMERA_IDS[static_cast<std::size_t>(options.nCamera - 1)]);
    Click(pPage, CViewerDlg::DIVISION_IDS[static_cast<std::size_t>(options.nSplit - 1)]);
    // Let the first status poll find the recorder recording, then play live.
    RunFor(1000);
    Click(pPage, CViewerDlg::IDC_PLAY);
    RunFor(options.nSeconds * 1000);
}

// The front panel as polled, of a recorder that records and plays; or a
// setting page of menu-setting mode.
void ShowRemote(CVX2200NETDlg& main, CRecorderSim& sim, const Options& options)
{
    main.GetTabCtrl()->SelectTab(CMenuTabCtrl::PAGE_REMOTE);
    auto* pPage = qobject_cast<CControlDlg*>(main.GetTabCtrl()->GetPage(CMenuTabCtrl::PAGE_REMOTE));
    sim.SetStatus({1, 2, 1, 0});
    RunFor(options.nSeconds * 1000);
    if (!pPage || options.nMenuPage < 0)
        return;
    CYesPrompter prompter;
    CPrompter* pPrevious = SetPrompter(&prompter);
    pPage->OnMenuSetting();
    pPage->GetTabCtrl()->SelectPage(options.nMenuPage);
    if (options.nMenuPage == CControlTabCtrl::PAGE_LOG)
        Click(pPage->GetTabCtrl()->GetPage(CControlTabCtrl::PAGE_LOG), 1479);
    SetPrompter(pPrevious);
    RunFor(300);
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
    if (options.bRemote)
        ShowRemote(main, sim, options);
    else
        ShowViewer(main, options);

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
