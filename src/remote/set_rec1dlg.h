// The Recording page: the general recording settings. Reads and writes RQ, RD,
// RI, RC; the interval list is the string table's fifteen texts.
#pragma once

#include "remote/settingpage.h"

class CSet_Rec1Dlg : public CSettingPage {
    Q_OBJECT
public:
    enum { IDD = 149, IDC_QUALITY = 1212, IDC_AUDIO = 1213, IDC_INTERVAL = 1218, IDC_SW_PERIOD = 1222, IDC_SET = 1470 };

    explicit CSet_Rec1Dlg(QWidget* pParent = nullptr);

    void OnSet();

    int m_nQuality = -1;
    int m_nAudio = -1;
    int m_nInterval = -1;
    int m_nSwPeriod = -1;
};
