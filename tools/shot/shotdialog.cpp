// The viewer's REC dialogs: the save-to-PC dialog, and the progress dialog of a
// backup while it runs.
#include "shotcommon.h"

#include "backup/vwrecsetdlg.h"
#include "viewer/viewerdlg.h"

#include <QApplication>
#include <QPixmap>
#include <QTimer>

#include <cstdio>

namespace {

constexpr int IDC_PROGRESS_BUTTON = 1661;

} // namespace

int ShootSaveDialog(QWidget* pViewer, const std::string& strDialog, const std::string& strOut)
{
    QPixmap shot;
    QTimer::singleShot(300, pViewer, [&] {
        auto* pDlg = qobject_cast<CVwRecSetDlg*>(QApplication::activeModalWidget());
        if (!pDlg)
            return;
        if (strDialog == "save") {
            shot = pDlg->grab();
            pDlg->OnCancel();
            return;
        }
        Click(pDlg, CVwRecSetDlg::IDC_BACKUP);
        QTimer::singleShot(2000, pViewer, [&] {
            if (QWidget* pProgress = QApplication::activeModalWidget()) {
                shot = pProgress->grab();
                Click(pProgress, IDC_PROGRESS_BUTTON);
            }
        });
        pDlg->OnOK();
        if (pDlg->isVisible())
            pDlg->OnCancel();
    });
    Click(pViewer, CViewerDlg::IDC_REC);
    if (shot.isNull()) {
        std::fprintf(stderr, "vx2200shot: the %s dialog did not show\n", strDialog.c_str());
        return 1;
    }
    if (!shot.save(QString::fromStdString(strOut), "PNG")) {
        std::fprintf(stderr, "vx2200shot: %s could not be written\n", strOut.c_str());
        return 73;
    }
    return 0;
}
