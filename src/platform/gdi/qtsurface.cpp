// Surfaces on Qt: a painter someone else owns, an image, a memory surface
// with a bitmap selected, a device that is only measured, or a printer.
#include "platform/core/sjis.h"
#include "platform/gdi/face.h"
#include "platform/gdi/surface.h"

#include <QImage>
#include <QPaintDevice>
#include <QPainter>
#include <QPicture>
#include <QPrinter>
#include <QVarLengthArray>

#include <algorithm>
#include <cstdint>
#include <vector>

namespace {

QColor ToQColor(COLORREF color) {
    return QColor(GetRValue(color), GetGValue(color), GetBValue(color));
}

QRect ToQRect(const RECT& rect) {
    return QRect(QPoint(rect.left, rect.top), QPoint(rect.right - 1, rect.bottom - 1));
}

// Normalises a block whose extents may be negative: a negative extent runs
// from the origin towards smaller coordinates.
QRect BlockRect(const GdiBlock& block, bool* mirrorX, bool* mirrorY) {
    *mirrorX = block.cx < 0;
    *mirrorY = block.cy < 0;
    const int left = block.cx < 0 ? block.x + block.cx + 1 : block.x;
    const int top = block.cy < 0 ? block.y + block.cy + 1 : block.y;
    return QRect(left, top, std::abs(block.cx), std::abs(block.cy));
}

// One character of the text: its code, its bytes and its advance.
struct TextUnit {
    char16_t ch;
    int bytes;
    int advance;
    quint32 glyph;
    bool bFallback; // the glyph is the fallback face's
    bool bInkWithinAdvance;
};

using TextUnits = QVarLengthArray<TextUnit, 32>;

// Japanese faces differ in where they keep their half-width yen sign: some
// at U+00A5, others (with a full-width U+00A5) at U+005C itself.
char16_t YenSign(FontFace& face) {
    const FontFace::Glyph yen = face.GlyphOf(u'\u00A5');
    const bool halfWidth = yen.index != 0 && LONG(yen.advance) <= face.Metrics().tmAveCharWidth;
    return halfWidth ? u'\u00A5' : u'\\';
}

char16_t DecodeUnit(FontFace& face, const FontData& font, const BYTE* bytes, UINT count, UINT i,
                    int* length) {
    const BYTE b = bytes[i];
    if (IsSjisLeadByte(b)) {
        *length = i + 1 < count ? 2 : 1;
        return *length == 2 ? DecodeSjisPair(b, bytes[i + 1]) : SJIS_UNDEFINED;
    }
    *length = 1;
    return b == 0x5C && font.bYen ? YenSign(face) : DecodeSjisByte(b);
}

TextUnits Layout(FontFace& face, const FontData& font, const BYTE* bytes, UINT count,
                 const int* dx) {
    TextUnits units;
    const int cell = face.Metrics().tmAveCharWidth;
    for (UINT i = 0; i < count;) {
        TextUnit unit{};
        unit.ch = DecodeUnit(face, font, bytes, count, i, &unit.bytes);
        FontFace::Glyph glyph{0, 0, true, false};
        if (unit.ch != SJIS_UNDEFINED) {
            glyph = face.GlyphOf(unit.ch);
        }
        unit.glyph = glyph.index;
        unit.bFallback = glyph.bFallback;
        // A borrowed glyph keeps to the cells of the face's own characters.
        const bool ownGlyph = glyph.index != 0 && !glyph.bFallback;
        unit.advance = ownGlyph ? int(glyph.advance) : unit.bytes * cell;
        if (dx != nullptr) {
            unit.advance = dx[i] + (unit.bytes == 2 ? dx[i + 1] : 0);
        }
        unit.bInkWithinAdvance = glyph.bInkWithinAdvance && unit.advance >= int(glyph.advance);
        units.append(unit);
        i += UINT(unit.bytes);
    }
    return units;
}

// Glyphs of one face in one colour: blits from the face's atlas where they
// give the same pixels, one glyph run for the rest.
void DrawGlyphs(QPainter& painter, FontFace& face, COLORREF color, const quint32* glyphs,
                const QPointF* positions, int count) {
    GlyphAtlas& atlas = face.Atlas();
    QVarLengthArray<quint32, 128> restGlyphs;
    QVarLengthArray<QPointF, 128> restPositions;
    if (const int scale = atlas.ExactScale(painter)) {
        std::vector<int> rest;
        atlas.Draw(painter, scale, ToQColor(color).rgb(), glyphs, positions, count, &rest);
        for (const int i : rest) {
            restGlyphs.append(glyphs[i]);
            restPositions.append(positions[i]);
        }
        glyphs = restGlyphs.constData();
        positions = restPositions.constData();
        count = int(restGlyphs.size());
    }
    if (count == 0) {
        return;
    }
    QGlyphRun& run = face.Run();
    run.setRawData(glyphs, positions, count);
    painter.setPen(ToQColor(color));
    painter.drawGlyphRun(QPointF(0, 0), run);
}

// A box in the character's cells stands for what cannot be shown.
void DrawPlaceholder(QPainter& painter, const QRect& box, const QColor& color) {
    if (box.width() < 3 || box.height() < 3) {
        painter.fillRect(box, color);
        return;
    }
    painter.setBrush(Qt::NoBrush);
    painter.setPen(color);
    painter.drawRect(box.adjusted(1, 1, -2, -2));
}

// Text outputs in a row with the same mode and clip, each starting right
// of the ones before it and with all its ink inside its boxes, drawn
// together: their boxes filled first, then their glyphs in one run per font
// and colour. Neither a box nor a glyph then touches what another output
// drew, so the pixels are the same as drawing them one by one.
class TextBatch {
public:
    bool IsEmpty() const { return m_fills.isEmpty() && m_runs.empty(); }

