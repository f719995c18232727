// vx2200net: the LAN control software of the VX2200 digital video recorder.
#include "widgets/qtprompter.h"
#include "app/vx2200net.h"
#include "shell/vx2200netdlg.h"
#include "platform/painthook.h"

#include <QApplication>
#include <QEvent>

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("VX2200NET"));

    CQtPrompter prompter;
    SetPrompter(&prompter);
    // While the link waits for the recorder, repaint what is marked for update
    // and run nothing else.
    SetPaintHook([] { QCoreApplication::sendPostedEvents(nullptr, QEvent::UpdateRequest); });

    CVX2200NETApp theApp;
    theApp.SetWindowRun(&CVX2200NETDlg::RunModal);
    theApp.InitInstance();
    const int nResult = theApp.ExitInstance();
    SetPaintHook({});
    SetPrompter(nullptr);
    return nResult;
}
