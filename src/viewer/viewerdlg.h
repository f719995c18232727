// The DVR Viewer page: the recorder's pictures, live or recorded, of one camera
// or of a 4-, 9- or 16-way split, with the recorder-style keys that play,
// reverse, step and jump through them.
//
// Pictures come one at a time through the picture object; each carries its
// camera number, so a split fills as the pictures of its cameras come in. A
// 33-ms timer drives the page: it polls the recorder's status about twice a
// second and, by the play state, fetches the next picture and draws it. Every
// exchange with the recorder runs on this thread inside a tick or a key.
//
// Play states: 0 stopped, 1 play, 2 reverse play, 7 still, 8 saving pictures,
// 9 entered from the search page, 10 backup dialog open. Key modes (the key
// shown lit): 0 stopped, 1 play, 2 reverse play, 3 block, 4 reverse block,
// 5 step, 6 reverse step, 7 still, 8 saving.
#pragma once

#include "store/civiltime.h"
#include "store/picturestore.h"
#include "widgets/bmputy.h"

#include <QString>
#include <QWidget>

#include <array>
#include <cstdint>
#include <memory>
#include <string>

class CBitmapButton;
class CColorButton;
class CPrintSurface;
class CVX2200Ctrl;
class CVXImage;
class CVwRecSetDlg;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTimer;

class CViewerDlg : public QWidget {
    Q_OBJECT
public:
    static constexpr int CAMERA_COUNT = 16;
    static constexpr int INFO_SIZE = 38;
    static constexpr int PICTURE_WIDTH = 696;
    static constexpr int PICTURE_HEIGHT = 232;
    static constexpr int TIMER_PERIOD_MS = 33;
    static constexpr int MAX_TIME_TEXT = 40;
    // The status is polled on the tick after the counter passes this; keys set
    // the counter to STATUS_TICK_NOW so that the next tick polls.
    static constexpr int STATUS_POLL_AFTER = 17;
    static constexpr int STATUS_TICK_NOW = 20;
    // The longest measurement of a camera cycle, in ticks: with 16 cameras in
    // turn and two pictures a tick, a cycle that has not come round by then is
    // taken as known with what was counted.
    static constexpr int MAX_CYCLE_TICKS = 16;
    // The picture area: the display pictures at twice their height, since the
    // recorder's frames are half-height fields.
    static constexpr int AREA_WIDTH = 696;
    static constexpr int AREA_HEIGHT = 464;

    enum PlayState {
        PLAY_STOP = 0,
        PLAY_FORWARD = 1,
        PLAY_REVERSE = 2,
        PLAY_STILL = 7,
        PLAY_SAVING = 8,
        PLAY_SEARCH = 9,
        PLAY_BACKUP = 10,
    };
    enum KeyMode {
        KEY_STOP = 0,
        KEY_PLAY = 1,
        KEY_RPLAY = 2,
        KEY_BLOCK = 3,
        KEY_REV = 4,
        KEY_STEP = 5,
        KEY_RSTEP = 6,
        KEY_STILL = 7,
        KEY_SAVING = 8,
    };
    // Picture commands: the recorder's picture moves.
    enum Command {
        CMD_FORWARD = 1,
        CMD_BACKWARD = 2,
        CMD_NEXT_BLOCK = 3,
        CMD_PREV_BLOCK = 4,
        CMD_PLAY_START = 5,
        CMD_LATEST = 6,
    };
    enum DisplayMode { DISP_REAL_TIME = 0, DISP_TIME_LAG = 1 };