    // Whether an output can join: same row, mode and clip, not reaching back.
    bool Takes(const GdiDcState& state, bool clipped, const QRect& clip, const QRect& box) const {
        return !IsEmpty() && state.nBkMode == m_nBkMode && clipped == m_bClipped &&
               (!clipped || clip == m_clip) && box.top() == m_nTop && box.left() >= m_nRight;
    }

    void Start(const GdiDcState& state, bool clipped, const QRect& clip, const QRect& box) {
        m_nBkMode = state.nBkMode;
        m_bClipped = clipped;
        m_clip = clip;
        m_nTop = box.top();
    }

    void Add(const std::shared_ptr<FontFace>& face, const GdiDcState& state, const QRect& box,
             quint32 glyph, const QPointF& position) {
        if (m_nBkMode == OPAQUE) {
            if (!m_fills.isEmpty() && m_fills.back().color == state.crBk &&
                m_fills.back().rect.right() + 1 == box.left()) {
                m_fills.back().rect.setRight(box.right());
            } else {
                m_fills.append({box, state.crBk});
            }
        }
        if (glyph != 0) {
            GlyphRun& run = RunFor(face, state.crText);
            run.glyphs.append(glyph);
            run.positions.append(position);
        }
        m_nRight = box.right() + 1;
    }

    void Flush(QPainter& painter) {
        if (IsEmpty()) {
            return;
        }
        if (m_bClipped) {
            painter.save();
            painter.setClipRect(m_clip, Qt::IntersectClip);
        }
        for (const Fill& fill : m_fills) {
            painter.fillRect(fill.rect, ToQColor(fill.color));
        }
        for (const GlyphRun& run : m_runs) {
            DrawGlyphs(painter, *run.face, run.color, run.glyphs.constData(),
                       run.positions.constData(), int(run.glyphs.size()));
        }
        if (m_bClipped) {
            painter.restore();
        }
        m_fills.clear();
        m_runs.clear();
    }

private:
    struct Fill {
        QRect rect;
        COLORREF color;
    };

