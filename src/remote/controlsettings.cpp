// The DVR Remote page's settings files: Download reads every setting and timer
// program of the recorder into a 692-byte file; Upload writes a file's settings
// to the recorder, which has to be off for that (the page switches it off and
// on again around the upload when it was on).
#include "remote/controldlg.h"

#include "app/vx2200net.h"
#include "link/settingsimage.h"
#include "link/vx2200ctrl.h"
#include "platform/fileutil.h"
#include "platform/prompter.h"
#include "platform/stringtable.h"
#include "platform/waiter.h"
#include "widgets/fileselectdlg.h"
#include "widgets/waitcursor.h"

#include <QPushButton>

#include <algorithm>
#include <cctype>

namespace {

constexpr int MODE_POWER_OFF_FOR_UPLOAD = 3; // "Switch off power to upload setting data to DVR. OK?"
constexpr int MODE_SETTINGS_COMPLETE = 4;
constexpr int IDS_NOT_SETTING_FILE = 299;     // "Not a valid setting file."
constexpr int IDS_FILE_NOT_EXIST = 308;       // "File is not exist."
constexpr int UPLOAD_WAIT_MS = 2000;
const char* const DEFAULT_NAME = "vx2200setting";
const char* const EXTENSION = "vxs";
const char* const FILTER_TEXT = "VXS files (*.vxs)\x01*.vxs\x01"
                                "ALL files (*.*)\x01*.*\x01\x01";
const char* const MESSAGE_CAPTION = "VX2200NET";

std::string FileWarning()
{
    return std::string(CStringTable::Load(IDS_FILE_NOT_EXIST)) + "(CControlDlg Warning)";
}

// The last three characters of the path, in lower case, are "vxs".
bool EndsInVxs(const std::string& strPath)
{
    if (strPath.size() < 3)
        return false;
    std::string strEnd = strPath.substr(strPath.size() - 3);
    std::transform(strEnd.begin(), strEnd.end(), strEnd.begin(),
                   [](unsigned char ch) { return static_cast<char>(std::tolower(ch)); });
    return strEnd == EXTENSION;
}

void Message(const std::string& strText, MessageIcon icon)
{
    GetPrompter().MessageBox(strText, MESSAGE_CAPTION, icon, MessageButtons::Ok);
}

} // namespace

void CControlDlg::OnDownload()
{
    const std::string strFilter = CFileSelectDlg::FilterFromText(FILTER_TEXT);
    CFileSelectDlg dlg(false, m_pApp ? m_pApp->GetDataDir() : std::string(), DEFAULT_NAME, strFilter, EXTENSION);
    if (dlg.DoModal() != 1 || !m_pCtrl)
        return;
    CWaitCursor cursor;
    CSettingsImage image;
    if (m_pCtrl->ReadAllSettings(image) != CVX2200Ctrl::STATUS_OK)
        return; // a timer program could not be read: no file
    // The whole file or nothing: an earlier file of that name survives a failure.
    if (!WriteFileAtomically(dlg.GetPathName(), image.Encode()))
        Message(FileWarning(), MessageIcon::Error);
}

void CControlDlg::OnUpload()
{
    bool bSwitchedOff = false;
    const int s0 = m_nStatus[0];
    if (s0 == 1 || s0 == 2) {
        if (!GetPrompter().Confirm(MODE_POWER_OFF_FOR_UPLOAD))
            return;
        if (m_nStatus[2] == 1)
            RecordKey();
        PowerKey();
        bSwitchedOff = true;
    }
    CSettingsImage image;
    if (!ChooseUploadFile(image)) {
        RestorePower(bSwitchedOff);
        return;
    }
    {
        CWaitCursor cursor;
        WaitMilliseconds(UPLOAD_WAIT_MS);
        m_btnMenu->setEnabled(false);
        if (m_pCtrl)
            m_pCtrl->WriteAllSettings(image); // every setting is sent whatever the recorder answers
    }
    GetPrompter().Confirm(MODE_SETTINGS_COMPLETE);
    RestorePower(bSwitchedOff);
    m_btnMenu->setEnabled(true);
}

// The open dialog and the file: false (after telling the operator why) when
// none is chosen or the file is no settings file. A file that is not exactly
// 692 bytes is refused before anything is sent.
bool CControlDlg::ChooseUploadFile(CSettingsImage& image)
{
    const std::string strFilter = CFileSelectDlg::FilterFromText(FILTER_TEXT);
    CFileSelectDlg dlg(true, std::string(), std::string(), strFilter, std::string_view());
    if (dlg.DoModal() != 1)
        return false;
    CWaitCursor cursor;
    const std::string& strPath = dlg.GetPathName();
    if (!EndsInVxs(strPath)) {
        Message(std::string(CStringTable::Load(IDS_NOT_SETTING_FILE)), MessageIcon::Warning);
        return false;
    }
    const std::optional<std::string> bytes = ReadFileBytes(strPath, CSettingsImage::FILE_SIZE + 1);
    if (!bytes) {
        Message(FileWarning(), MessageIcon::Error);
        return false;
    }
    if (!image.Decode(*bytes)) {
        Message(std::string(CStringTable::Load(IDS_NOT_SETTING_FILE)), MessageIcon::Warning);
        return false;
    }
    return true;
}

// The recorder goes back on when this upload switched it off and it is off
// now. The status is asked afresh: the poll may not have seen it go off yet.
void CControlDlg::RestorePower(bool bSwitchedOff)
{
    if (!bSwitchedOff || !m_pCtrl)
        return;
    m_pCtrl->QueryStatus(m_nStatus);
    if (m_nStatus[0] == 0)
        PowerKey();
}
