// Painting of the query list: the header of captions, one fixed-pitch text line per visible
// record in its colours with the grid lines, composed off-screen; single rows drawn into the
// window; the scroll bar made at the first bound paint.
#include <algorithm>
#include <map>

#include "controls/common/bookmark_compare.h"
#include "controls/query/query_ctrl.h"
#include "controls/query/query_text.h"

namespace {

constexpr int kListFontTenths = 120;
constexpr const char* kListFontFace = "FixedSys";
constexpr int kUnknownDefinedSize = 10;
// A caption keeps this much room in its cell.
constexpr int kCaptionMargin = 10;
constexpr UINT kRowTextFormat = DT_LEFT | DT_VCENTER | DT_SINGLELINE;
constexpr UINT kCaptionFormat = DT_CENTER | DT_VCENTER | DT_SINGLELINE;

CFont ListFont() {
    return CFont::FromPoints(kListFontTenths, kListFontFace);
}

// Selects the list font for the object's lifetime.
class CListFont {
  public:
    explicit CListFont(CDC& dc) : m_dc(dc), m_previous(dc.SelectFont(ListFont())) {}
    CListFont(const CListFont&) = delete;
    CListFont& operator=(const CListFont&) = delete;
    ~CListFont() { m_dc.SelectFont(m_previous); }

  private:
    CDC& m_dc;
    CFont m_previous;
};

// Whether every character of the text is below U+0240 (Latin letters with their accents and the
// symbols of Latin-1), which the fixed-pitch list font draws all equally wide.
bool IsUniformPitch(const std::string& text) {
    return std::all_of(text.begin(), text.end(), [](char c) {
        const auto byte = static_cast<unsigned char>(c);
        return byte < 0xC9;  // ASCII, continuation bytes and leads up to U+023F
    });
}

void DrawRule(CDC& dc, int x, int top, int bottom) {
    dc.MoveTo(x, top);
    dc.LineTo(x, bottom);
}

// A full paint's rules: each down from the top to where the last row that has it ends, and all of
// them on below the rows.
void DrawRules(CDC& dc, int top, const std::map<int, int>& ruleEnds, int rowsEnd, int height) {
    for (const auto& [x, end] : ruleEnds) {
        if (end < rowsEnd) {
            DrawRule(dc, x, top, end);
            DrawRule(dc, x, rowsEnd, height);
        } else {
            DrawRule(dc, x, top, height);
        }
    }
}

}  // namespace

int CQORQueryCtrl::TextWidth(CDC& dc, const std::string& text) {
    // Lengths up to a few lines of the widest screen are kept; a longer text is measured as it
    // comes, so one huge value does not measure every length below its own.
    constexpr std::size_t kKeptLengths = 2048;
    const std::size_t chars = QueryCharCount(text);
    if (!IsUniformPitch(text) || chars >= kKeptLengths) {
        return dc.GetTextExtentPoint32(text).cx;
    }
    // A text of equally wide characters is as wide as as many blanks, measured once for each
    // length.
    while (m_uniformWidths.size() <= chars) {
        m_uniformWidths.push_back(
            dc.GetTextExtentPoint32(std::string(m_uniformWidths.size(), ' ')).cx);
    }
    return m_uniformWidths[chars];
}

std::string_view CQORQueryCtrl::VisiblePart(CDC& dc, const std::string& text, int width) {
    constexpr std::size_t kSample = 16;
    const int charWidth =
        std::max(1, TextWidth(dc, std::string(kSample, ' ')) / static_cast<int>(kSample));
    std::size_t visible = static_cast<std::size_t>(std::max(0, width) / charWidth) + 2;
    if (!IsUniformPitch(text)) {
        return text;
    }
    for (std::size_t i = 0; i < text.size(); ++i) {
        const bool lead = (static_cast<unsigned char>(text[i]) & 0xC0) != 0x80;
        if (lead && visible-- == 0) {
            return std::string_view(text).substr(0, i);
        }
    }
    return text;
}

void DescribeQueryField(CDataRecordset& recordset, int field, std::string& name, int& definedSize) {
    std::string typeName;
    if (!recordset.GetFieldInfo(field, name, typeName, definedSize)) {
        recordset.GetFieldName(field, name);
        definedSize = kUnknownDefinedSize;
    }
}

