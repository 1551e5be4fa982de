// Adding a record to a bound grid on both providers: the "New Row..." window driven by real keys
// and clicks, the record in the database, the page reloaded around it, Cancel and a refused
// update shown with the window again.
#include <unistd.h>

#include <functional>

#include "controls/common/column_field.h"
#include "controls/grid/input_dialog_wnd.h"
#include "platform/dialogs/scripted_dialogs.h"
#include "platform/testing/input.h"
#include "platform/ui/modal_loop.h"
#include "tests/controls/grid/grid_test_support.h"

namespace {

constexpr int kRecords = 40;

POINT Centre(const RECT& rc) {
    return POINT{(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2};
}

// Makes the line of the key current with a click and types the text into it.
void TypeInto(CInputDialogWnd& window, const std::string& key, const std::string& text) {
    const std::vector<InputField>& fields = window.GetFields();
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (fields[i].key == key) {
            SendClick(window, Centre(fields[i].lineRect));
            TypeText(window, text);
            return;
        }
    }
    ADD_FAILURE() << "no line " << key;
}

void Press(CInputDialogWnd& window, bool ok) {
    SendClick(window, Centre(ok ? window.GetOkRect() : window.GetCancelRect()));
}

class GridNewRowTest : public GridTest, public ::testing::WithParamInterface<Provider> {
  protected:
    void SetUp() override {
        if (!db_.Choose(GetParam())) {
            GTEST_SKIP() << kNoPostgresServer;
        }
        ASSERT_NO_FATAL_FAILURE(GridTest::SetUp());
        std::string values;
        for (int i = 1; i <= kRecords; ++i) {
            values += (i > 1 ? ", ('" : "('") + Name(i) + "', " + std::to_string(i) + ")";
        }
        ASSERT_TRUE(db_.Create("qor_grid_new_",
                               "name VARCHAR(20) UNIQUE, rank NUMERIC(12,2), day DATE, due DATE, "
                               "flag INTEGER",
                               "(name, rank) VALUES " + values, true));
        Insert({"name"});
        Insert({"rank", 80, CodeOf(EditStyle::Numeric)});
        Insert({"day", 80, CodeOf(EditStyle::Date), true, "##/##/####"});
        Insert({"due", 80, CodeOf(EditStyle::Mask), true, "##/##/####"});
        Insert({"flag", 40, CodeOf(EditStyle::CheckBox)});
        Long("SetCheckBoxCheckedValueByName", {CComVariant("flag"), CComVariant("1")});
        Long("SetCheckBoxUnCheckedValueByName", {CComVariant("flag"), CComVariant("0")});
        ASSERT_TRUE(Bool("BindToDatabase", {CComVariant(db_.connection.Get()),
                                            CComVariant("SELECT * FROM " + db_.table)}));
    }
    void TearDown() override {
        SetModalLoopHook({});
        GridTest::TearDown();
    }

    static std::string Name(int i) { return "name" + std::to_string(100 + i); }

    // AddRow with the driver acting in each window it opens; counts the windows.
    int AddRowDriven(const std::function<void(CInputDialogWnd&, int shown)>& drive) {
        shown_ = 0;
        SetModalLoopHook([&](CWnd& window) {
            drive(static_cast<CInputDialogWnd&>(window), shown_++);  // NOLINT: the module's class
            return true;
        });
        const int result = AddRow();
        SetModalLoopHook({});
        return result;
    }

    // The text of the query's first field in its first record; "-" when there is none.
    std::string Query(const std::string& sql) {
        CDataRecordset recordset(db_.setup);
        std::string text = "-";
        if (recordset.Open(sql)) {
            recordset.GetFieldText(0, text);
        }
        return text;
    }
    std::string Count() { return Query("SELECT COUNT(*) FROM " + db_.table); }

