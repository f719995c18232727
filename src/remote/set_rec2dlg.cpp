#include "remote/set_rec2dlg.h"

#include "app/vx2200net.h"
#include "link/vx2200ctrl.h"
#include "remote/settimerdlg.h"
#include "widgets/resstring.h"
#include "widgets/waitcursor.h"

#include <QLabel>
#include <QPushButton>

namespace {

constexpr int kQualityIds[] = {206, 208, 210, 212, 214}; // LEVEL 5 .. LEVEL 1
constexpr int IDS_OFF = 216;
constexpr int IDS_ON = 218;
constexpr const char* kIntervals[] = {"1/60", "1/30", "1/15", "1/10", " 1/5", " 1/3", " 1/2", "   1",
                                      "   2", "   3", "   5", "  10", "  20", "  30", "  60"};
constexpr const char* kPatterns[] = {" 1", " 2"};
constexpr int MODE_CANCEL = 0;
constexpr int MODE_DATED = 1;
constexpr int MODE_WEEKLY = 2;
constexpr int WEEKDAYS = 7;

// Control ids: rows 0..8 step through the formula, row 9 has ids of its own.
constexpr int kFirstSixStep[] = {1527, 1528, 1529, 1530, 1531};
constexpr int kRowNineSixStep[] = {1581, 1583, 1584, 1585, 1586};
constexpr int FIRST_FIVE_STEP = 1587;

// Layout: the left edge and width of each cell, and the table's rows.
struct Column {
    int x;
    int nWidth;
};
constexpr Column kColumns[CSet_Rec2Dlg::CELL_COUNT] = {
    {58, 128}, {204, 26}, {240, 26}, {284, 26}, {320, 26}, {366, 96}, {478, 56}, {556, 52}, {660, 70}, {800, 70},
};
constexpr int BUTTON_X = 12;
constexpr int BUTTON_WIDTH = 36;
constexpr int HEADER_Y = 12;
constexpr int FIRST_ROW_Y = 40;
constexpr int ROW_PITCH = 34;
constexpr int CELL_HEIGHT = 26;

QString Two(int n)
{
    return QStringLiteral("%1").arg(n, 2, 10, QLatin1Char('0'));
}

// An item of a list by its value; empty outside the list.
template <typename T, std::size_t N>
const T* Item(const T (&items)[N], int nValue)
{
    return nValue >= 0 && static_cast<std::size_t>(nValue) < N ? &items[nValue] : nullptr;
}

QString TextOf(const char* const* ppsz)
{
    return ppsz ? QString::fromLatin1(*ppsz) : QString();
}

QString StringOf(const int* pnId)
{
    return pnId ? ResString(*pnId) : QString();
}

QString TimeCell(int nValue, int nMax)
{
    return nValue >= 0 && nValue <= nMax ? Two(nValue) : QString();
}

QString DatedCell(const TimerProgram& program, const CRecorderClock::Date& clock, int nLanguage)
{
    const int nMonth = program[TimerProgram::MONTH];
    const int nDay = program[TimerProgram::DAY];
    if (nMonth < 1 || nMonth > 12 || nDay < 1 || nDay > 31)
        return {};
    const QString strYear = QString::number(CRecorderClock::ProgramYear(clock, nMonth, nDay));
    const QString strSeparator = QStringLiteral(" / ");
    if (nLanguage == static_cast<int>(Language::Japanese))
        return strYear + strSeparator + Two(nMonth) + strSeparator + Two(nDay);
    return Two(nMonth) + strSeparator + Two(nDay) + strSeparator + strYear;
}

QString WeeklyCell(int nMask)
{
    QString str;
    for (int nWeekday = 0; nWeekday < WEEKDAYS; ++nWeekday)
        str += ResString((nMask >> nWeekday) & 1 ? CRecorderClock::WeekdayLetterIdOf(nWeekday)
                                                 : CRecorderClock::IDS_NO_WEEKDAY);
    return str;
}

int UiLanguage()
{
    const CVX2200NETApp* pApp = GetApp();
    return pApp ? pApp->GetLanguage() : static_cast<int>(Language::English);
}

} // namespace

