#include "remote/set_rec3dlg.h"

#include "remote/menusetting.h"
#include "remote/settingitems.h"

#include <QPushButton>

CSet_Rec3Dlg::CSet_Rec3Dlg(QWidget* pParent) : CSettingPage(IDD, pParent)
{
    // Two columns of five: how the alarm is taken, then how it records.
    AddField(SET_AS, IDC_ALARM_SETTING, m_nAlarmSetting, 0);
    AddField(SET_AN, IDC_ALARM_IN_MODE, m_nAlarmInMode, 1);
    AddField(SET_AP, IDC_PRE_ALARM, m_nPreAlarm, 2);
    AddField(SET_AT, IDC_ALARM_PERIOD, m_nAlarmPeriod, 3);
    AddField(SET_AF, IDC_POST_ALARM, m_nPostAlarm, 4);
    AddField(SET_AQ, IDC_QUALITY, m_nAlarmQuality, 0, 1);
    AddField(SET_AD, IDC_AUDIO, m_nAlarmAudio, 1, 1);
    AddField(SET_AI, IDC_INTERVAL, m_nAlarmInterval, 2, 1, false,
             CSettingItems::IntervalItems(CSettingItems::ALARM_INTERVAL_COUNT));
    AddField(SET_AB, IDC_BUZZER, m_nBuzzer, 3, 1);
    AddField(SET_AO, IDC_ALARM_OUT, m_nAlarmOut, 4, 1);
    connect(AddSettingButton(IDC_SET), &QPushButton::clicked, this, &CSet_Rec3Dlg::OnSet);
}

void CSet_Rec3Dlg::OnSet()
{
    WriteFields({SET_AS, SET_AN, SET_AP, SET_AT, SET_AF, SET_AQ, SET_AD, SET_AI, SET_AB, SET_AO});
}
