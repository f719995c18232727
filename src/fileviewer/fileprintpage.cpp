#include "fileviewer/fileprintpage.h"

#include "widgets/printpage.h"
#include "widgets/printsurface.h"

#include <QImage>

#include "fileviewer/thumbnailmaker.h"
#include "image/vximage.h"

namespace {

// The picture view's page.
constexpr int LEFT = 50;
constexpr int PRODUCT_Y = 80;
constexpr int CAPTION_Y = 100;
constexpr int CAMERA_X = 565;
const QRect PICTURE_FRAME(50, 150, 640, 480);

// The thumbnail sheet.
constexpr int SHEET_TOP_Y = 30;
constexpr int THUMB_LEFT = 50;
constexpr int THUMB_TOP = 90;
constexpr int THUMB_STEP_X = 108;
constexpr int THUMB_STEP_Y = 95;
constexpr int CAPTION_BELOW = 80;
constexpr int CAPTION_RIGHT_FIRST_ROW = 10;
constexpr int CAPTION_RIGHT = 15;

constexpr std::size_t PICTURE_NAME_SIZE = 20; // yyyymmddhhmmssff.jpg

} // namespace

QString CFilePrintPage::CameraText(bool bSelected, const QString& strCamera)
{
    if (!bSelected)
        return QString::fromLatin1(NO_CAMERA_TEXT);
    // The number the text starts with, as the platform reads it: digits up to
    // the first other character, 0 when there are none.
    int nCamera = 0;
    for (QChar ch : strCamera) {
        if (!ch.isDigit() || nCamera > 9999)
            break;
        nCamera = nCamera * 10 + ch.digitValue();
    }
    return QStringLiteral("Camera No.  :   %1").arg(nCamera, 2, 10, QLatin1Char('0'));
}

QString CFilePrintPage::PictureCaption(const std::string& strPath, int nLanguage)
{
    if (strPath.size() < PICTURE_NAME_SIZE)
        return QString();
    const QString strName = QString::fromUtf8(strPath.substr(strPath.size() - PICTURE_NAME_SIZE).c_str());
    const QString strYear = strName.mid(0, 4);
    const QString strDate = nLanguage == 1 ? QStringLiteral("%1/%2/%3").arg(strName.mid(4, 2), strName.mid(6, 2), strYear)
                                           : QStringLiteral("%1/%2/%3").arg(strYear, strName.mid(4, 2), strName.mid(6, 2));
    return QStringLiteral("%1 %2:%3:%4 - FRAME No. %5")
        .arg(strDate, strName.mid(8, 2), strName.mid(10, 2), strName.mid(12, 2), strName.mid(14, 2));
}

void CFilePrintPage::AddPicture(const std::uint8_t* pBits, int nWidth, int nHeight, const QRect& target)
{
    Picture picture;
    picture.bits.assign(pBits, pBits + static_cast<std::size_t>(nWidth) * nHeight * 3);
    picture.nWidth = nWidth;
    picture.nHeight = nHeight;
    picture.target = target;
    pictures.push_back(std::move(picture));
}

CFilePrintPage CFilePrintPage::PictureSheet(const QString& strCameraText, const std::string& strPath, int nLanguage,
                                            const std::uint8_t* pDisplay)
{
    CFilePrintPage page;
    page.texts.push_back({QString::fromLatin1(PRODUCT_TEXT), LEFT, PRODUCT_Y, TEXT_POINTS});
    page.texts.push_back({PictureCaption(strPath, nLanguage), LEFT, CAPTION_Y, TEXT_POINTS});
    page.texts.push_back({strCameraText, CAMERA_X, PRODUCT_Y, TEXT_POINTS});
    if (pDisplay)
        page.AddPicture(pDisplay, CVXImage::DISPLAY_WIDTH, CVXImage::DISPLAY_HEIGHT, PICTURE_FRAME);
    return page;
}

CFilePrintPage CFilePrintPage::ThumbnailSheet(const QString& strCameraText, const std::vector<Thumbnail>& thumbnails)
{
    CFilePrintPage page;
    page.texts.push_back({QString::fromLatin1(PRODUCT_TEXT), LEFT, SHEET_TOP_Y, TEXT_POINTS});
    page.texts.push_back({strCameraText, CAMERA_X, SHEET_TOP_Y, TEXT_POINTS});
    for (std::size_t k = 0; k < thumbnails.size(); ++k) {
        const int nRow = static_cast<int>(k) / SHEET_COLUMNS;
        const int nColumn = static_cast<int>(k) % SHEET_COLUMNS;
        const int x = THUMB_LEFT + THUMB_STEP_X * nColumn;
        const int y = THUMB_TOP + THUMB_STEP_Y * nRow;
        if (thumbnails[k].pBits)
            page.AddPicture(thumbnails[k].pBits, CThumbnailMaker::WIDTH, CThumbnailMaker::HEIGHT,
                            QRect(x, y, CThumbnailMaker::WIDTH, CThumbnailMaker::HEIGHT));
        const int nRight = nRow == 0 ? CAPTION_RIGHT_FIRST_ROW : CAPTION_RIGHT;
        page.texts.push_back({thumbnails[k].strCaption, x + nRight, y + CAPTION_BELOW, CAPTION_POINTS});
    }
    return page;
}

bool CFilePrintPage::Print() const
{
    const bool bProduct = !texts.empty() && texts[0].strText == QLatin1String(PRODUCT_TEXT);
    const QPoint productAt = bProduct ? QPoint(texts[0].x, texts[0].y) : CPrintPage::PRODUCT_AT;
    return CPrintPage::Print([this](CPrintSurface& surface) { DrawOn(surface); }, productAt);
}

void CFilePrintPage::DrawOn(CPrintSurface& surface) const
{
    const std::size_t nFirst = !texts.empty() && texts[0].strText == QLatin1String(PRODUCT_TEXT) ? 1 : 0;
    for (std::size_t i = nFirst; i < texts.size(); ++i) {
        surface.SelectFont(texts[i].nPoints);
        surface.Text(texts[i].x, texts[i].y, texts[i].strText);
    }
    for (const Picture& picture : pictures) {
        if (picture.nWidth <= 0 || picture.nHeight <= 0
            || picture.bits.size() < static_cast<std::size_t>(picture.nWidth) * picture.nHeight * 3)
            continue;
        const QImage image(picture.bits.data(), picture.nWidth, picture.nHeight, picture.nWidth * 3,
                           QImage::Format_BGR888);
        const QRect& r = picture.target;
        surface.Picture(PicRect {r.left(), r.top(), r.left() + r.width(), r.top() + r.height()}, image);
    }
}
