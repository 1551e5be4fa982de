// The canvas driven through mouse and key messages: placing, selecting, moving, resizing and
// nudging items, and what it draws.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <vector>

#include "designer/column_properties_dlg.h"
#include "designer/main_frame.h"
#include "designer/resources.h"
#include "designer_test_support.h"
#include "platform/dialogs/dialog_driver.h"
#include "platform/dialogs/scripted_dialogs.h"
#include "platform/testing/input.h"

namespace {

constexpr COLORREF kFace = 0x00C0C0C0;
constexpr COLORREF kShadow = 0x00808080;
constexpr COLORREF kHighlight = 0x00FFFFFF;
constexpr COLORREF kBlack = 0x00000000;

class CanvasTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_NO_FATAL_FAILURE(ShowFrame(frame));
        client = frame.GetClientRect();
    }

    void Place(UINT tool, POINT at) {
        ASSERT_TRUE(ClickMenuItem(frame, tool));
        SendClick(frame, at);
    }

    void Drag(POINT from, POINT to, UINT modifiers = 0) {
        SendMouseDown(frame, MouseButton::Left, from, modifiers);
        SendMouseMove(frame, to, true, modifiers);
        SendMouseUp(frame, MouseButton::Left, to, modifiers);
    }

    const std::vector<DesignItem>& Items() { return frame.Document().Items(); }
    const DesignItem& Item(size_t i) { return Items().at(i); }

    // Runs the properties dialog on the item under the point with the actions, ending with OK.
    void EditProperties(POINT at, std::function<void(CDialogDriver&)> actions) {
        dialogs->PushMenuChoice(ID_CONTEXT_PROPERTIES);
        dialogs->PushDialog(std::move(actions), IDOK);
        SendMouseDown(frame, MouseButton::Right, at);
    }

    ScopedScriptedDialogs dialogs;
    CMainFrame frame;
    RECT client{};
};

}  // namespace

TEST_F(CanvasTest, FirstColumnOfANewDesignIsSavedWithItsDefaults) {
    Place(ID_CONTROLS_COLUMN, {100, 40});
    ASSERT_EQ(Items().size(), 1U);
    EXPECT_EQ(Item(0).rect, (RECT{100, 40, 180, 63}));
    EXPECT_EQ(frame.Editor().PlacementTool(), 0);

    const auto path = std::filesystem::temp_directory_path() / "qorform_canvas_first.qor";
    dialogs->PushFile(path.string());
    ASSERT_TRUE(ClickMenuItem(frame, ID_FILE_SAVE));
    std::ifstream in(path, std::ios::binary);
    std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)), {});
    std::filesystem::remove(path);
    ASSERT_EQ(bytes.size(), kDesignItemRecordSize);
    const DesignItem saved =
        ReadDesignItemRecord(std::span<const std::uint8_t, kDesignItemRecordSize>(bytes));
    EXPECT_EQ(saved.kind, kColumn);
    EXPECT_EQ(saved.tabOrder, 1);
    EXPECT_EQ(saved.editStyle, 1);
    EXPECT_EQ(saved.maxLength, 255);
    EXPECT_EQ(saved.backColor, 0x00FFFFFF);
    EXPECT_EQ(saved.textColor, 0);
    EXPECT_EQ(saved.justification, 3);
    EXPECT_TRUE(saved.border);
    EXPECT_EQ(saved.name, "");
    EXPECT_EQ(saved.mask, "");
    EXPECT_FALSE(saved.selected || saved.resizeTarget || saved.bold || saved.italic);
}

