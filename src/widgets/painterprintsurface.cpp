#include "widgets/painterprintsurface.h"

#include <QFontMetrics>
#include <QImage>
#include <QPainter>

#include <algorithm>

CPainterPrintSurface::CPainterPrintSurface(QPainter& painter, const CPrintMapping& mapping)
    : m_painter(painter), m_mapping(mapping)
{
    m_painter.setRenderHint(QPainter::Antialiasing, false);
    m_painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    m_painter.setBrush(Qt::NoBrush);
    m_painter.setPen(QPen(Qt::black, 0));
    m_painter.setFont(PrintFont(12, m_mapping));
}

QFont CPainterPrintSurface::PrintFont(int nPoints, const CPrintMapping& mapping)
{
    QFont font;
    font.setFamilies({QString::fromLatin1(FONT_FAMILY), QString::fromLatin1(FONT_FALLBACK)});
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(std::max(1, mapping.FontPixels(nPoints)));
    // Glyphs keep their outline widths at every size, as on the printer.
    font.setHintingPreference(QFont::PreferNoHinting);
    font.setKerning(false);
    return font;
}

void CPainterPrintSurface::SelectFont(int nPoints)
{
    m_painter.setFont(PrintFont(nPoints, m_mapping));
}

void CPainterPrintSurface::SelectPen(const PrintPen& pen)
{
    const int nWidth = pen.nWidth <= 0 ? 1 : std::max(1, m_mapping.X(pen.nWidth));
    m_painter.setPen(QPen(pen.colour, nWidth, Qt::SolidLine, Qt::FlatCap, Qt::BevelJoin));
}

void CPainterPrintSurface::Text(int x, int y, const QString& strText)
{
    const QFontMetrics metrics(m_painter.font(), m_painter.device());
    const QPen pen = m_painter.pen();
    m_painter.setPen(QPen(Qt::black));
    m_painter.drawText(m_mapping.X(x), m_mapping.Y(y) + metrics.ascent(), strText);
    m_painter.setPen(pen);
}

void CPainterPrintSurface::Line(int x1, int y1, int x2, int y2)
{
    m_painter.drawLine(m_mapping.X(x1), m_mapping.Y(y1), m_mapping.X(x2), m_mapping.Y(y2));
}

void CPainterPrintSurface::Rectangle(int nLeft, int nTop, int nRight, int nBottom)
{
    const int l = m_mapping.X(nLeft);
    const int t = m_mapping.Y(nTop);
    const int r = m_mapping.X(nRight);
    const int b = m_mapping.Y(nBottom);
    const QPoint corners[] = {{l, t}, {r, t}, {r, b}, {l, b}};
    m_painter.drawPolygon(corners, 4);
}

void CPainterPrintSurface::Picture(const PicRect& dest, const QImage& image)
{
    if (image.isNull())
        return;
    const int l = m_mapping.X(dest.left);
    const int t = m_mapping.Y(dest.top);
    const QRect target(l, t, m_mapping.X(dest.right) - l, m_mapping.Y(dest.bottom) - t);
    if (target.isEmpty())
        return;
    m_painter.drawImage(target, image, image.rect());
}
