#include "widgets/bmputy.h"

#include "platform/prompter.h"

#include <QEvent>
#include <QObject>
#include <QPaintEvent>
#include <QPainter>
#include <QPalette>
#include <QWidget>

#include <algorithm>
#include <climits>
#include <utility>

namespace {

const char* const WARNING_CAPTION = "CBmpUty Warning";
const char* const TEXT_WIDTH_NOT_MULTIPLE_OF_4 = "WIDTHが４の倍数でない";
const char* const TEXT_ALREADY_CREATED = "ICBは、実体化したクラスに１つしか使用できません。\n\nV02L00より仕様変更";
const char* const TEXT_PEN_TABLE_FULL = "ペン確保失敗\n\nMAX_COLORTBLの増加を検討";
const char* const TEXT_PEN_STYLE_UNKNOWN = "ペン作成の種別が不明";
const char* const TEXT_PEN_TOO_WIDE = "ペン作成失敗\n\nペン幅は１以下にすること";
const char* const TEXT_BRUSH_TABLE_FULL = "ブラシ確保失敗\n\nMAX_BRUSHTBLの増加を検討";

// Pen styles 0 to 6 of AddPen.
constexpr Qt::PenStyle PEN_STYLES[] = {
    Qt::SolidLine, Qt::DashLine, Qt::DotLine, Qt::DashDotLine, Qt::DashDotDotLine, Qt::NoPen, Qt::SolidLine,
};

// Hatch styles 0 to 5 of AddBrush: horizontal, vertical, "\", "/", cross, diagonal cross.
constexpr Qt::BrushStyle HATCH_STYLES[] = {
    Qt::HorPattern, Qt::VerPattern, Qt::FDiagPattern, Qt::BDiagPattern, Qt::CrossPattern, Qt::DiagCrossPattern,
};

// Colour values are bytes: each is taken modulo 256.
QColor Colour(int nRed, int nGreen, int nBlue)
{
    return QColor(nRed & 0xFF, nGreen & 0xFF, nBlue & 0xFF);
}

// A coordinate computed in 64 bits, brought back into the range QPainter takes.
int Coord(long long n)
{
    return static_cast<int>(std::clamp<long long>(n, INT_MIN / 2, INT_MAX / 2));
}

// A picture buffer seen as an image, without copying it.
QImage PictureView(const unsigned char* pBits, int nWidth, int nHeight, int nMode)
{
    if (nMode == CBmpUty::MODE_24BIT)
        return QImage(pBits, nWidth, nHeight, static_cast<qsizetype>(nWidth) * 3, QImage::Format_BGR888);
    return QImage(pBits, nWidth, nHeight, nWidth, QImage::Format_Grayscale8);
}

} // namespace

class CBmpUty::CWindowFilter : public QObject {
public:
    explicit CWindowFilter(CBmpUty& owner) : m_owner(owner) {}

    bool eventFilter(QObject* pWatched, QEvent* pEvent) override
    {
        return pWatched == m_owner.m_pWindow.data() && m_owner.OnWindowEvent(pEvent);
    }

private:
    CBmpUty& m_owner;
};

CBmpUty::CBmpUty() = default;

CBmpUty::~CBmpUty()
{
    Release();
}

int CBmpUty::Create(QWidget* pWindow, int nSourceWidth, int nSourceHeight, int nMode)
{
    if (nSourceWidth % 4 != 0) {
        ShowWarning(TEXT_WIDTH_NOT_MULTIPLE_OF_4);
        return -1;
    }
    if (m_bCreated) {
        ShowWarning(TEXT_ALREADY_CREATED);
        return -1;
    }
    if (!pWindow)
        return -1;

    m_nMode = nMode;
    m_pWindow = pWindow;
    m_pFilter = std::make_unique<CWindowFilter>(*this);
    pWindow->installEventFilter(m_pFilter.get());
    m_surface = QImage();
    GrowSurface();
    m_bCreated = true;

    m_nDestWidth = (pWindow->width() + 3) / 4 * 4;
    m_nDestHeight = pWindow->height();
    m_nSourceWidth = nSourceWidth / 4 * 4;
    m_nSourceHeight = nSourceHeight;
    return 0;
}

void CBmpUty::Release()
{
    if (!m_bCreated)
        return;
    m_bCreated = false;
    if (m_pWindow) {
        m_pWindow->removeEventFilter(m_pFilter.get());
        m_pWindow->update();
    }
    m_pFilter.reset();
    m_pWindow = nullptr;
    m_surface = QImage();
    m_pPainter = nullptr;
}

QPainter* CBmpUty::SetPainter(QPainter* pPainter)
{
    return std::exchange(m_pPainter, pPainter);
}

