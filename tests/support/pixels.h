// Helpers for tests that look at the pixels a surface drew.
#pragma once

#include "platform/gdi/gdi.h"

#include <QColor>
#include <QImage>
#include <QRect>

#include <cstring>

inline QImage BlankImage(int width, int height, QColor ground = Qt::white) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(ground);
    return image;
}

inline QRgb Rgb(COLORREF color) {
    return qRgb(GetRValue(color), GetGValue(color), GetBValue(color));
}

// Pixels inside the rectangle that differ from the colour.
inline int CountOther(const QImage& image, const QRect& rect, QRgb color) {
    int count = 0;
    const QRect area = rect & image.rect();
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            count += (image.pixel(x, y) & 0xFFFFFF) != (color & 0xFFFFFF) ? 1 : 0;
        }
    }
    return count;
}

inline LOGFONTA PointFont(LONG tenths, const char* face = "IPAGothic",
                          BYTE charSet = SHIFTJIS_CHARSET) {
    LOGFONTA lf = {};
    lf.lfHeight = tenths;
    lf.lfCharSet = charSet;
    lf.lfPitchAndFamily = FIXED_PITCH;
    std::strncpy(lf.lfFaceName, face, LF_FACESIZE - 1);
    return lf;
}

// Creates the font on the surface and selects it.
inline void UseFont(CDC& dc, CFont& font, const LOGFONTA& lf) {
    font.CreatePointFontIndirect(&lf, &dc);
    dc.SelectObject(&font);
}
