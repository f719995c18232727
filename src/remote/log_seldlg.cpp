#include "remote/log_seldlg.h"

#include "app/vx2200net.h"
#include "link/vx2200ctrl.h"
#include "widgets/resstring.h"
#include "widgets/waitcursor.h"

#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>

namespace {

// The spaces after each text, in English and in Japanese.
struct Padding {
    int nKind;
    int nStringId; // 0: an empty slot
    int nEnglish;
    int nJapanese;
};
constexpr Padding kPadding[] = {
    {LogRecord::REC, 187, 9, 11},   // Rec Start
    {LogRecord::REC, 189, 10, 11},  // Rec End
    {LogRecord::REC, 191, 0, 0},    // Timer Rec Start
    {LogRecord::REC, 193, 1, 0},    // Timer Rec End
    {LogRecord::REC, 0, 14, 15},
    {LogRecord::ALARM, 195, 0, 0},  // Alarm Rec Start
    {LogRecord::ALARM, 198, 2, 0},  // Alarm Rec End
    {LogRecord::ALARM, 0, 22, 23},
    {LogRecord::FAILURE, 200, 0, 0}, // Video Failure
    {LogRecord::FAILURE, 202, 2, 2}, // HDD Failure
    {LogRecord::FAILURE, 204, 2, 1}, // Fan Failure
    {LogRecord::FAILURE, 0, 14, 15},
};

constexpr int LEAD = 9;
constexpr int AFTER_TEXT = 6;
constexpr int AFTER_DATE = 5;

int Spaces(int nKind, int nStringId, bool bJapanese)
{
    for (const Padding& p : kPadding) {
        if (p.nKind == nKind && p.nStringId == nStringId)
            return bJapanese ? p.nJapanese : p.nEnglish;
    }
    return 0;
}

QString Two(int n)
{
    return QStringLiteral("%1").arg(n, 2, 10, QLatin1Char('0'));
}

} // namespace

CLogSelDlg::CLogSelDlg(QWidget* pParent) : CMenuPage(IDD, pParent)
{
    AddLabel(LangText("LOG SELECTION", "ログ選択"), QRect(CAPTION_X, ROW_TOP, 150, ROW_HEIGHT));
    m_pKind = new QComboBox(this);
    m_pKind->setObjectName(QStringLiteral("id%1").arg(IDC_KIND));
    m_pKind->addItems({LangText("GENERAL/TIMER REC LOG", "通常/タイマー録画ログ"),
                       LangText("ALARM REC LOG", "アラーム録画ログ"), LangText("FAILURE LOG", "異常ログ")});
    m_pKind->setCurrentIndex(m_nLogKind);
    m_pKind->setGeometry(CAPTION_X + 160, ROW_TOP, 240, ROW_HEIGHT);
    QPushButton* pDisplay =
        AddButton(IDC_DISPLAY, LangText("Display Log", "ログ表示"), QRect(CAPTION_X + 420, ROW_TOP - 2, 130, 30));
    connect(pDisplay, &QPushButton::clicked, this, &CLogSelDlg::OnDisplayLog);
    m_pStatus = AddLabel(QString(), QRect(CAPTION_X + 570, ROW_TOP, 330, ROW_HEIGHT), IDC_STATUS);
    m_pList = new QListWidget(this);
    m_pList->setObjectName(QStringLiteral("id%1").arg(IDC_LIST));
    m_pList->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_pList->setSelectionMode(QAbstractItemView::SingleSelection);
    m_pList->setUniformItemSizes(true);
    m_pList->setGeometry(CAPTION_X, ROW_TOP + 40, 820, 330);
}

void CLogSelDlg::OnShowWindow(bool bShow)
{
    if (bShow)
        CWaitCursor cursor; // nothing to read: the list is read on Display Log
}

void CLogSelDlg::Clear()
{
    m_strStatus.clear();
    m_pStatus->setText(m_strStatus);
    m_pList->clear();
}

void CLogSelDlg::OnDisplayLog()
{
    m_nLogKind = m_pKind->currentIndex();
    m_strStatus = ResString(IDS_LOADING);
    m_pStatus->setText(m_strStatus);
    const CVX2200NETApp* pApp = GetApp();
    CVX2200Ctrl* pCtrl = Ctrl();
    if (!pCtrl)
        return;
    CWaitCursor cursor;
    if (pCtrl->ReadLog(m_nLogKind) != CVX2200Ctrl::STATUS_OK)
        return; // the status line and the list stay
    m_strStatus.clear();
    m_pStatus->setText(m_strStatus);
    int nSlots = 0;
    const LogRecord* pStore = pCtrl->LogStore(m_nLogKind, nSlots);
    const int nLanguage = pApp ? pApp->GetLanguage() : static_cast<int>(Language::English);
    QStringList lines;
    lines.reserve(nSlots);
    for (int i = 0; pStore && i < nSlots; ++i)
        lines << FormatLine(pStore[i], m_nLogKind, nLanguage);
    m_pList->clear();
    m_pList->addItems(lines);
}

QString CLogSelDlg::FormatLine(const LogRecord& record, int nKind, int nLanguage)
{
    const bool bJapanese = nLanguage == static_cast<int>(Language::Japanese);
    const int nTextId = record.HoldsEntry(nKind) ? record.TextId(nKind) : 0;
    const QString strSpace(QLatin1Char(' '));
    QString strText;
    QString strYear = QStringLiteral("----");
    QString strMonth = QStringLiteral("--"), strDay = strMonth, strHour = strMonth, strMinute = strMonth,
            strSecond = strMonth;
    if (nTextId != 0) {
        const std::string_view sv = CStringTable::Load(nTextId, bJapanese ? Language::Japanese : Language::English);
        strText = QString::fromUtf8(sv.data(), static_cast<qsizetype>(sv.size()));
        strYear = QStringLiteral("%1").arg(record.Year(), 4, 10, QLatin1Char('0'));
        strMonth = Two(record.byMonth);
        strDay = Two(record.byDay);
        strHour = Two(record.byHour);
        strMinute = Two(record.byMinute);
        strSecond = Two(record.bySecond);
    }
    strText += strSpace.repeated(Spaces(nKind, nTextId, bJapanese));
    const QString strSlash = QStringLiteral(" / ");
    const QString strColon = QStringLiteral(" : ");
    const QString strDate = bJapanese ? strYear + strSlash + strMonth + strSlash + strDay
                                      : strMonth + strSlash + strDay + strSlash + strYear;
    return strSpace.repeated(LEAD) + strText + strSpace.repeated(AFTER_TEXT) + strDate
           + strSpace.repeated(AFTER_DATE) + strHour + strColon + strMinute + strColon + strSecond;
}
