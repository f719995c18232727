// The search run of the search results page: one thumbnail per tick, by time
// (the picture at a time, then the interval on from each picture found, with
// steps to a chosen camera) or by block (the recorder's blocks, newest first,
// until the sequence comes round), and paging forward and back.
#include "search/searchdlg.h"

#include "app/vx2200net.h"
#include "image/vximage.h"
#include "link/vx2200ctrl.h"
#include "widgets/waitcursor.h"

#include <QListWidget>
#include <QPixmap>

namespace {

// Picture moves.
constexpr int J_AT_TIME = 0;
constexpr int J_NEXT = 1;
constexpr int J_PREV_BLOCK = 4;
constexpr int J_NEWEST = 6;
// Bytes 5..16 of the information record: YYMMDDhhmmss.
constexpr int INFO_TIME = 5;
constexpr int INFO_CAMERA = 17;
constexpr int CAMERA_COUNT = 16;

int CameraCode(const std::uint8_t* pInfo)
{
    return pInfo[INFO_CAMERA] < CAMERA_COUNT ? pInfo[INFO_CAMERA] : 0;
}

int Digit(char ch)
{
    return ch >= '0' && ch <= '9' ? ch - '0' : -1;
}

// The two digits at nOffset of the digits, or -1.
int Pair(const std::array<char, 12>& digits, int nOffset)
{
    const int nTens = Digit(digits[static_cast<std::size_t>(nOffset)]);
    const int nOnes = Digit(digits[static_cast<std::size_t>(nOffset + 1)]);
    return nTens < 0 || nOnes < 0 ? -1 : nTens * 10 + nOnes;
}

QChar Shown(char ch)
{
    const auto by = static_cast<unsigned char>(ch);
    return QChar(by >= 0x20 && by < 0x7F ? static_cast<char16_t>(by) : u'?');
}

QImage BlankThumb()
{
    QImage image(CSearchDlg::THUMB_WIDTH, CSearchDlg::THUMB_HEIGHT, QImage::Format_RGB888);
    image.fill(Qt::white);
    return image;
}

} // namespace

// ---------------------------------------------------------------------------
// The tick

void CSearchDlg::OnTimer()
{
    if (m_nState != STATE_IDLE) {
        CWaitCursor wait;
        StepSearch();
        // A step that ended the results (most often a fetch that failed, which
        // has waited for the recorder already): the status waits a while.
        if (m_nState == STATE_IDLE && !m_bMore)
            m_nPollPause = POLL_PAUSE_TICKS;
    }
    if (m_bPageVisible)
        PollStatus();
}

void CSearchDlg::StartRun(int nState)
{
    ClearThumbnails();
    m_nState = nState;
    HideNextBack();
}

void CSearchDlg::EndRun(bool bMore)
{
    m_nState = STATE_IDLE;
    m_bMore = bMore;
    ShowNextBack();
}

void CSearchDlg::StopSearch()
{
    if (m_nState != STATE_IDLE)
        EndRun(true);
}

void CSearchDlg::StepSearch()
{
    if (!m_pFrame || !m_pDisplay) {
        EndRun(false);
        return;
    }
    Thumb thumb;
    const bool bOk = m_nSearchMode == SEARCH_TIME ? FetchTimeThumb(thumb) : FetchBlockThumb(thumb);
    if (!bOk) {
        EndRun(false);
        return;
    }
    AddThumbnail(std::move(thumb));
    if (m_nPageCount >= PAGE_SIZE)
        EndRun(true);
}

// ---------------------------------------------------------------------------
// Paging

void CSearchDlg::OnNext()
{
    if (m_nState != STATE_IDLE || m_bLarge || m_nPageCount == 0 || !m_bMore)
        return;
    const Thumb last = GetThumb(m_nPageCount - 1);
    if (m_nSearchMode == SEARCH_TIME) {
        m_nextRequest = std::max(last.time, last.request).addSecs(IntervalSeconds(m_nSearchInterval));
    } else {
        // From the page's last picture; a page left short skips what it misses.
        m_bFromNewest = false;
        m_blockAt.reset();
        m_blockBound = last.time;
        m_nBlockSkip = PAGE_SIZE - m_nPageCount;
    }
    ++m_nPage;
    StartRun(STATE_NEXT);
}

void CSearchDlg::OnBack()
{
    if (m_nState != STATE_IDLE || m_bLarge || m_nPage <= 0
        || static_cast<std::size_t>(m_nPage - 1) >= m_pageStarts.size())
        return;
    --m_nPage;
    const QDateTime start = m_pageStarts[static_cast<std::size_t>(m_nPage)];
    if (m_nSearchMode == SEARCH_TIME) {
        m_nextRequest = start;
    } else {
        m_bFromNewest = false;
        m_blockAt = start;
        m_nBlockSkip = 0;
        m_blockBound.reset();
    }
    StartRun(STATE_BACK);
}

