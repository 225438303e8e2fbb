// CDC: the state of a surface and the checks every target shares; the
// targets themselves draw.
#include "platform/gdi/gdi.h"
#include "platform/gdi/objects.h"
#include "platform/gdi/surface.h"

#include <algorithm>

CDC::CDC() = default;

CDC::~CDC() {
    DeleteDC();
}

BOOL CDC::TakeSurface(std::unique_ptr<GdiSurface> surface) {
    if (m_pSurface || !surface) {
        return FALSE;
    }
    m_pSurface = std::move(surface);
    m_state = GdiDcState{};
    m_state.pFont = StockFont();
    if (m_pSurface->IsMemory()) {
        m_state.pBitmap = StockBitmap();
    }
    return TRUE;
}

BOOL CDC::AttachPainter(QPainter* pPainter, const QPaintDevice* pAttribDevice) {
    return pPainter != nullptr && TakeSurface(MakePainterSurface(pPainter, pAttribDevice));
}

BOOL CDC::AttachPrinter(QPrinter* pPrinter) {
    return pPrinter != nullptr && TakeSurface(MakePrinterSurface(pPrinter));
}

BOOL CDC::AttachImage(QImage* pImage) {
    return pImage != nullptr && TakeSurface(MakeImageSurface(pImage));
}

BOOL CDC::AttachSurface(std::unique_ptr<GdiSurface> pSurface) {
    return TakeSurface(std::move(pSurface));
}

BOOL CDC::CreateIC(const QPaintDevice* pDevice) {
    return pDevice != nullptr && TakeSurface(MakeMeasuringSurface(pDevice));
}

BOOL CDC::CreateCompatibleDC(CDC* pDC) {
    return pDC != nullptr && pDC->m_pSurface && TakeSurface(pDC->m_pSurface->CreateCompatible());
}

BOOL CDC::DeleteDC() {
    if (!m_pSurface) {
        return FALSE;
    }
    m_pSurface.reset();
    m_state = GdiDcState{};
    return TRUE;
}

std::shared_ptr<GdiObjectData> CDC::Swap(std::shared_ptr<GdiObjectData>& slot,
                                         std::shared_ptr<GdiObjectData> next, GdiOp op) {
    std::shared_ptr<GdiObjectData> previous = std::move(slot);
    slot = std::move(next);
    m_pSurface->StateChanged(op, m_state);
    return previous;
}

CGdiObject* CDC::SelectGdiObject(HGDIOBJ hObject) {
    if (!m_pSurface || hObject == nullptr) {
        return nullptr;
    }
    std::shared_ptr<GdiObjectData> next = hObject->shared_from_this();
    if (hObject->nType == OBJ_FONT) {
        return CGdiObject::FromHandle(
            Swap(m_state.pFont, std::move(next), GdiOp::SelectFont).get());
    }
    if (hObject->nType == OBJ_BITMAP && m_pSurface->IsMemory()) {
        return CGdiObject::FromHandle(
            Swap(m_state.pBitmap, std::move(next), GdiOp::SelectBitmap).get());
    }
    return nullptr;
}

CFont* CDC::SelectObject(CFont* pFont) {
    return static_cast<CFont*>(
        SelectGdiObject(pFont != nullptr ? pFont->GetSafeHandle() : nullptr));
}

CBitmap* CDC::SelectObject(CBitmap* pBitmap) {
    return static_cast<CBitmap*>(
        SelectGdiObject(pBitmap != nullptr ? pBitmap->GetSafeHandle() : nullptr));
}

HGDIOBJ CDC::GetCurrentObject(UINT nObjectType) const {
    if (nObjectType == OBJ_FONT) {
        return m_state.pFont.get();
    }
    if (nObjectType == OBJ_BITMAP) {
        return m_state.pBitmap.get();
    }
    return nullptr;
}

template <typename T> T CDC::ChangeState(T& field, T value, GdiOp op) {
    const T previous = field;
    field = value;
    if (m_pSurface) {
        m_pSurface->StateChanged(op, m_state);
    }
    return previous;
}

COLORREF CDC::SetTextColor(COLORREF color) {
    return ChangeState(m_state.crText, color, GdiOp::SetTextColor);
}

COLORREF CDC::SetBkColor(COLORREF color) {
    return ChangeState(m_state.crBk, color, GdiOp::SetBkColor);
}

int CDC::SetBkMode(int nMode) {
    if (nMode != TRANSPARENT && nMode != OPAQUE) {
        return 0;
    }
    return ChangeState(m_state.nBkMode, nMode, GdiOp::SetBkMode);
}

