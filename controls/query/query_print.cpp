// Printing of the query list: every record or the marked rows as a plain table, the captions
// in bump-edged cells at the top of every page and one line per record, values centred.
#include <algorithm>

#include "controls/common/table_print.h"
#include "controls/query/query_ctrl.h"
#include "controls/query/query_text.h"

namespace {

// The pages of one print job: the header cells of the current page and where the next line
// goes. The header of a page is printed before its first line, so a job without lines is one
// blank page.
class CQueryPages {
  public:
    CQueryPages(CTablePrint& table, CDataRecordset& recordset)
        : m_table(table), m_dc(table.DC()), m_recordset(recordset) {
        m_recordset.GetFieldCount(m_fieldCount);
    }

    // Prints the current record as a line, on a new page when it does not fit; false when
    // the job had to stop.
    bool PrintLine() {
        const auto header = [this] { return PrintHeader(); };
        if (!m_headerPrinted) {
            m_y = m_table.StartLines(header);
        }
        if (!m_cells.empty() && !m_table.PlaceLine(m_y, m_lineHeight, header)) {
            return false;
        }
        for (std::size_t i = 0; i < m_cells.size(); ++i) {
            std::string text;
            if (m_recordset.GetFieldText(static_cast<int>(i), text)) {
                const RECT cell{m_cells[i].left, m_y, m_cells[i].right, m_y + m_cells[i].Height()};
                m_table.DrawCellText(std::move(text), cell);
            }
        }
        m_y += m_lineHeight;
        return true;
    }

  private:
    // Prints the header cells; returns the top of the first line under them.
    int PrintHeader() {
        const RECT& area = m_table.Job().PrintableArea();
        m_cells.clear();
        m_headerPrinted = true;
        int x = area.left;
        int height = 0;
        for (int field = 0; field < m_fieldCount; ++field) {
            std::string name;
            int definedSize = 0;
            DescribeQueryField(m_recordset, field, name, definedSize);
            std::string text = QueryHeaderText(name, definedSize);
            const SIZE extent = m_dc.GetTextExtentPoint32(text);
            height = std::max(height, static_cast<int>(extent.cy));
            if (x >= area.right) {
                break;
            }
            RECT cell{x, area.top, x + extent.cx, area.top + extent.cy};
            if (cell.right >= area.right) {
                while (!text.empty() && x + m_dc.GetTextExtentPoint32(text).cx > area.right) {
                    DropLastChar(text);
                }
                // Not even one character fits: a cell without width would print its
                // values across the paper's edge.
                if (text.empty()) {
                    break;
                }
                cell.right = x + m_dc.GetTextExtentPoint32(text).cx;
            }
            m_cells.push_back(cell);
            x = cell.right;
            m_dc.DrawEdge(cell, EDGE_BUMP, BF_RECT);
            m_table.DrawCellText(QueryCaption(text), cell);
        }
        m_lineHeight = m_cells.empty() ? 0 : m_cells.back().Height();
        return m_table.FirstLine(height);
    }

    CTablePrint& m_table;
    CDC& m_dc;
    CDataRecordset& m_recordset;
    int m_fieldCount = 0;
    std::vector<RECT> m_cells;
    bool m_headerPrinted = false;
    int m_lineHeight = 0;
    int m_y = 0;
};

}  // namespace

void CQORQueryCtrl::Print() {
    PrintRecords(PrintedRecords::All);
}

void CQORQueryCtrl::PrintSelected() {
    PrintRecords(PrintedRecords::Marked);
}

void CQORQueryCtrl::PrintRecords(PrintedRecords which) {
    if (!m_bound) {
        return;
    }
    const std::unique_ptr<CTablePrint> table = CTablePrint::Start(PD_DEFAULTOPTIONS, this);
    if (!table) {
        return;
    }
    CQueryPages pages(*table, *m_recordset);
    bool printing = true;
    if (which == PrintedRecords::All) {
        for (bool more = m_recordset->MoveFirst(); more && printing;
             more = m_recordset->MoveNext()) {
            printing = pages.PrintLine();
        }
        // Records that could not be read would leave the table short of them.
        if (printing && m_recordset->MoveFailed()) {
            std::string why;
            m_recordset->GetLastError(why);
            table->TellFailure(why);
            printing = false;
        }
    } else {
        for (std::size_t i = 0; i < m_selectedRows.Count() && printing; ++i) {
            // A mark whose record can no longer be reached prints nothing rather than the
            // record the recordset happens to stand on.
            if (m_recordset->SetBookmark(m_selectedRows.BookmarkAt(i))) {
                printing = pages.PrintLine();
            }
        }
    }
    table->Finish(printing);
}