// ---------------------------------------------------------------------------
// Fetching

bool CSearchDlg::Fetch(int nCommand, Info& info)
{
    CVXImage* pImage = Image();
    return Ctrl() && pImage && pImage->FetchPicture(info.data(), m_pFrame.get(), nCommand) != 0;
}

bool CSearchDlg::FetchAt(const QDateTime& time, Info& info)
{
    CVXImage* pImage = Image();
    if (!Ctrl() || !pImage || !time.isValid())
        return false;
    const QDate d = time.date();
    const QTime t = time.time();
    return pImage->FetchPicture(info.data(), m_pFrame.get(), J_AT_TIME, d.year() - 2000, d.month(), d.day(), t.hour(),
                                t.minute(), t.second())
           != 0;
}

// Steps on (J1) until the picture is one of camera nCamera, at most
// MAX_CAMERA_STEPS times; info and the frame then hold the last picture
// stepped to. A failed step ends the steps.
CSearchDlg::StepResult CSearchDlg::StepToCamera(int nCamera, Info& info)
{
    for (int i = 0; i < MAX_CAMERA_STEPS && CameraCode(info.data()) != nCamera - 1; ++i) {
        if (!Fetch(J_NEXT, info))
            return STEP_FAILED;
    }
    return CameraCode(info.data()) == nCamera - 1 ? STEP_MATCHED : STEP_NONE;
}

bool CSearchDlg::ReadThumbTime(const Info& info, Thumb& thumb) const
{
    std::copy_n(reinterpret_cast<const char*>(info.data()) + INFO_TIME, thumb.digits.size(), thumb.digits.begin());
    const int nYear = Pair(thumb.digits, 0);
    const QDate date(2000 + nYear, Pair(thumb.digits, 2), Pair(thumb.digits, 4));
    const QTime time(Pair(thumb.digits, 6), Pair(thumb.digits, 8), Pair(thumb.digits, 10));
    thumb.time = QDateTime(date, time, Qt::UTC);
    thumb.nCamera = CameraCode(info.data());
    return nYear >= 0 && date.isValid() && time.isValid();
}

// The picture at the time searched for, stepped on to the chosen camera. A
// thumbnail without its camera keeps the time of the picture at the time, and
// the next one is searched from there.
bool CSearchDlg::FetchTimeThumb(Thumb& thumb)
{
    const QDateTime request = m_nextRequest;
    Info info {};
    if (!FetchAt(request, info) || !ReadThumbTime(info, thumb))
        return false;
    thumb.request = request;
    thumb.bFound = 1;
    if (m_nSearchCamera > 0 && thumb.nCamera != m_nSearchCamera - 1) {
        Info stepped = info;
        switch (StepToCamera(m_nSearchCamera, stepped)) {
        case STEP_FAILED: return false;
        case STEP_NONE: thumb.bFound = 0; break;
        case STEP_MATCHED: {
            Thumb matched;
            if (!ReadThumbTime(stepped, matched))
                return false;
            matched.request = request;
            matched.bFound = 1;
            thumb = matched;
            break;
        }
        }
    }
    // Never behind the time searched for, so a recorder that answers with an
    // earlier picture cannot hold the search in place.
    m_nextRequest = std::max(thumb.time, request).addSecs(IntervalSeconds(m_nSearchInterval));
    return true;
}

bool CSearchDlg::FetchBlockPicture(Info& info)
{
    CVX2200Ctrl* pCtrl = Ctrl();
    if (!pCtrl)
        return false;
    if (m_bFromNewest) {
        m_bFromNewest = false;
        return pCtrl->PictureStep(J_NEWEST) == CVX2200Ctrl::STATUS_OK && Fetch(J_PREV_BLOCK, info);
    }
    if (m_blockAt) {
        const QDateTime at = *m_blockAt;
        m_blockAt.reset();
        return FetchAt(at, info);
    }
    if (m_nState == STATE_NEXT && m_nPageCount == 0 && m_blockBound) {
        // The recorder may stand elsewhere (a large picture was opened): back
        // to the last picture of the page before, then past what it missed.
        const QDate d = m_blockBound->date();
        const QTime t = m_blockBound->time();
        if (pCtrl->PictureAtTime(d.year() - 2000, d.month(), d.day(), t.hour(), t.minute(), t.second())
            != CVX2200Ctrl::STATUS_OK)
            return false;
        for (; m_nBlockSkip > 0; --m_nBlockSkip) {
            if (pCtrl->PictureStep(J_PREV_BLOCK) != CVX2200Ctrl::STATUS_OK)
                return false;
        }
    }
    return Fetch(J_PREV_BLOCK, info);
}

