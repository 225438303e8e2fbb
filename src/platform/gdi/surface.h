// What lies behind a CDC: a Qt painting target, a device that is only
// measured, or a recorder. Internal to the drawing layer.
#pragma once

#include "platform/gdi/gdi.h"
#include "platform/gdi/objects.h"

#include <memory>

// The operations a surface is told of or asked to carry out.
enum class GdiOp {
    SelectFont,
    SelectBitmap,
    SetTextColor,
    SetBkColor,
    SetBkMode,
    TextOut, // TextOut and ExtTextOut
    FillSolidRect,
    PatBlt,
    StretchBlt,
    FrameRect,
    DrawEdge,
};

// The steps of a print job.
enum class GdiSpool { StartDoc, StartPage, EndPage, EndDoc, AbortDoc };

// A block of pixels by origin and extent, as StretchBlt takes it; a
// negative extent runs towards smaller coordinates.
struct GdiBlock {
    int x;
    int y;
    int cx;
    int cy;
};

class GdiSurface {
public:
    virtual ~GdiSurface() = default;

    virtual std::unique_ptr<GdiSurface> CreateCompatible() const = 0;
    virtual bool IsMemory() const = 0;
    // Gives the bitmap pixels where the surface has them.
    virtual bool MakeBitmap(BitmapData& bitmap) const = 0;
    virtual int DeviceCaps(int index) const = 0;
    // The part of the surface that output can reach, where it is known.
    virtual bool ClipBox(RECT*) const { return false; }
    virtual bool Measure(FontData& font, TEXTMETRICA* metrics) = 0;
    // Told after every change of the state.
    virtual void StateChanged(GdiOp op, const GdiDcState& state) = 0;

    virtual bool Text(const GdiDcState& state, int x, int y, UINT options, const RECT* clip,
                      const BYTE* bytes, UINT count, const int* dx) = 0;
    virtual void Fill(const GdiDcState& state, const RECT& rect, COLORREF color) = 0;
    virtual bool Pattern(const GdiDcState& state, const RECT& rect, DWORD rop) = 0;
    virtual bool Blt(const GdiDcState& state, const GdiBlock& dst, GdiSurface& src,
                     const GdiDcState& srcState, const GdiBlock& srcBlock, DWORD rop) = 0;
    virtual void Frame(const GdiDcState& state, const RECT& rect) = 0;
    virtual bool Edge(const GdiDcState& state, const RECT& rect, UINT edge, UINT flags) = 0;

    // The pixels a blit reads from this surface, or none.
    virtual const QImage* Pixels(const GdiDcState& state) = 0;
    // What a blit replays from a surface that records instead, or none.
    virtual const QPicture* Picture(const GdiDcState&) { return nullptr; }

    // A step of a print job; only printers spool.
    virtual bool Spool(GdiSpool, const char*) { return false; }
};

std::unique_ptr<GdiSurface> MakePainterSurface(QPainter* painter, const QPaintDevice* attrib);
std::unique_ptr<GdiSurface> MakePrinterSurface(QPrinter* printer);
std::unique_ptr<GdiSurface> MakeImageSurface(QImage* image);
std::unique_ptr<GdiSurface> MakeMeasuringSurface(const QPaintDevice* device);
