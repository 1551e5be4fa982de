// CQORFormCtrl: a designed form bound to the current record of a query, edited field by field
// with every accepted keystroke written straight back to the record.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "controls/common/data_connection.h"
#include "controls/common/data_recordset.h"
#include "controls/common/design_item.h"
#include "controls/common/offscreen_surface.h"
#include "controls/common/ole_control.h"
#include "platform/com/com_variant.h"

class CQORFormCtrl : public COleControl {
  public:
    CQORFormCtrl();
    CQORFormCtrl(const CQORFormCtrl&) = delete;
    CQORFormCtrl& operator=(const CQORFormCtrl&) = delete;
    ~CQORFormCtrl() override;

    static const ControlClassInfo& ClassInfo();
    static const CDispatchTable<CQORFormCtrl>& DispatchTable();

    // Reads the design file and binds the form to the query on the host's connection. False
    // only when the design file cannot be opened (nothing changes then) or the connection
    // object fails the interface query in a way other than having no connection.
    bool OpenForm(IDispatch* adoConn, std::string_view ls_sql, const std::string& sFormFileName);
    // The named field of the current record, read from the recordset rather than the screen.
    bool GetItem(std::string_view ItemName, std::string& itemText);
    // Sets the named field of the current record without saving it or changing the screen.
    bool SetItem(std::string_view ItemName, std::string_view itemText);
    void SetFormColors(COLORREF FormBackgroundColor, COLORREF HighlightedFieldBkColor,
                       COLORREF HighlightedFieldTextColor);

    void OnDraw(CDC& dc, const RECT& bounds, const RECT& invalid) override;
    UINT OnGetDlgCode() override;
    bool PreTranslateKey(UINT vk, UINT modifiers) override;
    void OnKeyDown(UINT vk, UINT repeat, UINT flags) override;
    void OnChar(UINT ch, UINT repeat, UINT flags) override;
    void OnLButtonDown(UINT flags, POINT point) override;

  private:
    // Model: the design, the query and the current record.
    bool ReadForm(const std::string& path);
    // False only when the connection object fails the interface query otherwise than by having
    // none; a query that does not open leaves the form without a recordset.
    bool BindQuery(IDispatch* adoConn, std::string_view sql);
    void CloseRecordset();
    void TakeBookmark();
    // Copies the current record's values into the columns of the same names, drawing each
    // column it changes (the current field highlighted).
    void LoadColumnValues();
    // The record's value back into the current field when it shows a text its field could not
    // hold: a field that is left never claims a value the record does not hold.
    void RestoreUnwrittenText();
    // The field of the current record that a column stands for, after going to the stored
    // bookmark; -1 when there is none.
    int RecordFieldOf(const DesignItem& column);
    // The first column whose name equals the given one, without regard to case.
    const DesignItem* FindColumn(std::string_view name) const;
    bool IsColumnIndex(std::int32_t index) const;

    // Painting.
    void DrawItems(CDC& dc, const RECT& clip);
    // Draws the items meeting one item's rectangle straight into the window.
    void DrawItemNow(std::size_t index);
    // Shows the column in the highlight colours; its own colours stay as they are.
    void HighlightField(std::size_t index);
    void HighlightField(CDC& dc, std::size_t index);
    void RedrawForm();

    // Editing.
    // Tab, Shift+Tab, the record keys and the arrow keys; false for every other key.
    bool HandleFormKey(UINT vk);
    void MoveTab(bool backwards);
    // Leaves the current field: its unwritten text gives way to the record's value and it is
    // drawn in its own colours. No field is current afterwards.
    void LeaveField();
    void MoveRecord(UINT vk);
    // Writes the current field; a text the field cannot hold yet stays on screen until the
    // field is left, a write the database refuses gives way to the record's value with a beep.
    void WriteFieldToRecord();

    std::vector<DesignItem> m_items;
    CDataConnection m_connection;
    // Declared after the connection holder it is opened on, so it goes first.
    std::unique_ptr<CDataRecordset> m_recordset;
    CComVariant m_bookmark;
    bool m_bookmarkValid = false;
    bool m_formLoaded = false;
    bool m_recordsetOpen = false;
    std::int32_t m_currentTabOrder = -1;
    std::int32_t m_currentField = -1;
    // The current field shows a typed text that its record field could not hold.
    bool m_textUnwritten = false;
    COLORREF m_formBackgroundColor = 0x00C0C0C0;
    COLORREF m_highlightedFieldTextColor = 0x00FFFFFF;
    COLORREF m_highlightedFieldBkColor = 0x00800000;
    COffscreenSurface m_offscreen;
};
