// The Edit menu through the window: undo and redo of every kind of change, the clipboard
// between designs, Select All, and the Format commands on the selection.
#include <gtest/gtest.h>

#include <functional>

#include "designer/column_properties_dlg.h"
#include "designer/design_clipboard.h"
#include "designer/resources.h"
#include "designer_test_support.h"
#include "platform/dialogs/dialog_driver.h"
#include "platform/dialogs/scripted_dialogs.h"
#include "platform/testing/input.h"

namespace {

DesignItem Item(ItemKind kind, RECT rect, const std::string& name = {}, int tabOrder = -1) {
    DesignItem item;
    item.kind = kind;
    item.rect = rect;
    item.name = name;
    item.tabOrder = tabOrder;
    item.border = true;
    return item;
}

// A column, a static text and a rectangle, in list order.
std::vector<DesignItem> ThreeItems() {
    return {Item(kColumn, {100, 40, 180, 63}, "CITY", 1), Item(kStaticText, {20, 100, 70, 123}),
            Item(kRectangle, {300, 300, 400, 350})};
}

class EditCommandsTest : public ::testing::Test {
  public:
    void SetUp() override {
        ASSERT_NO_FATAL_FAILURE(ShowFrame(frame));
        OpenList(frame, ThreeItems());
        client = frame.GetClientRect();
    }

    const std::vector<DesignItem>& Items() { return frame.Document().Items(); }

    std::string MenuText(UINT id) {
        for (const MenuItemState& item : OpenMenu(frame, "&Edit")) {
            if (item.id == id) {
                return item.text;
            }
        }
        return "(absent)";
    }

    // A press, several moves and the release: one drag.
    void Drag(POINT from, POINT to) {
        SendMouseDown(frame, MouseButton::Left, from);
        for (int step = 1; step <= 4; ++step) {
            SendMouseMove(
                frame, {from.x + (to.x - from.x) * step / 4, from.y + (to.y - from.y) * step / 4},
                true);
        }
        SendMouseUp(frame, MouseButton::Left, to);
    }

    void Context(UINT command, POINT at) {
        dialogs->PushMenuChoice(command);
        SendMouseDown(frame, MouseButton::Right, at);
    }

