// The Alarm Recording page: what an alarm input does and how the alarm
// recording runs. Reads and writes AS, AN, AP, AT, AF, AQ, AD, AI, AB, AO; the
// interval list is the first eight of the recording interval texts.
#pragma once

#include "remote/settingpage.h"

class CSet_Rec3Dlg : public CSettingPage {
    Q_OBJECT
public:
    enum {
        IDD = 153,
        IDC_ALARM_SETTING = 1246,
        IDC_ALARM_IN_MODE = 1249,
        IDC_PRE_ALARM = 1252,
        IDC_ALARM_PERIOD = 1255,
        IDC_POST_ALARM = 1225,
        IDC_QUALITY = 1228,
        IDC_AUDIO = 1231,
        IDC_INTERVAL = 1367,
        IDC_BUZZER = 1370,
        IDC_ALARM_OUT = 1373,
        IDC_SET = 1473,
    };

    explicit CSet_Rec3Dlg(QWidget* pParent = nullptr);

    void OnSet();

    int m_nAlarmSetting = -1;
    int m_nAlarmInMode = -1;
    int m_nPreAlarm = -1;
    int m_nAlarmPeriod = -1;
    int m_nPostAlarm = -1;
    int m_nAlarmQuality = -1;
    int m_nAlarmAudio = -1;
    int m_nAlarmInterval = -1;
    int m_nBuzzer = -1;
    int m_nAlarmOut = -1;
};
