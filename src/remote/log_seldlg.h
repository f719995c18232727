// The Log Display page: the recorder's recording, alarm and failure logs.
#pragma once

#include "remote/menupage.h"

class CLogSelDlg : public CMenuPage {
    Q_OBJECT
public:
    enum { IDD = 147 };

    explicit CLogSelDlg(QWidget* pParent = nullptr);

    // Empties the status line and the list.
    void Clear();
};
