// The objects behind the handles, shared by the wrappers and the surfaces
// that have them selected. Internal to the drawing layer.
#pragma once

#include "platform/gdi/gdi.h"

#include <memory>

class FontFace;
class QImage;
class QPicture;

constexpr UINT OBJ_BRUSH = 2;

struct GdiObjectData : std::enable_shared_from_this<GdiObjectData> {
    explicit GdiObjectData(UINT type) : nType(type) {}
    virtual ~GdiObjectData() = default;

    const UINT nType; // OBJ_FONT, OBJ_BITMAP or OBJ_BRUSH
    CGdiObject* pWrapper = nullptr;
};

struct FontData : GdiObjectData {
    FontData(const LOGFONTA& logFont, int pixels);
    ~FontData() override;

    LOGFONTA lf; // as the font was created
    int nPixels; // em size on the surface it was made for
    // Byte 0x5C shows the yen sign, as in Japanese fixed-pitch fonts.
    bool bYen;
    // Resolved by the first real surface that measures or draws it.
    std::shared_ptr<FontFace> pFace;
};

struct BitmapData : GdiObjectData {
    BitmapData(int width, int height);
    ~BitmapData() override;

    int nWidth;
    int nHeight;
    std::unique_ptr<QImage> pImage; // none on a recorder
    // Instead of pixels, what was drawn, on surfaces compatible with a printer.
    std::unique_ptr<QPicture> pPicture;
};

struct BrushData : GdiObjectData {
    BrushData() : GdiObjectData(OBJ_BRUSH) {}
};

// The font of a fresh surface and the bitmap of a fresh memory surface.
std::shared_ptr<GdiObjectData> StockFont();
std::shared_ptr<GdiObjectData> StockBitmap();
