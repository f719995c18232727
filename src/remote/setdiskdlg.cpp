#include "remote/setdiskdlg.h"

#include "remote/menusetting.h"

#include <QPushButton>

CSetDiskDlg::CSetDiskDlg(QWidget* pParent) : CSettingPage(IDD, pParent)
{
    AddField(SET_WD, IDC_DISK_MODE, m_nDiskMode, 0, 0, true);
    AddField(SET_WM, IDC_REC_MODE, m_nRecMode, 1);
    connect(AddSettingButton(IDC_SET), &QPushButton::clicked, this, &CSetDiskDlg::OnSet);
}

void CSetDiskDlg::OnSet()
{
    WriteFields({SET_WD, SET_WM}, false);
}
