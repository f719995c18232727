// The main window's page tabs: three tabs over four pages (viewer, remote,
// PC file viewer, search results). The first tab shows the search page in place
// of the viewer page while search mode is on. While the tabs are locked, the
// operator cannot change the page.
#pragma once

#include <QRect>
#include <QWidget>

class QTabBar;

class CMenuTabCtrl : public QWidget {
    Q_OBJECT
public:
    enum { PAGE_VIEWER = 0, PAGE_REMOTE = 1, PAGE_FILEVIEWER = 2, PAGE_SEARCH = 3 };
    static constexpr int PAGE_COUNT = 4;
    static constexpr int TAB_COUNT = 3;

    explicit CMenuTabCtrl(QWidget* pParent = nullptr);

    // Adds the three tabs; the main window calls it before CreatePages.
    void InsertTabs();
    void CreatePages();
    void SelectTab(int n);
    void EnableTabs(bool bOn) { m_bTabsEnabled = bOn ? 1 : 0; }
    void SetSearchMode(bool bOn);

    int GetCurTab() const { return m_nCurTab; }
    int GetPageCount() const { return m_nPageCount; }
    bool TabsEnabled() const { return m_bTabsEnabled != 0; }
    bool SearchMode() const { return m_bSearchMode != 0; }
    QWidget* GetPage(int nPage) const;
    // The page shown for tab n.
    QWidget* PageForTab(int n) const;
    QTabBar* GetTabBar() const { return m_pTabBar; }
    // The rectangle all pages share.
    QRect PageRect() const;

    // The size the pages are given, and the control's size that yields it.
    static QSize PageSize() { return {960, 584}; }
    QSize ControlSizeForPages() const;

protected:
    bool eventFilter(QObject* pWatched, QEvent* pEvent) override;
    void resizeEvent(QResizeEvent* pEvent) override;
    void paintEvent(QPaintEvent* pEvent) override;

private:
    void OnTabBarChanged(int n);
    void ShowTab(int n);
    void LayoutPages();
    void PlaceTabBar();

    QTabBar* m_pTabBar = nullptr;
    QWidget* m_pPage[PAGE_COUNT] = {};
    int m_nCurTab = 0;
    int m_nPageCount = PAGE_COUNT;
    int m_bTabsEnabled = 1;
    int m_bSearchMode = 0;
    bool m_bSettingTab = false;
};
