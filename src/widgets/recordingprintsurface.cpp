#include "widgets/recordingprintsurface.h"

#include <QImage>

CRecordingPrintSurface::Call& CRecordingPrintSurface::Add(Kind kind)
{
    Call& call = m_calls.emplace_back();
    call.kind = kind;
    call.nPoints = m_nPoints;
    call.pen = m_pen;
    return call;
}

PicRect CRecordingPrintSurface::Device(int x1, int y1, int x2, int y2) const
{
    return {m_mapping.X(x1), m_mapping.Y(y1), m_mapping.X(x2), m_mapping.Y(y2)};
}

void CRecordingPrintSurface::SelectFont(int nPoints)
{
    m_nPoints = nPoints;
    Add(Kind::Font);
}

void CRecordingPrintSurface::SelectPen(const PrintPen& pen)
{
    m_pen = pen;
    Add(Kind::Pen);
}

void CRecordingPrintSurface::Text(int x, int y, const QString& strText)
{
    Call& call = Add(Kind::Text);
    call.x1 = call.x2 = x;
    call.y1 = call.y2 = y;
    call.device = Device(x, y, x, y);
    call.strText = strText;
}

void CRecordingPrintSurface::Line(int x1, int y1, int x2, int y2)
{
    Call& call = Add(Kind::Line);
    call.x1 = x1;
    call.y1 = y1;
    call.x2 = x2;
    call.y2 = y2;
    call.device = Device(x1, y1, x2, y2);
}

void CRecordingPrintSurface::Rectangle(int nLeft, int nTop, int nRight, int nBottom)
{
    Call& call = Add(Kind::Rectangle);
    call.x1 = nLeft;
    call.y1 = nTop;
    call.x2 = nRight;
    call.y2 = nBottom;
    call.device = Device(nLeft, nTop, nRight, nBottom);
}

void CRecordingPrintSurface::Picture(const PicRect& dest, const QImage& image)
{
    Call& call = Add(Kind::Picture);
    call.x1 = dest.left;
    call.y1 = dest.top;
    call.x2 = dest.right;
    call.y2 = dest.bottom;
    call.device = Device(dest.left, dest.top, dest.right, dest.bottom);
    call.imageSize = image.size();
    call.pBits = image.constBits();
}

std::vector<CRecordingPrintSurface::Call> CRecordingPrintSurface::CallsOf(Kind kind) const
{
    std::vector<Call> calls;
    for (const Call& call : m_calls) {
        if (call.kind == kind)
            calls.push_back(call);
    }
    return calls;
}

const CRecordingPrintSurface::Call* CRecordingPrintSurface::FindText(const QString& strText) const
{
    for (const Call& call : m_calls) {
        if (call.kind == Kind::Text && call.strText == strText)
            return &call;
    }
    return nullptr;
}
