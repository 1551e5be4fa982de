// Design files the form must survive: generated ones with extreme values, opened, painted and
// driven with clicks and keys, and paths that hold no design.
#include "tests/controls/form/form_test_support.h"
#include "tests/design_file_cases.h"

namespace {

constexpr const char* kCustomers = "SELECT * FROM customers";

class FormDesignFilesTest : public FormTest {
  protected:
    bool OpenPath(const std::string& path) {
        return OpenForm(form_.Get(), Connection(), kCustomers, path);
    }
};

class FormRefusesTest : public FormDesignFilesTest,
                        public ::testing::WithParamInterface<NotADesign> {};

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
