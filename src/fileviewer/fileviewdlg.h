// The PC File Viewer page: pictures saved on this computer.
#pragma once

#include <QWidget>

class CFileViewDlg : public QWidget {
    Q_OBJECT
public:
    explicit CFileViewDlg(QWidget* pParent = nullptr);
};
