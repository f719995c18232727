// The DVR Viewer page: its controls, the camera and split selection, the cells
// and the drawing of the picture area, the buttons beside the play keys, and
// showing and hiding. The play side is in viewerplay.cpp.
#include "viewer/viewerdlg.h"

#include "widgets/resstring.h"
#include "app/vx2200net.h"
#include "app/pagehost.h"
#include "image/vximage.h"
#include "link/vx2200ctrl.h"
#include "viewer/allviewerdlg.h"
#include "widgets/bitmapbutton.h"
#include "widgets/colorbtn.h"
#include "widgets/keyartwork.h"

#include <QFrame>
#include <QGroupBox>
#include <QHideEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QShowEvent>
#include <QTimer>

#include <algorithm>
#include <new>

namespace {

const QColor FACE_SELECTED(255, 255, 0);
const QColor FACE_NORMAL(0, 255, 0);
const QColor TEXT_COLOUR(1, 1, 1);
const QColor DISABLED_COLOUR(192, 192, 192);
constexpr int BEVEL = 2;


// Cells in picture coordinates, per split: the left and right edges of the
// columns and the top and bottom edges of the rows; the cells stay clear of the
// grid lines.
struct Span {
    int nFrom;
    int nTo;
};
constexpr Span kColumns[4][4] = {
    {{1, 691}},
    {{1, 346}, {348, 691}},
    {{1, 230}, {231, 460}, {463, 692}},
    {{1, 172}, {174, 345}, {347, 517}, {519, 690}},
};
constexpr Span kRows[4][4] = {
    {{1, 232}},
    {{1, 116}, {116, 231}},
    {{1, 77}, {77, 154}, {154, 231}},
    {{1, 58}, {58, 115}, {115, 173}, {173, 231}},
};

// The key mode that lights each of the five keys with a lit look.
struct LitKey {
    int nId;
    int nMode;
};
constexpr LitKey kLitKeys[] = {
    {CViewerDlg::IDC_STOP, CViewerDlg::KEY_STOP},   {CViewerDlg::IDC_PLAY, CViewerDlg::KEY_PLAY},
    {CViewerDlg::IDC_RPLAY, CViewerDlg::KEY_RPLAY}, {CViewerDlg::IDC_PAUSE, CViewerDlg::KEY_STILL},
    {CViewerDlg::IDC_REC, CViewerDlg::KEY_SAVING},
};

int LitModeOf(int nId)
{
    for (const LitKey& key : kLitKeys) {
        if (key.nId == nId)
            return key.nMode;
    }
    return -1;
}

// Page layout: the picture area at the top left, the time line and the keys
// below it, the selection and the other buttons on the right.
constexpr int MARGIN = 8;
constexpr int RIGHT_X = MARGIN + CViewerDlg::AREA_WIDTH + 12;
constexpr int RIGHT_WIDTH = 236;
constexpr int KEYS_Y = 532;
constexpr int KEY_GAP = 4;
constexpr int KEY_GROUP_GAP = 12; // between the play keys and the step keys

std::unique_ptr<std::uint8_t[]> AllocatePicture()
{
    return std::unique_ptr<std::uint8_t[]>(new (std::nothrow) std::uint8_t[CVXImage::FRAME_BYTES]());
}

QString Id(int nId)
{
    return QStringLiteral("id%1").arg(nId);
}

} // namespace

CViewerDlg::CViewerDlg(QWidget* pParent) : QWidget(pParent)
{
    setObjectName(QStringLiteral("id137"));
    m_bInitialised = AllocateBuffers();
    BuildControls();
    ConnectKeys();
    m_pPrint->setEnabled(false);
    m_pSpeed->hide();
    m_pTimer = new QTimer(this);
    m_pTimer->setTimerType(Qt::PreciseTimer);
    m_pTimer->setInterval(TIMER_PERIOD_MS);
    connect(m_pTimer, &QTimer::timeout, this, &CViewerDlg::OnTimer);
    if (!m_bInitialised)
        return;
    CreateDrawing();
    SetView(1, 1);
    SetDisplayMode(DISP_REAL_TIME);
    UpdateKeyImages(KEY_STOP);
    m_pTimer->start();
}

