// The search results page's printing: the large picture in the shared frame
// with its label, or the sheet of the page's thumbnails, six to a row.
#include "search/searchdlg.h"

#include "widgets/printpage.h"

namespace {

constexpr int LABEL_AT_X = 50;
constexpr int LABEL_AT_Y = 100;
// The sheet: thumbnails from (50, 150), 108 apart in a row and 105 between
// rows; the time under each at (+15, +80), the camera at (+25, +90).
constexpr int SHEET_POINTS = 6;
constexpr int SHEET_LEFT = 50;
constexpr int SHEET_TOP = 150;
constexpr int SHEET_DX = 108;
constexpr int SHEET_DY = 105;
constexpr int TIME_DX = 15;
constexpr int TIME_DY = 80;
constexpr int CAMERA_DX = 25;
constexpr int CAMERA_DY = 90;

} // namespace

void CSearchDlg::PrintPage()
{
    CPrintPage::Print([this](CPrintSurface& surface) { ComposePrintPage(surface); });
}

void CSearchDlg::ComposePrintPage(CPrintSurface& surface) const
{
    const int nLanguage = UiLanguage();
    if (m_bLarge) {
        const Thumb& thumb = GetThumb(m_nOpened);
        surface.Text(LABEL_AT_X, LABEL_AT_Y, ThumbLabel(thumb.digits, thumb.nCamera, thumb.bFound != 0, nLanguage));
        if (m_bLargeHasPicture)
            CPrintPage::DrawFramePicture(surface, m_pDisplay.get());
        return;
    }
    surface.SelectFont(SHEET_POINTS);
    for (int j = 0; j < m_nPageCount; ++j) {
        const Thumb& thumb = GetThumb(j);
        const int x = SHEET_LEFT + SHEET_DX * (j % THUMBS_PER_ROW);
        const int y = SHEET_TOP + SHEET_DY * (j / THUMBS_PER_ROW);
        surface.Picture({x, y, x + THUMB_WIDTH, y + THUMB_HEIGHT}, thumb.image);
        surface.Text(x + TIME_DX, y + TIME_DY, ThumbLabel(thumb.digits, thumb.nCamera, false, nLanguage));
        surface.Text(x + CAMERA_DX, y + CAMERA_DY,
                     thumb.bFound ? QStringLiteral("Camera No. %1").arg(thumb.nCamera + 1) : QStringLiteral(" "));
    }
}
