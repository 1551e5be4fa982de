// Editing the line items on the form: the caret with the focus, the movement keys and Tab, typing
// into quantities, descriptions and prices, Backspace and the mouse.
#include <algorithm>
#include <cctype>
#include <string_view>
#include <utility>

#include "controls/common/field_typing.h"
#include "controls/order/order_ctrl.h"

namespace {

// The signs a description takes besides letters, digits and the blank; the quotes and the
// backslash are not among them.
constexpr std::string_view kDescriptionSigns = "!#$%^&*()-_=+[]{}:;,.<>?/~@|`";

bool IsAsciiDigit(UINT ch) {
    return ch >= '0' && ch <= '9';
}

bool TakesDescriptionCharacter(UINT ch) {
    return ch < 0x80 && (std::isalnum(static_cast<int>(ch)) != 0 || ch == ' ' ||
                         kDescriptionSigns.find(static_cast<char>(ch)) != std::string_view::npos);
}

// A quantity or price takes digits and one point, and no leading zero.
bool TakesAmountCharacter(const std::string& text, UINT ch) {
    if (ch == '.') {
        return text.find('.') == std::string::npos;
    }
    return IsAsciiDigit(ch) && !(ch == '0' && text.empty());
}

// The keys the form takes before the host sees them: the movements and Backspace.
bool IsPreTranslatedKey(UINT vk) {
    return vk == VK_UP || vk == VK_DOWN || vk == VK_PRIOR || vk == VK_NEXT || vk == VK_BACK;
}

}  // namespace

void CQOROrderCtrl::OnSetFocus() {
    CreateSolidCaret(1, m_rowHeight);
    m_caretShown = false;
    // The caret shows where typing goes from the moment the form has the keyboard.
    RedrawCell(m_currentItem, m_currentColumn);
}

void CQOROrderCtrl::OnKillFocus() {
    HideShownCaret();
    DestroyCaret();
}

UINT CQOROrderCtrl::OnGetDlgCode() {
    return DLGC_WANTALLKEYS;
}

bool CQOROrderCtrl::PreTranslateKey(UINT vk, UINT /*modifiers*/) {
    if (!IsPreTranslatedKey(vk)) {
        return false;
    }
    HandleKey(vk, false);
    return true;
}

void CQOROrderCtrl::OnKeyDown(UINT vk, UINT repeat, UINT flags) {
    if (!HandleKey(vk, GetKeyState(VK_SHIFT) < 0)) {
        COleControl::OnKeyDown(vk, repeat, flags);
    }
}

bool CQOROrderCtrl::HandleKey(UINT vk, bool shift) {
    if (!IsPreTranslatedKey(vk) && vk != VK_TAB) {
        return false;
    }
    // The keys work from the rows of the last paint, so a pending paint comes first.
    if (HasWindow()) {
        UpdateWindow();
    }
    switch (vk) {
        case VK_UP:
            KeyUp();
            break;
        case VK_DOWN:
            KeyDown();
            break;
        case VK_PRIOR:
            KeyPageUp();
            break;
        case VK_NEXT:
            KeyPageDown();
            break;
        case VK_BACK:
            Backspace();
            break;
        default:
            if (shift) {
                TabBackward();
            } else {
                TabForward();
            }
            break;
    }
    return true;
}

void CQOROrderCtrl::MoveTo(int item, int column) {
    RedrawCellPlain(m_currentItem, m_currentColumn);
    m_currentItem = item;
    m_currentColumn = column;
    RedrawCell(m_currentItem, m_currentColumn);
}

void CQOROrderCtrl::ScrollRowsDown() {
    if (!HasWindow()) {
        return;
    }
    const RECT client = GetClientRect();
    const RECT area{client.left, m_rowsTop, client.right,
                    m_rowsTop + (m_lastVisibleItem - m_firstVisibleItem) * m_rowHeight};
    ScrollWindow(0, m_rowHeight, &area);
    UpdateWindow();
}

void CQOROrderCtrl::ScrollRowsUp() {
    if (!HasWindow()) {
        return;
    }
    const RECT client = GetClientRect();
    const RECT area{client.left, m_rowsTop + m_rowHeight, client.right,
                    m_rowsTop + VisibleLines() * m_rowHeight};
    ScrollWindow(0, -m_rowHeight, &area);
    UpdateWindow();
}

// Moves the shown lines by one; the current cell moves with them to the line that comes into view.
void CQOROrderCtrl::ScrollByOne(int delta, int column) {
    RedrawCellPlain(m_currentItem, m_currentColumn);
    m_firstVisibleItem += delta;
    m_lastVisibleItem += delta;
    m_currentItem += delta;
    m_currentColumn = column;
    if (delta < 0) {
        ScrollRowsDown();
    } else {
        ScrollRowsUp();
    }
    RedrawCell(m_currentItem, m_currentColumn);
}

void CQOROrderCtrl::KeyUp() {
    if (m_lineItems.empty()) {
        return;
    }
    if (m_currentItem > m_firstVisibleItem) {
        MoveTo(m_currentItem - 1, m_currentColumn);
    } else if (m_firstVisibleItem > 0) {
        ScrollByOne(-1, m_currentColumn);
    }
}

