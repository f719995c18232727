// The "Save to PC" dialog that the viewer's REC key opens: what to save and
// where. "Image" saves a number of the pictures the viewer is about to show,
// "Backup " everything the recorder recorded between a start and an end time;
// both into an event folder, named by the operator, below a chosen folder.
// The dialog only collects and checks the values; the viewer reads them after
// OK and saves.
//
// Only OK (1457) with its checks closes it with 1; Enter never does. Cancel
// (1158) and Esc close it with 0.
#pragma once

#include "store/civiltime.h"

#include <QDate>
#include <QDialog>
#include <QString>

#include <string>

class CEditHour;
class CEditMin;
class CEventName;
class QDateEdit;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QToolButton;

class CVwRecSetDlg : public QDialog {
    Q_OBJECT
public:
    enum { MODE_BACKUP = 1, MODE_IMAGE = 2 };
    enum {
        IDC_EVENT_NAME = 1116,
        IDC_IMAGE = 1349,
        IDC_BACKUP = 1352,
        IDC_IMAGE_FOLDER = 1105,
        IDC_IMAGE_BROWSE = 1666,
        IDC_COUNT = 1391,
        IDC_COUNT_SPIN = 1653,
        IDC_START_DATE = 1221,
        IDC_START_HOUR = 1654,
        IDC_START_MIN = 1655,
        IDC_END_DATE = 1224,
        IDC_END_HOUR = 1385,
        IDC_END_MIN = 1389,
        IDC_BACKUP_FOLDER = 1669,
        IDC_BACKUP_BROWSE = 1670,
        IDC_OK = 1457,
        IDC_CANCEL = 1158,
        IDC_ONE_IMAGE = 1346,
        IDC_FILE_NAME = 1112,
        IDC_FILE_BROWSE = 1127,
    };
    static constexpr int STRING_EVENT_FOLDER = 319;
    static constexpr int STRING_BACKUP_FOLDER = 320;
    static constexpr int DEFAULT_SPAN_MINUTES = 5;
    static constexpr int MAX_IMAGE_FOLDER = 260;
    static constexpr int MAX_BACKUP_FOLDER = 256;
    static constexpr int MAX_EVENT_NAME = 255;
    static constexpr int MAX_COUNT_DIGITS = 9;

    // The dates the pickers offer.
    static QDate FirstDate() { return QDate(2004, 1, 1); }
    static QDate LastDate() { return QDate(2038, 1, 18); }

    // Opens with the defaults: the recorder's clock (read from the
    // application's protocol object) and its data folder.
    explicit CVwRecSetDlg(QWidget* pParent = nullptr);

    void SetMode(int nMode);
    // The checks of OK for a folder, with the dialog's event name (CSaveCheck).
    int ValidatePath(const std::string& strFolder);

    // Buttons.
    void OnOK();
    void OnCancel();
    void OnBrowseImage();
    void OnBrowseBackup();

    // The values the viewer reads after OK.
    int GetMode() const { return m_nMode; }
    const std::string& GetEventName() const { return m_strEventName; }
    const std::string& GetImageFolder() const { return m_strImageFolder; }
    const std::string& GetBackupFolder() const { return m_strBackupFolder; }
    int GetImageCount() const { return m_nImageCount; }
    QDate GetStartDate() const { return m_startDate; }
    QDate GetEndDate() const { return m_endDate; }
    const CCivilTime& GetStartTime() const { return m_startTime; }
    const CCivilTime& GetEndTime() const { return m_endTime; }

    // Only OK's checks end the dialog with 1.
    void accept() override {}

protected:
    void keyPressEvent(QKeyEvent* pEvent) override;

private:
    void BuildControls();
    void BuildImagePart();
    void BuildBackupPart();
    void BuildHiddenControls();
    QPushButton* MakeButton(int nId, const QString& strCaption, const QRect& rect);
    QDateEdit* MakeDatePicker(QWidget* pParent, int nId, const QRect& rect);
    void ConnectControls();
    void SetDefaults();
    // Values from the controls (true) or into them (false).
    void UpdateData(bool bSave);
    void Browse(int nTitleId, std::string& strFolder);
    void StepCount(int nStep);
    bool CheckFields();
    bool CheckNamesAndCount();
    bool Refuse(int nMode);

    // Controls.
    CEventName* m_pEventName = nullptr;
    QRadioButton* m_pImage = nullptr;
    QRadioButton* m_pBackup = nullptr;
    QLineEdit* m_pImageFolder = nullptr;
    QPushButton* m_pImageBrowse = nullptr;
    QLineEdit* m_pCount = nullptr;
    QWidget* m_pCountSpin = nullptr;
    QDateEdit* m_pStartDate = nullptr;
    CEditHour* m_pStartHour = nullptr;
    CEditMin* m_pStartMin = nullptr;
    QDateEdit* m_pEndDate = nullptr;
    CEditHour* m_pEndHour = nullptr;
    CEditMin* m_pEndMin = nullptr;
    QLineEdit* m_pBackupFolder = nullptr;
    QPushButton* m_pBackupBrowse = nullptr;

    // Values.
    int m_nMode = MODE_IMAGE;
    std::string m_strEventName;
    std::string m_strImageFolder;
    std::string m_strBackupFolder;
    int m_nImageCount = 1;
    QDate m_startDate;
    QDate m_endDate;
    QString m_strStartHour;
    QString m_strStartMin;
    QString m_strEndHour;
    QString m_strEndMin;
    CCivilTime m_startTime;
    CCivilTime m_endTime;
};
