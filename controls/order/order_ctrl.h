// CQOROrderCtrl: a ready-made invoice or purchase-order form for one document at a time, filled by
// its host, its line items edited in place, its totals computed, drawn and printed.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "controls/common/offscreen_surface.h"
#include "controls/common/ole_control.h"
#include "controls/order/order_document.h"

// The form's default colours.
constexpr COLORREF kOrderBkColor = RGB(255, 255, 255);
constexpr COLORREF kOrderLabelsColor = RGB(0, 0, 128);
constexpr COLORREF kOrderTextColor = RGB(0, 0, 0);
constexpr COLORREF kOrderTotalsColor = RGB(128, 0, 0);

// The table's columns; the Total column is drawn but never current.
enum OrderColumn { kQtyColumn = 0, kDescriptionColumn = 1, kPriceColumn = 2, kTotalColumn = 3 };

class CQOROrderCtrl : public COleControl {
  public:
    CQOROrderCtrl();
    CQOROrderCtrl(const CQOROrderCtrl&) = delete;
    CQOROrderCtrl& operator=(const CQOROrderCtrl&) = delete;
    ~CQOROrderCtrl() override;

    static const ControlClassInfo& ClassInfo();
    static const CDispatchTable<CQOROrderCtrl>& DispatchTable();

    // Automation: the document. Rows outside the line items are ignored.
    std::int32_t AddLineItem();
    void DeleteLineItem(std::int32_t row);
    std::int32_t GetCurrentLineItem() const { return m_currentItem; }
    void NewInvoice();
    void NewPurchaseOrder();
    void Print();
    void SetCompanyInfo(CompanyInfo company);
    const CompanyInfo& GetCompanyInfo() const { return m_company; }
    void SetCustomerInfo(CustomerInfo customer);
    const CustomerInfo& GetCustomerInfo() const { return m_customer; }
    void SetShipToInfo(ShipToInfo shipTo);
    const ShipToInfo& GetShipToInfo() const { return m_shipTo; }
    void SetOrderNo(std::string_view sOrderNo);
    const std::string& GetOrderNo() const { return m_orderNo; }
    void SetOriginalOrderTotal(double total) { m_originalOrderTotal = total; }
    double GetOriginalOrderTotal() const { return m_originalOrderTotal; }
    void SetTaxInfo(std::string_view sTaxCode, double dTaxRate);
    const std::string& GetTaxCode() const { return m_taxCode; }
    double GetTaxRate() const { return m_taxRate; }
    void SetShippingInfo(std::string_view sShipCompany, std::string_view sShipCode,
                         double dShippingCharge);
    const std::string& GetShipCompany() const { return m_shipCompany; }
    const std::string& GetShipCode() const { return m_shipCode; }
    double GetShippingCharge() const { return m_shippingCharge; }
    // The header fields the host sets and reads without a repaint, by name.
    enum class Field {
        ShipByDate,
        PaymentTerm,
        DiscountCode,
        TrackingNo,
        TaxID,
        OrderDate,
        SalesRep,
        ApprovedBy,
        Remark
    };
    void SetField(Field field, std::string_view value);
    const std::string& GetField(Field field) const;
    void SetItemNo(std::int32_t row, std::string_view sItemNo);
    void SetItemDescription(std::int32_t row, std::string_view sDesc);
    void SetItemQuantity(std::int32_t row, double nQty);
    void SetItemPrice(std::int32_t row, double nPrice);
    double GetOrderTotal() const;
    double GetOrderTaxAmount() const;
    double GetOrderSubtotal() const;
    std::int32_t GetLineItemCount() const { return static_cast<std::int32_t>(m_lineItems.size()); }
    // The line's texts; nothing for a row that is not a line.
    std::optional<std::string> GetItemNo(std::int32_t row) const;
    std::optional<std::string> GetItemDescription(std::int32_t row) const;
    std::optional<double> GetItemQuantity(std::int32_t row) const;
    std::optional<double> GetItemPrice(std::int32_t row) const;
    void SetColors(COLORREF bkColor, COLORREF labelsColor, COLORREF textColor,
                   COLORREF totalsColor);

    // Painting: the whole form off-screen, and the rows, cells and totals between paints.
    void OnDraw(CDC& dc, const RECT& bounds, const RECT& invalid) override;
    void OnSize(int cx, int cy) override;

    // Input.
    void OnSetFocus() override;
    void OnKillFocus() override;
    UINT OnGetDlgCode() override;
    bool PreTranslateKey(UINT vk, UINT modifiers) override;
    void OnKeyDown(UINT vk, UINT repeat, UINT flags) override;
    void OnChar(UINT ch, UINT repeat, UINT flags) override;
    void OnLButtonDown(UINT flags, POINT point) override;

