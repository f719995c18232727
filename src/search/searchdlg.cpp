// The search results page: its controls, showing and hiding, the search
// checks, the status poll that enables the buttons, the large picture and the
// hand-over to the viewer. The search run is in searchrun.cpp, printing in
// searchprint.cpp.
#include "search/searchdlg.h"

#include "app/pagehost.h"
#include "app/vx2200net.h"
#include "image/vximage.h"
#include "link/vx2200ctrl.h"
#include "platform/prompter.h"
#include "search/nopicture.h"
#include "widgets/edithour.h"
#include "widgets/editmin.h"
#include "widgets/resstring.h"

#include <QComboBox>
#include <QDateEdit>
#include <QEvent>
#include <QGroupBox>
#include <QHideEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QShowEvent>
#include <QTimer>

#include <new>

namespace {

constexpr int STRING_PLAYBACK = 257;

// The interval list: captions in both languages and the step in seconds.
struct Interval {
    const char* pszEnglish;
    const char* pszJapanese;
    int nSeconds;
};
constexpr Interval kIntervals[] = {
    {"10 sec", "10秒", 10},    {"20 sec", "20秒", 20},   {"30 sec", "30秒", 30},      {"1 min", "1分", 60},
    {"5 min", "5分", 300},     {"10 min", "10分", 600},  {"20 min", "20分", 1200},    {"30 min", "30分", 1800},
    {"1 hr", "1時間", 3600},   {"1 day", "1日", 86400},
};

// The date picker's range.
const QDate DATE_FIRST(2004, 1, 1);
const QDate DATE_LAST(2038, 1, 18);
// The clock when the recorder's cannot be read.
const QDateTime CLOCK_UNKNOWN(QDate(2000, 1, 1), QTime(0, 0), Qt::UTC);

// Page layout: the options along the top, the list (or the large picture)
// below them, the buttons on the right.
constexpr int MARGIN = 8;
constexpr int LIST_TOP = 84;
constexpr int LIST_WIDTH = 786;
constexpr int LIST_HEIGHT = 490;
constexpr int GRID_WIDTH = 128;
constexpr int GRID_HEIGHT = 120;
constexpr int LARGE_WIDTH = 696;
constexpr int LARGE_HEIGHT = 464;
constexpr int BUTTONS_X = MARGIN + LIST_WIDTH + 10;
constexpr int BUTTON_WIDTH = 148;
constexpr int BUTTON_HEIGHT = 34;

QString Id(int nId)
{
    return QStringLiteral("id%1").arg(nId);
}

std::unique_ptr<std::uint8_t[]> AllocatePicture()
{
    return std::unique_ptr<std::uint8_t[]>(new (std::nothrow) std::uint8_t[CVXImage::FRAME_BYTES]());
}

// The text of an hour or minute field as a number in nMin..nMax: digits only.
std::optional<int> FieldValue(const QString& strText, int nMin, int nMax)
{
    if (strText.isEmpty() || strText.size() > 2)
        return std::nullopt;
    int nValue = 0;
    for (const QChar ch : strText) {
        if (ch < u'0' || ch > u'9')
            return std::nullopt;
        nValue = nValue * 10 + (ch.unicode() - u'0');
    }
    if (nValue < nMin || nValue > nMax)
        return std::nullopt;
    return nValue;
}

} // namespace

CSearchDlg::CSearchDlg(QWidget* pParent) : QWidget(pParent)
{
    setObjectName(QStringLiteral("id165"));
    setFocusPolicy(Qt::StrongFocus);
    m_pFrame = AllocatePicture();
    m_pDisplay = AllocatePicture();
    BuildControls();
    ConnectControls();

    m_pTimeSearch->setChecked(true);
    EnableFields(true);
    ResetFieldsFromClock();
    m_pCamera->setCurrentIndex(0);
    m_pLarge->hide();
    m_pPlayback->setEnabled(false);
    m_pPrint->setEnabled(false);
    m_pNext->hide();
    m_pBack->hide();
    m_bmp.Create(m_pLarge, CVXImage::DISPLAY_WIDTH, CVXImage::DISPLAY_HEIGHT, CBmpUty::MODE_24BIT);
    m_nWhiteBrush = m_bmp.AddBrush(CBmpUty::HS_SOLID, 255, 255, 255);
    if (const CVX2200NETApp* pApp = GetApp(); pApp && !pApp->GetProgDir().empty())
        CNoPicture::EnsureFile(pApp->GetProgDir() + NO_PICTURE_FILE);

    m_pTimer = new QTimer(this);
    m_pTimer->setTimerType(Qt::PreciseTimer);
    m_pTimer->setInterval(TIMER_PERIOD_MS);
    connect(m_pTimer, &QTimer::timeout, this, &CSearchDlg::OnTimer);
    m_pTimer->start();
}

