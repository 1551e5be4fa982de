// Printing a grid as a plain table: the column titles at the top of every page and one line per
// row beneath, on a printer the user picks.
#pragma once

#include <vector>

#include "controls/grid/grid_model.h"
#include "platform/ui/wnd.h"

// Prints the visible columns of every row the source gives. Nothing happens without a visible
// column of positive width or when the user cancels the print dialog; failures are told with
// the grid's message boxes and end the job.
void PrintGrid(const std::vector<GridColumn>& columns, CGridPrintSource& rows, CWnd* parent);
