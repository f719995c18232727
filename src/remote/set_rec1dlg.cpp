#include "remote/set_rec1dlg.h"

#include "remote/menusetting.h"
#include "remote/settingitems.h"

#include <QPushButton>

CSet_Rec1Dlg::CSet_Rec1Dlg(QWidget* pParent) : CSettingPage(IDD, pParent)
{
    AddField(SET_RQ, IDC_QUALITY, m_nQuality, 0);
    AddField(SET_RD, IDC_AUDIO, m_nAudio, 1);
    AddField(SET_RI, IDC_INTERVAL, m_nInterval, 2, 0, false,
             CSettingItems::IntervalItems(CSettingItems::INTERVAL_COUNT));
    AddField(SET_RC, IDC_SW_PERIOD, m_nSwPeriod, 3);
    connect(AddSettingButton(IDC_SET), &QPushButton::clicked, this, &CSet_Rec1Dlg::OnSet);
}

void CSet_Rec1Dlg::OnSet()
{
    WriteFields({SET_RQ, SET_RD, SET_RI, SET_RC});
}
