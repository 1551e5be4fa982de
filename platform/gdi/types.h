// Basic drawing values: colours, points, sizes and rectangles with exclusive right/bottom edges.
#pragma once

#include <algorithm>
#include <cstdint>

using COLORREF = std::uint32_t;  // 0x00BBGGRR
using UINT = unsigned int;

// What GetPixel answers for a point outside the bitmap.
constexpr COLORREF CLR_INVALID = 0xFFFFFFFF;

constexpr COLORREF RGB(int r, int g, int b) {
    return static_cast<COLORREF>((r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16));
}
constexpr int GetRValue(COLORREF c) {
    return static_cast<int>(c & 0xFF);
}
constexpr int GetGValue(COLORREF c) {
    return static_cast<int>((c >> 8) & 0xFF);
}
constexpr int GetBValue(COLORREF c) {
    return static_cast<int>((c >> 16) & 0xFF);
}

// number * numerator / denominator through a 64-bit product, rounded half away from zero like
// the platform call; -1 when the denominator is zero.
constexpr int MulDiv(int number, int numerator, int denominator) {
    if (denominator == 0) {
        return -1;
    }
    const std::int64_t product = static_cast<std::int64_t>(number) * numerator;
    const std::int64_t divisor = denominator;
    const std::int64_t absProduct = product < 0 ? -product : product;
    const std::int64_t absDivisor = divisor < 0 ? -divisor : divisor;
    const std::int64_t quotient = (absProduct + absDivisor / 2) / absDivisor;
    const bool negative = (product < 0) != (divisor < 0);
    return static_cast<int>(negative ? -quotient : quotient);
}

struct POINT {
    int x = 0;
    int y = 0;
    friend bool operator==(const POINT&, const POINT&) = default;
};

struct SIZE {
    int cx = 0;
    int cy = 0;
    friend bool operator==(const SIZE&, const SIZE&) = default;
};

struct RECT {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    friend bool operator==(const RECT&, const RECT&) = default;
};

inline bool IsRectEmpty(const RECT& r) {
    return r.right <= r.left || r.bottom <= r.top;
}

inline bool PtInRect(const RECT& r, POINT p) {
    return p.x >= r.left && p.x < r.right && p.y >= r.top && p.y < r.bottom;
}

// Like the platform call: false and an all-zero rectangle when the two do not overlap.
inline bool IntersectRect(RECT& out, const RECT& a, const RECT& b) {
    RECT r{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
           std::min(a.bottom, b.bottom)};
    if (IsRectEmpty(r)) {
        out = RECT{};
        return false;
    }
    out = r;
    return true;
}

// An empty rectangle contributes nothing; false when both are empty.
inline bool UnionRect(RECT& out, const RECT& a, const RECT& b) {
    if (IsRectEmpty(a) && IsRectEmpty(b)) {
        out = RECT{};
        return false;
    }
    if (IsRectEmpty(a)) {
        out = b;
    } else if (IsRectEmpty(b)) {
        out = a;
    } else {
        out = RECT{std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
                   std::max(a.bottom, b.bottom)};
    }
    return true;
}

inline void OffsetRect(RECT& r, int dx, int dy) {
    r.left += dx;
    r.right += dx;
    r.top += dy;
    r.bottom += dy;
}

inline void InflateRect(RECT& r, int dx, int dy) {
    r.left -= dx;
    r.right += dx;
    r.top -= dy;
    r.bottom += dy;
}
