// Editing the form: the field order walked with Tab and Shift+Tab, the record keys, the mouse,
// typing under each edit style and writing the current field back to the record.
#include <algorithm>
#include <limits>
#include <optional>
#include <utility>

#include "controls/common/column_field.h"
#include "controls/common/design.h"
#include "controls/common/field_typing.h"
#include "controls/form/form_ctrl.h"

namespace {

// The stops of 0 or more, from lo, and the largest tab order of any item.
struct TabStopRange {
    std::int32_t lo = 0;
    std::int32_t hi = 0;
};

// Nothing when no item has a tab order of 0 or more.
std::optional<TabStopRange> RangeOfTabStops(const std::vector<DesignItem>& items) {
    std::optional<std::int32_t> lo;
    std::int32_t hi = std::numeric_limits<std::int32_t>::min();
    for (const DesignItem& item : items) {
        if (item.tabOrder >= 0) {
            lo = std::min(lo.value_or(item.tabOrder), item.tabOrder);
        }
        hi = std::max(hi, item.tabOrder);
    }
    if (!lo) {
        return std::nullopt;
    }
    return TabStopRange{*lo, hi};
}

// The smallest stop after p; the caller knows there is one.
std::int32_t StopAfter(const std::vector<DesignItem>& items, std::int32_t p) {
    std::int32_t next = std::numeric_limits<std::int32_t>::max();
    for (const DesignItem& item : items) {
        if (item.tabOrder > p) {
            next = std::min(next, item.tabOrder);
        }
    }
    return next;
}

// The largest stop of 0 or more before p; the caller knows there is one.
std::int32_t StopBefore(const std::vector<DesignItem>& items, std::int32_t p) {
    std::int32_t previous = -1;
    for (const DesignItem& item : items) {
        if (item.tabOrder >= 0 && item.tabOrder < p) {
            previous = std::max(previous, item.tabOrder);
        }
    }
    return previous;
}

std::int32_t NextTabPosition(const std::vector<DesignItem>& items, const TabStopRange& range,
                             std::int32_t p, bool backwards) {
    if (!backwards) {
        return p < range.lo || p >= range.hi ? range.lo : StopAfter(items, p);
    }
    if (p < range.lo || p > range.hi) {
        return range.lo;
    }
    return p == range.lo ? range.hi : StopBefore(items, p);
}

bool IsRecordKey(UINT vk) {
    return vk == VK_HOME || vk == VK_END || vk == VK_PRIOR || vk == VK_NEXT;
}

bool IsArrowKey(UINT vk) {
    return vk == VK_LEFT || vk == VK_UP || vk == VK_RIGHT || vk == VK_DOWN;
}

}  // namespace

UINT CQORFormCtrl::OnGetDlgCode() {
    return DLGC_WANTTAB;
}

bool CQORFormCtrl::PreTranslateKey(UINT vk, UINT /*modifiers*/) {
    return HandleFormKey(vk);
}

void CQORFormCtrl::OnKeyDown(UINT vk, UINT repeat, UINT flags) {
    if (!HandleFormKey(vk)) {
        COleControl::OnKeyDown(vk, repeat, flags);
    }
}

bool CQORFormCtrl::HandleFormKey(UINT vk) {
    if (vk == VK_TAB) {
        MoveTab(GetKeyState(VK_SHIFT) < 0);
        return true;
    }
    if (IsRecordKey(vk)) {
        MoveRecord(vk);
        return true;
    }
    return IsArrowKey(vk);
}

void CQORFormCtrl::MoveTab(bool backwards) {
    const std::optional<TabStopRange> range = RangeOfTabStops(m_items);
    // Without stops Tab parks past them; any tab order an item holds is a place to walk from.
    if (!range) {
        m_currentTabOrder = kNoTabStop;
        return;
    }
    LeaveField();
    m_currentTabOrder = NextTabPosition(m_items, *range, m_currentTabOrder, backwards);
    const std::optional<std::size_t> reached = FirstItemWithTabOrder(m_items, m_currentTabOrder);
    if (reached && m_items[*reached].kind == kColumn) {
        m_currentField = static_cast<std::int32_t>(*reached);
        HighlightField(*reached);
    }
}

void CQORFormCtrl::LeaveField() {
    RestoreUnwrittenText();
    if (IsColumnIndex(m_currentField)) {
        DrawItemNow(static_cast<std::size_t>(std::exchange(m_currentField, -1)));
    }
}

void CQORFormCtrl::MoveRecord(UINT vk) {
    if (!m_recordsetOpen) {
        return;
    }
    RestoreUnwrittenText();
    bool moved = false;
    switch (vk) {
        case VK_HOME:
            moved = m_recordset->MoveFirst();
            break;
        case VK_END:
            moved = m_recordset->MoveLast();
            break;
        case VK_PRIOR:
            moved = m_recordset->MovePrevious();
            break;
        default:
            moved = m_recordset->MoveNext();
            break;
    }
    if (moved) {
        TakeBookmark();
        LoadColumnValues();
    }
}

void CQORFormCtrl::OnLButtonDown(UINT flags, POINT point) {
    const int hit = HitTest(m_items, point);
    if (hit >= 0 && m_items[static_cast<std::size_t>(hit)].kind == kColumn) {
        const auto index = static_cast<std::size_t>(hit);
        if (hit != m_currentField) {
            LeaveField();
        }
        m_currentField = hit;
        m_currentTabOrder = m_items[index].tabOrder;
        HighlightField(index);
    }
    COleControl::OnLButtonDown(flags, point);
}

void CQORFormCtrl::OnChar(UINT ch, UINT /*repeat*/, UINT /*flags*/) {
    if (!IsColumnIndex(m_currentField)) {
        return;
    }
    const auto index = static_cast<std::size_t>(m_currentField);
    DesignItem& column = m_items[index];
    if (!TypeIntoField(column, ControlTypingRule(column.editStyle), ch)) {
        return;
    }
    WriteFieldToRecord();
    HighlightField(index);
}

void CQORFormCtrl::WriteFieldToRecord() {
    m_textUnwritten = false;
    DesignItem& column = m_items[static_cast<std::size_t>(m_currentField)];
    const int field = RecordFieldOf(column);
    if (field < 0) {
        return;
    }
    m_textUnwritten = WriteTypedColumn(*m_recordset, field, column);
}
