// The search results page: it finds recorded pictures on the recorder by time
// (a start time, an interval and a camera) or by block (the recorder's own
// sequence of blocks, newest first) and shows them as pages of 24 thumbnails,
// each labelled with its recording time and camera. One thumbnail opens as a
// large picture; Playback hands it to the viewer page, which plays on from it.
// The page stands in for the viewer page on the first tab while search mode is
// on: the viewer turns search mode on, this page turns it off.
//
// A 33-ms timer drives the search: each tick fetches at most one thumbnail
// (with up to 32 steps to a chosen camera), then polls the recorder's status,
// which decides what may be pressed. Search states: 0 idle, 1 searching,
// 2 paging forward, 3 paging back.
#pragma once

#include "widgets/bmputy.h"

#include <QDateTime>
#include <QImage>
#include <QWidget>

#include <algorithm>
#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

class CEditHour;
class CEditMin;
class CPrintSurface;
class CVX2200Ctrl;
class CVXImage;
class QComboBox;
class QDateEdit;
class QLabel;
class QListWidget;
class QPushButton;
class QRadioButton;
class QTimer;

class CSearchDlg : public QWidget {
    Q_OBJECT
public:
    static constexpr int PAGE_SIZE = 24;
    static constexpr int THUMB_WIDTH = 100;
    static constexpr int THUMB_HEIGHT = 75;
    static constexpr int THUMBS_PER_ROW = 6;
    static constexpr int TIMER_PERIOD_MS = 33;
    // Steps (J1) from the picture at a time to one of the chosen camera.
    static constexpr int MAX_CAMERA_STEPS = 32;
    // After a status query that failed, the ticks without one.
    static constexpr int POLL_PAUSE_TICKS = 18;
    static constexpr int INFO_SIZE = 38;
    static constexpr int INTERVAL_DEFAULT = 4; // "5 min"
    static constexpr int PLAYBACK_ALL_CAMERAS = 17;
    static constexpr const char* NO_PICTURE_FILE = "nopicture.jpg";
    // The notices of the search checks.
    static constexpr int MODE_MINUTE_WRONG = 15;
    static constexpr int MODE_HOUR_WRONG = 16;
    static constexpr int MODE_TIME_AHEAD = 17;

    enum SearchMode { SEARCH_TIME = 0, SEARCH_BLOCK = 1 };
    enum State { STATE_IDLE = 0, STATE_SEARCH = 1, STATE_NEXT = 2, STATE_BACK = 3 };

    // Control ids.
    enum {
        IDC_TIME_SEARCH = 1647,
        IDC_BLOCK_SEARCH = 1648,
        IDC_DATE = 1642,
        IDC_HOUR = 1643,
        IDC_MINUTE = 1644,
        IDC_INTERVAL = 1640,
        IDC_CAMERA = 1641,
        IDC_SEARCH = 1639,
        IDC_SEARCH_CANCEL = 1664,
        IDC_PLAYBACK = 1134,
        IDC_PRINT = 1160,
        IDC_LIST = 1645,
        IDC_PICTURE = 1646,
        IDC_NEXT = 1650,
        IDC_BACK = 1651,
    };

    // One thumbnail of the page.
    struct Thumb {
        std::array<char, 12> digits {}; // YYMMDDhhmmss of its picture
        int nCamera = 0;                // its picture's camera byte (camera - 1)
        int bFound = 0;
        QDateTime time;                 // the same digits as a time
        QDateTime request;              // the time it was searched for (time search)
        QImage image;                   // 100 x 75; null when there is none
    };

    explicit CSearchDlg(QWidget* pParent = nullptr);
    ~CSearchDlg() override;
    CSearchDlg(const CSearchDlg&) = delete;
    CSearchDlg& operator=(const CSearchDlg&) = delete;

    // The 33-ms tick: one step of the search, then the status poll.
    void OnTimer();

    // Buttons and keys.
    void OnTimeMode();
    void OnBlockMode();
    void OnSearch();
    void OnSearchCancel();
    void OnNext();
    void OnBack();
    void OnPlayback();
    void OnPrint();
    // Double-click on thumbnail j of the page: its large picture.
    void OpenThumbnail(int j);
    // A click on the large picture: back to the list.
    void CloseLargePicture();
    // A single click on a thumbnail.
    void OnThumbnailClicked();
    // Stops a running search (Escape, a mode radio, opening a thumbnail, hiding).
    void StopSearch();

    // Printing: the large picture with its label, or the sheet of thumbnails.
    void PrintPage();
    void ComposePrintPage(CPrintSurface& surface) const;

    // The label of a thumbnail (language 1 English, 0 Japanese); bFound adds
    // the camera part "Camera No.%d" with camera byte nCamera + 1. Bytes that
    // are no printable characters show as '?'.
    static QString ThumbLabel(const std::array<char, 12>& digits, int nCamera, bool bFound, int nLanguage);
    // Interval list index 0..9 in seconds.
    static int IntervalSeconds(int nIndex);

