// The "New Row..." window run modally over an owner and driven by real keys and clicks: layout on
// the screen, line scrolling, Enter, OK and Cancel, typing by edit style, and what it paints.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "controls/grid/input_dialog_wnd.h"
#include "platform/testing/input.h"
#include "platform/ui/modal_loop.h"

namespace {

constexpr COLORREF kBack = 0x00E0E0E0;
constexpr COLORREF kTitle = 0x00008000;
constexpr COLORREF kFieldBack = 0x00FFFFFF;
constexpr COLORREF kBlack = 0x00000000;
constexpr COLORREF kWhite = 0x00FFFFFF;

POINT Centre(const RECT& rc) {
    return POINT{(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2};
}

InputField Field(std::string key, int width = 100, EditStyle style = EditStyle::Text) {
    InputField field;
    field.key = std::move(key);
    field.width = width;
    field.editStyle = style;
    field.maxSize = 20;
    field.backColor = kFieldBack;
    return field;
}

// Text is drawn smoothed: its strokes come near its colour without all being exactly it.
bool IsNear(COLORREF colour, COLORREF wanted) {
    for (int shift = 0; shift < 24; shift += 8) {
        const int a = static_cast<int>((colour >> shift) & 0xFFU);
        const int b = static_cast<int>((wanted >> shift) & 0xFFU);
        if (a - b > 0x30 || b - a > 0x30) {
            return false;
        }
    }
    return true;
}

int TimesLineHeight() {
    CBitmap scratch(1, 1);
    const std::unique_ptr<CDC> dc = CreateBitmapDC(scratch);
    dc->SelectFont(CFont::FromPoints(100, "Times New Roman"));
    return dc->GetTextExtentPoint32("M").cy + 4;
}

class InputDialogTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(m_owner.Create(nullptr, RECT{0, 0, 200, 100}, 0, WS_VISIBLE));
        m_dialog.SetCaption("New Row...");
        m_dialog.SetColors(kBack, kTitle);
    }
    void TearDown() override { SetModalLoopHook({}); }

    // Runs the window with the driver acting once its loop runs; a driver that neither presses
    // OK nor Cancel leaves the loop unanswered.
    bool RunWith(const std::function<void(CInputDialogWnd&)>& drive) {
        bool ran = false;
        SetModalLoopHook([&](CWnd& window) {
            EXPECT_EQ(&window, &m_dialog);
            ran = true;
            drive(m_dialog);
            return true;
        });
        const bool ok = m_dialog.Run(&m_owner);
        EXPECT_TRUE(ran);
        EXPECT_FALSE(m_dialog.IsWindow());
        return ok;
    }

    CWnd m_owner;
    CInputDialogWnd m_dialog;
};

struct LayoutCase {
    std::string name;
    int fields;
    int fieldWidth;
    std::string key;
    bool halfScreenLabel;  // else the key's own width
    bool screenWide;       // else label + field width + 30
    bool screenHigh;       // screen height - 100, else 95 + fields × (3 + line height)
    bool valueLimited;     // screen width - label - 30, else the field's width
};

class InputDialogLayoutTest : public InputDialogTest,
                              public ::testing::WithParamInterface<LayoutCase> {};

const std::string kLongKey(300, 'W');

INSTANTIATE_TEST_SUITE_P(
    Screen, InputDialogLayoutTest,
    ::testing::Values(
        LayoutCase{"FewLines", 3, 120, "Amount", false, false, false, false},
        LayoutCase{"MoreLinesThanTheScreenHolds", 90, 120, "Amount", false, false, true, false},
        LayoutCase{"ValueWiderThanTheScreen", 2, 5000, "Amount", false, true, false, true},
        LayoutCase{"LabelWiderThanTheScreen", 2, 5000, kLongKey, true, true, false, true}),
    [](const auto& info) { return info.param.name; });

