// The printed page the viewer, the search page and the PC file viewer share:
// the print dialog (through the prompter), a document named "Varnel - DVR Image"
// on the chosen printer or PDF file, page units mapped to the printer's
// resolution, the product name at the top in Arial 12 point, then the page's
// own content. A single picture fills the frame at (50, 150), 640 x 480.
#pragma once

#include "platform/prompter.h"
#include "widgets/printsurface.h"

#include <QPoint>

#include <cstdint>
#include <functional>

class CRecordingPrintSurface;
class QImage;

class CPrintPage {
public:
    static constexpr const char* DOCUMENT_NAME = "Varnel - DVR Image";
    static constexpr const char* PRODUCT_NAME = "VX-2200NET";
    static constexpr int TEXT_POINTS = 12;
    static constexpr QPoint PRODUCT_AT {50, 80};
    // The frame a single picture fills: (50, 150), 640 x 480.
    static constexpr PicRect PICTURE_FRAME {50, 150, 690, 630};

    using Compose = std::function<void(CPrintSurface&)>;

    // Asks for a printer and prints one page: the product name at productAt,
    // then what fnCompose draws. False, with nothing printed and nothing said,
    // when the dialog is cancelled or the document cannot be started.
    static bool Print(const Compose& fnCompose, QPoint productAt = PRODUCT_AT);
    // The same without the dialog, into the printer or file request names.
    static bool PrintTo(const CPrompter::PrintRequest& request, const Compose& fnCompose,
                        QPoint productAt = PRODUCT_AT);

    // Arial 12 point and the product name at at.
    static void WriteProductName(CPrintSurface& surface, QPoint at = PRODUCT_AT);
    // A 696 x 232 display picture (blue, green, red) stretched into the frame.
    static void DrawFramePicture(CPrintSurface& surface, const std::uint8_t* pDisplay);
    // A display picture seen as an image, without copying it.
    static QImage DisplayImage(const std::uint8_t* pDisplay);

    // Every call made on a printed page also goes to pRecorder (tests), with
    // the page's mapping; nullptr ends that. Returns the one set before.
    static CRecordingPrintSurface* SetRecorder(CRecordingPrintSurface* pRecorder);
};
