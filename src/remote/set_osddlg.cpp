#include "remote/set_osddlg.h"

#include "link/vx2200ctrl.h"
#include "remote/menusetting.h"
#include "remote/settingitems.h"

#include <QComboBox>
#include <QPushButton>

namespace {
constexpr int DISK_MIRRORING = 1;
}

CSet_OSDDlg::CSet_OSDDlg(QWidget* pParent) : CSettingPage(IDD, pParent)
{
    AddField(SET_VQ, IDC_QUALITY, m_nDispQuality, 0);
    AddField(SET_VD, IDC_AUDIO, m_nDispAudio, 1);
    AddField(SET_VW, IDC_REC_MODE, m_nDispRecMode, 2);
    AddField(SET_VR, IDC_RECORDING, m_nDispRecording, 3);
    AddField(SET_VP, IDC_PLAYING, m_nDispPlaying, 4);
    AddField(SET_VG, IDC_REMAINING, m_nDispRemain, 0, 1);
    AddField(SET_VH, IDC_DATE, m_nDispDate, 1, 1);
    AddField(SET_VT, IDC_TIME, m_nDispTime, 2, 1);
    AddField(SET_VC, IDC_TIME_POS, m_nDispPos, 3, 1);
    AddField(SET_VM, IDC_DISK_MODE, m_nDispDiskMode, 4, 1, true);
    FieldCombo(SET_VG)->clear(); // built at every reading
    connect(AddSettingButton(IDC_SET), &QPushButton::clicked, this, &CSet_OSDDlg::OnSet);
}

void CSet_OSDDlg::ReadSettings()
{
    Reading reading;
    if (!ReadFields(reading))
        return;
    int nDiskMode = -1;
    const int nStatus = ReadValue(SET_WD, nDiskMode);
    if (nStatus != CVX2200Ctrl::STATUS_OK && nStatus != CVX2200Ctrl::STATUS_FAILED)
        return;
    FillRemainingTime(nStatus == CVX2200Ctrl::STATUS_OK && nDiskMode == DISK_MIRRORING);
    TakeReading(reading);
}

void CSet_OSDDlg::FillRemainingTime(bool bMirroring)
{
    QComboBox* pCombo = FieldCombo(SET_VG);
    pCombo->clear();
    pCombo->addItems(CSettingItems::RemainingTimeItems(bMirroring));
    pCombo->setCurrentIndex(-1);
}

void CSet_OSDDlg::OnSet()
{
    WriteFields({SET_VQ, SET_VD, SET_VW, SET_VR, SET_VP, SET_VG, SET_VH, SET_VT, SET_VC, SET_VM});
}
