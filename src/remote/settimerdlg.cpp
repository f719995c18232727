#include "remote/settimerdlg.h"

#include "app/vx2200net.h"
#include "link/vx2200ctrl.h"
#include "remote/dropdowncombo.h"
#include "remote/menusetting.h"
#include "remote/settingitems.h"
#include "widgets/resstring.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>

namespace {

// A cancelled program's unused recording fields open with these.
constexpr int DEFAULT_QUALITY = 2;  // LEVEL 3
constexpr int DEFAULT_AUDIO = 1;    // ON
constexpr int DEFAULT_INTERVAL = 1; // 1/30 SEC
constexpr int DEFAULT_PATTERN = 0;  // "1"
constexpr int DEFAULT_MOTION = 0;   // "1"
constexpr int FEBRUARY = 2;
constexpr int MAX_DAYS = 31;

constexpr int LEFT = 20;
constexpr int CAPTION_WIDTH = 170;
constexpr int FIELD_X = LEFT + CAPTION_WIDTH;
constexpr int ROW_HEIGHT = 26;
constexpr int ROW_PITCH = 34;
constexpr int SMALL_COMBO = 60;
constexpr int COMBO_WIDTH = 150;

QString Id(int nId)
{
    return QStringLiteral("id%1").arg(nId);
}

QStringList Numbers(int nFirst, int nLast, int nWidth)
{
    QStringList items;
    for (int n = nFirst; n <= nLast; ++n)
        items << QStringLiteral("%1").arg(n, nWidth, 10, QLatin1Char('0'));
    return items;
}

void ShowChoice(QComboBox* pCombo, int nValue)
{
    const int nIndex = nValue >= 0 && nValue < pCombo->count() ? nValue : -1;
    if (pCombo->currentIndex() != nIndex)
        pCombo->setCurrentIndex(nIndex);
}

bool IsJapanese()
{
    return CStringTable::CurrentLanguage() == Language::Japanese;
}

} // namespace

CSetTimerDlg::CSetTimerDlg(int nNumber, QWidget* pParent) : QDialog(pParent), m_nNumber(nNumber)
{
    setObjectName(Id(IDD));
    setWindowTitle(LangText("Timer Recording", "タイマー録画"));
    BuildControls();
    m_pNumber->setText(QString::number(m_nNumber));
}

// ---------------------------------------------------------------------------
// Controls

QComboBox* CSetTimerDlg::AddCombo(int nId, const QStringList& items, const QRect& rect)
{
    auto* pCombo = new QComboBox(this);
    pCombo->setObjectName(Id(nId));
    pCombo->addItems(items);
    pCombo->setMaxVisibleItems(16);
    pCombo->setCurrentIndex(-1);
    pCombo->setGeometry(rect);
    return pCombo;
}

QLabel* CSetTimerDlg::AddLabel(const QString& strText, const QRect& rect)
{
    auto* pLabel = new QLabel(strText, this);
    pLabel->setGeometry(rect);
    return pLabel;
}

