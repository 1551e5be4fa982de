// CQORGridCtrl: the editable data grid, drawn by itself, filled by its host or bound to a query
// whose records it pages through.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "controls/common/data_connection.h"
#include "controls/common/data_recordset.h"
#include "controls/common/offscreen_surface.h"
#include "controls/common/ole_control.h"
#include "controls/grid/grid_model.h"

class CQORGridCtrl : public COleControl {
  public:
    CQORGridCtrl();
    CQORGridCtrl(const CQORGridCtrl&) = delete;
    CQORGridCtrl& operator=(const CQORGridCtrl&) = delete;
    ~CQORGridCtrl() override;

    static const ControlClassInfo& ClassInfo();
    static const CDispatchTable<CQORGridCtrl>& DispatchTable();

    // Automation: columns, rows and items. Failures are -1 or false.
    std::int32_t InsertColumn(std::string_view columnName, std::string_view columnTitle,
                              std::int32_t columnWidth, std::int32_t columnEditStyle,
                              std::int32_t columnMaxSize, std::string_view columnEditMask,
                              bool columnEditable, bool columnVisible, COLORREF columnTextColor,
                              COLORREF columnBkColor);
    std::int32_t AddRow(std::int32_t nInsertBefore);
    std::int32_t SetItem(std::int32_t row, std::int32_t col, std::string_view strValue);
    std::int32_t SetItemByName(std::int32_t row, std::string_view colName,
                               std::string_view strValue);
    std::int32_t GetItem(std::int32_t row, std::int32_t col, std::string& newValue) const;
    std::int32_t GetItemByName(std::int32_t row, std::string_view colName,
                               std::string& newValue) const;
    void Redraw();
    void SetRedraw(bool bEnabled);
    std::int32_t GetCurrentRow() const;
    bool DeleteRow(std::int32_t row);
    bool DeleteCurrentRow();
    bool FindRow(std::string_view colName, std::string_view filterValue, bool bScrollToRow);
    bool ClearGrid();
    std::int32_t AddDropDownItem(std::int32_t col, std::string_view strValue);
    std::int32_t AddDropDownItemByName(std::string_view colName, std::string_view strValue);
    std::int32_t ClearDropDown(std::int32_t col);
    std::int32_t ClearDropDownByName(std::string_view colName);
    std::int32_t SetCheckBoxCheckedValue(std::int32_t col, std::string_view strValue);
    std::int32_t SetCheckBoxCheckedValueByName(std::string_view colName, std::string_view strValue);
    std::int32_t SetCheckBoxUnCheckedValue(std::int32_t col, std::string_view strValue);
    std::int32_t SetCheckBoxUnCheckedValueByName(std::string_view colName,
                                                 std::string_view strValue);
    // False, with the grid as it was, when the connection object fails the interface query
    // otherwise than by having none, or the query does not open.
    bool BindToDatabase(IDispatch* adoConn, std::string_view strSQL);
    // Orders the rows by the column; the same column again reverses the order. A bound grid
    // orders the whole result through the database and keeps its current record.
    void Sort(std::int32_t colNo);
    bool GetRowCount(std::int32_t& rowCount);
    bool IsModified() const;
    bool IsRowNew(std::int32_t row) const;
    bool GetDeletedRowsCount(std::int32_t& deletedRowCount) const;
    bool GetDeletedRowValue(std::int32_t deletedRow, std::string_view columnName,
                            std::string& columnValue) const;
    void SetGridColors(COLORREF nNormalCellBkColor, COLORREF nNormalCellTxtColor,
                       COLORREF nHighlightCellBkColor, COLORREF nHighlightCellTxtColor);
    // Prints the visible columns of the loaded rows, or of every record when bound.
    void Print();

    // Painting, also called by the editing of the current cell.
    void OnDraw(CDC& dc, const RECT& bounds, const RECT& invalid) override;
    void OnSize(int cx, int cy) override;
    // Redraws the visible rows, composed off-screen and copied to the body area of dc.
    void PaintBody(CDC& dc);
    void PaintCell(CDC& dc, int row, int col, bool highlight, bool offscreen);
    // The current cell drawn straight into the window.
    void PaintCurrentCell(bool highlight);
    // Whole rows that fit below the caption band and the headers.
    int PageCapacity() const;
    // The loaded row and column under a client point; false when there is none.
    bool HitTest(POINT point, int& row, int& col) const;
    // The smallest first visible column from which the columns up to column fit in the client
    // width; false when column is not a column index.
    bool FirstColumnToShow(int column, int& first) const;
    // Moves the shown rows by one row; the caller sets the first visible row and paints the
    // row uncovered.
    void ScrollDownOneRow();
    void ScrollUpOneRow();