CSearchDlg::~CSearchDlg()
{
    m_pTimer->stop();
    m_bmp.RemoveBrush(m_nWhiteBrush);
    m_bmp.Release();
}

// ---------------------------------------------------------------------------
// Controls

QPushButton* CSearchDlg::MakeButton(int nId, const QString& strCaption, const QRect& rect)
{
    auto* pButton = new QPushButton(strCaption, this);
    pButton->setObjectName(Id(nId));
    pButton->setAutoDefault(false);
    pButton->setGeometry(rect);
    return pButton;
}

void CSearchDlg::BuildControls()
{
    BuildOptions();
    BuildButtons();
    m_pList = new QListWidget(this);
    m_pList->setObjectName(Id(IDC_LIST));
    m_pList->setViewMode(QListView::IconMode);
    m_pList->setMovement(QListView::Static);
    m_pList->setResizeMode(QListView::Adjust);
    m_pList->setFlow(QListView::LeftToRight);
    m_pList->setWrapping(true);
    m_pList->setWordWrap(true);
    m_pList->setIconSize(QSize(THUMB_WIDTH, THUMB_HEIGHT));
    m_pList->setGridSize(QSize(GRID_WIDTH, GRID_HEIGHT));
    m_pList->setUniformItemSizes(true);
    m_pList->setSelectionMode(QAbstractItemView::SingleSelection);
    m_pList->setGeometry(MARGIN, LIST_TOP, LIST_WIDTH, LIST_HEIGHT);
    QFont font = m_pList->font();
    font.setPointSize(8);
    m_pList->setFont(font);

    m_pLarge = new QWidget(this);
    m_pLarge->setObjectName(Id(IDC_PICTURE));
    m_pLarge->setAttribute(Qt::WA_OpaquePaintEvent);
    m_pLarge->setGeometry(MARGIN + (LIST_WIDTH - LARGE_WIDTH) / 2, LIST_TOP + (LIST_HEIGHT - LARGE_HEIGHT) / 2,
                          LARGE_WIDTH, LARGE_HEIGHT);
    m_pLarge->setCursor(Qt::PointingHandCursor);
    m_pLarge->installEventFilter(this);
}