BOOL CDC::GetTextMetrics(TEXTMETRICA* pMetrics) const {
    if (pMetrics == nullptr) {
        return FALSE;
    }
    *pMetrics = {};
    auto* font = static_cast<FontData*>(m_state.pFont.get());
    if (!m_pSurface || font == nullptr || !m_pSurface->Measure(*font, pMetrics)) {
        *pMetrics = {};
        return FALSE;
    }
    pMetrics->tmHeight = std::max<LONG>(pMetrics->tmHeight, 1);
    pMetrics->tmAveCharWidth = std::max<LONG>(pMetrics->tmAveCharWidth, 1);
    return TRUE;
}

int CDC::GetDeviceCaps(int nIndex) const {
    return m_pSurface ? m_pSurface->DeviceCaps(nIndex) : 0;
}

int CDC::Spool(GdiSpool step, const char* lpszDocName) {
    return m_pSurface && m_pSurface->Spool(step, lpszDocName) ? 1 : SP_ERROR;
}

int CDC::StartDoc(const char* lpszDocName) {
    return Spool(GdiSpool::StartDoc, lpszDocName);
}

int CDC::StartPage() {
    return Spool(GdiSpool::StartPage);
}

int CDC::EndPage() {
    return Spool(GdiSpool::EndPage);
}

int CDC::EndDoc() {
    return Spool(GdiSpool::EndDoc);
}

int CDC::AbortDoc() {
    return Spool(GdiSpool::AbortDoc);
}

int CDC::GetClipBox(RECT* lpRect) const {
    if (!m_pSurface || lpRect == nullptr || !m_pSurface->ClipBox(lpRect)) {
        return ERROR;
    }
    return lpRect->left < lpRect->right && lpRect->top < lpRect->bottom ? SIMPLEREGION : NULLREGION;
}

BOOL CDC::TextOut(int x, int y, const char* bytes, int nCount) {
    return ExtTextOut(x, y, 0, nullptr, bytes, UINT(std::max(nCount, 0)), nullptr);
}

BOOL CDC::ExtTextOut(int x, int y, UINT nOptions, const RECT* lpClip, const char* bytes,
                     UINT nCount, const int* lpDx) {
    if (!m_pSurface || !m_state.pFont || (bytes == nullptr && nCount != 0)) {
        return FALSE;
    }
    return m_pSurface->Text(m_state, x, y, nOptions, lpClip, reinterpret_cast<const BYTE*>(bytes),
                            nCount, lpDx);
}

void CDC::FillSolidRect(const RECT* lpRect, COLORREF color) {
    if (lpRect == nullptr) {
        return;
    }
    SetBkColor(color);
    if (m_pSurface) {
        m_pSurface->Fill(m_state, *lpRect, color);
    }
}

void CDC::FillSolidRect(int x, int y, int cx, int cy, COLORREF color) {
    const RECT rect = {x, y, x + cx, y + cy};
    FillSolidRect(&rect, color);
}

BOOL CDC::PatBlt(int x, int y, int nWidth, int nHeight, DWORD dwRop) {
    if (!m_pSurface || (dwRop != WHITENESS && dwRop != BLACKNESS && dwRop != DSTINVERT)) {
        return FALSE;
    }
    const RECT rect = {std::min(x, x + nWidth), std::min(y, y + nHeight), std::max(x, x + nWidth),
                       std::max(y, y + nHeight)};
    return m_pSurface->Pattern(m_state, rect, dwRop);
}

BOOL CDC::StretchBlt(int x, int y, int nWidth, int nHeight, CDC* pSrcDC, int xSrc, int ySrc,
                     int nSrcWidth, int nSrcHeight, DWORD dwRop) {
    if (!m_pSurface || pSrcDC == nullptr || !pSrcDC->m_pSurface || dwRop != SRCCOPY) {
        return FALSE;
    }
    return m_pSurface->Blt(m_state, {x, y, nWidth, nHeight}, *pSrcDC->m_pSurface, pSrcDC->m_state,
                           {xSrc, ySrc, nSrcWidth, nSrcHeight}, dwRop);
}

void CDC::FrameRect(const RECT* lpRect, CBrush* pBrush) {
    if (m_pSurface && lpRect != nullptr && pBrush == GetHalftoneBrush()) {
        m_pSurface->Frame(m_state, *lpRect);
    }
}

BOOL CDC::DrawEdge(RECT* lpRect, UINT nEdge, UINT nFlags) {
    return m_pSurface && lpRect != nullptr && m_pSurface->Edge(m_state, *lpRect, nEdge, nFlags);
}
