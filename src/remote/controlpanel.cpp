// The DVR Remote page's front panel: the status poll that colours the keys and
// the lamp, and the keys themselves.
#include "remote/controldlg.h"

#include "link/commandtable.h"
#include "link/vx2200ctrl.h"
#include "platform/prompter.h"

#include <array>

namespace {

// Confirmation modes of the keys.
constexpr int MODE_END_TIMER = 2;          // "Disable timer recording. OK?"
constexpr int MODE_END_RECORDING = 5;      // "Disable recording. OK?"
constexpr int MODE_POWER_OFF = 6;          // "Switch off DVR. OK?"
constexpr int MODE_TIMER_TO_GENERAL = 18;  // "Disable timer recording and start general recording."

// The keys that send their command without asking, with the command's index.
struct PlainKey {
    int nId;
    int nCommand;
};
constexpr PlainKey kPlainKeys[] = {
    {CControlDlg::IDC_REVERSE_PLAY, CCommandTable::KEY_BTRV}, {CControlDlg::IDC_PAUSE, CCommandTable::KEY_BTPS},
    {CControlDlg::IDC_PLAY, CCommandTable::KEY_BTPL},         {CControlDlg::IDC_PLAY_STOP, CCommandTable::KEY_BTST},
    {CControlDlg::IDC_BLOCK_MINUS, CCommandTable::KEY_BTLF},  {CControlDlg::IDC_BLOCK_PLUS, CCommandTable::KEY_BTRT},
    {CControlDlg::IDC_UP, CCommandTable::KEY_BTUP},           {CControlDlg::IDC_DOWN, CCommandTable::KEY_BTDW},
    {CControlDlg::IDC_SELECT, CCommandTable::KEY_BTSL},       {CControlDlg::IDC_MENU, CCommandTable::KEY_BTMN},
    {CControlDlg::IDC_SEARCH, CCommandTable::KEY_BTSC},       {CControlDlg::IDC_BUZZER_STOP, CCommandTable::KEY_BTDC},
};

} // namespace

// ---------------------------------------------------------------------------
// The status poll

void CControlDlg::OnTimer()
{
    if (!m_bVisible || m_bMenuMode || m_bPolling || !m_pCtrl)
        return;
    m_bPolling = 1;
    m_pCtrl->QueryStatus(m_nStatus); // a failed query leaves the last values
    // The faces are gathered first and each key is repainted once, if at all.
    Faces faces;
    faces.fill(Face::Keep);
    Colour(faces, IDC_TIMER, m_nStatus[0] == 2 ? Face::Green : Face::White);
    m_bPolling = 0;
    ColourPower(faces);
    ColourPlayback(faces);
    ColourRecording(faces);
    for (std::size_t i = 0; i < KEY_IDS.size(); ++i)
        SetFace(KEY_IDS[i], faces[i]);
    ShowLamp(m_nStatus[3] != 0);
}

void CControlDlg::Colour(Faces& faces, int nId, Face face)
{
    for (std::size_t i = 0; i < KEY_IDS.size(); ++i) {
        if (KEY_IDS[i] == nId && face != Face::Keep)
            faces[i] = face;
    }
}

void CControlDlg::ColourPower(Faces& faces)
{
    const int s0 = m_nStatus[0];
    if (s0 == 0)
        Colour(faces, IDC_POWER, Face::White);
    else if (s0 == 1 || s0 == 2)
        Colour(faces, IDC_POWER, Face::Green);
}

