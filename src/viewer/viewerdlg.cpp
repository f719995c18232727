#include "viewer/viewerdlg.h"

CViewerDlg::CViewerDlg(QWidget* pParent) : QWidget(pParent)
{
    setObjectName(QStringLiteral("id137"));
}
