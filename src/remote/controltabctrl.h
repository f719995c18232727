// The tab of menu-setting pages on the remote page (control 1135): nine pages,
// one shown at a time. Showing a page tells it so, and a setting page then
// reads its values from the recorder; the page already shown is never shown
// again by choosing its tab. The wheel never changes the page.
#pragma once

#include <QWidget>

#include <array>

class CLogSelDlg;
class CMenuPage;
class QTabBar;

class CControlTabCtrl : public QWidget {
    Q_OBJECT
public:
    enum Page {
        PAGE_PLAY = 0,
        PAGE_TIME = 1,
        PAGE_DISK = 2,
        PAGE_RECORDING = 3,
        PAGE_TIMER = 4,
        PAGE_ALARM = 5,
        PAGE_DISPLAY = 6,
        PAGE_COMM = 7,
        PAGE_LOG = 8,
    };
    static constexpr int PAGE_COUNT = 9;

    explicit CControlTabCtrl(QWidget* pParent = nullptr);

    // The tab captions, given by the remote page.
    void InsertItem(int nIndex, const QString& strCaption);
    // Creates the nine pages, shows page 0 (without reading: no recorder
    // needs to be there yet) and hides the others, and lays them out.
    void CreatePages();
    // Switches to page nIndex; nothing happens when it is the current page.
    void SelectPage(int nIndex);
    int GetCurrentPage() const { return m_nCurrent; }
    // Empties the log page's status line and list.
    void ClearLogPage();

    CMenuPage* GetPage(int nIndex) const;
    QTabBar* GetTabBar() const { return m_pTabBar; }
    // The rectangle every page gets, below the tab strip.
    QRect PageRect() const;

protected:
    bool eventFilter(QObject* pWatched, QEvent* pEvent) override;
    void resizeEvent(QResizeEvent* pEvent) override;
    void paintEvent(QPaintEvent* pEvent) override;

private:
    void OnTabBarChanged(int nIndex);
    void ShowPage(int nIndex);
    void SetTabBarIndex(int nIndex);
    void LayoutPages();

    std::array<CMenuPage*, PAGE_COUNT> m_pPages {};
    int m_nCurrent = 0;
    int m_nPageCount = PAGE_COUNT;
    QTabBar* m_pTabBar = nullptr;
    CLogSelDlg* m_pLogPage = nullptr;
    bool m_bSettingTab = false;
};
