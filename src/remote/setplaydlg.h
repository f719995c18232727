// The Play Setup page: PLAY MODE (refused by a one-disk recorder: then empty
// and disabled) and SIMUL REC/PLAY. Reads PM, PR; writes PR, then PM.
#pragma once

#include "remote/settingpage.h"

class CSetPlayDlg : public CSettingPage {
    Q_OBJECT
public:
    enum { IDD = 140, IDC_PLAY_MODE = 1167, IDC_SIMUL_REC_PLAY = 1170, IDC_SET = 1376 };

    explicit CSetPlayDlg(QWidget* pParent = nullptr);

    void OnSet();

    int m_nPlayMode = -1;
    int m_nSimulRecPlay = -1;
};
