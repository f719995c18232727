// The PC File Viewer page: the event list and the camera, date and time
// selectors, which offer only what the event's folder tree holds.
#include "fileviewer/fileviewdlg.h"

#include "store/eventfolder.h"
#include "store/filedbase.h"
#include "widgets/resstring.h"

#include <QComboBox>
#include <QDateEdit>
#include <QLabel>

#include <algorithm>
#include <cstdio>

namespace {

// The store walk's levels, as LevelNames takes them.
constexpr int LEVEL_CAMERA = 0;
constexpr int LEVEL_DATE = 1;
constexpr int LEVEL_HOUR = 2;
constexpr int LEVEL_MINUTE = 3;
constexpr int LEVEL_SECOND = 4;

QString FromBytes(const std::string& str)
{
    return QString::fromUtf8(str.data(), static_cast<qsizetype>(str.size()));
}

std::string ToBytes(const QString& str)
{
    return str.toStdString();
}

} // namespace

// ---------------------------------------------------------------------------
// The event list

void CFileViewDlg::FillEventList()
{
    CFileDBase::Entries entries;
    if (CFileDBase* pDB = FileDB()) {
        pDB->Load();
        pDB->RemoveMissing();
        pDB->GetEntries(entries);
    }
    m_pEvent->clear();
    if (entries.empty())
        m_pEvent->addItem(QString::fromLatin1(NO_EVENT));
    std::vector<std::string> names;
    for (const CEventEntry& entry : entries) {
        // One item per name, whatever its letter case: the first entry wins.
        const bool bListed = std::any_of(names.begin(), names.end(), [&](const std::string& strName) {
            return CEventFolder::SameName(strName, entry.strName);
        });
        if (!bListed) {
            names.push_back(entry.strName);
            AddSorted(m_pEvent, FromBytes(entry.strName));
        }
    }
    m_pEvent->setCurrentIndex(0);
}

std::string CFileViewDlg::FindEventFolder(const QString& strName) const
{
    CFileDBase* pDB = FileDB();
    CFileDBase::Entries entries;
    if (strName.isEmpty() || !pDB || !pDB->GetEntries(entries))
        return std::string();
    const auto found = CEventFolder::Find(entries, ToBytes(strName));
    return found ? found->strPath : std::string();
}

// ---------------------------------------------------------------------------
// Lists of folders

void CFileViewDlg::AddSorted(QComboBox* pList, const QString& strText)
{
    int i = 0;
    while (i < pList->count() && pList->itemText(i).compare(strText, Qt::CaseInsensitive) <= 0)
        ++i;
    pList->insertItem(i, strText);
}

void CFileViewDlg::SelectFirst(QComboBox* pList)
{
    pList->setCurrentIndex(pList->count() > 0 ? 0 : -1);
}

// Adds the folders of strFolder that the store walk would visit at nLevel.
bool CFileViewDlg::AddSubfolders(const std::string& strFolder, QComboBox* pList, bool bEmptyFirst, int nLevel)
{
    if (bEmptyFirst)
        pList->clear();
    bool bAdded = false;
    for (const std::string& strName : m_walk.LevelNames(strFolder, nLevel)) {
        AddSorted(pList, FromBytes(strName));
        bAdded = true;
    }
    return bAdded;
}

void CFileViewDlg::ResetSelectorsFrom(int nLevel)
{
    QComboBox* const lists[] = {m_pCamera, m_pHour, m_pMinute, m_pSecond};
    // Level 0 resets from the camera on, 1 and 2 from the hour, 3 from the
    // minute, 4 the second alone.
    const int nFirst = nLevel <= 0 ? 0 : (nLevel <= 2 ? 1 : nLevel - 1);
    for (int i = nFirst; i < 4; ++i) {
        lists[i]->clear();
        lists[i]->addItem(QString::fromLatin1(NOT_AVAILABLE));
        lists[i]->setCurrentIndex(0);
    }
}

// The date folder of the date picker, with its final '/'.
std::string CFileViewDlg::DateFolder() const
{
    const QDate date = m_pDate->date();
    char szName[32];
    std::snprintf(szName, sizeof szName, "%d_%02d_%02d/", date.year(), date.month(), date.day());
    return szName;
}

// The selected camera's folder, with its final '/'.
std::string CFileViewDlg::CameraPath() const
{
    return m_strEventFolderSlash + ToBytes(m_strCamera) + "/";
}

void CFileViewDlg::SetDate(int nYear, int nMonth, int nDay)
{
    const QSignalBlocker block(m_pDate);
    m_pDate->setDate(QDate(nYear, nMonth, nDay));
}

void CFileViewDlg::ReadControls()
{
    m_date = QDateTime(m_pDate->date(), QTime(0, 0));
    m_strCamera = m_pCamera->currentText();
    m_nHour = m_pHour->currentIndex();
    m_nMinute = m_pMinute->currentIndex();
    m_nSecond = m_pSecond->currentIndex();
}

bool CFileViewDlg::FillTimeList(QComboBox* pFrom, QComboBox* pTo, bool bWithHour)
{
    const QString strSource = pFrom->currentText();
    if (strSource.isEmpty())
        return true;
    std::string strFolder = CameraPath() + DateFolder();
    if (bWithHour)
        strFolder += ToBytes(m_pHour->currentText()) + "/";
    strFolder += ToBytes(strSource) + "/";
    if (!AddSubfolders(strFolder, pTo, true, pTo == m_pMinute ? LEVEL_MINUTE : LEVEL_SECOND)) {
        pTo->addItem(QString::fromLatin1(NOT_AVAILABLE));
        return false;
    }
    return true;
}

