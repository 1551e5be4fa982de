// Opening a form: the module's names, reading the design, binding the query and drawing.
#include <sys/stat.h>

#include "platform/com/class_registry.h"
#include "platform/com/type_info.h"
#include "tests/controls/form/form_test_support.h"

namespace {

constexpr const char* kCustomers = "SELECT * FROM customers";

class FormOpenTest : public FormTest {
  protected:
    std::vector<std::string> Customers(const std::string& field) {
        return FieldTexts(database_.ConnectionString(), kCustomers, field);
    }
};

}  // namespace

TEST_F(FormOpenTest, TheModuleRegistersTheFormsNamesAndStartsLoading) {
    CRegistryKeys keys;
    ASSERT_EQ(ReadClassRegistry(keys), S_OK);
    EXPECT_EQ(keys.GetValue("CLSID\\{C9776D46-00B2-4382-B8B3-677E40134E7D}"), "QORForm Control");
    EXPECT_EQ(keys.GetValue("CLSID\\{4CF77F8B-F8BD-4102-8DA5-A1450A9AF9FE}"),
              "QORForm Property Page");
    CComPtr<ITypeInfo> info;
    ASSERT_EQ(form_->GetTypeInfo(0, 0, info.ReleaseAndGetAddressOf()), S_OK);
    BSTR name = nullptr;
    ASSERT_EQ(info->GetDocumentation(MEMBERID_NIL, &name, nullptr, nullptr, nullptr), S_OK);
    EXPECT_EQ(BstrView(name), "_DQORForm");
    SysFreeString(name);

    for (const auto& [member, id] : std::vector<std::pair<std::string, DISPID>>{
             {"OpenForm", 1}, {"GetItem", 2}, {"SetItem", 3}, {"SetFormColors", 4}}) {
        DISPID found = DISPID_UNKNOWN;
        EXPECT_EQ(GetDispIdOfName(form_.Get(), member, &found), S_OK) << member;
        EXPECT_EQ(found, id) << member;
    }
    CComVariant readyState;
    ASSERT_EQ(GetPropertyByName(form_.Get(), "ReadyState", &readyState), S_OK);
    EXPECT_EQ(readyState.lVal, READYSTATE_LOADING);
}

TEST_F(FormOpenTest, BeforeAnyFormTheControlShowsTheBackgroundAndHasNoItems) {
    EXPECT_EQ(Pixel(5, 5), kFormBackground);
    EXPECT_EQ(Pixel(kFormWidth - 1, kFormHeight - 1), kFormBackground);
    EXPECT_FALSE(GetItem("name"));
    EXPECT_FALSE(SetItem("name", "x"));
}

TEST_F(FormOpenTest, FrontKindsAreReversedAndFramesDrawnLast) {
    // In file order S1, R, F, S2; the list becomes S2, F, S1, R and is drawn in that order.
    const DesignItem s1 = StaticItem(RECT{40, 10, 80, 50}, "", 0x0000C000);
    const DesignItem r = FrameItem(kRectangle, RECT{60, 10, 100, 50});
    const DesignItem f = ColumnItem("", RECT{20, 10, 60, 50}, 1);
    const DesignItem s2 = StaticItem(RECT{0, 10, 40, 50}, "", 0x00FF0000);
    ASSERT_TRUE(OpenForm(form_.Get(), nullptr, kCustomers, designs_.Write({s1, r, f, s2})));
    // S2 and F overlap: F drawn after S2. F and S1: S1 after F. S1 under R's edge: R last.
    EXPECT_EQ(Pixel(10, 30), 0x00FF0000U);
    EXPECT_EQ(Pixel(30, 30), kWhite);
    EXPECT_EQ(Pixel(50, 30), 0x0000C000U);
    EXPECT_EQ(Pixel(60, 30), COLOR_3DSHADOW);
    EXPECT_EQ(Pixel(70, 30), 0x0000C000U);
}

