#include "remote/setcommdlg.h"

#include "remote/menusetting.h"

#include <QPushButton>

CSetCommDlg::CSetCommDlg(QWidget* pParent) : CSettingPage(IDD, pParent)
{
    AddField(SET_TR, IDC_BAUD_RATE, m_nBaudRate, 0);
    AddField(SET_TF, IDC_FLOW_CTRL, m_nFlowCtrl, 1);
    AddField(SET_TC, IDC_SWITCHER_SYNC, m_nSwitcherSync, 2);
    connect(AddSettingButton(IDC_SET), &QPushButton::clicked, this, &CSetCommDlg::OnSet);
}

void CSetCommDlg::OnSet()
{
    WriteFields({SET_TR, SET_TF, SET_TC});
}
