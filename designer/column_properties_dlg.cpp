// The "Column Properties" dialog: its template, opening from the item, the colour buttons,
// and writing the boxes back into the item on OK.
#include "designer/column_properties_dlg.h"

#include <algorithm>
#include <climits>
#include <cstdio>

#include "controls/common/edit_style.h"
#include "platform/dialogs/common_dialogs.h"

namespace {

constexpr const char* kJustifications[] = {"LEFT", "RIGHT", "CENTERED"};
constexpr const char* kEditStyles[] = {"TEXT", "MASK", "DATE", "NUMERIC", "LIST", "CHECKBOX"};

// The record fields hold 255, 255 and 258 bytes with their terminator.
constexpr int kNameLimit = 254;
constexpr int kTextLimit = 254;
constexpr int kMaskLimit = 257;

std::string Decimal(int value) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%d", value);
    return buffer;
}

DlgTemplate ColumnPropertiesTemplate() {
    using K = DlgControlKind;
    const UINT edit = WS_TABSTOP | ES_AUTOHSCROLL;
    const UINT number = WS_TABSTOP | ES_NUMBER | ES_CENTER | ES_AUTOHSCROLL;
    const UINT upperCentred = WS_TABSTOP | ES_UPPERCASE | ES_CENTER | ES_AUTOHSCROLL;
    const UINT list = WS_TABSTOP | CBS_DROPDOWNLIST;
    const UINT check = WS_TABSTOP | BS_AUTOCHECKBOX;
    const UINT button = WS_TABSTOP | BS_PUSHBUTTON;
    return DlgTemplate{
        IDD_COLUMN_PROPERTIES,
        "Column Properties",
        338,
        249,
        {
            {K::GroupBox, 0, "Format:", 7, 4, 200, 92, BS_GROUPBOX},
            {K::Static, 0, "Name:", 14, 18, 50, 8, SS_LEFT},
            {K::Edit, IDC_NAME, "", 68, 16, 132, 12, edit | ES_UPPERCASE},
            {K::Static, 0, "Text:", 14, 34, 50, 8, SS_LEFT},
            {K::Edit, IDC_TEXT, "", 68, 32, 132, 12, edit},
            {K::Static, 0, "Justification:", 14, 50, 52, 8, SS_LEFT},
            {K::ComboBox, IDC_JUSTIFICATION, "", 68, 48, 80, 60, list},
            {K::CheckBox, IDC_BOLD, "Bold", 14, 66, 40, 10, check},
            {K::CheckBox, IDC_UNDERLINE, "Underlined", 60, 66, 55, 10, check},
            {K::CheckBox, IDC_ITALIC, "Italic", 120, 66, 40, 10, check},
            {K::CheckBox, IDC_BORDER, "Border", 14, 80, 50, 10, check},
            {K::GroupBox, 0, "Colors:", 214, 4, 117, 60, BS_GROUPBOX},
            {K::PushButton, IDC_BACK_COLOR, "Back Color", 222, 16, 48, 14, button},
            {K::Static, IDC_BACK_SWATCH, "", 222, 34, 48, 22, SS_LEFT},
            {K::PushButton, IDC_TEXT_COLOR, "Text Color", 276, 16, 48, 14, button},
            {K::Static, IDC_TEXT_SWATCH, "", 276, 34, 48, 22, SS_LEFT},
            {K::GroupBox, 0, "Screen Dimensions", 214, 66, 117, 30, BS_GROUPBOX},
            {K::Static, 0, "Width", 220, 80, 22, 8, SS_LEFT},
            {K::Edit, IDC_WIDTH, "", 244, 78, 26, 12, number},
            {K::Static, 0, "Height", 274, 80, 24, 8, SS_LEFT},
            {K::Edit, IDC_HEIGHT, "", 300, 78, 26, 12, number},
            {K::GroupBox, 0, "Edit Style Properties:", 7, 100, 324, 124, BS_GROUPBOX},
            {K::Static, 0, "Edit Style:", 14, 114, 50, 8, SS_LEFT},
            {K::ComboBox, IDC_EDIT_STYLE, "", 68, 112, 80, 80, list},
            {K::Static, 0, "Max Length:", 160, 114, 50, 8, SS_LEFT},
            {K::Edit, IDC_MAX_LENGTH, "", 214, 112, 40, 12, number},
            {K::Static, 0, "Mask:", 14, 130, 50, 8, SS_LEFT},
            {K::Edit, IDC_MASK, "", 68, 128, 186, 12, upperCentred},
            {K::Static, 0, "Whole Digits:", 14, 146, 50, 8, SS_LEFT},
            {K::Edit, IDC_WHOLE_DIGITS, "", 68, 144, 40, 12, upperCentred},
            {K::Static, 0, "Decimal Digits:", 160, 146, 52, 8, SS_LEFT},
            {K::Edit, IDC_DECIMAL_DIGITS, "", 214, 144, 40, 12, upperCentred},
            {K::Static, 0, "When you specify a mask, use", 14, 164, 310, 8, SS_LEFT},
            {K::Static, 0, "* - To indicate that any character can be entered at that position.",
             14, 174, 310, 8, SS_LEFT},
            {K::Static, 0, "# - To indicate that only digits can be entered at that position.", 14,
             184, 310, 8, SS_LEFT},
            {K::Static, 0, "Any other character will be treated as a mask character!", 14, 194, 310,
             8, SS_LEFT},
            {K::PushButton, IDOK, "OK", 220, 229, 50, 14, WS_TABSTOP | BS_DEFPUSHBUTTON},
            {K::PushButton, IDCANCEL, "Cancel", 281, 229, 50, 14, button},
        }};
}