    struct GlyphRun {
        std::shared_ptr<FontFace> face;
        COLORREF color;
        QVarLengthArray<quint32, 128> glyphs;
        QVarLengthArray<QPointF, 128> positions;
    };

    GlyphRun& RunFor(const std::shared_ptr<FontFace>& face, COLORREF color) {
        for (GlyphRun& run : m_runs) {
            if (run.face == face && run.color == color) {
                return run;
            }
        }
        m_runs.push_back({face, color, {}, {}});
        return m_runs.back();
    }

    int m_nBkMode = OPAQUE;
    bool m_bClipped = false;
    QRect m_clip;
    int m_nTop = 0;
    int m_nRight = 0;
    QVarLengthArray<Fill, 64> m_fills;
    std::vector<GlyphRun> m_runs;
};

// What a surface measures and reports: the device's resolution and size
// in the pixels it is drawn in, the device pixels each of those holds, and
// whether it is a printer.
struct DeviceInfo {
    int nDpiX;
    int nDpiY;
    int nWidth;
    int nHeight;
    qreal dPixelRatio;
    bool bPrinter;

    static DeviceInfo Of(const QPaintDevice& device) {
        return {device.logicalDpiX(),
                device.logicalDpiY(),
                device.width(),
                device.height(),
                device.devicePixelRatioF(),
                device.devType() == QInternal::Printer};
    }
    static DeviceInfo Of(const QImage& image) {
        DeviceInfo info = Of(static_cast<const QPaintDevice&>(image));
        const QSize size = image.deviceIndependentSize().toSize();
        info.nWidth = size.width();
        info.nHeight = size.height();
        return info;
    }
};

// The device pixels of a block of an image drawn at its pixel ratio.
QRect DevicePixels(const QRect& block, qreal ratio) {
    return QRectF(QPointF(block.topLeft()) * ratio, QSizeF(block.size()) * ratio).toAlignedRect();
}

class QtSurface : public GdiSurface {
public:
    enum class Kind { Painter, Image, Measuring, Memory, Printer };

    QtSurface(Kind kind, const DeviceInfo& device) : m_kind(kind), m_device(device) {}

    ~QtSurface() override {
        FlushText();
        EndOwnPainter();
    }

    void SetPainter(QPainter* painter) { m_pExternal = painter; }
    void SetImage(QImage* image) { m_pImage = image; }
    void SetPrinter(QPrinter* printer) { m_pPrinter = printer; }

    std::unique_ptr<GdiSurface> CreateCompatible() const override {
        return std::make_unique<QtSurface>(Kind::Memory, m_device);
    }
    bool IsMemory() const override { return m_kind == Kind::Memory; }

    // A bitmap for a printer records what is drawn into it: its pixels at
    // the printer's resolution could take hundreds of megabytes.
    bool MakeBitmap(BitmapData& bitmap) const override {
        if (m_device.bPrinter) {
            bitmap.pPicture = std::make_unique<QPicture>();
            QPainter painter(bitmap.pPicture.get());
            painter.fillRect(0, 0, bitmap.nWidth, bitmap.nHeight, Qt::black);
            return true;
        }
        // As fine as the device, so that what is copied from it looks like
        // what is drawn there directly.
        const qreal ratio = m_device.dPixelRatio;
        const QSize pixels = DevicePixels(QRect(0, 0, bitmap.nWidth, bitmap.nHeight), ratio).size();
        auto image = std::make_unique<QImage>(pixels, QImage::Format_RGB32);
        if (image->isNull()) {
            return false;
        }
        image->setDevicePixelRatio(ratio);
        image->fill(Qt::black);
        bitmap.pImage = std::move(image);
        return true;
    }

