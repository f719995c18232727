#include "addressbook/flexgrid.h"

#include <QHeaderView>

CFlexGrid::CFlexGrid(int nRows, int nCols, QWidget* pParent) : QTableWidget(nRows, nCols, pParent)
{
    horizontalHeader()->hide();
    verticalHeader()->hide();
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setTabKeyNavigation(false);
    for (int r = 0; r < nRows; ++r)
        setRowHeight(r, 22);
    connect(this, &QTableWidget::currentCellChanged, this, &CFlexGrid::OnCurrentCellChanged);
}

QTableWidgetItem* CFlexGrid::Cell(int nRow, int nCol)
{
    QTableWidgetItem* pItem = item(nRow, nCol);
    if (!pItem) {
        pItem = new QTableWidgetItem;
        if (nRow == 0) {
            // The heading row: fixed, grey, never the current row.
            pItem->setFlags(Qt::ItemIsEnabled);
            pItem->setBackground(palette().button());
            QFont font = pItem->font();
            font.setBold(true);
            pItem->setFont(font);
        } else {
            pItem->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
        }
        setItem(nRow, nCol, pItem);
    }
    return pItem;
}

void CFlexGrid::Clear()
{
    for (int r = 0; r < rowCount(); ++r) {
        for (int c = 0; c < columnCount(); ++c)
            Cell(r, c)->setText(QString());
    }
}

void CFlexGrid::SetRow(int nRow)
{
    if (nRow < 1 || nRow >= rowCount())
        return;
    m_nRow = nRow;
    setCurrentCell(nRow, 0);
    selectRow(nRow);
}

void CFlexGrid::SetColSel(int nCol)
{
    m_nColSel = nCol;
    selectRow(m_nRow);
}

void CFlexGrid::SetText(const QString& strText)
{
    if (m_nRow >= 0 && m_nRow < rowCount() && m_nCol >= 0 && m_nCol < columnCount())
        Cell(m_nRow, m_nCol)->setText(strText);
}

QString CFlexGrid::GetTextAt(int nRow, int nCol) const
{
    const QTableWidgetItem* pItem = item(nRow, nCol);
    return pItem ? pItem->text() : QString();
}

void CFlexGrid::SetColAlignment(int nCol, int nAlignment)
{
    const Qt::Alignment align = nAlignment == flexAlignCenterCenter ? Qt::AlignCenter : Qt::AlignLeft | Qt::AlignVCenter;
    for (int r = 0; r < rowCount(); ++r)
        Cell(r, nCol)->setTextAlignment(align);
}

void CFlexGrid::SetColWidth(int nCol, int nTwips)
{
    setColumnWidth(nCol, TwipsToPixels(nTwips));
}

void CFlexGrid::OnCurrentCellChanged(int nRow, int, int, int)
{
    if (nRow >= 1)
        m_nRow = nRow;
    else if (nRow == 0)
        SetRow(m_nRow); // the heading row cannot be chosen
}
