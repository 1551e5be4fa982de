// The designer on designs it cannot trust: generated files with extreme values opened, painted
// and edited, paths that hold no design, and edits at the ends of the coordinate and tab ranges.
#include <gtest/gtest.h>

#include <limits>

#include "designer/main_frame.h"
#include "designer/resources.h"
#include "designer_test_support.h"
#include "platform/dialogs/scripted_dialogs.h"
#include "platform/testing/input.h"
#include "tests/design_file_cases.h"
#include "tests/temp_folder.h"

namespace {

constexpr int kMax = std::numeric_limits<int>::max();
constexpr int kLimit = kCoordinateLimit;

class DesignExtremesTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_NO_FATAL_FAILURE(ShowFrame(m_frame, false));
        m_client = m_frame.GetClientRect();
    }

    void Open(const std::string& path) {
        if (m_frame.Document().IsModified()) {
            m_dialogs->PushButton(IDNO);  // the edits of the previous file are not kept
        }
        m_dialogs->PushFile(path);
        ASSERT_TRUE(ClickMenuItem(m_frame, ID_FILE_OPEN));
    }

    void Drag(POINT from, POINT to) {
        SendMouseDown(m_frame, MouseButton::Left, from);
        SendMouseMove(m_frame, to, true);
        SendMouseUp(m_frame, MouseButton::Left, to);
    }

    void Arrows() {
        for (const UINT vk : {VK_LEFT, VK_UP, VK_RIGHT, VK_DOWN}) {
            SendKey(m_frame, vk);
            SendKey(m_frame, vk, FSHIFT);
        }
    }

    // A drag from the item's visible corner, where its handle zones are, then a click and
    // Duplicate in its middle.
    void EditAt(const RECT& rect) {
        RECT shown;
        if (!IntersectRect(shown, rect, m_client)) {
            return;
        }
        const POINT corner{shown.left, shown.top};
        SendMouseMove(m_frame, corner);
        Drag(corner, {corner.x + 9, corner.y - 7});
        const POINT middle{shown.left + (shown.right - shown.left) / 2,
                           shown.top + (shown.bottom - shown.top) / 2};
        SendClick(m_frame, middle, FCONTROL);
        m_dialogs->PushMenuChoice(ID_CONTEXT_DUPLICATE);
        SendMouseDown(m_frame, MouseButton::Right, middle);
    }

    ScopedScriptedDialogs m_dialogs;
    CMainFrame m_frame;
    RECT m_client{};
    TempFolder m_folder;
};

class DesignerRefusesTest : public DesignExtremesTest,
                            public ::testing::WithParamInterface<NotADesign> {};

struct DuplicateCase {
    const char* name;
    RECT source;
    RECT copy;
};

void PrintTo(const DuplicateCase& row, std::ostream* out) {
    *out << row.name;
}

class DuplicateRangeTest : public ::testing::TestWithParam<DuplicateCase> {};

}  // namespace

// A sanitizer build stops at the first arithmetic that overflows; the seed makes any such file
// the same on every run.
TEST_F(DesignExtremesTest, GeneratedFilesWithExtremeValuesOpenPaintAndTakeEdits) {
    CDesignFileGenerator generator(20240612);
    const std::string path = m_folder.File("generated.qor");
    for (int file = 0; file < 200; ++file) {
        SCOPED_TRACE("generated file " + std::to_string(file));
        generator.WriteNext(path);
        Open(path);
        ASSERT_TRUE(m_frame.Document().IsLoaded());
        ASSERT_FALSE(m_frame.Document().Items().empty());
        m_frame.UpdateWindow();
        std::vector<RECT> rects;
        for (const DesignItem& item : m_frame.Document().Items()) {
            rects.push_back(item.rect);
        }
        for (std::size_t i = 0; i < std::min<std::size_t>(rects.size(), 3); ++i) {
            EditAt(rects[i]);
        }
        // Items stored as selected or clicked, then those a band across the canvas takes, move
        // and resize together.
        Arrows();
        Drag({0, 0}, {m_client.right - 1, m_client.bottom - 1});
        Arrows();
        m_dialogs->ClearShown();
    }
}

TEST_P(DesignerRefusesTest, PathsHoldingNoDesignAreRefusedAndTheDesignStays) {
    ASSERT_TRUE(ClickMenuItem(m_frame, ID_FILE_NEW));
    DesignItem kept;
    kept.rect = RECT{10, 10, 60, 33};
    OpenList(m_frame, {kept});
    const auto path = m_folder / "not-a-design.qor";
    ASSERT_TRUE(MakeNotADesign(GetParam(), path));
    Open(path.string());
    ASSERT_EQ(m_dialogs->Shown().size(), 2U);
    EXPECT_EQ(m_dialogs->Shown()[1].text, "Error opening design file.");
    ASSERT_EQ(m_frame.Document().Items().size(), 1U);
    EXPECT_EQ(m_frame.Document().Items()[0], kept);
}

INSTANTIATE_TEST_SUITE_P(NotADesign, DesignerRefusesTest, ::testing::ValuesIn(kNotADesigns),
                         [](const auto& info) { return NotADesignName(info.param); });

TEST_F(DesignExtremesTest, ColumnsAfterTheLargestTabOrderThereIsShareIt) {
    ASSERT_TRUE(ClickMenuItem(m_frame, ID_FILE_NEW));
    DesignItem last;
    last.kind = kColumn;
    last.tabOrder = kMax;
    last.rect = RECT{10, 10, 90, 33};
    OpenList(m_frame, {last});
    ASSERT_TRUE(ClickMenuItem(m_frame, ID_CONTROLS_COLUMN));
    SendClick(m_frame, {100, 100});
    m_dialogs->PushMenuChoice(ID_CONTEXT_DUPLICATE);
    SendMouseDown(m_frame, MouseButton::Right, {20, 20});
    ASSERT_EQ(m_frame.Document().Items().size(), 3U);
    for (const DesignItem& item : m_frame.Document().Items()) {
        EXPECT_EQ(item.tabOrder, kMax);
    }
}

// Copies of copies must not walk out of the range by the source's height.
TEST_P(DuplicateRangeTest, CopiesStayInTheCoordinateRange) {
    DesignItem source;
    source.kind = kRectangle;
    source.rect = GetParam().source;
    EXPECT_EQ(DuplicateItem(source, RECT{0, 0, 800, 600}, Design{}).rect, GetParam().copy);
}

INSTANTIATE_TEST_SUITE_P(
    Sources, DuplicateRangeTest,
    ::testing::Values(DuplicateCase{"TallBelowItself", {0, -kLimit, 50, 500}, {0, 502, 50, kLimit}},
                      DuplicateCase{"UpsideDownBelowItself",
                                    {kLimit, kLimit, -kLimit, -kLimit},
                                    {kLimit, 2 - kLimit, -kLimit, -kLimit}},
                      DuplicateCase{"WideAtTheCorner",
                                    {-kLimit, 595, kLimit, kLimit},
                                    {0, 0, kLimit, kLimit - 595}}),
    [](const auto& info) { return std::string(info.param.name); });
