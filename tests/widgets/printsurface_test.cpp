// The printed page on a real painter: positions mapped to device pixels at the
// printer's resolution, text placed by its top left corner, pictures filling
// their rectangle exactly, thin lines one device pixel wide; and the print
// dialog's answer read back from the printer.
#include "widgets/painterprintsurface.h"
#include "widgets/printerchooser.h"
#include "widgets/qtprompter.h"

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

const QRgb WHITE = qRgb(255, 255, 255);

// The rows of image that hold anything but white, as [first, last].
std::pair<int, int> InkedRows(const QImage& image)
{
    int nFirst = -1;
    int nLast = -1;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (image.pixel(x, y) != WHITE) {
                nFirst = nFirst < 0 ? y : nFirst;
                nLast = y;
                break;
            }
        }
    }
    return {nFirst, nLast};
}

} // namespace

TEST(PrintMapping, UnitsAreScreenPixelsAtTheDevicesResolution)
{
    const CPrintMapping same;
    EXPECT_EQ(same.X(689), 689);
    const CPrintMapping twice(192, 192);
    EXPECT_EQ(twice.X(689), 1378);
    EXPECT_EQ(twice.FontPixels(12), 32);
    const CPrintMapping laser(600, 1200);
    EXPECT_EQ(laser.X(50), 313);   // 312.5 rounded
    EXPECT_EQ(laser.Y(150), 1875);
    // A device that reports nothing usable counts as the screen.
    EXPECT_EQ(CPrintMapping(0, -5), CPrintMapping());
}

TEST(PainterPrintSurface, DrawsAtTheMappedDevicePixels)
{
    QImage page(800, 800, QImage::Format_RGB32);
    page.fill(WHITE);
    QImage red(5, 5, QImage::Format_RGB888);
    red.fill(Qt::red);
    {
        QPainter painter(&page);
        CPainterPrintSurface surface(painter, CPrintMapping(192, 192));
        surface.Picture({10, 10, 60, 40}, red);
        surface.SelectPen({Qt::black, 0});
        surface.Line(10, 150, 300, 150);
        surface.SelectPen({QColor(180, 180, 180), 3});
        surface.Line(10, 200, 300, 200);
    }
    EXPECT_EQ(page.pixel(20, 20), qRgb(255, 0, 0));
    EXPECT_EQ(page.pixel(119, 79), qRgb(255, 0, 0));
    EXPECT_EQ(page.pixel(120, 50), WHITE);
    EXPECT_EQ(page.pixel(50, 80), WHITE);
    EXPECT_EQ(page.pixel(19, 20), WHITE);
    // The thin line is one device pixel, the grey one 3 units = 6 pixels.
    EXPECT_EQ(InkedRows(page.copy(0, 290, 800, 20)), std::make_pair(10, 10));
    const auto grey = InkedRows(page.copy(0, 380, 800, 40));
    EXPECT_EQ(grey.second - grey.first + 1, 6);
}

TEST(PainterPrintSurface, TextHangsBelowItsPoint)
{
    QImage page(600, 300, QImage::Format_RGB32);
    page.fill(WHITE);
    {
        QPainter painter(&page);
        CPainterPrintSurface surface(painter, CPrintMapping(192, 192));
        surface.SelectFont(12);
        surface.Text(50, 80, "VX-2200NET");
    }
    const auto rows = InkedRows(page);
    EXPECT_GE(rows.first, 160);
    EXPECT_LE(rows.second, 160 + 32);
    EXPECT_GT(rows.second - rows.first, 15); // capitals of a 12-point font
}

TEST(PrinterChooser, ReadsWhereThePageGoes)
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName("/tmp/page.pdf");
    printer.setPageSize(QPageSize(QPageSize::A4));
    CPrompter::PrintRequest request;
    request.strDocument = "Varnel - DVR Image";
    ASSERT_TRUE(CPrinterChooser::ReadBack(printer, request));
    EXPECT_EQ(request.strOutputFile, "/tmp/page.pdf");
    EXPECT_TRUE(request.strPrinter.empty());
    EXPECT_EQ(request.nPageSize, static_cast<int>(QPageSize::A4));
    EXPECT_EQ(request.nResolution, printer.resolution());
    EXPECT_EQ(request.strDocument, "Varnel - DVR Image");

    // PDF output without a file name is no answer.
    printer.setOutputFileName("");
    printer.setOutputFormat(QPrinter::PdfFormat);
    request = {};
    EXPECT_FALSE(CPrinterChooser::ReadBack(printer, request));
}

// The dialog opens without any printer installed, and cancelling it is "no".
TEST(PrinterChooser, DialogOpensAndCancels)
{
    bool bSeen = false;
    QTimer::singleShot(0, [&] {
        if (auto* pDialog = qobject_cast<QPrintDialog*>(QApplication::activeModalWidget())) {
            bSeen = true;
            pDialog->reject();
        }
    });
    CQtPrompter prompter;
    CPrompter::PrintRequest request;
    EXPECT_FALSE(prompter.ChoosePrinter(request));
    EXPECT_TRUE(bSeen);
}
