#include "widgets/printpage.h"

#include "widgets/painterprintsurface.h"
#include "widgets/recordingprintsurface.h"

#include <QImage>
#include <QPageSize>
#include <QPainter>
#include <QPrinter>
#include <QString>

namespace {

constexpr int DISPLAY_WIDTH = 696;
constexpr int DISPLAY_HEIGHT = 232;

CRecordingPrintSurface* g_pRecorder = nullptr;

// Sends every call to the printer's surface and to the recorder.
class CTeeSurface : public CPrintSurface {
public:
    CTeeSurface(CPrintSurface& first, CPrintSurface& second) : m_first(first), m_second(second) {}

    const CPrintMapping& Mapping() const override { return m_first.Mapping(); }
    void SelectFont(int nPoints) override
    {
        m_first.SelectFont(nPoints);
        m_second.SelectFont(nPoints);
    }
    void SelectPen(const PrintPen& pen) override
    {
        m_first.SelectPen(pen);
        m_second.SelectPen(pen);
    }
    void Text(int x, int y, const QString& strText) override
    {
        m_first.Text(x, y, strText);
        m_second.Text(x, y, strText);
    }
    void Line(int x1, int y1, int x2, int y2) override
    {
        m_first.Line(x1, y1, x2, y2);
        m_second.Line(x1, y1, x2, y2);
    }
    void Rectangle(int nLeft, int nTop, int nRight, int nBottom) override
    {
        m_first.Rectangle(nLeft, nTop, nRight, nBottom);
        m_second.Rectangle(nLeft, nTop, nRight, nBottom);
    }
    void Picture(const PicRect& dest, const QImage& image) override
    {
        m_first.Picture(dest, image);
        m_second.Picture(dest, image);
    }

private:
    CPrintSurface& m_first;
    CPrintSurface& m_second;
};

// The printer the request names: a PDF file, or a printer by name.
void SetUpPrinter(QPrinter& printer, const CPrompter::PrintRequest& request)
{
    printer.setDocName(QString::fromLatin1(CPrintPage::DOCUMENT_NAME));
    if (!request.strOutputFile.empty()) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(QString::fromStdString(request.strOutputFile));
    } else {
        printer.setPrinterName(QString::fromStdString(request.strPrinter));
    }
    if (request.nResolution > 0)
        printer.setResolution(request.nResolution);
    if (request.nPageSize >= 0 && request.nPageSize <= QPageSize::LastPageSize)
        printer.setPageSize(QPageSize(static_cast<QPageSize::PageSizeId>(request.nPageSize)));
    printer.setPageOrientation(request.bLandscape ? QPageLayout::Landscape : QPageLayout::Portrait);
    if (request.nCopies > 1)
        printer.setCopyCount(request.nCopies);
}

} // namespace

bool CPrintPage::Print(const Compose& fnCompose, QPoint productAt)
{
    CPrompter::PrintRequest request;
    request.strDocument = DOCUMENT_NAME;
    if (!GetPrompter().ChoosePrinter(request))
        return false;
    return PrintTo(request, fnCompose, productAt);
}

bool CPrintPage::PrintTo(const CPrompter::PrintRequest& request, const Compose& fnCompose, QPoint productAt)
{
    if (request.strOutputFile.empty() && request.strPrinter.empty())
        return false;
    QPrinter printer(QPrinter::HighResolution);
    SetUpPrinter(printer, request);
    QPainter painter;
    if (!painter.begin(&printer))
        return false;
    const CPrintMapping mapping(printer.logicalDpiX(), printer.logicalDpiY());
    CPainterPrintSurface page(painter, mapping);
    auto compose = [&](CPrintSurface& surface) {
        WriteProductName(surface, productAt);
        if (fnCompose)
            fnCompose(surface);
    };
    if (g_pRecorder) {
        g_pRecorder->SetMapping(mapping);
        CTeeSurface tee(page, *g_pRecorder);
        compose(tee);
    } else {
        compose(page);
    }
    return painter.end();
}

void CPrintPage::WriteProductName(CPrintSurface& surface, QPoint at)
{
    surface.SelectFont(TEXT_POINTS);
    surface.Text(at.x(), at.y(), QString::fromLatin1(PRODUCT_NAME));
}

QImage CPrintPage::DisplayImage(const std::uint8_t* pDisplay)
{
    if (!pDisplay)
        return {};
    return QImage(pDisplay, DISPLAY_WIDTH, DISPLAY_HEIGHT, DISPLAY_WIDTH * 3, QImage::Format_BGR888);
}

void CPrintPage::DrawFramePicture(CPrintSurface& surface, const std::uint8_t* pDisplay)
{
    surface.Picture(PICTURE_FRAME, DisplayImage(pDisplay));
}

CRecordingPrintSurface* CPrintPage::SetRecorder(CRecordingPrintSurface* pRecorder)
{
    CRecordingPrintSurface* pOld = g_pRecorder;
    g_pRecorder = pRecorder;
    return pOld;
}
