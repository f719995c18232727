// The Timer Recording page: the recorder's ten timer programs as a read-only
// table, one row per program (DATE, the recording window, PICTURE QUALITY,
// AUDIO, REC INTERVAL, REC PATTERN, MOTION DETECT PTN), and a numbered button
// per row that opens the editor of that program. The table is read whenever
// the page is shown and after an edit is confirmed; a program read that fails
// leaves the whole table as it was. A dated program takes its year from the
// recorder's clock (the next year when its date has passed); a weekly one
// shows its weekdays as letters, "-M---F-". A value outside its list shows an
// empty cell.
#pragma once

#include "link/timerprogram.h"
#include "remote/menupage.h"
#include "remote/recorderclock.h"

#include <QString>

#include <array>

class CSet_Rec2Dlg : public CMenuPage {
    Q_OBJECT
public:
    enum { IDD = 151 };
    static constexpr int ROW_COUNT = TimerProgram::PROGRAM_COUNT;
    // The cells of a row, in this order.
    enum Cell {
        CELL_DATE,
        CELL_START_HOUR,
        CELL_START_MINUTE,
        CELL_END_HOUR,
        CELL_END_MINUTE,
        CELL_QUALITY,
        CELL_AUDIO,
        CELL_INTERVAL,
        CELL_PATTERN,
        CELL_MOTION,
        CELL_COUNT
    };
    using Row = std::array<QString, CELL_COUNT>;

    static constexpr std::array<int, ROW_COUNT> ROW_BUTTON_IDS = {1485, 1487, 1489, 1491, 1493,
                                                                  1495, 1497, 1498, 1500, 1502};
    // The control id of a cell of row r (0..9).
    static int CellId(int nRow, int nCell);

    explicit CSet_Rec2Dlg(QWidget* pParent = nullptr);

    // Shown: refreshes the table under the wait cursor.
    void OnShowWindow(bool bShow) override;
    // Reads the clock and the ten programs and shows them, or nothing changes.
    void Refresh();
    // Row button r + 1: the editor of program r + 1, then a fresh table after OK.
    void OnRowButton(int nRow);

    // The cells of one program; nLanguage 0 Japanese (year first), 1 English.
    static Row FormatRow(const TimerProgram& program, const CRecorderClock::Date& clock, int nLanguage);

    const QString& GetCell(int nRow, int nCell) const;

private:
    void BuildTable();
    void ShowCells();

    std::array<Row, ROW_COUNT> m_strCells {};
    std::array<std::array<class QLabel*, CELL_COUNT>, ROW_COUNT> m_pCells {};
};
