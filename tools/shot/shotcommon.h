// What the screenshot tool's pages share: its options, running the event loop
// for a while as the program would, pressing a control by its id, connecting
// through the connection dialog, and saving the window.
#pragma once

#include "platform/stringtable.h"

#include <string>

class CRecorderSim;
class CVX2200NETDlg;
class QWidget;

struct ShotOptions {
    std::string strOut;
    std::string strPage = "viewer"; // viewer, search, remote, fileviewer
    int nSplit = 4;                 // cells per side
    int nCamera = 1;
    Language language = Language::English;
    int nSeconds = 3;
    std::string strPrint;           // a PDF file to print the page into
    int nOpen = 0;                  // the file viewer's thumbnail to open (1..60), 0 for none
    int nMenu = -1;                 // the remote page's setting page (0..8), -1 for the front panel
    std::string strDialog;          // the viewer's REC dialogs: "save" or "progress"
};

// Runs the event loop for nMilliseconds: the pages' timers tick as in the program.
void RunFor(int nMilliseconds);
// Presses control id<nId> of pPage, when it is there.
void Click(QWidget* pPage, int nId);
// Chooses "Demo DVR" (row 1) in the connection dialog and presses Connect.
bool Connect(CVX2200NETDlg& main);
// Clicks pButton (a page's Print) with the print dialog answered by the PDF
// file; true when the file was printed.
bool PrintWithButton(class QAbstractButton* pButton, const std::string& strPdf);
// Presses REC on the viewer page and grabs the save-to-PC dialog ("save"), or,
// after choosing "Backup " of the last five minutes, the progress dialog two
// seconds into the backup ("progress"); 0, 1 when it did not show, or 73.
int ShootSaveDialog(QWidget* pViewer, const std::string& strDialog, const std::string& strOut);
// Grabs the window into the PNG file; 0, or 73 when it cannot be written.
int SaveShot(QWidget& window, const std::string& strOut);

// The pages: each returns the tool's exit status.
int ShootViewer(const ShotOptions& options); // the viewer and the search page, printing
int ShootRemote(const ShotOptions& options, CRecorderSim& sim);
int ShootFileViewer(const ShotOptions& options, CRecorderSim& sim, const std::string& strScratch);
