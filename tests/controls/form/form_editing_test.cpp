// Editing a form as a user and a host do: Tab order, clicks, typing under each edit style,
// write-back to the record, the record keys and reading and writing fields by name.
#include <cstdint>
#include <limits>
#include <utility>
#include <vector>

#include "controls/common/ole_control.h"
#include "tests/controls/form/form_test_support.h"

namespace {

constexpr const char* kCustomers = "SELECT * FROM customers";
constexpr const char* kEntries = "SELECT * FROM entries";

RECT Row(int index, int width = 200) {
    const int top = 10 + index * 30;
    return RECT{10, top, 10 + width, top + 22};
}

class FormEditingTest : public FormTest {
  protected:
    void SetUp() override {
        FormTest::SetUp();
        if (!HasFatalFailure()) {
            ASSERT_TRUE(
                Run("CREATE TABLE entries (id INTEGER PRIMARY KEY, t1 VARCHAR(40), "
                    "t2 VARCHAR(40), t3 VARCHAR(40), t4 VARCHAR(40))"));
            ASSERT_TRUE(Run("INSERT INTO entries (t1, t2) VALUES (NULL, 'kept')"));
            ASSERT_TRUE(Run("INSERT INTO entries (t1, t2) VALUES ('second', 'two')"));
        }
    }

    bool Run(const std::string& sql) {
        const CComBSTR text(sql);
        return SUCCEEDED(connection_->Execute(text.Get(), nullptr,
                                              LONG{adCmdText} | LONG{adExecuteNoRecords}, nullptr));
    }

    // The first field of the first record of a query on the host's connection.
    std::string QueryText(const std::string& sql) {
        CDataConnection holder;
        holder.Attach(connection_);
        CDataRecordset recordset(holder);
        std::string text;
        if (recordset.Open(sql) && recordset.MoveFirst()) {
            recordset.GetFieldText(0, text);
        }
        return text;
    }

    // Opens a form of one column on the entries table, makes it current and types the keys.
    std::string Typed(DesignItem column, const std::string& keys) {
        EXPECT_TRUE(Run("UPDATE entries SET t1 = NULL WHERE id = 1"));
        column.name = "t1";
        column.rect = Row(0);
        column.tabOrder = 1;
        EXPECT_TRUE(OpenForm({column}, kEntries));
        Key(VK_TAB);
        Type(keys);
        return GetItem("t1").value_or("(no value)");
    }

    static DesignItem Numeric(int whole, int decimals) {
        DesignItem column = ColumnItem("t1", Row(0), 1, kDesignerNumeric);
        column.wholeDigits = whole;
        column.decimalDigits = decimals;
        return column;
    }
    static DesignItem Mask(const std::string& mask) {
        DesignItem column = ColumnItem("t1", Row(0), 1, kDesignerMask);
        column.mask = mask;
        return column;
    }

    static DesignItem Highlighted(DesignItem item) {
        item.backColor = static_cast<int>(kHighlightBack);
        item.textColor = static_cast<int>(kHighlightText);
        return item;
    }

    std::vector<std::string> Customers(const std::string& field) {
        return FieldTexts(database_.ConnectionString(), kCustomers, field);
    }
};

}  // namespace

TEST_F(FormEditingTest, TabWalksTheColumnsInFieldOrderAndWrapsBothWays) {
    const DesignItem first = ColumnItem("t1", Row(0), 1);
    const DesignItem second = ColumnItem("t2", Row(1), 2);
    const DesignItem third = ColumnItem("t3", Row(2), 3);
    ASSERT_TRUE(OpenForm({second, third, first}, kEntries));
    const auto current = [&] {
        std::vector<int> lit;
        for (const DesignItem* item : {&first, &second, &third}) {
            if (FillOf(*item) == kHighlightBack) {
                lit.push_back(item->tabOrder);
            } else {
                EXPECT_EQ(FillOf(*item), kWhite);
            }
        }
        return lit;
    };
    EXPECT_EQ(current(), std::vector<int>{});
    Key(VK_TAB);
    EXPECT_EQ(current(), std::vector<int>{1});
    Key(VK_TAB);
    EXPECT_EQ(current(), std::vector<int>{2});
    Key(VK_TAB, FSHIFT);
    EXPECT_EQ(current(), std::vector<int>{1});
    Key(VK_TAB, FSHIFT);
    EXPECT_EQ(current(), std::vector<int>{3});
    Key(VK_TAB);
    EXPECT_EQ(current(), std::vector<int>{1});
    EXPECT_TRUE(Shows(Highlighted(first), ""));
}

