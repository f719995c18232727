#include "app/vx2200net.h"

#include "image/vximage.h"
#include "link/vx2200ctrl.h"
#include "platform/fileutil.h"
#include "platform/prompter.h"
#include "store/filedbase.h"

#include <QCoreApplication>
#include <QSettings>
#include <QStandardPaths>

#include <csignal>
#include <cstdio>
#include <cstdlib>

namespace {

CVX2200NETApp* g_pApp = nullptr;

constexpr const char* kAppName = "VX2200NET";

// Stored files are read whole; a stored address book is at most twice its
// content size (every content byte an LF), so anything larger is damage.
constexpr std::size_t kEntryReadLimit = 2 * CEntryFile::CONTENT_SIZE + 16;

std::string HomeDir()
{
    const char* pszHome = std::getenv("HOME");
    return pszHome && *pszHome ? std::string(pszHome) : std::string("/tmp");
}

std::string XdgDir(const char* pszVar, const char* pszFallback)
{
    const char* pszValue = std::getenv(pszVar);
    // Relative values are invalid and ignored, as the XDG rules ask.
    if (pszValue && pszValue[0] == '/')
        return pszValue;
    return HomeDir() + pszFallback;
}

std::string WithSlash(std::string strPath)
{
    if (strPath.empty() || strPath.back() != '/')
        strPath += '/';
    return strPath;
}

} // namespace

CVX2200NETApp* GetApp()
{
    return g_pApp;
}

CVX2200NETApp::Paths CVX2200NETApp::DefaultPaths()
{
    Paths paths;
    paths.strSettingsFile = XdgDir("XDG_CONFIG_HOME", "/.config") + "/Varnel/VX2200NET.conf";
    paths.strDefaultProgDir = XdgDir("XDG_DATA_HOME", "/.local/share") + "/VX2200NET/";
    paths.strLockFile = CInstanceLock::DefaultPath("hPrevInstance");
    return paths;
}

CVX2200NETApp::CVX2200NETApp() : CVX2200NETApp(DefaultPaths()) {}

CVX2200NETApp::CVX2200NETApp(Paths paths) : m_paths(std::move(paths))
{
    m_nLanguage = static_cast<int>(CStringTable::CurrentLanguage());
    g_pApp = this;
}

CVX2200NETApp::~CVX2200NETApp()
{
    ExitInstance();
    if (g_pApp == this)
        g_pApp = nullptr;
}

bool CVX2200NETApp::InitInstance()
{
    if (!StartSockets()) {
        GetPrompter().MessageBox("Windows Socket Initialization Error.", kAppName,
                                 MessageIcon::Warning, MessageButtons::Ok);
        return false;
    }
    if (!m_hMutex.Acquire(m_paths.strLockFile)) {
        GetPrompter().MessageBox("Cannot Run Multiple DVR LAN software.", kAppName,
                                 MessageIcon::Warning, MessageButtons::Ok);
        return false;
    }
    LoadSettings();
    const bool bServices = CreateServices();
    m_nEditEntry = 0;
    m_nListTop = 0;
    m_nPlaybackCamera = 17;
    if (bServices)
        RunMainWindow();
    m_hMutex.Release();
    return false;
}

int CVX2200NETApp::ExitInstance()
{
    // Deleting the protocol object closes the link.
    m_pFileDB.reset();
    m_pImage.reset();
    m_pCtrl.reset();
    return 0;
}

bool CVX2200NETApp::CreateServices()
{
    try {
        m_pCtrl = std::make_unique<CVX2200Ctrl>();
        m_pImage = std::make_unique<CVXImage>(m_pCtrl.get(), m_strProgDir);
        m_pFileDB = std::make_unique<CFileDBase>(m_strProgDir);
    } catch (const std::bad_alloc&) {
        return false;
    }
    // A broken link reconnects to the entry the program is connected to.
    m_pCtrl->SetReconnectTarget([this]() -> std::optional<VXAddress> {
        if (m_nConnected < 0)
            return std::nullopt;
        return VXAddress{GetEntryIP(m_nConnected), GetEntryPort(m_nConnected)};
    });
    m_pCtrl->SetQuitRequest([this] { PostQuitRequest(); });
    return true;
}

