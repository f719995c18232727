// A printed page that only records what is drawn on it, in page units and in
// the device pixels of its mapping: for tests, and for checking a layout
// without a printer.
#pragma once

#include "widgets/printsurface.h"

#include <QSize>
#include <QString>

#include <cstdint>
#include <vector>

class CRecordingPrintSurface : public CPrintSurface {
public:
    struct Call {
        enum class Kind { Font, Pen, Text, Line, Rectangle, Picture } kind;
        // Page units: a line from (x1, y1) to (x2, y2), a rectangle's left,
        // top, right and bottom, or a text's top left corner (twice).
        int x1 = 0;
        int y1 = 0;
        int x2 = 0;
        int y2 = 0;
        PicRect device;      // the same in device pixels
        int nPoints = 0;     // Font, and the font in use for Text
        PrintPen pen;        // Pen, and the pen in use for lines and rectangles
        QString strText;     // Text
        QSize imageSize;     // Picture
        const std::uint8_t* pBits = nullptr; // Picture: the pixels drawn
    };
    using Kind = Call::Kind;

    explicit CRecordingPrintSurface(const CPrintMapping& mapping = {}) : m_mapping(mapping) {}

    void SetMapping(const CPrintMapping& mapping) { m_mapping = mapping; }
    const CPrintMapping& Mapping() const override { return m_mapping; }
    void SelectFont(int nPoints) override;
    void SelectPen(const PrintPen& pen) override;
    void Text(int x, int y, const QString& strText) override;
    void Line(int x1, int y1, int x2, int y2) override;
    void Rectangle(int nLeft, int nTop, int nRight, int nBottom) override;
    void Picture(const PicRect& dest, const QImage& image) override;

    const std::vector<Call>& Calls() const { return m_calls; }
    std::vector<Call> CallsOf(Kind kind) const;
    // The text call with exactly this text, or nullptr.
    const Call* FindText(const QString& strText) const;
    void Clear() { m_calls.clear(); }

private:
    Call& Add(Kind kind);
    PicRect Device(int x1, int y1, int x2, int y2) const;

    CPrintMapping m_mapping;
    std::vector<Call> m_calls;
    int m_nPoints = 0;
    PrintPen m_pen;
};
