// The viewer page's play side: the 33-ms tick with its status poll and the step
// of each play state, fetching and showing pictures with their pacing (real
// time, time lag, the camera cycle and fast play), and the play keys.
#include "viewer/viewerdlg.h"

#include "app/pagehost.h"
#include "app/vx2200net.h"
#include "image/vximage.h"
#include "link/vx2200ctrl.h"
#include "widgets/bitmapbutton.h"

#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace {

constexpr int STRING_PLAYBACK = 257;
constexpr int STRING_REV_PLAY = 281;
// The time of a slot: the date and time at the end of the time line.
constexpr int SLOT_TIME_CHARS = 19;

} // namespace

// ---------------------------------------------------------------------------
// The tick

void CViewerDlg::OnTimer()
{
    if (!m_bInitialised)
        return;
    if (m_nPlayState != PLAY_STILL)
        m_pPrint->setEnabled(false);
    if (m_bPageVisible && m_nStatusTick > STATUS_POLL_AFTER && !m_bPolling)
        PollStatus();
    else
        m_nStatusTick = std::min(m_nStatusTick + 1, STATUS_TICK_NOW);
    StepPlayState();
}

void CViewerDlg::PollStatus()
{
    m_bPolling = 1;
    std::array<int, 4> nStatus {};
    CVX2200Ctrl* pCtrl = Ctrl();
    const bool bOk = pCtrl && pCtrl->QueryStatus(nStatus) == CVX2200Ctrl::STATUS_OK;
    if (bOk && nStatus[2] == 0) {
        m_bRecording = 0;
        EnablePlaybackModes(false);
    } else {
        // A failed query counts as recording: the real-time modes stay usable.
        m_bRecording = 1;
        m_bFirstPlay = 0;
        EnablePlaybackModes(true);
    }
    m_bPolling = 0;
    if (!m_bRecording)
        m_nDispMode = DISP_TIME_LAG;
    else
        m_nDispMode = m_pRealTime->isChecked() ? DISP_REAL_TIME : DISP_TIME_LAG;
    m_nStatusTick = 0;
    // Without an answer the keys keep the state the last answer gave them.
    if (bOk) {
        const bool bOn = nStatus[0] != 0;
        KeyButton(IDC_REC)->setEnabled(bOn);
        m_pSearch->setEnabled(bOn);
    }
}

void CViewerDlg::StepPlayState()
{
    switch (m_nPlayState) {
    case PLAY_STOP: StepStopped(); break;
    case PLAY_FORWARD: StepPlay(); break;
    case PLAY_REVERSE: ShowPicture(CMD_BACKWARD, KEY_RPLAY); break;
    case PLAY_STILL: StepStill(); break;
    case PLAY_SAVING: StepSaving(); break;
    case PLAY_SEARCH: StepSearchPlayback(); break;
    case PLAY_BACKUP: UpdateKeyImages(KEY_SAVING); break;
    default: break;
    }
}

void CViewerDlg::StepStopped()
{
    HideSpeed();
    if (!m_pTime->text().isEmpty())
        m_pTime->clear();
    m_nKeyMode = KEY_STOP;
    UpdateKeyImages(KEY_STOP);
    m_nCycleLength = 0;
    m_nCycleTick = 0;
    m_bCycleKnown = 0;
    m_bLiveStep = 0;
    m_bDoubleFetch = 0;
    m_bSaving = 0;
}

void CViewerDlg::StepPlay()
{
    if (m_bRecording) {
        if (m_nDispMode == DISP_REAL_TIME && m_bLiveStep == 0)
            ShowPicture(CMD_LATEST, KEY_PLAY);
        else
            ShowPicture(CMD_FORWARD, KEY_PLAY);
    } else if (m_bFirstPlay == 0) {
        ShowPicture(CMD_PLAY_START, KEY_PLAY);
        m_bFirstPlay = 1;
    } else {
        ShowPicture(CMD_FORWARD, KEY_PLAY);
    }
}

void CViewerDlg::StepStill()
{
    m_pPrint->setEnabled(true);
    m_nKeyMode = KEY_STILL;
    UpdateKeyImages(KEY_STILL);
    m_nCycleLength = 0;
    m_nCycleTick = 0;
    HideSpeed();
    m_bCycleKnown = 0;
}

void CViewerDlg::StepSaving()
{
    if (m_bRecording && (m_nKeyMode == KEY_STOP || m_nDispMode == DISP_REAL_TIME))
        ShowPicture(m_bLiveStep == 0 ? CMD_LATEST : CMD_FORWARD, KEY_PLAY);
    else
        ShowPicture(CMD_FORWARD, KEY_PLAY);
}