namespace {

// Visits the fields of the current record that read, with the value, name and defined size of
// each: a field that does not read has no place in the header or the row.
template <class Visit>
void ForEachReadField(CDataRecordset& recordset, Visit&& visit) {
    int fieldCount = 0;
    recordset.GetFieldCount(fieldCount);
    for (int field = 0; field < fieldCount; ++field) {
        std::string value;
        if (!recordset.GetFieldText(field, value)) {
            continue;
        }
        std::string name;
        int definedSize = 0;
        DescribeQueryField(recordset, field, name, definedSize);
        visit(value, name, definedSize);
    }
}

}  // namespace

int CQORQueryCtrl::ClientWidth() const {
    return HasWindow() ? GetClientRect().Width() : 0;
}

int CQORQueryCtrl::ClientHeight() const {
    return HasWindow() ? GetClientRect().Height() : 0;
}

int CQORQueryCtrl::ListRight(int width) const {
    return width - m_scrollBarWidth;
}

HRESULT CQORQueryCtrl::IsMarked(const VARIANT& bookmark, bool& marked) const {
    std::ptrdiff_t position = -1;
    return m_selectedRows.Find(bookmark, position, marked);
}

bool CQORQueryCtrl::IsCurrent(const VARIANT& bookmark, bool& current) const {
    return SUCCEEDED(CompareBookmarks(bookmark, m_currentBookmark, current));
}

void CQORQueryCtrl::CreateScrollBar(int width, int height) {
    const bool wide = width > kQueryScrollBarWidth;
    const RECT rect{wide ? width - kQueryScrollBarWidth : 0, 0, width, height};
    auto bar = std::make_unique<CScrollBar>();
    if (bar->Create(WS_CHILD | WS_VISIBLE | SBS_VERT | SBS_RIGHTALIGN, rect, this,
                    kQueryScrollBarId)) {
        m_scrollBar = std::move(bar);
        m_scrollBarCreated = true;
        m_scrollBarWidth = rect.Width();
    } else {
        m_scrollBarWidth = 0;
    }
}

void CQORQueryCtrl::OnDraw(CDC& dc, const RECT& bounds, const RECT& /*invalid*/) {
    const int width = bounds.Width();
    const int height = bounds.Height();
    const std::unique_ptr<CDC> memory = m_surface.Begin(width, height);
    if (memory == nullptr) {
        return;
    }
    memory->FillSolidRect(RECT{0, 0, ListRight(width), height}, kQueryListBack);
    // Unbound the list shows blank rather than what an earlier query left on the screen.
    if (!m_bound) {
        dc.BitBlt(bounds.left, bounds.top, width, height, *memory, 0, 0, SRCCOPY);
        return;
    }
    if (!m_scrollBarCreated) {
        CreateScrollBar(width, height);
        memory->FillSolidRect(RECT{0, 0, ListRight(width), height}, kQueryListBack);
    } else {
        m_scrollBarWidth = m_scrollBar->GetWindowRect().Width();
    }
    if (!m_recordset->SetBookmark(m_topBookmark)) {
        return;
    }
    const int listRight = ListRight(width);
    const CListFont font(*memory);
    memory->FillSolidRect(RECT{1, 0, listRight, m_headerHeight}, kQueryListBack);
    m_visibleRows.clear();
    m_visibleRowCount = 0;
    PaintHeader(*memory, listRight);
    int y = m_headerHeight;
    // Each row's rules run down the whole list and the rows after it cover them inside their
    // own rectangles, so a rule shows from the header to the end of the last row that has it,
    // and below the rows. Drawn once each, they leave that picture.
    std::map<int, int> ruleEnds;
    std::vector<int> columnEnds;
    for (;;) {
        m_rowHeight = std::max(m_rowHeight, memory->GetTextExtentPoint32("M").cy);
        if (y + m_rowHeight > height) {
            break;
        }
        RowEntry entry;
        bool marked = false;
        if (!m_recordset->GetBookmark(entry.bookmark) || FAILED(IsMarked(entry.bookmark, marked))) {
            return;
        }
        m_bottomBookmark = entry.bookmark;
        entry.selected = marked;
        entry.rect = RECT{1, y, listRight, y + m_rowHeight};
        m_visibleRows.push_back(std::move(entry));
        if (PaintRowBody(*memory, m_visibleRowCount, true, listRight, columnEnds)) {
            for (const int x : columnEnds) {
                ruleEnds[x] = y + m_rowHeight;
            }
        }
        ++m_visibleRowCount;
        y += m_rowHeight;
        if (!m_recordset->MoveNext()) {
            break;
        }
    }
    DrawRules(*memory, m_headerHeight, ruleEnds, y, height);
    dc.BitBlt(bounds.left, bounds.top, width, height, *memory, 0, 0, SRCCOPY);
}