    // Control ids.
    enum {
        IDC_PICTURE = 1503,
        IDC_TIME = 1107,
        IDC_SPEED = 1667,
        IDC_ALL = 1663,
        IDC_REAL_TIME = 1321,
        IDC_TIME_LAG = 1323,
        IDC_REC = 1331,
        IDC_PLAY = 1333,
        IDC_RPLAY = 1202,
        IDC_STOP = 1335,
        IDC_REV = 1138,
        IDC_RSTEP = 1132,
        IDC_PAUSE = 1150,
        IDC_STEP = 1200,
        IDC_BLOCK = 1136,
        IDC_LAST_IMAGE = 1206,
        IDC_FULL_SCREEN = 1204,
        IDC_SEARCH = 1662,
        IDC_PRINT = 1139,
    };
    static constexpr std::array<int, 4> DIVISION_IDS = {1141, 1143, 1145, 1147};
    static constexpr std::array<int, CAMERA_COUNT> CAMERA_IDS = {1151, 1153, 1156, 1162, 1165, 1168, 1171, 1174,
                                                                 1176, 1178, 1181, 1184, 1187, 1191, 1194, 1197};

    explicit CViewerDlg(QWidget* pParent = nullptr);
    ~CViewerDlg() override;
    CViewerDlg(const CViewerDlg&) = delete;
    CViewerDlg& operator=(const CViewerDlg&) = delete;

    // False when the picture buffers could not be allocated: the page then
    // shows nothing and its timer does not run.
    bool IsInitialised() const { return m_bInitialised; }

    // Selection and drawing.
    void SetView(int nCamera, int nSplit);
    bool IsCameraInView(int nCamera) const { return IsCameraInView(nCamera, m_nCamera, m_nSplit); }
    // Whether camera nCamera is among the cameras a split of nSplit cells per
    // side shows around the selected camera.
    static bool IsCameraInView(int nCamera, int nSelected, int nSplit);
    // Cell (row, column) of a split of nSplit cells per side, in picture coordinates.
    static PicRect CellRect(int nRow, int nColumn, int nSplit);
    PicRect CellRect(int nRow, int nColumn) const { return CellRect(nRow, nColumn, m_nSplit); }
    void DrawSingle(const std::uint8_t* pPicture);
    void DrawCells();
    void DrawGrid(int nSplit);
    // The page's repaint of the picture area: white, the grid and, unless
    // stopped, the pictures.
    void PaintPicture();

    // Cell drawing shared with the full-screen view: the cameras in view fill
    // the cells row by row from the lowest one; ppSlots[k] is camera k + 1's
    // picture, nullptr when it has none.
    using CellRectFn = PicRect (*)(int nRow, int nColumn, int nSplit);
    static void DrawCameraCells(CBmpUty& bmp, int nCamera, int nSplit,
                                const std::array<const std::uint8_t*, CAMERA_COUNT>& ppSlots, CellRectFn fnRect);
    static void DrawSplitGrid(CBmpUty& bmp, int nWidth, int nHeight, int nSplit, int nGreyPen, int nBlackPen);

    // Fetches one picture with a picture command and shows it; nKind is the
    // key mode the page takes when it arrives.
    void ShowPicture(int nCommand, int nKind);
    // Fetches one picture without showing it and notes its camera.
    void FetchCurrent(int nCommand);
    void SetDisplayMode(int nMode);
    void EnablePlaybackModes(bool bEnable);
    // Lights exactly the key of key mode nMode (8 changes only REC, 3 to 6
    // change nothing); nothing happens when nMode is the mode applied last.
    void UpdateKeyImages(int nMode);
    // Shows the speed text: string nStringId (257 "Playback", 281 "Rev Play").
    void ShowSpeed(int nStringId);
    void HideSpeed();

    // The 33-ms tick: the status poll, then the step of the play state.
    void OnTimer();

    // Keys and buttons.
    void OnDivision(int nSplit);
    void OnCamera(int nCamera);
    void OnAll();
    void OnStop();
    void OnPlay();
    void OnRPlay();
    void OnPause();
    void OnStep();
    void OnRStep();
    void OnBlock();
    void OnRev();
    void OnLastImage();
    void OnRealTime();
    void OnTimeLag();
    void OnRec();
    void OnFullScreen();
    void OnSearch();
    void OnPrint();

