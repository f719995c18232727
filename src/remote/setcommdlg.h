// The Communication Setup page: the recorder's serial port and switcher
// synchronisation. Reads and writes TR, TF, TC.
#pragma once

#include "remote/settingpage.h"

class CSetCommDlg : public CSettingPage {
    Q_OBJECT
public:
    enum { IDD = 161, IDC_BAUD_RATE = 1325, IDC_FLOW_CTRL = 1327, IDC_SWITCHER_SYNC = 1329, IDC_SET = 1477 };

    explicit CSetCommDlg(QWidget* pParent = nullptr);

    void OnSet();

    int m_nBaudRate = -1;
    int m_nFlowCtrl = -1;
    int m_nSwitcherSync = -1;
};
