// The PC File Viewer page: the pictures saved on this computer, by event,
// camera, date and time, as thumbnails; one of them large in the picture view,
// and the pictures after it played back one per tick; printing; deleting a
// whole event. It needs no recorder.
//
// The event list comes from the event database; the camera, date and time
// selectors offer only what the event's folder tree holds. Search lists up to
// 60 pictures of one camera from the chosen time on; the camera folder of the
// last search is the one the picture view and playback walk in, in time order,
// across second, minute, hour and date folders, until the next search.
//
// Control ids: 1468 event, 1469 camera, 1180 date, 1476 hour, 1478 minute,
// 1480 second, 1126 Search, 1333 Playback, 1127 Delete, 1133 Print, 1659 status
// line, 1668 path line, 1649 thumbnail list, 1652 picture area (over the list,
// shown instead of it while the picture view is open).
#pragma once

#include "fileviewer/fileprintpage.h"
#include "fileviewer/thumbnailmaker.h"
#include "store/storewalk.h"
#include "widgets/bmputy.h"

#include <QDateTime>
#include <QString>
#include <QWidget>

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class CFileDBase;
class CVXImage;
class QComboBox;
class QDateEdit;
class QLabel;
class QListWidget;
class QPushButton;
class QTimer;

class CFileViewDlg : public QWidget {
    Q_OBJECT
public:
    enum {
        IDC_EVENT = 1468,
        IDC_CAMERA = 1469,
        IDC_DATE = 1180,
        IDC_HOUR = 1476,
        IDC_MINUTE = 1478,
        IDC_SECOND = 1480,
        IDC_SEARCH = 1126,
        IDC_PLAYBACK = 1333,
        IDC_DELETE = 1127,
        IDC_PRINT = 1133,
        IDC_STATUS = 1659,
        IDC_PATH = 1668,
        IDC_LIST = 1649,
        IDC_PICTURE = 1652,
    };
    static constexpr int MAX_THUMBNAIL = 60;
    static constexpr int MAX_PICTURE = 100;
    static constexpr int PICTURE_WIDTH = 696;
    static constexpr int PICTURE_HEIGHT = 232;
    // The picture area shows the display pictures at twice their height (the
    // recorder's frames are half-height fields), as the viewer page does.
    static constexpr int AREA_WIDTH = 696;
    static constexpr int AREA_HEIGHT = 464;
    static constexpr const char* NO_EVENT = "No Event";
    static constexpr const char* NOT_AVAILABLE = "N/A";
    static constexpr int STRING_PLAYBACK = 257;
    static constexpr int STRING_PLAYING = 259;
    static constexpr int STRING_NO_IMAGES = 261;
    static constexpr int STRING_CHOOSE_EVENT = 272;
    static constexpr int STRING_CHOOSE_CAMERA = 273;
    static constexpr int STRING_CANNOT_DELETE = 310;
    static constexpr int MODE_DELETE_EVENT = 28;

    explicit CFileViewDlg(QWidget* pParent = nullptr);
    ~CFileViewDlg() override;
    CFileViewDlg(const CFileViewDlg&) = delete;
    CFileViewDlg& operator=(const CFileViewDlg&) = delete;

    // False when the display frame or the drawing could not be made: the page
    // then has no selectors and no timer.
    bool IsInitialised() const { return m_bInitialised; }

    // The event list and the selectors.
    void FillEventList();
    // The folder of the first event named strName (letter case ignored), runs
    // of '/' made one; empty when there is none.
    std::string FindEventFolder(const QString& strName) const;
    void RefreshSelectors(bool bInitial, bool bKeepCamera);
    void OnEventChange();
    void OnCameraChange(int nIndex);
    void OnDateChange();
    void OnHourChange();
    void OnMinuteChange();
    void OnSecondChange(int nIndex);

    // Search and the thumbnail list.
    void Search();
    void ClearThumbnails();
    int GetThumbnailCount() const { return m_nThumbnailCount; }
    // The path and the caption of listed picture i; empty outside the list.
    std::string GetPicturePath(int i) const;
    QString GetCaption(int i) const;
    // The thumbnail of listed picture i (100 x 75, blue, green, red), or nullptr.
    const std::uint8_t* GetThumbnail(int i) const;
    // The caption of a picture file name (yyyymmddhhmmssff.jpg):
    // "mm/dd/yyyy hh:mm:ss fff" in English (nLanguage 1), "yyyy/mm/dd hh:mm:ss fff"
    // in Japanese (0); empty for a name of another length.
    static QString ThumbnailCaption(const std::string& strFileName, int nLanguage);

    // The picture view and playback.
    void OnThumbnailClick(int nRow);
    void OpenPictureView();
    void ClosePictureView();
    void OnPlayback();
    void PlaybackStep();
    // Decodes and draws a picture file; false (the area keeps its drawing, the
    // display frame is zero) when it does not decode.
    bool ShowPicture(const std::string& strPath);

    // The timer tick (every UpdateTime milliseconds): the Delete button's
    // state, then a playback step.
    void OnTimer();