int SelectionIndexOfJustification(int justification) {
    switch (justification) {
        case 1:
            return 0;
        case 2:
            return 1;
        default:
            return 2;
    }
}

int SelectionIndexOfEditStyle(int editStyle) {
    switch (static_cast<DesignerEditStyle>(editStyle)) {
        case DesignerEditStyle::Text:
            return 0;
        case DesignerEditStyle::Mask:
            return 1;
        case DesignerEditStyle::Date:
            return 2;
        case DesignerEditStyle::Numeric:
            return 3;
        case DesignerEditStyle::List:
            return 4;
        case DesignerEditStyle::CheckBox:
            return 5;
        default:
            return CB_ERR;
    }
}

}  // namespace

void RegisterColumnPropertiesDialog() {
    RegisterDialogResource(ColumnPropertiesTemplate());
}

int Atoi(const std::string& text) {
    size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || (text[i] >= '\t' && text[i] <= '\r'))) {
        ++i;
    }
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    long long value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        value = std::min<long long>(value * 10 + (text[i] - '0'), 1LL + INT_MAX);
    }
    value = negative ? -value : value;
    return static_cast<int>(std::clamp<long long>(value, INT_MIN, INT_MAX));
}

CColumnPropertiesDlg::CColumnPropertiesDlg(CWnd* parent) : CDialog(IDD_COLUMN_PROPERTIES, parent) {
    OnCommandId(IDC_BACK_COLOR, [this] { OnBackColor(); });
    OnCommandId(IDC_TEXT_COLOR, [this] { OnTextColor(); });
}

bool CColumnPropertiesDlg::EditItem(DesignItem* item) {
    if (item == nullptr) {
        return false;
    }
    m_item = item;
    return DoModal() == IDOK;
}

void CColumnPropertiesDlg::DoDataExchange(CDataExchange& dx) {
    DDX_Text(dx, IDC_NAME, m_name);
    DDX_Text(dx, IDC_TEXT, m_text);
    DDX_Control(dx, IDC_JUSTIFICATION, m_justification);
    DDX_Check(dx, IDC_BOLD, m_bold);
    DDX_Check(dx, IDC_UNDERLINE, m_underline);
    DDX_Check(dx, IDC_ITALIC, m_italic);
    DDX_Check(dx, IDC_BORDER, m_border);
    DDX_Control(dx, IDC_EDIT_STYLE, m_editStyle);
    DDX_Text(dx, IDC_MAX_LENGTH, m_maxLength);
    DDX_Text(dx, IDC_MASK, m_mask);
    DDX_Text(dx, IDC_WHOLE_DIGITS, m_wholeDigits);
    DDX_Text(dx, IDC_DECIMAL_DIGITS, m_decimalDigits);
    DDX_Text(dx, IDC_WIDTH, m_width);
    DDX_Text(dx, IDC_HEIGHT, m_height);
}

