// The editor of one timer program (dialog 177, "Timer Recording"), opened from
// a row button of the timer page. When shown it reads the recorder's clock and
// the program: a cancelled program opens with the recorder's defaults (LEVEL 3,
// ON, 1/30 SEC, pattern 1 and 1) in the fields it leaves unused, a dated one
// with its month, day and the year it falls in, a weekly one with its
// weekdays ticked. OK writes the program (not a weekly one without a weekday)
// and closes only when the recorder took it; Cancel closes without writing.
#pragma once

#include "link/timerprogram.h"
#include "remote/recorderclock.h"

#include <QDialog>
#include <QString>

#include <array>

class CDropDownCombo;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;

class CSetTimerDlg : public QDialog {
    Q_OBJECT
public:
    enum {
        IDD = 177,
        IDC_NUMBER = 1499,
        IDC_MODE = 1513,
        IDC_YEAR = 1660,
        IDC_MONTH = 1369,
        IDC_DAY = 1372,
        IDC_WEEKDAY = 1496,
        IDC_START_HOUR = 1375,
        IDC_START_MINUTE = 1378,
        IDC_END_HOUR = 1380,
        IDC_END_MINUTE = 1392,
        IDC_QUALITY = 1364,
        IDC_AUDIO = 1366,
        IDC_INTERVAL = 1343,
        IDC_PATTERN = 1215,
        IDC_MOTION = 1217,
    };
    static constexpr std::array<int, 7> WEEKDAY_IDS = {1483, 1484, 1486, 1488, 1490, 1492, 1494}; // Sun .. Sat
    enum Mode { MODE_CANCEL = 0, MODE_DATED = 1, MODE_WEEKLY = 2 };

    // nNumber: the program, 1..10.
    CSetTimerDlg(int nNumber, QWidget* pParent = nullptr);

    // The show notice: reads the clock and the program and shows it.
    void ReadProgram();
    // The operator's choices.
    void OnModeChosen();
    void OnMonthChosen();
    void OnDayChosen();
    // The day list is about to open: 28 to 31 days by the chosen month.
    void OnDayListOpening();
    // OK: writes the program; closes only when the recorder took it.
    void accept() override;

    // The program the controls describe, as OK writes it.
    TimerProgram ProgramFromMembers() const;

    int m_nNumber;
    int m_nMode = -1;
    QString m_strYear;
    int m_nMonth = -1;
    int m_nDay = -1;
    QString m_strWeekday;
    std::array<int, 7> m_bWeekday {}; // m_bSun .. m_bSat
    int m_nStartHour = -1;
    int m_nStartMinute = -1;
    int m_nEndHour = -1;
    int m_nEndMinute = -1;
    int m_nQuality = -1;
    int m_nAudio = -1;
    int m_nInterval = -1;
    int m_nPattern = -1;
    int m_nMotion = -1;

protected:
    void showEvent(QShowEvent* pEvent) override;

private:
    void BuildControls();
    void BuildDateRow(int y);
    void BuildWeekdays(int y);
    void BuildTimeRow(int y);
    QComboBox* AddCombo(int nId, const QStringList& items, const QRect& rect);
    QLabel* AddLabel(const QString& strText, const QRect& rect);
    void TakeMembers();
    void ShowMembers();
    void EnableForMode();
    void TakeRecordingFields(const TimerProgram& program, bool bDefaults);

    bool m_bShown = false;
    QLineEdit* m_pNumber = nullptr;
    QComboBox* m_pMode = nullptr;
    QLabel* m_pYear = nullptr;
    QComboBox* m_pMonth = nullptr;
    CDropDownCombo* m_pDay = nullptr;
    QLineEdit* m_pWeekday = nullptr;
    std::array<QCheckBox*, 7> m_pWeekdays {};
    QComboBox* m_pStartHour = nullptr;
    QComboBox* m_pStartMinute = nullptr;
    QComboBox* m_pEndHour = nullptr;
    QComboBox* m_pEndMinute = nullptr;
    QComboBox* m_pQuality = nullptr;
    QComboBox* m_pAudio = nullptr;
    QComboBox* m_pInterval = nullptr;
    QComboBox* m_pPattern = nullptr;
    QComboBox* m_pMotion = nullptr;
};
