// Moves of the query list's current row and view by the keys, the scroll bar and the mouse,
// and marking rows with Ctrl+click.
#include <algorithm>

#include "controls/query/query_ctrl.h"

namespace {

bool Contains(const RECT& rc, POINT point) {
    return point.x >= rc.left && point.x < rc.right && point.y >= rc.top && point.y < rc.bottom;
}

}  // namespace

bool CQORQueryCtrl::TakeBookmark(CComVariant& bookmark) {
    CComVariant taken;
    if (!m_recordset->GetBookmark(taken)) {
        return false;
    }
    bookmark = std::move(taken);
    return true;
}

UINT CQORQueryCtrl::OnGetDlgCode() {
    return DLGC_WANTALLKEYS;
}

bool CQORQueryCtrl::PreTranslateKey(UINT vk, UINT /*modifiers*/) {
    return m_bound && HandleKey(vk);
}

void CQORQueryCtrl::OnKeyDown(UINT vk, UINT repeat, UINT flags) {
    if (!m_bound || !HandleKey(vk)) {
        COleControl::OnKeyDown(vk, repeat, flags);
    }
}

bool CQORQueryCtrl::HandleKey(UINT vk) {
    switch (vk) {
        case VK_UP:
            LineUp();
            return true;
        case VK_DOWN:
            LineDown();
            return true;
        case VK_PRIOR:
            PageUp();
            return true;
        case VK_NEXT:
            PageDown();
            return true;
        case VK_HOME:
            FirstRecord();
            return true;
        case VK_END:
            LastRecord();
            return true;
        default:
            return false;
    }
}

void CQORQueryCtrl::OnVScroll(UINT code, UINT /*pos*/, CScrollBar* /*bar*/) {
    if (!m_bound) {
        return;
    }
    switch (code) {
        case SB_LINEUP:
            LineUp();
            break;
        case SB_LINEDOWN:
            LineDown();
            break;
        case SB_PAGEUP:
            PageUp();
            break;
        case SB_PAGEDOWN:
            PageDown();
            break;
        case SB_TOP:
            ShowFirstPage();
            break;
        case SB_BOTTOM:
            ShowLastPage();
            break;
        default:
            break;
    }
}

void CQORQueryCtrl::LineDown() {
    const int n = static_cast<int>(m_visibleRows.size());
    if (n == 0) {
        return;
    }
    if (m_currentSlot < n - 1) {
        RepaintSlot(m_currentSlot, false);
        if (!m_recordset->SetBookmark(m_currentBookmark) || !m_recordset->MoveNext() ||
            !TakeBookmark(m_currentBookmark)) {
            return;
        }
        ++m_currentSlot;
        RepaintSlot(m_currentSlot, true);
        return;
    }
    CComVariant next;
    if (!m_recordset->SetBookmark(m_bottomBookmark) || !m_recordset->MoveNext() ||
        !TakeBookmark(next)) {
        return;
    }
    m_bottomBookmark = next;
    RepaintSlot(m_currentSlot, false);
    if (!m_recordset->SetBookmark(m_topBookmark) || !m_recordset->MoveNext() ||
        !TakeBookmark(m_topBookmark)) {
        return;
    }
    m_currentBookmark = next;
    m_visibleRows.erase(m_visibleRows.begin());
    for (RowEntry& entry : m_visibleRows) {
        OffsetRect(entry.rect, 0, -m_rowHeight);
    }
    RowEntry entry;
    entry.bookmark = next;
    entry.rect = m_visibleRows.empty() ? RECT{} : m_visibleRows.back().rect;
    OffsetRect(entry.rect, 0, m_rowHeight);
    if (FAILED(IsMarked(next, entry.selected))) {
        return;
    }
    m_visibleRows.push_back(std::move(entry));
    const int listRight = ListRight(ClientWidth());
    const RECT below{0, m_headerHeight + m_rowHeight, listRight, ClientHeight()};
    ScrollWindow(0, -m_rowHeight, &below);
    UpdateWindow();
    m_currentSlot = n - 1;
    RepaintSlot(m_currentSlot, true);
}

void CQORQueryCtrl::LineUp() {
    if (m_currentSlot > 0) {
        RepaintSlot(m_currentSlot, false);
        if (!m_recordset->SetBookmark(m_currentBookmark) || !m_recordset->MovePrevious() ||
            !TakeBookmark(m_currentBookmark)) {
            return;
        }
        --m_currentSlot;
        RepaintSlot(m_currentSlot, true);
        return;
    }
    CComVariant previous;
    if (!m_recordset->SetBookmark(m_topBookmark) || !m_recordset->MovePrevious() ||
        !TakeBookmark(previous)) {
        return;
    }
    m_topBookmark = previous;
    RepaintSlot(m_currentSlot, false);
    m_currentBookmark = previous;
    if (!m_visibleRows.empty()) {
        m_visibleRows.pop_back();
    }
    for (RowEntry& entry : m_visibleRows) {
        OffsetRect(entry.rect, 0, m_rowHeight);
    }
    RowEntry entry;
    entry.bookmark = previous;
    entry.rect = RECT{1, m_headerHeight, ListRight(ClientWidth()), m_headerHeight + m_rowHeight};
    if (FAILED(IsMarked(previous, entry.selected))) {
        return;
    }
    m_visibleRows.insert(m_visibleRows.begin(), std::move(entry));
    const int lastBottom = m_headerHeight + m_visibleRowCount * m_rowHeight;
    const RECT slots{0, m_headerHeight, ListRight(ClientWidth()), lastBottom - m_rowHeight};
    ScrollWindow(0, m_rowHeight, &slots);
    UpdateWindow();
    RepaintSlot(0, true);
}