TEST_F(CanvasTest, EachToolPlacesItsKindByTheOrderingRule) {
    Place(ID_CONTROLS_RECTANGLE, {300, 300});
    Place(ID_CONTROLS_STATICTEXT, {10, 10});
    Place(ID_CONTROLS_ROUNDRECTANGLE, {400, 300});
    Place(ID_CONTROLS_HORIZONTALLINE, {0, 2});
    Place(ID_CONTROLS_VERTICALLINE, {client.right - 1, 200});
    ASSERT_EQ(Items().size(), 5U);
    EXPECT_EQ(Item(0).kind, kVerticalLine);
    EXPECT_EQ(Item(0).rect,
              (RECT{client.right - 6, client.top + 50, client.right, client.bottom - 50}));
    EXPECT_EQ(Item(1).kind, kHorizontalLine);
    EXPECT_EQ(Item(1).rect, (RECT{client.left + 50, 0, client.right - 50, 6}));
    EXPECT_EQ(Item(2).kind, kStaticText);
    EXPECT_EQ(Item(2).rect, (RECT{10, 10, 60, 33}));
    EXPECT_EQ(Item(2).text, "Label:");
    EXPECT_EQ(Item(2).backColor, -1);
    EXPECT_FALSE(Item(2).border);
    EXPECT_EQ(Item(2).tabOrder, -1);
    EXPECT_EQ(Item(3).kind, kRectangle);
    EXPECT_EQ(Item(3).rect, (RECT{300, 300, 400, 350}));
    EXPECT_EQ(Item(4).kind, kRoundRectangle);
    EXPECT_TRUE(Item(4).border);

    Place(ID_CONTROLS_HORIZONTALLINE, {0, client.bottom - 1});
    EXPECT_EQ(Item(0).rect.bottom, client.bottom);
    EXPECT_EQ(Item(0).rect.top, client.bottom - 6);
    Place(ID_CONTROLS_VERTICALLINE, {1, 100});
    EXPECT_EQ(Item(0).rect.left, 0);
    EXPECT_EQ(Item(0).rect.right, 6);
}

TEST_F(CanvasTest, NothingIsPlacedInsideTextOrColumnAndTheReleaseDisarms) {
    Place(ID_CONTROLS_STATICTEXT, {10, 10});
    ASSERT_TRUE(ClickMenuItem(frame, ID_CONTROLS_COLUMN));
    SendMouseDown(frame, MouseButton::Left, {20, 20});
    EXPECT_EQ(Items().size(), 1U);
    EXPECT_EQ(frame.Editor().PlacementTool(), kColumn);
    SendMouseUp(frame, MouseButton::Left, {20, 20});
    EXPECT_EQ(frame.Editor().PlacementTool(), 0);
    EXPECT_FALSE(frame.HasCapture());

    // A rectangle is no obstacle: a column goes inside it.
    Place(ID_CONTROLS_RECTANGLE, {200, 200});
    Place(ID_CONTROLS_COLUMN, {210, 210});
    EXPECT_EQ(Items().size(), 3U);
    EXPECT_EQ(Item(0).kind, kColumn);
}

TEST_F(CanvasTest, ColumnTabOrdersCountFromTheLargest) {
    Place(ID_CONTROLS_COLUMN, {100, 40});
    Place(ID_CONTROLS_COLUMN, {100, 100});
    EXPECT_EQ(Item(0).tabOrder, 2);
    // Deleting column 1 leaves 2 as the largest: the next one gets 3.
    dialogs->PushMenuChoice(ID_CONTEXT_DELETE);
    SendMouseDown(frame, MouseButton::Right, {120, 50});
    Place(ID_CONTROLS_COLUMN, {100, 200});
    EXPECT_EQ(Item(0).tabOrder, 3);
}

TEST_F(CanvasTest, ArmingAToolClearsTheSelection) {
    Place(ID_CONTROLS_RECTANGLE, {100, 100});
    SendClick(frame, {150, 125});
    ASSERT_TRUE(Item(0).selected);
    ASSERT_TRUE(ClickMenuItem(frame, ID_CONTROLS_STATICTEXT));
    EXPECT_FALSE(Item(0).selected);
    EXPECT_EQ(frame.Editor().PlacementTool(), kStaticText);
}

TEST_F(CanvasTest, SelectionSinglyWithControlAndWithABand) {
    Place(ID_CONTROLS_RECTANGLE, {100, 100});
    Place(ID_CONTROLS_RECTANGLE, {300, 100});
    Place(ID_CONTROLS_RECTANGLE, {100, 300});
    SendClick(frame, {150, 125});
    EXPECT_TRUE(Item(0).selected);
    SendClick(frame, {350, 125});
    EXPECT_FALSE(Item(0).selected);
    EXPECT_TRUE(Item(1).selected);
    SendClick(frame, {150, 125}, FCONTROL);
    EXPECT_TRUE(Item(0).selected);
    EXPECT_TRUE(Item(1).selected);
    SendClick(frame, {150, 125}, FCONTROL);
    EXPECT_FALSE(Item(0).selected);

    // A band across part of two rectangles selects exactly those two.
    Drag({50, 50}, {120, 320});
    EXPECT_TRUE(Item(0).selected);
    EXPECT_FALSE(Item(1).selected);
    EXPECT_TRUE(Item(2).selected);
    // A band that touches nothing deselects everything.
    Drag({600, 400}, {620, 420});
    for (const DesignItem& item : Items()) {
        EXPECT_FALSE(item.selected);
    }
}

