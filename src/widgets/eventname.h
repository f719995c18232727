// The event-name field of the save-to-PC dialog: the space bar shows the
// "Invalid Character." notice, and the space is still typed (the dialog refuses
// a name with a space when it is confirmed). No input method in the field.
#pragma once

#include <QLineEdit>

class CEventName : public QLineEdit {
    Q_OBJECT
public:
    static constexpr int MODE_INVALID_CHARACTER = 23;

    explicit CEventName(QWidget* pParent = nullptr);

protected:
    void keyPressEvent(QKeyEvent* pEvent) override;
    void focusInEvent(QFocusEvent* pEvent) override;
};
