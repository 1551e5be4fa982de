// One cell of each kind drawn into the recording device context: its rectangle, colours, text
// alignment, drop-down button and check box, exactly.
#include "platform/gdi/recording_dc.h"
#include "tests/controls/grid/grid_test_support.h"

namespace {

constexpr COLORREF kHighlight = 0x00800000;
constexpr COLORREF kCellBack = 0x00E0FFFF;
constexpr COLORREF kCellText = 0x00000080;
constexpr int kWidth = 100;
// Column 0 spans the first 100 pixels: its cells run from 2 to 99, row 0 below the headers.
constexpr RECT kCell{2, kBodyTop + 1, 99, kBodyTop + kGridRowHeight - 1};

struct CellCase {
    const char* name;
    EditStyle style;
    const char* text;
    bool highlight;
    std::vector<DcOp> ops;  // the drawing calls, in order, without the state calls
    UINT textFormat;        // of the DrawText call, when there is one
};

const std::vector<CellCase> kCellCases = {
    {"TextPlain",
     EditStyle::Text,
     "abc",
     false,
     {DcOp::FillSolidRect, DcOp::DrawText},
     DT_LEFT | DT_SINGLELINE | DT_VCENTER},
    {"TextHighlighted",
     EditStyle::Text,
     "abc",
     true,
     {DcOp::FillSolidRect, DcOp::DrawText},
     DT_LEFT | DT_SINGLELINE | DT_VCENTER},
    {"LongTextHighlightedShowsItsEnd",
     EditStyle::Text,
     "a text far wider than its column is",
     true,
     {DcOp::FillSolidRect, DcOp::DrawText},
     DT_RIGHT | DT_SINGLELINE | DT_VCENTER},
    {"LongTextPlainShowsItsStart",
     EditStyle::Text,
     "a text far wider than its column is",
     false,
     {DcOp::FillSolidRect, DcOp::DrawText},
     DT_LEFT | DT_SINGLELINE | DT_VCENTER},
    {"ListWithItsButton",
     EditStyle::List,
     "Paris",
     false,
     {DcOp::FillSolidRect, DcOp::DrawText, DcOp::DrawFrameControl},
     DT_LEFT | DT_SINGLELINE | DT_VCENTER},
    {"CheckBoxTicked",
     EditStyle::CheckBox,
     "y",
     false,
     {DcOp::FillSolidRect, DcOp::FillSolidRect, DcOp::DrawEdge, DcOp::LineTo, DcOp::LineTo},
     0},
    {"CheckBoxEmpty",
     EditStyle::CheckBox,
     "n",
     false,
     {DcOp::FillSolidRect, DcOp::FillSolidRect, DcOp::DrawEdge},
     0},
};

class GridCellLayoutTest : public GridTest, public ::testing::WithParamInterface<CellCase> {};

std::vector<DcOp> DrawingOps(const CRecordingDC& dc) {
    std::vector<DcOp> ops;
    for (const DcCall& call : dc.Calls()) {
        if (call.op != DcOp::SetTextColor && call.op != DcOp::SetBkColor &&
            call.op != DcOp::SetBkMode && call.op != DcOp::SelectPen &&
            call.op != DcOp::SelectFont && call.op != DcOp::MoveTo) {
            ops.push_back(call.op);
        }
    }
    return ops;
}

TEST_P(GridCellLayoutTest, ACellIsDrawnInItsRectangleByItsKind) {
    const CellCase& c = GetParam();
    CComVariant result;
    ASSERT_EQ(InvokeDispatch(control_.Get(), 1, DISPATCH_METHOD,
                             {CComVariant("c"), CComVariant("C"), CComVariant(kWidth),
                              CComVariant(CodeOf(c.style)), CComVariant(40), CComVariant(""),
                              CComVariant(true), CComVariant(true),
                              CComVariant(static_cast<unsigned>(kCellText)),
                              CComVariant(static_cast<unsigned>(kCellBack))},
                             &result),
              S_OK);
    Long("SetCheckBoxCheckedValue", {CComVariant(0), CComVariant("Y")});
    AddRowOf({c.text});
    window_->RedrawWindow();
    window_->UpdateWindow();

    CRecordingDC dc;
    Ctrl().PaintCell(dc, 0, 0, c.highlight, false);
    EXPECT_EQ(DrawingOps(dc), c.ops);
    const DcCall fill = dc.CallsOf(DcOp::FillSolidRect).front();
    EXPECT_EQ(fill.rect, kCell);
    EXPECT_EQ(fill.color, c.highlight ? kHighlight : kCellBack);
    for (const DcCall& text : dc.CallsOf(DcOp::DrawText)) {
        EXPECT_EQ(text.rect, kCell);
        EXPECT_EQ(text.flags, c.textFormat);
        EXPECT_EQ(text.text, c.text);
        EXPECT_EQ(text.textColor, c.highlight ? kWhite : kCellText);
    }
    for (const DcCall& button : dc.CallsOf(DcOp::DrawFrameControl)) {
        const int side = kCell.bottom - kCell.top;
        EXPECT_EQ(button.rect, (RECT{kCell.right - side, kCell.top, kCell.right, kCell.bottom}));
        EXPECT_EQ(button.flags, DFC_SCROLL);
        EXPECT_EQ(button.flags2, DFCS_SCROLLDOWN);
    }
    if (c.style == EditStyle::CheckBox) {
        // A 15-pixel box centred in the cell, white, with a bump edge; the tick from its left.
        const int left = kCell.left + (kCell.right - kCell.left - 15) / 2;
        const int top = kCell.top + (kCell.bottom - kCell.top - 15) / 2;
        const RECT box{left, top, left + 15, top + 15};
        EXPECT_EQ(dc.CallsOf(DcOp::FillSolidRect)[1].rect, box);
        EXPECT_EQ(dc.CallsOf(DcOp::FillSolidRect)[1].color, kWhite);
        EXPECT_EQ(dc.CallsOf(DcOp::DrawEdge).front().rect, box);
        EXPECT_EQ(dc.CallsOf(DcOp::DrawEdge).front().flags, static_cast<UINT>(EDGE_BUMP));
        const std::vector<DcCall> lines = dc.CallsOf(DcOp::LineTo);
        if (!lines.empty()) {
            EXPECT_EQ(lines[0].points,
                      (std::vector<POINT>{{left + 5, top + 15 - 9}, {left + 5, top + 15 - 5}}));
            EXPECT_EQ(lines[1].points.back(), (POINT{left + 15 - 4, top + 4}));
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Kinds, GridCellLayoutTest, ::testing::ValuesIn(kCellCases),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
