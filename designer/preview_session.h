// CPreviewSession: preview mode: the current field, its connection, transaction and record,
// Tab and the record keys, typing, and committing what was written.
#pragma once

#include <cstdint>
#include <string>

#include "designer/canvas_window.h"
#include "designer/design_document.h"
#include "designer/preview_binding.h"

class CPreviewSession {
  public:
    static constexpr COLORREF kHighlightedFieldTextColor = 0x00FFFFFF;
    static constexpr COLORREF kHighlightedFieldBkColor = 0x00800000;

    CPreviewSession(CDesignDocument& document, ICanvasWindow& canvas);

    bool IsOn() const { return m_on; }
    bool IsConnected() const { return m_binding.IsConnected(); }
    // List index of the current column, or -1.
    int CurrentField() const { return m_currentField; }
    std::int32_t CurrentTabOrder() const { return m_currentTabOrder; }
    // The current field while preview mode is on, or null.
    const DesignItem* HighlightedField() const;

    // The Preview command: switches the mode on or off.
    void Toggle();
    // Switches the mode off for New and Open, leaving an open connection and its transaction
    // to the next switch-on.
    void Leave() { m_on = false; }
    // Save while the mode is on: commits what was written and begins the next transaction.
    void Commit();
    // Undoes what was written and not committed, as the window closes.
    void Close() { m_binding.Disconnect(); }

    void OnLButtonDown(POINT point);
    void OnKeyDown(UINT vk);
    void OnChar(UINT ch);

  private:
    void Start();
    void Stop();
    void Connect();
    void SetCurrentField(int index);
    void TabToField(bool backwards);
    void MoveToRecord(RecordMove move);
    void FillColumns();
    // The record's value back into the current field when it shows a text its field could not
    // hold, as the field is left.
    void RestoreUnwrittenText();
    // Reads the column's field into its text; false when there is no such field or it cannot
    // be read.
    bool ReadColumn(std::size_t index);

    CDesignDocument& m_document;
    ICanvasWindow& m_canvas;
    CPreviewBinding m_binding;
    bool m_on = false;
    int m_currentField = -1;
    std::int32_t m_currentTabOrder = kNoTabStop;
    // The current field shows a typed text that its record field could not hold.
    bool m_textUnwritten = false;
};
