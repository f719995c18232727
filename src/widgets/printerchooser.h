// The print dialog of the program (the Qt prompter's ChoosePrinter): the
// platform's print dialog, which offers every installed printer and, with or
// without any, printing into a PDF file.
#pragma once

#include "platform/prompter.h"

class CPrinterChooser {
public:
    // Shows the dialog in front of the active window. True when it was
    // confirmed with a printer, or with a PDF file named; request then says
    // where the page goes and on what paper.
    static bool Choose(CPrompter::PrintRequest& request);
    // What a confirmed dialog left in printer, as a request; false when it
    // names neither a printer nor an output file.
    static bool ReadBack(const class QPrinter& printer, CPrompter::PrintRequest& request);
};
