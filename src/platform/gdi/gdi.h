// Drawing surfaces, fonts, bitmaps and brushes on Qt, with the state model
// and the effects the painter and the window and printing layers rely on.
//
// One CDC type stands for every target. Build one on
//   (a) a QPainter you do not own, e.g. inside a paint event or on a
//       printer: dc.AttachPainter(&painter). The device is painter.device();
//       the painter must stay active until DeleteDC or the destructor;
//   (b) a QImage: dc.AttachImage(&image). The CDC paints into the image
//       with a painter of its own, ended by DeleteDC or the destructor;
//   (c) a surface of another kind, such as the tests' recorder:
//       dc.AttachSurface(surface) (surface.h);
//   (d) a device that is only measured, such as a window outside its paint
//       event: dc.CreateIC(&widget). Fonts and metrics have the device's
//       resolution; output draws nothing;
//   (e) a memory surface compatible with any of these:
//       mem.CreateCompatibleDC(&dc), with a CBitmap selected into it;
//   (f) a printer: dc.AttachPrinter(&printer). It measures at once; output
//       goes to paper between StartDoc and EndDoc, a page at a time.
// A surface on a printer, or a painter given a printer as its attribute
// device (a print preview), reports DT_RASPRINTER for TECHNOLOGY and the
// printer's resolution and printable area (HORZRES x VERTRES). Fonts made
// for it fit its page, and memory surfaces compatible with it record their
// drawing instead of holding pixels, so nothing scales with the printer's
// resolution. Qt targets need a QGuiApplication.
//
// Coordinates are device pixels. Text takes code page 932 (Shift_JIS) bytes
// and is placed by the top-left corner of its first character box. A fresh
// surface draws black text on white, in opaque background mode.
#pragma once

#include "platform/core/wintypes.h"

#include <memory>
#include <string>

class CFileException;
class QImage;
class QPaintDevice;
class QPainter;
class QPrinter;

class CBitmap;
class CBrush;
class CDC;
class CFont;
class CGdiObject;
class GdiSurface;
struct GdiObjectData;
enum class GdiOp;
enum class GdiSpool;

// Identifies a font, bitmap or brush; the object stays alive while a
// wrapper owns it or a surface has it selected.
using HGDIOBJ = GdiObjectData*;

constexpr UINT OBJ_FONT = 6;
constexpr UINT OBJ_BITMAP = 7;

constexpr int TRANSPARENT = 1;
constexpr int OPAQUE = 2;

constexpr UINT ETO_CLIPPED = 0x0004;

constexpr int ERROR = 0;
constexpr int NULLREGION = 1;
constexpr int SIMPLEREGION = 2;

constexpr DWORD SRCCOPY = 0x00CC0020;
constexpr DWORD BLACKNESS = 0x00000042;
constexpr DWORD WHITENESS = 0x00FF0062;
constexpr DWORD DSTINVERT = 0x00550009;

constexpr int TECHNOLOGY = 2;
constexpr int HORZRES = 8;
constexpr int VERTRES = 10;
constexpr int LOGPIXELSX = 88;
constexpr int LOGPIXELSY = 90;
constexpr int DT_RASDISPLAY = 1;
constexpr int DT_RASPRINTER = 2;

constexpr int SP_ERROR = -1;

constexpr LONG FW_NORMAL = 400;
constexpr LONG FW_BOLD = 700;

constexpr UINT BDR_RAISEDOUTER = 0x0001;
constexpr UINT BDR_SUNKENOUTER = 0x0002;
constexpr UINT BDR_RAISEDINNER = 0x0004;
constexpr UINT BDR_SUNKENINNER = 0x0008;
constexpr UINT EDGE_SUNKEN = BDR_SUNKENOUTER | BDR_SUNKENINNER;
constexpr UINT BF_LEFT = 0x0001;
constexpr UINT BF_TOP = 0x0002;
constexpr UINT BF_RIGHT = 0x0004;
constexpr UINT BF_BOTTOM = 0x0008;
constexpr UINT BF_RECT = BF_LEFT | BF_TOP | BF_RIGHT | BF_BOTTOM;