    int DeviceCaps(int index) const override {
        switch (index) {
        case TECHNOLOGY:
            return m_device.bPrinter ? DT_RASPRINTER : DT_RASDISPLAY;
        case LOGPIXELSX:
            return m_device.nDpiX;
        case LOGPIXELSY:
            return m_device.nDpiY;
        case HORZRES:
            return m_device.nWidth;
        case VERTRES:
            return m_device.nHeight;
        default:
            return 0;
        }
    }

    bool Measure(FontData& font, TEXTMETRICA* metrics) override {
        *metrics = FaceOf(font).Metrics();
        return true;
    }

    void StateChanged(GdiOp op, const GdiDcState& state) override {
        // The painter on a bitmap must end before the bitmap can go.
        if (op == GdiOp::SelectBitmap && m_pPaintingOn != BitmapDevice(state)) {
            FlushText();
            EndOwnPainter();
        }
    }

    bool ClipBox(RECT* rect) const override {
        QRect box;
        if (m_kind == Kind::Painter) {
            box = m_pExternal->hasClipping() ? m_pExternal->clipBoundingRect().toAlignedRect()
                                             : QRect(0, 0, m_device.nWidth, m_device.nHeight);
        } else if (m_kind == Kind::Image) {
            box = QRect(0, 0, m_device.nWidth, m_device.nHeight);
        } else {
            return false;
        }
        *rect = {box.left(), box.top(), box.right() + 1, box.bottom() + 1};
        return true;
    }

    bool Text(const GdiDcState& state, int x, int y, UINT options, const RECT* clip,
              const BYTE* bytes, UINT count, const int* dx) override {
        QPainter* painter = PainterFor(state);
        if (painter == nullptr) {
            return false;
        }
        auto& font = *static_cast<FontData*>(state.pFont.get());
        FontFace& face = FaceOf(font);
        QRect clipRect;
        const bool clipped = (options & ETO_CLIPPED) != 0 && clip != nullptr;
        if (clipped) {
            clipRect = ToQRect(*clip);
            // Most characters of a wide line lie outside: reject them first.
            const TEXTMETRICA& metrics = face.Metrics();
            const std::int64_t reach =
                std::int64_t(x) + std::int64_t(count) * metrics.tmMaxCharWidth;
            if (clipRect.isEmpty() || y >= clipRect.bottom() + 1 ||
                y + metrics.tmHeight <= clipRect.top() || x > clipRect.right() ||
                (dx == nullptr && reach <= clipRect.left())) {
                return true;
            }
        }
        const TextUnits units = Layout(face, font, bytes, count, dx);
        const QRect box = TextBox(face, x, y, units);
        const bool needClip = clipped && !clipRect.contains(box);
        if (clipped && !clipRect.intersects(box)) {
            return true;
        }
        if (BatchText(*painter, font, state, needClip, clipRect, x, y, units, box)) {
            return true;
        }
        if (needClip) {
            painter->save();
            painter->setClipRect(clipRect, Qt::IntersectClip);
        }
        DrawUnits(*painter, face, state, x, y, units, !m_device.bPrinter);
        if (needClip) {
            painter->restore();
        }
        return true;
    }

    void Fill(const GdiDcState& state, const RECT& rect, COLORREF color) override {
        FlushText();
        if (QPainter* painter = PainterFor(state)) {
            painter->fillRect(ToQRect(rect), ToQColor(color));
        }
    }

    bool Pattern(const GdiDcState& state, const RECT& rect, DWORD rop) override {
        FlushText();
        if (rop != DSTINVERT) {
            ForgetCoveredRecording(state, rect);
        }
        QPainter* painter = PainterFor(state);
        if (painter == nullptr) {
            return false;
        }
        if (rop == DSTINVERT) {
            const QPainter::CompositionMode mode = painter->compositionMode();
            painter->setCompositionMode(QPainter::RasterOp_NotDestination);
            painter->fillRect(ToQRect(rect), Qt::black);
            painter->setCompositionMode(mode);
            return true;
        }
        painter->fillRect(ToQRect(rect), rop == WHITENESS ? Qt::white : Qt::black);
        return true;
    }

