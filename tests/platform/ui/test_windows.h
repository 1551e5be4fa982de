// Windows the window-service tests share: one that paints a plain colour and records its keys.
#pragma once

#include <vector>

#include "platform/ui/wnd.h"

// Paints its client area in one colour; counts its paints and records keys and characters.
class PlainWnd : public CWnd {
  public:
    explicit PlainWnd(COLORREF color = 0x00FFFFFF) : m_color(color) {}
    void OnPaint(CDC& dc) override {
        ++paints;
        dc.FillSolidRect(GetClientRect(), m_color);
    }
    void OnKeyDown(UINT vk, UINT /*repeat*/, UINT /*flags*/) override { keys.push_back(vk); }
    void OnChar(UINT ch, UINT /*repeat*/, UINT /*flags*/) override { chars.push_back(ch); }
    void OnLButtonDown(UINT /*flags*/, POINT /*point*/) override { ++clicks; }
    void SetColor(COLORREF color) { m_color = color; }

    int paints = 0;
    int clicks = 0;
    std::vector<UINT> keys;
    std::vector<UINT> chars;

  private:
    COLORREF m_color;
};
