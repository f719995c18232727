// The search results page, shown on the first tab while search mode is on.
#pragma once

#include <QWidget>

class CSearchDlg : public QWidget {
    Q_OBJECT
public:
    explicit CSearchDlg(QWidget* pParent = nullptr);
};
