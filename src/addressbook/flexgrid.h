// The address-book grid: a table of fixed rows and columns whose row 0 is the
// heading row, with the few operations the selection dialog uses.
#pragma once

#include <QTableWidget>

class CFlexGrid : public QTableWidget {
    Q_OBJECT
public:
    enum { flexAlignCenterCenter = 4 };

    CFlexGrid(int nRows, int nCols, QWidget* pParent = nullptr);

    void Clear();
    int GetCols() const { return columnCount(); }
    int GetRow() const { return m_nRow; }
    void SetRow(int nRow);
    void SetCol(int nCol) { m_nCol = nCol; }
    void SetColSel(int nCol);
    void SetText(const QString& strText);
    QString GetTextAt(int nRow, int nCol) const;
    void SetColAlignment(int nCol, int nAlignment);
    // Width in 1/1440 inch, shown at 96 pixels per inch.
    void SetColWidth(int nCol, int nTwips);

    static int TwipsToPixels(int nTwips) { return (nTwips * 96 + 720) / 1440; }

private:
    QTableWidgetItem* Cell(int nRow, int nCol);
    void OnCurrentCellChanged(int nRow, int nCol, int nPrevRow, int nPrevCol);

    int m_nRow = 1;
    int m_nCol = 0;
    int m_nColSel = 0;
};
