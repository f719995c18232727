// The Display page: which of the recorder's on-screen indications are shown.
// Reads VQ, VD, VW, VR, VP, VG, VH, VT, VC, then VM (refused by a one-disk
// recorder: then empty and disabled), then the disk mode WD, by which the
// REMAINING TIME list is rebuilt at every reading (five choices with mirroring
// disks, two otherwise). Writes VQ .. VC and VM, never the disk mode.
#pragma once

#include "remote/settingpage.h"

class CSet_OSDDlg : public CSettingPage {
    Q_OBJECT
public:
    enum {
        IDD = 156,
        IDC_QUALITY = 1258,
        IDC_AUDIO = 1261,
        IDC_REC_MODE = 1264,
        IDC_RECORDING = 1266,
        IDC_PLAYING = 1269,
        IDC_REMAINING = 1272,
        IDC_DATE = 1275,
        IDC_TIME = 1234,
        IDC_TIME_POS = 1237,
        IDC_DISK_MODE = 1240,
        IDC_SET = 1474,
    };

    explicit CSet_OSDDlg(QWidget* pParent = nullptr);

    void ReadSettings() override;
    void OnSet();

    int m_nDispQuality = -1;
    int m_nDispAudio = -1;
    int m_nDispRecMode = -1;
    int m_nDispRecording = -1;
    int m_nDispPlaying = -1;
    int m_nDispRemain = -1;
    int m_nDispDate = -1;
    int m_nDispTime = -1;
    int m_nDispPos = -1;
    int m_nDispDiskMode = -1;

private:
    void FillRemainingTime(bool bMirroring);
};
