// What a printed page of the file viewer holds: every text and picture with
// its place, in page units (one unit is one screen pixel at 96 per inch,
// mapped to the printer's resolution; the origin is the top left of the
// printable area; a text's place is the top left of its first character).
// Two kinds of page:
//   the picture view: "VX-2200NET" at (50, 80), the picture's caption at
//     (50, 100), the camera at (565, 80), the picture in 640 x 480 at (50, 150);
//   the thumbnail sheet: "VX-2200NET" at (50, 30), the camera at (565, 30), the
//     listed thumbnails six to a row from (50, 90), 108 units apart across and
//     95 down, each caption in 6 points 80 units below the top of its
//     thumbnail and 10 units to the right of its left edge (15 after the first
//     row).
// The page holds copies of the pictures, so it stays whole whatever the page
// that made it does next.
#pragma once

#include <QRect>

class CPrintSurface;
#include <QString>

#include <cstdint>
#include <string>
#include <vector>

class CFilePrintPage {
public:
    static constexpr const char* DOCUMENT_NAME = "Varnel - DVR Image";
    static constexpr const char* PRODUCT_TEXT = "VX-2200NET";
    static constexpr const char* NO_CAMERA_TEXT = "No Camera Selected";
    static constexpr const char* FONT_FAMILY = "Arial";
    static constexpr int TEXT_POINTS = 12;
    static constexpr int CAPTION_POINTS = 6;
    static constexpr int SHEET_COLUMNS = 6;

    struct Text {
        QString strText;
        int x = 0;
        int y = 0;
        int nPoints = TEXT_POINTS;

        bool operator==(const Text&) const = default;
    };
    // A picture of nWidth x nHeight pixels, blue, green, red, top row first,
    // stretched into target by plain pixel copy.
    struct Picture {
        std::vector<std::uint8_t> bits;
        int nWidth = 0;
        int nHeight = 0;
        QRect target;
    };
    // A listed picture as the thumbnail sheet prints it.
    struct Thumbnail {
        const std::uint8_t* pBits = nullptr; // 100 x 75, blue, green, red
        QString strCaption;
    };

    std::string strDocument = DOCUMENT_NAME;
    std::vector<Text> texts;
    std::vector<Picture> pictures;

    // "Camera No.  :   " and the camera list's selected text read as a number
    // ("%02d"); "No Camera Selected" when nothing is selected.
    static QString CameraText(bool bSelected, const QString& strCamera);
    // The caption of the picture at strPath from its file name
    // (yyyymmddhhmmssff.jpg): "mm/dd/yyyy hh:mm:ss - FRAME No. ff" in English
    // (nLanguage 1), "yyyy/mm/dd hh:mm:ss - FRAME No. ff" in Japanese (0).
    // Empty for a path too short to hold such a name.
    static QString PictureCaption(const std::string& strPath, int nLanguage);

    // The page of the picture view: pDisplay is the 696 x 232 display picture
    // of the picture on display, strPath its file.
    static CFilePrintPage PictureSheet(const QString& strCameraText, const std::string& strPath, int nLanguage,
                                       const std::uint8_t* pDisplay);
    // The page of the thumbnail list: every listed picture, in list order.
    static CFilePrintPage ThumbnailSheet(const QString& strCameraText, const std::vector<Thumbnail>& thumbnails);

    // Prints the page through the print dialog: the shared printed page puts
    // the product name where the first text says, this page draws the rest.
    // False, with nothing printed, when the dialog is cancelled.
    bool Print() const;
    // Draws every text but the product name, then every picture.
    void DrawOn(CPrintSurface& surface) const;

private:
    void AddPicture(const std::uint8_t* pBits, int nWidth, int nHeight, const QRect& target);
};