TEST_F(CanvasTest, BandIsNotDrawnWhileDragging) {
    SendMouseDown(frame, MouseButton::Left, {50, 50});
    SendMouseMove(frame, {200, 200}, true);
    EXPECT_EQ(ReadPixel(frame, 50, 50), kFace);
    EXPECT_EQ(ReadPixel(frame, 200, 120), kFace);
    SendMouseUp(frame, MouseButton::Left, {200, 200});
}

TEST_F(CanvasTest, GroupMoveClampsItemByItemAtTheLeftEdge) {
    Place(ID_CONTROLS_RECTANGLE, {0, 100});
    Place(ID_CONTROLS_RECTANGLE, {200, 100});
    SendClick(frame, {50, 125});
    SendClick(frame, {250, 125}, FCONTROL);
    // Pressing a selected item keeps the whole selection and drags it as a group.
    Drag({250, 125}, {240, 130});
    EXPECT_EQ(Item(0).rect, (RECT{0, 105, 100, 155}));
    EXPECT_EQ(Item(1).rect, (RECT{190, 105, 290, 155}));
    // At the right and bottom edges items stop without changing size.
    Drag({240, 130}, {client.right + 500, client.bottom + 500});
    EXPECT_EQ(Item(1).rect.right, client.right);
    EXPECT_EQ(Item(1).rect.bottom, client.bottom);
    EXPECT_EQ(Item(1).rect.right - Item(1).rect.left, 100);
}

TEST_F(CanvasTest, ResizeDragsKeepAMinimumAndStayInside) {
    Place(ID_CONTROLS_RECTANGLE, {100, 100});  // (100, 100, 200, 150)
    Drag({198, 125}, {10, 125});
    EXPECT_EQ(Item(0).rect.right, 200);  // far left of the left edge: no change
    Drag({198, 125}, {106, 125});
    EXPECT_EQ(Item(0).rect, (RECT{100, 100, 106, 150}));
    Drag({104, 125}, {client.right + 50, 125});
    EXPECT_EQ(Item(0).rect.right, client.right);
    // The press on a zone resizes without changing the selection.
    EXPECT_FALSE(Item(0).selected);
    Drag({101, 148}, {-40, 148});
    EXPECT_EQ(Item(0).rect.left, 0);
    Drag({50, 148}, {50, client.bottom + 10});
    EXPECT_EQ(Item(0).rect.bottom, client.bottom);
    EXPECT_EQ(Item(0).rect.top, 100);
}

TEST_F(CanvasTest, LinesResizeOnlyAlongTheirLength) {
    Place(ID_CONTROLS_HORIZONTALLINE, {0, 200});
    const RECT line = Item(0).rect;
    // The bottom zone of a horizontal line is no handle: the press there starts a move.
    Drag({line.left + 300, line.bottom - 1}, {line.left + 300, line.bottom + 9});
    EXPECT_EQ(Item(0).rect.top, line.top + 10);
    EXPECT_EQ(Item(0).rect.bottom - Item(0).rect.top, 6);
    const RECT moved = Item(0).rect;
    Drag({moved.left + 2, moved.top + 3}, {moved.left + 42, moved.top + 3});
    EXPECT_EQ(Item(0).rect.left, moved.left + 42);  // the left zone: the edge follows
}

