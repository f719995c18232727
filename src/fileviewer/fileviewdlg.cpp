#include "fileviewer/fileviewdlg.h"

CFileViewDlg::CFileViewDlg(QWidget* pParent) : QWidget(pParent)
{
    setObjectName(QStringLiteral("id163"));
}
