// What the grid prints: its loaded rows when unbound, every record of its query when bound.
#include "controls/common/column_field.h"
#include "controls/grid/grid_ctrl.h"
#include "controls/grid/grid_print.h"

namespace {

// The loaded rows, as GetItem gives their texts.
class CLoadedRows : public CGridPrintSource {
  public:
    explicit CLoadedRows(const std::vector<GridRow>& rows) : m_rows(rows) {}
    bool MoveFirst() override {
        m_row = 0;
        return !m_rows.empty();
    }
    bool MoveNext() override { return ++m_row < m_rows.size(); }
    std::string ColumnText(std::size_t column) override {
        const std::vector<GridCell>& cells = m_rows[m_row].cells;
        return column < cells.size() ? cells[column].text : std::string();
    }

  private:
    const std::vector<GridRow>& m_rows;
    std::size_t m_row = 0;
};

// Every record from the first; under each column the field of the column's name, as the
// screen shows it, whatever the field's position in the query.
class CRecords : public CGridPrintSource {
  public:
    CRecords(CDataRecordset& recordset, const std::vector<GridColumn>& columns)
        : m_recordset(recordset), m_columns(columns) {}
    bool MoveFirst() override { return m_recordset.MoveFirst(); }
    bool MoveNext() override { return m_recordset.MoveNext(); }
    bool Failed(std::string& why) override {
        m_recordset.GetLastError(why);
        return m_recordset.MoveFailed();
    }
    std::string ColumnText(std::size_t column) override {
        std::string text;
        const int field =
            column < m_columns.size() ? m_recordset.FieldIndex(m_columns[column].name) : -1;
        if (field >= 0) {
            ReadColumnText(m_recordset, field, m_columns[column].editMask, text);
        }
        return text;
    }

  private:
    CDataRecordset& m_recordset;
    const std::vector<GridColumn>& m_columns;
};

}  // namespace

void CQORGridCtrl::Print() {
    if (m_bound) {
        CRecords records(*m_recordset, m_columns);
        PrintGrid(m_columns, records, this);
    } else if (!m_rows.empty()) {
        CLoadedRows rows(m_rows);
        PrintGrid(m_columns, rows, this);
    }
}