TEST_P(InputDialogLayoutTest, IsLaidOutAndCentredOnTheScreen) {
    const LayoutCase& c = GetParam();
    for (int i = 0; i < c.fields; ++i) {
        m_dialog.AddField(Field(c.key, c.fieldWidth));
    }
    const int lineHeight = TimesLineHeight();
    RECT shown{};
    RunWith([&](CInputDialogWnd& dialog) {
        shown = dialog.GetWindowRect();
        EXPECT_EQ(dialog.GetClientRect().Width(), shown.Width() - 2);
    });
    const int screenWidth = GetSystemMetrics(SM_CXSCREEN);
    const int screenHeight = GetSystemMetrics(SM_CYSCREEN);
    ASSERT_LT(95 + 3 * (3 + lineHeight), screenHeight - 100);
    ASSERT_GT(95 + 90 * (3 + lineHeight), screenHeight - 100);
    EXPECT_EQ(m_dialog.GetLineHeight(), lineHeight);
    const int label = m_dialog.GetLabelWidth();
    if (c.halfScreenLabel) {
        EXPECT_EQ(label, screenWidth / 2);
    }
    EXPECT_EQ(m_dialog.GetFields().front().width,
              c.valueLimited ? screenWidth - label - 30 : c.fieldWidth);
    EXPECT_EQ(shown.Width(), c.screenWide ? screenWidth : label + c.fieldWidth + 30);
    EXPECT_EQ(shown.Height(), c.screenHigh ? screenHeight - 100 : 95 + c.fields * (3 + lineHeight));
    EXPECT_EQ(shown.left, (screenWidth - shown.Width()) / 2);
    EXPECT_EQ(shown.top, (screenHeight - shown.Height()) / 2);
}

TEST_F(InputDialogTest, TabScrollsLineByLineAndShiftTabScrollsBack) {
    constexpr int kFields = 90;
    for (int i = 0; i < kFields; ++i) {
        m_dialog.AddField(Field("F" + std::to_string(i)));
    }
    RunWith([](CInputDialogWnd& dialog) {
        const std::size_t shown = dialog.GetLastVisibleField() + 1;
        ASSERT_GT(shown, 2U);
        ASSERT_LT(shown, static_cast<std::size_t>(kFields));
        struct Step {
            UINT modifiers;
            int presses;
            std::size_t first, current;
        };
        for (const Step& s :
             {Step{0, static_cast<int>(shown) - 1, 0, shown - 1}, Step{0, 1, 1, shown},
              Step{0, 2, 3, shown + 2}, Step{FSHIFT, static_cast<int>(shown) - 1, 3, 3},
              Step{FSHIFT, 1, 2, 2}, Step{FSHIFT, 5, 0, 0}}) {
            for (int i = 0; i < s.presses; ++i) {
                SendKey(dialog, VK_TAB, s.modifiers, "\t");
            }
            EXPECT_EQ(dialog.GetFirstVisibleField(), s.first);
            EXPECT_EQ(dialog.GetCurrentField(), s.current);
            EXPECT_EQ(dialog.GetLastVisibleField(), s.first + shown - 1);
        }
        // The top line shows the first visible field after a scroll.
        for (int i = 0; i < static_cast<int>(shown) + 4; ++i) {
            SendKey(dialog, VK_TAB, 0, "\t");
        }
        const RECT top = dialog.GetFields()[dialog.GetFirstVisibleField()].lineRect;
        EXPECT_EQ(top.top, dialog.GetFields()[0].lineRect.top);
        EXPECT_EQ(ReadPixel(dialog, top.right - 2, top.top + 1), kFieldBack);
    });
}

TEST_F(InputDialogTest, EnterMovesToTheNextFieldAndNeverPressesOk) {
    m_dialog.AddField(Field("A"));
    m_dialog.AddField(Field("B"));
    const bool ok = RunWith([](CInputDialogWnd& dialog) {
        SendKey(dialog, VK_RETURN, 0, "\r");
        EXPECT_EQ(dialog.GetCurrentField(), 1U);
        SendKey(dialog, VK_RETURN, 0, "\r");
        SendKey(dialog, VK_RETURN, FSHIFT, "\r");
        EXPECT_EQ(dialog.GetCurrentField(), 1U);
        EXPECT_TRUE(dialog.IsWindow());
    });
    EXPECT_FALSE(ok);
}

