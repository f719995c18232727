#include "viewer/allviewerdlg.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScreen>
#include <QTimer>

#include <algorithm>

namespace {

// Cells of the full-screen view in picture coordinates, per split: the left and
// right edges of the columns and the top and bottom edges of the rows.
struct Span {
    int nFrom;
    int nTo;
};
constexpr Span kColumns[4][4] = {
    {{0, 696}},
    {{0, 348}, {349, 696}},
    {{0, 232}, {233, 463}, {464, 696}},
    {{0, 174}, {176, 348}, {350, 522}, {524, 696}},
};
constexpr Span kRows[4][4] = {
    {{0, 234}},
    {{0, 116}, {116, 233}},
    {{0, 78}, {78, 155}, {155, 232}},
    {{0, 58}, {58, 116}, {116, 174}, {174, 232}},
};

} // namespace

CAllViewerDlg::CAllViewerDlg(CViewerDlg* pViewer) : QDialog(pViewer), m_pViewer(pViewer)
{
    setObjectName(QStringLiteral("id170"));
    setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint);
    setModal(true);
    QScreen* pScreen = pViewer && pViewer->screen() ? pViewer->screen() : QGuiApplication::primaryScreen();
    setGeometry(pScreen ? pScreen->geometry() : QRect(0, 0, 800, 600));

    m_pPicture = new QWidget(this);
    m_pPicture->setObjectName(QStringLiteral("id%1").arg(IDC_PICTURE));
    m_pPicture->setAttribute(Qt::WA_OpaquePaintEvent);
    m_pPicture->setGeometry(rect());

    if (m_pViewer) {
        m_nPlayState = m_pViewer->GetPlayState();
        m_bAllCamera = m_pViewer->IsAllCamera();
        m_nCamera = m_pViewer->GetCamera();
        m_nSplit = std::clamp(m_pViewer->GetSplit(), 1, 4);
    }
    m_nAllIndex = 0;
    ReadSlots();

    m_bmp.Create(m_pPicture, CViewerDlg::PICTURE_WIDTH, CViewerDlg::PICTURE_HEIGHT, CBmpUty::MODE_24BIT);
    m_nGreyPen = m_bmp.AddPen(CBmpUty::PS_SOLID, 3, 180, 180, 180);
    m_nBlackPen = m_bmp.AddPen(CBmpUty::PS_SOLID, 1, 0, 0, 0);
    m_nWhiteBrush = m_bmp.AddBrush(CBmpUty::HS_SOLID, 255, 255, 255);

    m_pTimer = new QTimer(this);
    m_pTimer->setTimerType(Qt::PreciseTimer);
    m_pTimer->setInterval(CViewerDlg::TIMER_PERIOD_MS);
    connect(m_pTimer, &QTimer::timeout, this, &CAllViewerDlg::OnTimer);
    m_pTimer->start();
}

CAllViewerDlg::~CAllViewerDlg()
{
    m_pTimer->stop();
    m_bmp.RemoveBrush(m_nWhiteBrush);
    m_bmp.RemovePen(m_nBlackPen);
    m_bmp.RemovePen(m_nGreyPen);
    m_bmp.Release();
}

PicRect CAllViewerDlg::CellRect(int nRow, int nColumn, int nSplit)
{
    if (nSplit < 1 || nSplit > 4 || nRow < 0 || nRow >= nSplit || nColumn < 0 || nColumn >= nSplit)
        return {};
    const Span& column = kColumns[nSplit - 1][nColumn];
    const Span& row = kRows[nSplit - 1][nRow];
    return {column.nFrom, row.nFrom, column.nTo, row.nTo};
}

void CAllViewerDlg::ReadSlots()
{
    for (int k = 0; k < CAMERA_COUNT; ++k)
        m_ppSlots[k] = m_pViewer && m_pViewer->HasPicture(k) ? m_pViewer->GetSlotPicture(k) : nullptr;
}

void CAllViewerDlg::DrawCells()
{
    CViewerDlg::DrawCameraCells(m_bmp, m_nCamera, m_nSplit, m_ppSlots, &CAllViewerDlg::CellRect);
}

void CAllViewerDlg::DrawSingle(const std::uint8_t* pPicture)
{
    m_bmp.DrawPictureInRect(pPicture, CViewerDlg::PICTURE_WIDTH, CViewerDlg::PICTURE_HEIGHT, CellRect(0, 0, 1));
}

void CAllViewerDlg::PaintPicture()
{
    m_bmp.Clear(m_nWhiteBrush);
    CViewerDlg::DrawSplitGrid(m_bmp, m_pPicture->width(), m_pPicture->height(), m_nSplit, m_nGreyPen, m_nBlackPen);
    if (m_nPlayState == CViewerDlg::PLAY_STOP)
        return;
    if (!m_bAllCamera)
        DrawCells();
    else if (const std::uint8_t* pPicture = m_ppSlots[static_cast<std::size_t>(m_nAllIndex)])
        DrawSingle(pPicture);
}

void CAllViewerDlg::OnTimer()
{
    if (!m_pViewer)
        return;
    m_nPlayState = m_pViewer->GetPlayState();
    if (m_nPlayState == CViewerDlg::PLAY_STOP) {
        if (m_bAllCamera) {
            m_bmp.Clear(m_nWhiteBrush);
        } else if (!m_bPainted) {
            m_bPainted = 1;
            PaintPicture();
        }
        return;
    }
    if (m_nPlayState == CViewerDlg::PLAY_STILL) {
        const int k = m_pViewer->GetLastPictureCamera();
        if (m_bAllCamera && m_pViewer->HasPicture(k))
            DrawSingle(m_pViewer->GetSlotPicture(k));
    } else {
        ReadSlots();
        if (!m_bAllCamera)
            DrawCells();
        else if (const std::uint8_t* pPicture = m_ppSlots[static_cast<std::size_t>(m_nAllIndex)])
            DrawSingle(pPicture);
    }
    m_nAllIndex = (m_nAllIndex + 1) % CAMERA_COUNT;
}

void CAllViewerDlg::showEvent(QShowEvent* pEvent)
{
    QDialog::showEvent(pEvent);
    PaintPicture();
}

void CAllViewerDlg::resizeEvent(QResizeEvent* pEvent)
{
    QDialog::resizeEvent(pEvent);
    if (m_pPicture)
        m_pPicture->setGeometry(rect());
}

void CAllViewerDlg::mousePressEvent(QMouseEvent* pEvent)
{
    if (pEvent->button() == Qt::LeftButton) {
        accept();
        return;
    }
    QDialog::mousePressEvent(pEvent);
}

void CAllViewerDlg::keyPressEvent(QKeyEvent* pEvent)
{
    switch (pEvent->key()) {
    case Qt::Key_Escape:
        reject();
        return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        pEvent->accept();
        return;
    default:
        QDialog::keyPressEvent(pEvent);
    }
}
