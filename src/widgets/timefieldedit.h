// An hour or minute field of the save-to-PC dialog and the search page: digits,
// editing and moving keys pass; any other key shows its notice and still
// reaches the field (the dialog's checks refuse what is not a number); input
// composed by an input method is dropped with the Kana notice.
#pragma once

#include <QLineEdit>

class CTimeFieldEdit : public QLineEdit {
    Q_OBJECT
public:
    static constexpr int MAX_CHARS = 2;
    static constexpr int MODE_KANA_BUTTON = 32;

    // nWrongKeyMode: the confirmation mode a key that is not passed shows.
    CTimeFieldEdit(int nWrongKeyMode, QWidget* pParent);

    int GetWrongKeyMode() const { return m_nWrongKeyMode; }

protected:
    void keyPressEvent(QKeyEvent* pEvent) override;
    void inputMethodEvent(QInputMethodEvent* pEvent) override;
    void focusInEvent(QFocusEvent* pEvent) override;

private:
    int m_nWrongKeyMode;
};
