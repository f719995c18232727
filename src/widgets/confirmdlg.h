// The confirmation dialog: every notice and yes/no question of the pages, chosen
// by a mode number with a fixed text, kind, picture and buttons.
#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

class CConfirmDlg : public QDialog {
    Q_OBJECT
public:
    enum class Kind { Question, Notice, Information };

    struct ModeInfo {
        int nMode;
        Kind kind;
        int nStringId;
        bool bReconnect; // the yes-button reads "Reconnect"
    };

    // The mode's row of the table, or nullptr for an unassigned mode.
    static const ModeInfo* FindMode(int nMode);

    explicit CConfirmDlg(int nMode, QWidget* pParent = nullptr);

    int GetMode() const { return m_nMode; }
    const QString& GetText() const { return m_strText; }

    // The dialog does not end on Enter, Escape or the close box: only its
    // visible buttons end it.
    void accept() override {}
    void reject() override {}

protected:
    void keyPressEvent(QKeyEvent* pEvent) override;

private:
    void OnYes();
    void OnNo();
    void OnOk();
    void Build();
    void ApplyMode();

    int m_nMode;
    QString m_strText;
    QLabel* m_pText = nullptr;
    QLabel* m_pWarning = nullptr;
    QLabel* m_pInformation = nullptr;
    QPushButton* m_pYes = nullptr;
    QPushButton* m_pNo = nullptr;
    QPushButton* m_pOk = nullptr;
};