TEST_F(FormOpenTest, ColumnsShowTheFirstRecordByNameInAnyLetterCase) {
    const DesignItem city = ColumnItem("CiTy", RECT{10, 10, 200, 30}, 1);
    const DesignItem unmatched = [] {
        DesignItem item = ColumnItem("no_such_field", RECT{10, 40, 200, 60}, 2);
        item.text = "design text";
        return item;
    }();
    ASSERT_TRUE(OpenForm({city, unmatched}));
    const std::vector<std::string> cities = Customers("city");
    ASSERT_FALSE(cities.empty());
    EXPECT_TRUE(Shows(city, cities.front()));
    EXPECT_TRUE(Shows(unmatched, "design text"));
    EXPECT_EQ(GetItem("city"), cities.front());
}

TEST_F(FormOpenTest, AFormOpenedBeforeTheControlHasAWindowShowsTheRecordOnceShown) {
    const DesignItem name = ColumnItem("name", RECT{10, 10, 300, 30}, 1);
    const CComPtr<IDispatch> hidden = CreateForm();
    ASSERT_TRUE(hidden);
    ASSERT_TRUE(OpenForm(hidden.Get(), Connection(), kCustomers, designs_.Write({name})));
    shown_.front()->Close();
    window_ = Show(hidden.Get());
    ASSERT_NE(window_, nullptr);
    EXPECT_TRUE(Shows(name, Customers("name").front()));
}

TEST_F(FormOpenTest, AReadOnlyDesignOpens) {
    const DesignItem city = ColumnItem("city", RECT{10, 10, 200, 30}, 1);
    const std::string readOnly = designs_.Write({city}, "read_only.qor");
    ASSERT_EQ(::chmod(readOnly.c_str(), 0444), 0);
    EXPECT_TRUE(OpenForm(form_.Get(), Connection(), kCustomers, readOnly));
    EXPECT_EQ(GetItem("city"), Customers("city").front());
}

TEST_F(FormOpenTest, ADesignThatCannotBeOpenedLeavesTheOpenFormAsItWas) {
    const DesignItem city = ColumnItem("city", RECT{10, 10, 200, 30}, 1);
    ASSERT_TRUE(OpenForm({city}));
    EXPECT_FALSE(
        OpenForm(form_.Get(), Connection(), "SELECT * FROM products", designs_.File("none.qor")));
    EXPECT_FALSE(OpenForm(form_.Get(), Connection(), "SELECT * FROM products", designs_.File("")));

    const std::string firstCity = Customers("city").front();
    EXPECT_TRUE(Shows(city, firstCity));
    EXPECT_EQ(GetItem("city"), firstCity);
    Key(VK_NEXT);
    EXPECT_EQ(GetItem("city"), Customers("city")[1]);
}

TEST_F(FormOpenTest, AQueryThatDoesNotOpenLeavesTheDesignTexts) {
    DesignItem city = ColumnItem("city", RECT{10, 10, 200, 30}, 1);
    city.text = "City here";
    ASSERT_TRUE(OpenForm({city}, "SELECT * FROM no_such_table"));
    EXPECT_TRUE(Shows(city, "City here"));
    EXPECT_FALSE(GetItem("city"));
    EXPECT_FALSE(SetItem("city", "Cork"));

    // Without a connection, or with an object that is none, the form opens the same way.
    ASSERT_TRUE(OpenForm(form_.Get(), nullptr, kCustomers, designs_.Write({city})));
    EXPECT_TRUE(Shows(city, "City here"));
    const CComPtr<IDispatch> notAConnection = CreateForm();
    ASSERT_TRUE(OpenForm(form_.Get(), notAConnection.Get(), kCustomers, designs_.Write({city})));
    EXPECT_FALSE(GetItem("city"));
}