CViewerDlg::~CViewerDlg()
{
    m_pTimer->stop();
    m_bmp.RemoveBrush(m_nWhiteBrush);
    m_bmp.RemovePen(m_nBlackPen);
    m_bmp.RemovePen(m_nGreyPen);
    m_bmp.Release();
}

bool CViewerDlg::AllocateBuffers()
{
    m_pFrame = AllocatePicture();
    m_pSpareFrame = AllocatePicture();
    bool bOk = m_pFrame && m_pSpareFrame;
    for (Slot& slot : m_slots) {
        slot.pPicture = AllocatePicture();
        bOk = bOk && slot.pPicture;
    }
    return bOk;
}

// ---------------------------------------------------------------------------
// Controls

void CViewerDlg::BuildControls()
{
    auto* pFrame = new QFrame(this);
    pFrame->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    pFrame->setGeometry(MARGIN - 2, MARGIN - 2, AREA_WIDTH + 4, AREA_HEIGHT + 4);
    m_pPicture = new QWidget(this);
    m_pPicture->setObjectName(Id(IDC_PICTURE));
    m_pPicture->setAttribute(Qt::WA_OpaquePaintEvent);
    m_pPicture->setGeometry(MARGIN, MARGIN, AREA_WIDTH, AREA_HEIGHT);

    auto* pImageData = new QGroupBox(LangText("Image Data", "画像データ"), this);
    pImageData->setGeometry(MARGIN, MARGIN + AREA_HEIGHT + 6, AREA_WIDTH, 50);
    m_pTime = new QLineEdit(pImageData);
    m_pTime->setObjectName(Id(IDC_TIME));
    m_pTime->setReadOnly(true);
    m_pTime->setFocusPolicy(Qt::NoFocus);
    m_pTime->setMaxLength(MAX_TIME_TEXT);
    m_pTime->setGeometry(10, 18, 300, 24);
    m_pSpeed = new QLabel(pImageData);
    m_pSpeed->setObjectName(Id(IDC_SPEED));
    m_pSpeed->setGeometry(330, 18, 260, 24);

    BuildSelection();
    BuildKeys();
    BuildButtons();
}

CColorButton* CViewerDlg::MakeColorButton(QWidget* pParent, int nId, const QString& strCaption, const QRect& rect)
{
    auto* pButton = new CColorButton(pParent);
    pButton->setObjectName(Id(nId));
    pButton->setText(strCaption);
    pButton->setAutoDefault(false);
    pButton->setFocusPolicy(Qt::NoFocus);
    pButton->setGeometry(rect);
    pButton->Attach(nId, pParent, FACE_NORMAL, TEXT_COLOUR, DISABLED_COLOUR, BEVEL);
    return pButton;
}

QPushButton* CViewerDlg::MakeButton(QWidget* pParent, int nId, const QString& strCaption, const QRect& rect)
{
    auto* pButton = new QPushButton(strCaption, pParent);
    pButton->setObjectName(Id(nId));
    pButton->setAutoDefault(false);
    pButton->setGeometry(rect);
    return pButton;
}

