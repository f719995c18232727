// The printed page on a QPainter: a printer's, a PDF file's or an image's. Every
// position is mapped to device pixels here, so lines one device pixel wide stay
// one pixel wide at any resolution.
#pragma once

#include "widgets/printsurface.h"

#include <QFont>
#include <QPen>

class QPainter;

class CPainterPrintSurface : public CPrintSurface {
public:
    // The family asked for first: metric-compatible with Arial, and the same on
    // every machine the README's commands set up; Arial itself is the fallback.
    static constexpr const char* FONT_FAMILY = "Liberation Sans";
    static constexpr const char* FONT_FALLBACK = "Arial";

    // The painter must outlive the surface.
    CPainterPrintSurface(QPainter& painter, const CPrintMapping& mapping);

    const CPrintMapping& Mapping() const override { return m_mapping; }
    void SelectFont(int nPoints) override;
    void SelectPen(const PrintPen& pen) override;
    void Text(int x, int y, const QString& strText) override;
    void Line(int x1, int y1, int x2, int y2) override;
    void Rectangle(int nLeft, int nTop, int nRight, int nBottom) override;
    void Picture(const PicRect& dest, const QImage& image) override;

    // The font of nPoints points for a device of the mapping's resolution.
    static QFont PrintFont(int nPoints, const CPrintMapping& mapping);

private:
    QPainter& m_painter;
    CPrintMapping m_mapping;
};