TEST_F(FormOpenTest, AConnectionThatFailsTheQueryForItFailsTheOpen) {
    const DesignItem city = ColumnItem("city", RECT{10, 10, 200, 30}, 1);
    ASSERT_TRUE(OpenForm({city}));
    const CComPtr<CFailingConnection> failing = MakeComObject<CFailingConnection>();
    DesignItem other = ColumnItem("name", RECT{10, 40, 200, 60}, 1);
    other.text = "new design";
    EXPECT_FALSE(OpenForm(form_.Get(), failing.Get(), kCustomers, designs_.Write({other})));
    // The new design is read, but the earlier query is gone and the form is not loaded.
    EXPECT_FALSE(GetItem("city"));
    EXPECT_FALSE(GetItem("name"));
    window_->RedrawWindow();
    EXPECT_TRUE(Shows(other, "new design"));
}

TEST_F(FormOpenTest, AQueryWithoutRecordsKeepsTheDesignTexts) {
    DesignItem city = ColumnItem("city", RECT{10, 10, 200, 30}, 1);
    city.text = "nobody";
    ASSERT_TRUE(OpenForm({city}, "SELECT * FROM customers WHERE customer_id < 0"));
    EXPECT_TRUE(Shows(city, "nobody"));
    Key(VK_NEXT);
    Key(VK_END);
    EXPECT_TRUE(Shows(city, "nobody"));
}

TEST_F(FormOpenTest, EmptyFilesAndTrailingFragmentsOpen) {
    ASSERT_TRUE(OpenForm({}));
    EXPECT_EQ(Pixel(100, 100), kFormBackground);
    EXPECT_FALSE(GetItem("city"));

    const DesignItem a = StaticItem(RECT{0, 0, 50, 50}, "", 0x000000FF);
    const DesignItem b = StaticItem(RECT{50, 0, 100, 50}, "", 0x0000FF00);
    const DesignItem c = StaticItem(RECT{100, 0, 150, 50}, "", 0x00FF0000);
    const std::string path = designs_.Write({a, b, c}, "fragment.qor", 100);
    std::filesystem::resize_file(path, 2 * kDesignItemRecordSize + 100);
    ASSERT_TRUE(OpenForm(form_.Get(), Connection(), kCustomers, path));
    EXPECT_EQ(Pixel(25, 25), 0x000000FFU);
    EXPECT_EQ(Pixel(75, 25), 0x0000FF00U);
    EXPECT_EQ(Pixel(125, 25), kFormBackground);
}

TEST_F(FormOpenTest, ALaterOpenReplacesTheItemsAndTheQuery) {
    ASSERT_TRUE(OpenForm({ColumnItem("city", RECT{10, 10, 200, 30}, 1)}));
    const DesignItem description = ColumnItem("description", RECT{10, 40, 300, 60}, 1);
    ASSERT_TRUE(OpenForm({description}, "SELECT * FROM products"));
    EXPECT_FALSE(GetItem("city"));
    const std::vector<std::string> descriptions =
        FieldTexts(database_.ConnectionString(), "SELECT * FROM products", "description");
    EXPECT_EQ(GetItem("DESCRIPTION"), descriptions.front());
    EXPECT_TRUE(Shows(description, descriptions.front()));
    EXPECT_EQ(Pixel(100, 20), kFormBackground);

    // A query that does not open leaves no recordset behind, not even the earlier one.
    ASSERT_TRUE(OpenForm({description}, "SELECT * FROM no_such_table"));
    EXPECT_FALSE(GetItem("description"));
}

TEST_F(FormOpenTest, StaticTextsFollowTheFormBackgroundAndShowSelectionOverBorder) {
    const DesignItem plain = StaticItem(RECT{10, 10, 110, 40});
    DesignItem selected = StaticItem(RECT{10, 60, 110, 90});
    selected.selected = true;
    selected.border = true;
    DesignItem bordered = StaticItem(RECT{10, 110, 110, 140});
    bordered.border = true;
    ASSERT_TRUE(OpenForm({plain, selected, bordered}));
    EXPECT_EQ(Pixel(50, 25), kFormBackground);
    EXPECT_EQ(Pixel(10, 110), COLOR_3DSHADOW);
    // The focus rectangle's dots invert the background; no etched edge is drawn under it.
    int dots = 0;
    for (int x = selected.rect.left; x < selected.rect.right; ++x) {
        const COLORREF top = Pixel(x, selected.rect.top);
        EXPECT_NE(top, COLOR_3DSHADOW) << x;
        dots += top == (kFormBackground ^ 0x00FFFFFFU) ? 1 : 0;
    }
    EXPECT_EQ(dots, selected.rect.Width() / 2);
    EXPECT_EQ(Pixel(selected.rect.left + 1, selected.rect.top + 1), kFormBackground);

    SetFormColors(0x00336699, kHighlightBack, kHighlightText);
    EXPECT_EQ(Pixel(50, 25), 0x00336699U);
    EXPECT_EQ(Pixel(300, 250), 0x00336699U);
}