void CViewerDlg::BuildSelection()
{
    auto* pDivision = new QGroupBox(LangText("Division", "分割"), this);
    pDivision->setGeometry(RIGHT_X, 2, RIGHT_WIDTH, 62);
    const char* const captions[] = {"1", "4", "9", "16"};
    for (int i = 0; i < 4; ++i)
        m_pDivision[i] = MakeColorButton(pDivision, DIVISION_IDS[i], captions[i], QRect(10 + i * 55, 22, 50, 30));

    auto* pCamera = new QGroupBox(LangText("Camera", "カメラ"), this);
    pCamera->setGeometry(RIGHT_X, 70, RIGHT_WIDTH, 196);
    for (int k = 0; k < CAMERA_COUNT; ++k) {
        const QRect rect(10 + (k % 4) * 55, 22 + (k / 4) * 34, 50, 30);
        m_pCameraButton[k] = MakeColorButton(pCamera, CAMERA_IDS[k], QString::number(k + 1), rect);
    }
    m_pAll = MakeColorButton(pCamera, IDC_ALL, LangText("All", "全て"), QRect(10, 158, 215, 30));

    auto* pMode = new QGroupBox(LangText("Display Mode", "表示モード"), this);
    pMode->setGeometry(RIGHT_X, 272, RIGHT_WIDTH, 56);
    m_pRealTime = new QRadioButton(LangText("Real Time", "リアルタイム"), pMode);
    m_pRealTime->setObjectName(Id(IDC_REAL_TIME));
    m_pRealTime->setGeometry(12, 24, 108, 24);
    m_pTimeLag = new QRadioButton(LangText("Time Lag", "タイムラグ"), pMode);
    m_pTimeLag->setObjectName(Id(IDC_TIME_LAG));
    m_pTimeLag->setGeometry(124, 24, 108, 24);
}

void CViewerDlg::BuildKeys()
{
    const int nLanguage = UiLanguage();
    int x = MARGIN;
    std::size_t i = 0;
    for (const CKeyArtwork::Key& key : CKeyArtwork::Keys()) {
        auto* pKey = new CBitmapButton(this);
        pKey->setObjectName(Id(key.nId));
        pKey->LoadBitmaps(key.nNormal, key.nPressed, key.nDisabled, nLanguage);
        pKey->setGeometry(x, KEYS_Y, CKeyArtwork::KEY_WIDTH, CKeyArtwork::KEY_HEIGHT);
        x += CKeyArtwork::KEY_WIDTH + (key.nId == IDC_STOP ? KEY_GROUP_GAP : KEY_GAP);
        m_pKey[i++] = pKey;
    }
    m_pLastImage = MakeButton(this, IDC_LAST_IMAGE, LangText("Last Image", "最新画像"),
                              QRect(x + KEY_GROUP_GAP - KEY_GAP, KEYS_Y + 6, 100, 32));
}

void CViewerDlg::BuildButtons()
{
    m_pFullScreen = MakeButton(this, IDC_FULL_SCREEN, LangText("Full Screen", "全画面"),
                               QRect(RIGHT_X, 342, RIGHT_WIDTH, 34));
    m_pSearch = MakeButton(this, IDC_SEARCH, LangText("Search", "検索"), QRect(RIGHT_X, 384, RIGHT_WIDTH, 34));
    m_pPrint = MakeButton(this, IDC_PRINT, LangText("Print", "印刷"), QRect(RIGHT_X, 426, RIGHT_WIDTH, 34));
}

void CViewerDlg::ConnectKeys()
{
    for (int i = 0; i < 4; ++i)
        connect(m_pDivision[i], &QPushButton::clicked, this, [this, i] { OnDivision(i + 1); });
    for (int k = 0; k < CAMERA_COUNT; ++k)
        connect(m_pCameraButton[k], &QPushButton::clicked, this, [this, k] { OnCamera(k + 1); });
    connect(m_pAll, &QPushButton::clicked, this, &CViewerDlg::OnAll);
    connect(m_pRealTime, &QRadioButton::clicked, this, &CViewerDlg::OnRealTime);
    connect(m_pTimeLag, &QRadioButton::clicked, this, &CViewerDlg::OnTimeLag);

    struct Handler {
        int nId;
        void (CViewerDlg::*fn)();
    };
    static constexpr Handler kHandlers[] = {
        {IDC_REC, &CViewerDlg::OnRec},     {IDC_PLAY, &CViewerDlg::OnPlay},   {IDC_RPLAY, &CViewerDlg::OnRPlay},
        {IDC_STOP, &CViewerDlg::OnStop},   {IDC_REV, &CViewerDlg::OnRev},     {IDC_RSTEP, &CViewerDlg::OnRStep},
        {IDC_PAUSE, &CViewerDlg::OnPause}, {IDC_STEP, &CViewerDlg::OnStep},   {IDC_BLOCK, &CViewerDlg::OnBlock},
    };
    for (const Handler& handler : kHandlers)
        connect(KeyButton(handler.nId), &QAbstractButton::clicked, this, handler.fn);
    connect(m_pLastImage, &QPushButton::clicked, this, &CViewerDlg::OnLastImage);
    connect(m_pFullScreen, &QPushButton::clicked, this, &CViewerDlg::OnFullScreen);
    connect(m_pSearch, &QPushButton::clicked, this, &CViewerDlg::OnSearch);
    connect(m_pPrint, &QPushButton::clicked, this, &CViewerDlg::OnPrint);
}