struct TEXTMETRICA {
    LONG tmHeight;       // line height: ascent + descent
    LONG tmAscent;       // baseline below the top of the character box
    LONG tmDescent;      // below the baseline
    LONG tmAveCharWidth; // a half-width character; full-width ones take two
    LONG tmMaxCharWidth;
};

// Moves the left and right edges out by dx and top and bottom by dy
// (inwards when negative).
BOOL InflateRect(RECT* rect, int dx, int dy);

// Glyph images kept between runs in a folder of their own (none while it is
// empty, as at start), so that a new process paints at once what earlier
// ones rasterised. Each face reads its file when it is first drawn.
void AfxSetGlyphCacheFolder(std::string folder);
// Writes what this run rasterised anew. FALSE with the first failure in
// pError; the files that could not be written are as they were.
BOOL AfxSaveGlyphCache(CFileException* pError);

class CGdiObject {
public:
    CGdiObject() = default;
    CGdiObject(const CGdiObject&) = delete;
    CGdiObject& operator=(const CGdiObject&) = delete;
    virtual ~CGdiObject();

    HGDIOBJ GetSafeHandle() const { return m_pData.get(); }
    // Releases the object; a surface that still has it selected keeps it
    // until something else is selected there.
    BOOL DeleteObject();
    // The wrapper that owns the object, or nullptr once it was deleted.
    static CGdiObject* FromHandle(HGDIOBJ hObject);

protected:
    void Own(std::shared_ptr<GdiObjectData> data);

private:
    std::shared_ptr<GdiObjectData> m_pData;
};

class CFont : public CGdiObject {
public:
    // lfHeight is in tenths of a point and is scaled by the vertical
    // resolution of pDC (96 dpi when pDC is null). A height of 0 takes the
    // default size (12 pt), a negative one its magnitude, and sizes above
    // 720 pt are drawn at 720 pt. On a printer a font is drawn no larger
    // than the largest size whose cell (average width by height) fits the
    // printable area. The face name is Shift_JIS; a face the system lacks
    // is replaced by an installed Japanese face of its kind.
    BOOL CreatePointFontIndirect(const LOGFONTA* lpLogFont, CDC* pDC = nullptr);

private:
    static int FitToPage(CDC& dc, const LOGFONTA& lf, int pixels);
};

class CBitmap : public CGdiObject {
public:
    // A bitmap with the pixel format of pDC's surface, initially black, as
    // many device pixels to the pixel as the surface.
    BOOL CreateCompatibleBitmap(CDC* pDC, int nWidth, int nHeight);
};

// Only the stock halftone brush exists (CDC::GetHalftoneBrush): a
// checkerboard of single pixels in the surface's text colour where x + y is
// even and its background colour where it is odd.
class CBrush : public CGdiObject {};

// The objects and colours selected into a surface.
struct GdiDcState {
    std::shared_ptr<GdiObjectData> pFont;
    std::shared_ptr<GdiObjectData> pBitmap;
    COLORREF crText = RGB(0, 0, 0);
    COLORREF crBk = RGB(255, 255, 255);
    int nBkMode = OPAQUE;
};

class CDC {
public:
    CDC();
    CDC(const CDC&) = delete;
    CDC& operator=(const CDC&) = delete;
    virtual ~CDC();

    // Surfaces: each returns FALSE and leaves the CDC empty on failure. The
    // CDC must be empty (fresh, or after DeleteDC) to take a new surface.
    // With pAttribDevice, fonts, device capabilities and compatible memory
    // surfaces follow that device instead of the painter's (the painter's
    // transform then maps the attribute device's pixels onto its own).
    BOOL AttachPainter(QPainter* pPainter, const QPaintDevice* pAttribDevice = nullptr);
    BOOL AttachPrinter(QPrinter* pPrinter);
    // An image in memory: the seam tests, fuzz targets and the bench draw
    // through to read back pixels.
    BOOL AttachImage(QImage* pImage);
    // Any surface, such as the tests' recording one: the seam tests use to
    // see every drawing call.
    BOOL AttachSurface(std::unique_ptr<GdiSurface> pSurface);
    BOOL CreateIC(const QPaintDevice* pDevice);
    BOOL CreateCompatibleDC(CDC* pDC);
    // Leaves the surface; selected objects are released, the CDC is empty.
    BOOL DeleteDC();

