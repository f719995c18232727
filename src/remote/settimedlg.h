// The Time Setup page: the recorder's clock (a date picker and three edits for
// hour, minute and second, written by Set Time) and its synchronisation (TIME
// SYNC and SYNC TIME, written by OK). Reads TS, TT, then the clock, which falls
// back to 1 January 2000, 00:00:00 when its read fails. Both buttons first take
// the fields: each edit must hold an integer within its range, else the
// operator is told so and the focus goes to that edit, and nothing is sent.
#pragma once

#include "remote/settingpage.h"

#include <QDate>

class QDateEdit;
class QLineEdit;

class CSetTimeDlg : public CSettingPage {
    Q_OBJECT
public:
    enum {
        IDD = 143,
        IDC_DATE = 1180,
        IDC_HOUR = 1108,
        IDC_MINUTE = 1111,
        IDC_SECOND = 1115,
        IDC_SET_TIME = 1196,
        IDC_TIME_SYNC = 1186,
        IDC_SYNC_TIME = 1190,
        IDC_SET = 1471,
    };
    // The framework's messages for a field that holds no integer, and for one
    // out of its range (%1 and %2 the bounds).
    static constexpr int IDS_NOT_INTEGER = 61712;
    static constexpr int IDS_OUT_OF_RANGE = 61714;

    explicit CSetTimeDlg(QWidget* pParent = nullptr);

    void ReadSettings() override;
    void OnSetTime();
    void OnSet();

    QDate m_timeDate;  // null until the first reading
    int m_nHour = 0;
    int m_nMinute = 0;
    int m_nSecond = 0;
    int m_nTimeSync = -1;
    int m_nSyncTime = -1;

private:
    struct Clock {
        QDate date;
        int nHour = 0;
        int nMinute = 0;
        int nSecond = 0;
    };
    void BuildClockControls();
    Clock ReadClock() const;
    void ShowClock();
    // The fields in their order; false, after telling the operator, at the
    // first edit that does not hold an integer in its range.
    bool TakeFields();
    bool TakeNumber(QLineEdit* pEdit, int nMin, int nMax, int& nValue);

    QDateEdit* m_pDate = nullptr;
    QLineEdit* m_pHour = nullptr;
    QLineEdit* m_pMinute = nullptr;
    QLineEdit* m_pSecond = nullptr;
};
