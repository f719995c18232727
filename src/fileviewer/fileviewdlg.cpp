// The PC File Viewer page: its controls, start-up, showing and hiding, and the
// timer. The selectors are in fileviewselect.cpp, the search and the
// thumbnails in fileviewsearch.cpp, the picture view, playback, printing and
// deletion in fileviewplay.cpp.
#include "fileviewer/fileviewdlg.h"

#include "app/vx2200net.h"
#include "image/vximage.h"
#include "store/filedbase.h"
#include "widgets/resstring.h"

#include <QComboBox>
#include <QDateEdit>
#include <QEvent>
#include <QGroupBox>
#include <QHideEvent>
#include <QLabel>
#include <QListWidget>
#include <QLocale>
#include <QMouseEvent>
#include <QPushButton>
#include <QShowEvent>
#include <QTimer>

#include <new>

namespace {

// Page layout: the thumbnail list (and the picture area over it) at the top
// left, the path and status lines below it, the selectors and the buttons on
// the right.
constexpr int MARGIN = 8;
constexpr int RIGHT_X = MARGIN + CFileViewDlg::AREA_WIDTH + 12;
constexpr int RIGHT_WIDTH = 236;
constexpr int LABEL_HEIGHT = 20;
constexpr int FIELD_HEIGHT = 28;
constexpr int TIME_WIDTH = 72;
constexpr int TIME_GAP = 10;
// Each thumbnail's cell in the list: the picture and two lines of caption.
const QSize THUMB_GRID(110, 112);

const QDate FIRST_DATE(2004, 1, 1);
const QDate LAST_DATE(2038, 1, 18);

QString Id(int nId)
{
    return QStringLiteral("id%1").arg(nId);
}

std::unique_ptr<std::uint8_t[]> Allocate(std::size_t nBytes)
{
    return std::unique_ptr<std::uint8_t[]>(new (std::nothrow) std::uint8_t[nBytes]());
}

QLabel* MakeLabel(QWidget* pParent, const QString& strText, const QRect& rect)
{
    auto* pLabel = new QLabel(strText, pParent);
    pLabel->setGeometry(rect);
    return pLabel;
}

} // namespace

// The page's start-up: the controls, the event list, the drawing, the
// database file when it is missing, the selectors and the timer.
CFileViewDlg::CFileViewDlg(QWidget* pParent) : QWidget(pParent)
{
    setObjectName(QStringLiteral("id163"));
    m_thumbnails.assign(static_cast<std::size_t>(MAX_THUMBNAIL) * CThumbnailMaker::BYTES, 0);
    BuildControls();
    m_pTimer = new QTimer(this);
    connect(m_pTimer, &QTimer::timeout, this, &CFileViewDlg::OnTimer);
    FillEventList();
    ResetPictureView();

    m_pDisplayFrame = Allocate(CVXImage::FRAME_BYTES);
    m_pWorkFrame = Allocate(CVXImage::FRAME_BYTES);
    m_pDisplayPicture = Allocate(CVXImage::DISPLAY_BYTES);
    if (!m_pDisplayFrame || !m_pWorkFrame || !m_pDisplayPicture
        || m_bmp.Create(m_pPicture, PICTURE_WIDTH, PICTURE_HEIGHT, CBmpUty::MODE_24BIT) != 0)
        return;
    m_bInitialised = true;
    ConnectControls();

    m_date = QDateTime::currentDateTime();
    m_nHour = m_date.time().hour();
    m_nMinute = m_date.time().minute();
    m_nSecond = 0;
    {
        const QSignalBlocker block(m_pDate);
        m_pDate->setDate(m_date.date());
    }
    CreateDatabaseIfMissing();
    RefreshSelectors(true, false);

    const CVX2200NETApp* pApp = GetApp();
    m_nTimerPeriod = pApp ? pApp->GetUpdateTime() : CVX2200NETApp::DEFAULT_UPDATE_TIME;
    m_pTimer->setInterval(m_nTimerPeriod);
    StartTimer();
}