    // Printing: one page through the print dialog with the picture area as it
    // stands (the frame, the cells of the split and their captions).
    void PrintPicture();
    // The page's content below the product name, in page units.
    void ComposePrintPage(CPrintSurface& surface) const;
    // Cell (row, column) of a split of nSplit cells per side on the printed page.
    static PicRect PrintCellRect(int nRow, int nColumn, int nSplit);

    // The time line of a picture information record, in the user-interface
    // language (1 English: "Time: MM/DD/20YY hh:mm:ss", 0 Japanese:
    // "Time: 20YY/MM/DD hh:mm:ss"). Bytes that are no printable characters
    // show as '?'.
    static QString FormatTimeLine(const std::uint8_t* pInfo, int nLanguage);
    // The camera code (0..15) of an information record; anything else, which
    // no picture the picture object has read carries, counts as camera 1.
    static int CameraCode(const std::uint8_t* pInfo);

    // What the full-screen view, printing and saving read.
    int GetCamera() const { return m_nCamera; }
    int GetSplit() const { return m_nSplit; }
    int IsAllCamera() const { return m_bAllCamera; }
    int GetPlayState() const { return m_nPlayState; }
    int GetKeyMode() const { return m_nKeyMode; }
    int GetDisplayMode() const { return m_nDispMode; }
    int IsRecording() const { return m_bRecording; }
    int GetSpeed() const { return m_nSpeed; }
    int GetLastPictureCamera() const { return m_nLastPictureCamera; }
    const std::uint8_t* GetLastInfo() const { return m_byLastInfo.data(); }
    bool HasPicture(int k) const;
    // Slot k's display picture (PICTURE_WIDTH x PICTURE_HEIGHT, blue-green-red),
    // or nullptr for k outside 0..15.
    const std::uint8_t* GetSlotPicture(int k) const;
    QString GetSlotTime(int k) const;
    int GetSlotFileSize(int k) const;
    const CBmpUty& GetBmp() const { return m_bmp; }
    QWidget* GetPictureArea() const { return m_pPicture; }
    QTimer* GetTimer() const { return m_pTimer; }

    // Saving pictures to the PC (viewersave.cpp). SavePicture stores the
    // picture just fetched (a copy of test.jpg) under its record's path in the
    // save folder, after the free-space check; 1 when a file was written.
    int SavePicture(const std::uint8_t* pInfo);
    static bool HasDiskSpace(std::uint64_t nSize, const std::string& strPath);
    int IsSaving() const { return m_bSaving; }
    int GetSavedCount() const { return m_nSavedCount; }
    int GetTargetCount() const { return m_nTargetCount; }
    const std::string& GetSaveFolder() const { return m_strSaveFolder; }
    // The writer of the current Image run (tests give it a free-space query).
    CPictureStore& GetSaveStore() { return m_saveStore; }

protected:
    void showEvent(QShowEvent* pEvent) override;
    void hideEvent(QHideEvent* pEvent) override;

private:
    struct Slot {
        std::unique_ptr<std::uint8_t[]> pPicture;
        int bHasPicture = 0;
        QString strTime;
        int nFileSize = 0;
    };
    using Info = std::array<std::uint8_t, INFO_SIZE>;

    bool AllocateBuffers();
    void BuildControls();
    void BuildSelection();
    void BuildKeys();
    void BuildButtons();
    void CreateDrawing();
    QPushButton* MakeButton(QWidget* pParent, int nId, const QString& strCaption, const QRect& rect);
    CColorButton* MakeColorButton(QWidget* pParent, int nId, const QString& strCaption, const QRect& rect);
    void ConnectKeys();
    // The recorder-style key with control id nId.
    CBitmapButton* KeyButton(int nId) const;
    void ColourSelection();
    void ClearPictureFlags();

    // The status poll and the per-state steps of the tick.
    void PollStatus();
    void StepPlayState();
    void StepStopped();
    void StepPlay();
    void StepStill();
    void StepSaving();
    void StepSearchPlayback();