// Blocks newest first: each picture must be older than every one met in this
// run, else the sequence has come round and the search ends.
bool CSearchDlg::FetchBlockThumb(Thumb& thumb)
{
    Info info {};
    if (!FetchBlockPicture(info) || !ReadThumbTime(info, thumb))
        return false;
    if (m_blockBound && thumb.time >= *m_blockBound)
        return false;
    m_blockBound = thumb.time;
    thumb.bFound = 1;
    thumb.request = thumb.time;
    return true;
}

// ---------------------------------------------------------------------------
// Thumbnails

QString CSearchDlg::ThumbLabel(const std::array<char, 12>& digits, int nCamera, bool bFound, int nLanguage)
{
    auto pair = [&digits](int n) { return QString(Shown(digits[n])) + Shown(digits[n + 1]); };
    const QString strClock = pair(6) + ':' + pair(8) + ':' + pair(10);
    QString strLabel;
    if (nLanguage == static_cast<int>(Language::English))
        strLabel = pair(2) + '/' + pair(4) + QStringLiteral("/20") + pair(0) + QStringLiteral("  ") + strClock;
    else
        strLabel = QStringLiteral("20") + pair(0) + '/' + pair(2) + '/' + pair(4) + QStringLiteral("  ") + strClock;
    if (bFound)
        strLabel += QStringLiteral(" Camera No.%1").arg(std::clamp(nCamera, 0, CAMERA_COUNT - 1) + 1);
    return strLabel;
}

// The display area of the frame fetched last, as a thumbnail.
QImage CSearchDlg::ScaledDisplay() const
{
    CVXImage::CropVisible(m_pDisplay.get(), m_pFrame.get());
    const QImage view(m_pDisplay.get(), CVXImage::DISPLAY_WIDTH, CVXImage::DISPLAY_HEIGHT,
                      CVXImage::DISPLAY_WIDTH * 3, QImage::Format_BGR888);
    return view.scaled(THUMB_WIDTH, THUMB_HEIGHT, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

// nopicture.jpg of the program folder decoded into the frame.
bool CSearchDlg::LoadNoPicture()
{
    CVXImage* pImage = Image();
    const CVX2200NETApp* pApp = GetApp();
    if (!pImage || !pApp || pApp->GetProgDir().empty())
        return false;
    int nWidth = 0;
    int nHeight = 0;
    return pImage->LoadPictureFile(pApp->GetProgDir() + NO_PICTURE_FILE, m_pFrame.get(), nWidth, nHeight) != 0
           && nWidth == CVXImage::FRAME_WIDTH && nHeight == CVXImage::FRAME_HEIGHT;
}

// nopicture.jpg scaled from its whole 720 x 248 to a thumbnail, read once a
// search; null when it is missing or does not decode.
QImage CSearchDlg::NoPictureThumb()
{
    if (!m_bNoPictureTried) {
        m_bNoPictureTried = true;
        m_noPicture = QImage();
        if (LoadNoPicture()) {
            const QImage view(m_pFrame.get(), CVXImage::FRAME_WIDTH, CVXImage::FRAME_HEIGHT,
                              CVXImage::FRAME_WIDTH * 3, QImage::Format_BGR888);
            m_noPicture = view.scaled(THUMB_WIDTH, THUMB_HEIGHT, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        }
    }
    return m_noPicture;
}

void CSearchDlg::AddThumbnail(Thumb thumb)
{
    if (m_nPageCount >= PAGE_SIZE)
        return;
    thumb.image = thumb.bFound ? ScaledDisplay() : NoPictureThumb();
    const QString strLabel = ThumbLabel(thumb.digits, thumb.nCamera, thumb.bFound != 0, UiLanguage());
    const QPixmap icon = QPixmap::fromImage(thumb.image.isNull() ? BlankThumb() : thumb.image);
    auto* pItem = new QListWidgetItem(QIcon(icon), strLabel);
    pItem->setTextAlignment(Qt::AlignHCenter | Qt::AlignTop);
    m_pList->addItem(pItem);
    if (m_nPageCount == 0) {
        m_pageStarts.resize(static_cast<std::size_t>(m_nPage) + 1);
        m_pageStarts[static_cast<std::size_t>(m_nPage)] = m_nSearchMode == SEARCH_TIME ? thumb.request : thumb.time;
    }
    m_thumbs[static_cast<std::size_t>(m_nPageCount)] = std::move(thumb);
    ++m_nPageCount;
    m_nTotalCount = m_nPage * PAGE_SIZE + m_nPageCount;
    m_pList->viewport()->update();
}

void CSearchDlg::ClearThumbnails()
{
    m_pList->clear();
    for (Thumb& thumb : m_thumbs)
        thumb = Thumb {};
    m_nPageCount = 0;
}