    bool Blt(const GdiDcState& state, const GdiBlock& dst, GdiSurface& src,
             const GdiDcState& srcState, const GdiBlock& srcBlock, DWORD) override {
        FlushText();
        // The source's painter ends before the target's may begin.
        const QPicture* picture = src.Picture(srcState);
        const QImage* pixels = picture == nullptr ? src.Pixels(srcState) : nullptr;
        QPainter* painter = PainterFor(state);
        if ((picture == nullptr && pixels == nullptr) || painter == nullptr) {
            return false;
        }
        bool dstMirrorX = false;
        bool dstMirrorY = false;
        bool srcMirrorX = false;
        bool srcMirrorY = false;
        const QRect target = BlockRect(dst, &dstMirrorX, &dstMirrorY);
        const QRect source = BlockRect(srcBlock, &srcMirrorX, &srcMirrorY);
        const bool mirrorX = dstMirrorX != srcMirrorX;
        const bool mirrorY = dstMirrorY != srcMirrorY;
        if (picture != nullptr) {
            Replay(*painter, *picture, source, target, mirrorX, mirrorY);
            return true;
        }
        const qreal ratio = pixels->devicePixelRatio();
        QImage block = pixels->copy(DevicePixels(source, ratio)).mirrored(mirrorX, mirrorY);
        block.setDevicePixelRatio(ratio);
        if (block.deviceIndependentSize() == QSizeF(target.size())) {
            painter->drawImage(target.topLeft(), block);
        } else {
            painter->drawImage(target, block);
        }
        return true;
    }

    void Frame(const GdiDcState& state, const RECT& rect) override {
        FlushText();
        QPainter* painter = PainterFor(state);
        const QRect box = ToQRect(rect);
        if (painter == nullptr || box.isEmpty()) {
            return;
        }
        QImage pattern(2, 2, QImage::Format_RGB32);
        const QRgb text = ToQColor(state.crText).rgb();
        const QRgb back = ToQColor(state.crBk).rgb();
        pattern.setPixel(0, 0, text);
        pattern.setPixel(1, 1, text);
        pattern.setPixel(1, 0, back);
        pattern.setPixel(0, 1, back);
        const QBrush brush(pattern);
        const QPoint origin = painter->brushOrigin();
        painter->setBrushOrigin(0, 0);
        painter->fillRect(QRect(box.left(), box.top(), box.width(), 1), brush);
        painter->fillRect(QRect(box.left(), box.bottom(), box.width(), 1), brush);
        painter->fillRect(QRect(box.left(), box.top(), 1, box.height()), brush);
        painter->fillRect(QRect(box.right(), box.top(), 1, box.height()), brush);
        painter->setBrushOrigin(origin);
    }

    bool Edge(const GdiDcState& state, const RECT& rect, UINT edge, UINT flags) override {
        FlushText();
        QPainter* painter = PainterFor(state);
        if (painter == nullptr) {
            return false;
        }
        // Outer border: shadow above and left, highlight below and right;
        // the inner one darker and lighter, as sunken edges look.
        const bool outerSunken = (edge & BDR_SUNKENOUTER) != 0;
        const bool innerSunken = (edge & BDR_SUNKENINNER) != 0;
        DrawBorder(*painter, ToQRect(rect), flags,
                   outerSunken ? QColor(0xA0, 0xA0, 0xA0) : QColor(0xE3, 0xE3, 0xE3),
                   outerSunken ? QColor(0xFF, 0xFF, 0xFF) : QColor(0x69, 0x69, 0x69));
        DrawBorder(*painter, ToQRect(rect).adjusted(1, 1, -1, -1), flags,
                   innerSunken ? QColor(0x69, 0x69, 0x69) : QColor(0xFF, 0xFF, 0xFF),
                   innerSunken ? QColor(0xE3, 0xE3, 0xE3) : QColor(0xA0, 0xA0, 0xA0));
        return true;
    }