    ScopedScriptedDialogs dialogs;
    CMainFrame frame;
    RECT client{};
};

// One kind of change: how the selection is prepared (not a step), and the change itself.
struct ChangeCase {
    const char* name;
    const char* step;
    std::function<void(EditCommandsTest&)> prepare;
    std::function<void(EditCommandsTest&)> change;
};

void PrintTo(const ChangeCase& row, std::ostream* out) {
    *out << row.name;
}

class UndoRedoTest : public EditCommandsTest, public ::testing::WithParamInterface<ChangeCase> {};

const auto kNothing = [](EditCommandsTest&) {};

const ChangeCase kChanges[] = {
    {"Place", "Place",
     [](EditCommandsTest& t) { ASSERT_TRUE(ClickMenuItem(t.frame, ID_CONTROLS_COLUMN)); },
     [](EditCommandsTest& t) {
         SendClick(t.frame, {500, 100});
     }},
    {"MoveDrag", "Move",
     [](EditCommandsTest& t) {
         SendClick(t.frame, {350, 325});
     },
     [](EditCommandsTest& t) {
         t.Drag({350, 325}, {310, 345});
     }},
    {"ResizeDrag", "Resize", kNothing,
     [](EditCommandsTest& t) {
         t.Drag({398, 325}, {450, 325});
     }},
    {"ArrowKey", "Move",
     [](EditCommandsTest& t) {
         SendClick(t.frame, {350, 325});
     },
     [](EditCommandsTest& t) { SendKey(t.frame, VK_RIGHT); }},
    {"ShiftArrowKey", "Resize",
     [](EditCommandsTest& t) {
         SendClick(t.frame, {350, 325});
     },
     [](EditCommandsTest& t) { SendKey(t.frame, VK_DOWN, FSHIFT); }},
    {"Duplicate", "Duplicate", kNothing,
     [](EditCommandsTest& t) {
         t.Context(ID_CONTEXT_DUPLICATE, {120, 50});
     }},
    {"Delete", "Delete", kNothing,
     [](EditCommandsTest& t) {
         t.Context(ID_CONTEXT_DELETE, {30, 110});
     }},
    {"PropertiesOk", "Properties", kNothing,
     [](EditCommandsTest& t) {
         t.dialogs->PushMenuChoice(ID_CONTEXT_PROPERTIES);
         t.dialogs->PushDialog([](CDialogDriver& d) { d.SetText(IDC_NAME, "TOWN"); }, IDOK);
         SendMouseDown(t.frame, MouseButton::Right, {120, 50});
     }},
    {"BackgroundColor", "Background Color", kNothing,
     [](EditCommandsTest& t) {
         t.dialogs->PushColor(0x00336699);
         ASSERT_TRUE(ClickMenuItem(t.frame, ID_FORM_SETBACKGROUNDCOLOR));
     }},
    {"Paste", "Paste",
     [](EditCommandsTest& t) {
         SendClick(t.frame, {350, 325});
         SendKey(t.frame, 'C', FCONTROL);
         SendClick(t.frame, {600, 500});
     },
     [](EditCommandsTest& t) { SendKey(t.frame, 'V', FCONTROL); }},
    {"Cut", "Cut",
     [](EditCommandsTest& t) {
         SendClick(t.frame, {120, 50});
     },
     [](EditCommandsTest& t) { SendKey(t.frame, VK_DELETE, FSHIFT); }},
    {"AlignLefts", "Align Lefts",
     [](EditCommandsTest& t) {
         SendClick(t.frame, {120, 50});
         SendClick(t.frame, {30, 110}, FCONTROL);
     },
     [](EditCommandsTest& t) { ASSERT_TRUE(ClickMenuItem(t.frame, ID_FORMAT_ALIGN_LEFTS)); }},
};

}  // namespace

// Each change is one step: one Undo brings back the exact records and the background it found,
// one Redo the records it made; the menu names the step.
TEST_P(UndoRedoTest, OneStepRestoresTheExactRecords) {
    GetParam().prepare(*this);
    const std::vector<DesignItem> before = Items();
    const COLORREF backgroundBefore = frame.Document().BackgroundColor();
    GetParam().change(*this);
    const std::vector<DesignItem> after = Items();
    const COLORREF backgroundAfter = frame.Document().BackgroundColor();
    ASSERT_TRUE(after != before || backgroundAfter != backgroundBefore) << "nothing changed";
    EXPECT_EQ(MenuText(ID_EDIT_UNDO), std::string("&Undo ") + GetParam().step + "\tCtrl+Z");

    SendKey(frame, 'Z', FCONTROL);
    EXPECT_EQ(Items(), before);
    EXPECT_EQ(frame.Document().BackgroundColor(), backgroundBefore);
    EXPECT_EQ(ReadPixel(frame, 5, 5), backgroundBefore);
    EXPECT_EQ(MenuText(ID_EDIT_UNDO), "&Undo\tCtrl+Z");
    EXPECT_EQ(MenuText(ID_EDIT_REDO), std::string("&Redo ") + GetParam().step + "\tCtrl+Y");

    SendKey(frame, 'Y', FCONTROL);
    EXPECT_EQ(Items(), after);
    EXPECT_EQ(frame.Document().BackgroundColor(), backgroundAfter);
    // The second keys of both commands.
    SendKey(frame, VK_BACK, FALT);
    EXPECT_EQ(Items(), before);
    SendKey(frame, 'Z', FCONTROL | FSHIFT);
    EXPECT_EQ(Items(), after);
    EXPECT_EQ(MenuText(ID_EDIT_REDO), "&Redo\tCtrl+Y");
}

