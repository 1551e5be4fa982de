// Printing the order: the page geometry from the printer, the furniture every page carries, the
// rows and the page breaks.
#include "controls/order/order_print.h"

#include "controls/common/print_job.h"
#include "controls/order/order_drawing.h"
#include "controls/order/order_remark.h"

namespace {

constexpr const char* kDocumentName = "New Print Job";
constexpr const char* kPrintFace = "Arial";
constexpr int kBoldPoints = 14;
constexpr int kNormalPoints = 10;
constexpr UINT kTopLine = DT_LEFT | DT_SINGLELINE | DT_NOPREFIX;
constexpr UINT kTopRightLine = DT_RIGHT | DT_SINGLELINE | DT_NOPREFIX;
constexpr COLORREF kPaper = 0x00FFFFFF;

// The page in device units: the printable area's edges, the column unit f, the scale s of the
// form's pixel distances and the heights of the bold line h1, the normal line h and a box line hc.
struct PageGeometry {
    int left = 0;
    int right = 0;
    int width = 0;
    int top = 0;
    int bottom = 0;
    int middle = 0;
    int f = 0;
    int s = 1;
    int h1 = 0;
    int h = 0;
    int hc = 0;
    // The bottom of the address boxes, the rows' area from rowsTop to rowsBottom, and the line
    // the totals end at, above the payment, order and remark boxes.
    int boxesBottom = 0;
    int rowsTop = 0;
    int rowsBottom = 0;
    int footer = 0;
};

struct PrintFonts {
    CFont bold;
    CFont normal;
};

PageGeometry MeasurePage(CPrintJob& job, const PrintFonts& fonts, int clientWidth) {
    CDC& dc = job.DC();
    PageGeometry g;
    g.left = job.Offset().x;
    g.right = dc.GetDeviceCaps(HORZRES) - job.Offset().x;
    g.width = g.right - g.left;
    g.top = job.Offset().y + 50;
    g.bottom = dc.GetDeviceCaps(VERTRES) - job.Offset().y;
    g.middle = g.left + g.width / 2;
    g.f = g.width / 7;
    // A control too narrow to scale from prints at the printer's own units.
    g.s = clientWidth > 10 ? g.width / (clientWidth - 10) : 1;
    dc.SelectFont(fonts.bold);
    g.h1 = dc.GetTextHeight();
    dc.SelectFont(fonts.normal);
    g.h = dc.GetTextHeight();
    g.hc = dc.GetTextExtentPoint32("City/St/Zip: ").cy;
    const int telephoneBottom = g.top + g.h1 + 3 * g.h;
    g.boxesBottom = telephoneBottom + 3 + 2 * g.h + 6 * g.hc;
    g.rowsTop = g.boxesBottom + 3 * g.hc;
    g.footer = g.bottom - 15 * g.hc;
    g.rowsBottom =
        g.hc > 0 ? g.rowsTop + g.hc * ((g.footer - 4 * g.hc - g.rowsTop) / g.hc) : g.rowsTop;
    return g;
}

void Line(CDC& dc, int x1, int y1, int x2, int y2) {
    dc.MoveTo(x1, y1);
    dc.LineTo(x2, y2);
}

// Text drawn only when it ends above the bottom of the page.
void PageText(CDC& dc, const PageGeometry& g, const std::string& text, RECT rect, UINT format) {
    if (rect.bottom <= g.bottom) {
        dc.DrawText(text, rect, format);
    }
}

class COrderPage {
  public:
    COrderPage(CDC& dc, const OrderPrintout& order, const PageGeometry& g, const PrintFonts& fonts)
        : m_dc(dc), m_order(order), m_g(g), m_fonts(fonts) {}

    void PrintFurniture();
    void PrintRow(LineItem& item, int top);