void CSearchDlg::BuildOptions()
{
    auto* pBox = new QGroupBox(this);
    pBox->setGeometry(MARGIN, 2, LIST_WIDTH, 74);
    m_pTimeSearch = new QRadioButton(LangText("Time Search", "時間検索"), pBox);
    m_pTimeSearch->setObjectName(Id(IDC_TIME_SEARCH));
    m_pTimeSearch->setGeometry(10, 8, 130, 24);
    m_pBlockSearch = new QRadioButton(LangText("Block Search", "ブロック検索"), pBox);
    m_pBlockSearch->setObjectName(Id(IDC_BLOCK_SEARCH));
    m_pBlockSearch->setGeometry(150, 8, 150, 24);

    auto label = [pBox](const QString& strText, const QRect& rect) {
        auto* pLabel = new QLabel(strText, pBox);
        pLabel->setGeometry(rect);
        pLabel->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    };
    label(LangText("Time", "時刻"), QRect(4, 40, 44, 26));
    m_pDate = new QDateEdit(pBox);
    m_pDate->setObjectName(Id(IDC_DATE));
    m_pDate->setCalendarPopup(true);
    m_pDate->setDateRange(DATE_FIRST, DATE_LAST);
    m_pDate->setDisplayFormat(UiLanguage() == static_cast<int>(Language::English) ? QStringLiteral("MM/dd/yyyy")
                                                                                  : QStringLiteral("yyyy/MM/dd"));
    m_pDate->setGeometry(54, 40, 130, 26);
    m_pHour = new CEditHour(pBox);
    m_pHour->setObjectName(Id(IDC_HOUR));
    m_pHour->setAlignment(Qt::AlignCenter);
    m_pHour->setGeometry(192, 40, 36, 26);
    auto* pColon = new QLabel(QStringLiteral(":"), pBox);
    pColon->setAlignment(Qt::AlignCenter);
    pColon->setGeometry(228, 40, 10, 26);
    m_pMinute = new CEditMin(pBox);
    m_pMinute->setObjectName(Id(IDC_MINUTE));
    m_pMinute->setAlignment(Qt::AlignCenter);
    m_pMinute->setGeometry(238, 40, 36, 26);

    label(LangText("Interval", "間隔"), QRect(284, 40, 70, 26));
    m_pInterval = new QComboBox(pBox);
    m_pInterval->setObjectName(Id(IDC_INTERVAL));
    for (const Interval& interval : kIntervals)
        m_pInterval->addItem(LangText(interval.pszEnglish, interval.pszJapanese));
    m_pInterval->setGeometry(360, 40, 100, 26);

    label(LangText("Camera", "カメラ"), QRect(470, 40, 70, 26));
    m_pCamera = new QComboBox(pBox);
    m_pCamera->setObjectName(Id(IDC_CAMERA));
    m_pCamera->addItem(QStringLiteral("ALL"));
    for (int m = 1; m <= 16; ++m)
        m_pCamera->addItem(QString::number(m));
    m_pCamera->setGeometry(546, 40, 80, 26);
}

void CSearchDlg::BuildButtons()
{
    int y = LIST_TOP;
    auto next = [&y](int nGap = 8) {
        const QRect rect(BUTTONS_X, y, BUTTON_WIDTH, BUTTON_HEIGHT);
        y += BUTTON_HEIGHT + nGap;
        return rect;
    };
    m_pSearch = MakeButton(IDC_SEARCH, LangText("Search", "検索"), QRect(BUTTONS_X, 10, BUTTON_WIDTH, 60));
    m_pPlayback = MakeButton(IDC_PLAYBACK, ResString(STRING_PLAYBACK), next());
    m_pPrint = MakeButton(IDC_PRINT, LangText("Print", "印刷"), next(24));
    m_pNext = MakeButton(IDC_NEXT, LangText("Next", "次へ"), next());
    m_pBack = MakeButton(IDC_BACK, LangText("Back", "前へ"), next());
    m_pSearchCancel = MakeButton(IDC_SEARCH_CANCEL, LangText("Search Cancel", "検索終了"),
                                 QRect(BUTTONS_X, LIST_TOP + LIST_HEIGHT - BUTTON_HEIGHT, BUTTON_WIDTH, BUTTON_HEIGHT));
}

void CSearchDlg::ConnectControls()
{
    connect(m_pTimeSearch, &QRadioButton::clicked, this, &CSearchDlg::OnTimeMode);
    connect(m_pBlockSearch, &QRadioButton::clicked, this, &CSearchDlg::OnBlockMode);
    connect(m_pSearch, &QPushButton::clicked, this, &CSearchDlg::OnSearch);
    connect(m_pSearchCancel, &QPushButton::clicked, this, &CSearchDlg::OnSearchCancel);
    connect(m_pPlayback, &QPushButton::clicked, this, &CSearchDlg::OnPlayback);
    connect(m_pPrint, &QPushButton::clicked, this, &CSearchDlg::OnPrint);
    connect(m_pNext, &QPushButton::clicked, this, &CSearchDlg::OnNext);
    connect(m_pBack, &QPushButton::clicked, this, &CSearchDlg::OnBack);
    connect(m_pList, &QListWidget::itemDoubleClicked, this,
            [this](QListWidgetItem* pItem) { OpenThumbnail(m_pList->row(pItem)); });
    connect(m_pList, &QListWidget::itemClicked, this, [this] { OnThumbnailClicked(); });
}

