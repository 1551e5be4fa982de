// qor_form_designs: writes the sample design of a customers form, for the form control's demo
// and tests.
#include <cstdio>
#include <string>
#include <vector>

#include "controls/common/design.h"
#include "controls/common/edit_style.h"

namespace {

constexpr int kText = CodeOf(DesignerEditStyle::Text);
constexpr int kMask = CodeOf(DesignerEditStyle::Mask);
constexpr int kNumeric = CodeOf(DesignerEditStyle::Numeric);
constexpr int kCheckBox = CodeOf(DesignerEditStyle::CheckBox);

constexpr COLORREF kWhite = 0x00FFFFFF;
constexpr COLORREF kNavy = 0x00800000;

constexpr int kLabelLeft = 24;
constexpr int kColumnLeft = 150;
constexpr int kFirstRowTop = 64;
constexpr int kRowStep = 32;
constexpr int kRowHeight = 24;

struct FieldRow {
    const char* label;
    const char* column;
    int editStyle;
    int width;
    int maxLength;
    const char* mask;
    int wholeDigits;
    int decimalDigits;
};

const std::vector<FieldRow>& CustomerRows() {
    static const std::vector<FieldRow> rows{
        {"Customer No", "customer_no", kText, 110, 10, "", 0, 0},
        {"Name", "name", kText, 300, 40, "", 0, 0},
        {"Address", "address", kText, 330, 60, "", 0, 0},
        {"City", "city", kText, 220, 30, "", 0, 0},
        {"State", "state", kText, 40, 2, "", 0, 0},
        {"Zip Code", "zipcode", kText, 110, 10, "", 0, 0},
        {"Country", "country", kText, 220, 30, "", 0, 0},
        {"Phone", "phone", kText, 180, 20, "", 0, 0},
        {"E-mail", "email", kText, 330, 60, "", 0, 0},
        {"Credit Limit", "credit_limit", kNumeric, 120, 255, "", 7, 2},
        {"Discount", "discount", kNumeric, 80, 255, "", 1, 2},
        {"Created", "created_at", kMask, 120, 255, "##/##/####", 0, 0},
        {"Active", "active", kCheckBox, 60, 255, "", 0, 0},
    };
    return rows;
}

DesignItem StaticText(const std::string& text, const RECT& rect, int justification) {
    DesignItem item;
    item.kind = kStaticText;
    item.text = text;
    item.rect = rect;
    item.justification = justification;
    return item;
}

DesignItem Column(const FieldRow& row, int tabOrder, const RECT& rect) {
    DesignItem item;
    item.kind = kColumn;
    item.editStyle = row.editStyle;
    item.name = row.column;
    item.text = row.column;
    item.mask = row.mask;
    item.maxLength = row.maxLength;
    item.wholeDigits = row.wholeDigits;
    item.decimalDigits = row.decimalDigits;
    item.rect = rect;
    item.backColor = static_cast<std::int32_t>(kWhite);
    item.tabOrder = tabOrder;
    item.border = true;
    return item;
}

DesignItem Frame(ItemKind kind, const RECT& rect) {
    DesignItem item;
    item.kind = kind;
    item.rect = rect;
    return item;
}

// Items in the order the designer would have placed them; the reader's ordering rule puts the
// frames behind the texts and columns.
Design CustomersForm() {
    std::vector<DesignItem> items;
    DesignItem title = StaticText("Customers", RECT{kLabelLeft, 14, 300, 40}, 1);
    title.textColor = static_cast<std::int32_t>(kNavy);
    items.push_back(title);
    items.push_back(Frame(kHorizontalLine, RECT{kLabelLeft, 44, 560, 50}));
    int top = kFirstRowTop;
    int tabOrder = 1;
    for (const FieldRow& row : CustomerRows()) {
        items.push_back(
            StaticText(row.label, RECT{kLabelLeft, top, kColumnLeft - 10, top + kRowHeight}, 1));
        items.push_back(Column(row, tabOrder++,
                               RECT{kColumnLeft, top, kColumnLeft + row.width, top + kRowHeight}));
        top += kRowStep;
    }
    items.push_back(Frame(kRectangle, RECT{12, 56, 572, top + 4}));
    items.push_back(Frame(kRoundRectangle, RECT{4, 4, 580, top + 12}));
    return Design::FromFileOrder(std::move(items));
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fputs("usage: qor_form_designs CUSTOMERS.qor\n", stderr);
        return 2;
    }
    if (!WriteDesignFile(argv[1], CustomersForm())) {
        std::fprintf(stderr, "qor_form_designs: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
