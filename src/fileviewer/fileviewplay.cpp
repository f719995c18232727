// The PC File Viewer page: the picture view, playback, printing and deleting
// an event.
#include "fileviewer/fileviewdlg.h"

#include "image/vximage.h"
#include "platform/prompter.h"
#include "store/eventfolder.h"
#include "store/treedeleter.h"
#include "widgets/resstring.h"

#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>

#include <cstring>

// ---------------------------------------------------------------------------
// The picture view

void CFileViewDlg::ShowPictureArea(bool bShow)
{
    m_pPicture->setVisible(bShow);
    m_pPicture->setEnabled(bShow);
    m_pList->setVisible(!bShow);
    m_pList->setEnabled(!bShow);
}

void CFileViewDlg::SetPlaybackCaption(int nStringId)
{
    m_pPlayback->setText(ResString(nStringId));
}

int CFileViewDlg::SelectedRow() const
{
    for (int i = m_pList->count() - 1; i >= 0; --i) {
        if (m_pList->item(i)->isSelected())
            return i < m_nThumbnailCount ? i : -1;
    }
    return -1;
}

bool CFileViewDlg::ShowPicture(const std::string& strPath)
{
    if (!m_bInitialised)
        return false;
    m_strOnDisplay = strPath;
    std::memset(m_pDisplayFrame.get(), 0, CVXImage::FRAME_BYTES);
    CVXImage* pImage = Image();
    int nWidth = 0;
    int nHeight = 0;
    if (!pImage || !pImage->LoadPictureFile(strPath, m_pWorkFrame.get(), nWidth, nHeight))
        return false;
    CVXImage::CropVisible(m_pDisplayPicture.get(), m_pWorkFrame.get());
    std::memcpy(m_pDisplayFrame.get(), m_pWorkFrame.get(), CVXImage::FRAME_BYTES);
    m_bmp.DrawPicture(m_pDisplayPicture.get(), PICTURE_WIDTH, PICTURE_HEIGHT);
    return true;
}

void CFileViewDlg::OnThumbnailClick(int nRow)
{
    if (nRow >= 0 && nRow < m_nThumbnailCount)
        m_strCurrent = m_strPicture[static_cast<std::size_t>(nRow)];
}

void CFileViewDlg::OpenPictureView()
{
    const int nRow = SelectedRow();
    if (!m_bInitialised || nRow < 0)
        return;
    m_strCurrent = m_strPicture[static_cast<std::size_t>(nRow)];
    ShowPictureArea(true);
    ShowPicture(m_strCurrent);
    m_bPictureMode = true;
    m_pPlayback->setEnabled(true);
    m_pSearch->setEnabled(false);
    m_pDelete->setEnabled(false);
}

void CFileViewDlg::ClosePictureView()
{
    m_bPictureMode = false;
    SetPlaybackCaption(STRING_PLAYBACK);
    m_pPlayback->setEnabled(false);
    ShowPictureArea(false);
    m_pPrint->setEnabled(true);
    m_pSearch->setEnabled(true);
    m_pDelete->setEnabled(true);
    m_bPlaying = false;
    m_bPaused = false;
    update();
}

// ---------------------------------------------------------------------------
// Playback

void CFileViewDlg::OnPlayback()
{
    const int nRow = SelectedRow();
    if (!m_strCurrent.empty() && nRow >= 0) {
        m_strCurrent = m_strPicture[static_cast<std::size_t>(nRow)];
        ShowPictureArea(true);
        m_pPrint->setEnabled(false);
    }
    if (!m_bPlaying) {
        m_bPlaying = true;
        m_bFirstStep = true;
        m_bPaused = false;
        SetPlaybackCaption(STRING_PLAYING);
    } else if (!m_bPaused) {
        m_bFirstStep = false;
        m_bPaused = true;
        SetPlaybackCaption(STRING_PLAYBACK);
        m_pPrint->setEnabled(true);
    } else {
        m_bFirstStep = false;
        m_bPaused = false;
        SetPlaybackCaption(STRING_PLAYING);
        m_pPrint->setEnabled(false);
    }
}