CBitmapButton* CViewerDlg::KeyButton(int nId) const
{
    const auto keys = CKeyArtwork::Keys();
    for (std::size_t i = 0; i < keys.size() && i < m_pKey.size(); ++i) {
        if (keys[i].nId == nId)
            return m_pKey[i];
    }
    return nullptr;
}

void CViewerDlg::CreateDrawing()
{
    m_bmp.Create(m_pPicture, PICTURE_WIDTH, PICTURE_HEIGHT, CBmpUty::MODE_24BIT);
    m_nGreyPen = m_bmp.AddPen(CBmpUty::PS_SOLID, 3, 180, 180, 180);
    m_nBlackPen = m_bmp.AddPen(CBmpUty::PS_SOLID, 1, 0, 0, 0);
    m_nWhiteBrush = m_bmp.AddBrush(CBmpUty::HS_SOLID, 255, 255, 255);
}

int CViewerDlg::UiLanguage() const
{
    const CVX2200NETApp* pApp = GetApp();
    return pApp ? pApp->GetLanguage() : static_cast<int>(Language::English);
}

CVX2200Ctrl* CViewerDlg::Ctrl() const
{
    const CVX2200NETApp* pApp = GetApp();
    return pApp ? pApp->GetCtrl() : nullptr;
}

CVXImage* CViewerDlg::Image() const
{
    const CVX2200NETApp* pApp = GetApp();
    return pApp ? pApp->GetImage() : nullptr;
}

// ---------------------------------------------------------------------------
// Selection and drawing

void CViewerDlg::SetView(int nCamera, int nSplit)
{
    m_nCamera = std::clamp(nCamera, 1, CAMERA_COUNT);
    m_nSplit = std::clamp(nSplit, 1, 4);
    m_bAllCamera = 0;
    ColourSelection();
    ClearPictureFlags();
    PaintPicture();
}

void CViewerDlg::ColourSelection()
{
    m_pAll->SetColor(FACE_NORMAL, TEXT_COLOUR, DISABLED_COLOUR, BEVEL);
    for (int i = 0; i < 4; ++i)
        m_pDivision[i]->SetColor(i + 1 == m_nSplit ? FACE_SELECTED : FACE_NORMAL, TEXT_COLOUR, DISABLED_COLOUR, BEVEL);
    for (int k = 0; k < CAMERA_COUNT; ++k)
        m_pCameraButton[k]->SetColor(IsCameraInView(k + 1) ? FACE_SELECTED : FACE_NORMAL, TEXT_COLOUR,
                                     DISABLED_COLOUR, BEVEL);
}

void CViewerDlg::ClearPictureFlags()
{
    for (Slot& slot : m_slots)
        slot.bHasPicture = 0;
}

bool CViewerDlg::IsCameraInView(int nCamera, int nSelected, int nSplit)
{
    if (nCamera < 1 || nCamera > CAMERA_COUNT || nSelected < 1 || nSelected > CAMERA_COUNT)
        return false;
    switch (nSplit) {
    case 1: return nCamera == nSelected;
    case 2: return (nCamera - 1) / 4 == (nSelected - 1) / 4;
    case 3: return (nCamera <= 9) == (nSelected <= 9);
    case 4: return true;
    default: return false;
    }
}