    // Input: the caret with the focus, the keys, typing into the current cell and the mouse.
    void OnSetFocus() override;
    void OnKillFocus() override;
    UINT OnGetDlgCode() override;
    bool PreTranslateKey(UINT vk, UINT modifiers) override;
    void OnKeyDown(UINT vk, UINT repeat, UINT flags) override;
    void OnChar(UINT ch, UINT repeat, UINT flags) override;
    void OnLButtonDown(UINT flags, POINT point) override;
    void OnLButtonDblClk(UINT flags, POINT point) override;

  protected:
    // Columns and rows.
    int FindColumn(std::string_view name) const;
    bool IsRow(std::int32_t row) const;
    bool IsCell(std::int32_t row, std::int32_t col) const;
    GridRow NewRow() const;
    void DiscardRows();

    // Binding and paging.
    void CloseRecordset();
    // A row for the current record: its bookmark and the texts of the fields of the columns'
    // names, neither modified nor new. Nothing when a field cannot be read (the server gone,
    // say): the grid loads no row it would show blank, and which leaving would overwrite.
    std::optional<GridRow> RecordRow();
    void FillPage(int capacity);
    enum class Reload { AfterChange, AfterFind };
    void ReloadPage(const CComVariant& anchor, int count, Reload kind);
    bool DeleteRecord(std::size_t row);
    // Adding a record through the "New Row..." window: the new record's row, or -1 when the
    // user cancels.
    std::int32_t AddRecord();
    // False on Cancel; on OK the columns' new-row values hold what was typed.
    bool AskNewRowValues();
    // False, with nothing added, when the recordset refuses the record; a failed update is shown.
    bool StoreNewRecord();
    void SortLoadedRows(std::size_t col);
    void SortRecords(std::size_t col);
    bool OpenQuery(const std::string& sql);
    void ShowCurrentCell();

    // Layout.
    int BodyTop() const;
    RECT ClientRect() const;
    COLORREF HighlightBack() const;
    COLORREF HighlightText() const;
    void PaintRuledBody(CDC& dc, int bodyHeight);
    void DrawCellContent(CDC& dc, const GridColumn& column, const std::string& text,
                         const RECT& rect, bool highlight, COLORREF underneath = CLR_INVALID);
    void ScrollRows(int top, int bottom, int dy);

    // Editing.
    bool CurrentCellEditable() const;
    // Writes the current cell of a bound grid when it changed; a failure is told in a box.
    void CommitCurrentCell();
    // The write itself: why it failed, or nothing when it was written or had nothing to write.
    std::optional<std::string> WriteCurrentCell();
    void HandleNavigationKey(UINT vk, bool shift);
    void UpdateLayout();
    void MoveCurrentCell(int row, int col);
    void RepaintBody();
    void ChangeListItem(UINT vk);
    void KeyUp();
    void KeyDown();
    void KeyPageUp();
    void KeyPageDown();
    void KeyHome();
    void KeyEnd();
    void TabForward();
    void TabBackward();
    void EnterFoundCell(int row, int col);
    void SyncItemIndex();
    void ClickCell(POINT point);
    void TypeIntoCurrentCell(UINT ch);

    std::vector<GridColumn> m_columns;
    int m_visibleColumnCount = 0;
    std::vector<GridRow> m_rows;
    std::vector<GridRow> m_deletedRows;
    CDataConnection m_connection;
    // Declared after the connection holder it is opened on, so it goes first.
    std::unique_ptr<CDataRecordset> m_recordset;
    std::string m_sql;
    bool m_bound = false;
    bool m_redrawEnabled = true;
    bool m_captionShown = true;
    bool m_caretShown = false;
    std::string m_captionText;
    COLORREF m_captionBackColor = kGridCaptionBack;
    COLORREF m_captionTextColor = kGridCaptionText;
    bool m_gridColorsSet = false;
    COLORREF m_normalCellBkColor = kGridBodyColor;
    COLORREF m_normalCellTxtColor = 0;
    COLORREF m_highlightCellBkColor = kGridHighlightBack;
    COLORREF m_highlightCellTxtColor = kGridHighlightText;
    int m_captionHeight = kGridCaptionHeight;
    int m_headerHeight = kGridHeaderHeight;
    int m_rowHeight = kGridRowHeight;
    int m_firstVisibleColumn = 0;
    int m_lastVisibleColumn = 0;
    bool m_lastColumnClipped = false;
    int m_currentColumn = 0;
    int m_currentRow = 0;
    int m_firstVisibleRow = 0;
    int m_lastVisibleRow = 0;
    // The width the last full paint composed, which the body paint composes too.
    int m_compositionWidth = 0;
    COffscreenSurface m_headerSurface;
    COffscreenSurface m_bodySurface;
    // The client size the window last had, for the page capacity while it has none.
    std::optional<SIZE> m_createdSize;
    // The column the rows were last ordered by, and whether that order was descending.
    int m_sortColumn = -1;
    bool m_sortDescending = false;
};