CFileViewDlg::~CFileViewDlg()
{
    StopTimer();
    m_bmp.Release();
}

// ---------------------------------------------------------------------------
// Controls

void CFileViewDlg::BuildControls()
{
    m_pList = new QListWidget(this);
    m_pList->setObjectName(Id(IDC_LIST));
    m_pList->setGeometry(MARGIN, MARGIN, AREA_WIDTH, AREA_HEIGHT);
    m_pList->setViewMode(QListView::IconMode);
    m_pList->setIconSize(QSize(CThumbnailMaker::WIDTH, CThumbnailMaker::HEIGHT));
    m_pList->setGridSize(THUMB_GRID);
    m_pList->setMovement(QListView::Static);
    m_pList->setResizeMode(QListView::Adjust);
    m_pList->setFlow(QListView::LeftToRight);
    m_pList->setWrapping(true);
    m_pList->setWordWrap(true);
    m_pList->setUniformItemSizes(true);
    m_pList->setSelectionMode(QAbstractItemView::SingleSelection);

    m_pPicture = new QWidget(this);
    m_pPicture->setObjectName(Id(IDC_PICTURE));
    m_pPicture->setAttribute(Qt::WA_OpaquePaintEvent);
    m_pPicture->setGeometry(MARGIN, MARGIN, AREA_WIDTH, AREA_HEIGHT);
    m_pPicture->installEventFilter(this);
    m_pPicture->hide();
    m_pPicture->setEnabled(false);

    const int nLineY = MARGIN + AREA_HEIGHT + 10;
    MakeLabel(this, LangText("Path :", "パス :"), QRect(MARGIN, nLineY, 48, LABEL_HEIGHT));
    m_pPathLine = MakeLabel(this, QString(), QRect(MARGIN + 52, nLineY, AREA_WIDTH - 52, LABEL_HEIGHT));
    m_pPathLine->setObjectName(Id(IDC_PATH));
    m_pPathLine->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_pStatus = MakeLabel(this, QString(), QRect(MARGIN, nLineY + 28, AREA_WIDTH, LABEL_HEIGHT));
    m_pStatus->setObjectName(Id(IDC_STATUS));

    BuildSelectors();
    BuildButtons();
}

QComboBox* CFileViewDlg::MakeList(int nId, const QRect& rect)
{
    auto* pList = new QComboBox(this);
    pList->setObjectName(Id(nId));
    pList->setGeometry(rect);
    pList->setInsertPolicy(QComboBox::NoInsert);
    return pList;
}

void CFileViewDlg::BuildSelectors()
{
    int y = MARGIN;
    MakeLabel(this, LangText("Event Name", "イベント名"), QRect(RIGHT_X, y, RIGHT_WIDTH, LABEL_HEIGHT));
    m_pEvent = MakeList(IDC_EVENT, QRect(RIGHT_X, y + LABEL_HEIGHT, RIGHT_WIDTH, FIELD_HEIGHT));
    y += 58;
    MakeLabel(this, LangText("Camera", "カメラ"), QRect(RIGHT_X, y, RIGHT_WIDTH, LABEL_HEIGHT));
    m_pCamera = MakeList(IDC_CAMERA, QRect(RIGHT_X, y + LABEL_HEIGHT, RIGHT_WIDTH, FIELD_HEIGHT));
    y += 58;
    MakeLabel(this, LangText("Date", "日付"), QRect(RIGHT_X, y, RIGHT_WIDTH, LABEL_HEIGHT));
    m_pDate = new QDateEdit(this);
    m_pDate->setObjectName(Id(IDC_DATE));
    m_pDate->setGeometry(RIGHT_X, y + LABEL_HEIGHT, RIGHT_WIDTH, FIELD_HEIGHT);
    m_pDate->setCalendarPopup(true);
    m_pDate->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    const QLocale locale(UiLanguage() == 1 ? QLocale::English : QLocale::Japanese,
                         UiLanguage() == 1 ? QLocale::UnitedStates : QLocale::Japan);
    m_pDate->setLocale(locale);
    m_pDate->setDisplayFormat(locale.dateFormat(QLocale::LongFormat));
    m_pDate->setDateRange(FIRST_DATE, LAST_DATE);
    y += 58;
    MakeLabel(this, LangText("Time", "時刻"), QRect(RIGHT_X, y, RIGHT_WIDTH, LABEL_HEIGHT));
    y += LABEL_HEIGHT;
    const char* const units[][2] = {{"H", "時"}, {"M", "分"}, {"S", "秒"}};
    QComboBox** lists[] = {&m_pHour, &m_pMinute, &m_pSecond};
    const int ids[] = {IDC_HOUR, IDC_MINUTE, IDC_SECOND};
    for (int i = 0; i < 3; ++i) {
        const int x = RIGHT_X + i * (TIME_WIDTH + TIME_GAP);
        *lists[i] = MakeList(ids[i], QRect(x, y, TIME_WIDTH - 18, FIELD_HEIGHT));
        MakeLabel(this, LangText(units[i][0], units[i][1]), QRect(x + TIME_WIDTH - 16, y, 16, FIELD_HEIGHT));
    }
}

