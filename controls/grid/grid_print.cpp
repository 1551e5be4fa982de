// The grid printed as a plain table: titles in bump-edged cells on every page, one line a row.
#include "controls/grid/grid_print.h"

#include "controls/common/field_text.h"
#include "controls/common/print_job.h"

namespace {

constexpr UINT kGridPrintDialogFlags =
    PD_NOSELECTION | PD_NOPAGENUMS | PD_USEDEVMODECOPIES | PD_HIDEPRINTTOFILE;
constexpr int kPrintFontPoints = 12;
constexpr const char* kPrintFontFace = "FixedSys";
constexpr const char* kDocumentName = "Report";
constexpr const char* kCannotStartDocument = "Printer wouldn't initalize";
constexpr const char* kCannotStartPage = "Could not start a new printer page";
// The gap between the header cells and the first row line, in device units.
constexpr int kFirstLineGap = 50;
constexpr UINT kCellTextFormat = DT_CENTER | DT_VCENTER | DT_SINGLELINE;

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

PageLayout LayOutPage(const std::vector<GridColumn>& columns, CDC& dc, const RECT& area,
                      int scale) {
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
    layout.firstLine = area.top + layout.height + kFirstLineGap;
    return layout;
}

void DrawCellText(CDC& dc, const std::string& text, RECT cell) {
    if (!text.empty()) {
        dc.DrawText(text, cell, kCellTextFormat);
    }
}

void PrintHeader(CDC& dc, const PageLayout& layout) {
    for (const PrintedColumn& printed : layout.columns) {
        dc.DrawEdge(printed.cell, EDGE_BUMP, BF_RECT);
        DrawCellText(dc, printed.title, printed.cell);
    }
}

void PrintLine(CDC& dc, const PageLayout& layout, CGridPrintSource& rows, int top) {
    for (const PrintedColumn& printed : layout.columns) {
        const RECT cell{printed.cell.left, top, printed.cell.right, top + layout.height};
        DrawCellText(dc, std::string(TrimWhiteSpace(rows.ColumnText(printed.column))), cell);
    }
}

// Prints every row of the source on as many pages as it takes; false when a page could not
// be started. A page too short for the header and one line stops the job with a message
// rather than starting empty pages forever.
bool PrintRows(CPrintJob& job, const PageLayout& layout, CGridPrintSource& rows, CWnd* parent) {
    CDC& dc = job.DC();
    const int bottom = job.PrintableArea().bottom;
    PrintHeader(dc, layout);
    int line = layout.firstLine;
    for (bool more = rows.MoveFirst(); more;) {
        if (line + layout.height > bottom) {
            if (line == layout.firstLine) {
                ShowPrintFailure(parent, kCannotStartPage);
                return false;
            }
            if (!job.EndPage() || !job.StartPage()) {
                return false;
            }
            PrintHeader(dc, layout);
            line = layout.firstLine;
            continue;
        }
        PrintLine(dc, layout, rows, line);
        line += layout.height;
        more = rows.MoveNext();
    }
    return true;
}

}  // namespace

void PrintGrid(const std::vector<GridColumn>& columns, CGridPrintSource& rows, CWnd* parent) {
    const int totalWidth = VisibleWidth(columns);
    if (totalWidth <= 0) {
        return;
    }
    const std::unique_ptr<CPrintJob> job = CPrintJob::Choose(kGridPrintDialogFlags, parent);
    if (!job) {
        return;
    }
    CDC& dc = job->DC();
    const CSelectedPrintFont font(dc, kPrintFontPoints, kPrintFontFace);
    const int scale = (dc.GetDeviceCaps(HORZRES) - 2 * job->Offset().x) / totalWidth;
    if (!job->StartDoc(kDocumentName)) {
        ShowPrintFailure(parent, kCannotStartDocument);
        return;
    }
    if (!job->StartPage()) {
        ShowPrintFailure(parent, kCannotStartPage);
        return;
    }
    dc.SetTextColor(0x00000000);
    dc.SetBkColor(0x00FFFFFF);
    dc.SetBkMode(TRANSPARENT);
    const PageLayout layout = LayOutPage(columns, dc, job->PrintableArea(), scale);
    if (PrintRows(*job, layout, rows, parent)) {
        job->EndDoc();
    }
}
