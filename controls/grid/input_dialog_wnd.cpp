// The "New Row..." window: layout on the screen, painting, the modal run, keys, clicks and typing.
#include "controls/grid/input_dialog_wnd.h"

#include <algorithm>
#include <memory>
#include <utility>

#include "controls/common/field_typing.h"
#include "platform/com/ansi_string.h"
#include "platform/com/exception_guard.h"
#include "platform/ui/modal_loop.h"

namespace {

constexpr int kBorder = 1;            // the thin frame WS_BORDER draws on each side
constexpr int kTitleAndButtons = 95;  // the height the window takes besides its lines
constexpr int kLineGap = 3;
constexpr int kHorizontalRoom = 30;  // the width the window takes besides label and value
constexpr int kScreenHeightKept = 100;
constexpr int kMargin = 5;
constexpr int kLabelGap = 10;
constexpr int kFirstLineTop = CInputDialogWnd::kTitleBandHeight + 10;
constexpr int kButtonArea = 50;
constexpr int kButtonWidth = 75;
constexpr int kButtonHeight = 25;
constexpr int kButtonBottomMargin = 10;
constexpr int kButtonSpacing = 10;
constexpr int kTextIndent = 2;
constexpr COLORREF kButtonFace = 0x00C0C0C0;
constexpr COLORREF kButtonText = 0x00000000;
constexpr COLORREF kUnderline = 0x00000000;
constexpr COLORREF kCaptionText = 0x00FFFFFF;

CFont LineFont() {
    return CFont::FromPoints(100, "Times New Roman");
}

// Dates, lists and check boxes are chosen in the grid itself, so this window types none of them.
TypingParameters TypingOf(const InputField& field) {
    TypingParameters how;
    how.maxSize = field.maxSize;
    how.mask = field.editMask;
    how.wholeDigits = field.wholeDigits;
    how.decimalDigits = field.decimalDigits;
    switch (field.editStyle) {
        case EditStyle::Mask:
            how.rule = TypingRule::Mask;
            break;
        case EditStyle::Numeric:
            how.rule = TypingRule::Numeric;
            break;
        case EditStyle::Date:
        case EditStyle::List:
        case EditStyle::CheckBox:
            how.rule = TypingRule::None;
            break;
        default:
            how.rule = TypingRule::Text;
            break;
    }
    return how;
}

void DrawButton(CDC& dc, const RECT& rc, std::string_view text) {
    dc.FillSolidRect(rc, kButtonFace);
    dc.DrawEdge(rc, EDGE_RAISED, BF_RECT);
    dc.SetTextColor(kButtonText);
    RECT textRect = rc;
    dc.DrawText(text, textRect, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
}

}  // namespace

void CInputDialogWnd::AddField(InputField field) {
    m_fields.push_back(std::move(field));
    Layout();
}

void CInputDialogWnd::SetCaption(std::string caption) {
    m_caption = std::move(caption);
    Redraw();
}

void CInputDialogWnd::SetColors(COLORREF back, COLORREF title) {
    m_backColor = back;
    m_titleColor = title;
    Redraw();
}

bool CInputDialogWnd::Run(CWnd* owner) {
    return GuardValue("new-row window", false, [&] {
        m_okPressed = false;
        m_cancelPressed = false;
        m_firstVisibleField = 0;
        m_currentField = 0;
        if (!CreateEx(WS_EX_TOPMOST, WS_POPUP | WS_BORDER | WS_VISIBLE,
                      RECT{0, 0, kCreatedWidth, kCreatedHeight}, owner)) {
            return false;
        }
        SetCursor(Cursor::Arrow);
        Layout();
        SetFocus();
        SetCapture();
        RunModalLoop(*this, [this] { return m_okPressed || m_cancelPressed; });
        // A driver that gave up on the loop leaves the window open; it goes as Cancel would.
        DestroyWindow();
        return m_okPressed;
    });
}

bool CInputDialogWnd::GetValue(std::string_view key, std::string& value) const {
    const auto found = std::find_if(m_fields.begin(), m_fields.end(),
                                    [&](const InputField& f) { return EqualsNoCase(f.key, key); });
    if (found == m_fields.end()) {
        return false;
    }
    value = found->value;
    return true;
}

void CInputDialogWnd::Layout() {
    CBitmap scratch(1, 1);
    const std::unique_ptr<CDC> dc = CreateBitmapDC(scratch);
    dc->SelectFont(LineFont());
    m_lineHeight = dc->GetTextExtentPoint32("M").cy + 4;
    const int screenWidth = GetSystemMetrics(SM_CXSCREEN);
    const int screenHeight = GetSystemMetrics(SM_CYSCREEN);
    m_labelWidth = 0;
    for (const InputField& field : m_fields) {
        m_labelWidth = std::max(m_labelWidth, dc->GetTextExtentPoint32(field.key).cx);
    }
    if (m_labelWidth > screenWidth) {
        m_labelWidth = screenWidth / 2;
    }
    int widest = 0;
    for (InputField& field : m_fields) {
        field.width =
            std::clamp(field.width, 0, std::max(0, screenWidth - m_labelWidth - kHorizontalRoom));
        widest = std::max(widest, field.width);
    }
    const int lines = static_cast<int>(m_fields.size());
    const int height = std::min(kTitleAndButtons + lines * (kLineGap + m_lineHeight),
                                screenHeight - kScreenHeightKept);
    const int width = m_labelWidth + widest + kHorizontalRoom;
    const int left = width > screenWidth ? 0 : (screenWidth - width) / 2;
    const int top = (screenHeight - height) / 2;
    m_layoutRect = RECT{left, top, left + std::min(width, screenWidth), top + height};
    PlaceLines();
    if (IsWindow()) {
        MoveWindow(m_layoutRect);
        Redraw();
    }
}

void CInputDialogWnd::PlaceLines() {
    const int clientWidth = m_layoutRect.Width() - 2 * kBorder;
    const int clientHeight = m_layoutRect.Height() - 2 * kBorder;
    const int pitch = m_lineHeight + kLineGap;
    m_lineCapacity = static_cast<std::size_t>(
        std::max(1, (clientHeight - kButtonArea - kFirstLineTop + kLineGap) / pitch));
    ShowFrom(m_firstVisibleField);

    const int buttonWidth = std::clamp((clientWidth - 3 * kButtonSpacing) / 2, 0, kButtonWidth);
    const int buttonTop = clientHeight - kButtonBottomMargin - kButtonHeight;
    const int middle = clientWidth / 2;
    m_okRect = RECT{middle - kButtonSpacing / 2 - buttonWidth, buttonTop,
                    middle - kButtonSpacing / 2, buttonTop + kButtonHeight};
    m_cancelRect = RECT{middle + kButtonSpacing / 2, buttonTop,
                        middle + kButtonSpacing / 2 + buttonWidth, buttonTop + kButtonHeight};
}

void CInputDialogWnd::ShowFrom(std::size_t first) {
    m_firstVisibleField = first;
    m_lastVisibleField =
        m_fields.empty() ? 0 : std::min(m_fields.size() - 1, first + m_lineCapacity - 1);
}

RECT CInputDialogWnd::LabelRect(std::size_t field) const {
    const int top =
        kFirstLineTop + static_cast<int>(field - m_firstVisibleField) * (m_lineHeight + kLineGap);
    return RECT{kMargin, top, kMargin + m_labelWidth, top + m_lineHeight};
}

RECT CInputDialogWnd::ValueRect(std::size_t field) const {
    const RECT label = LabelRect(field);
    const int left = label.right + kLabelGap;
    return RECT{left, label.top, left + m_fields[field].width, label.bottom};
}

void CInputDialogWnd::OnPaint(CDC& dc) {
    const RECT client = GetClientRect();
    dc.FillSolidRect(client, m_backColor);
    RECT band{0, 0, client.right, kTitleBandHeight};
    dc.FillSolidRect(band, m_titleColor);
    dc.SetBkMode(TRANSPARENT);
    dc.SetTextColor(kCaptionText);
    dc.DrawText(m_caption, band, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    DrawButton(dc, m_okRect, "OK");
    DrawButton(dc, m_cancelRect, "Cancel");
    if (m_fields.empty()) {
        return;
    }
    for (std::size_t field = m_firstVisibleField; field <= m_lastVisibleField; ++field) {
        DrawLine(dc, field);
    }
}

void CInputDialogWnd::DrawLine(CDC& dc, std::size_t field) {
    InputField& line = m_fields[field];
    const bool current = field == m_currentField;
    const CFont oldFont = dc.SelectFont(LineFont());
    dc.SetBkMode(TRANSPARENT);
    RECT label = LabelRect(field);
    dc.FillSolidRect(label, m_backColor);
    dc.SetTextColor(m_titleColor);
    dc.DrawText(line.key, label, DT_RIGHT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);

    line.lineRect = ValueRect(field);
    dc.FillSolidRect(line.lineRect, current ? kCurrentBack : line.backColor);
    dc.SetTextColor(current ? kCurrentText : line.textColor);
    RECT text = line.lineRect;
    text.left += kTextIndent;
    dc.SetClipRect(line.lineRect);
    dc.DrawText(line.value, text, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    dc.SetClipRect(RECT{});
    const CPen oldPen = dc.SelectPen(CPen{PS_SOLID, 0, kUnderline});
    dc.MoveTo(line.lineRect.left, line.lineRect.bottom);
    dc.LineTo(line.lineRect.right, line.lineRect.bottom);
    dc.SelectPen(oldPen);
    dc.SelectFont(oldFont);
}

void CInputDialogWnd::RedrawLine(std::size_t field) {
    if (!IsWindow() || field < m_firstVisibleField || field > m_lastVisibleField) {
        return;
    }
    CClientDC dc(this);
    DrawLine(*dc, field);
}

void CInputDialogWnd::Redraw() {
    if (IsWindow()) {
        Invalidate();
        UpdateWindow();
    }
}

void CInputDialogWnd::MakeCurrent(std::size_t field) {
    const std::size_t old = m_currentField;
    m_currentField = field;
    RedrawLine(old);
    RedrawLine(field);
}

void CInputDialogWnd::MoveNext() {
    if (m_currentField + 1 >= m_fields.size()) {
        return;
    }
    if (m_currentField == m_lastVisibleField) {
        ShowFrom(m_firstVisibleField + 1);
        m_currentField = m_lastVisibleField;
        Redraw();
        return;
    }
    MakeCurrent(m_currentField + 1);
}

void CInputDialogWnd::MovePrevious() {
    if (m_currentField == 0) {
        return;
    }
    if (m_currentField == m_firstVisibleField) {
        ShowFrom(m_firstVisibleField - 1);
        m_currentField = m_firstVisibleField;
        Redraw();
        return;
    }
    MakeCurrent(m_currentField - 1);
}

void CInputDialogWnd::OnKeyDown(UINT vk, UINT /*repeat*/, UINT /*flags*/) {
    const bool shift = GetKeyState(VK_SHIFT) < 0;
    if (vk == VK_TAB) {
        shift ? MovePrevious() : MoveNext();
    } else if (vk == VK_RETURN && !shift) {
        MoveNext();
    }
}

void CInputDialogWnd::OnChar(UINT ch, UINT /*repeat*/, UINT /*flags*/) {
    if (m_currentField >= m_fields.size() || !m_fields[m_currentField].editable) {
        return;
    }
    InputField& field = m_fields[m_currentField];
    const TypingParameters how = TypingOf(field);
    if (how.rule == TypingRule::None) {
        return;
    }
    const std::string before = field.value;
    TypeIntoText(field.value, how, ch);
    if (field.value != before) {
        RedrawLine(m_currentField);
    }
}

void CInputDialogWnd::OnLButtonDown(UINT /*flags*/, POINT point) {
    if (PtInRect(m_okRect, point) || PtInRect(m_cancelRect, point)) {
        (PtInRect(m_okRect, point) ? m_okPressed : m_cancelPressed) = true;
        DestroyWindow();
        return;
    }
    if (m_fields.empty()) {
        return;
    }
    for (std::size_t field = m_firstVisibleField; field <= m_lastVisibleField; ++field) {
        if (PtInRect(m_fields[field].lineRect, point)) {
            MakeCurrent(field);
            return;
        }
    }
}

void CInputDialogWnd::OnDestroy() {
    if (HasCapture()) {
        ReleaseCapture();
    }
}
