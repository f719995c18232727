// The DVR Viewer page: the recorder's pictures, live or recorded.
#pragma once

#include <QWidget>

class CViewerDlg : public QWidget {
    Q_OBJECT
public:
    explicit CViewerDlg(QWidget* pParent = nullptr);
};