PicRect CViewerDlg::CellRect(int nRow, int nColumn, int nSplit)
{
    if (nSplit < 1 || nSplit > 4 || nRow < 0 || nRow >= nSplit || nColumn < 0 || nColumn >= nSplit)
        return {};
    const Span& column = kColumns[nSplit - 1][nColumn];
    const Span& row = kRows[nSplit - 1][nRow];
    return {column.nFrom, row.nFrom, column.nTo, row.nTo};
}

void CViewerDlg::DrawCameraCells(CBmpUty& bmp, int nCamera, int nSplit,
                                 const std::array<const std::uint8_t*, CAMERA_COUNT>& ppSlots, CellRectFn fnRect)
{
    if (nSplit < 1 || nSplit > 4)
        return;
    int nFirst = 1;
    while (nFirst <= CAMERA_COUNT && !IsCameraInView(nFirst, nCamera, nSplit))
        ++nFirst;
    int m = nFirst;
    for (int nRow = 0; nRow < nSplit; ++nRow) {
        for (int nColumn = 0; nColumn < nSplit; ++nColumn, ++m) {
            if (m > CAMERA_COUNT || !ppSlots[static_cast<std::size_t>(m - 1)] || !IsCameraInView(m, nCamera, nSplit))
                continue;
            bmp.DrawPictureInRect(ppSlots[static_cast<std::size_t>(m - 1)], PICTURE_WIDTH, PICTURE_HEIGHT,
                                  fnRect(nRow, nColumn, nSplit));
        }
    }
}

void CViewerDlg::DrawSplitGrid(CBmpUty& bmp, int nWidth, int nHeight, int nSplit, int nGreyPen, int nBlackPen)
{
    if (nSplit < 1)
        return;
    for (int i = 0; i <= nSplit; ++i) {
        const int x = i * (nWidth / nSplit);
        const int y = i * (nHeight / nSplit);
        bmp.Line(nGreyPen, x, 0, x, nHeight);
        bmp.Line(nBlackPen, x + 2, 0, x + 2, nHeight);
        bmp.Line(nGreyPen, 0, y, nWidth, y);
        bmp.Line(nBlackPen, 0, y + 2, nWidth, y + 2);
    }
}

void CViewerDlg::DrawCells()
{
    std::array<const std::uint8_t*, CAMERA_COUNT> ppSlots {};
    for (int k = 0; k < CAMERA_COUNT; ++k)
        ppSlots[k] = m_slots[k].bHasPicture ? m_slots[k].pPicture.get() : nullptr;
    DrawCameraCells(m_bmp, m_nCamera, m_nSplit, ppSlots, &CViewerDlg::CellRect);
}

void CViewerDlg::DrawSingle(const std::uint8_t* pPicture)
{
    m_bmp.DrawPictureInRect(pPicture, PICTURE_WIDTH, PICTURE_HEIGHT, CellRect(0, 0, 1));
}

void CViewerDlg::DrawGrid(int nSplit)
{
    DrawSplitGrid(m_bmp, m_pPicture->width(), m_pPicture->height(), nSplit, m_nGreyPen, m_nBlackPen);
}

void CViewerDlg::PaintPicture()
{
    if (!m_bInitialised)
        return;
    m_bmp.Clear(m_nWhiteBrush);
    DrawGrid(m_nSplit);
    if (m_nPlayState == PLAY_STOP)
        return;
    if (!m_bAllCamera)
        DrawCells();
    else if (m_bAnyPicture)
        DrawSingle(m_slots[static_cast<std::size_t>(m_nLastPictureCamera)].pPicture.get());
}

void CViewerDlg::SetDisplayMode(int nMode)
{
    m_nDispMode = nMode == DISP_TIME_LAG ? DISP_TIME_LAG : DISP_REAL_TIME;
    (m_nDispMode == DISP_REAL_TIME ? m_pRealTime : m_pTimeLag)->setChecked(true);
}

void CViewerDlg::EnablePlaybackModes(bool bEnable)
{
    m_pRealTime->setEnabled(bEnable);
    m_pTimeLag->setEnabled(bEnable);
    m_pLastImage->setEnabled(bEnable);
}

