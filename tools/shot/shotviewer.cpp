// The DVR Viewer page playing live, and the search page after a time search;
// either printed into a PDF file through the print dialog's path.
#include "shotcommon.h"

#include "app/vx2200net.h"
#include "search/searchdlg.h"
#include "shell/menutabctrl.h"
#include "shell/vx2200netdlg.h"
#include "viewer/viewerdlg.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>

#include <cstdio>
#include <filesystem>

namespace {

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
    QWidget* pPage = main.GetTabCtrl()->GetPage(bSearchPage ? CMenuTabCtrl::PAGE_SEARCH : CMenuTabCtrl::PAGE_VIEWER);
    const int nPrint = bSearchPage ? int {CSearchDlg::IDC_PRINT} : int {CViewerDlg::IDC_PRINT};
    auto* pButton = pPage->findChild<QAbstractButton*>(QStringLiteral("id%1").arg(nPrint));
    std::filesystem::remove(strPdf);
    if (auto* pSearch = qobject_cast<CSearchDlg*>(pPage)) {
        // Print comes with a click on a thumbnail.
        pSearch->GetList()->setCurrentRow(0);
        pSearch->OnThumbnailClicked();
    }
    return PrintWithButton(pButton, strPdf);
}

} // namespace

int ShootViewer(const ShotOptions& options)
{
    CVX2200NETApp& app = *GetApp();
    const bool bSearchPage = options.strPage == "search";
    CVX2200NETDlg main;
    // The pages' host, as while the window runs in the program.
    app.SetMainWnd(&main);
    main.show();
    if (!Connect(main)) {
        std::fprintf(stderr, "vx2200shot: could not connect to the simulator\n");
        app.SetMainWnd(nullptr);
        return 1;
    }
    QWidget* pPage = main.GetTabCtrl()->GetPage(CMenuTabCtrl::PAGE_VIEWER);
    Click(pPage, CViewerDlg::CAMERA_IDS[static_cast<std::size_t>(options.nCamera - 1)]);
    Click(pPage, CViewerDlg::DIVISION_IDS[static_cast<std::size_t>(options.nSplit - 1)]);
    // Let the first status poll find the recorder recording, then play live.
    RunFor(1000);
    Click(pPage, CViewerDlg::IDC_PLAY);
    RunFor(options.nSeconds * 1000);
    if (!options.strPrint.empty() && !bSearchPage) {
        // Print is there in the still state.
        Click(pPage, CViewerDlg::IDC_PAUSE);
        RunFor(300);
    }
    int nResult = 0;
    if (!options.strDialog.empty()) {
        nResult = ShootSaveDialog(pPage, options.strDialog, options.strOut);
    } else if (bSearchPage && !ShowSearch(main)) {
        std::fprintf(stderr, "vx2200shot: the search did not fill a page\n");
        nResult = 1;
    } else if (!options.strPrint.empty() && !PrintShown(main, bSearchPage, options.strPrint)) {
        std::fprintf(stderr, "vx2200shot: %s was not printed\n", options.strPrint.c_str());
        nResult = 73;
    } else {
        nResult = SaveShot(main, options.strOut);
    }
    app.DisconnectLink();
    app.SetMainWnd(nullptr);
    return nResult;
}
