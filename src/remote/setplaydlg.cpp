#include "remote/setplaydlg.h"

#include "remote/menusetting.h"

#include <QPushButton>

CSetPlayDlg::CSetPlayDlg(QWidget* pParent) : CSettingPage(IDD, pParent)
{
    AddField(SET_PM, IDC_PLAY_MODE, m_nPlayMode, 0, 0, true);
    AddField(SET_PR, IDC_SIMUL_REC_PLAY, m_nSimulRecPlay, 1);
    connect(AddSettingButton(IDC_SET), &QPushButton::clicked, this, &CSetPlayDlg::OnSet);
}

void CSetPlayDlg::OnSet()
{
    WriteFields({SET_PR, SET_PM});
}