  protected:
    // The member of the header field, const as self is.
    template <class Self>
    static auto& FieldOf(Self& self, Field field) {
        switch (field) {
            case Field::ShipByDate:
                return self.m_shipByDate;
            case Field::PaymentTerm:
                return self.m_paymentTerm;
            case Field::DiscountCode:
                return self.m_discountCode;
            case Field::TrackingNo:
                return self.m_trackingNo;
            case Field::TaxID:
                return self.m_taxID;
            case Field::OrderDate:
                return self.m_orderDate;
            case Field::SalesRep:
                return self.m_salesRep;
            case Field::ApprovedBy:
                return self.m_approvedBy;
            case Field::Remark:
                break;
        }
        return self.m_remark;
    }
    bool IsLine(std::int32_t row) const;
    void StartNewDocument(int orderType);
    void Repaint();
    RECT ClientRect() const;
    std::string OrderNoLine() const;
    BoxLines RightBoxLines(bool printed) const;

    // Form layout: the whole form into the context, filling the bounds.
    void DrawForm(CDC& dc, const RECT& bounds);
    void DrawLetterhead(CDC& dc, const RECT& frame, int& telephoneBottom);
    int DrawBoxes(CDC& dc, const RECT& frame, int telephoneBottom);
    void DrawTableAndTotals(CDC& dc, const RECT& frame, int top);
    void DrawItemCount(CDC& dc);

    // Rows, cells and totals, with the layout of the last paint.
    void DrawRows(CDC& dc);
    // withTotals: after a quantity or price, the totals values too.
    void DrawCell(CDC& dc, int item, int column, bool highlight, bool withTotals = true);
    void DrawTotalsValues(CDC& dc);
    // The same straight into the window, when there is one.
    void RedrawRows();
    // Highlighted when it is the current cell.
    void RedrawCell(int item, int column);
    void RedrawCellPlain(int item, int column);
    // A line item's cell after a change: highlighted when current, the line's total cell and the
    // totals too for a quantity or price.
    void RedrawChangedCell(std::int32_t row, int column);
    void ClearRowSlots(CDC& dc, int fromSlot);
    static const std::string& CellText(const LineItem& item, int column);
    // Quantity, description or price.
    static void SetCellText(LineItem& item, int column, std::string text);
    void HideShownCaret();

    // Editing.
    int VisibleLines() const { return m_lastVisibleItem - m_firstVisibleItem + 1; }
    bool HandleKey(UINT vk, bool shift);
    void MoveTo(int item, int column);
    void KeyUp();
    void KeyDown();
    void KeyPageUp();
    void KeyPageDown();
    void TabForward();
    void TabBackward();
    void Backspace();
    void ScrollRowsDown();
    void ScrollRowsUp();
    void ScrollByOne(int delta, int column);
    void TypeIntoCurrentCell(UINT ch);

    // The document.
    int m_orderType = kInvoice;
    std::vector<LineItem> m_lineItems;
    CompanyInfo m_company;
    CustomerInfo m_customer;
    ShipToInfo m_shipTo;
    std::string m_orderNo;
    std::string m_shipByDate;
    std::string m_taxCode;
    double m_taxRate = 0;
    std::string m_shipCompany;
    std::string m_shipCode;
    double m_shippingCharge = 0;
    std::string m_paymentTerm;
    std::string m_discountCode;
    std::string m_trackingNo;
    std::string m_taxID;
    std::string m_paymentBy = "Cash";
    std::string m_accountNo;
    std::string m_expirationDate;
    std::string m_accountName;
    std::string m_orderDate;
    std::string m_salesRep;
    std::string m_shipVia;
    std::string m_approvedBy;
    std::string m_remark;
    double m_originalOrderTotal = 0;
    COLORREF m_bkColor = kOrderBkColor;
    COLORREF m_labelsColor = kOrderLabelsColor;
    COLORREF m_textColor = kOrderTextColor;
    COLORREF m_totalsColor = kOrderTotalsColor;

    // The view: the current cell, the lines shown and the layout of the last paint.
    int m_firstVisibleItem = 0;
    int m_lastVisibleItem = 0;
    int m_currentItem = 0;
    int m_currentColumn = 0;
    int m_rowsTop = 0;
    int m_rowsBottom = 0;
    int m_rowHeight = 12;
    std::array<RECT, 4> m_columnRects{};
    std::array<RECT, 4> m_totalsRects{};
    // Where "Number of Items" is drawn.
    RECT m_itemCountRect{};
    bool m_caretShown = true;

    COffscreenSurface m_surface;
    // The client size the window last had, for the scale of printing.
    std::optional<SIZE> m_createdSize;
};