    GridDatabase db_;
    int shown_ = 0;
};

struct TypedCase {
    std::string name;
    std::string line;
    std::string typed;
    std::string field;
    std::string stored;  // what the query reads back; "" for NULL
};

class GridNewRowTypingTest : public GridNewRowTest {
  protected:
    static const std::vector<TypedCase>& Cases() {
        static const std::vector<TypedCase> cases = {
            {"TextAsTyped", "Title name", "fresh one", "name", "fresh one"},
            {"NumericWithTwoDecimals", "Title rank", "12.345", "rank", "12.34"},
            {"DateIgnoresTyping", "Title day", "01", "day", ""},
            {"DateThroughAMaskAsTyped", "Title due", "03052024", "due", "3/5/2024"},
            {"UntickedBoxTakesItsUncheckedValue", "Title flag", "", "flag", "0"},
        };
        return cases;
    }
};

TEST_P(GridNewRowTypingTest, OkAddsTheTypedRecordAndMakesItCurrent) {
    ScopedScriptedDialogs dialogs;
    const std::string before = Count();
    const int result = AddRowDriven([](CInputDialogWnd& window, int) {
        for (const TypedCase& c : Cases()) {
            TypeInto(window, c.line, c.typed);
        }
        Press(window, true);
    });
    EXPECT_EQ(shown_, 1);
    EXPECT_TRUE(dialogs->Shown().empty());
    EXPECT_EQ(Count(), std::to_string(std::stoi(before) + 1));
    for (const TypedCase& c : Cases()) {
        const std::string stored =
            Query("SELECT " + c.field + " FROM " + db_.table + " WHERE name = 'fresh one'");
        EXPECT_EQ(stored, c.stored) << c.name;
    }
    // The page is reloaded around the new record, which is the current row.
    ASSERT_GE(result, 0);
    EXPECT_EQ(Long("GetCurrentRow"), result);
    EXPECT_EQ(Item(result, CComVariant("name")), "fresh one");
    const int capacity = (kGridHeight - kBodyTop) / kGridRowHeight;
    EXPECT_EQ(static_cast<int>(Member(&GridState::m_rows).size()), capacity);
    EXPECT_EQ(Member(&GridState::m_firstVisibleRow), 0);
    EXPECT_NE(Member(&GridState::m_rows)[static_cast<std::size_t>(result)].bookmark.vt, VT_EMPTY);
    EXPECT_FALSE(Bool("IsModified"));
}

TEST_P(GridNewRowTest, CancelReturnsMinusOneAndKeepsTheNewRowValues) {
    AddRowDriven([](CInputDialogWnd& window, int) {
        TypeInto(window, "Title name", "kept");
        Press(window, true);
    });
    const std::string before = Count();
    const std::vector<std::string> names = ColumnTexts(0);
    std::string shownValue;
    const int result = AddRowDriven([&](CInputDialogWnd& window, int) {
        window.GetValue("Title name", shownValue);
        TypeInto(window, "Title name", "more");
        Press(window, false);
    });
    EXPECT_EQ(result, -1);
    EXPECT_EQ(shownValue, "kept") << "the window starts from the new-row values";
    EXPECT_EQ(Member(&GridState::m_columns)[0].newRowValue, "kept");
    EXPECT_EQ(Count(), before);
    EXPECT_EQ(ColumnTexts(0), names);
}

TEST_P(GridNewRowTest, RefusedUpdateIsShownAndTheWindowComesAgain) {
    ScopedScriptedDialogs dialogs;
    const std::string before = Count();
    std::string secondValue;
    const int result = AddRowDriven([&](CInputDialogWnd& window, int shown) {
        if (shown == 0) {
            TypeInto(window, "Title name", Name(3));
            Press(window, true);
        } else {
            window.GetValue("Title name", secondValue);
            Press(window, false);
        }
    });
    EXPECT_EQ(result, -1);
    EXPECT_EQ(shown_, 2);
    EXPECT_EQ(secondValue, Name(3));
    ASSERT_EQ(dialogs->Shown().size(), 1U);
    EXPECT_EQ(dialogs->Shown()[0].kind, ShownDialog::Kind::MessageBox);
    EXPECT_EQ(dialogs->Shown()[0].caption, "Error adding a new row");
    EXPECT_FALSE(dialogs->Shown()[0].text.empty());
    EXPECT_EQ(Count(), before);
    // Nothing is left pending: the next record is added.
    EXPECT_GE(AddRowDriven([](CInputDialogWnd& window, int) {
                  TypeInto(window, "Title name", "");
                  for (std::size_t i = 0; i < Name(3).size(); ++i) {
                      SendKey(window, VK_BACK, 0, "\b");
                  }
                  TypeText(window, "next");
                  Press(window, true);
              }),
              0);
    EXPECT_EQ(Query("SELECT COUNT(*) FROM " + db_.table + " WHERE name = 'next'"), "1");
}

TEST_P(GridNewRowTest, AnIncompleteDateIsNotStoredAsAnotherDate) {
    ScopedScriptedDialogs dialogs;
    const std::string before = Count();
    const int result = AddRowDriven([&](CInputDialogWnd& window, int shown) {
        if (shown == 0) {
            TypeInto(window, "Title name", "partial");
            TypeInto(window, "Title due", "0305202");
        }
        Press(window, shown == 0);
    });
    EXPECT_EQ(result, -1);
    EXPECT_EQ(shown_, 2);
    ASSERT_EQ(dialogs->Shown().size(), 1U);
    EXPECT_EQ(dialogs->Shown()[0].caption, "Error adding a new row");
    EXPECT_EQ(dialogs->Shown()[0].text, kNotHeldText);
    EXPECT_EQ(Count(), before);
}

TEST_P(GridNewRowTest, TabScrollsTheLinesOfAGridWithMoreColumnsThanFit) {
    for (int i = 0; i < 80; ++i) {
        Insert({"extra" + std::to_string(i), 60});
    }
    AddRowDriven([](CInputDialogWnd& window, int) {
        const std::size_t last = window.GetLastVisibleField();
        ASSERT_LT(last + 1, window.GetFields().size());
        for (std::size_t i = 0; i < last + 2; ++i) {
            SendKey(window, VK_TAB, 0, "\t");
        }
        EXPECT_EQ(window.GetFirstVisibleField(), 2U);
        EXPECT_EQ(window.GetCurrentField(), last + 2);
        SendKey(window, VK_RETURN, 0, "\r");
        EXPECT_EQ(window.GetFirstVisibleField(), 3U);
        EXPECT_TRUE(window.IsWindow()) << "Enter never presses OK";
        Press(window, false);
    });
    EXPECT_EQ(shown_, 1);
}

INSTANTIATE_TEST_SUITE_P(Providers, GridNewRowTest,
                         ::testing::Values(Provider::SQLite, Provider::PostgreSQL), ProviderName);
INSTANTIATE_TEST_SUITE_P(Providers, GridNewRowTypingTest,
                         ::testing::Values(Provider::SQLite, Provider::PostgreSQL), ProviderName);

}  // namespace
