#include "search/searchdlg.h"

CSearchDlg::CSearchDlg(QWidget* pParent) : QWidget(pParent)
{
    setObjectName(QStringLiteral("id165"));
}