void CSearchDlg::EnableFields(bool bEnable)
{
    for (QWidget* pField : std::initializer_list<QWidget*> {m_pDate, m_pHour, m_pMinute, m_pInterval, m_pCamera})
        pField->setEnabled(bEnable);
}

CVX2200Ctrl* CSearchDlg::Ctrl() const
{
    const CVX2200NETApp* pApp = GetApp();
    CVX2200Ctrl* pCtrl = pApp ? pApp->GetCtrl() : nullptr;
    // Without a connection nothing is asked: an exchange would ask to reconnect.
    return pCtrl && pCtrl->IsConnected() ? pCtrl : nullptr;
}

CVXImage* CSearchDlg::Image() const
{
    const CVX2200NETApp* pApp = GetApp();
    return pApp ? pApp->GetImage() : nullptr;
}

int CSearchDlg::UiLanguage() const
{
    const CVX2200NETApp* pApp = GetApp();
    return pApp ? pApp->GetLanguage() : static_cast<int>(CStringTable::CurrentLanguage());
}

int CSearchDlg::IntervalSeconds(int nIndex)
{
    const int nCount = static_cast<int>(std::size(kIntervals));
    return kIntervals[std::clamp(nIndex, 0, nCount - 1)].nSeconds;
}

// ---------------------------------------------------------------------------
// The fields and the checks

QDateTime CSearchDlg::ReadClock()
{
    CVX2200Ctrl* pCtrl = Ctrl();
    int y = 0, mo = 0, d = 0, h = 0, mi = 0, s = 0;
    if (!pCtrl || pCtrl->GetDateTime(y, mo, d, h, mi, s) != CVX2200Ctrl::STATUS_OK)
        return CLOCK_UNKNOWN;
    const QDateTime clock(QDate(y, mo, d), QTime(h, mi, s), Qt::UTC);
    return clock.isValid() ? clock : CLOCK_UNKNOWN;
}

void CSearchDlg::ResetFieldsFromClock()
{
    const QDateTime clock = ReadClock();
    m_pDate->setDate(std::clamp(clock.date(), DATE_FIRST, DATE_LAST));
    m_pHour->setText(QString::asprintf("%02d", clock.time().hour()));
    m_pMinute->setText(QString::asprintf("%02d", clock.time().minute()));
    m_pInterval->setCurrentIndex(INTERVAL_DEFAULT);
}

// The hour, the minute and the start time against the recorder's clock, each
// with its notice.
bool CSearchDlg::CheckFields(QDateTime& start)
{
    const std::optional<int> hour = FieldValue(m_pHour->text(), 0, 23);
    if (!hour) {
        GetPrompter().Confirm(MODE_HOUR_WRONG);
        return false;
    }
    const std::optional<int> minute = FieldValue(m_pMinute->text(), 0, 59);
    if (!minute) {
        GetPrompter().Confirm(MODE_MINUTE_WRONG);
        return false;
    }
    start = QDateTime(m_pDate->date(), QTime(*hour, *minute), Qt::UTC);
    m_clock = ReadClock();
    if (start > m_clock) {
        GetPrompter().Confirm(MODE_TIME_AHEAD);
        return false;
    }
    return true;
}

// ---------------------------------------------------------------------------
// Buttons

void CSearchDlg::OnTimeMode()
{
    m_pTimeSearch->setChecked(true);
    EnableFields(true);
    StopSearch();
}

void CSearchDlg::OnBlockMode()
{
    m_pBlockSearch->setChecked(true);
    EnableFields(false);
    StopSearch();
}

void CSearchDlg::OnSearch()
{
    if (m_bLarge)
        return;
    StopSearch();
    const bool bTime = m_pTimeSearch->isChecked();
    QDateTime start;
    if (bTime && !CheckFields(start))
        return;
    if (!bTime)
        m_clock = ReadClock();
    m_nSearchMode = bTime ? SEARCH_TIME : SEARCH_BLOCK;
    m_nSearchInterval = m_pInterval->currentIndex();
    m_nSearchCamera = bTime ? m_pCamera->currentIndex() : 0;
    m_bNoPictureTried = false;
    HideNextBack();
    m_nPage = 0;
    m_nTotalCount = 0;
    m_pageStarts.clear();
    m_nextRequest = start;
    m_bFromNewest = !bTime;
    m_blockAt.reset();
    m_nBlockSkip = 0;
    m_blockBound.reset();
    StartRun(STATE_SEARCH);
}

