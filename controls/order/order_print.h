// The printed order: the form's furniture on every page, the line items spread over the pages, the
// totals, payment, order and remark boxes.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "controls/order/order_document.h"
#include "platform/gdi/types.h"

class CWnd;

// Everything a page shows, taken from the control when it prints.
struct OrderPrintout {
    int orderType = kInvoice;
    CompanyInfo company;
    std::string orderNoLine;
    std::string shipByDate;
    BoxLines leftBox;
    BoxLines rightBox;
    BoxLines paymentBox;
    // A purchase order's details; an invoice's order box stays empty.
    std::optional<BoxLines> orderBox;
    std::string remark;
    ShownTotals totals;
    COLORREF lineColor = 0;
    // The width of the control's client area, which the paper's distances are scaled from.
    int clientWidth = 0;
};

// Prints on the printer the user picks, as the document "New Print Job". The lines' totals are
// stored in the items as printed. A page too short for the furniture and one row ends the job
// with the document aborted.
void PrintOrder(const OrderPrintout& order, std::vector<LineItem>& items, CWnd* parent);