    // Printing: the page the Print button prints, the picture view's or the
    // thumbnail sheet.
    CFilePrintPage PrintPicture() const;
    CFilePrintPage PrintThumbnails() const;
    CFilePrintPage PrintPage() const { return m_bPictureMode ? PrintPicture() : PrintThumbnails(); }
    void OnPrint();

    // Deletes the selected event with all its pictures, after the question.
    void DeleteEvent();

    // What tests and the tools read.
    QString GetStatus() const;
    QString GetPathText() const;
    const std::string& GetPath() const { return m_strPath; }
    const std::string& GetCameraFolder() const { return m_strCameraFolder; }
    const std::string& GetCurrent() const { return m_strCurrent; }
    const std::string& GetNext() const { return m_strNext; }
    const std::string& GetOnDisplay() const { return m_strOnDisplay; }
    bool IsPictureMode() const { return m_bPictureMode; }
    bool IsPlaying() const { return m_bPlaying; }
    bool IsPaused() const { return m_bPaused; }
    const std::uint8_t* GetDisplayFrame() const { return m_pDisplayFrame.get(); }
    const CBmpUty& GetBmp() const { return m_bmp; }
    QTimer* GetTimer() const { return m_pTimer; }
    QListWidget* GetList() const { return m_pList; }
    QWidget* GetPictureArea() const { return m_pPicture; }
    CStoreWalk& GetWalk() { return m_walk; }

protected:
    void showEvent(QShowEvent* pEvent) override;
    void hideEvent(QHideEvent* pEvent) override;
    bool eventFilter(QObject* pWatched, QEvent* pEvent) override;

private:
    // Building the page.
    void BuildControls();
    void BuildSelectors();
    void BuildButtons();
    void ConnectControls();
    QComboBox* MakeList(int nId, const QRect& rect);
    QPushButton* MakeButton(QWidget* pParent, int nId, const QString& strCaption, const QRect& rect);
    void ResetPictureView();
    void CreateDatabaseIfMissing();
    void OnShowWindow(bool bShown);
    void StartTimer();
    void StopTimer();
    void ApplyDeleteRule();

    // The selectors.
    bool AddSubfolders(const std::string& strFolder, QComboBox* pList, bool bEmptyFirst, int nLevel);
    void ResetSelectorsFrom(int nLevel);
    bool FillTimeList(QComboBox* pFrom, QComboBox* pTo, bool bWithHour);
    std::string DateFolder() const;
    std::string CameraPath() const;
    void SetDate(int nYear, int nMonth, int nDay);
    void ReadControls();
    static void SelectFirst(QComboBox* pList);
    static void AddSorted(QComboBox* pList, const QString& strText);

    // The thumbnails.
    void FillThumbnails(const std::vector<std::string>& pictures);

    // The picture view.
    void ShowPictureArea(bool bShow);
    void SetPlaybackCaption(int nStringId);
    int SelectedRow() const;
    void ReportUndeleted(const std::vector<std::string>& left);

    int UiLanguage() const;
    CFileDBase* FileDB() const;
    CVXImage* Image() const;

    bool m_bInitialised = false;

    // Controls.
    QComboBox* m_pEvent = nullptr;
    QComboBox* m_pCamera = nullptr;
    QDateEdit* m_pDate = nullptr;
    QComboBox* m_pHour = nullptr;
    QComboBox* m_pMinute = nullptr;
    QComboBox* m_pSecond = nullptr;
    QPushButton* m_pSearch = nullptr;
    QPushButton* m_pPlayback = nullptr;
    QPushButton* m_pDelete = nullptr;
    QPushButton* m_pPrint = nullptr;
    QLabel* m_pStatus = nullptr;
    QLabel* m_pPathLine = nullptr;
    QListWidget* m_pList = nullptr;
    QWidget* m_pPicture = nullptr;
    QTimer* m_pTimer = nullptr;

    // Page state.
    std::string m_strPath;
    QDateTime m_date;
    int m_nHour = 0;
    int m_nMinute = 0;
    int m_nSecond = 0;
    QString m_strEventName;
    std::string m_strEventNameSlash;
    std::string m_strEventFolderSlash;
    QString m_strCamera;
    int m_nCameraSel = 0;
    std::string m_strCameraFolder;
    std::array<std::string, MAX_PICTURE> m_strPicture;
    std::array<QString, MAX_THUMBNAIL> m_strCaption;
    std::vector<std::uint8_t> m_thumbnails; // MAX_THUMBNAIL slots of CThumbnailMaker::BYTES
    int m_nThumbnailCount = 0;
    bool m_bTimerOn = false;
    int m_nTimerPeriod = 0;
    CStoreWalk m_walk;

    // Picture view and playback.
    std::string m_strCurrent;
    std::string m_strNext;
    std::string m_strOnDisplay;
    bool m_bPictureMode = false;
    bool m_bPlaying = false;
    bool m_bFirstStep = false;
    bool m_bPaused = false;
    CBmpUty m_bmp;
    std::unique_ptr<std::uint8_t[]> m_pDisplayFrame; // the 720 x 248 frame on display
    std::unique_ptr<std::uint8_t[]> m_pWorkFrame;
    std::unique_ptr<std::uint8_t[]> m_pDisplayPicture; // 696 x 232
};
