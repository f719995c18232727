// One octet of an IP address: refuses keys that cannot belong to a number.
#pragma once

#include <QLineEdit>

class CIPEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit CIPEdit(QWidget* pParent = nullptr);

protected:
    void keyPressEvent(QKeyEvent* pEvent) override;
    void inputMethodEvent(QInputMethodEvent* pEvent) override;
    void focusInEvent(QFocusEvent* pEvent) override;
};
