#include "widgets/tabframe.h"

#include <QPainter>
#include <QStyle>
#include <QStyleOptionTabWidgetFrame>
#include <QTabBar>

void PaintTabFrame(QWidget* pControl, const QTabBar* pTabBar)
{
    QPainter painter(pControl);
    QStyleOptionTabWidgetFrame option;
    option.initFrom(pControl);
    const QRect item = pTabBar->tabRect(0).translated(pTabBar->pos());
    option.rect = QRect(0, item.bottom(), pControl->width(), pControl->height() - item.bottom());
    option.tabBarSize = pTabBar->size();
    option.shape = QTabBar::RoundedNorth;
    pControl->style()->drawPrimitive(QStyle::PE_FrameTabWidget, &option, &painter, pControl);
}