void CVX2200NETApp::PostQuitRequest()
{
    if (m_bQuitRequested)
        return;
    m_bQuitRequested = true;
    // Posted, so the exchange in progress returns and its caller finishes first;
    // then every event loop ends, the nested ones of open dialogs included.
    QMetaObject::invokeMethod(QCoreApplication::instance(), [] { QCoreApplication::exit(0); }, Qt::QueuedConnection);
}

bool CVX2200NETApp::StartSockets()
{
    // A peer that goes away must not kill the program with SIGPIPE; sends also
    // use MSG_NOSIGNAL, this covers every other write to a socket.
    struct sigaction action {};
    action.sa_handler = SIG_IGN;
    sigemptyset(&action.sa_mask);
    return ::sigaction(SIGPIPE, &action, nullptr) == 0;
}

bool CVX2200NETApp::RunMainWindow()
{
    m_bSearchPlayback = 0;
    m_nConnected = -1;
    if (m_fnWindowRun)
        m_fnWindowRun(*this);
    m_pMainWnd = nullptr;
    return true;
}

void CVX2200NETApp::LoadSettings()
{
    QSettings settings(QString::fromStdString(m_paths.strSettingsFile), QSettings::IniFormat);
    settings.beginGroup("Setting");
    const QString strProgDir = settings.value("ProgDir").toString();
    bool bOk = false;
    const int nUpdateTime = settings.value("UpdateTime").toInt(&bOk);
    settings.endGroup();

    // Paths are joined by plain concatenation, so the folder always ends with '/'.
    m_strProgDir = WithSlash(strProgDir.isEmpty() ? m_paths.strDefaultProgDir : strProgDir.toStdString());
    m_strDataDir = m_strProgDir + "Data/";
    // No installer made the program folder here: make it, then the data folder.
    if (!IsDirectory(m_strProgDir))
        CreateDirectoryPath(m_strProgDir);
    MakeDirectory(m_strDataDir);

    // A period that is not a positive number would stall or spin the file
    // viewer's timer; the default applies then, as for a missing value.
    m_nUpdateTime = (bOk && nUpdateTime > 0) ? nUpdateTime : DEFAULT_UPDATE_TIME;

    ReadEntries();

    m_nLanguage = CStringTable::Load(298) == "JAPANESE" ? 0 : 1;
}

void CVX2200NETApp::ReadEntries()
{
    CEntryFile::Records records;
    m_nEntryCount = 0;
    const auto stored = ReadFileBytes(m_strDataDir + "entry.txt", kEntryReadLimit);
    m_nEntryCount = stored ? CEntryFile::Decode(*stored, records) : 0;
    for (int i = 0; i < MAX_ENTRY; ++i) {
        m_strEntryName[i] = records[i].strName;
        m_strEntryIP[i] = records[i].strIP;
        m_nEntryPort[i] = records[i].nPort;
    }
}

void CVX2200NETApp::SaveEntries()
{
    CEntryFile::Records records;
    for (int i = 0; i < MAX_ENTRY; ++i)
        records[i] = {m_strEntryName[i], m_strEntryIP[i], m_nEntryPort[i]};
    // A failed write is not reported; the book in memory stays as it is.
    WriteFileAtomically(m_strDataDir + "entry.txt", CEntryFile::Encode(m_nEntryCount, records));
}

std::string CVX2200NETApp::GetEntryName(int i) const
{
    return i >= 0 && i < MAX_ENTRY ? m_strEntryName[i] : std::string();
}

std::string CVX2200NETApp::GetEntryIP(int i) const
{
    return i >= 0 && i < MAX_ENTRY ? m_strEntryIP[i] : std::string();
}

int CVX2200NETApp::GetEntryPort(int i) const
{
    return i >= 0 && i < MAX_ENTRY ? m_nEntryPort[i] : 0;
}

int CVX2200NETApp::AddEntry(const std::string& strName, const std::string& strIP, int nPort)
{
    if (m_nEntryCount >= MAX_ENTRY)
        return 0;
    m_strEntryName[m_nEntryCount] = CEntryFile::FitField(strName);
    m_strEntryIP[m_nEntryCount] = CEntryFile::FitField(strIP);
    m_nEntryPort[m_nEntryCount] = nPort;
    ++m_nEntryCount;
    SaveEntries();
    return 1;
}