void CQORQueryCtrl::PaintHeader(CDC& dc, int listRight) {
    dc.SetBkMode(TRANSPARENT);
    dc.SetTextColor(kQueryCaptionText);
    int x = 1;
    // Each cell ends where the header texts up to it end, measured as one text as the row
    // texts are, so that a font of fractional pitch keeps the cells' edges on the rules.
    std::string headerLine;
    ForEachReadField(
        *m_recordset, [&](const std::string& /*value*/, const std::string& name, int definedSize) {
            headerLine += QueryHeaderText(name, definedSize);
            const int right = 1 + TextWidth(dc, headerLine);
            RECT cell{x + 1, 1, std::min(right, listRight), m_headerHeight};
            x = right;
            if (cell.left >= cell.right) {
                return;
            }
            dc.DrawEdge(cell, EDGE_ETCHED, BF_RECT);
            std::string caption = QueryCaption(name);
            while (!caption.empty() &&
                   dc.GetTextExtentPoint32(caption).cx > cell.Width() - kCaptionMargin) {
                DropLastChar(caption);
            }
            dc.DrawText(caption, cell, kCaptionFormat);
        });
}

void CQORQueryCtrl::PaintRow(CDC& dc, int slot, bool highlight, int listRight, int height) {
    std::vector<int> columnEnds;
    if (!PaintRowBody(dc, slot, highlight, listRight, columnEnds)) {
        return;
    }
    for (const int x : columnEnds) {
        DrawRule(dc, x, m_headerHeight, height);
    }
}

bool CQORQueryCtrl::PaintRowBody(CDC& dc, int slot, bool highlight, int listRight,
                                 std::vector<int>& columnEnds) {
    if (slot < 0 || slot >= static_cast<int>(m_visibleRows.size())) {
        return false;
    }
    RowEntry& entry = m_visibleRows[static_cast<std::size_t>(slot)];
    std::string text = " ";
    columnEnds.clear();
    ForEachReadField(*m_recordset,
                     [&](const std::string& value, const std::string& /*name*/, int definedSize) {
                         text += QueryValueText(value, definedSize);
                         const int x = TextWidth(dc, text) + 1;
                         if (x < listRight) {
                             columnEnds.push_back(x);
                         }
                         text += ' ';
                     });
    bool current = false;
    bool marked = false;
    if (!IsCurrent(entry.bookmark, current) || FAILED(IsMarked(entry.bookmark, marked))) {
        return false;
    }
    entry.selected = marked;
    COLORREF back = kQueryListBack;
    COLORREF fore = kQueryRowText;
    if (current && highlight) {
        back = kQueryCurrentBack;
        fore = kQueryCurrentText;
    } else if (marked) {
        back = kQueryMarkedBack;
    }
    dc.FillSolidRect(entry.rect, back);
    dc.SetBkMode(TRANSPARENT);
    dc.SetTextColor(fore);
    RECT textRect = entry.rect;
    dc.DrawText(VisiblePart(dc, text, textRect.Width()), textRect, kRowTextFormat);
    dc.MoveTo(0, entry.rect.top);
    dc.LineTo(listRight, entry.rect.top);
    dc.MoveTo(0, entry.rect.bottom);
    dc.LineTo(listRight, entry.rect.bottom);
    return true;
}

bool CQORQueryCtrl::RepaintSlot(int slot, bool highlight) {
    if (slot < 0 || slot >= static_cast<int>(m_visibleRows.size()) ||
        !m_recordset->SetBookmark(m_visibleRows[static_cast<std::size_t>(slot)].bookmark)) {
        return false;
    }
    CClientDC dc(this);
    const CListFont font(*dc);
    PaintRow(*dc, slot, highlight, ListRight(ClientWidth()), ClientHeight());
    return true;
}