    // A blit reads a bitmap only once the painter on it has ended.
    const QImage* Pixels(const GdiDcState& state) override {
        if (m_kind == Kind::Printer) {
            return nullptr;
        }
        EndOwnPainter();
        return BitmapImage(state);
    }

    const QPicture* Picture(const GdiDcState& state) override {
        if (m_kind == Kind::Printer) {
            return nullptr;
        }
        EndOwnPainter();
        return BitmapPicture(state);
    }

    bool Spool(GdiSpool step, const char* docName) override {
        if (m_kind != Kind::Printer) {
            return false;
        }
        switch (step) {
        case GdiSpool::StartDoc:
            if (m_pPaintingOn != nullptr) {
                return false;
            }
            m_pPrinter->setDocName(QString::fromUtf8(docName != nullptr ? docName : ""));
            if (!m_ownPainter.begin(m_pPrinter)) {
                return false;
            }
            m_pPaintingOn = m_pPrinter;
            m_nPagesStarted = 0;
            return true;
        case GdiSpool::StartPage:
            // The job begins on its first sheet.
            return m_pPaintingOn != nullptr && (m_nPagesStarted++ == 0 || m_pPrinter->newPage());
        case GdiSpool::EndPage:
            FlushText();
            return m_pPaintingOn != nullptr;
        case GdiSpool::AbortDoc:
            FlushText();
            m_pPrinter->abort();
            [[fallthrough]];
        case GdiSpool::EndDoc: {
            FlushText();
            const bool ended = m_pPaintingOn != nullptr && m_ownPainter.end();
            m_pPaintingOn = nullptr;
            return ended && m_pPrinter->printerState() != QPrinter::Error;
        }
        }
        return false;
    }

private:
    // Plays a recorded bitmap's source block back onto the target block.
    static void Replay(QPainter& painter, const QPicture& picture, const QRect& source,
                       const QRect& target, bool mirrorX, bool mirrorY) {
        const qreal scaleX = qreal(target.width()) / source.width();
        const qreal scaleY = qreal(target.height()) / source.height();
        painter.save();
        painter.setClipRect(target, Qt::IntersectClip);
        painter.translate(mirrorX ? target.right() + 1 : target.left(),
                          mirrorY ? target.bottom() + 1 : target.top());
        painter.scale(mirrorX ? -scaleX : scaleX, mirrorY ? -scaleY : scaleY);
        painter.translate(-source.left(), -source.top());
        // Qt plays a picture back scaled from its resolution to the device's.
        const QPaintDevice* device = painter.device();
        painter.scale(qreal(picture.logicalDpiX()) / device->logicalDpiX(),
                      qreal(picture.logicalDpiY()) / device->logicalDpiY());
        painter.drawPicture(0, 0, picture);
        painter.restore();
    }

    static void DrawBorder(QPainter& painter, const QRect& box, UINT flags, const QColor& topLeft,
                           const QColor& bottomRight) {
        if (box.isEmpty()) {
            return;
        }
        if (flags & BF_TOP) {
            painter.fillRect(QRect(box.left(), box.top(), box.width(), 1), topLeft);
        }
        if (flags & BF_LEFT) {
            painter.fillRect(QRect(box.left(), box.top(), 1, box.height()), topLeft);
        }
        if (flags & BF_BOTTOM) {
            painter.fillRect(QRect(box.left(), box.bottom(), box.width(), 1), bottomRight);
        }
        if (flags & BF_RIGHT) {
            painter.fillRect(QRect(box.right(), box.top(), 1, box.height()), bottomRight);
        }
    }