TEST_F(FormEditingTest, TypingGoesOnlyToTheColumnShownAsCurrent) {
    const DesignItem first = ColumnItem("t1", Row(0), 1);
    DesignItem label = StaticItem(Row(1), "label");
    label.tabOrder = 2;
    const DesignItem third = ColumnItem("t3", Row(2), 3);
    ASSERT_TRUE(OpenForm({first, label, third}, kEntries));
    Key(VK_TAB);
    Key(VK_TAB);
    EXPECT_EQ(FillOf(first), kWhite);
    Type("a");
    EXPECT_EQ(GetItem("t1"), "");
    EXPECT_TRUE(Shows(first, ""));
    Key(VK_TAB);
    EXPECT_EQ(FillOf(third), kHighlightBack);
    Type("c");
    EXPECT_EQ(GetItem("t3"), "c");
    // A record move and a full repaint keep showing the field that typing goes to.
    Key(VK_NEXT);
    EXPECT_EQ(FillOf(third), kHighlightBack);
    window_->RedrawWindow(nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    EXPECT_EQ(FillOf(third), kHighlightBack);
}

TEST_F(FormEditingTest, TabWalksEveryTabOrderAnIntHolds) {
    const DesignItem low = ColumnItem("t1", Row(0), 5);
    const DesignItem parked = ColumnItem("t2", Row(1), kNoTabStop);
    const DesignItem top = ColumnItem("t3", Row(2), std::numeric_limits<std::int32_t>::max());
    ASSERT_TRUE(OpenForm({top, parked, low}, kEntries));
    const std::vector<std::pair<UINT, const DesignItem*>> steps = {
        {0, &low}, {0, &parked}, {0, &top}, {0, &low}, {FSHIFT, &top}, {FSHIFT, &parked}};
    for (const auto& [modifiers, expected] : steps) {
        Key(VK_TAB, modifiers);
        EXPECT_EQ(FillOf(*expected), kHighlightBack) << "tab order " << expected->tabOrder;
    }
}

TEST_F(FormEditingTest, WithoutStopsTabAndTypingDoNothing) {
    DesignItem column = ColumnItem("t1", Row(0), -1);
    ASSERT_TRUE(OpenForm({column, StaticItem(Row(1), "label")}, kEntries));
    Key(VK_TAB);
    Key(VK_TAB, FSHIFT);
    Key(VK_TAB);
    Type("abc");
    EXPECT_EQ(FillOf(column), kWhite);
    EXPECT_EQ(GetItem("t1"), "");
}

TEST_F(FormEditingTest, TheHighlightExistsOnlyOnTheScreen) {
    const DesignItem first = ColumnItem("t1", Row(0), 1);
    const DesignItem second = ColumnItem("t2", Row(1), 2);
    ASSERT_TRUE(OpenForm({first, second}, kEntries));
    Key(VK_TAB);
    EXPECT_EQ(FillOf(first), kHighlightBack);
    SetFormColors(kFormBackground, 0x000000FF, 0x0000FF00);
    Type("x");
    DesignItem red = first;
    red.backColor = 0x000000FF;
    red.textColor = 0x0000FF00;
    EXPECT_TRUE(Shows(red, "x"));
    Key(VK_TAB);
    EXPECT_TRUE(Shows(first, "x"));
}

TEST_F(FormEditingTest, AClickOnAColumnMakesItCurrentAndOthersChangeNothing) {
    const DesignItem first = ColumnItem("t1", Row(0), 1);
    const DesignItem second = ColumnItem("t2", Row(1), 2);
    const DesignItem third = ColumnItem("t3", Row(2), 3);
    const DesignItem label = StaticItem(Row(3), "label");
    ASSERT_TRUE(OpenForm({first, second, third, label}, kEntries));
    Click(POINT{50, label.rect.top + 5});
    Click(POINT{350, 250});
    Type("z");
    EXPECT_EQ(GetItem("t1"), "");
    EXPECT_EQ(FillOf(first), kWhite);

    Click(POINT{50, second.rect.top + 5});
    EXPECT_EQ(FillOf(second), kHighlightBack);
    Click(POINT{50, first.rect.top + 5});
    EXPECT_EQ(FillOf(second), kWhite);
    EXPECT_EQ(FillOf(first), kHighlightBack);
    // The walk goes on from the clicked column.
    Key(VK_TAB);
    EXPECT_EQ(FillOf(second), kHighlightBack);
    Type("s");
    EXPECT_EQ(GetItem("t2"), "kepts");
}

TEST_F(FormEditingTest, FreeTextTakesLettersDigitsAndSpacesUpToItsLength) {
    DesignItem column = ColumnItem("t1", Row(0), 1);
    column.maxLength = 3;
    EXPECT_EQ(Typed(column, "a-b!"), "ab");
    Type("cd");
    EXPECT_EQ(GetItem("t1"), "abc");
    Backspace();
    Backspace();
    EXPECT_EQ(GetItem("t1"), "a");
    Type(" 1");
    EXPECT_EQ(GetItem("t1"), "a 1");
    EXPECT_TRUE(Shows(Highlighted(column), "a 1"));
    Type(" ");
    for (int i = 0; i < 5; ++i) {
        Backspace();
    }
    EXPECT_EQ(GetItem("t1"), "");
}

TEST_F(FormEditingTest, MasksPlaceLiteralsAndTakeDigitsWhereTheMaskSaysSo) {
    EXPECT_EQ(Typed(Mask("##/##/####"), "a123"), "12/3");
    EXPECT_EQ(Typed(Mask("##/##/####"), "12x"), "12");
    // The refused letter left the slash behind: Backspace takes that away, not the 2.
    Backspace();
    EXPECT_EQ(GetItem("t1"), "12");
    EXPECT_EQ(Typed(Mask("**-**"), "abc"), "ab-c");
    EXPECT_EQ(Typed(Mask("**-**"), "abcdef"), "ab-cd");
}

TEST_F(FormEditingTest, NumericColumnsKeepTheirWholeAndDecimalDigits) {
    EXPECT_EQ(Typed(Numeric(3, 2), "123456"), "123.45");
    EXPECT_EQ(Typed(Numeric(3, 0), "1234"), "123.");
    EXPECT_EQ(Typed(Numeric(3, 2), "1.234"), "1.23");
    EXPECT_EQ(Typed(Numeric(3, 2), "1..2"), "1.2");
    EXPECT_EQ(Typed(Numeric(3, 2), ".123"), ".12");
    EXPECT_EQ(Typed(Numeric(3, 2), "a-1"), "1");
}

TEST_F(FormEditingTest, DesignerEditStylesTypeByTheirMeaning) {
    EXPECT_EQ(Typed(ColumnItem("", {}, 1, kDesignerDate), "01022024"), "01/02/2024");
    EXPECT_EQ(Typed(ColumnItem("", {}, 1, kDesignerCheckBox), "1"), "");
    EXPECT_EQ(Typed(ColumnItem("", {}, 1, kDesignerList), "12"), "");
    EXPECT_EQ(Typed(ColumnItem("", {}, 1, 7), "ab"), "");
}

TEST_F(FormEditingTest, EveryKeystrokeIsSavedInTheRecordTheFormShows) {
    const DesignItem first = ColumnItem("t1", Row(0), 1);
    ASSERT_TRUE(OpenForm({first, ColumnItem("t2", Row(1), 2)}, kEntries));
    Type("ignored");
    EXPECT_EQ(GetItem("t1"), "");
    Key(VK_TAB);
    Type("ab");
    EXPECT_EQ(QueryText("SELECT t1 FROM entries WHERE id = 1"), "ab");
    EXPECT_EQ(FieldTexts(database_.ConnectionString(), "SELECT t1 FROM entries", "t1").front(),
              "ab");

    Key(VK_NEXT);
    EXPECT_TRUE(Shows(Highlighted(first), "second"));
    Type("X");
    EXPECT_EQ(QueryText("SELECT t1 FROM entries WHERE id = 2"), "secondX");
    EXPECT_EQ(QueryText("SELECT t1 FROM entries WHERE id = 1"), "ab");
}

TEST_F(FormEditingTest, AWriteTheDatabaseRefusesShowsTheRecordsValueWithABeep) {
    const DesignItem name = ColumnItem("name", Row(0, 300), 1);
    // A short wait for the lock keeps the test quick.
    const CComPtr<_Connection> quick = OpenHostConnection(database_.ConnectionString());
    ASSERT_TRUE(quick);
    const CComBSTR none;
    ASSERT_EQ(quick->Close(), S_OK);
    ASSERT_EQ(quick->put_ConnectionTimeout(1), S_OK);
    ASSERT_EQ(quick->Open(CComBSTR(database_.ConnectionString()).Get(), none.Get(), none.Get(), 0),
              S_OK);
    ASSERT_TRUE(OpenForm(form_.Get(), quick.Get(), kCustomers, designs_.Write({name})));
    const std::string before = GetItem("name").value_or("(no value)");
    CDataConnection other;
    ASSERT_TRUE(other.Open(database_.ConnectionString()));
    ASSERT_TRUE(other.BeginTrans());
    ASSERT_TRUE(Execute(other, "UPDATE customers SET city = city WHERE customer_id = 2"));
    Key(VK_TAB);
    const unsigned beeps = MessageBeepCount();
    Type("XY");
    EXPECT_EQ(MessageBeepCount(), beeps + 2);
    EXPECT_EQ(GetItem("name"), before);
    EXPECT_TRUE(Shows(Highlighted(name), before));
    EXPECT_TRUE(other.RollbackTrans());
    Type("Z");
    EXPECT_EQ(GetItem("name"), before + "Z");

    // A query that cannot be updated refuses every write the same way.
    DesignItem city = ColumnItem("city", Row(0), 1);
    ASSERT_TRUE(OpenForm({city},
                         "SELECT c.city, o.order_id FROM customers c JOIN orders o "
                         "ON o.customer_id = c.customer_id ORDER BY o.order_id"));
    const std::optional<std::string> firstCity = GetItem("city");
    ASSERT_TRUE(firstCity);
    Key(VK_TAB);
    Type("Q");
    EXPECT_TRUE(Shows(Highlighted(city), *firstCity));
    EXPECT_EQ(MessageBeepCount(), beeps + 3);

    // Without a record the edit stays in the form.
    ASSERT_TRUE(OpenForm({city}, "SELECT * FROM no_such_table"));
    Key(VK_TAB);
    Type("abc");
    EXPECT_TRUE(Shows(Highlighted(city), "abc"));
}

TEST_F(FormEditingTest, ADateIsTypedInTheMasksLayoutAndKeepsItsTimeOfDay) {
    ASSERT_TRUE(
        Run("UPDATE customers SET created_at = '2019-08-16 11:25:36' "
            "WHERE customer_id = 1"));
    const DesignItem created = ColumnItem("created_at", Row(0), 1, kDesignerDate);
    const DesignItem name = ColumnItem("name", Row(1, 300), 2);
    ASSERT_TRUE(OpenForm({created, name}, "SELECT * FROM customers ORDER BY customer_id"));
    EXPECT_TRUE(Shows(created, "08/16/2019"));
    Key(VK_TAB);
    Backspace();
    const auto stored = [&] {
        return QueryText("SELECT CAST(created_at AS TEXT) FROM customers WHERE customer_id = 1");
    };
    EXPECT_EQ(stored(), "2019-08-16 11:25:36");
    Backspace();
    Backspace();
    Backspace();
    Type("2020");
    EXPECT_TRUE(Shows(Highlighted(created), "08/16/2020"));
    EXPECT_EQ(stored(), "2020-08-16 11:25:36");

    // A text left incomplete gives way to the record's value when the field is left, by Tab,
    // by a click or by a record key; the record keeps its date throughout.
    Backspace();
    Key(VK_TAB);
    EXPECT_TRUE(Shows(created, "08/16/2020"));
    Click(POINT{20, created.rect.top + 5});
    Backspace();
    Click(POINT{20, name.rect.top + 5});
    EXPECT_TRUE(Shows(created, "08/16/2020"));
    Click(POINT{20, created.rect.top + 5});
    for (int i = 0; i < 4; ++i) {
        Backspace();
    }
    Type("0");
    Key(VK_NEXT);
    Key(VK_HOME);
    EXPECT_TRUE(Shows(Highlighted(created), "08/16/2020"));
    EXPECT_EQ(stored(), "2020-08-16 11:25:36");
}

TEST_F(FormEditingTest, RecordKeysMoveThroughTheRecordsAndStopAtTheEnds) {
    const DesignItem name = ColumnItem("name", Row(0, 300), 1);
    ASSERT_TRUE(OpenForm({name}));
    const std::vector<std::string> names = Customers("name");
    ASSERT_GE(names.size(), 3U);
    Key(VK_NEXT);
    EXPECT_TRUE(Shows(name, names[1]));
    Key(VK_END);
    EXPECT_TRUE(Shows(name, names.back()));
    Key(VK_NEXT);
    EXPECT_TRUE(Shows(name, names.back()));
    EXPECT_EQ(GetItem("name"), names.back());
    Key(VK_PRIOR);
    EXPECT_EQ(GetItem("name"), names[names.size() - 2]);
    Key(VK_HOME);
    Key(VK_PRIOR);
    EXPECT_TRUE(Shows(name, names.front()));
    EXPECT_EQ(GetItem("NAME"), names.front());
}

TEST_F(FormEditingTest, GetItemReadsTheRecordAndSetItemShowsAfterTheNextMove) {
    DesignItem city = ColumnItem("city", Row(0), 1);
    city.text = "design";
    ASSERT_TRUE(OpenForm({city}));
    const std::string firstCity = Customers("city").front();
    EXPECT_FALSE(GetItem("country"));  // a field of the query, but no column of the form
    EXPECT_FALSE(SetItem("country", "Ireland"));
    EXPECT_FALSE(GetItem("nothing"));

    EXPECT_TRUE(SetItem("CITY", "  Cork  "));
    EXPECT_EQ(GetItem("city"), "Cork");
    EXPECT_TRUE(Shows(city, firstCity));
    Key(VK_HOME);
    EXPECT_TRUE(Shows(city, "Cork"));
}

TEST_F(FormEditingTest, TabRecordAndArrowKeysStayWithTheControl) {
    ASSERT_TRUE(OpenForm({ColumnItem("name", Row(0), 1)}));
    for (const UINT vk :
         {VK_TAB, VK_HOME, VK_END, VK_PRIOR, VK_NEXT, VK_LEFT, VK_UP, VK_RIGHT, VK_DOWN}) {
        Key(vk);
    }
    Key(VK_TAB, FSHIFT);
    EXPECT_EQ(container_.seen, std::vector<UINT>{});
    Key(VK_RETURN);
    Key(VK_F1);
    EXPECT_EQ(container_.seen, (std::vector<UINT>{VK_RETURN, VK_F1}));

    auto* control = dynamic_cast<COleControl*>(window_);
    ASSERT_NE(control, nullptr);
    EXPECT_EQ(control->OnGetDlgCode(), DLGC_WANTTAB);
}

using FormPostgresTest = FormTest;

TEST_F(FormPostgresTest, AKeystrokeIsWrittenInsideTheHostsTransaction) {
    const std::string pg = EnvironmentValue("QOR_TEST_PG");
    if (pg.empty()) {
        GTEST_SKIP() << "QOR_TEST_PG is not set; start scripts/pg-test-server";
    }
    const CComPtr<_Connection> server = OpenHostConnection(pg);
    ASSERT_TRUE(server);
    LONG level = 0;
    ASSERT_EQ(server->BeginTrans(&level), S_OK);
    const DesignItem city = ColumnItem("city", Row(0), 1);
    EXPECT_TRUE(OpenForm(form_.Get(), server.Get(), "SELECT * FROM customers WHERE customer_id = 1",
                         designs_.Write({city})));
    Key(VK_TAB);
    Type("x");
    EXPECT_EQ(GetItem("city"), "Dublinx");

    CDataConnection holder;
    holder.Attach(server);
    CDataRecordset check(holder);
    std::string text;
    ASSERT_TRUE(check.Open("SELECT city FROM customers WHERE customer_id = 1"));
    EXPECT_TRUE(check.GetFieldText(0, text));
    EXPECT_EQ(text, "Dublinx");
    check.Close();
    EXPECT_TRUE(OpenForm({}));
    EXPECT_EQ(server->RollbackTrans(), S_OK);
}