    // Selection returns the wrapper of the object selected before, or
    // nullptr. SelectGdiObject takes a font or a bitmap handle; a null
    // handle selects nothing. Bitmaps go into memory surfaces only.
    CFont* SelectObject(CFont* pFont);
    CBitmap* SelectObject(CBitmap* pBitmap);
    CGdiObject* SelectGdiObject(HGDIOBJ hObject);
    HGDIOBJ GetCurrentObject(UINT nObjectType) const;

    COLORREF SetTextColor(COLORREF color);
    COLORREF SetBkColor(COLORREF color);
    int SetBkMode(int nMode);

    // Metrics of the selected font on this surface, at least 1 x 1; FALSE
    // with all zeros when it cannot be measured.
    BOOL GetTextMetrics(TEXTMETRICA* pMetrics) const;
    // TECHNOLOGY, LOGPIXELSX, LOGPIXELSY, HORZRES, VERTRES; 0 for anything
    // else.
    int GetDeviceCaps(int nIndex) const;
    // The bounding rectangle of what output can reach: on a window's paint
    // surface the part being painted, on an image the image. ERROR where
    // the surface does not know.
    int GetClipBox(RECT* lpRect) const;

    // A print job on a printer surface; each returns SP_ERROR on failure
    // (also on any other surface), else a positive value. Output between
    // StartPage and EndPage goes onto one page; the first StartPage uses
    // the job's first sheet, every later one starts a new sheet.
    int StartDoc(const char* lpszDocName);
    int StartPage();
    int EndPage();
    int EndDoc();
    // Ends the job and discards what was spooled.
    int AbortDoc();

    BOOL TextOut(int x, int y, const char* bytes, int nCount);
    // Draws count Shift_JIS bytes, the first character box's top-left
    // corner at (x, y), in the selected font and text colour; in opaque mode
    // every character box is filled with the background colour first. With
    // ETO_CLIPPED, nothing leaves the clip rectangle. dx, when given, holds
    // the advance of every byte. A character the font lacks is drawn by the
    // Japanese face of its kind, in the font's own cells. A pair the code
    // page does not define, a lone lead byte and a character neither face
    // can show draw a box, on a printer nothing but their ground.
    BOOL ExtTextOut(int x, int y, UINT nOptions, const RECT* lpClip, const char* bytes, UINT nCount,
                    const int* lpDx);
    // Fills with the colour and leaves it as the background colour.
    void FillSolidRect(const RECT* lpRect, COLORREF color);
    void FillSolidRect(int x, int y, int cx, int cy, COLORREF color);
    // WHITENESS, BLACKNESS, or DSTINVERT, which inverts every colour
    // already there.
    BOOL PatBlt(int x, int y, int nWidth, int nHeight, DWORD dwRop);
    // SRCCOPY. A negative destination extent mirrors along that axis: the
    // block then runs from x (or y) towards smaller coordinates, so
    // StretchBlt(x + w - 1, y, -w, h, ...) mirrors onto x .. x + w - 1.
    BOOL StretchBlt(int x, int y, int nWidth, int nHeight, CDC* pSrcDC, int xSrc, int ySrc,
                    int nSrcWidth, int nSrcHeight, DWORD dwRop);
    // A one-pixel border along the inside of the rectangle.
    void FrameRect(const RECT* lpRect, CBrush* pBrush);
    static CBrush* GetHalftoneBrush();
    // A sunken 3-D edge, one pixel per border, on the sides the flags name.
    BOOL DrawEdge(RECT* lpRect, UINT nEdge, UINT nFlags);

private:
    friend class CBitmap;
    friend class CFont;

    int Spool(GdiSpool step, const char* lpszDocName = nullptr);
    BOOL TakeSurface(std::unique_ptr<GdiSurface> surface);
    // Stores a colour or mode, tells the surface, returns the old value.
    template <typename T> T ChangeState(T& field, T value, GdiOp op);
    std::shared_ptr<GdiObjectData> Swap(std::shared_ptr<GdiObjectData>& slot,
                                        std::shared_ptr<GdiObjectData> next, GdiOp op);

    std::unique_ptr<GdiSurface> m_pSurface;
    GdiDcState m_state;
};
