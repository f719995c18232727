// vx2200shot: a picture of the program's main window on the DVR Viewer page.
//
//   vx2200shot OUT.png [--split 1|4|9|16] [--camera N] [--lang en|ja] [--seconds S]
//                      [--page viewer|search] [--print OUT.pdf]
//
// It starts the recorder simulator in this process, recording its 16 cameras
// at a short interval, gives the program a temporary program folder with an
// address book of one entry, "Demo DVR", opens the main window on Qt's
// offscreen platform, connects through the connection dialog as an operator
// would, selects the split, presses Play and lets the page run on its own timer
// for a few seconds of live pictures; then it grabs the window into OUT.png.
// --print holds the picture (PAUSE) first and prints the page through the print
// dialog's path into OUT.pdf. --page search shows the search page after a time
// search from 10:00 every minute over the simulator's recording (and --print
// prints its sheet of thumbnails).
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
#include "search/searchdlg.h"
#include "viewer/viewerdlg.h"

#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>

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
    bool bSearchPage = false;
    std::string strPrint; // a PDF file to print the page into
};

// Answers the print dialog with the PDF file; asks nothing else.
class CShotPrompter : public CPrompter {
public:
    explicit CShotPrompter(std::string strPdf) : m_strPdf(std::move(strPdf)) {}
    int Confirm(int) override { return 0; }
    int MessageBox(const std::string&, const std::string&, MessageIcon, MessageButtons) override { return IDOK; }
    bool ChoosePrinter(PrintRequest& request) override
    {
        request.strOutputFile = m_strPdf;
        request.strPrinter.clear();
        return !m_strPdf.empty();
    }

private:
    std::string m_strPdf;
};

int Usage()
{
    std::fprintf(stderr, "usage: vx2200shot OUT.png [--split 1|4|9|16] [--camera 1..16] [--lang en|ja] "
                         "[--seconds 1..60] [--page viewer|search] [--print OUT.pdf]\n");
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
        } else if (strArg == "--page" && bValue) {
            const std::string strPage = argv[++i];
            if (strPage != "viewer" && strPage != "search")
                return false;
            options.bSearchPage = strPage == "search";
        } else if (strArg == "--print" && bValue) {
            options.strPrint = argv[++i];
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

// The search page after a time search from 10:00 every minute, all cameras;
// false when it did not fill.
bool ShowSearch(CVX2200NETDlg& main)
{
    Click(main.GetTabCtrl()->GetPage(CMenuTabCtrl::PAGE_VIEWER), CViewerDlg::IDC_SEARCH);
    auto* pSearch = qobject_cast<CSearchDlg*>(main.GetTabCtrl()->GetPage(CMenuTabCtrl::PAGE_SEARCH));
    if (!pSearch || !pSearch->isVisible())
        return false;
    pSearch->findChild<QLineEdit*>("id1643")->setText("10");
    pSearch->findChild<QLineEdit*>("id1644")->setText("00");
    pSearch->findChild<QComboBox*>("id1640")->setCurrentIndex(3); // "1 min"
    Click(pSearch, CSearchDlg::IDC_SEARCH);
    for (int i = 0; i < 100 && pSearch->GetState() != CSearchDlg::STATE_IDLE; ++i)
        RunFor(100);
    RunFor(300);
    return pSearch->GetPageCount() == CSearchDlg::PAGE_SIZE;
}

// Prints the page shown through its Print button into the PDF file.
bool PrintShown(CVX2200NETDlg& main, bool bSearchPage, const std::string& strPdf)
{
    CShotPrompter prompter(strPdf);
    CPrompter* pOld = SetPrompter(&prompter);
    QWidget* pPage = main.GetTabCtrl()->GetPage(bSearchPage ? CMenuTabCtrl::PAGE_SEARCH : CMenuTabCtrl::PAGE_VIEWER);
    const int nPrint = bSearchPage ? int {CSearchDlg::IDC_PRINT} : int {CViewerDlg::IDC_PRINT};
    auto* pButton = pPage->findChild<QAbstractButton*>(QStringLiteral("id%1").arg(nPrint));
    std::filesystem::remove(strPdf);
    if (auto* pSearch = qobject_cast<CSearchDlg*>(pPage)) {
        // Print comes with a click on a thumbnail.
        pSearch->GetList()->setCurrentRow(0);
        pSearch->OnThumbnailClicked();
    }
    if (pButton)
        pButton->click();
    SetPrompter(pOld);
    return std::filesystem::exists(strPdf);
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
    // The pages' host, as while the window runs in the program.
    app.SetMainWnd(&main);
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
    if (!options.strPrint.empty() && !options.bSearchPage) {
        // Print is there in the still state.
        Click(pPage, CViewerDlg::IDC_PAUSE);
        RunFor(300);
    }
    if (options.bSearchPage && !ShowSearch(main)) {
        std::fprintf(stderr, "vx2200shot: the search did not fill a page\n");
        return 1;
    }
    if (!options.strPrint.empty() && !PrintShown(main, options.bSearchPage, options.strPrint)) {
        std::fprintf(stderr, "vx2200shot: %s was not printed\n", options.strPrint.c_str());
        return 73;
    }

    const QPixmap shot = main.grab();
    app.DisconnectLink();
    app.SetMainWnd(nullptr);
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