void CQOROrderCtrl::KeyDown() {
    if (m_lineItems.empty()) {
        return;
    }
    if (m_currentItem < m_lastVisibleItem) {
        MoveTo(m_currentItem + 1, m_currentColumn);
    } else if (m_lastVisibleItem < GetLineItemCount() - 1) {
        ScrollByOne(1, m_currentColumn);
    }
}

void CQOROrderCtrl::KeyPageUp() {
    if (m_lineItems.empty()) {
        return;
    }
    if (m_currentItem > m_firstVisibleItem) {
        MoveTo(m_firstVisibleItem, m_currentColumn);
    } else if (m_firstVisibleItem > 0) {
        RedrawCellPlain(m_currentItem, m_currentColumn);
        m_firstVisibleItem = std::max(m_firstVisibleItem - VisibleLines(), 0);
        m_currentItem = m_firstVisibleItem;
        RedrawRows();
    }
}

void CQOROrderCtrl::KeyPageDown() {
    const int count = GetLineItemCount();
    if (count == 0) {
        return;
    }
    if (m_currentItem < m_lastVisibleItem) {
        MoveTo(m_lastVisibleItem, m_currentColumn);
    } else if (m_lastVisibleItem < count - 1) {
        RedrawCellPlain(m_currentItem, m_currentColumn);
        const int shown = VisibleLines();
        m_firstVisibleItem =
            count - shown < m_lastVisibleItem ? count - shown : m_lastVisibleItem + 1;
        // The table was full, so it shows as many lines again, or up to the last.
        m_currentItem = std::min(m_firstVisibleItem + shown - 1, count - 1);
        RedrawRows();
    }
}

void CQOROrderCtrl::TabForward() {
    const int count = GetLineItemCount();
    if (count > 0 && m_currentColumn < kPriceColumn) {
        MoveTo(m_currentItem, m_currentColumn + 1);
    } else if (count > 0 && m_currentItem < m_lastVisibleItem) {
        MoveTo(m_currentItem + 1, kQtyColumn);
    } else if (count > 0 && m_lastVisibleItem < count - 1) {
        ScrollByOne(1, kQtyColumn);
    } else {
        FocusNextTabItem();
    }
}

void CQOROrderCtrl::TabBackward() {
    const int count = GetLineItemCount();
    if (count > 0 && m_currentColumn > kQtyColumn) {
        MoveTo(m_currentItem, m_currentColumn - 1);
    } else if (count > 0 && m_currentItem > m_firstVisibleItem) {
        MoveTo(m_currentItem - 1, kPriceColumn);
    } else if (count > 0 && m_firstVisibleItem > 0) {
        ScrollByOne(-1, kPriceColumn);
    } else {
        FocusNextTabItem(true);
    }
}

void CQOROrderCtrl::Backspace() {
    if (!IsLine(m_currentItem) || m_currentColumn < kQtyColumn || m_currentColumn > kPriceColumn) {
        return;
    }
    LineItem& line = m_lineItems[static_cast<std::size_t>(m_currentItem)];
    std::string text = CellText(line, m_currentColumn);
    TypingParameters backspace;
    backspace.rule = TypingRule::Text;
    if (TypeIntoText(text, backspace, kBackspace)) {
        SetCellText(line, m_currentColumn, std::move(text));
        RedrawChangedCell(m_currentItem, m_currentColumn);
    }
}

void CQOROrderCtrl::OnChar(UINT ch, UINT /*repeat*/, UINT /*flags*/) {
    if (IsLine(m_currentItem)) {
        TypeIntoCurrentCell(ch);
    }
}

void CQOROrderCtrl::TypeIntoCurrentCell(UINT ch) {
    LineItem& line = m_lineItems[static_cast<std::size_t>(m_currentItem)];
    if (m_currentColumn == kDescriptionColumn) {
        if (TakesDescriptionCharacter(ch)) {
            line.description.push_back(static_cast<char>(std::toupper(static_cast<int>(ch))));
            RedrawChangedCell(m_currentItem, m_currentColumn);
        }
        return;
    }
    if (m_currentColumn != kQtyColumn && m_currentColumn != kPriceColumn) {
        return;
    }
    std::string text = CellText(line, m_currentColumn);
    if (TakesAmountCharacter(text, ch)) {
        text.push_back(static_cast<char>(ch));
        SetCellText(line, m_currentColumn, std::move(text));
        RedrawChangedCell(m_currentItem, m_currentColumn);
    }
}

void CQOROrderCtrl::OnLButtonDown(UINT /*flags*/, POINT point) {
    SetFocus();
    const RECT client = ClientRect();
    const int bottom = m_rowsTop + VisibleLines() * m_rowHeight;
    if (m_rowHeight <= 0 || point.x < client.left || point.x >= client.right ||
        point.y < m_rowsTop || point.y >= bottom) {
        return;
    }
    const int slot = (point.y - m_rowsTop) / m_rowHeight;
    for (int column = kQtyColumn; column <= kPriceColumn; ++column) {
        const RECT& extent = m_columnRects[static_cast<std::size_t>(column)];
        if (point.x >= extent.left && point.x < extent.right) {
            MoveTo(m_firstVisibleItem + slot, column);
            return;
        }
    }
}