template <typename Draw>
void CBmpUty::Paint(BkMode mode, Draw fnDraw)
{
    if (!m_bCreated)
        return;
    auto prepare = [mode](QPainter& painter) {
        painter.setRenderHint(QPainter::Antialiasing, false);
        painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
        painter.setBackground(Qt::white);
        painter.setBackgroundMode(mode == BK_OPAQUE ? Qt::OpaqueMode : Qt::TransparentMode);
    };
    if (m_pPainter) {
        m_pPainter->save();
        prepare(*m_pPainter);
        fnDraw(*m_pPainter);
        m_pPainter->restore();
        return;
    }
    QPainter painter(&m_surface);
    prepare(painter);
    fnDraw(painter);
    painter.end();
    if (m_pWindow)
        m_pWindow->update();
}

void CBmpUty::DrawPicture(const unsigned char* pBits, int nSourceWidth, int nSourceHeight)
{
    DrawStretched(pBits, nSourceWidth, nSourceHeight, QRect(1, 1, m_nDestWidth, m_nDestHeight));
}

PicRect CBmpUty::DestRect(int nSourceWidth, int nSourceHeight, const PicRect& rect) const
{
    if (nSourceWidth <= 0 || nSourceHeight <= 0)
        return {};
    const long long nDestWidth = m_nDestWidth;
    const long long nDestHeight = m_nDestHeight;
    return {
        Coord(rect.left * nDestWidth / nSourceWidth),
        Coord(rect.top * nDestHeight / nSourceHeight),
        Coord(rect.right * nDestWidth / nSourceWidth),
        Coord(nDestHeight * rect.bottom / nSourceHeight),
    };
}

void CBmpUty::DrawPictureInRect(const unsigned char* pBits, int nSourceWidth, int nSourceHeight,
                                const PicRect& rect)
{
    const PicRect dest = DestRect(nSourceWidth, nSourceHeight, rect);
    DrawStretched(pBits, nSourceWidth, nSourceHeight,
                  QRect(dest.left, dest.top, dest.right - dest.left, dest.bottom - dest.top));
}

// The buffer is read as a picture of the size given to Create; the part of it
// the caller names (0, 0, width, height) is stretched into target.
void CBmpUty::DrawStretched(const unsigned char* pBits, int nSourceWidth, int nSourceHeight, const QRect& target)
{
    if (!pBits || nSourceWidth <= 0 || nSourceHeight <= 0 || target.isEmpty()
        || m_nSourceWidth <= 0 || m_nSourceHeight <= 0)
        return;
    const QImage view = PictureView(pBits, m_nSourceWidth, m_nSourceHeight, m_nMode);
    const QRect source(0, 0, std::min(nSourceWidth, m_nSourceWidth), std::min(nSourceHeight, m_nSourceHeight));
    Paint(BK_TRANSPARENT, [&](QPainter& painter) { painter.drawImage(target, view, source); });
}

void CBmpUty::StretchPicture(QPainter& painter, const QRect& target, const unsigned char* pBits, int nWidth,
                             int nHeight, int nMode)
{
    if (!pBits || nWidth <= 0 || nHeight <= 0 || target.isEmpty())
        return;
    const QImage view = PictureView(pBits, nWidth, nHeight, nMode);
    painter.save();
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    painter.drawImage(target, view, view.rect());
    painter.restore();
}

void CBmpUty::Clear(int nBrush)
{
    const CBrushEntry* pEntry = BrushAt(nBrush);
    if (!pEntry || !m_pWindow)
        return;
    const QRect area = m_pWindow->rect();
    Paint(pEntry->mode, [&](QPainter& painter) {
        if (pEntry->mode == BK_OPAQUE && pEntry->brush->style() != Qt::SolidPattern)
            painter.fillRect(area, painter.background());
        painter.fillRect(area, *pEntry->brush);
    });
}

void CBmpUty::Line(int nPen, int x1, int y1, int x2, int y2)
{
    const CPenEntry* pEntry = PenAt(nPen);
    if (!pEntry)
        return;
    Paint(pEntry->mode, [&](QPainter& painter) {
        painter.setPen(*pEntry->pen);
        painter.drawLine(x1, y1, x2, y2);
    });
}

void CBmpUty::FrameBox(int nPen, int x, int y, int nWidth, int nHeight)
{
    const CPenEntry* pEntry = PenAt(nPen);
    if (!pEntry)
        return;
    const int nRight = Coord(static_cast<long long>(x) + nWidth + 1);
    const int nBottom = Coord(static_cast<long long>(y) + nHeight + 1);
    const QPoint corners[] = {{x, y}, {nRight, y}, {nRight, nBottom}, {x, nBottom}, {x, y}};
    Paint(pEntry->mode, [&](QPainter& painter) {
        painter.setPen(*pEntry->pen);
        painter.drawPolyline(corners, 5);
    });
}