  private:
    void PrintLetterhead();
    void PrintAddressBoxes();
    void PrintTable();
    void PrintPaymentAndOrderBoxes();
    void PrintRemark(int top);
    // Labelled lines of hc from top, between left and right, the values from the label's left
    // plus labelWidth, right-aligned but on the first line when firstLeft.
    void PrintDetailLines(int left, int right, int top, int labelWidth, const BoxLines& lines,
                          bool firstLeft);
    RECT Column(int column, int top, int bottom) const;

    CDC& m_dc;
    const OrderPrintout& m_order;
    const PageGeometry& m_g;
    const PrintFonts& m_fonts;
};

RECT COrderPage::Column(int column, int top, int bottom) const {
    const int starts[] = {0, 1, 5, 6, 7};
    const int left = m_g.left + starts[column] * m_g.f;       // NOLINT: columns 0 to 3
    const int right = m_g.left + starts[column + 1] * m_g.f;  // NOLINT
    return RECT{column == 0 ? left : left + 1, top, right - 1, bottom};
}

void COrderPage::PrintFurniture() {
    m_dc.SetTextColor(0x00000000);
    m_dc.SetBkMode(OPAQUE);
    m_dc.SetBkColor(kPaper);
    m_dc.SelectPen(CPen{PS_SOLID, 1, m_order.lineColor});
    PrintLetterhead();
    PrintAddressBoxes();
    PrintTable();
    PrintPaymentAndOrderBoxes();
}

void COrderPage::PrintLetterhead() {
    const PageGeometry& g = m_g;
    const CompanyInfo& company = m_order.company;
    m_dc.SelectFont(m_fonts.bold);
    PageText(m_dc, g, company.name, {g.left, g.top, g.middle, g.top + g.h1}, kOrderLeftLine);
    PageText(m_dc, g, m_order.orderNoLine, {g.middle + 10, g.top, g.right, g.top + g.h1},
             kOrderLeftLine);
    m_dc.SelectFont(m_fonts.normal);
    int y = g.top + g.h1;
    PageText(m_dc, g, company.address, {g.left, y, g.middle, y + g.h}, kOrderLeftLine);
    y += g.h;
    PageText(m_dc, g, CityLine(company.city, company.state, company.zipcode),
             {g.left, y, g.middle, y + g.h}, kOrderLeftLine);
    PageText(m_dc, g, "Ship By: " + m_order.shipByDate, {g.middle + 10, y, g.right, y + g.h},
             kOrderLeftLine);
    y += g.h;
    PageText(m_dc, g, company.telephone + "  " + company.fax, {g.left, y, g.middle, y + g.h},
             kOrderLeftLine);
    const int y4 = y + g.h;
    Line(m_dc, g.left, y4 + 3 + g.h / 2, g.right, y4 + 3 + g.h / 2);
    const char* title = m_order.orderType == kPurchaseOrder ? " PURCHASE ORDER " : " INVOICE ";
    PageText(m_dc, g, title, {g.left, y4 + 3, g.right - 100 * g.s, y4 + 3 + g.h}, kTopRightLine);
}

void COrderPage::PrintAddressBoxes() {
    const PageGeometry& g = m_g;
    const int top = g.boxesBottom - 6 * g.hc;
    const RECT leftBox{g.left, top, g.middle, g.boxesBottom};
    const RECT rightBox{g.middle + 10, top, g.right, g.boxesBottom};
    DrawOrderBox(m_dc, leftBox);
    DrawOrderBox(m_dc, rightBox);
    const bool purchase = m_order.orderType == kPurchaseOrder;
    RECT caption{leftBox.left, top, leftBox.right, top + g.hc};
    m_dc.DrawText(purchase ? " Vendor " : " Customer ", caption, kOrderCentredLine);
    if (purchase) {
        caption = RECT{rightBox.left, top, rightBox.right, top + g.hc};
        m_dc.DrawText(" Ship To ", caption, kOrderCentredLine);
    }
    const int labelWidth = m_dc.GetTextExtentPoint32("City/St/Zip: ").cx;
    const OrderBoxText how{0, 0, 20 * g.s, labelWidth + 10 * g.s, kTopLine};
    const int linesTop = top + (g.boxesBottom - 4 * g.hc - top) / 2;
    DrawOrderBoxLines(m_dc, leftBox, linesTop, g.hc, m_order.leftBox, how);
    DrawOrderBoxLines(m_dc, rightBox, linesTop, g.hc, m_order.rightBox, how);
}

void COrderPage::PrintTable() {
    const PageGeometry& g = m_g;
    const int x = g.boxesBottom + g.hc / 2;
    Line(m_dc, g.left, x, g.right, x);
    const char* captions[] = {"Qty", "Description", "Price", "Total"};
    for (int column = 0; column < 4; ++column) {
        RECT cell = Column(column, g.boxesBottom + g.hc + 1, g.boxesBottom + 2 * g.hc + 1);
        m_dc.DrawText(captions[column], cell, kOrderCentredLine);  // NOLINT: a fixed table
    }
    const int underHeader = g.boxesBottom + 2 * g.hc + g.hc / 2;
    Line(m_dc, g.left, underHeader, g.right, underHeader);
    Line(m_dc, g.left, g.rowsBottom, g.right, g.rowsBottom);

    const ShownTotals& totals = m_order.totals;
    const char* labels[] = {"SubTotal:  ", "Shipping Charge:  ", "Tax:  ", "Total:  "};
    const std::string* values[] = {&totals.subtotal, &totals.shippingCharge, &totals.tax,
                                   &totals.total};
    int y = g.rowsBottom + (g.footer - g.rowsBottom - 4 * g.hc) / 2;
    for (int i = 0; i < 4; ++i, y += g.hc) {
        RECT label{g.left, y, g.left + 6 * g.f, y + g.hc};
        m_dc.DrawText(labels[i], label, kOrderRightLine);  // NOLINT: a fixed table
        RECT value = Column(3, y, y + g.hc);
        m_dc.DrawText(*values[i], value, kOrderRightLine);  // NOLINT
    }
    for (const int column : {g.left, g.left + g.f, g.left + 5 * g.f, g.right}) {
        Line(m_dc, column, x, column, g.rowsBottom);
    }
    Line(m_dc, g.left + 6 * g.f, x, g.left + 6 * g.f, g.footer);
    Line(m_dc, g.left, g.footer + g.hc / 2, g.right, g.footer + g.hc / 2);
}

void COrderPage::PrintDetailLines(int left, int right, int top, int labelWidth,
                                  const BoxLines& lines, bool firstLeft) {
    int y = top;
    for (std::size_t i = 0; i < lines.size(); ++i, y += m_g.hc) {
        RECT label{left, y, right, y + m_g.hc};
        m_dc.DrawText(lines[i].label, label, kTopLine);
        RECT value{left + labelWidth, y, right, y + m_g.hc};
        m_dc.DrawText(lines[i].value, value, i == 0 && firstLeft ? kTopLine : kTopRightLine);
    }
}

void COrderPage::PrintPaymentAndOrderBoxes() {
    const PageGeometry& g = m_g;
    const int top = g.footer + 2 * g.hc;
    DrawOrderBox(m_dc, RECT{g.left, top, g.width / 2 - 10, top + 6 * g.hc});
    PrintDetailLines(g.left + 20 * g.s, g.width / 2 - 10 * g.s, top + g.hc,
                     m_dc.GetTextExtentPoint32("Expiration Date: ").cx, m_order.paymentBox, true);
    DrawOrderBox(m_dc, RECT{g.width / 2 + 10, top, g.right, top + 6 * g.hc});
    if (m_order.orderBox) {
        PrintDetailLines(g.width / 2 + 10 + 20 * g.s, g.right - 10 * g.s, top + g.hc,
                         m_dc.GetTextExtentPoint32("Sales Rep: ").cx, *m_order.orderBox, false);
    }
    DrawOrderBox(m_dc, RECT{g.left, top + 7 * g.hc, g.right, top + 13 * g.hc});
    PrintRemark(top);
}

void COrderPage::PrintRemark(int top) {
    const PageGeometry& g = m_g;
    const RECT box{g.left + 20 * g.s, top + 7 * g.hc + 20, g.right - 20 * g.s,
                   top + 13 * g.hc - 20};
    // The remark is broken for the paper only; the document keeps it as the host set it.
    const RemarkLines remark = BreakRemark(m_dc, m_order.remark, box.Width(), box.Height());
    int y = box.top;
    for (const std::string& line : remark.lines) {
        if (y + remark.lineHeight > box.bottom) {
            break;
        }
        RECT rect{box.left, y, box.right, y + remark.lineHeight};
        m_dc.DrawText(line, rect, DT_CENTER | DT_SINGLELINE | DT_NOPREFIX);
        y += remark.lineHeight;
    }
}

void COrderPage::PrintRow(LineItem& item, int top) {
    const int bottom = top + m_g.hc;
    const std::string* texts[] = {&item.Quantity(), &item.description, &item.Price()};
    for (int column = 0; column < 3; ++column) {
        RECT cell = Column(column, top, bottom);
        m_dc.DrawText(*texts[column], cell, kOrderCentredLine);  // NOLINT: a fixed table
    }
    item.total = LineTotalText(item);
    RECT cell = Column(3, top, bottom);
    m_dc.DrawText(item.total, cell, kOrderRightLine);
}

// The context's font and pen as they were before the job, back when it ends.
class CRestoredDrawing {
  public:
    explicit CRestoredDrawing(CDC& dc)
        : m_dc(dc), m_font(dc.GetCurrentFont()), m_pen(dc.GetCurrentPen()) {}
    CRestoredDrawing(const CRestoredDrawing&) = delete;
    CRestoredDrawing& operator=(const CRestoredDrawing&) = delete;
    ~CRestoredDrawing() {
        m_dc.SelectFont(m_font);
        m_dc.SelectPen(m_pen);
    }

