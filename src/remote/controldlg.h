// The DVR Remote page: a picture of the recorder's front panel with its fifteen
// keys and the DISK FULL/FAILURE lamp, the Menu Setting button that turns the
// page into the tab of menu-setting pages, and the buttons that move all
// settings to and from a file on the PC.
//
// Every 500 ms, while the page is shown and not in menu-setting mode, one
// status query colours the keys and the lamp like the recorder's own
// indicators (BUZZER STOP blinks during an alarm recording). A key sends its
// key command; TIMER, REC and POWER ask first when they would end timer
// standby, a recording or the power. Menu-setting mode switches the recorder
// off (settings are changed with the power off) and leaving it switches the
// recorder on again unless it was off before. Every exchange runs on this
// thread inside a tick or a handler.
#pragma once

#include <QPixmap>
#include <QWidget>

#include <array>

class CColorButton;
class CControlTabCtrl;
class CSettingsImage;
class CVX2200Ctrl;
class CVX2200NETApp;
class QLabel;
class QPushButton;
class QTimer;

class CControlDlg : public QWidget {
    Q_OBJECT
public:
    enum { IDD = 139 };
    // Control ids.
    enum {
        IDC_TIMER = 1125,
        IDC_REC = 1339,
        IDC_REVERSE_PLAY = 1337,
        IDC_PAUSE = 1140,
        IDC_PLAY = 1129,
        IDC_PLAY_STOP = 1142,
        IDC_BLOCK_MINUS = 1144,
        IDC_BLOCK_PLUS = 1146,
        IDC_UP = 1148,
        IDC_DOWN = 1341,
        IDC_SELECT = 1152,
        IDC_MENU = 1154,
        IDC_SEARCH = 1157,
        IDC_BUZZER_STOP = 1163,
        IDC_POWER = 1172,
        IDC_LAMP = 1656,
        IDC_MENU_SETTING = 1506,
        IDC_DOWNLOAD = 1508,
        IDC_UPLOAD = 1509,
        IDC_TAB = 1135,
    };
    static constexpr int KEY_COUNT = 15;
    // The keys in the order the page declares them.
    static constexpr std::array<int, KEY_COUNT> KEY_IDS = {1148, 1125, 1142, 1152, 1157, 1337, 1339, 1172,
                                                           1146, 1129, 1140, 1144, 1154, 1341, 1163};
    // The size the main window gives its pages.
    static constexpr int PAGE_WIDTH = 960;
    static constexpr int PAGE_HEIGHT = 584;
    static constexpr int TIMER_ID = 2;
    static constexpr int TIMER_PERIOD_MS = 500;
    // BUZZER STOP changes colour on every BLINK_TICKS-th tick of an alarm recording.
    static constexpr int BLINK_TICKS = 3;

    // Panel modes: 0 leaves the keys as they are, 1 (menu setting) shows the
    // tab of setting pages with every key disabled and grey, 2 (front panel)
    // hides the tab with every key enabled and white.
    enum PanelMode { PANEL_KEEP = 0, PANEL_MENU = 1, PANEL_FRONT = 2 };

    // Key faces.
    static QColor White() { return {255, 255, 255}; }
    static QColor Green() { return {0, 255, 0}; }
    static QColor Red() { return {255, 0, 0}; }
    static QColor Grey() { return {128, 128, 128}; }

    explicit CControlDlg(QWidget* pParent = nullptr);
    ~CControlDlg() override;
    CControlDlg(const CControlDlg&) = delete;
    CControlDlg& operator=(const CControlDlg&) = delete;

    // The 500-ms tick: the status poll.
    void OnTimer();
    // A press of the key with control id nId.
    void OnKey(int nId);
    void OnMenuSetting();
    void OnDownload();
    void OnUpload();
    void SetPanelMode(int nMode);

    bool IsMenuMode() const { return m_bMenuMode != 0; }
    bool IsPageVisible() const { return m_bVisible != 0; }
    const std::array<int, 4>& GetStatus() const { return m_nStatus; }
    bool IsLampLit() const { return m_bLampLit == 1; }
    CColorButton* Key(int nId) const;
    CControlTabCtrl* GetTabCtrl() const { return m_tabMenu; }
    QPushButton* GetMenuButton() const { return m_btnMenu; }
    QPushButton* GetUploadButton() const { return m_btnUpload; }
    QTimer* GetTimer() const { return m_pTimer; }

protected:
    void showEvent(QShowEvent* pEvent) override;
    void hideEvent(QHideEvent* pEvent) override;
    void keyPressEvent(QKeyEvent* pEvent) override;
    void resizeEvent(QResizeEvent* pEvent) override;

private:
    enum class Face { Keep, White, Green, Red, Grey };

    void BuildControls();
    void BuildPanel();
    void BuildButtons();
    void BuildTab();
    void SetFace(int nId, Face face);
    void EnableKey(int nId, bool bEnable);
    void ShowLamp(bool bLit);

    // The status poll's steps gather each key's face.
    using Faces = std::array<Face, KEY_COUNT>;
    static void Colour(Faces& faces, int nId, Face face);
    void ColourPower(Faces& faces);
    void ColourPlayback(Faces& faces);
    void ColourRecording(Faces& faces);
    void StepBlink(Faces& faces);

    // The keys that ask before they act.
    void OnTimerKey();
    void OnRecKey();
    void OnPowerKey();
    // The recorder's power and record operations, under the wait cursor.
    void PowerKey();
    void RecordKey();

    void EnterMenuMode();
    void LeaveMenuMode();

    // Settings files.
    bool ChooseUploadFile(CSettingsImage& image);
    void RestorePower(bool bSwitchedOff);

    // Controls, in the page's declaration order.
    QLabel* m_stcLamp = nullptr;
    QPushButton* m_btnMenu = nullptr;
    QPushButton* m_btnDownload = nullptr;
    QPushButton* m_btnUpload = nullptr;
    CControlTabCtrl* m_tabMenu = nullptr;
    std::array<CColorButton*, KEY_COUNT> m_btnKeys {};

    CVX2200NETApp* m_pApp = nullptr;
    CVX2200Ctrl* m_pCtrl = nullptr;
    int m_bMenuMode = 0;
    int m_bVisible = 0;
    std::array<int, 4> m_nStatus {};
    int m_bPolling = 0;
    int m_bWasOff = 0;
    int m_bBlinkOn = 0;
    int m_nBlinkCount = 0;
    QPixmap m_hLampOn;
    QPixmap m_hLampOff;

    int m_bLampLit = -1; // the lamp picture shown: 1 lit, 0 dark, -1 none yet
    QTimer* m_pTimer = nullptr;
};