// REVERSE PLAY, PAUSE, REC, PLAY and PLAY STOP by the playback value; a value
// outside the table leaves them as they are.
void CControlDlg::ColourPlayback(Faces& faces)
{
    using F = Face;
    static constexpr int kKeys[5] = {IDC_REVERSE_PLAY, IDC_PAUSE, IDC_REC, IDC_PLAY, IDC_PLAY_STOP};
    static constexpr Face kFaces[7][5] = {
        {F::White, F::White, F::White, F::White, F::White}, // stopped
        {F::White, F::Green, F::White, F::White, F::White}, // paused
        {F::White, F::White, F::White, F::Green, F::White}, // playing
        {F::White, F::White, F::White, F::Green, F::White},
        {F::Green, F::White, F::White, F::White, F::White}, // playing in reverse
        {F::Green, F::White, F::White, F::White, F::White},
        {F::Keep, F::White, F::Keep, F::Keep, F::Keep},     // only PAUSE goes out
    };
    const int s1 = m_nStatus[1];
    if (s1 < 0 || s1 >= static_cast<int>(std::size(kFaces)))
        return;
    for (std::size_t i = 0; i < std::size(kKeys); ++i)
        Colour(faces, kKeys[i], kFaces[s1][i]);
}

void CControlDlg::ColourRecording(Faces& faces)
{
    const bool bStandby = m_nStatus[0] == 2;
    switch (m_nStatus[2]) {
    case 0: // not recording
        Colour(faces, IDC_REC, Face::White);
        Colour(faces, IDC_BUZZER_STOP, Face::White);
        if (!bStandby)
            Colour(faces, IDC_TIMER, Face::White);
        EnableKey(IDC_TIMER, true);
        m_nBlinkCount = 0;
        break;
    case 1: // recording
        Colour(faces, IDC_REC, Face::Red);
        Colour(faces, IDC_TIMER, Face::Grey);
        EnableKey(IDC_TIMER, false);
        break;
    case 2: // alarm recording: BUZZER STOP blinks
        StepBlink(faces);
        if (bStandby) {
            Colour(faces, IDC_TIMER, Face::Green);
            EnableKey(IDC_TIMER, true);
        }
        Colour(faces, IDC_REC, Face::Red);
        break;
    case 3: // timer recording
        Colour(faces, IDC_REC, Face::Red);
        Colour(faces, IDC_TIMER, Face::Green);
        EnableKey(IDC_TIMER, true);
        Colour(faces, IDC_BUZZER_STOP, Face::White);
        break;
    default:
        break;
    }
}

void CControlDlg::StepBlink(Faces& faces)
{
    if (m_nBlinkCount < BLINK_TICKS - 1) {
        ++m_nBlinkCount;
        return;
    }
    Colour(faces, IDC_BUZZER_STOP, m_bBlinkOn ? Face::White : Face::Red);
    m_bBlinkOn = m_bBlinkOn ? 0 : 1;
    m_nBlinkCount = 0;
}

// ---------------------------------------------------------------------------
// Keys. The s values are the page's copy from the last poll; what a key sends
// is not looked at: the next poll shows what the recorder did.

void CControlDlg::OnKey(int nId)
{
    switch (nId) {
    case IDC_TIMER: OnTimerKey(); return;
    case IDC_REC: OnRecKey(); return;
    case IDC_POWER: OnPowerKey(); return;
    default: break;
    }
    for (const PlainKey& key : kPlainKeys) {
        if (key.nId == nId) {
            if (m_pCtrl)
                m_pCtrl->SendKey(key.nCommand);
            return;
        }
    }
}

void CControlDlg::OnTimerKey()
{
    const int s0 = m_nStatus[0];
    if (s0 == 2 && !GetPrompter().Confirm(MODE_END_TIMER))
        return;
    if ((s0 == 1 || s0 == 2) && m_pCtrl)
        m_pCtrl->KeyTimer();
}

void CControlDlg::OnRecKey()
{
    const int s0 = m_nStatus[0];
    const int s2 = m_nStatus[2];
    int nMode = -1;
    if (s2 == 3 || (s2 == 0 && s0 == 2))
        nMode = MODE_TIMER_TO_GENERAL;
    else if (s2 != 0)
        nMode = MODE_END_RECORDING;
    if (nMode >= 0 && !GetPrompter().Confirm(nMode))
        return;
    RecordKey();
}

void CControlDlg::OnPowerKey()
{
    const int s0 = m_nStatus[0];
    if ((s0 == 1 || s0 == 2) && !GetPrompter().Confirm(MODE_POWER_OFF))
        return;
    PowerKey();
}
