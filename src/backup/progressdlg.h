// The backup's progress dialog: runs a timed backup (CBackupRun) from its
// 20-ms timer, one picture a tick, with a progress bar over the time range and
// a text that ends in "Backup Finsihed." or "Backup Failed.". Its one button
// ends the dialog at any time, which ends the run; Enter, Esc and the close box
// do nothing.
#pragma once

#include "store/civiltime.h"

#include <QDialog>

#include <memory>
#include <string>

class CBackupRun;
class QLabel;
class QProgressBar;
class QPushButton;
class QTimer;

class CProgressDlg : public QDialog {
    Q_OBJECT
public:
    enum { MODE_BACKUP = 1 };
    enum { IDC_PROGRESS = 1505, IDC_TEXT = 1658, IDC_WAIT = 1660, IDC_BUTTON = 1661 };
    static constexpr int TIMER_PERIOD_MS = 20;
    static constexpr int STRING_CAPTION = 251; // "Backup Recording"
    static constexpr int STRING_OK = 282;
    static constexpr int MAX_TEXT = 256;

    // Opens a backup (nMode 1) of the pictures from start to end into the
    // event folder strBackupFolder/strEventName: fetches the first picture
    // through the application's picture object and starts the timer. Any other
    // mode, or no picture object, fails to start.
    CProgressDlg(int nMode, int nRange, const CCivilTime& start, const CCivilTime& end,
                 const std::string& strBackupFolder, const std::string& strEventName, QWidget* pParent = nullptr);
    ~CProgressDlg() override;
    CProgressDlg(const CProgressDlg&) = delete;
    CProgressDlg& operator=(const CProgressDlg&) = delete;

    // The 20-ms tick.
    void OnTimer();
    // Button 1661: ends the dialog with 1.
    void OnButton();

    // Whether the first picture could not be fetched: then nothing was saved
    // and the event is not to be registered.
    bool FailedToStart() const;
    const CBackupRun* GetRun() const { return m_pRun.get(); }
    QTimer* GetTimer() const { return m_pTimer; }

    void accept() override {}
    void reject() override {}

protected:
    void keyPressEvent(QKeyEvent* pEvent) override;

private:
    void BuildControls();
    void ShowState();

    int m_nMode;
    int m_nRange;
    std::unique_ptr<CBackupRun> m_pRun;
    QProgressBar* m_pProgress = nullptr;
    QLabel* m_pText = nullptr;
    QLabel* m_pWait = nullptr;
    QPushButton* m_pButton = nullptr;
    QTimer* m_pTimer = nullptr;
};
