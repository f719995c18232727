#include "remote/log_seldlg.h"

CLogSelDlg::CLogSelDlg(QWidget* pParent) : CMenuPage(IDD, pParent)
{
}

void CLogSelDlg::Clear()
{
}
