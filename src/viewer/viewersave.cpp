// The viewer page's saving to the PC: the REC key's save-to-PC dialog, the
// Image run (each picture the page shows is stored until the count is
// reached) and the Backup run (the progress dialog walks the recording), both
// into an event folder that the event database then lists.
#include "viewer/viewerdlg.h"

#include "app/vx2200net.h"
#include "backup/progressdlg.h"
#include "backup/vwrecsetdlg.h"
#include "image/vximage.h"
#include "platform/prompter.h"
#include "store/backuprun.h"
#include "store/filedbase.h"

namespace {

constexpr int MODE_DISK_FULL = 33;
constexpr int BACKUP_RANGE = 100;

} // namespace

int CViewerDlg::SavePicture(const std::uint8_t* pInfo)
{
    const CVXImage* pImage = Image();
    if (!pImage)
        return 0;
    switch (m_saveStore.SavePicture(pInfo, INFO_SIZE, pImage->GetTestFilePath(), true)) {
    case CPictureStore::SaveResult::Written:
        ++m_nSavedCount;
        return 1;
    case CPictureStore::SaveResult::DiskFull:
        // The stopped state ends the run on the next tick, also while the
        // notice is open.
        m_nPlayState = PLAY_STOP;
        GetPrompter().Confirm(MODE_DISK_FULL);
        return 0;
    case CPictureStore::SaveResult::Skipped:
    case CPictureStore::SaveResult::WriteFailed:
        break;
    }
    // A picture that cannot be stored is passed over; the run goes on.
    return 0;
}

bool CViewerDlg::HasDiskSpace(std::uint64_t nSize, const std::string& strPath)
{
    return CPictureStore::HasDiskSpace(nSize, strPath);
}

// Each picture shown while saving: stored until the count is reached; the one
// after the last ends the run and is shown, not stored.
void CViewerDlg::TakeSavedPicture()
{
    if (m_nTargetCount > m_nSavedCount) {
        SavePicture(m_byLastInfo.data());
        return;
    }
    m_bSaving = 0;
    m_nPlayState = PLAY_STOP;
    PaintPicture();
}

void CViewerDlg::OpenSaveDialog()
{
    CVwRecSetDlg dlg(this);
    if (dlg.exec() != 1)
        return;
    if (dlg.GetMode() == CVwRecSetDlg::MODE_BACKUP)
        StartBackupRun(dlg);
    else
        StartImageRun(dlg);
}

void CViewerDlg::StartImageRun(const CVwRecSetDlg& dlg)
{
    m_bSaving = 1;
    m_nSavedCount = 0;
    m_nTargetCount = dlg.GetImageCount();
    m_strSaveFolder = CBackupRun::EventFolderOf(dlg.GetImageFolder(), dlg.GetEventName());
    CVX2200NETApp::CreateDirectoryPath(m_strSaveFolder);
    m_saveStore = CPictureStore(m_strSaveFolder);
    if (m_nTargetCount > 1) {
        m_nPlayState = PLAY_SAVING;
        ShowPicture(m_bRecording ? CMD_LATEST : CMD_FORWARD, KEY_SAVING);
    } else {
        // One picture: the next one, and the page stays stopped.
        ShowPicture(CMD_FORWARD, KEY_STOP);
        m_bSaving = 0;
        PaintPicture();
    }
    RegisterEvent(dlg.GetEventName());
    m_nStatusTick = STATUS_TICK_NOW;
}

void CViewerDlg::StartBackupRun(const CVwRecSetDlg& dlg)
{
    m_strSaveFolder = dlg.GetBackupFolder();
    CVX2200NETApp::CreateDirectoryPath(m_strSaveFolder);
    m_startTime = dlg.GetStartTime();
    m_endTime = dlg.GetEndTime();
    // The REC key is lit while the progress dialog is open.
    m_nPlayState = PLAY_BACKUP;
    m_nKeyMode = KEY_SAVING;
    bool bStarted = false;
    {
        CProgressDlg progress(CProgressDlg::MODE_BACKUP, BACKUP_RANGE, m_startTime, m_endTime, m_strSaveFolder,
                              dlg.GetEventName(), this);
        progress.exec();
        bStarted = !progress.FailedToStart();
    }
    m_nPlayState = PLAY_STOP;
    // A run that fetched its first picture is registered, also when it was
    // cancelled or failed later.
    if (bStarted) {
        m_strSaveFolder = CBackupRun::EventFolderOf(m_strSaveFolder, dlg.GetEventName());
        RegisterEvent(dlg.GetEventName());
    }
    m_nStatusTick = STATUS_TICK_NOW;
}

void CViewerDlg::RegisterEvent(const std::string& strName)
{
    const CVX2200NETApp* pApp = GetApp();
    CFileDBase* pDb = pApp ? pApp->GetFileDB() : nullptr;
    if (!pDb)
        return;
    pDb->Load();
    pDb->AddEvent(strName, m_strSaveFolder);
}
