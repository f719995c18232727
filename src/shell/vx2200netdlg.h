// The main window: the page tabs and a row of buttons below them (Connection,
// the connected recorder's name, Version, Exit).
#pragma once

#include "app/pagehost.h"

#include <QDialog>

#include <string>

class CMenuTabCtrl;
class CVX2200NETApp;
class QLineEdit;
class QPushButton;

class CVX2200NETDlg : public QDialog, public CPageHost {
    Q_OBJECT
public:
    static constexpr int MAX_NAME_TEXT = 40;

    explicit CVX2200NETDlg(QWidget* pParent = nullptr);

    // The program's window run: the main window, registered with the
    // application object as the pages' host, runs modally until it closes.
    static void RunModal(CVX2200NETApp& app);

    CMenuTabCtrl* GetTabCtrl() const { return m_pTab; }
    void SetEntryName(const QString& strName);
    QString GetEntryNameText() const;

    // The viewer page turns search mode on, the search page turns it off.
    void SetSearchMode(bool bOn) override;
    bool IsSearchMode() const override;
    void EnableTabs(bool bOn) override;

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