    static QRect TextBox(FontFace& face, int x, int y, const TextUnits& units) {
        int width = 0;
        for (const TextUnit& unit : units) {
            width += unit.advance;
        }
        return QRect(x, y, width, face.Metrics().tmHeight);
    }

    // Paper takes glyphs and their ground only: a box for what cannot be
    // shown is a sign for the screen.
    static void DrawUnits(QPainter& painter, FontFace& face, const GdiDcState& state, int x, int y,
                          const TextUnits& units, bool placeholders) {
        const TEXTMETRICA& metrics = face.Metrics();
        const QColor text = ToQColor(state.crText);
        if (state.nBkMode == OPAQUE) {
            painter.fillRect(TextBox(face, x, y, units), ToQColor(state.crBk));
        }
        // The face's own glyphs and those of its fallback, each on the
        // face's baseline.
        QVarLengthArray<quint32, 32> glyphs[2];
        QVarLengthArray<QPointF, 32> positions[2];
        int left = x;
        for (const TextUnit& unit : units) {
            if (unit.glyph != 0) {
                glyphs[unit.bFallback].append(unit.glyph);
                positions[unit.bFallback].append(QPointF(left, y + metrics.tmAscent));
            } else if (placeholders && unit.ch != u' ') {
                DrawPlaceholder(painter, QRect(left, y, unit.advance, metrics.tmHeight), text);
            }
            left += unit.advance;
        }
        for (const bool fallback : {false, true}) {
            if (!glyphs[fallback].isEmpty()) {
                DrawGlyphs(painter, fallback ? *face.Fallback() : face, state.crText,
                           glyphs[fallback].constData(), positions[fallback].constData(),
                           int(glyphs[fallback].size()));
            }
        }
    }

    // Adds an output to the batch, first flushing one it cannot join;
    // false when the output has to be drawn at once, after the batch.
    bool BatchText(QPainter& painter, const FontData& font, const GdiDcState& state, bool clipped,
                   const QRect& clip, int x, int y, const TextUnits& units, const QRect& box) {
        // A placeholder box, or ink outside the character boxes, may touch
        // what other outputs draw: such an output is drawn in its turn.
        const bool alone = std::any_of(units.begin(), units.end(), [](const TextUnit& unit) {
            return (unit.glyph == 0 && unit.ch != u' ') || !unit.bInkWithinAdvance;
        });
        if (alone || m_pBatchPainter != &painter || !m_batch.Takes(state, clipped, clip, box)) {
            FlushText();
            if (alone) {
                return false;
            }
            m_pBatchPainter = &painter;
            m_batch.Start(state, clipped, clip, box);
        }
        const int baseline = y + font.pFace->Metrics().tmAscent;
        int left = x;
        for (const TextUnit& unit : units) {
            m_batch.Add(unit.bFallback ? font.pFace->Fallback() : font.pFace, state,
                        QRect(left, y, unit.advance, box.height()), unit.glyph,
                        QPointF(left, baseline));
            left += unit.advance;
        }
        return true;
    }

    void FlushText() {
        if (m_pBatchPainter != nullptr) {
            m_batch.Flush(*m_pBatchPainter);
            m_pBatchPainter = nullptr;
        }
    }

    // A fill over the whole of a recorded bitmap hides all it held: the
    // recording starts afresh. Played back on paper, what lay under the
    // fill would show at its edges, where they fall between pixels.
    void ForgetCoveredRecording(const GdiDcState& state, const RECT& rect) {
        BitmapData* bitmap = Bitmap(state);
        if (bitmap == nullptr || !bitmap->pPicture ||
            !ToQRect(rect).contains(QRect(0, 0, bitmap->nWidth, bitmap->nHeight))) {
            return;
        }
        EndOwnPainter();
        bitmap->pPicture = std::make_unique<QPicture>();
    }

    BitmapData* Bitmap(const GdiDcState& state) const {
        return m_kind == Kind::Memory ? static_cast<BitmapData*>(state.pBitmap.get()) : nullptr;
    }