TEST_F(CanvasTest, CursorsOverZones) {
    Place(ID_CONTROLS_RECTANGLE, {100, 100});
    Place(ID_CONTROLS_VERTICALLINE, {400, 0});
    const RECT vertical = Item(0).rect;
    const auto cursorAt = [&](POINT p) {
        SendMouseMove(frame, p);
        return frame.GetCursor();
    };
    EXPECT_EQ(cursorAt({198, 125}), IDC_SIZEWE);
    EXPECT_EQ(cursorAt({101, 125}), IDC_SIZEWE);
    EXPECT_EQ(cursorAt({150, 148}), IDC_SIZENS);
    EXPECT_EQ(cursorAt({150, 101}), IDC_SIZENS);
    EXPECT_EQ(cursorAt({150, 125}), IDC_SIZEALL);
    EXPECT_EQ(cursorAt({500, 500}), IDC_ARROW);
    EXPECT_EQ(cursorAt({vertical.left + 3, vertical.top + 100}), IDC_SIZEWE);
    EXPECT_EQ(cursorAt({vertical.left + 3, vertical.bottom - 2}), IDC_SIZENS);
}

TEST_F(CanvasTest, ArrowKeysMoveAndResizeAllOrNothing) {
    Place(ID_CONTROLS_RECTANGLE, {1, 100});
    Place(ID_CONTROLS_RECTANGLE, {300, 100});
    Drag({0, 90}, {310, 110});  // band over both
    SendKey(frame, VK_LEFT);
    EXPECT_EQ(Item(0).rect.left, 0);
    EXPECT_EQ(Item(1).rect.left, 299);
    SendKey(frame, VK_LEFT);  // one item at the edge stops both
    EXPECT_EQ(Item(0).rect.left, 0);
    EXPECT_EQ(Item(1).rect.left, 299);
    SendKey(frame, VK_DOWN);
    SendKey(frame, VK_RIGHT, FSHIFT);
    EXPECT_EQ(Item(0).rect, (RECT{0, 101, 101, 151}));
    EXPECT_EQ(Item(1).rect, (RECT{299, 101, 400, 151}));
}

TEST_F(CanvasTest, ShiftLeftStopsAtThreePixels) {
    Place(ID_CONTROLS_RECTANGLE, {100, 100});
    SendClick(frame, {150, 125});
    for (int press = 0; press < 96; ++press) {
        SendKey(frame, VK_LEFT, FSHIFT);
    }
    ASSERT_EQ(Item(0).rect.right, 104);
    SendKey(frame, VK_LEFT, FSHIFT);
    EXPECT_EQ(Item(0).rect.right - Item(0).rect.left, 3);
    SendKey(frame, VK_LEFT, FSHIFT);
    EXPECT_EQ(Item(0).rect.right - Item(0).rect.left, 3);
    // Growing stops at the client area's right edge.
    DesignItem atEdge = Item(0);
    atEdge.rect = RECT{client.right - 10, 100, client.right, 150};
    OpenList(frame, {atEdge});
    SendKey(frame, VK_RIGHT, FSHIFT);
    SendKey(frame, VK_RIGHT);
    EXPECT_EQ(Item(0).rect, (RECT{client.right - 10, 100, client.right, 150}));
}

TEST_F(CanvasTest, PreviewModeIgnoresTheEditingMessages) {
    Place(ID_CONTROLS_RECTANGLE, {100, 100});
    Place(ID_CONTROLS_COLUMN, {400, 400});
    ASSERT_TRUE(ClickMenuItem(frame, ID_FORM_PREVIEW));
    ASSERT_TRUE(frame.Preview().IsOn());
    SendClick(frame, {150, 125});
    SendKey(frame, VK_LEFT);
    EXPECT_FALSE(Item(1).selected);
    EXPECT_EQ(Item(1).rect.left, 100);
}

TEST_F(CanvasTest, HitTestTakesTheFirstItemInListOrder) {
    Place(ID_CONTROLS_RECTANGLE, {100, 100});
    Place(ID_CONTROLS_STATICTEXT, {110, 110});
    EXPECT_EQ(frame.HitTest({115, 115}), 0);
    EXPECT_EQ(frame.HitTest({190, 140}), 1);
    EXPECT_EQ(frame.HitTest({200, 140}), -1);  // right edge is outside
}