int CSet_Rec2Dlg::CellId(int nRow, int nCell)
{
    if (nRow < 0 || nRow >= ROW_COUNT || nCell < 0 || nCell >= CELL_COUNT)
        return 0;
    if (nCell <= CELL_END_MINUTE)
        return nRow == ROW_COUNT - 1 ? kRowNineSixStep[nCell] : kFirstSixStep[nCell] + 6 * nRow;
    return FIRST_FIVE_STEP + (nCell - CELL_QUALITY) + 5 * nRow;
}

CSet_Rec2Dlg::CSet_Rec2Dlg(QWidget* pParent) : CMenuPage(IDD, pParent)
{
    BuildTable();
}

void CSet_Rec2Dlg::BuildTable()
{
    // Each caption centred over its cells, nWidth wide.
    struct Header {
        int nFirst;
        int nLast;
        int nWidth;
        const char* pszEnglish;
        const char* pszJapanese;
    };
    const Header headers[] = {
        {CELL_DATE, CELL_DATE, 128, "DATE", "日付"},
        {CELL_START_HOUR, CELL_END_MINUTE, 142, "TIME", "時刻"},
        {CELL_QUALITY, CELL_QUALITY, 120, "PICTURE QUALITY", "画質"},
        {CELL_AUDIO, CELL_AUDIO, 60, "AUDIO", "音声"},
        {CELL_INTERVAL, CELL_INTERVAL, 110, "REC INTERVAL", "録画間隔"},
        {CELL_PATTERN, CELL_PATTERN, 120, "REC PATTERN", "録画パターン"},
        {CELL_MOTION, CELL_MOTION, 160, "MOTION DETECT PTN", "動き検出パターン"},
    };
    for (const Header& h : headers) {
        const int nCentre = (kColumns[h.nFirst].x + kColumns[h.nLast].x + kColumns[h.nLast].nWidth) / 2
                            + (h.nFirst == CELL_INTERVAL ? 18 : 0); // the interval and its "sec"
        QLabel* pLabel = AddLabel(LangText(h.pszEnglish, h.pszJapanese),
                                  QRect(nCentre - h.nWidth / 2, HEADER_Y, h.nWidth, CELL_HEIGHT));
        pLabel->setAlignment(Qt::AlignCenter);
    }
    for (int r = 0; r < ROW_COUNT; ++r) {
        const int y = FIRST_ROW_Y + r * ROW_PITCH;
        QPushButton* pButton = AddButton(ROW_BUTTON_IDS[static_cast<std::size_t>(r)], QString::number(r + 1),
                                         QRect(BUTTON_X, y, BUTTON_WIDTH, CELL_HEIGHT));
        connect(pButton, &QPushButton::clicked, this, [this, r] { OnRowButton(r); });
        for (int c = 0; c < CELL_COUNT; ++c) {
            QLabel* pCell = AddLabel(QString(), QRect(kColumns[c].x, y, kColumns[c].nWidth, CELL_HEIGHT), CellId(r, c));
            pCell->setFrameStyle(QFrame::Panel | QFrame::Sunken);
            pCell->setAlignment(Qt::AlignCenter);
            m_pCells[static_cast<std::size_t>(r)][static_cast<std::size_t>(c)] = pCell;
        }
        // The recording window reads hh:mm~hh:mm; the interval is in seconds.
        const QRect colon1(kColumns[CELL_START_HOUR].x + 26, y, 10, CELL_HEIGHT);
        AddLabel(QStringLiteral(":"), colon1)->setAlignment(Qt::AlignCenter);
        AddLabel(QStringLiteral("~"), QRect(kColumns[CELL_START_MINUTE].x + 26, y, 18, CELL_HEIGHT))
            ->setAlignment(Qt::AlignCenter);
        AddLabel(QStringLiteral(":"), QRect(kColumns[CELL_END_HOUR].x + 26, y, 10, CELL_HEIGHT))
            ->setAlignment(Qt::AlignCenter);
        AddLabel(LangText("sec", "秒"), QRect(kColumns[CELL_INTERVAL].x + 56, y, 36, CELL_HEIGHT));
    }
}