void CViewerDlg::UpdateKeyImages(int nMode)
{
    if (nMode == m_nKeyImageMode)
        return;
    m_nKeyImageMode = nMode;
    if (nMode >= KEY_BLOCK && nMode <= KEY_RSTEP)
        return;
    const int nLanguage = UiLanguage();
    std::size_t i = 0;
    for (const CKeyArtwork::Key& key : CKeyArtwork::Keys()) {
        CBitmapButton* pKey = m_pKey[i++];
        if (key.nLit == 0 || (nMode == KEY_SAVING && key.nId != IDC_REC))
            continue;
        const bool bLit = LitModeOf(key.nId) == nMode;
        pKey->LoadBitmaps(bLit ? key.nLit : key.nNormal, key.nPressed, key.nDisabled, nLanguage);
    }
}

void CViewerDlg::ShowSpeed(int nStringId)
{
    m_pSpeed->setText(QStringLiteral("%1  :  X %2").arg(ResString(nStringId)).arg(m_nSpeed));
    m_pSpeed->show();
}

void CViewerDlg::HideSpeed()
{
    m_pSpeed->hide();
}

// ---------------------------------------------------------------------------
// Keys and buttons

void CViewerDlg::OnDivision(int nSplit)
{
    SetView(m_nCamera, nSplit);
}

void CViewerDlg::OnCamera(int nCamera)
{
    SetView(nCamera, m_nSplit);
}

void CViewerDlg::OnAll()
{
    SetView(1, 1);
    m_pCameraButton[0]->SetColor(FACE_NORMAL, TEXT_COLOUR, DISABLED_COLOUR, BEVEL);
    m_pAll->SetColor(FACE_SELECTED, TEXT_COLOUR, DISABLED_COLOUR, BEVEL);
    m_bAllCamera = 1;
    // The area shows the last picture full size at once (in the still state no
    // new picture would come to fill it).
    PaintPicture();
}

void CViewerDlg::OnFullScreen()
{
    CAllViewerDlg dlg(this);
    dlg.exec();
}

void CViewerDlg::OnSearch()
{
    CVX2200NETApp* pApp = GetApp();
    CPageHost* pMain = pApp ? pApp->GetMainWnd() : nullptr;
    if (pMain)
        pMain->SetSearchMode(true);
}

// ---------------------------------------------------------------------------
// Accessors, show and hide

bool CViewerDlg::HasPicture(int k) const
{
    return k >= 0 && k < CAMERA_COUNT && m_slots[static_cast<std::size_t>(k)].bHasPicture != 0;
}

const std::uint8_t* CViewerDlg::GetSlotPicture(int k) const
{
    return k >= 0 && k < CAMERA_COUNT ? m_slots[static_cast<std::size_t>(k)].pPicture.get() : nullptr;
}

QString CViewerDlg::GetSlotTime(int k) const
{
    return k >= 0 && k < CAMERA_COUNT ? m_slots[static_cast<std::size_t>(k)].strTime : QString();
}

int CViewerDlg::GetSlotFileSize(int k) const
{
    return k >= 0 && k < CAMERA_COUNT ? m_slots[static_cast<std::size_t>(k)].nFileSize : 0;
}

// Only the page's own showing and hiding count (changing tabs), not the main
// window being minimised and restored.
void CViewerDlg::showEvent(QShowEvent* pEvent)
{
    QWidget::showEvent(pEvent);
    if (pEvent->spontaneous())
        return;
    m_bPageVisible = 1;
    CVX2200NETApp* pApp = GetApp();
    if (pApp && pApp->GetSearchPlayback()) {
        if (pApp->GetPlaybackCamera() > CAMERA_COUNT)
            OnAll();
        else
            SetView(pApp->GetPlaybackCamera(), 1);
        m_nPlayState = PLAY_SEARCH;
    } else {
        m_nPlayState = PLAY_STOP;
    }
    PaintPicture();
}

void CViewerDlg::hideEvent(QHideEvent* pEvent)
{
    QWidget::hideEvent(pEvent);
    if (pEvent->spontaneous())
        return;
    m_bPageVisible = 0;
    m_nPlayState = PLAY_STOP;
}