void CSearchDlg::OnSearchCancel()
{
    CVX2200NETApp* pApp = GetApp();
    if (CPageHost* pMain = pApp ? pApp->GetMainWnd() : nullptr)
        pMain->SetSearchMode(false);
}

void CSearchDlg::OnThumbnailClicked()
{
    m_pPrint->setEnabled(true);
    if (m_pList->currentItem())
        m_pPlayback->setEnabled(false);
}

void CSearchDlg::OnPrint()
{
    PrintPage();
}

// Hands the opened picture to the viewer: the recorder moves to the picture
// after it, and the viewer steps back to it when it takes over.
void CSearchDlg::OnPlayback()
{
    CVX2200NETApp* pApp = GetApp();
    CPageHost* pMain = pApp ? pApp->GetMainWnd() : nullptr;
    CVX2200Ctrl* pCtrl = Ctrl();
    if (!pApp || !pCtrl || !m_bLarge || (pMain && pMain->GetSearchPlaybackMark()))
        return;
    std::array<int, 4> nStatus {};
    if (pCtrl->QueryStatus(nStatus) == CVX2200Ctrl::STATUS_OK && nStatus[2] == 1)
        pApp->SetPlaybackCamera(PLAYBACK_ALL_CAMERAS);
    if (m_nOpened < 0 || !GetThumb(m_nOpened).bFound || !m_bOpenedFetched)
        return;
    Info info {};
    int nSize = 0;
    if (pCtrl->TransferPicture(info.data(), m_pFrame.get(), nSize, 1, 0, 0, 0, 0, 0, 0) != CVX2200Ctrl::STATUS_OK)
        return;
    pApp->SetSearchPlayback(1);
    if (pMain) {
        pMain->SetSearchPlaybackMark(true);
        pMain->SetSearchMode(false);
    }
}

// ---------------------------------------------------------------------------
// The status poll

void CSearchDlg::PollStatus()
{
    CVX2200Ctrl* pCtrl = Ctrl();
    if (!pCtrl)
        return;
    if (m_nPollPause > 0) {
        --m_nPollPause;
        return;
    }
    std::array<int, 4> nStatus {};
    if (pCtrl->QueryStatus(nStatus) != CVX2200Ctrl::STATUS_OK) {
        m_nPollPause = POLL_PAUSE_TICKS;
        return;
    }
    ApplyStatus(nStatus);
}

void CSearchDlg::ApplyStatus(const std::array<int, 4>& nStatus)
{
    if (nStatus[0] == 0) {
        for (QPushButton* pButton : {m_pNext, m_pBack, m_pSearch, m_pPlayback})
            pButton->setEnabled(false);
        return;
    }
    const CVX2200NETApp* pApp = GetApp();
    const CPageHost* pMain = pApp ? pApp->GetMainWnd() : nullptr;
    m_pPlayback->setEnabled(m_bLarge && !(pMain && pMain->GetSearchPlaybackMark()));
    m_pNext->setEnabled(nStatus[1] != 7);
    m_pBack->setEnabled(nStatus[1] != 7);
    m_pSearch->setEnabled(!m_bLarge);
}

void CSearchDlg::ShowNextBack()
{
    if (m_bLarge)
        return;
    m_pNext->setVisible(m_bMore && m_nPageCount > 0);
    m_pBack->setVisible(m_nPage > 0);
}

void CSearchDlg::HideNextBack()
{
    m_pNext->hide();
    m_pBack->hide();
}

// ---------------------------------------------------------------------------
// The large picture