QPushButton* CFileViewDlg::MakeButton(QWidget* pParent, int nId, const QString& strCaption, const QRect& rect)
{
    auto* pButton = new QPushButton(strCaption, pParent);
    pButton->setObjectName(Id(nId));
    pButton->setAutoDefault(false);
    pButton->setGeometry(rect);
    return pButton;
}

void CFileViewDlg::BuildButtons()
{
    auto* pControl = new QGroupBox(LangText("Control", "操作"), this);
    pControl->setGeometry(RIGHT_X, 256, RIGHT_WIDTH, 150);
    const int nWidth = (RIGHT_WIDTH - 30) / 2;
    m_pSearch = MakeButton(pControl, IDC_SEARCH, LangText("Search", "検索"), QRect(10, 26, nWidth, 50));
    m_pPlayback = MakeButton(pControl, IDC_PLAYBACK, ResString(STRING_PLAYBACK), QRect(20 + nWidth, 26, nWidth, 50));
    m_pDelete = MakeButton(pControl, IDC_DELETE, LangText("Delete", "削除"), QRect(10, 88, nWidth, 50));
    m_pPrint = MakeButton(pControl, IDC_PRINT, LangText("Print", "印刷"), QRect(20 + nWidth, 88, nWidth, 50));
}

void CFileViewDlg::ConnectControls()
{
    connect(m_pEvent, &QComboBox::activated, this, [this] { OnEventChange(); });
    connect(m_pCamera, &QComboBox::activated, this, &CFileViewDlg::OnCameraChange);
    connect(m_pDate, &QDateEdit::dateChanged, this, [this] { OnDateChange(); });
    connect(m_pHour, &QComboBox::activated, this, [this] { OnHourChange(); });
    connect(m_pMinute, &QComboBox::activated, this, [this] { OnMinuteChange(); });
    connect(m_pSecond, &QComboBox::activated, this, &CFileViewDlg::OnSecondChange);
    connect(m_pSearch, &QPushButton::clicked, this, &CFileViewDlg::Search);
    connect(m_pPlayback, &QPushButton::clicked, this, &CFileViewDlg::OnPlayback);
    connect(m_pDelete, &QPushButton::clicked, this, &CFileViewDlg::DeleteEvent);
    connect(m_pPrint, &QPushButton::clicked, this, &CFileViewDlg::OnPrint);
    connect(m_pList, &QListWidget::itemClicked, this,
            [this](QListWidgetItem* pItem) { OnThumbnailClick(m_pList->row(pItem)); });
    connect(m_pList, &QListWidget::itemDoubleClicked, this, [this] { OpenPictureView(); });
}

// A click in the picture area leaves the picture view.
bool CFileViewDlg::eventFilter(QObject* pWatched, QEvent* pEvent)
{
    if (pWatched == m_pPicture && pEvent->type() == QEvent::MouseButtonRelease
        && static_cast<QMouseEvent*>(pEvent)->button() == Qt::LeftButton && m_pPicture->isEnabled()) {
        ClosePictureView();
        return true;
    }
    return QWidget::eventFilter(pWatched, pEvent);
}

