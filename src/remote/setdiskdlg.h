// The Disk Setup page: DISK MODE (refused by a one-disk recorder: then empty and
// disabled) and REC MODE. Reads WD, WM; writes WD, then WM, the second also
// when the first failed.
#pragma once

#include "remote/settingpage.h"

class CSetDiskDlg : public CSettingPage {
    Q_OBJECT
public:
    enum { IDD = 145, IDC_DISK_MODE = 1203, IDC_REC_MODE = 1205, IDC_SET = 1472 };

    explicit CSetDiskDlg(QWidget* pParent = nullptr);

    void OnSet();

    int m_nDiskMode = -1;
    int m_nRecMode = -1;
};