void CViewerDlg::StepSearchPlayback()
{
    m_bFirstPlay = 1;
    ShowPicture(CMD_BACKWARD, KEY_STILL);
    m_nPlayState = PLAY_STILL;
    CVX2200NETApp* pApp = GetApp();
    if (!pApp)
        return;
    pApp->SetSearchPlayback(0);
    if (CPageHost* pMain = pApp->GetMainWnd())
        pMain->SetSearchPlaybackMark(false);
}

// ---------------------------------------------------------------------------
// Fetching and showing pictures

int CViewerDlg::CameraCode(const std::uint8_t* pInfo)
{
    const int nCode = pInfo[17];
    return nCode < CAMERA_COUNT ? nCode : 0;
}

QString CViewerDlg::FormatTimeLine(const std::uint8_t* pInfo, int nLanguage)
{
    auto digits = [pInfo](int nOffset) {
        QString str;
        for (int i = nOffset; i < nOffset + 2; ++i) {
            const std::uint8_t by = pInfo[i];
            str += QChar(by >= 0x20 && by < 0x7F ? static_cast<char16_t>(by) : u'?');
        }
        return str;
    };
    const QString strYear = digits(5);
    const QString strMonth = digits(7);
    const QString strDay = digits(9);
    const QString strClock = digits(11) + ':' + digits(13) + ':' + digits(15);
    if (nLanguage == static_cast<int>(Language::English))
        return QStringLiteral("Time: ") + strMonth + '/' + strDay + QStringLiteral("/20") + strYear + ' ' + strClock;
    return QStringLiteral("Time: 20") + strYear + '/' + strMonth + '/' + strDay + ' ' + strClock;
}

int CViewerDlg::Fetch(int nCommand, Info& info)
{
    CVXImage* pImage = Image();
    return pImage ? pImage->FetchPicture(info.data(), m_pFrame.get(), nCommand) : 0;
}

// A second picture that replaces the first only when it arrives whole: a
// failed fetch must not leave the first picture's frame with the second's
// record (and so in another camera's slot).
int CViewerDlg::FetchReplacing(int nCommand, Info& info)
{
    CVXImage* pImage = Image();
    Info spare {};
    if (!pImage || !pImage->FetchPicture(spare.data(), m_pSpareFrame.get(), nCommand))
        return 0;
    info = spare;
    std::swap(m_pFrame, m_pSpareFrame);
    return 1;
}

int CViewerDlg::FetchWithRetry(int nCommand, Info& info)
{
    int bOk = Fetch(nCommand, info);
    if (!bOk && m_bSaving)
        bOk = Fetch(CMD_PLAY_START, info);
    return bOk;
}

void CViewerDlg::FetchCurrent(int nCommand)
{
    Info info {};
    Fetch(nCommand, info);
    m_nLastCamera = CameraCode(info.data());
}

int CViewerDlg::FetchForShow(int nCommand, int nKind, Info& info)
{
    const bool bStep = nCommand == CMD_FORWARD || nCommand == CMD_BACKWARD;
    const bool bPlayKind = nKind == KEY_PLAY || nKind == KEY_RPLAY;
    if (m_nPlayState == PLAY_SAVING && m_nSpeed == 0 && m_nDispMode != DISP_REAL_TIME)
        return FetchWithRetry(nCommand, info);
    if (bStep && bPlayKind)
        return m_nDispMode == DISP_TIME_LAG ? FetchTimeLag(nCommand, info) : FetchRealTime(nCommand, info);
    if (bStep) {
        const int bOk = FetchWithRetry(nCommand, info);
        m_nCycleLength = 0;
        m_nCycleTick = 0;
        return bOk;
    }
    const int bOk = Fetch(nCommand, info);
    m_nLastCamera = CameraCode(info.data());
    if (nCommand == CMD_LATEST) {
        if (m_nPlayState == PLAY_SAVING)
            m_bCycleKnown = 0;
        m_nCycleTick = 0;
        m_bLiveStep = 1;
    } else {
        m_nCycleLength = 0;
        m_nCycleTick = 0;
    }
    return bOk;
}