// ---------------------------------------------------------------------------
// Refreshing the selectors

void CFileViewDlg::RefreshSelectors(bool bInitial, bool bKeepCamera)
{
    const QString strNoEvent = QString::fromLatin1(NO_EVENT);
    const QString strNotAvailable = QString::fromLatin1(NOT_AVAILABLE);
    if (bInitial) {
        SelectFirst(m_pEvent);
        if (m_pEvent->count() == 0) {
            m_pEvent->addItem(strNoEvent);
            m_strPath = NO_EVENT;
        }
    }
    // The event's cameras.
    if (m_pEvent->currentIndex() < 0) {
        m_pEvent->addItem(strNoEvent);
        m_pEvent->setCurrentIndex(m_pEvent->count() - 1);
        m_pCamera->addItem(strNotAvailable);
        ResetSelectorsFrom(0);
        return;
    }
    const QString strName = m_pEvent->currentText();
    m_pCamera->clear();
    const std::string strFolder = FindEventFolder(strName);
    m_strPath = strFolder;
    m_pPathLine->setText(FromBytes(m_strPath));
    m_strEventNameSlash = ToBytes(strName) + "/";
    // An event the database no longer finds has no folder to look in at all.
    m_strEventFolderSlash = strFolder.empty() ? std::string() : strFolder + "/";
    if (strName == strNoEvent || strFolder.empty() || !AddSubfolders(strFolder, m_pCamera, false, LEVEL_CAMERA)) {
        m_pCamera->addItem(strNotAvailable);
        ResetSelectorsFrom(0);
        return;
    }
    m_pCamera->setCurrentIndex(bKeepCamera && m_nCameraSel >= 0 && m_nCameraSel < m_pCamera->count() ? m_nCameraSel
                                                                                                       : 0);
    // The camera's first date.
    m_strCamera = m_pCamera->currentText();
    const std::vector<std::string> dates = m_walk.LevelNames(CameraPath(), LEVEL_DATE);
    if (dates.empty()) {
        ResetSelectorsFrom(1);
        return;
    }
    const std::string& strDate = dates.front(); // "yyyy_mm_dd"
    SetDate(std::stoi(strDate.substr(0, 4)), std::stoi(strDate.substr(5, 2)), std::stoi(strDate.substr(8, 2)));
    if (!AddSubfolders(CameraPath() + strDate + "/", m_pHour, true, LEVEL_HOUR)) {
        ResetSelectorsFrom(2);
        return;
    }
    // Its first hour, minute and second.
    SelectFirst(m_pHour);
    ReadControls();
    if (!FillTimeList(m_pHour, m_pMinute, false)) {
        ResetSelectorsFrom(3);
        return;
    }
    SelectFirst(m_pMinute);
    ReadControls();
    if (!FillTimeList(m_pMinute, m_pSecond, true)) {
        ResetSelectorsFrom(4);
        return;
    }
    SelectFirst(m_pSecond);
    ReadControls();
}

// ---------------------------------------------------------------------------
// Selection changes

void CFileViewDlg::OnEventChange()
{
    RefreshSelectors(false, false);
    m_pStatus->clear();
}

void CFileViewDlg::OnCameraChange(int nIndex)
{
    m_nCameraSel = nIndex;
    RefreshSelectors(false, true);
}

void CFileViewDlg::OnDateChange()
{
    if (m_strEventNameSlash.empty()) {
        m_pStatus->setText(ResString(STRING_CHOOSE_EVENT));
        return;
    }
    if (m_pCamera->currentIndex() < 0) {
        m_pStatus->setText(ResString(STRING_CHOOSE_CAMERA));
        return;
    }
    m_strCamera = m_pCamera->currentText();
    const std::string strFolder = CameraPath() + DateFolder();
    m_pMinute->clear();
    m_pSecond->clear();
    m_pStatus->clear();
    if (m_strEventFolderSlash.empty() || !AddSubfolders(strFolder, m_pHour, true, LEVEL_HOUR)) {
        ResetSelectorsFrom(2);
    } else {
        SelectFirst(m_pHour);
        if (!FillTimeList(m_pHour, m_pMinute, false))
            ResetSelectorsFrom(3);
        SelectFirst(m_pMinute);
        if (!FillTimeList(m_pMinute, m_pSecond, true))
            ResetSelectorsFrom(4);
        SelectFirst(m_pSecond);
    }
    ReadControls();
}

void CFileViewDlg::OnHourChange()
{
    if (FillTimeList(m_pHour, m_pMinute, false)) {
        SelectFirst(m_pMinute);
        ReadControls();
        if (FillTimeList(m_pMinute, m_pSecond, true))
            SelectFirst(m_pSecond);
        else
            ResetSelectorsFrom(4);
    } else {
        ResetSelectorsFrom(3);
    }
    SelectFirst(m_pMinute);
    SelectFirst(m_pSecond);
    ReadControls();
}

void CFileViewDlg::OnMinuteChange()
{
    if (!FillTimeList(m_pMinute, m_pSecond, true))
        ResetSelectorsFrom(4);
    SelectFirst(m_pSecond);
    ReadControls();
}

void CFileViewDlg::OnSecondChange(int nIndex)
{
    m_nSecond = nIndex;
}
