// A surface that draws nothing and logs every operation with its arguments
// and the state it ran with, so tests can assert exactly what was drawn.
// Fonts measure by rule, not by any installed face: a font of e pixels
// (its point size at the recorder's resolution) is e high and (e + 1) / 2
// wide. Needs no QGuiApplication.
#pragma once

#include "platform/gdi/surface.h"

#include <string>
#include <vector>

struct GdiRecord {
    GdiOp op;
    int nSurface; // 0: the recorder's surface; 1, 2, ...: memory surfaces made from it
    // Destination: text position, or rectangle as origin and extent.
    int x = 0;
    int y = 0;
    int cx = 0;
    int cy = 0;
    std::string bytes; // text bytes, exactly count of them
    UINT nOptions = 0;
    RECT rcClip = {};
    COLORREF color = 0; // fill colour
    DWORD dwRop = 0;
    // State when the operation ran.
    HGDIOBJ hFont = nullptr;
    COLORREF crText = 0;
    COLORREF crBk = 0;
};

class GdiRecorder {
public:
    int m_nDpi = 96;
    int m_nWidth = 640;
    int m_nHeight = 480;
    // Set to make every font unmeasurable: GetTextMetrics fails with zeros.
    bool m_bNoMetrics = false;

    std::vector<GdiRecord> m_records;
    int m_nSurfaces = 1; // surfaces made so far, the recorder's own included
};

// Makes dc a surface that records into recorder.
BOOL AttachRecorder(CDC* pDC, GdiRecorder* pRecorder);
