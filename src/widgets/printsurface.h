// What a printed page is drawn on. The pages lay out their printed page in page
// units (screen pixels at 96 per inch, origin at the top left of the printable
// area) through this small interface; the printer realises it on a QPainter,
// and tests record every call.
#pragma once

#include "widgets/bmputy.h"
#include "widgets/printmapping.h"

#include <QColor>

class QImage;
class QString;

// A pen of the printed page: nWidth in page units, 0 for a line one device
// pixel wide; wide pens join their corners bevelled.
struct PrintPen {
    QColor colour;
    int nWidth = 0;

    bool operator==(const PrintPen&) const = default;
};

class CPrintSurface {
public:
    virtual ~CPrintSurface() = default;

    // How page units become the printer's device pixels.
    virtual const CPrintMapping& Mapping() const = 0;

    // The text font: Arial (or its metric twin) at nPoints points.
    virtual void SelectFont(int nPoints) = 0;
    virtual void SelectPen(const PrintPen& pen) = 0;
    // Text whose top left corner is at (x, y).
    virtual void Text(int x, int y, const QString& strText) = 0;
    virtual void Line(int x1, int y1, int x2, int y2) = 0;
    // The outline of the rectangle with these edges.
    virtual void Rectangle(int nLeft, int nTop, int nRight, int nBottom) = 0;
    // A whole picture stretched into dest (left and top inclusive, right and
    // bottom exclusive) by plain pixel copy.
    virtual void Picture(const PicRect& dest, const QImage& image) = 0;
};