// Time-lag play of recorded pictures. Until one cycle through the recorded
// cameras has been seen, each tick fetches two pictures and shows the second;
// the cycle is known when the first camera comes round again, and is then
// twice the ticks counted. Afterwards one picture is shown per tick, and at the
// start of every cycle, unless the speed is 1, speed x cycle pictures are
// skipped without being transferred.
int CViewerDlg::FetchTimeLag(int nCommand, Info& info)
{
    const int bOk = Fetch(nCommand, info);
    if (m_bRecording)
        return bOk;
    if (!m_bCycleKnown) {
        FetchReplacing(nCommand, info);
        ++m_nCycleLength;
        if (CameraCode(info.data()) == m_nLastCamera || m_nCycleLength >= MAX_CYCLE_TICKS) {
            m_nCycleLength *= 2;
            m_bCycleKnown = 1;
        }
    }
    if (m_bCycleKnown) {
        if (m_nCycleLength == m_nCycleTick) {
            if (m_nSpeed != 1)
                SkipPictures(nCommand, m_nSpeed * m_nCycleLength);
            m_nCycleTick = 0;
        }
        ++m_nCycleTick;
    }
    return bOk;
}

// Real-time play: steps forward from the latest picture and, once a cycle of
// cameras is known, jumps to the latest picture again after cycle + 1 steps.
// At the fastest recording interval (RI 0) two pictures are fetched per tick.
int CViewerDlg::FetchRealTime(int nCommand, Info& info)
{
    int bOk = Fetch(nCommand, info);
    if (m_bDoubleFetch)
        bOk = Fetch(nCommand, info);
    if (!m_bCycleKnown) {
        int nInterval = -1;
        CVX2200Ctrl* pCtrl = Ctrl();
        if (!pCtrl || pCtrl->GetRI(nInterval) != CVX2200Ctrl::STATUS_OK)
            nInterval = -1;
        ++m_nCycleLength;
        if (nInterval == 0)
            FetchReplacing(nCommand, info);
        if (CameraCode(info.data()) == m_nLastCamera || m_nCycleLength >= MAX_CYCLE_TICKS) {
            if (nInterval == 0)
                m_bDoubleFetch = 1;
            m_bCycleKnown = 1;
        }
    }
    if (m_bCycleKnown) {
        ++m_nCycleTick;
        if (m_nCycleLength < m_nCycleTick) {
            m_bLiveStep = 0;
            m_nCycleTick = 0;
        }
    }
    return bOk;
}

// Step requests without transfer; a recorder that fails one would fail the
// rest as well, each after the receive limit, so skipping ends there.
void CViewerDlg::SkipPictures(int nCommand, int nCount)
{
    CVX2200Ctrl* pCtrl = Ctrl();
    if (!pCtrl)
        return;
    for (int i = 0; i < nCount; ++i) {
        if (pCtrl->PictureStep(nCommand) != CVX2200Ctrl::STATUS_OK)
            break;
    }
}

void CViewerDlg::ShowPicture(int nCommand, int nKind)
{
    if (!m_bInitialised)
        return;
    Info info {};
    if (FetchForShow(nCommand, nKind, info))
        TakePicture(info, nKind);
    else if (m_nDispMode == DISP_TIME_LAG)
        StopAfterFailure();
}

void CViewerDlg::TakePicture(const Info& info, int nKind)
{
    m_byLastInfo = info;
    const int k = CameraCode(info.data());
    Slot& slot = m_slots[static_cast<std::size_t>(k)];
    slot.bHasPicture = 1;
    CVXImage::CropVisible(slot.pPicture.get(), m_pFrame.get());
    const CVXImage* pImage = Image();
    slot.nFileSize = pImage ? pImage->GetLastFileSize() : 0;
    m_nLastPictureCamera = k;
    m_bAnyPicture = 1;
    const QString strLine = FormatTimeLine(info.data(), UiLanguage());
    m_pTime->setText(strLine);
    slot.strTime = strLine.right(SLOT_TIME_CHARS);
    if (m_bSaving)
        TakeSavedPicture();
    if (m_bAllCamera)
        DrawSingle(slot.pPicture.get());
    else
        DrawCells();
    m_nKeyMode = nKind;
    UpdateKeyImages(nKind);
}

// Time-lag play that loses its pictures stops, with an empty grid.
void CViewerDlg::StopAfterFailure()
{
    HideSpeed();
    m_pTime->setText(QStringLiteral(" "));
    m_nPlayState = PLAY_STOP;
    m_bmp.Clear(m_nWhiteBrush);
    DrawGrid(m_nSplit);
    m_nSpeed = 0;
    m_nCycleLength = 0;
    m_nCycleTick = 0;
    m_bCycleKnown = 1;
    m_bLiveStep = 1;
}

// ---------------------------------------------------------------------------
// Play keys

void CViewerDlg::ResetCycle()
{
    m_nSpeed = 0;
    m_nCycleLength = 0;
    m_nCycleTick = 0;
}

