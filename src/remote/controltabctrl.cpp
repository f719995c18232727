#include "remote/controltabctrl.h"

#include "remote/log_seldlg.h"
#include "remote/set_osddlg.h"
#include "remote/set_rec1dlg.h"
#include "remote/set_rec2dlg.h"
#include "remote/set_rec3dlg.h"
#include "remote/setcommdlg.h"
#include "remote/setdiskdlg.h"
#include "remote/setplaydlg.h"
#include "remote/settimedlg.h"
#include "widgets/tabframe.h"

#include <QEvent>
#include <QTabBar>

#include <algorithm>

CControlTabCtrl::CControlTabCtrl(QWidget* pParent) : QWidget(pParent)
{
    setObjectName(QStringLiteral("id1135"));
    m_pTabBar = new QTabBar(this);
    m_pTabBar->setDrawBase(false);
    m_pTabBar->setExpanding(false);
    m_pTabBar->setUsesScrollButtons(false);
    m_pTabBar->installEventFilter(this);
    connect(m_pTabBar, &QTabBar::currentChanged, this, &CControlTabCtrl::OnTabBarChanged);
}

void CControlTabCtrl::InsertItem(int nIndex, const QString& strCaption)
{
    m_bSettingTab = true;
    m_pTabBar->insertTab(nIndex, strCaption);
    m_pTabBar->setCurrentIndex(m_nCurrent);
    m_bSettingTab = false;
    m_pTabBar->ensurePolished();
    m_pTabBar->setGeometry(0, 0, std::max(width(), m_pTabBar->sizeHint().width()), m_pTabBar->sizeHint().height());
}

void CControlTabCtrl::CreatePages()
{
    m_pPages[PAGE_PLAY] = new CSetPlayDlg(this);
    m_pPages[PAGE_TIME] = new CSetTimeDlg(this);
    m_pPages[PAGE_DISK] = new CSetDiskDlg(this);
    m_pPages[PAGE_RECORDING] = new CSet_Rec1Dlg(this);
    m_pPages[PAGE_TIMER] = new CSet_Rec2Dlg(this);
    m_pPages[PAGE_ALARM] = new CSet_Rec3Dlg(this);
    m_pPages[PAGE_DISPLAY] = new CSet_OSDDlg(this);
    m_pPages[PAGE_COMM] = new CSetCommDlg(this);
    m_pLogPage = new CLogSelDlg(this);
    m_pPages[PAGE_LOG] = m_pLogPage;
    for (CMenuPage* pPage : m_pPages)
        pPage->hide();
    m_nCurrent = 0;
    m_pPages[PAGE_PLAY]->show();
    SetTabBarIndex(0);
    LayoutPages();
}

CMenuPage* CControlTabCtrl::GetPage(int nIndex) const
{
    return nIndex >= 0 && nIndex < m_nPageCount ? m_pPages[static_cast<std::size_t>(nIndex)] : nullptr;
}

void CControlTabCtrl::SelectPage(int nIndex)
{
    if (nIndex == m_nCurrent || !GetPage(nIndex))
        return;
    ShowPage(nIndex);
    SetTabBarIndex(nIndex);
}

// Hides the current page and shows page nIndex with the focus; each hears of
// it. The new page takes the focus before the old one goes, so that hiding
// never has to look for a place to put it.
void CControlTabCtrl::ShowPage(int nIndex)
{
    CMenuPage* pOld = GetPage(m_nCurrent);
    CMenuPage* pNew = GetPage(nIndex);
    m_nCurrent = nIndex;
    pNew->show();
    pNew->setFocus();
    if (pOld) {
        pOld->hide();
        pOld->OnShowWindow(false);
    }
    pNew->OnShowWindow(true);
}

void CControlTabCtrl::SetTabBarIndex(int nIndex)
{
    m_bSettingTab = true;
    m_pTabBar->setCurrentIndex(nIndex);
    m_bSettingTab = false;
}

// A press on the strip (or a key on it) has moved the bar's current tab.
void CControlTabCtrl::OnTabBarChanged(int nIndex)
{
    if (m_bSettingTab || nIndex == m_nCurrent || !GetPage(nIndex))
        return;
    ShowPage(nIndex);
}

void CControlTabCtrl::ClearLogPage()
{
    if (m_pLogPage)
        m_pLogPage->Clear();
}

bool CControlTabCtrl::eventFilter(QObject* pWatched, QEvent* pEvent)
{
    if (pWatched == m_pTabBar && pEvent->type() == QEvent::Wheel)
        return true;
    return QWidget::eventFilter(pWatched, pEvent);
}

QRect CControlTabCtrl::PageRect() const
{
    // Left at item 0's left edge, top one pixel below its bottom; one pixel
    // short of the client's right edge, two of its bottom.
    const QRect item = m_pTabBar->tabRect(0).translated(m_pTabBar->pos());
    const int nItemBottom = item.y() + item.height();
    const int nLeft = item.x();
    return QRect(nLeft, nItemBottom + 1, std::max(0, width() - nLeft - 1), std::max(0, height() - (nItemBottom + 2)));
}

void CControlTabCtrl::LayoutPages()
{
    const QRect rect = PageRect();
    for (CMenuPage* pPage : m_pPages) {
        if (pPage)
            pPage->setGeometry(rect);
    }
}

void CControlTabCtrl::resizeEvent(QResizeEvent* pEvent)
{
    QWidget::resizeEvent(pEvent);
    m_pTabBar->setGeometry(0, 0, std::max(width(), m_pTabBar->sizeHint().width()), m_pTabBar->sizeHint().height());
    LayoutPages();
}

void CControlTabCtrl::paintEvent(QPaintEvent*)
{
    PaintTabFrame(this, m_pTabBar);
}
