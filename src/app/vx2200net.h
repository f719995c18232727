// The application object: start-up and end, configuration, the address book of
// recorders and the list positions the address-book dialogs share, and the
// values the search page hands to the viewer page.
#pragma once

#include "store/entryfile.h"
#include "platform/instancelock.h"
#include "platform/stringtable.h"

#include <array>
#include <functional>
#include <memory>
#include <string>

class CFileDBase;
class CPageHost;
class CVX2200Ctrl;
class CVXImage;

class CVX2200NETApp {
public:
    static constexpr int MAX_ENTRY = CEntryFile::MAX_ENTRY;
    static constexpr int DEFAULT_UPDATE_TIME = 300;

    // Where the program looks for its surroundings; tests point them at
    // temporary folders.
    struct Paths {
        std::string strSettingsFile; // the read-only settings file
        std::string strDefaultProgDir; // ProgDir when the settings file has none
        std::string strLockFile; // the single-instance lock
    };
    static Paths DefaultPaths();

    CVX2200NETApp();
    explicit CVX2200NETApp(Paths paths);
    ~CVX2200NETApp();
    CVX2200NETApp(const CVX2200NETApp&) = delete;
    CVX2200NETApp& operator=(const CVX2200NETApp&) = delete;

    // Runs the program's window modally and returns when it has closed. The
    // program's main sets it; the application object knows no window class.
    using WindowRun = std::function<void(CVX2200NETApp&)>;
    void SetWindowRun(WindowRun fnRun) { m_fnWindowRun = std::move(fnRun); }

    // The start-up sequence; runs the window and returns false when it has
    // closed (or when start-up failed).
    bool InitInstance();
    int ExitInstance();

    void LoadSettings();

    // Creates the long-lived service objects (start-up step 6). False when one
    // cannot be created.
    bool CreateServices();
    CVX2200Ctrl* GetCtrl() const { return m_pCtrl.get(); }
    CVXImage* GetImage() const { return m_pImage.get(); }
    // The event database, VX2200DB.db in the program folder.
    CFileDBase* GetFileDB() const { return m_pFileDB.get(); }

    // Ends every modal loop once the current call has returned: the main window
    // closes and the program ends. Asked for by the link when the operator
    // declines to reconnect or reconnection fails.
    void PostQuitRequest();
    bool QuitRequested() const { return m_bQuitRequested; }

    // Address book (indices are 0-based).
    int GetEntryCount() const { return m_nEntryCount; }
    std::string GetEntryName(int i) const;
    std::string GetEntryIP(int i) const;
    int GetEntryPort(int i) const;
    int AddEntry(const std::string& strName, const std::string& strIP, int nPort);
    int SetEntry(const std::string& strName, const std::string& strIP, int nPort, int i, int bGrow);
    int ChangeEntry(int i, const std::string& strName, const std::string& strIP, int nPort);
    int IsEntryUnique(const std::string& strName, const std::string& strIP, int nPort, int nSkip) const;
    int DeleteEntry(int i);
    void SaveEntries();

    // Connection and list positions.
    int GetConnected() const { return m_nConnected; }
    int SetConnected(int i);
    void CommitChoice(int bKeep);
    std::string GetLastEntryName() const;
    void GetConnectedAddress(std::string& strIP, int& nPort) const;
    int GetListTop() const { return m_nListTop; }
    void SetListTop(int n) { m_nListTop = n; }
    void ScrollList(int n, int bDown);
    void ResetListTop();
    int GetEditEntry() const { return m_nEditEntry; }
    void SetEditEntry(int i) { m_nEditEntry = i; }
    int GetLastEntry() const { return m_nLastEntry; }

    // Values shared with the pages.
    int GetLanguage() const { return m_nLanguage; }
    int GetUpdateTime() const { return m_nUpdateTime; }
    const std::string& GetProgDir() const { return m_strProgDir; }
    const std::string& GetDataDir() const { return m_strDataDir; }
    int GetSearchPlayback() const { return m_bSearchPlayback; }
    void SetSearchPlayback(int b) { m_bSearchPlayback = b; }
    int GetPlaybackCamera() const { return m_nPlaybackCamera; }
    void SetPlaybackCamera(int n) { m_nPlaybackCamera = n; }

    // Closes the recorder connection when one stands.
    void DisconnectLink();

    // The window that holds the pages while it runs, else nullptr; the window
    // registers itself for the time of its run.
    CPageHost* GetMainWnd() const { return m_pMainWnd; }
    void SetMainWnd(CPageHost* pHost) { m_pMainWnd = pHost; }

    // Creates every missing folder along strPath. Returns the result of the last
    // creation (non-zero for success), or 0 when nothing had to be created.
    static int CreateDirectoryPath(const std::string& strPath);

    // The text of the version box: "Ver1.10EN for Windows 2000/XP" in English.
    static std::string VersionText();

private:
    bool StartSockets();
    bool RunMainWindow();
    void ReadEntries();
    bool ValidIndex(int i) const { return i >= 0 && i < m_nEntryCount; }

    Paths m_paths;
    std::unique_ptr<CVX2200Ctrl> m_pCtrl;
    std::unique_ptr<CVXImage> m_pImage;
    std::unique_ptr<CFileDBase> m_pFileDB;
    CInstanceLock m_hMutex;
    std::string m_strProgDir;
    std::string m_strDataDir;
    std::array<std::string, MAX_ENTRY> m_strEntryName;
    std::array<std::string, MAX_ENTRY> m_strEntryIP;
    std::array<int, MAX_ENTRY> m_nEntryPort {};
    int m_nLanguage = 1;
    int m_nEntryCount = 0;
    int m_nConnected = -1;
    int m_nLastEntry = 0;
    int m_bSearchPlayback = 0;
    int m_nPlaybackCamera = 17;
    int m_nUpdateTime = DEFAULT_UPDATE_TIME;
    int m_nEditEntry = 0;
    int m_nListTop = 0;
    CPageHost* m_pMainWnd = nullptr;
    WindowRun m_fnWindowRun;
    bool m_bQuitRequested = false;
};

// The application object of this process (the one constructed last), or nullptr.
CVX2200NETApp* GetApp();