struct AnswerCase {
    std::string name;
    bool clickOk;
    bool ok;
};

class InputDialogAnswerTest : public InputDialogTest,
                              public ::testing::WithParamInterface<AnswerCase> {};

INSTANTIATE_TEST_SUITE_P(Buttons, InputDialogAnswerTest,
                         ::testing::Values(AnswerCase{"Ok", true, true},
                                           AnswerCase{"Cancel", false, false}),
                         [](const auto& info) { return info.param.name; });

TEST_P(InputDialogAnswerTest, ClickingAButtonEndsTheRun) {
    const AnswerCase& c = GetParam();
    m_dialog.AddField(Field("Name"));
    m_dialog.AddField(Field("City"));
    const bool ok = RunWith([&](CInputDialogWnd& dialog) {
        SendClick(dialog, Centre(dialog.GetFields()[1].lineRect));
        EXPECT_EQ(dialog.GetCurrentField(), 1U);
        TypeText(dialog, "Oslo");
        SendClick(dialog, Centre(c.clickOk ? dialog.GetOkRect() : dialog.GetCancelRect()));
    });
    EXPECT_EQ(ok, c.ok);
    std::string value;
    EXPECT_TRUE(m_dialog.GetValue("CITY", value));
    EXPECT_EQ(value, "Oslo");
    EXPECT_TRUE(m_dialog.GetValue("name", value));
    EXPECT_EQ(value, "");
    EXPECT_FALSE(m_dialog.GetValue("Country", value));
}

struct TypingCase {
    std::string name;
    EditStyle style;
    bool editable;
    std::string mask;
    int maxSize;
    int whole;
    int decimals;
    std::string start;
    std::string typed;  // '\b' is Backspace
    std::string expected;
};

class InputDialogTypingTest : public InputDialogTest,
                              public ::testing::WithParamInterface<TypingCase> {};

INSTANTIATE_TEST_SUITE_P(
    Styles, InputDialogTypingTest,
    ::testing::Values(
        TypingCase{"TextUpToMaxSize", EditStyle::Text, true, "", 3, 9, 2, "", "abcd", "abc"},
        TypingCase{"TextBackspace", EditStyle::Text, true, "", 10, 9, 2, "xy", "\bz", "xz"},
        TypingCase{"TextRefusesPunctuation", EditStyle::Text, true, "", 10, 9, 2, "", "a-b", "ab"},
        TypingCase{"MaskInsertsLiterals", EditStyle::Mask, true, "##/##/####", 0, 9, 2, "", "123",
                   "12/3"},
        TypingCase{"MaskRefusesLetterAtDigit", EditStyle::Mask, true, "##", 0, 9, 2, "", "a1", "1"},
        TypingCase{"NumericFieldDigitsNotMask", EditStyle::Numeric, true, "3", 0, 5, 2, "",
                   "12345678", "12345.67"},
        TypingCase{"NumericPointFirst", EditStyle::Numeric, true, "", 0, 9, 2, "", ".123", ".12"},
        TypingCase{"NumericSecondPoint", EditStyle::Numeric, true, "", 0, 9, 2, "", "1..2", "1.2"},
        TypingCase{"DateIgnoresTyping", EditStyle::Date, true, "##/##/####", 10, 9, 2, "", "12",
                   ""},
        TypingCase{"ListIgnoresTyping", EditStyle::List, true, "", 10, 9, 2, "Apple", "b", "Apple"},
        TypingCase{"CheckBoxIgnoresTyping", EditStyle::CheckBox, true, "", 10, 9, 2, "", "y", ""},
        TypingCase{"NotEditable", EditStyle::Text, false, "", 10, 9, 2, "keep", "x\b", "keep"}),
    [](const auto& info) { return info.param.name; });

