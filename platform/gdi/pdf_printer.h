// The PDF printer: printer contexts that write their documents to a PDF file.
#pragma once

#include <memory>
#include <string>

#include "platform/gdi/printer_dc.h"

// Writes each document to the PDF file at `path`. The file appears only when the document
// ends: an aborted or failed document leaves nothing, and an earlier file there stays.
std::unique_ptr<CPrinterDC> CreatePdfPrinterDC(const std::string& path,
                                               const PrinterPage& page = PrinterPage::Letter());
