// The viewer page's printing: the picture area as it stands on one printed
// page, in the frame below the product name, with each picture's camera, time
// and file size under it.
#include "viewer/viewerdlg.h"

#include "widgets/printpage.h"

#include <QString>

namespace {

// The frame: h = 480 for one picture, 580 for a split, whose rows leave room
// for the captions.
constexpr int FRAME_LEFT = 50;
constexpr int FRAME_TOP = 150;
constexpr int FRAME_WIDTH = 640;
constexpr int FRAME_HEIGHT_SINGLE = 480;
constexpr int FRAME_HEIGHT_SPLIT = 580;
constexpr int LINE_GAP = 2; // the black line beside each grey one

const PrintPen GREY_PEN {QColor(180, 180, 180), 3};
const PrintPen BLACK_PEN {QColor(0, 0, 0), 0};

// Cells on the printed page, per split: the columns' left and right edges and
// the rows' top and bottom edges, in page units.
struct Span {
    int nFrom;
    int nTo;
};
constexpr Span kPrintColumns[4][4] = {
    {{50, 689}},
    {{50, 369}, {372, 689}},
    {{50, 262}, {265, 475}, {478, 688}},
    {{50, 209}, {212, 369}, {372, 529}, {532, 689}},
};
constexpr Span kPrintRows[4][4] = {
    {{150, 631}},
    {{150, 391}, {440, 681}},
    {{150, 311}, {343, 503}, {536, 700}},
    {{150, 271}, {297, 415}, {442, 562}, {586, 703}},
};

// The caption of a cell, per split: its font, and where its two lines start
// relative to the cell's left and bottom edges (one picture: fixed places).
struct Caption {
    int nPoints;
    int nLine1Dy;
    int nLine2Dy;
};
constexpr Caption kCaptions[4] = {{12, 0, 0}, {12, 5, 25}, {7, 5, 15}, {6, 2, 11}};
constexpr int CAPTION_DX = 5;
constexpr int SINGLE_LINE1_Y = 100;
constexpr int SINGLE_LINE2_Y = 120;

int FrameHeight(int nSplit)
{
    return nSplit == 1 ? FRAME_HEIGHT_SINGLE : FRAME_HEIGHT_SPLIT;
}

} // namespace

void CViewerDlg::OnPrint()
{
    PrintPicture();
}

void CViewerDlg::PrintPicture()
{
    if (!m_bInitialised)
        return;
    CPrintPage::Print([this](CPrintSurface& surface) { ComposePrintPage(surface); });
}

PicRect CViewerDlg::PrintCellRect(int nRow, int nColumn, int nSplit)
{
    if (nSplit < 1 || nSplit > 4 || nRow < 0 || nRow >= nSplit || nColumn < 0 || nColumn >= nSplit)
        return {};
    const Span& column = kPrintColumns[nSplit - 1][nColumn];
    const Span& row = kPrintRows[nSplit - 1][nRow];
    return {column.nFrom, row.nFrom, column.nTo, row.nTo};
}

void CViewerDlg::PrintFrame(CPrintSurface& surface, int nSplit)
{
    const int h = FrameHeight(nSplit);
    const int nRight = FRAME_LEFT + FRAME_WIDTH;
    const int nBottom = FRAME_TOP + h;
    surface.SelectPen(GREY_PEN);
    surface.Rectangle(FRAME_LEFT, FRAME_TOP, nRight, nBottom);
    for (int i = 1; i <= nSplit; ++i) {
        const int x = i * (FRAME_WIDTH / nSplit) + FRAME_LEFT;
        const int y = i * (h / nSplit) + FRAME_TOP;
        surface.SelectPen(GREY_PEN);
        surface.Line(x, FRAME_TOP, x, nBottom);
        surface.SelectPen(BLACK_PEN);
        surface.Line(x + LINE_GAP, FRAME_TOP, x + LINE_GAP, nBottom);
        surface.SelectPen(GREY_PEN);
        surface.Line(FRAME_LEFT, y, nRight, y);
        surface.SelectPen(BLACK_PEN);
        surface.Line(FRAME_LEFT, y + LINE_GAP, nRight, y + LINE_GAP);
    }
}

// Slot k's picture in cell (row, column) with its two caption lines: the
// camera and time, and the file size.
void CViewerDlg::PrintCell(CPrintSurface& surface, int nRow, int nColumn, int k) const
{
    const Slot& slot = m_slots[static_cast<std::size_t>(k)];
    const PicRect cell = PrintCellRect(nRow, nColumn, m_nSplit);
    surface.Picture(cell, CPrintPage::DisplayImage(slot.pPicture.get()));
    const QString strLine1 = QString::asprintf("Camera No. %02d  :  ", k + 1) + slot.strTime;
    const QString strLine2 = QString::asprintf("FileSize : %d bytes", slot.nFileSize);
    const Caption& caption = kCaptions[m_nSplit - 1];
    if (m_nSplit == 1) {
        surface.Text(FRAME_LEFT, SINGLE_LINE1_Y, strLine1);
        surface.Text(FRAME_LEFT, SINGLE_LINE2_Y, strLine2);
        return;
    }
    surface.Text(cell.left + CAPTION_DX, cell.bottom + caption.nLine1Dy, strLine1);
    surface.Text(cell.left + CAPTION_DX, cell.bottom + caption.nLine2Dy, strLine2);
}

void CViewerDlg::ComposePrintPage(CPrintSurface& surface) const
{
    if (m_nSplit < 1 || m_nSplit > 4)
        return;
    PrintFrame(surface, m_nSplit);
    surface.SelectFont(kCaptions[m_nSplit - 1].nPoints);
    if (m_bAllCamera) {
        // The screen shows one cell: the camera of the last picture.
        for (int nRow = 0; nRow < m_nSplit; ++nRow) {
            for (int nColumn = 0; nColumn < m_nSplit; ++nColumn) {
                if (m_bAnyPicture && HasPicture(m_nLastPictureCamera))
                    PrintCell(surface, nRow, nColumn, m_nLastPictureCamera);
            }
        }
        return;
    }
    int nFirst = 1;
    while (nFirst <= CAMERA_COUNT && !IsCameraInView(nFirst))
        ++nFirst;
    int m = nFirst;
    for (int nRow = 0; nRow < m_nSplit; ++nRow) {
        for (int nColumn = 0; nColumn < m_nSplit; ++nColumn, ++m) {
            if (m <= CAMERA_COUNT && HasPicture(m - 1) && IsCameraInView(m))
                PrintCell(surface, nRow, nColumn, m - 1);
        }
    }
}
