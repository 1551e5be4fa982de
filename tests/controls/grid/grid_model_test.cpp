// The grid's model through dispatch: columns, rows, items, deleted rows and ordering.
#include "platform/com/class_registry.h"
#include "platform/dialogs/scripted_dialogs.h"
#include "tests/controls/grid/grid_test_support.h"

namespace {

constexpr int kText = CodeOf(EditStyle::Text);
constexpr int kList = CodeOf(EditStyle::List);
constexpr int kCheckBox = CodeOf(EditStyle::CheckBox);
constexpr int kNumeric = CodeOf(EditStyle::Numeric);
constexpr int kDate = CodeOf(EditStyle::Date);

using GridModelTest = GridTest;

TEST_F(GridModelTest, TheModuleRegistersTheGridsNamesAndIds) {
    CComPtr<ITypeInfo> info;
    ASSERT_EQ(control_->GetTypeInfo(0, 0, info.ReleaseAndGetAddressOf()), S_OK);
    BSTR name = nullptr;
    ASSERT_EQ(info->GetDocumentation(MEMBERID_NIL, &name, nullptr, nullptr, nullptr), S_OK);
    EXPECT_EQ(BstrView(name), "_DQORGrid");
    SysFreeString(name);
    const std::vector<std::string> members = {"InsertColumn",
                                              "AddRow",
                                              "SetItem",
                                              "SetItemByName",
                                              "GetItem",
                                              "GetItemByName",
                                              "Redraw",
                                              "SetRedraw",
                                              "GetCurrentRow",
                                              "DeleteRow",
                                              "DeleteCurrentRow",
                                              "FindRow",
                                              "ClearGrid",
                                              "AddDropDownItem",
                                              "AddDropDownItemByName",
                                              "ClearDropDown",
                                              "ClearDropDownByName",
                                              "SetCheckBoxCheckedValue",
                                              "SetCheckBoxCheckedValueByName",
                                              "SetCheckBoxUnCheckedValue",
                                              "SetCheckBoxUnCheckedValueByName",
                                              "BindToDatabase",
                                              "Sort",
                                              "GetRowCount",
                                              "IsModified",
                                              "IsRowNew",
                                              "GetDeletedRowsCount",
                                              "GetDeletedRowValue"};
    for (std::size_t i = 0; i < members.size(); ++i) {
        DISPID id = DISPID_UNKNOWN;
        EXPECT_EQ(GetDispIdOfName(control_.Get(), members[i], &id), S_OK) << members[i];
        EXPECT_EQ(id, static_cast<DISPID>(i + 1)) << members[i];
    }
    DISPID colors = DISPID_UNKNOWN;
    EXPECT_EQ(GetDispIdOfName(control_.Get(), "SetGridColors", &colors), S_OK);
    EXPECT_EQ(colors, 30);
    CComVariant readyState;
    ASSERT_EQ(GetPropertyByName(control_.Get(), "ReadyState", &readyState), S_OK);
    EXPECT_EQ(readyState.lVal, READYSTATE_LOADING);
}

struct InsertCase {
    const char* name;
    std::vector<ColumnSpec> columns;
    std::vector<int> results;        // InsertColumn's answers
    std::vector<std::string> order;  // column names in the grid's order
    std::vector<int> widths;
    std::vector<EditStyle> styles;
};

const std::vector<InsertCase> kInsertCases = {
    {"VisibleAfterHiddenGoesBeforeIt",
     {{"hidden", 50, kText, false}, {"shown", 60}},
     {0, 1},
     {"shown", "hidden"},
     {60, 0},
     {EditStyle::Text, EditStyle::Text}},
    {"HiddenKeepsWidthZero",
     {{"a", 70}, {"h", 90, kText, false}},
     {0, 1},
     {"a", "h"},
     {70, 0},
     {EditStyle::Text, EditStyle::Text}},
    {"UnknownStylesAreText",
     {{"zero", 10, 0}, {"seven", 10, 7}, {"minus", 10, -1}, {"date", 10, kDate}},
     {0, 1, 2, 3},
     {"zero", "seven", "minus", "date"},
     {10, 10, 10, 10},
     {EditStyle::Text, EditStyle::Text, EditStyle::Text, EditStyle::Date}},
};

class GridInsertTest : public GridTest, public ::testing::WithParamInterface<InsertCase> {};

TEST_P(GridInsertTest, ColumnsStandVisibleFirst) {
    const InsertCase& c = GetParam();
    std::vector<int> results;
    for (const ColumnSpec& column : c.columns) {
        results.push_back(Insert(column));
    }
    EXPECT_EQ(results, c.results);
    std::vector<std::string> order;
    std::vector<int> widths;
    std::vector<EditStyle> styles;
    for (const GridColumn& column : Member(&GridState::m_columns)) {
        order.push_back(column.name);
        widths.push_back(column.width);
        styles.push_back(column.editStyle);
    }
    EXPECT_EQ(order, c.order);
    EXPECT_EQ(widths, c.widths);
    EXPECT_EQ(styles, c.styles);
}

INSTANTIATE_TEST_SUITE_P(Columns, GridInsertTest, ::testing::ValuesIn(kInsertCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(GridModelTest, RowsAndCells) {
    EXPECT_EQ(AddRow(), -1) << "no columns yet";
    Insert({"a"});
    EXPECT_EQ(AddRow(-1), 0);
    EXPECT_EQ(AddRow(5), 1);
    EXPECT_EQ(AddRow(0), 0);
    EXPECT_FALSE(Bool("IsModified"));
    EXPECT_FALSE(Bool("IsRowNew", {CComVariant(0)}));
    Insert({"b"});
    EXPECT_EQ(Item(0, CComVariant(1)), "-1") << "a row older than the column has no cell";
    EXPECT_EQ(Long("SetItem", {CComVariant(0), CComVariant(1), CComVariant("x")}), -1);
    EXPECT_EQ(AddRow(), 3);
    EXPECT_EQ(Long("SetItemByName", {CComVariant(3), CComVariant("B"), CComVariant("Hello")}), 1);
    EXPECT_EQ(Item(3, CComVariant("b")), "Hello");
    EXPECT_TRUE(Bool("IsModified"));
    Member(&GridState::m_rows)[3].modified = false;
    EXPECT_EQ(Long("SetItem", {CComVariant(3), CComVariant(1), CComVariant("HELLO")}), 1);
    EXPECT_EQ(Item(3, CComVariant(1)), "Hello") << "the same text in other case changes nothing";
    EXPECT_FALSE(Bool("IsModified"));
    EXPECT_EQ(Long("SetItem", {CComVariant(9), CComVariant(0), CComVariant("x")}), -1);
    EXPECT_EQ(Long("SetItemByName", {CComVariant(0), CComVariant("nope"), CComVariant("x")}), -1);
}

TEST_F(GridModelTest, DropDownAndCheckBoxItems) {
    Insert({"list", 80, kList});
    Insert({"box", 80, kCheckBox});
    for (const char* item : {"  beta ", "Alpha", "gamma", "alpha"}) {
        EXPECT_EQ(Long("AddDropDownItemByName", {CComVariant("LIST"), CComVariant(item)}), 0);
    }
    EXPECT_EQ(Member(&GridState::m_columns)[0].items,
              (std::vector<std::string>{"Alpha", "alpha", "beta", "gamma"}));
    EXPECT_EQ(Long("ClearDropDown", {CComVariant(0)}), 0);
    EXPECT_TRUE(Member(&GridState::m_columns)[0].items.empty());
    EXPECT_EQ(Long("AddDropDownItem", {CComVariant(5), CComVariant("x")}), -1);

    EXPECT_EQ(Long("SetCheckBoxUnCheckedValue", {CComVariant(1), CComVariant("No")}), 1);
    EXPECT_EQ(Member(&GridState::m_columns)[1].items, (std::vector<std::string>{"Y", "No"}));
    EXPECT_EQ(Long("SetCheckBoxCheckedValueByName", {CComVariant("box"), CComVariant(" T ")}), 1);
    EXPECT_EQ(Long("SetCheckBoxUnCheckedValueByName", {CComVariant("box"), CComVariant("F")}), 1);
    EXPECT_EQ(Member(&GridState::m_columns)[1].items, (std::vector<std::string>{" T ", "F"}));
    EXPECT_EQ(Long("SetCheckBoxCheckedValueByName", {CComVariant("none"), CComVariant("T")}), -1);
}

TEST_F(GridModelTest, FindDeleteAndClear) {
    Insert({"name"});
    for (const char* name : {"ann", "bob", "cid"}) {
        AddRowOf({name});
    }
    Member(&GridState::m_currentRow) = 2;
    EXPECT_TRUE(Bool("FindRow", {CComVariant("NAME"), CComVariant("BOB"), CComVariant(true)}));
    EXPECT_EQ(Long("GetCurrentRow"), 2) << "finding a loaded row moves nothing";
    EXPECT_FALSE(Bool("FindRow", {CComVariant("name"), CComVariant("dan"), CComVariant(true)}));
    for (auto& row : Member(&GridState::m_rows)) {
        row.modified = false;
    }
    EXPECT_TRUE(Bool("DeleteRow", {CComVariant(0)}));
    EXPECT_FALSE(Bool("DeleteRow", {CComVariant(7)}));
    EXPECT_TRUE(Bool("IsModified")) << "a deleted row is a change";
    CComVariant value;
    EXPECT_TRUE(Bool("GetDeletedRowValue",
                     {CComVariant(0), CComVariant("Name"), CComVariant::ByReference(&value)}));
    EXPECT_EQ(value.Text(), "ann");
    EXPECT_EQ(ColumnTexts(0), (std::vector<std::string>{"bob", "cid"}));
    EXPECT_TRUE(Bool("ClearGrid"));
    EXPECT_FALSE(Bool("IsModified"));
    EXPECT_EQ(Long("GetCurrentRow"), -1);
}

struct SortCase {
    const char* name;
    ColumnSpec column;
    std::vector<std::string> texts;
    std::vector<std::string> once;
    std::vector<std::string> twice;
};

const std::vector<SortCase> kSortCases = {
    {"TextWithoutCase", {"t"}, {"b", "C", "a", "B"}, {"a", "b", "B", "C"}, {"C", "b", "B", "a"}},
    {"NumericByValue",
     {"n", 80, kNumeric},
     {"10", "9", "-1", "9.5"},
     {"-1", "9", "9.5", "10"},
     {"10", "9.5", "9", "-1"}},
    {"DateByDay",
     {"d", 80, kDate, true, "##/##/####"},
     {"02/01/2020", "01/03/2019", "12/31/2019"},
     {"01/03/2019", "12/31/2019", "02/01/2020"},
     {"02/01/2020", "12/31/2019", "01/03/2019"}},
    {"CheckBoxCheckedFirst",
     {"c", 80, kCheckBox},
     {"N", "Y", "N", "y"},
     {"Y", "y", "N", "N"},
     {"N", "N", "Y", "y"}},
};

class GridSortTest : public GridTest, public ::testing::WithParamInterface<SortCase> {};

TEST_P(GridSortTest, AgainReverses) {
    const ScopedLocale locale("en_US.UTF-8");
    const SortCase& c = GetParam();
    Insert(c.column);
    Long("SetCheckBoxUnCheckedValue", {CComVariant(0), CComVariant("N")});
    for (const std::string& text : c.texts) {
        AddRowOf({text});
    }
    Call("Sort", {CComVariant(3)});
    EXPECT_EQ(ColumnTexts(0), c.texts) << "an unknown column does nothing";
    Call("Sort", {CComVariant(0)});
    EXPECT_EQ(ColumnTexts(0), c.once);
    Call("Sort", {CComVariant(0)});
    EXPECT_EQ(ColumnTexts(0), c.twice);
}

INSTANTIATE_TEST_SUITE_P(Styles, GridSortTest, ::testing::ValuesIn(kSortCases),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace

TEST_F(GridModelTest, AnUnboundGridWithoutRowsPrintsNothingAndAsksNothing) {
    ScopedScriptedDialogs dialogs;
    Insert({"name"});
    Call("Print");
    EXPECT_TRUE(dialogs->Shown().empty());
}