const QString& CSet_Rec2Dlg::GetCell(int nRow, int nCell) const
{
    static const QString s_strNone;
    if (nRow < 0 || nRow >= ROW_COUNT || nCell < 0 || nCell >= CELL_COUNT)
        return s_strNone;
    return m_strCells[static_cast<std::size_t>(nRow)][static_cast<std::size_t>(nCell)];
}

CSet_Rec2Dlg::Row CSet_Rec2Dlg::FormatRow(const TimerProgram& p, const CRecorderClock::Date& clock, int nLanguage)
{
    Row row;
    const int nMode = p[TimerProgram::MODE];
    if (nMode == MODE_CANCEL) {
        row[CELL_DATE] = QStringLiteral("---- / -- / --");
        for (int c = CELL_START_HOUR; c <= CELL_END_MINUTE; ++c)
            row[static_cast<std::size_t>(c)] = QStringLiteral("--");
        for (int c = CELL_QUALITY; c <= CELL_MOTION; ++c)
            row[static_cast<std::size_t>(c)] = QStringLiteral("-");
        return row;
    }
    row[CELL_QUALITY] = StringOf(Item(kQualityIds, p[TimerProgram::QUALITY]));
    const int nAudio = p[TimerProgram::AUDIO];
    row[CELL_AUDIO] = nAudio == 0 ? ResString(IDS_OFF) : nAudio == 1 ? ResString(IDS_ON) : QString();
    row[CELL_INTERVAL] = TextOf(Item(kIntervals, p[TimerProgram::INTERVAL]));
    row[CELL_PATTERN] = TextOf(Item(kPatterns, p[TimerProgram::REC_PATTERN]));
    row[CELL_MOTION] = TextOf(Item(kPatterns, p[TimerProgram::MOTION_PATTERN]));
    row[CELL_START_HOUR] = TimeCell(p[TimerProgram::START_HOUR], 23);
    row[CELL_START_MINUTE] = TimeCell(p[TimerProgram::START_MINUTE], 59);
    row[CELL_END_HOUR] = TimeCell(p[TimerProgram::END_HOUR], 23);
    row[CELL_END_MINUTE] = TimeCell(p[TimerProgram::END_MINUTE], 59);
    if (nMode == MODE_DATED)
        row[CELL_DATE] = DatedCell(p, clock, nLanguage);
    else if (nMode == MODE_WEEKLY)
        row[CELL_DATE] = WeeklyCell(p[TimerProgram::WEEKDAYS]);
    return row;
}

void CSet_Rec2Dlg::OnShowWindow(bool bShow)
{
    if (!bShow)
        return;
    CWaitCursor cursor;
    Refresh();
}

void CSet_Rec2Dlg::Refresh()
{
    CVX2200Ctrl* pCtrl = Ctrl();
    if (!pCtrl)
        return;
    CRecorderClock::Date clock;
    CRecorderClock::Read(pCtrl, clock);
    const int nLanguage = UiLanguage();
    std::array<Row, ROW_COUNT> rows;
    for (int r = 0; r < ROW_COUNT; ++r) {
        TimerProgram program;
        if (pCtrl->GetTimerProgram(r, program) != CVX2200Ctrl::STATUS_OK)
            return; // the table stays as it was
        rows[static_cast<std::size_t>(r)] = FormatRow(program, clock, nLanguage);
    }
    m_strCells = rows;
    ShowCells();
}

void CSet_Rec2Dlg::ShowCells()
{
    for (std::size_t r = 0; r < m_pCells.size(); ++r)
        for (std::size_t c = 0; c < m_pCells[r].size(); ++c)
            m_pCells[r][c]->setText(m_strCells[r][c]);
}

void CSet_Rec2Dlg::OnRowButton(int nRow)
{
    CSetTimerDlg dlg(nRow + 1, this);
    if (dlg.exec() == QDialog::Accepted) {
        CWaitCursor cursor;
        Refresh();
    }
}
