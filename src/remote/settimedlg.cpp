#include "remote/settimedlg.h"

#include "link/vx2200ctrl.h"
#include "platform/prompter.h"
#include "platform/stringtable.h"
#include "remote/menusetting.h"
#include "widgets/resstring.h"

#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

constexpr int CLOCK_ROW_Y = CMenuPage::ROW_TOP + 26;
constexpr int EDIT_WIDTH = 40;
constexpr int UNIT_WIDTH = 18;
const QDate FALLBACK_DATE(2000, 1, 1);
const QDate NULL_DATE(1900, 1, 1); // shown empty
const char* const MESSAGE_CAPTION = "VX2200NET";

QString Two(int n)
{
    return QStringLiteral("%1").arg(n, 2, 10, QLatin1Char('0'));
}

bool InRange(int n, int nMin, int nMax)
{
    return n >= nMin && n <= nMax;
}

} // namespace

CSetTimeDlg::CSetTimeDlg(QWidget* pParent) : CSettingPage(IDD, pParent)
{
    BuildClockControls();
    AddField(SET_TS, IDC_TIME_SYNC, m_nTimeSync, 3);
    AddField(SET_TT, IDC_SYNC_TIME, m_nSyncTime, 4);
    connect(AddSettingButton(IDC_SET), &QPushButton::clicked, this, &CSetTimeDlg::OnSet);
}

void CSetTimeDlg::BuildClockControls()
{
    AddLabel(LangText("TIME SETTING", "時刻設定"), QRect(CAPTION_X, ROW_TOP, CAPTION_WIDTH, ROW_HEIGHT));
    m_pDate = new QDateEdit(this);
    m_pDate->setObjectName(QStringLiteral("id%1").arg(IDC_DATE));
    m_pDate->setCalendarPopup(true);
    const bool bJapanese = CStringTable::CurrentLanguage() == Language::Japanese;
    m_pDate->setLocale(bJapanese ? QLocale(QLocale::Japanese, QLocale::Japan) : QLocale(QLocale::English));
    m_pDate->setDisplayFormat(bJapanese ? QStringLiteral("yyyy'年'M'月'd'日' dddd")
                                        : QStringLiteral("dddd, MMMM dd, yyyy"));
    m_pDate->setDateRange(NULL_DATE, QDate(9999, 12, 31));
    m_pDate->setSpecialValueText(QStringLiteral(" "));
    m_pDate->setDate(NULL_DATE);
    m_pDate->setGeometry(CAPTION_X, CLOCK_ROW_Y + 4, 250, ROW_HEIGHT);

    int x = CAPTION_X + 266;
    const QString units[] = {LangText("h", "時"), LangText("m", "分"), LangText("s", "秒")};
    QLineEdit** const edits[] = {&m_pHour, &m_pMinute, &m_pSecond};
    const int ids[] = {IDC_HOUR, IDC_MINUTE, IDC_SECOND};
    for (int i = 0; i < 3; ++i) {
        auto* pEdit = new QLineEdit(Two(0), this);
        pEdit->setObjectName(QStringLiteral("id%1").arg(ids[i]));
        pEdit->setAlignment(Qt::AlignCenter);
        pEdit->setGeometry(x, CLOCK_ROW_Y + 4, EDIT_WIDTH, ROW_HEIGHT);
        *edits[i] = pEdit;
        AddLabel(units[i], QRect(x + EDIT_WIDTH + 4, CLOCK_ROW_Y + 4, UNIT_WIDTH, ROW_HEIGHT));
        x += EDIT_WIDTH + UNIT_WIDTH + 8;
    }
    auto* pSetTime = AddButton(IDC_SET_TIME, LangText("Set Time", "時刻設定"),
                               QRect(x + 12, CLOCK_ROW_Y + 2, 110, ROW_HEIGHT + 4));
    connect(pSetTime, &QPushButton::clicked, this, &CSetTimeDlg::OnSetTime);
}

void CSetTimeDlg::ReadSettings()
{
    Reading reading;
    if (!ReadFields(reading))
        return;
    const Clock clock = ReadClock();
    TakeReading(reading);
    m_timeDate = clock.date;
    m_nHour = clock.nHour;
    m_nMinute = clock.nMinute;
    m_nSecond = clock.nSecond;
    ShowClock();
}

// The recorder's clock; 1 January 2000, 00:00:00 when the read fails or the
// recorder reports no real date and time.
CSetTimeDlg::Clock CSetTimeDlg::ReadClock() const
{
    Clock fallback {FALLBACK_DATE, 0, 0, 0};
    CVX2200Ctrl* pCtrl = Ctrl();
    int nYear = 0, nMonth = 0, nDay = 0, nHour = 0, nMinute = 0, nSecond = 0;
    if (!pCtrl || pCtrl->GetDateTime(nYear, nMonth, nDay, nHour, nMinute, nSecond) != CVX2200Ctrl::STATUS_OK)
        return fallback;
    const QDate date(nYear, nMonth, nDay);
    if (!date.isValid() || date < m_pDate->minimumDate() || date > m_pDate->maximumDate()
        || !InRange(nHour, 0, 23) || !InRange(nMinute, 0, 59) || !InRange(nSecond, 0, 59))
        return fallback;
    return {date, nHour, nMinute, nSecond};
}

// Only what changed is set: formatting the long date is not cheap.
void CSetTimeDlg::ShowClock()
{
    const QDate date = m_timeDate.isValid() ? m_timeDate : NULL_DATE;
    if (m_pDate->date() != date)
        m_pDate->setDate(date);
    const std::pair<QLineEdit*, int> edits[] = {{m_pHour, m_nHour}, {m_pMinute, m_nMinute}, {m_pSecond, m_nSecond}};
    for (const auto& [pEdit, nValue] : edits) {
        if (const QString strText = Two(nValue); pEdit->text() != strText)
            pEdit->setText(strText);
    }
}

bool CSetTimeDlg::TakeNumber(QLineEdit* pEdit, int nMin, int nMax, int& nValue)
{
    bool bInteger = false;
    const int n = pEdit->text().trimmed().toInt(&bInteger);
    QString strMessage;
    if (!bInteger)
        strMessage = ResString(IDS_NOT_INTEGER);
    else if (!InRange(n, nMin, nMax))
        strMessage = ResString(IDS_OUT_OF_RANGE).arg(nMin).arg(nMax);
    if (!strMessage.isEmpty()) {
        GetPrompter().MessageBox(strMessage.toStdString(), MESSAGE_CAPTION, MessageIcon::Warning,
                                 MessageButtons::Ok);
        pEdit->setFocus();
        pEdit->selectAll();
        return false;
    }
    nValue = n;
    return true;
}

bool CSetTimeDlg::TakeFields()
{
    TakeControls(); // TIME SYNC and SYNC TIME
    m_timeDate = m_pDate->date();
    return TakeNumber(m_pHour, 0, 23, m_nHour) && TakeNumber(m_pMinute, 0, 59, m_nMinute)
           && TakeNumber(m_pSecond, 0, 59, m_nSecond);
}

void CSetTimeDlg::OnSetTime()
{
    if (!TakeFields())
        return;
    if (CVX2200Ctrl* pCtrl = Ctrl())
        pCtrl->SetDateTime(m_timeDate.year(), m_timeDate.month(), m_timeDate.day(), m_nHour, m_nMinute, m_nSecond);
}

void CSetTimeDlg::OnSet()
{
    if (TakeFields())
        WriteFields({SET_TS, SET_TT});
}
