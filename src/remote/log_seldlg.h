// The Log Display page: one of the recorder's three logs (general and timer
// recording, alarm recording, failures), read on Display Log and listed one
// line per slot of its store (100, 500 and 100 lines), each the event or
// failure with its date and time, padded with spaces as the recorder's own
// program lays them out. Slots without an entry (and alarm slots whose entry
// flag is not 1, and records whose event has no text) are lines of spaces and
// dashes. A failed reading leaves "Loading LOGs... Wait for a while." in the
// status line and the earlier lines in the list.
#pragma once

#include "link/logrecord.h"
#include "remote/menupage.h"

#include <QString>

class QComboBox;
class QLabel;
class QListWidget;

class CLogSelDlg : public CMenuPage {
    Q_OBJECT
public:
    enum { IDD = 147, IDC_KIND = 1209, IDC_DISPLAY = 1479, IDC_STATUS = 1524, IDC_LIST = 1525 };
    static constexpr int IDS_LOADING = 296;

    explicit CLogSelDlg(QWidget* pParent = nullptr);

    // Shown: nothing is read.
    void OnShowWindow(bool bShow) override;
    void OnDisplayLog();
    // Empties the status line and the list.
    void Clear();

    // One line of the list; nLanguage 0 Japanese, 1 English.
    static QString FormatLine(const LogRecord& record, int nKind, int nLanguage);

    int m_nLogKind = 0;
    QString m_strStatus;

private:
    QComboBox* m_pKind = nullptr;
    QLabel* m_pStatus = nullptr;
    QListWidget* m_pList = nullptr;
};