TEST_F(CanvasTest, DrawsEachKind) {
    Place(ID_CONTROLS_RECTANGLE, {100, 100});
    Place(ID_CONTROLS_ROUNDRECTANGLE, {300, 100});
    Place(ID_CONTROLS_ROUNDRECTANGLE, {300, 200});
    Place(ID_CONTROLS_COLUMN, {100, 300});
    Place(ID_CONTROLS_HORIZONTALLINE, {0, 400});
    frame.RepaintAll();

    // Etched rectangle: shadow outside, highlight inside at the top-left corner.
    EXPECT_EQ(ReadPixel(frame, 100, 100), kShadow);
    EXPECT_EQ(ReadPixel(frame, 101, 101), kHighlight);
    // Round rectangle: cut corners, the outline one pixel inside the right and bottom edges.
    EXPECT_EQ(ReadPixel(frame, 300, 100), kFace);
    EXPECT_EQ(ReadPixel(frame, 305, 100), kBlack);
    EXPECT_EQ(ReadPixel(frame, 399, 125), kBlack);
    EXPECT_EQ(ReadPixel(frame, 350, 149), kBlack);
    // Column: white fill inside a sunken edge.
    EXPECT_EQ(ReadPixel(frame, 100, 300), kShadow);
    EXPECT_EQ(ReadPixel(frame, 110, 305), 0x00FFFFFFU);
    // Horizontal line 3 pixels below its top.
    EXPECT_EQ(ReadPixel(frame, 300, 400), kBlack);
    EXPECT_EQ(ReadPixel(frame, 300, 399), kFace);

    // A round rectangle less than 10 pixels high is an etched rectangle.
    SendClick(frame, {350, 225});
    for (int press = 0; press < 41; ++press) {
        SendKey(frame, VK_UP, FSHIFT);
    }
    SendClick(frame, {600, 500});
    ASSERT_EQ(Item(4).rect.bottom, Item(4).rect.top + 9);
    frame.RepaintAll();
    EXPECT_EQ(ReadPixel(frame, 300, 200), kShadow);
    EXPECT_EQ(ReadPixel(frame, 301, 201), kHighlight);
    EXPECT_EQ(ReadPixel(frame, 350, 207), kShadow);
}

TEST_F(CanvasTest, SelectedItemsShowAFocusRectangleInsteadOfTheEdge) {
    Place(ID_CONTROLS_RECTANGLE, {100, 100});
    const COLORREF unselected = ReadPixel(frame, 100, 100);
    SendClick(frame, {150, 125});
    EXPECT_NE(ReadPixel(frame, 100, 100), unselected);
    EXPECT_EQ(ReadPixel(frame, 101, 101), kFace);  // no inner highlight of the edge
    SendClick(frame, {600, 500});
    EXPECT_EQ(ReadPixel(frame, 100, 100), unselected);
}

TEST_F(CanvasTest, UnderlineOnePixelBelowAndColumnShowsItsName) {
    Place(ID_CONTROLS_STATICTEXT, {100, 100});
    EditProperties({110, 110}, [](CDialogDriver& driver) {
        driver.Check(IDC_UNDERLINE, true);
        driver.SetText(IDC_TEXT, "");
    });
    frame.RepaintAll();
    EXPECT_EQ(ReadPixel(frame, 120, 124), kBlack);
    EXPECT_EQ(ReadPixel(frame, 120, 123), kFace);

    Place(ID_CONTROLS_COLUMN, {200, 200});
    EditProperties({210, 210}, [](CDialogDriver& driver) { driver.SetText(IDC_NAME, "WWWW"); });
    frame.RepaintAll();
    bool inked = false;
    for (int x = 203; x < 277 && !inked; ++x) {
        for (int y = 203; y < 220 && !inked; ++y) {
            inked = ReadPixel(frame, x, y) == kBlack;
        }
    }
    EXPECT_TRUE(inked);
}

TEST_F(CanvasTest, ContextMenuOnAnItemOnlyAtTheScreenPoint) {
    Place(ID_CONTROLS_RECTANGLE, {100, 100});
    SendMouseDown(frame, MouseButton::Right, {300, 300});
    EXPECT_TRUE(dialogs->Shown().empty());
    SendMouseDown(frame, MouseButton::Right, {150, 120});
    ASSERT_EQ(dialogs->Shown().size(), 1U);
    const ShownDialog& menu = dialogs->Shown()[0];
    EXPECT_EQ(menu.kind, ShownDialog::Kind::PopupMenu);
    POINT screen{150, 120};
    frame.ClientToScreen(screen);
    EXPECT_EQ(menu.point, screen);
    ASSERT_EQ(menu.menu.size(), 4U);
    EXPECT_EQ(menu.menu[0].text, "Properties");
    EXPECT_EQ(menu.menu[2].text, "Duplicate");
    EXPECT_EQ(menu.menu[3].text, "Delete");
    EXPECT_EQ(frame.Editor().ContextItem(), 0);
}

