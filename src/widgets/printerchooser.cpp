#include "widgets/printerchooser.h"

#include "widgets/cursorlift.h"

#include <QApplication>

#include <algorithm>
#include <QPageLayout>
#include <QPageSize>
#include <QPrintDialog>
#include <QPrinter>

bool CPrinterChooser::Choose(CPrompter::PrintRequest& request)
{
    CCursorLift lift;
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(QString::fromStdString(request.strDocument));
    QPrintDialog dialog(&printer, QApplication::activeWindow());
    // One page, no ranges to choose.
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, false);
    dialog.setOption(QAbstractPrintDialog::PrintSelection, false);
    dialog.setOption(QAbstractPrintDialog::PrintCurrentPage, false);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    return ReadBack(printer, request);
}

bool CPrinterChooser::ReadBack(const QPrinter& printer, CPrompter::PrintRequest& request)
{
    CPrompter::PrintRequest chosen = request;
    if (printer.outputFormat() == QPrinter::PdfFormat) {
        chosen.strOutputFile = printer.outputFileName().toStdString();
        chosen.strPrinter.clear();
    } else {
        chosen.strPrinter = printer.printerName().toStdString();
        chosen.strOutputFile.clear();
    }
    if (chosen.strOutputFile.empty() && chosen.strPrinter.empty())
        return false;
    chosen.nResolution = printer.resolution();
    chosen.nPageSize = static_cast<int>(printer.pageLayout().pageSize().id());
    chosen.bLandscape = printer.pageLayout().orientation() == QPageLayout::Landscape;
    chosen.nCopies = std::max(1, printer.copyCount());
    request = chosen;
    return true;
}
