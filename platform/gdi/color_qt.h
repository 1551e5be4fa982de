// Conversions between COLORREF (0x00BBGGRR) and Qt's colours (0xAARRGGBB), kept in one place.
#pragma once

#include <QColor>
#include <QRgb>

#include "platform/gdi/types.h"

inline QRgb ToQRgb(COLORREF color) {
    return qRgb(GetRValue(color), GetGValue(color), GetBValue(color));
}

inline QColor ToQColor(COLORREF color) {
    return QColor(GetRValue(color), GetGValue(color), GetBValue(color));
}

// The alpha channel is dropped: a COLORREF has none.
inline COLORREF FromQRgb(QRgb rgb) {
    return RGB(qRed(rgb), qGreen(rgb), qBlue(rgb));
}
