// CQORQueryCtrl: the read-only query list. It keeps bookmarks only, never the data: of the
// first, last and current visible rows, of every visible row and of every marked row.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "controls/common/data_connection.h"
#include "controls/common/data_recordset.h"
#include "controls/common/offscreen_surface.h"
#include "controls/common/ole_control.h"
#include "controls/query/query_marks.h"
#include "platform/ui/scroll_bar.h"

// Colours of the list.
inline constexpr COLORREF kQueryListBack = 0x00FFFFFF;
inline constexpr COLORREF kQueryCaptionText = 0x00800000;  // navy, RGB(0, 0, 128)
inline constexpr COLORREF kQueryCurrentBack = 0x00646400;  // RGB(0, 100, 100)
inline constexpr COLORREF kQueryCurrentText = 0x00FFFFFF;
inline constexpr COLORREF kQueryMarkedBack = 0x00C0C0C0;
inline constexpr COLORREF kQueryRowText = 0x00000000;
inline constexpr int kQueryHeaderHeight = 25;
inline constexpr int kQueryScrollBarWidth = 10;
inline constexpr UINT kQueryScrollBarId = 100;

// The name and defined size of a field; 10 characters when the recordset cannot describe it.
void DescribeQueryField(CDataRecordset& recordset, int field, std::string& name, int& definedSize);

// A row slot of the list: its record's bookmark, whether that record is marked (as the marks
// said at the last paint) and the slot's rectangle.
struct RowEntry {
    bool selected = false;
    CComVariant bookmark;
    RECT rect{};
};

class CQORQueryCtrl : public COleControl, public CVScrollTarget {
  public:
    CQORQueryCtrl();
    CQORQueryCtrl(const CQORQueryCtrl&) = delete;
    CQORQueryCtrl& operator=(const CQORQueryCtrl&) = delete;
    ~CQORQueryCtrl() override;

    static const ControlClassInfo& ClassInfo();
    static const CDispatchTable<CQORQueryCtrl>& DispatchTable();

    // Automation. While no query is bound every method but BindToDatabase does nothing and the
    // ones with a truth value answer false.
    // False when the query does not open or has no record, leaving the list unbound; false with
    // the list as it was when the connection object fails the interface query otherwise than by
    // having none.
    bool BindToDatabase(IDispatch* adoConn, std::string_view sSql);
    void SelectAll(bool bSelect);
    void Print();
    void PrintSelected();
    bool MoveToFirstSelected();
    // The walk wraps round from the last mark to the first; it never reports an end.
    bool MoveToNextSelected();
    // The text of the named field of the record the recordset stands on.
    bool GetFieldValue(std::string_view colName, std::string& value);

    // Painting and input.
    void OnDraw(CDC& dc, const RECT& bounds, const RECT& invalid) override;
    UINT OnGetDlgCode() override;
    bool PreTranslateKey(UINT vk, UINT modifiers) override;
    void OnKeyDown(UINT vk, UINT repeat, UINT flags) override;
    void OnLButtonDown(UINT flags, POINT point) override;
    void OnVScroll(UINT code, UINT pos, CScrollBar* bar) override;

  protected:
    // Binding.
    void DiscardRows();
    void CloseRecordset();

    // Painting.
    int ListRight(int width) const;
    void CreateScrollBar(int width, int height);
    void PaintHeader(CDC& dc, int listRight);
    // Paints slot k from the record the recordset stands on.
    void PaintRow(CDC& dc, int slot, bool highlight, int listRight, int height);
    // PaintRow without the column rules, which it draws down the whole list: the row's
    // colours, text and top and bottom lines. Where the rules go in columnEnds; false when the
    // row could not be painted.
    bool PaintRowBody(CDC& dc, int slot, bool highlight, int listRight,
                      std::vector<int>& columnEnds);
    // Positions the recordset on the slot's record and paints it into the window; false when
    // the seek fails.
    bool RepaintSlot(int slot, bool highlight);
    // The width of a row or header text in the list font.
    int TextWidth(CDC& dc, const std::string& text);
    // A row text without the characters that fall past the slot's right edge, where the slot
    // clips them anyway: a long row is drawn in the time its visible part takes.
    std::string_view VisiblePart(CDC& dc, const std::string& text, int width);
    // Whether the bookmark is marked; a failed look-up ends the operation that needed it.
    HRESULT IsMarked(const VARIANT& bookmark, bool& marked) const;

    // Moves of the current row.
    bool HandleKey(UINT vk);
    void LineDown();
    void LineUp();
    void PageDown();
    void PageUp();
    void FirstRecord();
    void LastRecord();
    void ShowFirstPage();
    void ShowLastPage();
    // From the last record, MovePrevious up to count times, each record reached becoming the
    // top; the steps made.
    int BackUpFromLast(int count);
    bool TakeBookmark(CComVariant& bookmark);
    bool IsCurrent(const VARIANT& bookmark, bool& current) const;
    int ClientWidth() const;
    int ClientHeight() const;
    HRESULT ToggleMark(const VARIANT& bookmark);

    // Printing.
    enum class PrintedRecords { All, Marked };
    void PrintRecords(PrintedRecords which);

    CDataConnection m_connection;
    // Declared after the connection holder it is opened on, so it goes first.
    std::unique_ptr<CDataRecordset> m_recordset;
    bool m_bound = false;
    CComVariant m_topBookmark;
    CComVariant m_bottomBookmark;
    CComVariant m_currentBookmark;
    int m_currentSlot = 0;
    int m_visibleRowCount = 0;
    std::vector<RowEntry> m_visibleRows;
    CRowMarks m_selectedRows;
    int m_selectionCursor = 0;
    int m_headerHeight = kQueryHeaderHeight;
    int m_rowHeight = 0;
    std::unique_ptr<CScrollBar> m_scrollBar;
    bool m_scrollBarCreated = false;
    int m_scrollBarWidth = kQueryScrollBarWidth;
    COffscreenSurface m_surface;
    // Widths of texts of equally wide characters in the list font, by their length.
    std::vector<int> m_uniformWidths;
};
