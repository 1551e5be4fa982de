// Pixel queries the drawing tests share: ink bounds and whole-bitmap comparison.
#pragma once

#include <gtest/gtest.h>

#include "platform/gdi/dc.h"

constexpr COLORREF kWhite = 0x00FFFFFF;
constexpr COLORREF kBlack = 0;
constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);

// The smallest rectangle holding every pixel that differs from the background; empty if none.
inline RECT InkBounds(const CBitmap& bitmap, COLORREF background) {
    RECT ink{bitmap.Width(), bitmap.Height(), 0, 0};
    for (int y = 0; y < bitmap.Height(); ++y) {
        for (int x = 0; x < bitmap.Width(); ++x) {
            if (bitmap.GetPixel(x, y) != background) {
                ink = RECT{std::min(ink.left, x), std::min(ink.top, y), std::max(ink.right, x + 1),
                           std::max(ink.bottom, y + 1)};
            }
        }
    }
    return IsRectEmpty(ink) ? RECT{} : ink;
}

inline bool SamePixels(const CBitmap& a, const CBitmap& b) {
    if (a.Width() != b.Width() || a.Height() != b.Height()) {
        return false;
    }
    for (int y = 0; y < a.Height(); ++y) {
        for (int x = 0; x < a.Width(); ++x) {
            if (a.GetPixel(x, y) != b.GetPixel(x, y)) {
                return false;
            }
        }
    }
    return true;
}