TEST_F(CanvasTest, DuplicateBelowTheSourceOrAtTheCorner) {
    Place(ID_CONTROLS_COLUMN, {100, 40});
    EditProperties({120, 50}, [](CDialogDriver& driver) {
        driver.SetText(IDC_NAME, "CITY");
        driver.Check(IDC_BOLD, true);
    });
    dialogs->PushMenuChoice(ID_CONTEXT_DUPLICATE);
    SendMouseDown(frame, MouseButton::Right, {120, 50});
    ASSERT_EQ(Items().size(), 2U);
    EXPECT_EQ(Item(0).rect, (RECT{100, 65, 180, 88}));
    EXPECT_EQ(Item(0).name, "CITY");
    EXPECT_FALSE(Item(0).bold);
    EXPECT_EQ(Item(0).tabOrder, 2);

    // Near the bottom edge the copy goes to (0, 0) with the source's size; lines go last.
    Place(ID_CONTROLS_HORIZONTALLINE, {0, client.bottom - 5});
    const RECT line = Item(0).rect;
    dialogs->PushMenuChoice(ID_CONTEXT_DUPLICATE);
    SendMouseDown(frame, MouseButton::Right, {line.left + 100, line.top + 2});
    ASSERT_EQ(Items().size(), 4U);
    EXPECT_EQ(Items().back().rect, (RECT{0, 0, line.right - line.left, line.bottom - line.top}));
    EXPECT_EQ(Items().back().tabOrder, -1);
}

TEST_F(CanvasTest, DeleteKeepsTheOrderAndTabOrdersGoOn) {
    Place(ID_CONTROLS_COLUMN, {100, 40});
    Place(ID_CONTROLS_COLUMN, {100, 100});
    Place(ID_CONTROLS_RECTANGLE, {400, 400});
    dialogs->PushMenuChoice(ID_CONTEXT_DELETE);
    SendMouseDown(frame, MouseButton::Right, {120, 50});  // column 1
    ASSERT_EQ(Items().size(), 2U);
    EXPECT_EQ(Item(0).tabOrder, 2);
    EXPECT_EQ(Item(1).kind, kRectangle);
    EXPECT_EQ(ReadPixel(frame, 100, 40), kFace);
    Place(ID_CONTROLS_COLUMN, {100, 200});
    EXPECT_EQ(Item(0).tabOrder, 3);
}

TEST_F(CanvasTest, PropertiesRepaintsOnlyAfterOk) {
    Place(ID_CONTROLS_COLUMN, {100, 40});
    dialogs->PushMenuChoice(ID_CONTEXT_PROPERTIES);
    dialogs->PushDialog([](CDialogDriver& driver) { driver.SetText(IDC_WIDTH, "40"); }, IDOK);
    SendMouseDown(frame, MouseButton::Right, {120, 50});
    EXPECT_EQ(Item(0).rect, (RECT{100, 40, 180, 80}));
    EXPECT_EQ(ReadPixel(frame, 120, 75), 0x00FFFFFFU);

    // A colour chosen in a cancelled run is stored but shows only at the next repaint.
    dialogs->PushMenuChoice(ID_CONTEXT_PROPERTIES);
    dialogs->PushDialog([](CDialogDriver& driver) { driver.Click(IDC_BACK_COLOR); }, IDCANCEL);
    dialogs->PushColor(0x000000FF);
    SendMouseDown(frame, MouseButton::Right, {120, 50});
    EXPECT_EQ(Item(0).backColor, 0x000000FF);
    EXPECT_EQ(ReadPixel(frame, 120, 60), 0x00FFFFFFU);
    frame.RepaintAll();
    EXPECT_EQ(ReadPixel(frame, 120, 60), 0x000000FFU);
}