void CViewerDlg::UpdateSpeed(int nState)
{
    if (m_nSpeed == 0) {
        m_nSpeed = 1;
        m_bCycleKnown = 0;
        return;
    }
    m_nSpeed = m_nPlayState == nState ? m_nSpeed * 2 : 1;
    if (m_nSpeed >= 16)
        m_nSpeed = 1;
}

void CViewerDlg::OnStop()
{
    HideSpeed();
    ResetCycle();
    m_bCycleKnown = 0;
    m_nPlayState = PLAY_STOP;
    m_bSaving = 0;
    m_bmp.Clear(m_nWhiteBrush);
    DrawGrid(m_nSplit);
    m_nStatusTick = STATUS_TICK_NOW;
    m_bLiveStep = 0;
}

void CViewerDlg::OnPlay()
{
    if (m_nDispMode == DISP_TIME_LAG && !m_bRecording) {
        if (m_nPlayState != PLAY_FORWARD)
            FetchCurrent(CMD_FORWARD);
        // REC MODE 1: playback begins where the recorder stands, not at J5's picture.
        int nRecMode = 0;
        if (CVX2200Ctrl* pCtrl = Ctrl(); pCtrl && pCtrl->GetWM(nRecMode) == CVX2200Ctrl::STATUS_OK && nRecMode == 1)
            m_bFirstPlay = 1;
        UpdateSpeed(PLAY_FORWARD);
        ShowSpeed(STRING_PLAYBACK);
    } else {
        HideSpeed();
        ShowPicture(CMD_LATEST, KEY_STILL);
    }
    m_nPlayState = PLAY_FORWARD;
    m_nStatusTick = STATUS_TICK_NOW;
}

void CViewerDlg::OnRPlay()
{
    if (m_nDispMode == DISP_TIME_LAG && !m_bRecording) {
        if (m_nPlayState != PLAY_FORWARD)
            FetchCurrent(CMD_BACKWARD);
        UpdateSpeed(PLAY_REVERSE);
        ShowSpeed(STRING_REV_PLAY);
    }
    m_nPlayState = PLAY_REVERSE;
    m_nStatusTick = STATUS_TICK_NOW;
}

void CViewerDlg::OnPause()
{
    HideSpeed();
    m_nSpeed = 0;
    m_nPlayState = PLAY_STILL;
    m_bCycleKnown = 0;
    m_nStatusTick = STATUS_TICK_NOW;
}

void CViewerDlg::OnStep()
{
    HideSpeed();
    ResetCycle();
    ShowPicture(CMD_FORWARD, KEY_STEP);
    m_nPlayState = PLAY_STILL;
    m_nStatusTick = STATUS_TICK_NOW;
}

void CViewerDlg::OnRStep()
{
    HideSpeed();
    ResetCycle();
    ShowPicture(CMD_BACKWARD, KEY_RSTEP);
    m_nPlayState = PLAY_STILL;
    m_nStatusTick = STATUS_TICK_NOW;
}

void CViewerDlg::OnBlock()
{
    HideSpeed();
    if (m_bAllCamera)
        ClearPictureFlags();
    ResetCycle();
    m_bCycleKnown = 0;
    ShowPicture(CMD_NEXT_BLOCK, KEY_BLOCK);
    m_nPlayState = PLAY_STILL;
    m_nStatusTick = STATUS_TICK_NOW;
}

void CViewerDlg::OnRev()
{
    HideSpeed();
    if (m_bAllCamera)
        ClearPictureFlags();
    ResetCycle();
    m_bCycleKnown = 0;
    ShowPicture(CMD_PREV_BLOCK, KEY_REV);
    m_nPlayState = PLAY_STILL;
    m_nStatusTick = STATUS_TICK_NOW;
}

void CViewerDlg::OnLastImage()
{
    m_nPlayState = PLAY_STILL;
    ShowPicture(CMD_LATEST, KEY_STILL);
    m_nStatusTick = STATUS_TICK_NOW;
}

void CViewerDlg::OnRealTime()
{
    m_nPlayState = PLAY_STILL;
    m_bCycleKnown = 0;
    m_bLiveStep = 0;
    SetDisplayMode(DISP_REAL_TIME);
}

void CViewerDlg::OnTimeLag()
{
    m_nPlayState = PLAY_STILL;
    SetDisplayMode(DISP_TIME_LAG);
}

void CViewerDlg::OnRec()
{
    m_nPlayState = PLAY_STOP;
    // During a saving run the stop is all: the next tick's stopped step ends the run.
    if (!m_bSaving)
        OpenSaveDialog();
    m_nStatusTick = STATUS_TICK_NOW;
}