int CVX2200NETApp::SetEntry(const std::string& strName, const std::string& strIP, int nPort, int i, int bGrow)
{
    // An index outside the table, or growing a full book, would break the book.
    if (i < 0 || i >= MAX_ENTRY || (bGrow && m_nEntryCount >= MAX_ENTRY))
        return 0;
    m_strEntryName[i] = CEntryFile::FitField(strName);
    m_strEntryIP[i] = CEntryFile::FitField(strIP);
    m_nEntryPort[i] = nPort;
    if (bGrow)
        ++m_nEntryCount;
    SaveEntries();
    return 1;
}

int CVX2200NETApp::ChangeEntry(int i, const std::string& strName, const std::string& strIP, int nPort)
{
    if (!ValidIndex(i) || !IsEntryUnique(strName, strIP, nPort, i))
        return 0;
    m_strEntryName[i] = CEntryFile::FitField(strName);
    m_strEntryIP[i] = CEntryFile::FitField(strIP);
    m_nEntryPort[i] = nPort;
    SaveEntries();
    return 1;
}

int CVX2200NETApp::IsEntryUnique(const std::string& strName, const std::string& strIP, int nPort, int nSkip) const
{
    for (int i = 0; i < m_nEntryCount; ++i) {
        if (i == nSkip)
            continue;
        if ((m_strEntryIP[i] == strIP && m_nEntryPort[i] == nPort) || m_strEntryName[i] == strName)
            return 0;
    }
    return 1;
}

int CVX2200NETApp::DeleteEntry(int i)
{
    if (!ValidIndex(i))
        return 0;
    for (int k = i; k + 1 < m_nEntryCount; ++k) {
        m_strEntryName[k] = m_strEntryName[k + 1];
        m_strEntryIP[k] = m_strEntryIP[k + 1];
        m_nEntryPort[k] = m_nEntryPort[k + 1];
    }
    // The last valid slot loses its name and address; its port stays.
    m_strEntryName[m_nEntryCount - 1].clear();
    m_strEntryIP[m_nEntryCount - 1].clear();
    --m_nEntryCount;
    if (m_nConnected > i)
        --m_nConnected;
    SaveEntries();
    return 1;
}

int CVX2200NETApp::SetConnected(int i)
{
    if (!ValidIndex(i))
        return 0;
    m_nConnected = i;
    return 1;
}

void CVX2200NETApp::CommitChoice(int bKeep)
{
    m_nLastEntry = m_nConnected;
    if (!bKeep)
        m_nConnected = -1;
}

std::string CVX2200NETApp::GetLastEntryName() const
{
    return m_nLastEntry < 0 ? std::string() : GetEntryName(m_nLastEntry);
}

void CVX2200NETApp::GetConnectedAddress(std::string& strIP, int& nPort) const
{
    if (m_nConnected < 0) {
        strIP.clear();
        nPort = 0;
        return;
    }
    strIP = GetEntryIP(m_nConnected);
    nPort = GetEntryPort(m_nConnected);
}

void CVX2200NETApp::DisconnectLink()
{
    if (m_pCtrl && m_pCtrl->IsConnected())
        m_pCtrl->Disconnect();
}

void CVX2200NETApp::ScrollList(int n, int bDown)
{
    if (bDown == 1)
        m_nListTop += n;
    else
        m_nListTop = std::max(0, m_nListTop - n);
}

void CVX2200NETApp::ResetListTop()
{
    m_nListTop = (m_nLastEntry == -1 || m_nEntryCount < 11) ? 0 : m_nLastEntry;
}

int CVX2200NETApp::CreateDirectoryPath(const std::string& strPathIn)
{
    std::string strPath = strPathIn;
    while (!strPath.empty() && strPath.back() == '/')
        strPath.pop_back();
    strPath += '/';

    int nResult = 0;
    std::size_t nPos = 0;
    while ((nPos = strPath.find('/', nPos)) != std::string::npos) {
        const std::string strPrefix = strPath.substr(0, nPos);
        ++nPos;
        // The root (an empty prefix) is the drive: never created.
        if (!strPrefix.empty() && !PathExists(strPrefix))
            nResult = MakeDirectory(strPrefix) ? 1 : 0;
        if (strPrefix + '/' == strPath)
            break;
    }
    return nResult;
}

std::string CVX2200NETApp::VersionText()
{
    const char* pszLetter = CStringTable::Load(327) == "JPN" ? "J" : "E";
    char szText[64];
    std::snprintf(szText, sizeof szText, "Ver%s%s%s for Windows 2000/XP", "1.10", pszLetter, "N");
    return szText;
}
