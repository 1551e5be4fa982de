// Printer contexts on paper: a PDF file and a system printer, both painted through QPainter.
#pragma once

#include <QPrinter>
#include <memory>
#include <string>

#include "platform/gdi/printer_dc.h"

// Writes each document to the PDF file at `path`. The file appears only when the document
// ends: an aborted or failed document leaves nothing, and an earlier file there stays.
std::unique_ptr<CPrinterDC> CreatePdfPrinterDC(const std::string& path,
                                               const PrinterPage& page = PrinterPage::Letter());

// Prints through the printer as Qt's print dialog set it up; its paper, margins and resolution
// make the device capabilities. Printing to a PDF file keeps the PDF printer's rule above.
std::unique_ptr<CPrinterDC> CreateSystemPrinterDC(std::unique_ptr<QPrinter> printer);

// The sheet, printable area and resolution the printer is set up with.
PrinterPage PageOf(const QPrinter& printer);
