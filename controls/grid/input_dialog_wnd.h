// The grid's "New Row..." window: one labelled line per column, typed into by the grid's typing
// rules, run modally over the grid and read back by column title.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "controls/common/edit_style.h"
#include "platform/ui/wnd.h"

struct InputField {
    RECT lineRect{};  // where the value was last drawn, for hit testing
    std::string key;  // the column title, also the line's label
    std::string value;
    std::string editMask;
    EditStyle editStyle = EditStyle::Text;
    bool editable = true;
    int maxSize = 0;
    int wholeDigits = 9;
    int decimalDigits = 2;
    int width = 0;  // of the value, in pixels
    COLORREF backColor = 0x00C0C0C0;
    COLORREF textColor = 0x00000000;
};

class CInputDialogWnd : public CWnd {
  public:
    static constexpr int kCreatedWidth = 500;
    static constexpr int kCreatedHeight = 400;
    static constexpr int kTitleBandHeight = 20;
    static constexpr COLORREF kCurrentBack = 0x00800000;
    static constexpr COLORREF kCurrentText = 0x00FFFFFF;

    // Appends a line and lays the window out again.
    void AddField(InputField field);
    void SetCaption(std::string caption);
    void SetColors(COLORREF back, COLORREF title);
    // Shows the window modally over the owner until OK or Cancel: true for OK; false for
    // Cancel, when the window cannot be created, or when the loop is given up unanswered.
    bool Run(CWnd* owner);
    // The value of the first line whose key equals the key without regard to case.
    bool GetValue(std::string_view key, std::string& value) const;

    const std::vector<InputField>& GetFields() const { return m_fields; }
    std::size_t GetCurrentField() const { return m_currentField; }
    std::size_t GetFirstVisibleField() const { return m_firstVisibleField; }
    std::size_t GetLastVisibleField() const { return m_lastVisibleField; }
    int GetLineHeight() const { return m_lineHeight; }
    int GetLabelWidth() const { return m_labelWidth; }
    // Where the laid-out window stands on the screen.
    RECT GetLayoutRect() const { return m_layoutRect; }
    RECT GetOkRect() const { return m_okRect; }
    RECT GetCancelRect() const { return m_cancelRect; }

    void OnPaint(CDC& dc) override;
    void OnChar(UINT ch, UINT repeat, UINT flags) override;
    void OnKeyDown(UINT vk, UINT repeat, UINT flags) override;
    void OnLButtonDown(UINT flags, POINT point) override;
    void OnDestroy() override;

  private:
    void Layout();
    void PlaceLines();
    void ShowFrom(std::size_t first);
    RECT LabelRect(std::size_t field) const;
    RECT ValueRect(std::size_t field) const;
    void DrawLine(CDC& dc, std::size_t field);
    void RedrawLine(std::size_t field);
    void Redraw();
    void MakeCurrent(std::size_t field);
    void MoveNext();
    void MovePrevious();

    std::vector<InputField> m_fields;
    std::size_t m_firstVisibleField = 0;
    std::size_t m_lastVisibleField = 0;
    std::size_t m_currentField = 0;
    std::size_t m_lineCapacity = 1;  // the lines the window shows at once
    std::string m_caption;
    COLORREF m_backColor = 0x00C0C0C0;
    COLORREF m_titleColor = 0x00800000;
    int m_lineHeight = 0;
    int m_labelWidth = 0;
    RECT m_layoutRect{};
    RECT m_okRect{};
    RECT m_cancelRect{};
    bool m_okPressed = false;
    bool m_cancelPressed = false;
};