    // The fetches of ShowPicture, by pacing.
    int Fetch(int nCommand, Info& info);
    int FetchReplacing(int nCommand, Info& info);
    int FetchForShow(int nCommand, int nKind, Info& info);
    int FetchWithRetry(int nCommand, Info& info);
    int FetchTimeLag(int nCommand, Info& info);
    int FetchRealTime(int nCommand, Info& info);
    void SkipPictures(int nCommand, int nCount);
    void TakePicture(const Info& info, int nKind);
    void StopAfterFailure();
    void UpdateSpeed(int nState);
    void ResetCycle();
    int UiLanguage() const;
    CVX2200Ctrl* Ctrl() const;
    CVXImage* Image() const;

    // Printing: the frame and grid of the split, and the cell of one camera.
    static void PrintFrame(CPrintSurface& surface, int nSplit);
    void PrintCell(CPrintSurface& surface, int nRow, int nColumn, int k) const;

    // Hooks of saving pictures to the PC (viewersave.cpp).
    void TakeSavedPicture();
    void OpenSaveDialog();
    void StartImageRun(const CVwRecSetDlg& dlg);
    void StartBackupRun(const CVwRecSetDlg& dlg);
    void RegisterEvent(const std::string& strName);

    bool m_bInitialised = false;

    // Controls.
    QWidget* m_pPicture = nullptr;
    QLineEdit* m_pTime = nullptr;
    QLabel* m_pSpeed = nullptr;
    std::array<CColorButton*, 4> m_pDivision {};
    std::array<CColorButton*, CAMERA_COUNT> m_pCameraButton {};
    CColorButton* m_pAll = nullptr;
    QRadioButton* m_pRealTime = nullptr;
    QRadioButton* m_pTimeLag = nullptr;
    std::array<CBitmapButton*, 9> m_pKey {};
    QPushButton* m_pLastImage = nullptr;
    QPushButton* m_pFullScreen = nullptr;
    QPushButton* m_pSearch = nullptr;
    QPushButton* m_pPrint = nullptr;
    QTimer* m_pTimer = nullptr;

    // Selection.
    int m_nCamera = 1;
    int m_nSplit = 1;
    int m_bAllCamera = 0;
    int m_nDispMode = DISP_REAL_TIME;
    int m_bRecording = 0;

    // Play state and pacing.
    int m_nPlayState = PLAY_STOP;
    int m_nKeyMode = KEY_STOP;
    int m_nKeyImageMode = -1;
    int m_nSpeed = 0;
    int m_bCycleKnown = 0;
    int m_nCycleLength = 0;
    int m_nCycleTick = 0;
    int m_bLiveStep = 0;
    int m_bDoubleFetch = 0;
    int m_bFirstPlay = 0;
    int m_nLastCamera = 0;
    int m_bSaving = 0;

    // Saving to the PC: the event folder, the pictures saved and wanted (an
    // Image run), the time range (a Backup run).
    std::string m_strSaveFolder;
    int m_nSavedCount = 0;
    int m_nTargetCount = 0;
    CCivilTime m_startTime;
    CCivilTime m_endTime;
    CPictureStore m_saveStore {std::string()};

    // Status poll.
    int m_nStatusTick = 0;
    int m_bPolling = 0;
    int m_bPageVisible = 0;

    // Pictures: the frame the recorder's picture is decoded into, a spare one
    // for a second fetch that must not spoil the first, and the 16 slots.
    std::unique_ptr<std::uint8_t[]> m_pFrame;
    std::unique_ptr<std::uint8_t[]> m_pSpareFrame;
    std::array<Slot, CAMERA_COUNT> m_slots;
    Info m_byLastInfo {};
    int m_nLastPictureCamera = 0;
    int m_bAnyPicture = 0; // a picture has been shown since the page was made

    // Drawing.
    CBmpUty m_bmp;
    int m_nGreyPen = -1;
    int m_nBlackPen = -1;
    int m_nWhiteBrush = -1;
};
