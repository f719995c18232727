// The drawing layer between the picture buffers and the windows that show them.
//
// One CBmpUty is bound to one picture window. It keeps a surface of the window's
// size that every drawing call paints into and that the window shows, in place
// of its own painting, whenever it is repainted; so the pages may draw from a
// timer tick, a key handler or their own paint handler alike, and what was drawn
// stays on the window until it is drawn over. A caller that paints elsewhere (a printer page, an image) hands its own
// QPainter to SetPainter; the same calls and the same arithmetic then go there.
//
// Pictures are 24 bits per pixel in blue, green, red byte order, top row first,
// rows of width x 3 bytes, owned by the caller and drawn straight from its buffer.
#pragma once

#include <QBrush>
#include <QImage>
#include <QPen>
#include <QPointer>
#include <QRect>

#include <array>
#include <memory>
#include <optional>

class QEvent;
class QPainter;
class QWidget;

// A rectangle as the pages give it: left and top inclusive, right and bottom
// exclusive.
struct PicRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    bool operator==(const PicRect&) const = default;
};

class CBmpUty {
public:
    static constexpr int MAX_COLORTBL = 16;
    static constexpr int MAX_BRUSHTBL = 10;

    // Picture mode of Create: 3 is 24 bits per pixel (the only mode the program
    // uses); any other value draws 8-bit grey pictures.
    static constexpr int MODE_24BIT = 3;

    // Background modes kept with every pen and brush.
    enum BkMode { BK_TRANSPARENT = 1, BK_OPAQUE = 2 };

    // Pen styles of AddPen.
    enum PenStyle {
        PS_SOLID = 0,
        PS_DASH = 1,
        PS_DOT = 2,
        PS_DASHDOT = 3,
        PS_DASHDOTDOT = 4,
        PS_NULL = 5,
        PS_INSIDEFRAME = 6,
    };

    // Hatch styles of AddBrush; HS_SOLID makes a solid brush.
    enum HatchStyle {
        HS_SOLID = -1,
        HS_HORIZONTAL = 0,
        HS_VERTICAL = 1,
        HS_FDIAGONAL = 2,
        HS_BDIAGONAL = 3,
        HS_CROSS = 4,
        HS_DIAGCROSS = 5,
    };

    CBmpUty();
    virtual ~CBmpUty();
    CBmpUty(const CBmpUty&) = delete;
    CBmpUty& operator=(const CBmpUty&) = delete;

    // Binds the object to pWindow for pictures of nSourceWidth x nSourceHeight.
    // The window should have its final size: the destination size is taken now
    // (its width rounded up to a multiple of 4, its height). 0 on success, -1
    // with a message box when the width is not a multiple of 4 or the object is
    // already bound, -1 without one when there is no window.
    int Create(QWidget* pWindow, int nSourceWidth, int nSourceHeight, int nMode);

    // Stretches the whole picture to the destination size at (1, 1).
    void DrawPicture(const unsigned char* pBits, int nSourceWidth, int nSourceHeight);
    // Stretches the whole picture into rect, given in picture coordinates and
    // scaled to the destination size.
    void DrawPictureInRect(const unsigned char* pBits, int nSourceWidth, int nSourceHeight, const PicRect& rect);
    // The destination rectangle DrawPictureInRect uses for rect.
    PicRect DestRect(int nSourceWidth, int nSourceHeight, const PicRect& rect) const;

    // Fills the window's whole area with brush nBrush.
    void Clear(int nBrush);
    void Line(int nPen, int x1, int y1, int x2, int y2);
    // The outline through (x, y), (x + w + 1, y), (x + w + 1, y + h + 1), (x, y + h + 1).
    void FrameBox(int nPen, int x, int y, int nWidth, int nHeight);

    // First free table entry, or -1 with a message when the table is full. A
    // patterned pen wider than 1 or an unknown style is refused with a message;
    // its index is returned and the entry stays free.
    int AddPen(int nStyle, int nWidth, int nRed, int nGreen, int nBlue);
    void RemovePen(int nIndex);
    int AddBrush(int nHatch, int nRed, int nGreen, int nBlue);
    void RemoveBrush(int nIndex);

    // Unbinds the window. Pens and brushes stay until they are removed.
    void Release();

    // Sends the drawing to pPainter (in the window's coordinates) instead of the
    // window's surface, until called again with nullptr. Returns the painter used
    // before. The painter must outlive its use here.
    QPainter* SetPainter(QPainter* pPainter);

    // Stretches a picture into target by plain pixel copy (rows and columns that
    // fall away are dropped, never blended); for printing and other painters.
    static void StretchPicture(QPainter& painter, const QRect& target, const unsigned char* pBits,
                               int nWidth, int nHeight, int nMode = MODE_24BIT);

    bool IsCreated() const { return m_bCreated; }
    int GetDestWidth() const { return m_nDestWidth; }
    int GetDestHeight() const { return m_nDestHeight; }
    // What the window shows.
    const QImage& Surface() const { return m_surface; }

private:
    class CWindowFilter;
    struct CPenEntry {
        std::optional<QPen> pen;
        BkMode mode = BK_OPAQUE;
    };
    struct CBrushEntry {
        std::optional<QBrush> brush;
        BkMode mode = BK_OPAQUE;
    };

    // Runs fnDraw on the current painter with the given background mode, then
    // has the window repaint.
    template <typename Draw>
    void Paint(BkMode mode, Draw fnDraw);
    void DrawStretched(const unsigned char* pBits, int nSourceWidth, int nSourceHeight, const QRect& target);
    const CPenEntry* PenAt(int nIndex) const;
    const CBrushEntry* BrushAt(int nIndex) const;
    void ShowWarning(const char* pszText) const;

    // Window events: shows the surface on repaint, keeps it as large as the window.
    bool OnWindowEvent(QEvent* pEvent);
    void GrowSurface();

    bool m_bCreated = false;
    int m_nMode = MODE_24BIT;
    QPointer<QWidget> m_pWindow;
    std::unique_ptr<CWindowFilter> m_pFilter;
    QImage m_surface;
    QPainter* m_pPainter = nullptr;
    int m_nDestWidth = 0;
    int m_nDestHeight = 0;
    int m_nSourceWidth = 0;
    int m_nSourceHeight = 0;
    std::array<CPenEntry, MAX_COLORTBL> m_pens;
    std::array<CBrushEntry, MAX_BRUSHTBL> m_brushes;
};
