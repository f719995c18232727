#include "remote/settingpage.h"

#include "link/vx2200ctrl.h"
#include "remote/settingitems.h"
#include "widgets/waitcursor.h"

#include <QComboBox>

void CSettingPage::OnShowWindow(bool bShow)
{
    if (!bShow)
        return;
    CWaitCursor cursor;
    ReadSettings();
}

void CSettingPage::ReadSettings()
{
    Reading reading;
    if (ReadFields(reading))
        TakeReading(reading);
}

QComboBox* CSettingPage::AddField(int k, int nId, int& nMember, int nRow, int nColumn, bool bMayBeRefused,
                                  const QStringList& items)
{
    QComboBox* pCombo = AddCombo(nId, CSettingItems::Caption(k), items.isEmpty() ? CSettingItems::Items(k) : items,
                                 nRow, nColumn);
    nMember = -1;
    m_fields.push_back({k, pCombo, &nMember, bMayBeRefused});
    return pCombo;
}

const CSettingPage::Field* CSettingPage::FindField(int k) const
{
    for (const Field& field : m_fields) {
        if (field.k == k)
            return &field;
    }
    return nullptr;
}

QComboBox* CSettingPage::FieldCombo(int k) const
{
    const Field* pField = FindField(k);
    return pField ? pField->pCombo : nullptr;
}

int CSettingPage::ReadValue(int k, int& nValue)
{
    CVX2200Ctrl* pCtrl = Ctrl();
    return pCtrl ? pCtrl->GetMenuValue(k, nValue) : CVX2200Ctrl::STATUS_FAILED;
}

int CSettingPage::WriteValue(int k, int nValue)
{
    CVX2200Ctrl* pCtrl = Ctrl();
    return pCtrl ? pCtrl->SetMenuValue(k, nValue) : CVX2200Ctrl::STATUS_FAILED;
}

bool CSettingPage::ReadFields(Reading& reading) const
{
    reading.values.assign(m_fields.size(), -1);
    reading.refused.assign(m_fields.size(), false);
    for (std::size_t i = 0; i < m_fields.size(); ++i) {
        const int nStatus = ReadValue(m_fields[i].k, reading.values[i]);
        if (nStatus == CVX2200Ctrl::STATUS_OK)
            continue;
        if (nStatus != CVX2200Ctrl::STATUS_FAILED || !m_fields[i].bMayBeRefused)
            return false;
        reading.refused[i] = true;
        reading.values[i] = -1;
    }
    return true;
}

void CSettingPage::TakeReading(const Reading& reading)
{
    for (std::size_t i = 0; i < m_fields.size() && i < reading.values.size(); ++i) {
        const Field& field = m_fields[i];
        const bool bRefused = i < reading.refused.size() && reading.refused[i];
        *field.pMember = bRefused ? -1 : reading.values[i];
        if (field.bMayBeRefused && field.pCombo->isEnabled() == bRefused)
            field.pCombo->setEnabled(!bRefused);
    }
    UpdateControls();
}

void CSettingPage::UpdateControls()
{
    for (const Field& field : m_fields)
        ShowChoice(field.pCombo, *field.pMember);
}

void CSettingPage::TakeControls()
{
    for (const Field& field : m_fields)
        *field.pMember = TakeChoice(field.pCombo);
}

int CSettingPage::WriteFields(std::initializer_list<int> order, bool bStopAtFailure)
{
    TakeControls();
    int nStatus = CVX2200Ctrl::STATUS_OK;
    for (const int k : order) {
        const Field* pField = FindField(k);
        if (!pField)
            continue;
        nStatus = WriteValue(k, *pField->pMember);
        if (nStatus != CVX2200Ctrl::STATUS_OK && bStopAtFailure)
            break;
    }
    return nStatus;
}