void CColumnPropertiesDlg::FillLists() {
    m_justification.ResetContent();
    for (const char* entry : kJustifications) {
        m_justification.AddString(entry);
    }
    m_editStyle.ResetContent();
    for (const char* entry : kEditStyles) {
        m_editStyle.AddString(entry);
    }
}

bool CColumnPropertiesDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    m_backSwatch.SubclassDlgItem(IDC_BACK_SWATCH, this);
    m_textSwatch.SubclassDlgItem(IDC_TEXT_SWATCH, this);
    LimitText(IDC_NAME, kNameLimit);
    LimitText(IDC_TEXT, kTextLimit);
    LimitText(IDC_MASK, kMaskLimit);

    const DesignItem& item = *m_item;
    m_border = item.border ? 1 : 0;
    m_bold = item.bold ? 1 : 0;
    m_italic = item.italic ? 1 : 0;
    m_underline = item.underline ? 1 : 0;
    m_decimalDigits = Decimal(item.decimalDigits);
    m_wholeDigits = Decimal(item.wholeDigits);
    m_maxLength = Decimal(item.maxLength);
    // The box labelled "Width" holds the vertical extent and "Height" the horizontal one.
    m_width = Decimal(item.rect.bottom - item.rect.top);
    m_height = Decimal(item.rect.right - item.rect.left);
    m_mask = item.mask;
    m_name = item.name;
    m_text = item.text;

    FillLists();
    m_justification.SetCurSel(SelectionIndexOfJustification(item.justification));
    m_editStyle.SetCurSel(SelectionIndexOfEditStyle(item.editStyle));
    m_backSwatch.SetColor(static_cast<COLORREF>(item.backColor));
    m_textSwatch.SetColor(static_cast<COLORREF>(item.textColor));
    UpdateData(false);
    return true;
}

void CColumnPropertiesDlg::OnBackColor() {
    CColorDialog dialog(static_cast<COLORREF>(m_item->backColor), CC_FULLOPEN, nullptr);
    if (dialog.DoModal() == IDOK) {
        m_item->backColor = static_cast<std::int32_t>(dialog.GetColor());
        m_backSwatch.SetColor(dialog.GetColor());
    }
}

void CColumnPropertiesDlg::OnTextColor() {
    CColorDialog dialog(static_cast<COLORREF>(m_item->textColor), CC_FULLOPEN, nullptr);
    if (dialog.DoModal() == IDOK) {
        m_item->textColor = static_cast<std::int32_t>(dialog.GetColor());
        m_textSwatch.SetColor(dialog.GetColor());
    }
}

void CColumnPropertiesDlg::OnOK() {
    if (!UpdateData(true)) {
        return;
    }
    DesignItem& item = *m_item;
    item.border = m_border != 0;
    item.bold = m_bold != 0;
    item.decimalDigits = Atoi(m_decimalDigits);
    item.wholeDigits = Atoi(m_wholeDigits);
    item.rect.bottom = item.rect.top + Atoi(m_width);
    item.rect.right = item.rect.left + Atoi(m_height);
    item.italic = m_italic != 0;
    item.mask = m_mask;
    item.name = m_name;
    item.text = m_text;
    item.maxLength = Atoi(m_maxLength);
    item.underline = m_underline != 0;
    WriteJustification();
    WriteEditStyle();
    EndDialog(IDOK);
}

void CColumnPropertiesDlg::WriteJustification() {
    const int selected = m_justification.GetCurSel();
    if (selected != CB_ERR) {
        m_item->justification = selected + 1;
    }
}

void CColumnPropertiesDlg::WriteEditStyle() {
    const int selected = m_editStyle.GetCurSel();
    if (selected == CB_ERR) {
        return;
    }
    // The designer writes a date as a mask column with the date mask.
    using S = DesignerEditStyle;
    static constexpr S kStyles[] = {S::Text, S::Mask, S::Mask, S::Numeric, S::List, S::CheckBox};
    m_item->editStyle = CodeOf(kStyles[selected]);
    if (m_editStyle.GetLBText(selected) == "DATE") {
        m_item->mask = kDateMask;
    }
}