    int GetState() const { return m_nState; }
    int GetPage() const { return m_nPage; }
    int GetPageCount() const { return m_nPageCount; }
    int GetTotalCount() const { return m_nTotalCount; }
    const Thumb& GetThumb(int j) const { return m_thumbs[static_cast<std::size_t>(std::clamp(j, 0, PAGE_SIZE - 1))]; }
    bool IsLargePicture() const { return m_bLarge; }
    QTimer* GetTimer() const { return m_pTimer; }
    QListWidget* GetList() const { return m_pList; }
    const CBmpUty& GetBmp() const { return m_bmp; }
    // The picture the large view shows (696 x 232), or nullptr.
    const std::uint8_t* GetLargePicture() const { return m_bLargeHasPicture ? m_pDisplay.get() : nullptr; }
    // The recorder's clock as read at the last search.
    QDateTime GetSearchClock() const { return m_clock; }

protected:
    void showEvent(QShowEvent* pEvent) override;
    void hideEvent(QHideEvent* pEvent) override;
    void keyPressEvent(QKeyEvent* pEvent) override;
    bool eventFilter(QObject* pWatched, QEvent* pEvent) override;

private:
    using Info = std::array<std::uint8_t, INFO_SIZE>;

    // Controls (searchdlg.cpp).
    void BuildControls();
    void BuildOptions();
    void BuildButtons();
    void ConnectControls();
    QPushButton* MakeButton(int nId, const QString& strCaption, const QRect& rect);
    void EnableFields(bool bEnable);
    void ResetFieldsFromClock();
    QDateTime ReadClock();
    bool CheckFields(QDateTime& start);
    void PollStatus();
    void ApplyStatus(const std::array<int, 4>& nStatus);
    void ShowNextBack();
    void HideNextBack();
    CVX2200Ctrl* Ctrl() const;
    CVXImage* Image() const;
    int UiLanguage() const;

    // The search run (searchrun.cpp).
    void StartRun(int nState);
    void EndRun(bool bMore);
    void StepSearch();
    bool FetchTimeThumb(Thumb& thumb);
    bool FetchBlockThumb(Thumb& thumb);
    bool FetchBlockPicture(Info& info);
    bool FetchAt(const QDateTime& time, Info& info);
    bool Fetch(int nCommand, Info& info);
    enum StepResult { STEP_MATCHED, STEP_NONE, STEP_FAILED };
    StepResult StepToCamera(int nCamera, Info& info);
    bool ReadThumbTime(const Info& info, Thumb& thumb) const;
    void AddThumbnail(Thumb thumb);
    void ClearThumbnails();
    QImage ScaledDisplay() const;
    QImage NoPictureThumb();
    bool LoadNoPicture();
    void DrawLarge();

    // Controls.
    QRadioButton* m_pTimeSearch = nullptr;
    QRadioButton* m_pBlockSearch = nullptr;
    QDateEdit* m_pDate = nullptr;
    CEditHour* m_pHour = nullptr;
    CEditMin* m_pMinute = nullptr;
    QComboBox* m_pInterval = nullptr;
    QComboBox* m_pCamera = nullptr;
    QPushButton* m_pSearch = nullptr;
    QPushButton* m_pSearchCancel = nullptr;
    QPushButton* m_pPlayback = nullptr;
    QPushButton* m_pPrint = nullptr;
    QPushButton* m_pNext = nullptr;
    QPushButton* m_pBack = nullptr;
    QListWidget* m_pList = nullptr;
    QWidget* m_pLarge = nullptr;
    QTimer* m_pTimer = nullptr;

    // The search as started: mode, interval, camera (0 all, 1..16).
    int m_nSearchMode = SEARCH_TIME;
    int m_nSearchInterval = INTERVAL_DEFAULT;
    int m_nSearchCamera = 0;
    QDateTime m_clock;

    // The run: state, page and the thumbnails of the page.
    int m_nState = STATE_IDLE;
    int m_nPage = 0;
    int m_nPageCount = 0;
    int m_nTotalCount = 0;
    std::array<Thumb, PAGE_SIZE> m_thumbs;
    // Where each page met so far starts: the time searched for (time search)
    // or its first picture's time (block search).
    std::vector<QDateTime> m_pageStarts;
    bool m_bMore = false; // the results may go on after this page
    QDateTime m_nextRequest;  // time search: the time of the next thumbnail
    bool m_bFromNewest = false;   // block search: J6, then J4
    std::optional<QDateTime> m_blockAt; // block search: the first picture with J0 here
    int m_nBlockSkip = 0;         // block search: J4 steps without a picture first
    std::optional<QDateTime> m_blockBound; // block search: the oldest time met in this run
    int m_nPollPause = 0;

    // The large picture.
    bool m_bLarge = false;
    int m_nOpened = -1;
    bool m_bOpenedFetched = false;
    bool m_bLargeHasPicture = false;
    bool m_bNextWasShown = false;
    bool m_bBackWasShown = false;
    bool m_bPageVisible = false;

    // Pictures: the frame every fetch decodes into and the display picture cut
    // out of it; nopicture.jpg's thumbnail, made when first needed.
    std::unique_ptr<std::uint8_t[]> m_pFrame;
    std::unique_ptr<std::uint8_t[]> m_pDisplay;
    QImage m_noPicture;
    bool m_bNoPictureTried = false;
    CBmpUty m_bmp;
    int m_nWhiteBrush = -1;
};
