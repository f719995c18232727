// The main window: the page tabs and a row of buttons below them (Connection,
// the connected recorder's name, Version, Exit).
#pragma once

#include <QDialog>

#include <string>

class CMenuTabCtrl;
class QLineEdit;
class QPushButton;

class CVX2200NETDlg : public QDialog {
    Q_OBJECT
public:
    static constexpr int MAX_NAME_TEXT = 40;

    explicit CVX2200NETDlg(QWidget* pParent = nullptr);

    CMenuTabCtrl* GetTabCtrl() const { return m_pTab; }
    void SetEntryName(const QString& strName);
    QString GetEntryNameText() const;

    // The viewer page turns search mode on, the search page turns it off.
    void SetSearchMode(bool bOn);

    // Runs the connection selection, then gives back the previous connection
    // or shows the page that fits the new state.
    void OnConnection();
    void RestoreAfterSelection(const std::string& strPeerIP, int nPeerPort, int nResult);
    void OnVersion();
    void OnExit();

    // Enter does nothing; only Exit and the close box end the window.
    void accept() override {}

protected:
    void keyPressEvent(QKeyEvent* pEvent) override;

private:
    QPushButton* MakeButton(int nId, const QString& strCaption);

    CMenuTabCtrl* m_pTab = nullptr;
    QLineEdit* m_pEntryName = nullptr;
};