// Not playing, not paused, no current picture; Playback disabled, Print
// enabled, the status line empty.
void CFileViewDlg::ResetPictureView()
{
    m_bPlaying = false;
    m_bPaused = false;
    m_bFirstStep = false;
    m_bPictureMode = false;
    m_strCurrent.clear();
    m_strNext.clear();
    SetPlaybackCaption(STRING_PLAYBACK);
    m_pPlayback->setEnabled(false);
    m_pPrint->setEnabled(true);
    m_pStatus->clear();
}

void CFileViewDlg::CreateDatabaseIfMissing()
{
    CFileDBase* pDB = FileDB();
    if (!pDB || pDB->Exists())
        return;
    // The load fails and empties the table; the save writes it: 131,584 zero bytes.
    pDB->Load();
    pDB->Save();
}

// ---------------------------------------------------------------------------
// Showing, hiding and the timer

// Only the page's own showing and hiding count (changing tabs), not the main
// window being minimised and restored.
void CFileViewDlg::showEvent(QShowEvent* pEvent)
{
    QWidget::showEvent(pEvent);
    if (!pEvent->spontaneous())
        OnShowWindow(true);
}

void CFileViewDlg::hideEvent(QHideEvent* pEvent)
{
    QWidget::hideEvent(pEvent);
    if (!pEvent->spontaneous())
        OnShowWindow(false);
}

void CFileViewDlg::OnShowWindow(bool bShown)
{
    if (!m_bInitialised)
        return;
    m_pPrint->setEnabled(true);
    if (!m_bPlaying) {
        if (m_bPictureMode) {
            m_pPlayback->setEnabled(true);
        } else {
            m_pPlayback->setEnabled(false);
            m_pSearch->setEnabled(true);
        }
    } else if (!bShown) {
        // Leaving the page ends playback and the picture view; Search and
        // Delete keep their state.
        m_bPictureMode = false;
        m_bPlaying = false;
        m_bPaused = false;
        SetPlaybackCaption(STRING_PLAYBACK);
        m_pPlayback->setEnabled(false);
        ShowPictureArea(false);
    }
    if (bShown) {
        FillEventList();
        RefreshSelectors(false, false);
        StartTimer();
    } else {
        StopTimer();
    }
}

void CFileViewDlg::StartTimer()
{
    if (m_bTimerOn)
        return;
    m_pTimer->start();
    m_bTimerOn = true;
}

void CFileViewDlg::StopTimer()
{
    m_pTimer->stop();
    m_bTimerOn = false;
}

void CFileViewDlg::OnTimer()
{
    ApplyDeleteRule();
    PlaybackStep();
}

// Delete is offered when there is an event to delete and the picture view is
// not open.
void CFileViewDlg::ApplyDeleteRule()
{
    const bool bNoEvent = m_pEvent->count() == 1 && m_pEvent->itemText(0) == QLatin1String(NO_EVENT);
    m_pDelete->setEnabled(!bNoEvent && !m_bPictureMode);
}

// ---------------------------------------------------------------------------
// Accessors and services

QString CFileViewDlg::GetStatus() const
{
    return m_pStatus->text();
}

QString CFileViewDlg::GetPathText() const
{
    return m_pPathLine->text();
}

int CFileViewDlg::UiLanguage() const
{
    const CVX2200NETApp* pApp = GetApp();
    return pApp ? pApp->GetLanguage() : static_cast<int>(CStringTable::CurrentLanguage());
}

CFileDBase* CFileViewDlg::FileDB() const
{
    const CVX2200NETApp* pApp = GetApp();
    return pApp ? pApp->GetFileDB() : nullptr;
}

CVXImage* CFileViewDlg::Image() const
{
    const CVX2200NETApp* pApp = GetApp();
    return pApp ? pApp->GetImage() : nullptr;
}
