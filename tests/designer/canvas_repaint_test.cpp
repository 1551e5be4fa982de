// What the canvas shows after each kind of edit on a crowded design: only the changed parts are
// repainted, and the window must show exactly what painting the whole canvas afresh shows.
#include <gtest/gtest.h>

#include <functional>
#include <sstream>

#include "designer/column_properties_dlg.h"
#include "designer/resources.h"
#include "designer_test_support.h"
#include "platform/dialogs/dialog_driver.h"
#include "platform/dialogs/scripted_dialogs.h"
#include "platform/testing/input.h"

namespace {

constexpr int kItems = 120;

// Items of every kind piled over the canvas, each overlapping several others, some underlined
// (the underline lies below the item's rectangle); every seventh in list order is selected,
// the first among them. The first item is a static text alone at the bottom right.
std::vector<DesignItem> CrowdedItems() {
    Design design;
    for (int i = 0; i < kItems; ++i) {
        DesignItem item;
        item.kind = 1 + i % 6;
        item.name = "F" + std::to_string(i);
        item.text = "Label " + std::to_string(i);
        item.border = i % 5 != 0;
        item.underline = i % 4 == 0;
        item.tabOrder = item.kind == kColumn ? i : -1;
        const int x = 20 + (i * 37) % 600;
        const int y = 20 + (i * 53) % 420;
        item.rect = RECT{x, y, x + 80, y + 23};
        design.Insert(item);
    }
    DesignItem corner;
    corner.kind = kStaticText;
    corner.text = "Corner";
    corner.rect = RECT{680, 480, 760, 503};
    design.Insert(corner);
    std::vector<DesignItem> items = design.Items();
    for (std::size_t i = 0; i < items.size(); i += 7) {
        items[i].selected = true;
    }
    return items;
}

class CanvasRepaintTest : public ::testing::Test {
  public:
    void SetUp() override {
        ASSERT_NO_FATAL_FAILURE(ShowFrame(frame));
        OpenList(frame, CrowdedItems());
    }

    // A point inside the first item in list order, which a press picks.
    POINT FirstItemPoint() const {
        const RECT& rect = frame.Document().Items()[0].rect;
        return POINT{rect.left + 12, rect.top + 10};
    }

    void DragFirstItem(int dx, int dy) {
        const POINT from = FirstItemPoint();
        SendMouseDown(frame, MouseButton::Left, from);
        for (int step = 1; step <= 3; ++step) {
            SendMouseMove(frame, {from.x + dx * step / 3, from.y + dy * step / 3}, true);
        }
        SendMouseUp(frame, MouseButton::Left, {from.x + dx, from.y + dy});
    }

    std::vector<COLORREF> Shown() {
        frame.UpdateWindow();
        const CBitmap& surface = frame.GetBackingSurface();
        std::vector<COLORREF> pixels;
        pixels.reserve(static_cast<std::size_t>(surface.Width()) *
                       static_cast<std::size_t>(surface.Height()));
        for (int y = 0; y < surface.Height(); ++y) {
            for (int x = 0; x < surface.Width(); ++x) {
                pixels.push_back(surface.GetPixel(x, y));
            }
        }
        return pixels;
    }

    // Compares what the window shows with a fresh paint of the whole canvas; names the first
    // few pixels that differ.
    void ExpectShowsAFullPaint(const std::string& when) {
        const std::vector<COLORREF> shown = Shown();
        frame.RepaintAll();
        const std::vector<COLORREF> painted = Shown();
        ASSERT_EQ(shown.size(), painted.size());
        const int width = frame.GetBackingSurface().Width();
        int differing = 0;
        std::ostringstream first;
        for (std::size_t i = 0; i < shown.size(); ++i) {
            if (shown[i] != painted[i] && ++differing <= 5) {
                first << " (" << static_cast<int>(i) % width << "," << static_cast<int>(i) / width
                      << ")";
            }
        }
        EXPECT_EQ(differing, 0) << when << ": pixels differing from a full paint, first at"
                                << first.str();
    }

    ScopedScriptedDialogs dialogs;
    CMainFrame frame;
};

struct EditCase {
    const char* name;
    std::function<void(CanvasRepaintTest&)> edit;
};

void PrintTo(const EditCase& row, std::ostream* out) {
    *out << row.name;
}

class CanvasEditRepaintTest : public CanvasRepaintTest,
                              public ::testing::WithParamInterface<EditCase> {};

const EditCase kEdits[] = {
    {"SpreadGroupDrag", [](CanvasRepaintTest& t) { t.DragFirstItem(7, 5); }},
    {"GroupDragUp", [](CanvasRepaintTest& t) { t.DragFirstItem(-4, -9); }},
    {"ArrowKeyUp", [](CanvasRepaintTest& t) { SendKey(t.frame, VK_UP); }},
    {"ShiftArrowKeyLeft", [](CanvasRepaintTest& t) { SendKey(t.frame, VK_LEFT, FSHIFT); }},
    {"AlignTops",
     [](CanvasRepaintTest& t) { ASSERT_TRUE(ClickMenuItem(t.frame, ID_FORMAT_ALIGN_TOPS)); }},
    {"Cut", [](CanvasRepaintTest& t) { SendKey(t.frame, 'X', FCONTROL); }},
    {"CopyPaste",
     [](CanvasRepaintTest& t) {
         SendKey(t.frame, 'C', FCONTROL);
         SendKey(t.frame, 'V', FCONTROL);
     }},
    {"SelectAll", [](CanvasRepaintTest& t) { SendKey(t.frame, 'A', FCONTROL); }},
    {"ClickDeselectsTheGroup",
     [](CanvasRepaintTest& t) {
         SendClick(t.frame, {700, 490});
     }},
    {"BandSelection",
     [](CanvasRepaintTest& t) {
         SendMouseDown(t.frame, MouseButton::Left, {5, 5});
         SendMouseMove(t.frame, {300, 200}, true);
         SendMouseUp(t.frame, MouseButton::Left, {300, 200});
     }},
    {"DeleteTheCorner",
     [](CanvasRepaintTest& t) {
         t.dialogs->PushMenuChoice(ID_CONTEXT_DELETE);
         SendMouseDown(t.frame, MouseButton::Right, {700, 490});
     }},
    {"PropertiesUnderline",
     [](CanvasRepaintTest& t) {
         t.dialogs->PushMenuChoice(ID_CONTEXT_PROPERTIES);
         t.dialogs->PushDialog([](CDialogDriver& d) { d.Check(IDC_UNDERLINE, true); }, IDOK);
         SendMouseDown(t.frame, MouseButton::Right, {700, 490});
     }},
};

}  // namespace

// After the edit, its undo and its redo, the window shows what a full paint shows: nothing of
// an item's old place (its underline included) is left, and nothing drawn over the items
// around the changed parts.
TEST_P(CanvasEditRepaintTest, ShowsWhatAFullPaintShows) {
    const std::vector<DesignItem> before = frame.Document().Items();
    GetParam().edit(*this);
    ExpectShowsAFullPaint("after the edit");
    if (!frame.Document().CanUndo()) {
        return;  // a change of the selection only
    }
    ASSERT_NE(frame.Document().Items(), before) << "nothing changed";
    SendKey(frame, 'Z', FCONTROL);
    ExpectShowsAFullPaint("after Undo");
    SendKey(frame, 'Y', FCONTROL);
    ExpectShowsAFullPaint("after Redo");
}

INSTANTIATE_TEST_SUITE_P(Edits, CanvasEditRepaintTest, ::testing::ValuesIn(kEdits),
                         [](const auto& info) { return std::string(info.param.name); });