int CBmpUty::AddPen(int nStyle, int nWidth, int nRed, int nGreen, int nBlue)
{
    const auto free = std::find_if(m_pens.begin(), m_pens.end(), [](const CPenEntry& e) { return !e.pen; });
    if (free == m_pens.end()) {
        ShowWarning(TEXT_PEN_TABLE_FULL);
        return -1;
    }
    const int nIndex = static_cast<int>(free - m_pens.begin());
    if (nStyle < PS_SOLID || nStyle > PS_INSIDEFRAME) {
        ShowWarning(TEXT_PEN_STYLE_UNKNOWN);
        return nIndex;
    }
    const bool bPatterned = nStyle >= PS_DASH && nStyle <= PS_DASHDOTDOT;
    if (bPatterned && nWidth > 1) {
        ShowWarning(TEXT_PEN_TOO_WIDE);
        return nIndex;
    }
    // Wide pens end and join round, so grid lines meet without notches.
    free->pen = QPen(Colour(nRed, nGreen, nBlue), std::max(nWidth, 0), PEN_STYLES[nStyle], Qt::RoundCap,
                     Qt::RoundJoin);
    free->mode = bPatterned ? BK_TRANSPARENT : BK_OPAQUE;
    return nIndex;
}

void CBmpUty::RemovePen(int nIndex)
{
    if (nIndex >= 0 && nIndex < MAX_COLORTBL)
        m_pens[static_cast<std::size_t>(nIndex)] = {};
}

int CBmpUty::AddBrush(int nHatch, int nRed, int nGreen, int nBlue)
{
    const auto free = std::find_if(m_brushes.begin(), m_brushes.end(), [](const CBrushEntry& e) { return !e.brush; });
    if (free == m_brushes.end()) {
        ShowWarning(TEXT_BRUSH_TABLE_FULL);
        return -1;
    }
    const int nIndex = static_cast<int>(free - m_brushes.begin());
    if (nHatch == HS_SOLID) {
        free->brush = QBrush(Colour(nRed, nGreen, nBlue), Qt::SolidPattern);
        free->mode = BK_TRANSPARENT;
    } else if (nHatch >= HS_HORIZONTAL && nHatch <= HS_DIAGCROSS) {
        free->brush = QBrush(Colour(nRed, nGreen, nBlue), HATCH_STYLES[nHatch]);
        free->mode = BK_OPAQUE;
    }
    // Any other hatch makes no brush; like a refused pen, the entry stays free.
    return nIndex;
}

void CBmpUty::RemoveBrush(int nIndex)
{
    if (nIndex >= 0 && nIndex < MAX_BRUSHTBL)
        m_brushes[static_cast<std::size_t>(nIndex)] = {};
}

const CBmpUty::CPenEntry* CBmpUty::PenAt(int nIndex) const
{
    if (nIndex < 0 || nIndex >= MAX_COLORTBL || !m_pens[static_cast<std::size_t>(nIndex)].pen)
        return nullptr;
    return &m_pens[static_cast<std::size_t>(nIndex)];
}

const CBmpUty::CBrushEntry* CBmpUty::BrushAt(int nIndex) const
{
    if (nIndex < 0 || nIndex >= MAX_BRUSHTBL || !m_brushes[static_cast<std::size_t>(nIndex)].brush)
        return nullptr;
    return &m_brushes[static_cast<std::size_t>(nIndex)];
}

void CBmpUty::ShowWarning(const char* pszText) const
{
    GetPrompter().MessageBox(pszText, WARNING_CAPTION, MessageIcon::Error, MessageButtons::Ok);
}

bool CBmpUty::OnWindowEvent(QEvent* pEvent)
{
    if (pEvent->type() == QEvent::Resize) {
        GrowSurface();
        return false;
    }
    if (pEvent->type() != QEvent::Paint)
        return false;
    const QRect area = static_cast<QPaintEvent*>(pEvent)->rect();
    QPainter painter(m_pWindow.data());
    painter.drawImage(area, m_surface, area);
    return true;
}

// The surface keeps what was drawn and grows with the window; a window that
// shrinks keeps its drawing for when it grows again.
void CBmpUty::GrowSurface()
{
    const QSize size = m_pWindow->size().expandedTo(m_surface.size()).expandedTo(QSize(1, 1));
    if (size == m_surface.size())
        return;
    QImage grown(size, QImage::Format_RGB32);
    grown.fill(m_pWindow->palette().color(m_pWindow->backgroundRole()));
    if (!m_surface.isNull()) {
        QPainter painter(&grown);
        painter.drawImage(0, 0, m_surface);
    }
    m_surface = std::move(grown);
}