  private:
    CDC& m_dc;
    CFont m_font;
    CPen m_pen;
};

// The rows over as many pages as they take; false when the job had to stop.
bool PrintRows(CPrintJob& job, COrderPage& page, const PageGeometry& g,
               std::vector<LineItem>& items) {
    page.PrintFurniture();
    int y = g.rowsTop;
    for (std::size_t i = 0; i < items.size();) {
        if (y + g.hc < g.rowsBottom) {
            page.PrintRow(items[i++], y);
            y += g.hc;
            continue;
        }
        // A page with no room for even one row would be followed by such pages forever.
        if (y == g.rowsTop || !job.EndPage() || !job.StartPage()) {
            return false;
        }
        page.PrintFurniture();
        y = g.rowsTop;
    }
    return true;
}

}  // namespace

void PrintOrder(const OrderPrintout& order, std::vector<LineItem>& items, CWnd* parent) {
    const std::unique_ptr<CPrintJob> job = CPrintJob::Choose(PD_DEFAULTOPTIONS, parent);
    if (!job) {
        return;
    }
    CDC& dc = job->DC();
    const CRestoredDrawing restored(dc);
    dc.SetTextColor(0x00000000);
    const PrintFonts fonts{MakePrintFont(dc, kBoldPoints, kPrintFace, FW_BOLD),
                           MakePrintFont(dc, kNormalPoints, kPrintFace, FW_NORMAL)};
    const PageGeometry geometry = MeasurePage(*job, fonts, order.clientWidth);
    if (!job->StartDoc(kDocumentName)) {
        return;
    }
    if (!job->StartPage()) {
        job->AbortDoc();
        return;
    }
    COrderPage page(dc, order, geometry, fonts);
    if (items.empty() || PrintRows(*job, page, geometry, items)) {
        job->EndDoc();
    } else {
        job->AbortDoc();
    }
}