INSTANTIATE_TEST_SUITE_P(Changes, UndoRedoTest, ::testing::ValuesIn(kChanges),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(EditCommandsTest, UndoGoesBackStepByStepAndANewStepDropsTheRedo) {
    const std::vector<DesignItem> start = Items();
    Context(ID_CONTEXT_DELETE, {30, 110});
    SendClick(frame, {350, 325});
    SendKey(frame, VK_LEFT);
    SendKey(frame, VK_LEFT);
    SendKey(frame, 'Z', FCONTROL);
    SendKey(frame, 'Z', FCONTROL);
    EXPECT_EQ(MenuText(ID_EDIT_UNDO), "&Undo Delete\tCtrl+Z");
    SendKey(frame, VK_UP);
    EXPECT_EQ(MenuText(ID_EDIT_REDO), "&Redo\tCtrl+Y");
    SendKey(frame, 'Z', FCONTROL);
    SendKey(frame, 'Z', FCONTROL);
    EXPECT_EQ(Items().size(), start.size());
    EXPECT_EQ(Items()[1], start[1]);
    // Nothing left to undo: the command does nothing.
    SendKey(frame, 'Z', FCONTROL);
    EXPECT_EQ(Items().size(), start.size());
}

TEST_F(EditCommandsTest, NewAndOpenClearTheHistoryAndPreviewAddsNothing) {
    ASSERT_TRUE(ClickMenuItem(frame, ID_FORM_PREVIEW));  // fails to connect: says so once
    TypeText(frame, "ab");
    ASSERT_TRUE(ClickMenuItem(frame, ID_FORM_PREVIEW));
    EXPECT_EQ(MenuText(ID_EDIT_UNDO), "&Undo\tCtrl+Z");
    EXPECT_FALSE(frame.Document().IsModified());

    Context(ID_CONTEXT_DELETE, {30, 110});
    dialogs->PushButton(IDNO);
    ASSERT_TRUE(ClickMenuItem(frame, ID_FILE_NEW));
    EXPECT_EQ(MenuText(ID_EDIT_UNDO), "&Undo\tCtrl+Z");
    EXPECT_EQ(MenuText(ID_EDIT_REDO), "&Redo\tCtrl+Y");

    ASSERT_TRUE(ClickMenuItem(frame, ID_CONTROLS_RECTANGLE));
    SendClick(frame, {100, 100});
    OpenList(frame, ThreeItems());
    SendKey(frame, 'Z', FCONTROL);
    EXPECT_EQ(Items(), ThreeItems());
}

// Every field survives Cut and Paste; a design in another window takes the items as well, and
// other programs get one line of text per item.
TEST_F(EditCommandsTest, CutAndPasteKeepEveryFieldAcrossDesigns) {
    DesignItem full = Item(kColumn, {100, 40, 180, 63}, "AMOUNT", 1);
    full.text = "12.50";
    full.mask = "##/##";
    full.editStyle = 4;
    full.wholeDigits = 5;
    full.decimalDigits = 2;
    full.maxLength = 12;
    full.backColor = 0x000000FF;
    full.textColor = 0x00FF0000;
    full.justification = 2;
    full.bold = full.underline = full.italic = true;
    full.border = false;
    OpenList(frame, {full, Item(kRectangle, {300, 300, 400, 350})});
    SendClick(frame, {120, 50});
    SendKey(frame, 'X', FCONTROL);
    ASSERT_EQ(Items().size(), 1U);
    const auto text = GetClipboardData("text/plain");
    ASSERT_TRUE(text.has_value());
    EXPECT_EQ(std::string(text->begin(), text->end()), "Column\tAMOUNT\t12.50\t100,40,180,63\n");

    // The first paste after a cut puts the items back where they were.
    SendKey(frame, VK_INSERT, FSHIFT);
    ASSERT_EQ(Items().size(), 2U);
    DesignItem expected = full;
    expected.selected = true;
    EXPECT_EQ(Items()[0], expected);

    CMainFrame other;
    ASSERT_TRUE(other.LoadFrame(IDR_MAINFRAME, WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE));
    other.ShowWindow(SW_SHOWNORMAL);
    ASSERT_TRUE(ClickMenuItem(other, ID_FILE_NEW));
    ASSERT_TRUE(ClickMenuItem(other, ID_EDIT_PASTE));
    ASSERT_EQ(other.Document().Items().size(), 1U);
    EXPECT_EQ(other.Document().Items()[0], expected);
}

// Pasted copies land offset from their sources but never off the canvas, selected alone, by the
// ordering rule, with tab orders after the design's largest.
TEST_F(EditCommandsTest, PasteOffsetsClampsSelectsAndNumbersTheColumns) {
    const RECT corner{client.right - 50, client.bottom - 20, client.right, client.bottom};
    OpenList(frame, {Item(kColumn, {100, 40, 180, 63}, "B", 2),
                     Item(kColumn, {100, 80, 180, 103}, "A", 1), Item(kRectangle, corner)});
    ASSERT_TRUE(ClickMenuItem(frame, ID_EDIT_SELECT_ALL));
    for (const DesignItem& item : Items()) {
        EXPECT_TRUE(item.selected);
    }
    SendKey(frame, VK_INSERT, FCONTROL);
    SendKey(frame, 'V', FCONTROL);
    SendKey(frame, 'V', FCONTROL);
    ASSERT_EQ(Items().size(), 9U);
    // Newest first: the second paste's columns, then the first's, then the originals.
    EXPECT_EQ(Items()[0].rect, (RECT{120, 60, 200, 83}));
    EXPECT_EQ(Items()[2].rect, (RECT{110, 50, 190, 73}));
    EXPECT_EQ(Items()[0].tabOrder, 6);  // B after A, as they were
    EXPECT_EQ(Items()[1].tabOrder, 5);
    EXPECT_EQ(Items()[2].tabOrder, 4);
    EXPECT_EQ(Items()[3].tabOrder, 3);
    for (size_t i = 0; i < Items().size(); ++i) {
        EXPECT_EQ(Items()[i].selected, i < 2 || i == 8) << i;
    }
    EXPECT_EQ(Items()[6].kind, kRectangle);
    EXPECT_EQ(Items()[7].rect, corner);  // held at the corner by the canvas's edges
    EXPECT_EQ(Items()[8].rect, corner);
}

TEST_F(EditCommandsTest, CommandsWithoutASelectionChangeNothing) {
    for (const UINT id : {ID_EDIT_CUT, ID_EDIT_COPY, ID_FORMAT_ALIGN_LEFTS, ID_FORMAT_SPACE_DOWN}) {
        ASSERT_TRUE(ClickMenuItem(frame, id)) << id;
    }
    EXPECT_EQ(Items(), ThreeItems());
    EXPECT_FALSE(frame.Document().IsModified());
}

struct FormatCase {
    const char* name;
    FormatCommand command;
    std::vector<RECT> rects;
    std::vector<RECT> expected;
};

class FormatRulesTest : public ::testing::TestWithParam<FormatCase> {};

TEST_P(FormatRulesTest, RectanglesAfterTheCommand) {
    EXPECT_EQ(FormatRects(GetParam().command, GetParam().rects, RECT{0, 0, 784, 539}),
              GetParam().expected);
}

// A text 50 wide above a column 80 wide and a frame 100 x 50 beside both.
const std::vector<RECT> kMixed = {{20, 100, 70, 123}, {100, 40, 180, 63}, {300, 10, 400, 60}};

INSTANTIATE_TEST_SUITE_P(
    Commands, FormatRulesTest,
    ::testing::Values(
        FormatCase{"AlignLefts",
                   FormatCommand::AlignLefts,
                   kMixed,
                   {{20, 100, 70, 123}, {20, 40, 100, 63}, {20, 10, 120, 60}}},
        FormatCase{"AlignRights",
                   FormatCommand::AlignRights,
                   kMixed,
                   {{350, 100, 400, 123}, {320, 40, 400, 63}, {300, 10, 400, 60}}},
        FormatCase{"AlignTops",
                   FormatCommand::AlignTops,
                   kMixed,
                   {{20, 10, 70, 33}, {100, 10, 180, 33}, {300, 10, 400, 60}}},
        FormatCase{"AlignBottoms",
                   FormatCommand::AlignBottoms,
                   kMixed,
                   {{20, 100, 70, 123}, {100, 100, 180, 123}, {300, 73, 400, 123}}},
        FormatCase{"AlignCenters",
                   FormatCommand::AlignCenters,
                   kMixed,
                   {{185, 100, 235, 123}, {170, 40, 250, 63}, {160, 10, 260, 60}}},
        FormatCase{"AlignMiddles",
                   FormatCommand::AlignMiddles,
                   kMixed,
                   {{20, 55, 70, 78}, {100, 55, 180, 78}, {300, 41, 400, 91}}},
        FormatCase{"SameWidth",
                   FormatCommand::SameWidth,
                   kMixed,
                   {{20, 100, 120, 123}, {100, 40, 200, 63}, {300, 10, 400, 60}}},
        FormatCase{"SameSize",
                   FormatCommand::SameSize,
                   kMixed,
                   {{20, 100, 120, 150}, {100, 40, 200, 90}, {300, 10, 400, 60}}},
        FormatCase{"SpaceAcross",
                   FormatCommand::SpaceAcross,
                   kMixed,
                   {{20, 100, 70, 123}, {145, 40, 225, 63}, {300, 10, 400, 60}}},
        FormatCase{"SpaceDownUnevenGaps",
                   FormatCommand::SpaceDown,
                   {{0, 0, 10, 10}, {0, 11, 10, 21}, {0, 31, 10, 41}, {0, 40, 10, 50}},
                   {{0, 0, 10, 10}, {0, 13, 10, 23}, {0, 26, 10, 36}, {0, 40, 10, 50}}},
        // Grown items stop at the canvas's edges; a single item stays as it is.
        FormatCase{"SameHeightAtTheBottomEdge",
                   FormatCommand::SameHeight,
                   {{0, 520, 10, 530}, {20, 0, 30, 100}},
                   {{0, 520, 10, 539}, {20, 0, 30, 100}}},
        FormatCase{"OneItem", FormatCommand::AlignRights, {{5, 5, 10, 10}}, {{5, 5, 10, 10}}},
        FormatCase{"SpacingTwo",
                   FormatCommand::SpaceAcross,
                   {{0, 0, 5, 5}, {50, 0, 60, 5}},
                   {{0, 0, 5, 5}, {50, 0, 60, 5}}}),
    [](const auto& info) { return std::string(info.param.name); });

// A column of fields aligned in one command, taken back in one step.
TEST_F(EditCommandsTest, FormatActsOnTheSelectionOnly) {
    SendClick(frame, {120, 50});
    SendClick(frame, {350, 325}, FCONTROL);
    ASSERT_TRUE(ClickMenuItem(frame, ID_FORMAT_ALIGN_TOPS));
    EXPECT_EQ(Items()[0].rect, (RECT{100, 40, 180, 63}));
    EXPECT_EQ(Items()[2].rect, (RECT{300, 40, 400, 90}));
    EXPECT_EQ(Items()[1].rect, ThreeItems()[1].rect);
    ASSERT_TRUE(ClickMenuItem(frame, ID_EDIT_UNDO));
    EXPECT_EQ(Items()[2].rect, ThreeItems()[2].rect);
}

// A design past the record limit of design files could be saved but never opened again.
TEST_F(EditCommandsTest, APasteBeyondTheDesignFileLimitIsRefused) {
    const DesignItemRecord record = WriteDesignItemRecord(ThreeItems()[2]);
    std::vector<std::uint8_t> records;
    records.reserve(record.size() * kMaxDesignRecords);
    for (std::size_t i = 0; i < kMaxDesignRecords; ++i) {
        records.insert(records.end(), record.begin(), record.end());
    }
    ASSERT_TRUE(SetClipboardData({ClipboardFormat{kDesignItemsMimeType, std::move(records)}}));
    const unsigned beeps = MessageBeepCount();
    SendKey(frame, 'V', FCONTROL);
    EXPECT_EQ(Items(), ThreeItems());
    EXPECT_EQ(MessageBeepCount(), beeps + 1);
}