TEST_F(FormOpenTest, AColumnTooNarrowForItsTextShowsTheTextsEnd) {
    DesignItem narrow = ColumnItem("none", RECT{10, 10, 70, 30}, 1);
    narrow.text = "WWWWWWWWWWWWWWWWWWWW";
    DesignItem wide = ColumnItem("none", RECT{10, 40, 200, 60}, 2);
    wide.text = "WWW";
    wide.justification = 2;
    ASSERT_TRUE(OpenForm({narrow, wide}));
    // The text rectangle is 2 pixels narrower on each side.
    const auto rightmostInk = [&](const DesignItem& item) {
        for (int x = item.rect.right - 1; x >= item.rect.left; --x) {
            for (int y = item.rect.top + 1; y < item.rect.bottom - 1; ++y) {
                if (Pixel(x, y) == kBlack) {
                    return x;
                }
            }
        }
        return -1;
    };
    EXPECT_GE(rightmostInk(narrow), narrow.rect.right - 6);
    EXPECT_LT(rightmostInk(narrow), narrow.rect.right - 2);
    // A text that fits starts at the left, whatever the column's justification.
    EXPECT_LT(rightmostInk(wide), wide.rect.left + 40);
    EXPECT_GE(rightmostInk(wide), wide.rect.left + 2);
}

TEST_F(FormOpenTest, AnUnderlinedItemHasALineOnePixelBelowIt) {
    DesignItem text = StaticItem(RECT{20, 20, 120, 40}, "", static_cast<int>(kWhite));
    text.underline = true;
    DesignItem column = ColumnItem("none", RECT{20, 60, 120, 80}, 1);
    column.underline = true;
    ASSERT_TRUE(OpenForm({text, column}));
    for (const DesignItem& item : {text, column}) {
        const int row = item.rect.bottom + 1;
        EXPECT_EQ(Pixel(item.rect.left, row), kBlack);
        EXPECT_EQ(Pixel(item.rect.right - 1, row), kBlack);
        EXPECT_EQ(Pixel(item.rect.right, row), kFormBackground);
        EXPECT_EQ(Pixel(item.rect.left + 50, item.rect.bottom), kFormBackground);
        EXPECT_EQ(Pixel(item.rect.left + 50, row + 1), kFormBackground);
    }
}

TEST_F(FormOpenTest, LinesAndFramesAreDrawnByKind) {
    const DesignItem horizontal = FrameItem(kHorizontalLine, RECT{10, 10, 110, 20});
    const DesignItem vertical = FrameItem(kVerticalLine, RECT{150, 10, 160, 110});
    const DesignItem round = FrameItem(kRoundRectangle, RECT{200, 10, 300, 110});
    DesignItem unknown = StaticItem(RECT{10, 150, 110, 200}, "", 0x000000FF);
    unknown.kind = 9;
    ASSERT_TRUE(OpenForm({horizontal, vertical, round, unknown}));
    EXPECT_EQ(Pixel(50, 13), kBlack);
    EXPECT_EQ(Pixel(50, 12), kFormBackground);
    EXPECT_EQ(Pixel(153, 50), kBlack);
    EXPECT_EQ(Pixel(205, 10), kBlack);
    EXPECT_EQ(Pixel(200, 10), kFormBackground);  // the corner is cut
    EXPECT_EQ(Pixel(50, 175), kFormBackground);
}
