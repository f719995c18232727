// The connection selection: the address book shown ten entries at a time, with
// Add, Change, Delete, Connect and Close.
#pragma once

#include <QDialog>

class CFlexGrid;
class CChgVXEntryDlg;
class QPushButton;
class QScrollBar;

class CSelVXEntryDlg : public QDialog {
    Q_OBJECT
public:
    static constexpr int GRID_ROWS = 10;

    // Scrolling requests of the scroll bar.
    enum ScrollRequest { SB_LINEUP, SB_LINEDOWN, SB_PAGEUP, SB_PAGEDOWN, SB_THUMBPOSITION, SB_THUMBTRACK, SB_TOP, SB_BOTTOM };

    explicit CSelVXEntryDlg(QWidget* pParent = nullptr);

    CFlexGrid* GetGrid() const { return m_pGrid; }
    QScrollBar* GetScrollBar() const { return m_pScroll; }

    void OnAdd();
    void OnChange();
    void OnDelete();
    void OnConnect();
    void OnClose();
    void OnVScroll(ScrollRequest request, int nPos = 0);

    // The Connect action for one address-book entry: probe, then connect.
    // Returns true when the dialog ended with a new connection.
    bool ConnectEntry(int nIndex);

    // The index of the entry shown in the grid's current row.
    int GetChosenIndex() const;

    void accept() override {}
    void reject() override {}

protected:
    bool eventFilter(QObject* pWatched, QEvent* pEvent) override;

private:
    void Build();
    void SetupGrid();
    void FillGrid();
    void SetupScrollBar();
    void SetScrollPos();
    void OnScrollAction(int nAction);
    void OnScrollValue(int nValue);
    void FillEditor(CChgVXEntryDlg& dlg, int nIndex) const;
    bool IsConnectedEntry(int nIndex) const;

    CFlexGrid* m_pGrid = nullptr;
    QScrollBar* m_pScroll = nullptr;
    QPushButton* m_pAdd = nullptr;
    QPushButton* m_pChange = nullptr;
    QPushButton* m_pDelete = nullptr;
    QPushButton* m_pConnect = nullptr;
    QPushButton* m_pClose = nullptr;
    bool m_bSettingScroll = false;
};
