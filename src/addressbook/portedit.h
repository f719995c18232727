// The port field: answers keys that cannot belong to a number with a notice;
// the check on OK refuses what still reaches the field.
#pragma once

#include <QLineEdit>

class CPortEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit CPortEdit(QWidget* pParent = nullptr);

protected:
    void keyPressEvent(QKeyEvent* pEvent) override;
    void inputMethodEvent(QInputMethodEvent* pEvent) override;
    void focusInEvent(QFocusEvent* pEvent) override;
};