// One picture per tick, in time order, within the camera folder of the last
// search. At the end the last picture stays on display and every tick looks
// again for one after it (a backup may still be adding pictures).
void CFileViewDlg::PlaybackStep()
{
    if (m_strCameraFolder.empty() || !m_bPlaying)
        return;
    if (m_bFirstStep) {
        ShowPictureArea(true);
        ShowPicture(m_strCurrent);
        m_bFirstStep = false;
        m_strNext = m_walk.FollowingPicture(m_strCurrent);
        if (m_strNext.empty())
            m_strNext = m_strCurrent;
        return;
    }
    if (m_bPaused)
        return;
    if (m_strNext.empty()) {
        m_strNext = m_strCurrent;
        return;
    }
    ShowPicture(m_strNext);
    std::string strFollowing = m_walk.FollowingPicture(m_strNext);
    if (strFollowing.empty()) {
        m_pPlayback->setEnabled(false);
        m_pPrint->setEnabled(true);
        return;
    }
    if (!m_pPlayback->isEnabled()) {
        // Pictures came after the end: playing again, so Playback pauses it.
        m_pPlayback->setEnabled(true);
        m_pPrint->setEnabled(false);
    }
    m_strNext = std::move(strFollowing);
}

// ---------------------------------------------------------------------------
// Printing

CFilePrintPage CFileViewDlg::PrintPicture() const
{
    const QString strCamera = CFilePrintPage::CameraText(m_pCamera->currentIndex() >= 0, m_pCamera->currentText());
    std::vector<std::uint8_t> display(CVXImage::DISPLAY_BYTES);
    if (m_pDisplayFrame)
        CVXImage::CropVisible(display.data(), m_pDisplayFrame.get());
    return CFilePrintPage::PictureSheet(strCamera, m_strOnDisplay, UiLanguage(), display.data());
}

CFilePrintPage CFileViewDlg::PrintThumbnails() const
{
    const QString strCamera = CFilePrintPage::CameraText(m_pCamera->currentIndex() >= 0, m_pCamera->currentText());
    std::vector<CFilePrintPage::Thumbnail> thumbnails;
    for (int k = 0; k < m_nThumbnailCount; ++k)
        thumbnails.push_back({GetThumbnail(k), m_strCaption[static_cast<std::size_t>(k)]});
    return CFilePrintPage::ThumbnailSheet(strCamera, thumbnails);
}

void CFileViewDlg::OnPrint()
{
    // A cancelled dialog or a document that cannot be started prints nothing
    // and says nothing.
    PrintPage().Print();
}

// ---------------------------------------------------------------------------
// Deleting an event

void CFileViewDlg::ReportUndeleted(const std::vector<std::string>& left)
{
    std::string strText(CStringTable::Load(STRING_CANNOT_DELETE));
    while (!strText.empty() && strText.front() == '\n')
        strText.erase(strText.begin());
    for (const std::string& strFolder : left)
        strText += "\n" + strFolder;
    GetPrompter().MessageBox(strText, "VX2200NET", MessageIcon::Warning, MessageButtons::Ok);
}

void CFileViewDlg::DeleteEvent()
{
    if (GetPrompter().Confirm(MODE_DELETE_EVENT) != 1)
        return;
    // Only the folder of the event as the save function builds it: an entry
    // edited to name another folder deletes nothing.
    const std::string strName = m_strEventNameSlash.empty()
                                    ? std::string()
                                    : m_strEventNameSlash.substr(0, m_strEventNameSlash.size() - 1);
    if (!CEventFolder::IsDeletable(m_strPath, strName)) {
        ReportUndeleted({m_strPath});
        return;
    }
    const std::vector<std::string> left = CTreeDeleter::DeleteTree(m_strPath);
    if (!left.empty())
        ReportUndeleted(left);
    // What was deleted stays deleted: the lists show what is left (an event
    // whose folder could not be deleted whole stays listed).
    FillEventList();
    RefreshSelectors(false, false);
    ClearThumbnails();
}
