#include "platform/gdi/objects.h"
#include "platform/gdi/face.h"
#include "platform/gdi/surface.h"

#include <QImage>
#include <QPicture>

#include <algorithm>
#include <cstdint>

namespace {

constexpr int SCREEN_DPI = 96;
constexpr std::int64_t DEFAULT_TENTHS = 120; // the size a height of 0 stands for
constexpr std::int64_t MAX_TENTHS = 7200;
constexpr int STOCK_FONT_PIXELS = 16;

// Stored heights are never repaired, but what is drawn stays sane: a damaged
// record must not allocate giant bitmaps or hang.
std::int64_t RenderedTenths(LONG stored) {
    std::int64_t tenths = stored;
    if (tenths == 0) {
        return DEFAULT_TENTHS;
    }
    return std::min(tenths < 0 ? -tenths : tenths, MAX_TENTHS);
}

class StockFontWrapper : public CFont {
public:
    StockFontWrapper() {
        LOGFONTA lf = {};
        lf.lfHeight = LONG(DEFAULT_TENTHS);
        lf.lfWeight = FW_NORMAL;
        lf.lfCharSet = SHIFTJIS_CHARSET;
        lf.lfPitchAndFamily = FIXED_PITCH;
        Own(std::make_shared<FontData>(lf, STOCK_FONT_PIXELS));
    }
};

class StockBitmapWrapper : public CBitmap {
public:
    StockBitmapWrapper() {
        // No pixels: a memory surface without a bitmap of its own draws
        // nothing and gives nothing to copy.
        Own(std::make_shared<BitmapData>(1, 1));
    }
};

class HalftoneBrushWrapper : public CBrush {
public:
    HalftoneBrushWrapper() { Own(std::make_shared<BrushData>()); }
};

} // namespace

FontData::FontData(const LOGFONTA& logFont, int pixels)
    : GdiObjectData(OBJ_FONT), lf(logFont), nPixels(pixels),
      bYen(logFont.lfCharSet == SHIFTJIS_CHARSET) {}

FontData::~FontData() = default;

BitmapData::BitmapData(int width, int height)
    : GdiObjectData(OBJ_BITMAP), nWidth(width), nHeight(height) {}

BitmapData::~BitmapData() = default;

// Stock objects live for the whole run and are never deleted, also not at
// exit, when the fonts they hold may already be gone.
std::shared_ptr<GdiObjectData> StockFont() {
    static auto* stock = new StockFontWrapper;
    return stock->GetSafeHandle()->shared_from_this();
}

std::shared_ptr<GdiObjectData> StockBitmap() {
    static auto* stock = new StockBitmapWrapper;
    return stock->GetSafeHandle()->shared_from_this();
}

CBrush* CDC::GetHalftoneBrush() {
    static auto* stock = new HalftoneBrushWrapper;
    return stock;
}

CGdiObject::~CGdiObject() {
    DeleteObject();
}

BOOL CGdiObject::DeleteObject() {
    if (!m_pData) {
        return FALSE;
    }
    m_pData->pWrapper = nullptr;
    m_pData.reset();
    return TRUE;
}

CGdiObject* CGdiObject::FromHandle(HGDIOBJ hObject) {
    return hObject == nullptr ? nullptr : hObject->pWrapper;
}

void CGdiObject::Own(std::shared_ptr<GdiObjectData> data) {
    DeleteObject();
    m_pData = std::move(data);
    m_pData->pWrapper = this;
}

BOOL CFont::CreatePointFontIndirect(const LOGFONTA* lpLogFont, CDC* pDC) {
    if (lpLogFont == nullptr || GetSafeHandle() != nullptr) {
        return FALSE;
    }
    int dpi = pDC != nullptr ? pDC->GetDeviceCaps(LOGPIXELSY) : 0;
    if (dpi <= 0) {
        dpi = SCREEN_DPI;
    }
    const std::int64_t pixels = (dpi * RenderedTenths(lpLogFont->lfHeight) + 360) / 720;
    int size = int(std::max<std::int64_t>(pixels, 1));
    if (pDC != nullptr && pDC->GetDeviceCaps(TECHNOLOGY) == DT_RASPRINTER) {
        size = FitToPage(*pDC, *lpLogFont, size);
    }
    Own(std::make_shared<FontData>(*lpLogFont, size));
    return TRUE;
}

// Shrinks a size whose cell is larger than the printer's printable area to
// the largest that fits. Metrics grow about in proportion to the size, so
// a scaled guess is close; a few corrections settle it.
int CFont::FitToPage(CDC& dc, const LOGFONTA& lf, int pixels) {
    const LONG width = dc.GetDeviceCaps(HORZRES);
    const LONG height = dc.GetDeviceCaps(VERTRES);
    if (!dc.m_pSurface || width <= 0 || height <= 0) {
        return pixels;
    }
    constexpr int ATTEMPTS = 8;
    for (int attempt = 0; attempt < ATTEMPTS && pixels > 1; ++attempt) {
        FontData probe(lf, pixels);
        TEXTMETRICA metrics = {};
        if (!dc.m_pSurface->Measure(probe, &metrics) ||
            (metrics.tmHeight <= height && metrics.tmAveCharWidth <= width)) {
            break;
        }
        const double scale = std::min(double(height) / std::max<LONG>(metrics.tmHeight, 1),
                                      double(width) / std::max<LONG>(metrics.tmAveCharWidth, 1));
        pixels = std::clamp(int(pixels * scale), 1, pixels - 1);
    }
    return pixels;
}

BOOL CBitmap::CreateCompatibleBitmap(CDC* pDC, int nWidth, int nHeight) {
    if (pDC == nullptr || !pDC->m_pSurface || nWidth <= 0 || nHeight <= 0 ||
        GetSafeHandle() != nullptr) {
        return FALSE;
    }
    auto bitmap = std::make_shared<BitmapData>(nWidth, nHeight);
    if (!pDC->m_pSurface->MakeBitmap(*bitmap)) {
        return FALSE;
    }
    Own(bitmap);
    return TRUE;
}
