// The "Column Properties" dialog that edits every stored property of one design item.
#pragma once

#include <string>

#include "controls/common/design_item.h"
#include "designer/color_swatch.h"
#include "platform/dialogs/dialog.h"

constexpr UINT IDD_COLUMN_PROPERTIES = 130;
constexpr UINT IDC_NAME = 1000;
constexpr UINT IDC_TEXT = 1001;
constexpr UINT IDC_EDIT_STYLE = 1002;
constexpr UINT IDC_MASK = 1003;
constexpr UINT IDC_WHOLE_DIGITS = 1004;
constexpr UINT IDC_DECIMAL_DIGITS = 1005;
constexpr UINT IDC_WIDTH = 1006;
constexpr UINT IDC_HEIGHT = 1007;
constexpr UINT IDC_BOLD = 1008;
constexpr UINT IDC_UNDERLINE = 1009;
constexpr UINT IDC_JUSTIFICATION = 1010;
constexpr UINT IDC_ITALIC = 1011;
constexpr UINT IDC_MAX_LENGTH = 1012;
constexpr UINT IDC_BORDER = 1014;
constexpr UINT IDC_BACK_COLOR = 1015;
constexpr UINT IDC_TEXT_COLOR = 1017;
constexpr UINT IDC_TEXT_SWATCH = 1018;
constexpr UINT IDC_BACK_SWATCH = 1019;

// Puts the dialog's template into the resource table.
void RegisterColumnPropertiesDialog();

// atoi as the dialog reads its number boxes: an optional sign and the leading digits, 0 when
// there are none; values beyond the int range saturate instead of overflowing.
int Atoi(const std::string& text);

class CColumnPropertiesDlg : public CDialog {
  public:
    explicit CColumnPropertiesDlg(CWnd* parent = nullptr);

    // Edits the item in place; true exactly when the dialog ended with OK. Colours chosen with
    // the colour buttons are written at once, so they stay after Cancel too.
    bool EditItem(DesignItem* item);

    bool OnInitDialog() override;
    void OnOK() override;
    void DoDataExchange(CDataExchange& dx) override;

  private:
    void FillLists();
    void OnBackColor();
    void OnTextColor();
    void WriteJustification();
    void WriteEditStyle();

    DesignItem* m_item = nullptr;
    CColorSwatch m_backSwatch;
    CColorSwatch m_textSwatch;
    CComboBox m_justification;
    CComboBox m_editStyle;
    std::string m_name;
    std::string m_text;
    std::string m_mask;
    std::string m_maxLength;
    std::string m_wholeDigits;
    std::string m_decimalDigits;
    std::string m_width;
    std::string m_height;
    int m_bold = 0;
    int m_underline = 0;
    int m_italic = 0;
    int m_border = 0;
};
