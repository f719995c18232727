#include "remote/controldlg.h"

CControlDlg::CControlDlg(QWidget* pParent) : QWidget(pParent)
{
    setObjectName(QStringLiteral("id139"));
}