TEST_P(InputDialogTypingTest, TypingFollowsTheFieldsStyle) {
    const TypingCase& c = GetParam();
    InputField field = Field("Value", 100, c.style);
    field.editable = c.editable;
    field.editMask = c.mask;
    field.maxSize = c.maxSize;
    field.wholeDigits = c.whole;
    field.decimalDigits = c.decimals;
    field.value = c.start;
    m_dialog.AddField(field);
    RunWith([&](CInputDialogWnd& dialog) {
        for (const char ch : c.typed) {
            if (ch == '\b') {
                SendKey(dialog, VK_BACK, 0, "\b");
            } else {
                TypeText(dialog, std::string(1, ch));
            }
        }
    });
    std::string value;
    EXPECT_TRUE(m_dialog.GetValue("value", value));
    EXPECT_EQ(value, c.expected);
}

TEST_F(InputDialogTest, PaintsTitleBandButtonsAndTheCurrentLine) {
    m_dialog.AddField(Field("Name"));
    m_dialog.AddField(Field("City"));
    RunWith([](CInputDialogWnd& dialog) {
        const RECT client = dialog.GetClientRect();
        bool captionDrawn = false;
        for (int x = 0; x < client.right; ++x) {
            EXPECT_NE(ReadPixel(dialog, x, 0), kBack) << x;
            captionDrawn = captionDrawn || IsNear(ReadPixel(dialog, x, 10), kWhite);
        }
        EXPECT_TRUE(captionDrawn);
        EXPECT_EQ(ReadPixel(dialog, 1, 1), kTitle);
        EXPECT_EQ(ReadPixel(dialog, 1, CInputDialogWnd::kTitleBandHeight), kBack);

        const RECT ok = dialog.GetOkRect();
        const RECT cancel = dialog.GetCancelRect();
        for (const RECT& button : {ok, cancel}) {
            EXPECT_EQ(ReadPixel(dialog, button.left + 1, button.top + 1), kWhite);
            EXPECT_EQ(ReadPixel(dialog, button.right - 1, button.bottom - 1), kBlack);
            EXPECT_EQ(ReadPixel(dialog, button.left + 3, button.top + 3), 0x00C0C0C0U);
        }
        EXPECT_LT(ok.right, cancel.left);

        const RECT first = dialog.GetFields()[0].lineRect;
        const RECT second = dialog.GetFields()[1].lineRect;
        struct Probe {
            POINT at;
            COLORREF colour;
        };
        const auto probe = [&](const std::vector<Probe>& probes) {
            for (const Probe& p : probes) {
                EXPECT_EQ(ReadPixel(dialog, p.at.x, p.at.y), p.colour) << p.at.x << "," << p.at.y;
            }
        };
        probe({{{first.right - 2, first.top + 1}, CInputDialogWnd::kCurrentBack},
               {{second.right - 2, second.top + 1}, kFieldBack},
               {{first.left + 1, first.bottom}, kBlack},
               {{second.left + 1, second.bottom}, kBlack},
               {{first.left - 3, first.top + 1}, kBack}});
        EXPECT_NE(GetCaretInfo().owner, &dialog);

        SendClick(dialog, Centre(second));
        probe({{{first.right - 2, first.top + 1}, kFieldBack},
               {{second.right - 2, second.top + 1}, CInputDialogWnd::kCurrentBack}});
        // The label is drawn right-aligned in the title colour.
        bool labelDrawn = false;
        for (int x = first.left - 20; x < first.left - 8; ++x) {
            for (int y = first.top; y < first.bottom; ++y) {
                labelDrawn = labelDrawn || IsNear(ReadPixel(dialog, x, y), kTitle);
            }
        }
        EXPECT_TRUE(labelDrawn);
    });
}

}  // namespace