void CQORQueryCtrl::PageDown() {
    const int n = static_cast<int>(m_visibleRows.size());
    if (n == 0) {
        return;
    }
    if (m_currentSlot < n - 1) {
        RepaintSlot(m_currentSlot, false);
        m_currentBookmark = m_bottomBookmark;
        m_currentSlot = n - 1;
        RepaintSlot(m_currentSlot, true);
        return;
    }
    // The bottom and the top advance by the same records, so each is walked once.
    int steps = 0;
    if (!m_recordset->SetBookmark(m_bottomBookmark)) {
        return;
    }
    while (steps < m_visibleRowCount && m_recordset->MoveNext()) {
        ++steps;
    }
    CComVariant bottom;
    CComVariant top;
    if (steps == 0 || !TakeBookmark(bottom) || !m_recordset->SetBookmark(m_topBookmark)) {
        return;
    }
    for (int i = 0; i < steps; ++i) {
        m_recordset->MoveNext();
    }
    if (!TakeBookmark(top)) {
        return;
    }
    m_bottomBookmark = std::move(bottom);
    m_topBookmark = std::move(top);
    m_currentBookmark = m_bottomBookmark;
    m_currentSlot = n - 1;
    Invalidate();
}

void CQORQueryCtrl::PageUp() {
    if (m_currentSlot > 0) {
        RepaintSlot(m_currentSlot, false);
        m_currentBookmark = m_topBookmark;
        m_currentSlot = 0;
        RepaintSlot(m_currentSlot, true);
        return;
    }
    if (!m_recordset->SetBookmark(m_topBookmark)) {
        return;
    }
    int steps = 0;
    for (; steps < m_visibleRowCount; ++steps) {
        if (!m_recordset->MovePrevious() || !TakeBookmark(m_topBookmark)) {
            break;
        }
    }
    if (steps > 0) {
        m_currentBookmark = m_topBookmark;
        Invalidate();
    }
}

void CQORQueryCtrl::FirstRecord() {
    CComVariant first;
    if (!m_recordset->MoveFirst() || !TakeBookmark(first)) {
        return;
    }
    m_topBookmark = first;
    m_currentBookmark = first;
    m_currentSlot = 0;
    Invalidate();
}

int CQORQueryCtrl::BackUpFromLast(int count) {
    int steps = 0;
    for (; steps < count; ++steps) {
        if (!m_recordset->MovePrevious() || !TakeBookmark(m_topBookmark)) {
            break;
        }
    }
    return steps;
}

void CQORQueryCtrl::LastRecord() {
    CComVariant last;
    if (!m_recordset->MoveLast() || !TakeBookmark(last)) {
        return;
    }
    RepaintSlot(m_currentSlot, false);
    if (m_visibleRowCount >= 2 && m_recordset->SetBookmark(last) &&
        BackUpFromLast(m_visibleRowCount - 1) > 0) {
        Invalidate();
        m_currentBookmark = last;
        m_currentSlot = static_cast<int>(m_visibleRows.size()) - 1;
    }
    RepaintSlot(m_currentSlot, true);
}

void CQORQueryCtrl::ShowFirstPage() {
    if (m_recordset->MoveFirst() && TakeBookmark(m_topBookmark)) {
        Invalidate();
    }
}

void CQORQueryCtrl::ShowLastPage() {
    if (m_visibleRowCount >= 2 && m_recordset->MoveLast() &&
        BackUpFromLast(m_visibleRowCount - 1) > 0) {
        Invalidate();
    }
}

HRESULT CQORQueryCtrl::ToggleMark(const VARIANT& bookmark) {
    std::ptrdiff_t position = -1;
    bool selected = false;
    const HRESULT hr = m_selectedRows.Find(bookmark, position, selected);
    if (FAILED(hr) || position < 0) {
        return FAILED(hr) ? hr : m_selectedRows.Append(bookmark);
    }
    if (selected) {
        m_selectedRows.RemoveAt(static_cast<std::size_t>(position));
    } else {
        m_selectedRows.SetSelected(static_cast<std::size_t>(position), true);
    }
    return S_OK;
}

void CQORQueryCtrl::OnLButtonDown(UINT flags, POINT point) {
    const auto hit =
        std::find_if(m_visibleRows.begin(), m_visibleRows.end(),
                     [&](const RowEntry& entry) { return Contains(entry.rect, point); });
    if (m_bound && hit != m_visibleRows.end()) {
        const int slot = static_cast<int>(hit - m_visibleRows.begin());
        const CComVariant bookmark = hit->bookmark;
        // Only the rows whose look changes are repainted: a mark changes the clicked row alone
        // (drawn highlighted only when it is the current one), a plain click the old and the
        // new current rows. The picture is the one that repainting the old current row, the
        // clicked row and the current row in turn leaves.
        if ((flags & MK_CONTROL) != 0) {
            if (FAILED(ToggleMark(bookmark))) {
                return;
            }
            RepaintSlot(slot, true);
        } else {
            RepaintSlot(m_currentSlot, false);
            m_currentBookmark = bookmark;
            m_currentSlot = slot;
            RepaintSlot(slot, true);
        }
    }
    // The framework's handling: a click gives the control the focus, so that the keys reach it.
    SetFocus();
    COleControl::OnLButtonDown(flags, point);
}