void CSearchDlg::OpenThumbnail(int j)
{
    if (j < 0 || j >= m_nPageCount)
        return;
    StopSearch();
    if (!m_bLarge) {
        m_bNextWasShown = m_pNext->isVisibleTo(this);
        m_bBackWasShown = m_pBack->isVisibleTo(this);
    }
    m_bLarge = true;
    m_nOpened = j;
    HideNextBack();
    m_pNext->setEnabled(false);
    m_pBack->setEnabled(false);
    m_pList->hide();
    m_pLarge->show();
    m_pSearchCancel->hide();
    m_pSearch->setEnabled(false);
    m_pPlayback->setEnabled(true);
    // The large picture prints too: Print stays.
    m_pPrint->setEnabled(true);

    const Thumb& thumb = GetThumb(j);
    m_bOpenedFetched = false;
    m_bLargeHasPicture = false;
    if (thumb.bFound) {
        Info info {};
        m_bOpenedFetched = FetchAt(thumb.time, info);
        bool bMatched = m_bOpenedFetched;
        if (m_bOpenedFetched && m_nSearchCamera > 0) {
            const StepResult result = StepToCamera(m_nSearchCamera, info);
            m_bOpenedFetched = result != STEP_FAILED;
            bMatched = result == STEP_MATCHED;
        }
        if (m_bOpenedFetched) {
            CVXImage::CropVisible(m_pDisplay.get(), m_pFrame.get());
            m_bLargeHasPicture = true;
        }
        if (CVX2200NETApp* pApp = GetApp())
            pApp->SetPlaybackCamera(m_nSearchCamera == 0 || !bMatched ? PLAYBACK_ALL_CAMERAS : m_nSearchCamera);
    } else if (LoadNoPicture()) {
        CVXImage::CropVisible(m_pDisplay.get(), m_pFrame.get());
        m_bLargeHasPicture = true;
    }
    DrawLarge();
}

void CSearchDlg::DrawLarge()
{
    m_bmp.Clear(m_nWhiteBrush);
    if (m_bLargeHasPicture)
        m_bmp.DrawPictureInRect(m_pDisplay.get(), CVXImage::DISPLAY_WIDTH, CVXImage::DISPLAY_HEIGHT,
                                {0, 0, CVXImage::DISPLAY_WIDTH, CVXImage::DISPLAY_HEIGHT});
}

void CSearchDlg::CloseLargePicture()
{
    if (!m_bLarge)
        return;
    m_bLarge = false;
    m_pLarge->hide();
    m_pList->show();
    m_pSearchCancel->show();
    m_pPrint->show();
    m_pPlayback->setText(ResString(STRING_PLAYBACK));
    m_pPlayback->setEnabled(false);
    m_pSearch->setEnabled(true);
    m_pNext->setEnabled(true);
    m_pBack->setEnabled(true);
    m_pNext->setVisible(m_bNextWasShown);
    m_pBack->setVisible(m_bBackWasShown);
}

bool CSearchDlg::eventFilter(QObject* pWatched, QEvent* pEvent)
{
    if (pWatched == m_pLarge && pEvent->type() == QEvent::MouseButtonPress) {
        CloseLargePicture();
        return true;
    }
    return QWidget::eventFilter(pWatched, pEvent);
}

// ---------------------------------------------------------------------------
// Showing, hiding, keys

// Only the page's own showing and hiding count, not the main window being
// minimised and restored.
void CSearchDlg::showEvent(QShowEvent* pEvent)
{
    QWidget::showEvent(pEvent);
    if (pEvent->spontaneous())
        return;
    m_bPageVisible = true;
    // A playback the viewer did not take up before search mode came back is
    // given up, mark and all.
    if (CVX2200NETApp* pApp = GetApp()) {
        pApp->SetSearchPlayback(0);
        if (CPageHost* pMain = pApp->GetMainWnd())
            pMain->SetSearchPlaybackMark(false);
    }
    ResetFieldsFromClock();
    m_pPrint->show();
    if (!m_bLarge)
        m_pSearchCancel->show();
    ShowNextBack();
}

void CSearchDlg::hideEvent(QHideEvent* pEvent)
{
    QWidget::hideEvent(pEvent);
    if (pEvent->spontaneous())
        return;
    m_bPageVisible = false;
    StopSearch();
    CloseLargePicture();
    m_pPlayback->setText(ResString(STRING_PLAYBACK));
}

void CSearchDlg::keyPressEvent(QKeyEvent* pEvent)
{
    if (pEvent->key() == Qt::Key_Escape) {
        StopSearch();
        pEvent->accept();
        return;
    }
    QWidget::keyPressEvent(pEvent);
}
