// The form on the screen: the boxes and captions of each document type, the title's room, the
// totals as shown, the current cell, through the recording device context and the pixels.
#include <gmock/gmock.h>

#include <algorithm>

#include "platform/gdi/recording_dc.h"
#include "tests/controls/order/order_test_support.h"

namespace {

using ::testing::Contains;
using ::testing::IsSupersetOf;
using ::testing::Not;

constexpr COLORREF kNavy = RGB(0, 0, 128);
constexpr COLORREF kWhite = RGB(255, 255, 255);

class OrderFormTest : public OrderTest {
  protected:
    // The form drawn into the recording context at that size.
    std::vector<DcCall> Drawn(int width = kOrderWidth, int height = kOrderHeight) {
        CRecordingDC dc(nullptr, 96, SIZE{width, height});
        Invoke(&OrderState::DrawForm, dc, RECT{0, 0, width, height});
        return dc.CallsOf(DcOp::DrawText);
    }
    std::vector<std::string> Texts(int width = kOrderWidth) {
        std::vector<std::string> texts;
        for (const DcCall& call : Drawn(width)) {
            texts.push_back(call.text);
        }
        return texts;
    }
    // The text drawn last in the rectangle, with its format.
    std::string TextIn(const RECT& rect, UINT& format) {
        const std::vector<DcCall> drawn = Drawn();
        const auto call = std::find_if(drawn.rbegin(), drawn.rend(),
                                       [&](const DcCall& d) { return d.rect == rect; });
        if (call == drawn.rend()) {
            return "(none)";
        }
        format = call->flags;
        return call->text;
    }
};

struct DocumentCase {
    const char* name;
    const char* method;
    std::vector<std::string> shown;
    std::vector<std::string> absent;
};

class OrderDocumentFormTest : public OrderFormTest,
                              public ::testing::WithParamInterface<DocumentCase> {};

TEST_P(OrderDocumentFormTest, ShowsTheBoxesAndCaptionsOfItsType) {
    const DocumentCase& c = GetParam();
    Call("SetShipToInfo", {CComVariant("Dock 4"), CComVariant("3 Pier"), CComVariant("Joliet"),
                           CComVariant("IL"), CComVariant("60431"), CComVariant("555-4")});
    Call(c.method);
    Call("SetOrderNo", {CComVariant("A-1")});
    Call("SetOrderDate", {CComVariant("12/08/2026")});
    const std::vector<std::string> texts = Texts();
    EXPECT_THAT(texts, IsSupersetOf(c.shown));
    for (const std::string& text : c.absent) {
        EXPECT_THAT(texts, Not(Contains(text)));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Documents, OrderDocumentFormTest,
    ::testing::Values(DocumentCase{"Invoice",
                                   "NewInvoice",
                                   {"Invoice#: A-1", " INVOICE ", " Customer ",
                                    "Date: ", "12/08/2026", "Invoice No: ", "A-1",
                                    "Sales Rep: ", "Ship By: ", "City/St/Zip: "},
                                   {" Vendor ", " Ship To ", "Dock 4", "Order No: "}},
                      DocumentCase{"PurchaseOrder",
                                   "NewPurchaseOrder",
                                   {"Purchase Order#: A-1", " PURCHASE ORDER ", " Vendor ",
                                    " Ship To ", "Dock 4", "3 Pier", "Joliet, IL 60431", "555-4"},
                                   {" Customer ", "Invoice No: ", "12/08/2026"}}),
    [](const ::testing::TestParamInfo<DocumentCase>& info) {
        return std::string(info.param.name);
    });

TEST_F(OrderFormTest, TheTitleNeedsMoreThan150PixelsInsideTheFrame) {
    EXPECT_THAT(Texts(160), Not(Contains(" INVOICE ")));
    EXPECT_THAT(Texts(161), Contains(" INVOICE "));
}

struct ShownTotalsCase {
    const char* name;
    std::vector<std::pair<double, double>> lines;  // quantity, price
    double taxRate;
    double shipping;
    std::vector<std::string> shown;  // subtotal, shipping, tax, total
};

class OrderShownTotalsTest : public OrderFormTest,
                             public ::testing::WithParamInterface<ShownTotalsCase> {};

TEST_P(OrderShownTotalsTest, TheShownTotalAddsTheTaxAsShown) {
    const ShownTotalsCase& c = GetParam();
    for (const auto& [quantity, price] : c.lines) {
        AddLine(quantity, "X", price);
    }
    Call("SetTaxInfo", {CComVariant("T"), CComVariant(c.taxRate)});
    Call("SetShippingInfo", {CComVariant("S"), CComVariant("C"), CComVariant(c.shipping)});
    for (std::size_t i = 0; i < 4; ++i) {
        UINT format = 0;
        EXPECT_EQ(TextIn(Member(&OrderState::m_totalsRects).at(i), format), c.shown[i]) << i;
        EXPECT_EQ(format & (DT_RIGHT | DT_SINGLELINE), DT_RIGHT | DT_SINGLELINE);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Totals, OrderShownTotalsTest,
    ::testing::Values(
        ShownTotalsCase{
            "OneLineAtSevenAndAHalf", {{1, 10.25}}, 7.5, 0, {"10.25 ", "0.00 ", "0.77 ", "11.02 "}},
        // The tax 0.005 shows as 0.01, so the shown total is 1.01 where the unrounded one,
        // 1.005, would show 1.00.
        ShownTotalsCase{
            "RoundedTaxMakesTheTotal", {{1, 1}}, 0.5, 0, {"1.00 ", "0.00 ", "0.01 ", "1.01 "}},
        ShownTotalsCase{"NoLines", {}, 5, 4.5, {"0.00 ", "4.50 ", "0.00 ", "4.50 "}}),
    [](const ::testing::TestParamInfo<ShownTotalsCase>& info) {
        return std::string(info.param.name);
    });

TEST_F(OrderFormTest, CountsTheLinesAndShowsEachLinesTotal) {
    AddLine(3, "BOLTS", 0.25);
    AddLine(2, "NUTS", 0.1);
    EXPECT_THAT(Texts(),
                IsSupersetOf({"   Number of Items: 2", "3.00", "BOLTS", "0.25", "0.75 ", "0.20 "}));
}

TEST_F(OrderFormTest, LinesAddedAndDeletedBetweenPaintsShowAsAWholePaintShowsThem) {
    AddLines(10);
    window_->UpdateWindow();
    AddLine(1, "WASHER", 0.05);
    Call("DeleteLineItem", {CComVariant(0)});
    Call("DeleteLineItem", {CComVariant(0)});
    const auto picture = [this] {
        std::vector<COLORREF> pixels;
        for (int y = Member(&OrderState::m_rowsTop); y < kOrderHeight; ++y) {
            for (int x = 0; x < kOrderWidth; x += 2) {
                pixels.push_back(Pixel(x, y));
            }
        }
        return pixels;
    };
    const std::vector<COLORREF> between = picture();
    window_->Invalidate();
    EXPECT_EQ(between, picture());
    EXPECT_THAT(Texts(), Contains("   Number of Items: 9"));
}

TEST_F(OrderFormTest, TheCurrentCellIsHighlightedAndAWideTextShowsItsEnd) {
    AddLine(1, "SHORT", 1);
    const int row = AddLine(1, std::string(120, 'W'), 1);
    ActivateWindow(*window_);
    SendClick(*window_, CellPoint(0, kDescriptionColumn));
    // The top pixel row of each line's description cell, which no glyph reaches.
    const RECT& extent = Member(&OrderState::m_columnRects)[kDescriptionColumn];
    const int firstTop = Member(&OrderState::m_rowsTop);
    const int secondTop = Member(&OrderState::m_rowsTop) + Member(&OrderState::m_rowHeight);
    EXPECT_EQ(Pixel(extent.left + 1, firstTop), kNavy);
    EXPECT_EQ(Pixel(extent.left + 1, secondTop), kWhite);
    EXPECT_EQ(GetCaretInfo().owner, window_);

    SendClick(*window_, CellPoint(row, kDescriptionColumn));
    EXPECT_EQ(Pixel(extent.left + 1, firstTop), kWhite);
    EXPECT_EQ(Pixel(extent.left + 1, secondTop), kNavy);
    const CaretInfo caret = GetCaretInfo();
    EXPECT_TRUE(caret.shown);
    EXPECT_EQ(caret.rect.left, extent.right);
    EXPECT_EQ(caret.rect.top, secondTop);
    UINT format = 0;
    EXPECT_EQ(TextIn(RECT{extent.left, secondTop, extent.right,
                          secondTop + Member(&OrderState::m_rowHeight)},
                     format),
              std::string(120, 'W'));
    EXPECT_EQ(format & (DT_LEFT | DT_RIGHT | DT_CENTER), DT_RIGHT);
}

TEST_F(OrderFormTest, ACurrentLineThatWentIsNotShown) {
    AddLines(2);
    SendClick(*window_, CellPoint(1, kQtyColumn));
    const int x = Member(&OrderState::m_columnRects)[kQtyColumn].left + 1;
    const int top = Member(&OrderState::m_rowsTop) + Member(&OrderState::m_rowHeight);
    ASSERT_EQ(Pixel(x, top), kNavy);
    Call("DeleteLineItem", {CComVariant(1)});
    // The row is cleared at once, and stays clear through a whole paint.
    EXPECT_EQ(Pixel(x, top), kWhite);
    window_->Invalidate();
    EXPECT_EQ(Pixel(x, top), kWhite);
}

}  // namespace