    QImage* BitmapImage(const GdiDcState& state) const {
        if (m_kind == Kind::Image) {
            return m_pImage;
        }
        BitmapData* bitmap = Bitmap(state);
        return bitmap != nullptr ? bitmap->pImage.get() : nullptr;
    }

    QPicture* BitmapPicture(const GdiDcState& state) const {
        BitmapData* bitmap = Bitmap(state);
        return bitmap != nullptr ? bitmap->pPicture.get() : nullptr;
    }

    // What the surface's own painter draws on: an image or a recording.
    QPaintDevice* BitmapDevice(const GdiDcState& state) const {
        if (QPicture* picture = BitmapPicture(state)) {
            return picture;
        }
        QImage* image = BitmapImage(state);
        return image != nullptr && !image->isNull() ? image : nullptr;
    }

    QPainter* PainterFor(const GdiDcState& state) {
        if (m_kind == Kind::Painter) {
            return m_pExternal;
        }
        if (m_kind == Kind::Printer) {
            return m_pPaintingOn != nullptr ? &m_ownPainter : nullptr;
        }
        QPaintDevice* device = BitmapDevice(state);
        if (device == nullptr) {
            return nullptr;
        }
        if (m_pPaintingOn != device) {
            EndOwnPainter();
            if (!BeginOwnPainter(device, state)) {
                return nullptr;
            }
        }
        return &m_ownPainter;
    }

    bool BeginOwnPainter(QPaintDevice* device, const GdiDcState& state) {
        QPicture* picture = BitmapPicture(state);
        // A painter starts a recording afresh: what it held is played in
        // first, from a copy of its own (copies of a picture share it).
        QPicture before;
        if (picture != nullptr) {
            before.setData(picture->data(), picture->size());
        }
        if (!m_ownPainter.begin(device)) {
            return false;
        }
        if (picture != nullptr) {
            m_ownPainter.drawPicture(0, 0, before);
        }
        m_pPaintingOn = device;
        return true;
    }

    void EndOwnPainter() {
        FlushText();
        if (m_pPaintingOn != nullptr) {
            m_ownPainter.end();
            m_pPaintingOn = nullptr;
        }
    }

    Kind m_kind;
    DeviceInfo m_device;
    QPainter* m_pExternal = nullptr;
    QImage* m_pImage = nullptr;
    QPrinter* m_pPrinter = nullptr;
    QPainter m_ownPainter;
    QPaintDevice* m_pPaintingOn = nullptr;
    int m_nPagesStarted = 0;
    TextBatch m_batch;
    QPainter* m_pBatchPainter = nullptr;
};

} // namespace

std::unique_ptr<GdiSurface> MakePainterSurface(QPainter* painter, const QPaintDevice* attrib) {
    if (painter->device() == nullptr) {
        return nullptr;
    }
    auto surface = std::make_unique<QtSurface>(
        QtSurface::Kind::Painter, DeviceInfo::Of(attrib != nullptr ? *attrib : *painter->device()));
    surface->SetPainter(painter);
    return surface;
}

std::unique_ptr<GdiSurface> MakeImageSurface(QImage* image) {
    if (image->isNull()) {
        return nullptr;
    }
    auto surface = std::make_unique<QtSurface>(QtSurface::Kind::Image, DeviceInfo::Of(*image));
    surface->SetImage(image);
    return surface;
}

std::unique_ptr<GdiSurface> MakeMeasuringSurface(const QPaintDevice* device) {
    return std::make_unique<QtSurface>(QtSurface::Kind::Measuring, DeviceInfo::Of(*device));
}

std::unique_ptr<GdiSurface> MakePrinterSurface(QPrinter* printer) {
    auto surface = std::make_unique<QtSurface>(QtSurface::Kind::Printer, DeviceInfo::Of(*printer));
    surface->SetPrinter(printer);
    return surface;
}
