#include "shell/menutabctrl.h"

#include "widgets/resstring.h"
#include "widgets/tabframe.h"
#include "fileviewer/fileviewdlg.h"
#include "remote/controldlg.h"
#include "search/searchdlg.h"
#include "viewer/viewerdlg.h"

#include <QEvent>
#include <QKeyEvent>
#include <QTabBar>

CMenuTabCtrl::CMenuTabCtrl(QWidget* pParent) : QWidget(pParent)
{
    setObjectName(QStringLiteral("id1122"));
    m_pTabBar = new QTabBar(this);
    m_pTabBar->setDrawBase(false);
    m_pTabBar->setExpanding(false);
    m_pTabBar->setUsesScrollButtons(false);
    m_pTabBar->installEventFilter(this);
    connect(m_pTabBar, &QTabBar::currentChanged, this, &CMenuTabCtrl::OnTabBarChanged);
}

void CMenuTabCtrl::InsertTabs()
{
    m_bSettingTab = true;
    m_pTabBar->insertTab(0, LangText("DVR Viewer", "DVRビューア"));
    m_pTabBar->insertTab(1, LangText("DVR Remote", "DVRリモート"));
    m_pTabBar->insertTab(2, ResString(129));
    m_pTabBar->setCurrentIndex(m_nCurTab);
    m_bSettingTab = false;
    // Polish now, so the tab sizes used for the page rectangle are final.
    ensurePolished();
    m_pTabBar->ensurePolished();
    PlaceTabBar();
}

void CMenuTabCtrl::PlaceTabBar()
{
    m_pTabBar->setGeometry(0, 0, std::max(width(), m_pTabBar->sizeHint().width()),
                           m_pTabBar->sizeHint().height());
}

void CMenuTabCtrl::CreatePages()
{
    m_pPage[PAGE_VIEWER] = new CViewerDlg(this);
    m_pPage[PAGE_SEARCH] = new CSearchDlg(this);
    m_pPage[PAGE_REMOTE] = new CControlDlg(this);
    m_pPage[PAGE_FILEVIEWER] = new CFileViewDlg(this);
    for (QWidget* pPage : m_pPage)
        pPage->hide();
    m_pPage[PAGE_VIEWER]->show();
    m_bSettingTab = true;
    m_pTabBar->setCurrentIndex(0);
    m_bSettingTab = false;
    LayoutPages();
}

QWidget* CMenuTabCtrl::GetPage(int nPage) const
{
    return nPage >= 0 && nPage < PAGE_COUNT ? m_pPage[nPage] : nullptr;
}

QWidget* CMenuTabCtrl::PageForTab(int n) const
{
    if (n == 0 && m_bSearchMode)
        return m_pPage[PAGE_SEARCH];
    return GetPage(n);
}

void CMenuTabCtrl::SelectTab(int n)
{
    if (n == m_nCurTab || n < 0 || n >= TAB_COUNT)
        return;
    ShowTab(n);
}

// Hides the current tab's page and shows tab n's page with the focus.
void CMenuTabCtrl::ShowTab(int n)
{
    if (QWidget* pOld = PageForTab(m_nCurTab))
        pOld->hide();
    m_nCurTab = n;
    if (QWidget* pNew = PageForTab(n)) {
        pNew->show();
        pNew->setFocus();
    }
    m_bSettingTab = true;
    m_pTabBar->setCurrentIndex(n);
    m_bSettingTab = false;
}

void CMenuTabCtrl::SetSearchMode(bool bOn)
{
    m_bSearchMode = bOn ? 1 : 0;
    if (!m_pPage[PAGE_VIEWER] || !m_pPage[PAGE_SEARCH])
        return;
    m_pPage[PAGE_VIEWER]->setVisible(!bOn);
    m_pPage[PAGE_SEARCH]->setVisible(bOn);
}

void CMenuTabCtrl::OnTabBarChanged(int n)
{
    if (m_bSettingTab)
        return;
    if (!m_bTabsEnabled) {
        // Only reached if a change slipped past the filter: put the tab back.
        m_bSettingTab = true;
        m_pTabBar->setCurrentIndex(m_nCurTab);
        m_bSettingTab = false;
        return;
    }
    if (n != m_nCurTab && n >= 0 && n < TAB_COUNT)
        ShowTab(n);
}

bool CMenuTabCtrl::eventFilter(QObject* pWatched, QEvent* pEvent)
{
    if (pWatched != m_pTabBar)
        return QWidget::eventFilter(pWatched, pEvent);
    switch (pEvent->type()) {
    case QEvent::Wheel:
        // The wheel never changes the page, locked or not.
        return true;
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseButtonRelease:
        // Locked: the press changes nothing; the current tab stays selected.
        return !m_bTabsEnabled;
    case QEvent::KeyPress: {
        // Locked: no key changes the tab, but Tab and Shift+Tab still move the
        // focus on, so the keyboard is never trapped on the strip.
        const int nKey = static_cast<QKeyEvent*>(pEvent)->key();
        return !m_bTabsEnabled && nKey != Qt::Key_Tab && nKey != Qt::Key_Backtab;
    }
    default:
        return QWidget::eventFilter(pWatched, pEvent);
    }
}

QRect CMenuTabCtrl::PageRect() const
{
    // Edges as exclusive coordinates: left at tab 0's left edge, top one pixel
    // below its bottom, right one pixel inside the client area, bottom at the
    // client bottom less the tab's bottom less 2.
    const QRect item = m_pTabBar->tabRect(0).translated(m_pTabBar->pos());
    const int nItemBottom = item.y() + item.height();
    const int nLeft = item.x();
    const int nTop = nItemBottom + 1;
    const int nRight = width() - 1;
    const int nBottom = height() - nItemBottom - 2;
    return QRect(nLeft, nTop, std::max(0, nRight - nLeft), std::max(0, nBottom - nTop));
}

QSize CMenuTabCtrl::ControlSizeForPages() const
{
    const QRect item = m_pTabBar->tabRect(0).translated(m_pTabBar->pos());
    const int nItemBottom = item.y() + item.height();
    const QSize page = PageSize();
    return {item.x() + page.width() + 1, 2 * nItemBottom + 3 + page.height()};
}

void CMenuTabCtrl::LayoutPages()
{
    const QRect rect = PageRect();
    for (QWidget* pPage : m_pPage) {
        if (pPage)
            pPage->setGeometry(rect);
    }
}

void CMenuTabCtrl::resizeEvent(QResizeEvent* pEvent)
{
    QWidget::resizeEvent(pEvent);
    PlaceTabBar();
    LayoutPages();
}

void CMenuTabCtrl::paintEvent(QPaintEvent*)
{
    PaintTabFrame(this, m_pTabBar);
}