void CSetTimerDlg::BuildControls()
{
    int y = 16;
    AddLabel(LangText("Number", "番号"), QRect(LEFT, y, CAPTION_WIDTH, ROW_HEIGHT));
    m_pNumber = new QLineEdit(this);
    m_pNumber->setObjectName(Id(IDC_NUMBER));
    m_pNumber->setReadOnly(true);
    m_pNumber->setGeometry(FIELD_X, y, SMALL_COMBO, ROW_HEIGHT);
    y += ROW_PITCH;
    AddLabel(LangText("MODE", "モード"), QRect(LEFT, y, CAPTION_WIDTH, ROW_HEIGHT));
    m_pMode = AddCombo(IDC_MODE,
                       {LangText("CANCEL", "取消"), LangText("DAILY", "月日指定"), LangText("WEEKLY", "毎週")},
                       QRect(FIELD_X, y, COMBO_WIDTH, ROW_HEIGHT));
    connect(m_pMode, &QComboBox::activated, this, &CSetTimerDlg::OnModeChosen);
    y += ROW_PITCH;
    BuildDateRow(y);
    y += ROW_PITCH;
    BuildWeekdays(y);
    y += 62;
    BuildTimeRow(y);
    y += ROW_PITCH;

    struct Row {
        int nId;
        int k; // the setting whose list it shows
        QComboBox** ppCombo;
    };
    const Row rows[] = {
        {IDC_QUALITY, SET_RQ, &m_pQuality}, {IDC_AUDIO, SET_RD, &m_pAudio}, {IDC_INTERVAL, SET_RI, &m_pInterval}};
    for (const Row& row : rows) {
        AddLabel(CSettingItems::Caption(row.k), QRect(LEFT, y, CAPTION_WIDTH, ROW_HEIGHT));
        *row.ppCombo = AddCombo(row.nId, CSettingItems::Items(row.k), QRect(FIELD_X, y, COMBO_WIDTH, ROW_HEIGHT));
        y += ROW_PITCH;
    }
    AddLabel(LangText("REC PATTERN", "録画パターン"), QRect(LEFT, y, CAPTION_WIDTH, ROW_HEIGHT));
    m_pPattern = AddCombo(IDC_PATTERN, {"1", "2"}, QRect(FIELD_X, y, SMALL_COMBO, ROW_HEIGHT));
    y += ROW_PITCH;
    AddLabel(LangText("MOTION DETECT PTN", "動き検出パターン"), QRect(LEFT, y, CAPTION_WIDTH, ROW_HEIGHT));
    m_pMotion = AddCombo(IDC_MOTION, {"1", "2"}, QRect(FIELD_X, y, SMALL_COMBO, ROW_HEIGHT));
    y += ROW_PITCH + 8;

    auto* pOk = new QPushButton(QStringLiteral("OK"), this);
    pOk->setObjectName(Id(1));
    pOk->setDefault(true);
    pOk->setGeometry(290, y, 100, 30);
    connect(pOk, &QPushButton::clicked, this, &CSetTimerDlg::accept);
    auto* pCancel = new QPushButton(LangText("Cancel", "キャンセル"), this);
    pCancel->setObjectName(Id(2));
    pCancel->setAutoDefault(false);
    pCancel->setGeometry(400, y, 100, 30);
    connect(pCancel, &QPushButton::clicked, this, &CSetTimerDlg::reject);
    setFixedSize(520, y + 30 + 16);
}

// Month / day / year in English, year / month / day in Japanese; then the
// weekday letter of the date.
void CSetTimerDlg::BuildDateRow(int y)
{
    AddLabel(LangText("DATE", "日付"), QRect(LEFT, y, CAPTION_WIDTH, ROW_HEIGHT));
    m_pMonth = AddCombo(IDC_MONTH, Numbers(1, 12, 1), QRect());
    m_pDay = new CDropDownCombo(this);
    m_pDay->setObjectName(Id(IDC_DAY));
    m_pDay->addItems(Numbers(1, MAX_DAYS, 1));
    m_pDay->setMaxVisibleItems(16);
    m_pDay->setCurrentIndex(-1);
    m_pDay->m_fnBeforeOpen = [this] { OnDayListOpening(); };
    m_pYear = AddLabel(QString(), QRect());
    m_pYear->setObjectName(Id(IDC_YEAR));
    m_pYear->setAlignment(Qt::AlignCenter);
    QWidget* const order[3] = {IsJapanese() ? static_cast<QWidget*>(m_pYear) : m_pMonth,
                               IsJapanese() ? static_cast<QWidget*>(m_pMonth) : m_pDay,
                               IsJapanese() ? static_cast<QWidget*>(m_pDay) : m_pYear};
    int x = FIELD_X;
    for (int i = 0; i < 3; ++i) {
        order[i]->setGeometry(x, y, SMALL_COMBO, ROW_HEIGHT);
        x += SMALL_COMBO;
        if (i < 2)
            AddLabel(QStringLiteral("/"), QRect(x, y, 14, ROW_HEIGHT))->setAlignment(Qt::AlignCenter);
        x += 14;
    }
    m_pWeekday = new QLineEdit(this);
    m_pWeekday->setObjectName(Id(IDC_WEEKDAY));
    m_pWeekday->setReadOnly(true);
    m_pWeekday->setAlignment(Qt::AlignCenter);
    m_pWeekday->setGeometry(x + 6, y, 36, ROW_HEIGHT);
    connect(m_pMonth, &QComboBox::activated, this, &CSetTimerDlg::OnMonthChosen);
    connect(m_pDay, &QComboBox::activated, this, &CSetTimerDlg::OnDayChosen);
}

