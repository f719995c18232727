// The DVR Remote page: the recorder's front panel and menu settings.
#pragma once

#include <QWidget>

class CControlDlg : public QWidget {
    Q_OBJECT
public:
    explicit CControlDlg(QWidget* pParent = nullptr);
};
