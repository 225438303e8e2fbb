#include "support/gdi_recorder.h"
#include "platform/gdi/objects.h"
#include "platform/gdi/surface.h"

namespace {

class RecordingSurface : public GdiSurface {
public:
    RecordingSurface(GdiRecorder* recorder, int number)
        : m_pRecorder(recorder), m_nNumber(number) {}

    std::unique_ptr<GdiSurface> CreateCompatible() const override {
        return std::make_unique<RecordingSurface>(m_pRecorder, m_pRecorder->m_nSurfaces++);
    }
    bool IsMemory() const override { return m_nNumber != 0; }
    bool MakeBitmap(BitmapData&) const override { return true; }

    int DeviceCaps(int index) const override {
        const GdiRecorder& r = *m_pRecorder;
        return index == LOGPIXELSX || index == LOGPIXELSY ? r.m_nDpi
               : index == HORZRES                         ? r.m_nWidth
               : index == VERTRES                         ? r.m_nHeight
                                                          : 0;
    }

    bool Measure(FontData& font, TEXTMETRICA* metrics) override {
        if (m_pRecorder->m_bNoMetrics) {
            return false;
        }
        const LONG em = font.nPixels;
        metrics->tmHeight = em;
        metrics->tmDescent = em / 8;
        metrics->tmAscent = em - em / 8;
        metrics->tmAveCharWidth = (em + 1) / 2;
        metrics->tmMaxCharWidth = em;
        return true;
    }

    void StateChanged(GdiOp op, const GdiDcState& state) override { Add(op, state); }

    bool Text(const GdiDcState& state, int x, int y, UINT options, const RECT* clip,
              const BYTE* bytes, UINT count, const int*) override {
        GdiRecord& record = Add(GdiOp::TextOut, state);
        record.x = x;
        record.y = y;
        record.nOptions = options;
        record.rcClip = clip != nullptr ? *clip : RECT{};
        record.bytes.assign(reinterpret_cast<const char*>(bytes), count);
        return true;
    }

    void Fill(const GdiDcState& state, const RECT& rect, COLORREF color) override {
        AddRect(GdiOp::FillSolidRect, state, rect).color = color;
    }

    bool Pattern(const GdiDcState& state, const RECT& rect, DWORD rop) override {
        AddRect(GdiOp::PatBlt, state, rect).dwRop = rop;
        return true;
    }

    bool Blt(const GdiDcState& state, const GdiBlock&, GdiSurface&, const GdiDcState&,
             const GdiBlock&, DWORD) override {
        Add(GdiOp::StretchBlt, state);
        return true;
    }

    void Frame(const GdiDcState& state, const RECT& rect) override {
        AddRect(GdiOp::FrameRect, state, rect);
    }

    bool Edge(const GdiDcState& state, const RECT& rect, UINT, UINT) override {
        AddRect(GdiOp::DrawEdge, state, rect);
        return true;
    }

    const QImage* Pixels(const GdiDcState&) override { return nullptr; }

private:
    GdiRecord& Add(GdiOp op, const GdiDcState& state) {
        GdiRecord record{};
        record.op = op;
        record.nSurface = m_nNumber;
        record.hFont = state.pFont.get();
        record.crText = state.crText;
        record.crBk = state.crBk;
        return m_pRecorder->m_records.emplace_back(std::move(record));
    }

    GdiRecord& AddRect(GdiOp op, const GdiDcState& state, const RECT& rect) {
        GdiRecord& record = Add(op, state);
        record.x = rect.left;
        record.y = rect.top;
        record.cx = rect.right - rect.left;
        record.cy = rect.bottom - rect.top;
        return record;
    }

    GdiRecorder* m_pRecorder;
    int m_nNumber;
};

} // namespace

BOOL AttachRecorder(CDC* pDC, GdiRecorder* pRecorder) {
    return pDC != nullptr && pRecorder != nullptr &&
           pDC->AttachSurface(std::make_unique<RecordingSurface>(pRecorder, 0));
}