void CSetTimerDlg::BuildWeekdays(int y)
{
    auto* pGroup = new QGroupBox(LangText("Day of the Week", "曜日"), this);
    pGroup->setGeometry(LEFT, y, 480, 54);
    const char* const english[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
    const char* const japanese[] = {"日", "月", "火", "水", "木", "金", "土"};
    for (std::size_t i = 0; i < m_pWeekdays.size(); ++i) {
        auto* pCheck = new QCheckBox(LangText(english[i], japanese[i]), pGroup);
        pCheck->setObjectName(Id(WEEKDAY_IDS[i]));
        pCheck->setGeometry(12 + static_cast<int>(i) * 60, 22, 58, ROW_HEIGHT);
        m_pWeekdays[i] = pCheck;
    }
}

void CSetTimerDlg::BuildTimeRow(int y)
{
    AddLabel(LangText("TIME", "時刻"), QRect(LEFT, y, CAPTION_WIDTH, ROW_HEIGHT));
    int x = FIELD_X;
    struct Field {
        int nId;
        int nLast;
        QComboBox** ppCombo;
        int* pnMember;
        const char* pszAfter;
    };
    const Field fields[] = {{IDC_START_HOUR, 23, &m_pStartHour, &m_nStartHour, ":"},
                            {IDC_START_MINUTE, 59, &m_pStartMinute, &m_nStartMinute, "~"},
                            {IDC_END_HOUR, 23, &m_pEndHour, &m_nEndHour, ":"},
                            {IDC_END_MINUTE, 59, &m_pEndMinute, &m_nEndMinute, nullptr}};
    for (const Field& f : fields) {
        QComboBox* pCombo = AddCombo(f.nId, Numbers(0, f.nLast, 2), QRect(x, y, SMALL_COMBO, ROW_HEIGHT));
        *f.ppCombo = pCombo;
        int* pnMember = f.pnMember;
        connect(pCombo, &QComboBox::activated, this, [pnMember](int nIndex) { *pnMember = nIndex; });
        x += SMALL_COMBO;
        if (f.pszAfter)
            AddLabel(QString::fromLatin1(f.pszAfter), QRect(x, y, 16, ROW_HEIGHT))->setAlignment(Qt::AlignCenter);
        x += 16;
    }
}

// ---------------------------------------------------------------------------
// Members and controls

void CSetTimerDlg::TakeMembers()
{
    m_nMode = m_pMode->currentIndex();
    m_nMonth = m_pMonth->currentIndex();
    m_nDay = m_pDay->currentIndex();
    for (std::size_t i = 0; i < m_pWeekdays.size(); ++i)
        m_bWeekday[i] = m_pWeekdays[i]->isChecked() ? 1 : 0;
    m_nStartHour = m_pStartHour->currentIndex();
    m_nStartMinute = m_pStartMinute->currentIndex();
    m_nEndHour = m_pEndHour->currentIndex();
    m_nEndMinute = m_pEndMinute->currentIndex();
    m_nQuality = m_pQuality->currentIndex();
    m_nAudio = m_pAudio->currentIndex();
    m_nInterval = m_pInterval->currentIndex();
    m_nPattern = m_pPattern->currentIndex();
    m_nMotion = m_pMotion->currentIndex();
}

void CSetTimerDlg::ShowMembers()
{
    ShowChoice(m_pMode, m_nMode);
    m_pYear->setText(m_strYear);
    ShowChoice(m_pMonth, m_nMonth);
    ShowChoice(m_pDay, m_nDay);
    m_pWeekday->setText(m_strWeekday);
    for (std::size_t i = 0; i < m_pWeekdays.size(); ++i)
        m_pWeekdays[i]->setChecked(m_bWeekday[i] != 0);
    ShowChoice(m_pStartHour, m_nStartHour);
    ShowChoice(m_pStartMinute, m_nStartMinute);
    ShowChoice(m_pEndHour, m_nEndHour);
    ShowChoice(m_pEndMinute, m_nEndMinute);
    ShowChoice(m_pQuality, m_nQuality);
    ShowChoice(m_pAudio, m_nAudio);
    ShowChoice(m_pInterval, m_nInterval);
    ShowChoice(m_pPattern, m_nPattern);
    ShowChoice(m_pMotion, m_nMotion);
}

// Weekly: the weekdays, not the date; any other mode the other way round.
void CSetTimerDlg::EnableForMode()
{
    const bool bWeekly = m_nMode == MODE_WEEKLY;
    for (QCheckBox* pCheck : m_pWeekdays)
        pCheck->setEnabled(bWeekly);
    m_pMonth->setEnabled(!bWeekly);
    m_pDay->setEnabled(!bWeekly);
}

void CSetTimerDlg::TakeRecordingFields(const TimerProgram& p, bool bDefaults)
{
    auto value = [&p, bDefaults](int f, int nDefault) { return bDefaults && p[f] == -1 ? nDefault : p[f]; };
    m_nQuality = value(TimerProgram::QUALITY, DEFAULT_QUALITY);
    m_nAudio = value(TimerProgram::AUDIO, DEFAULT_AUDIO);
    m_nInterval = value(TimerProgram::INTERVAL, DEFAULT_INTERVAL);
    m_nPattern = value(TimerProgram::REC_PATTERN, DEFAULT_PATTERN);
    m_nMotion = value(TimerProgram::MOTION_PATTERN, DEFAULT_MOTION);
}

// ---------------------------------------------------------------------------
// Reading and the operator's choices

void CSetTimerDlg::showEvent(QShowEvent* pEvent)
{
    QDialog::showEvent(pEvent);
    if (!pEvent->spontaneous() && !m_bShown) {
        m_bShown = true;
        ReadProgram();
    }
}

void CSetTimerDlg::ReadProgram()
{
    const CVX2200NETApp* pApp = GetApp();
    CVX2200Ctrl* pCtrl = pApp ? pApp->GetCtrl() : nullptr;
    CRecorderClock::Date clock;
    CRecorderClock::Read(pCtrl, clock);
    TimerProgram p;
    if (!pCtrl || pCtrl->GetTimerProgram(m_nNumber - 1, p) != CVX2200Ctrl::STATUS_OK)
        return; // the editor stays as it is
    m_nMode = p[TimerProgram::MODE];
    m_bWeekday.fill(0);
    m_strYear = QStringLiteral("----");
    m_strWeekday = ResString(CRecorderClock::IDS_NO_WEEKDAY);
    m_nMonth = -1;
    m_nDay = -1;
    m_nStartHour = p[TimerProgram::START_HOUR];
    m_nStartMinute = p[TimerProgram::START_MINUTE];
    m_nEndHour = p[TimerProgram::END_HOUR];
    m_nEndMinute = p[TimerProgram::END_MINUTE];
    TakeRecordingFields(p, m_nMode == MODE_CANCEL);
    if (m_nMode == MODE_CANCEL) {
        m_nStartHour = m_nStartMinute = m_nEndHour = m_nEndMinute = -1;
    } else if (m_nMode == MODE_DATED) {
        const int nMonth = p[TimerProgram::MONTH];
        const int nDay = p[TimerProgram::DAY];
        const int nYear = CRecorderClock::ProgramYear(clock, nMonth, nDay);
        const bool bDate = nMonth >= 1 && nMonth <= 12 && nDay >= 1 && nDay <= MAX_DAYS;
        m_strYear = bDate ? QString::number(nYear) : QString();
        m_nMonth = nMonth - 1;
        m_nDay = nDay - 1;
        const int nLetter = CRecorderClock::WeekdayLetterId(nYear, nMonth, nDay);
        m_strWeekday = nLetter ? ResString(nLetter) : QString();
    } else if (m_nMode == MODE_WEEKLY) {
        for (std::size_t i = 0; i < m_bWeekday.size(); ++i)
            m_bWeekday[i] = (p[TimerProgram::WEEKDAYS] >> i) & 1;
    }
    EnableForMode();
    ShowMembers();
}

void CSetTimerDlg::OnModeChosen()
{
    TakeMembers();
    EnableForMode();
    if (m_nMode == MODE_WEEKLY) {
        m_nMonth = -1;
        m_nDay = -1;
        ShowMembers();
    }
}

void CSetTimerDlg::OnMonthChosen()
{
    TakeMembers();
    if (m_nDay >= 0) {
        m_nDay = 0; // "1"
        ShowMembers();
    }
}

void CSetTimerDlg::OnDayChosen()
{
    TakeMembers();
    if (m_nMonth < 0)
        return;
    const CVX2200NETApp* pApp = GetApp();
    CRecorderClock::Date clock;
    CRecorderClock::Read(pApp ? pApp->GetCtrl() : nullptr, clock);
    m_strYear = QString::number(CRecorderClock::ProgramYear(clock, m_nMonth + 1, m_nDay + 1));
    m_pYear->setText(m_strYear);
}

void CSetTimerDlg::OnDayListOpening()
{
    const int nMonth = m_pMonth->currentIndex() + 1;
    if (nMonth < 1)
        return;
    int nYear = 2001; // any year without 29 February; only February asks the clock
    if (nMonth == FEBRUARY) {
        const CVX2200NETApp* pApp = GetApp();
        CRecorderClock::Date clock;
        if (!CRecorderClock::Read(pApp ? pApp->GetCtrl() : nullptr, clock))
            return; // the list stays as it is
        // The February to come: next year's once this year's has begun.
        nYear = clock.nMonth > FEBRUARY ? clock.nYear + 1 : clock.nYear;
    }
    const int nDays = CRecorderClock::DaysInMonth(nYear, nMonth);
    if (nDays == m_pDay->count())
        return;
    // The chosen day stays chosen when the month has it.
    const int nChosen = m_pDay->currentIndex();
    m_pDay->clear();
    m_pDay->addItems(Numbers(1, nDays, 1));
    m_pDay->setCurrentIndex(nChosen < nDays ? nChosen : -1);
}

TimerProgram CSetTimerDlg::ProgramFromMembers() const
{
    int nMask = 0;
    for (std::size_t i = 0; i < m_bWeekday.size(); ++i)
        nMask |= m_bWeekday[i] ? 1 << i : 0;
    TimerProgram p;
    p.nField = {m_nNumber - 1, m_nMode,      m_nMonth + 1, m_nDay + 1, nMask,     m_nStartHour, m_nStartMinute,
                m_nEndHour,    m_nEndMinute, m_nQuality,   m_nAudio,   m_nInterval, m_nPattern, m_nMotion};
    return p;
}

void CSetTimerDlg::accept()
{
    TakeMembers();
    const TimerProgram program = ProgramFromMembers();
    if (m_nMode == MODE_WEEKLY && program[TimerProgram::WEEKDAYS] == 0)
        return; // a weekly program needs a weekday; nothing is said
    const CVX2200NETApp* pApp = GetApp();
    CVX2200Ctrl* pCtrl = pApp ? pApp->GetCtrl() : nullptr;
    if (!pCtrl || pCtrl->SetTimerProgram(program) != CVX2200Ctrl::STATUS_OK)
        return; // the recorder did not take it: the editor stays open
    QDialog::accept();
}
