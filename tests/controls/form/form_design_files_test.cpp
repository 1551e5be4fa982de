// Design files the form must survive: generated ones with extreme values, opened, painted and
// driven with clicks and keys; paths that hold no design; and items piled on one another.
#include <algorithm>
#include <chrono>

#include "tests/controls/form/form_test_support.h"
#include "tests/design_file_cases.h"

namespace {

constexpr const char* kCustomers = "SELECT * FROM customers";

class FormDesignFilesTest : public FormTest {
  protected:
    bool OpenPath(const std::string& path) {
        return OpenForm(form_.Get(), Connection(), kCustomers, path);
    }

    // The shortest of three opens of the design up to its complete paint.
    std::chrono::duration<double> OpenTime(const std::vector<DesignItem>& items) {
        const std::string path = designs_.Write(items, "timed.qor");
        std::chrono::duration<double> shortest = std::chrono::hours(1);
        for (int run = 0; run < 3; ++run) {
            const auto start = std::chrono::steady_clock::now();
            EXPECT_TRUE(OpenPath(path));
            window_->UpdateWindow();
            shortest = std::min<std::chrono::duration<double>>(
                shortest, std::chrono::steady_clock::now() - start);
        }
        return shortest;
    }
};

class FormRefusesTest : public FormDesignFilesTest,
                        public ::testing::WithParamInterface<NotADesign> {};

// Half of them columns of the query's fields, so that opening fills them from the first record.
std::vector<DesignItem> Items(int count, bool piled) {
    std::vector<DesignItem> items;
    for (int i = 0; i < count; ++i) {
        const int x = (i % 50) * 8;
        const int y = (i / 50) * 7;
        const RECT rect = piled ? RECT{10, 10, 390, 40} : RECT{x, y, x + 8, y + 7};
        items.push_back(i % 2 == 0 ? ColumnItem(i % 4 == 0 ? "name" : "city", rect, i + 1)
                                   : StaticItem(rect, "L" + std::to_string(i)));
    }
    return items;
}

}  // namespace

// A sanitizer build stops at the first arithmetic that overflows; the seed makes any such file
// the same on every run.
TEST_F(FormDesignFilesTest, GeneratedFilesWithExtremeValuesOpenPaintAndTakeInput) {
    CDesignFileGenerator generator(20240611);
    const std::string path = designs_.File("generated.qor");
    for (int file = 0; file < 200; ++file) {
        SCOPED_TRACE("generated file " + std::to_string(file));
        generator.WriteNext(path);
        ASSERT_TRUE(OpenPath(path));
        window_->UpdateWindow();
        for (const POINT at : {POINT{5, 5}, POINT{100, 40}, POINT{200, 150}, POINT{395, 295}}) {
            Click(at);
        }
        for (const UINT vk : {VK_TAB, VK_RIGHT, VK_NEXT, VK_END}) {
            Key(vk);
        }
        Key(VK_TAB, FSHIFT);
        Type("7a");
        Backspace();
        Key(VK_HOME);
    }
}

TEST_P(FormRefusesTest, PathsHoldingNoDesignAreRefusedAndTheOpenFormStays) {
    ASSERT_TRUE(OpenForm({ColumnItem("name", RECT{10, 10, 200, 32}, 1)}));
    const std::optional<std::string> shown = GetItem("name");
    ASSERT_TRUE(shown);
    const auto path = designs_ / "not-a-design.qor";
    ASSERT_TRUE(MakeNotADesign(GetParam(), path));
    EXPECT_FALSE(OpenPath(path.string()));
    EXPECT_EQ(GetItem("name"), shown);
}

INSTANTIATE_TEST_SUITE_P(NotADesign, FormRefusesTest, ::testing::ValuesIn(kNotADesigns),
                         [](const auto& info) { return NotADesignName(info.param); });

// Filling each column from the record used to redraw every item over it: items piled on one
// another took the square of their number to open.
TEST_F(FormDesignFilesTest, PiledItemsOpenAboutAsFastAsSpreadOnes) {
    const auto spread = OpenTime(Items(1000, false));
    const auto piled = OpenTime(Items(1000, true));
    EXPECT_LT(piled.count(), 10 * spread.count())
        << "piled " << piled.count() << " s, spread " << spread.count() << " s";
}
