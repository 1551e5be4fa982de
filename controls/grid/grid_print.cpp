// The grid printed as a plain table: titles in bump-edged cells on every page, one line a row.
#include "controls/grid/grid_print.h"

#include "controls/common/field_text.h"
#include "controls/common/table_print.h"

namespace {

constexpr UINT kGridPrintDialogFlags =
    PD_NOSELECTION | PD_NOPAGENUMS | PD_USEDEVMODECOPIES | PD_HIDEPRINTTOFILE;

struct PrintedColumn {
    std::size_t column = 0;
    std::string title;
    RECT cell{};
};

// The columns that fit across the printable area, their header cells and the header height.
struct PageLayout {
    std::vector<PrintedColumn> columns;
    int height = 0;
    int firstLine = 0;
};

int VisibleWidth(const std::vector<GridColumn>& columns) {
    int sum = 0;
    for (const GridColumn& column : columns) {
        if (column.visible) {
            sum += column.width;
        }
    }
    return sum;
}

PageLayout LayOutPage(const std::vector<GridColumn>& columns, CTablePrint& table, int scale) {
    CDC& dc = table.DC();
    const RECT& area = table.Job().PrintableArea();
    PageLayout layout;
    int x = area.left;
    for (std::size_t i = 0; i < columns.size(); ++i) {
        const GridColumn& column = columns[i];
        if (!column.visible) {
            continue;
        }
        if (x >= area.right) {
            break;
        }
        const int right = std::min(x + column.width * scale, area.right);
        layout.columns.push_back({i, std::string(TrimWhiteSpace(column.title)), {x, 0, right, 0}});
        layout.height = std::max(layout.height, dc.GetTextExtentPoint32(column.title).cy);
        x = right;
    }
    for (PrintedColumn& printed : layout.columns) {
        printed.cell.top = area.top;
        printed.cell.bottom = area.top + layout.height;
    }
    layout.firstLine = table.FirstLine(layout.height);
    return layout;
}

// Prints the header cells; returns the top of the first line under them.
int PrintHeader(CTablePrint& table, const PageLayout& layout) {
    for (const PrintedColumn& printed : layout.columns) {
        table.DC().DrawEdge(printed.cell, EDGE_BUMP, BF_RECT);
        table.DrawCellText(printed.title, printed.cell);
    }
    return layout.firstLine;
}

void PrintLine(CTablePrint& table, const PageLayout& layout, CGridPrintSource& rows, int top) {
    for (const PrintedColumn& printed : layout.columns) {
        const RECT cell{printed.cell.left, top, printed.cell.right, top + layout.height};
        table.DrawCellText(std::string(TrimWhiteSpace(rows.ColumnText(printed.column))), cell);
    }
}

// Prints every row of the source on as many pages as it takes; false when the job had to stop.
bool PrintRows(CTablePrint& table, const PageLayout& layout, CGridPrintSource& rows) {
    const auto header = [&] { return PrintHeader(table, layout); };
    int line = table.StartLines(header);
    for (bool more = rows.MoveFirst(); more; more = rows.MoveNext()) {
        if (!table.PlaceLine(line, layout.height, header)) {
            return false;
        }
        PrintLine(table, layout, rows, line);
        line += layout.height;
    }
    std::string why;
    if (rows.Failed(why)) {
        table.TellFailure(why);
        return false;
    }
    return true;
}

}  // namespace

void PrintGrid(const std::vector<GridColumn>& columns, CGridPrintSource& rows, CWnd* parent) {
    const int totalWidth = VisibleWidth(columns);
    if (totalWidth <= 0) {
        return;
    }
    const std::unique_ptr<CTablePrint> table = CTablePrint::Start(kGridPrintDialogFlags, parent);
    if (!table) {
        return;
    }
    const int scale =
        (table->DC().GetDeviceCaps(HORZRES) - 2 * table->Job().Offset().x) / totalWidth;
    const PageLayout layout = LayOutPage(columns, *table, scale);
    table->Finish(PrintRows(*table, layout, rows));
}
