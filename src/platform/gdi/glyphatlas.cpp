#include "platform/gdi/glyphatlas.h"

#include <QGlyphRun>
#include <QPaintEngine>
#include <QPainter>

#include <QtGlobal>

#include <algorithm>
#include <cmath>
#include <tuple>

namespace {

// Qt fills glyphs of this many device pixels and more as paths.
constexpr qreal LARGEST_CACHED_GLYPH = 64;
constexpr int LARGEST_SCALE = 4;
// Slots of the rasterising sheet, a row of them at a time.
constexpr int SLOTS_PER_ROW = 64;

bool g_bEnabled = true;

std::vector<GlyphAtlas*>& Atlases() {
    static auto* atlases = new std::vector<GlyphAtlas*>;
    return *atlases;
}

std::size_t& BytesOfAll() {
    static std::size_t bytes = 0;
    return bytes;
}

std::uint64_t MaskKey(int scale, quint32 glyph) {
    return std::uint64_t(glyph) | std::uint64_t(scale) << 32;
}

std::uint64_t TileKey(int scale, QRgb color, quint32 glyph) {
    return MaskKey(scale, glyph) | std::uint64_t(color & 0xFFFFFF) << 40;
}

// One channel of a colour at a coverage, rounded as the raster engine's
// glyph blend rounds it.
std::uint32_t Scaled(std::uint32_t channel, std::uint32_t coverage) {
    const std::uint32_t t = channel * coverage;
    return (t + (t >> 8) + 0x80) >> 8;
}

QRgb Tinted(QRgb color, std::uint32_t coverage) {
    return qRgba(int(Scaled(std::uint32_t(qRed(color)), coverage)),
                 int(Scaled(std::uint32_t(qGreen(color)), coverage)),
                 int(Scaled(std::uint32_t(qBlue(color)), coverage)), int(Scaled(255, coverage)));
}

// One rasterising sheet for all atlases, so that its paint engine is made
// once rather than for every run with new glyphs.
QImage& SheetOf(int width, int height, int scale) {
    static auto* sheet = new QImage;
    if (sheet->width() < width || sheet->height() < height) {
        *sheet = QImage(std::max(width, sheet->width()), std::max(height, sheet->height()),
                        QImage::Format_RGB32);
    }
    sheet->setDevicePixelRatio(scale);
    return *sheet;
}

bool IsWhole(qreal value) {
    return value == std::floor(value);
}

// Stored masks to rasterise again before the rest are trusted.
// Stored masks of one scale to rasterise again before the rest are
// trusted: the first, the middle and the last.
std::vector<const StoredGlyph*> ProbesOf(const std::vector<StoredGlyph>& stored, int scale) {
    std::vector<const StoredGlyph*> ofScale;
    for (const StoredGlyph& entry : stored) {
        if (entry.scale == scale) {
            ofScale.push_back(&entry);
        }
    }
    if (ofScale.size() <= 3) {
        return ofScale;
    }
    return {ofScale.front(), ofScale[ofScale.size() / 2], ofScale.back()};
}

} // namespace

GlyphAtlas::GlyphAtlas(const QRawFont& raw) : m_raw(raw) {
    Atlases().push_back(this);
}

GlyphAtlas::~GlyphAtlas() {
    Forget();
    std::erase(Atlases(), this);
}

void GlyphAtlas::Enable(bool on) {
    g_bEnabled = on;
}

std::size_t GlyphAtlas::BytesKept() {
    return BytesOfAll();
}

int GlyphAtlas::ExactScale(const QPainter& painter) const {
    const QPaintEngine* engine = painter.paintEngine();
    if (!g_bEnabled || !painter.isActive() || engine == nullptr ||
        engine->type() != QPaintEngine::Raster || engine->paintDevice() == nullptr ||
        engine->paintDevice()->devType() != QInternal::Image) {
        return 0;
    }
    const auto* image = static_cast<const QImage*>(engine->paintDevice());
    const bool blendsAlike = image->format() == QImage::Format_RGB32 ||
                             image->format() == QImage::Format_ARGB32_Premultiplied;
    if (!blendsAlike || painter.compositionMode() != QPainter::CompositionMode_SourceOver ||
        painter.opacity() != 1.0 || !painter.testRenderHint(QPainter::TextAntialiasing)) {
        return 0;
    }
    const QTransform device = painter.deviceTransform();
    const qreal scale = device.m11();
    if (device.type() > QTransform::TxScale || device.m22() != scale || !IsWhole(scale) ||
        scale < 1 || scale > LARGEST_SCALE || !IsWhole(device.dx()) || !IsWhole(device.dy()) ||
        m_raw.pixelSize() * scale >= LARGEST_CACHED_GLYPH) {
        return 0;
    }
    return int(scale);
}

void GlyphAtlas::Draw(QPainter& painter, int scale, QRgb color, const quint32* glyphs,
                      const QPointF* positions, int count, std::vector<int>* rest) {
    Warm(scale, color, glyphs, count);
    const QTransform device = painter.deviceTransform();
    painter.save();
    // Tiles are in device pixels: blitted one to one. A widget's painter
    // still moves them by the widget's place in its window's backing store,
    // which the pens already hold.
    painter.resetTransform();
    painter.setWorldTransform(QTransform::fromScale(1.0 / scale, 1.0 / scale));
    const QPoint origin = painter.deviceTransform().map(QPointF(0, 0)).toPoint();
    for (int i = 0; i < count; ++i) {
        const Tile* tile = TileOf(scale, color, glyphs[i]);
        if (tile == nullptr) {
            rest->push_back(i);
        } else if (!tile->image.isNull()) {
            const QPoint pen = device.map(positions[i]).toPoint();
            painter.drawImage(pen - origin + tile->offset, tile->image);
        }
    }
    painter.restore();
}

void GlyphAtlas::Warm(int scale, QRgb color, const quint32* glyphs, int count) {
    if (BytesOfAll() > BYTES_KEPT) {
        for (GlyphAtlas* atlas : Atlases()) {
            atlas->Forget();
        }
    }
    std::vector<quint32> missing;
    for (int i = 0; i < count; ++i) {
        if (!m_masks.contains(MaskKey(scale, glyphs[i])) &&
            std::find(missing.begin(), missing.end(), glyphs[i]) == missing.end()) {
            missing.push_back(glyphs[i]);
        }
    }
    if (!missing.empty()) {
        std::vector<GlyphMask> masks = Rasterise(scale, missing.data(), int(missing.size()));
        for (std::size_t i = 0; i < masks.size(); ++i) {
            Keep(scale, missing[i], std::move(masks[i]));
        }
        m_bNew = true;
    }
    for (int i = 0; i < count; ++i) {
        TileOf(scale, color, glyphs[i]);
    }
}

// White glyphs on black, each in a slot of its own with room around it, in
// one glyph run: the red channel is the coverage the engine blends with.
std::vector<GlyphMask> GlyphAtlas::Rasterise(int scale, const quint32* glyphs, int count) {
    const int pad = std::max(2, int(std::ceil(m_raw.pixelSize() / 4)));
    const int slotWidth = int(std::ceil(m_raw.maxCharWidth())) + 2 * pad;
    const int ascent = int(std::ceil(m_raw.ascent()));
    const int slotHeight = ascent + int(std::ceil(m_raw.descent())) + 2 * pad;
    const int columns = std::min(count, SLOTS_PER_ROW);
    const int rows = (count + columns - 1) / columns;
    QImage& sheet = SheetOf(columns * slotWidth * scale, rows * slotHeight * scale, scale);
    std::vector<QPointF> pens;
    for (int i = 0; i < count; ++i) {
        pens.emplace_back((i % columns) * slotWidth + pad,
                          (i / columns) * slotHeight + pad + ascent);
    }
    QGlyphRun run;
    run.setRawFont(m_raw);
    run.setRawData(glyphs, pens.data(), count);
    QPainter painter(&sheet);
    painter.fillRect(0, 0, columns * slotWidth, rows * slotHeight, Qt::black);
    painter.setPen(Qt::white);
    painter.drawGlyphRun(QPointF(0, 0), run);
    painter.end();

    const int width = slotWidth * scale;
    const int height = slotHeight * scale;
    std::vector<GlyphMask> masks(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        const int left = (i % columns) * width;
        const int top = (i / columns) * height;
        GlyphMask& mask = masks[std::size_t(i)];
        QRect ink;
        for (int y = 0; y < height; ++y) {
            const auto* line = reinterpret_cast<const QRgb*>(sheet.constScanLine(top + y)) + left;
            for (int x = 0; x < width; ++x) {
                const QRgb pixel = line[x];
                if ((pixel & 0xFFFFFF) == 0) {
                    continue;
                }
                const bool gray = qRed(pixel) == qGreen(pixel) && qRed(pixel) == qBlue(pixel);
                const bool atEdge = x == 0 || y == 0 || x == width - 1 || y == height - 1;
                mask.bExact = mask.bExact && gray && !atEdge;
                ink |= QRect(x, y, 1, 1);
            }
        }
        if (mask.bExact && !ink.isEmpty()) {
            mask.offset = ink.topLeft() - QPoint(pad, pad + ascent) * scale;
            mask.width = ink.width();
            mask.height = ink.height();
            mask.coverage.reserve(std::size_t(ink.width()) * std::size_t(ink.height()));
            for (int y = ink.top(); y <= ink.bottom(); ++y) {
                const auto* line = reinterpret_cast<const QRgb*>(sheet.constScanLine(top + y));
                for (int x = ink.left(); x <= ink.right(); ++x) {
                    mask.coverage.push_back(std::uint8_t(qRed(line[left + x])));
                }
            }
        }
        if (!mask.bExact) {
            mask = GlyphMask();
            mask.bExact = false;
        }
    }
    return masks;
}

void GlyphAtlas::Keep(int scale, quint32 glyph, GlyphMask mask) {
    Account(mask.coverage.size());
    m_masks.insert_or_assign(MaskKey(scale, glyph), std::move(mask));
}

const GlyphAtlas::Tile* GlyphAtlas::TileOf(int scale, QRgb color, quint32 glyph) {
    const std::uint64_t key = TileKey(scale, color, glyph);
    if (const auto found = m_tiles.find(key); found != m_tiles.end()) {
        return &found->second;
    }
    const auto mask = m_masks.find(MaskKey(scale, glyph));
    if (mask == m_masks.end() || !mask->second.bExact) {
        return nullptr;
    }
    Tile tile;
    tile.offset = mask->second.offset;
    if (!mask->second.coverage.empty()) {
        tile.image =
            QImage(mask->second.width, mask->second.height, QImage::Format_ARGB32_Premultiplied);
        const std::uint8_t* coverage = mask->second.coverage.data();
        for (int y = 0; y < tile.image.height(); ++y) {
            auto* line = reinterpret_cast<QRgb*>(tile.image.scanLine(y));
            for (int x = 0; x < tile.image.width(); ++x) {
                line[x] = Tinted(color, *coverage++);
            }
        }
        Account(tile.image.sizeInBytes());
    }
    return &m_tiles.emplace(key, std::move(tile)).first->second;
}

void GlyphAtlas::Forget() {
    m_masks.clear();
    m_tiles.clear();
    BytesOfAll() -= m_nBytes;
    m_nBytes = 0;
}

void GlyphAtlas::Account(std::size_t bytes) {
    m_nBytes += bytes;
    BytesOfAll() += bytes;
}

bool GlyphAtlas::Adopt(std::vector<StoredGlyph> stored) {
    if (stored.empty()) {
        return true;
    }
    // The fingerprint cannot see how the system is set to render (hinting,
    // smoothing): a few glyphs of each scale rasterised now must match
    // their stored masks.
    for (int scale = 1; scale <= LARGEST_SCALE; ++scale) {
        const std::vector<const StoredGlyph*> probes = ProbesOf(stored, scale);
        std::vector<quint32> glyphs;
        for (const StoredGlyph* probe : probes) {
            glyphs.push_back(probe->glyph);
        }
        const std::vector<GlyphMask> now =
            glyphs.empty() ? std::vector<GlyphMask>()
                           : Rasterise(scale, glyphs.data(), int(glyphs.size()));
        for (std::size_t i = 0; i < probes.size(); ++i) {
            if (!(now[i] == probes[i]->mask)) {
                return false;
            }
        }
    }
    // Room is left for the tiles the masks are tinted into, so that a full
    // store does not make the atlas start afresh at its first paint.
    for (StoredGlyph& entry : stored) {
        if (BytesOfAll() + entry.mask.coverage.size() > BYTES_KEPT / 4) {
            break;
        }
        Keep(entry.scale, entry.glyph, std::move(entry.mask));
    }
    return true;
}

std::vector<StoredGlyph> GlyphAtlas::Stored() const {
    std::vector<StoredGlyph> stored;
    stored.reserve(m_masks.size());
    for (const auto& [key, mask] : m_masks) {
        stored.push_back({quint32(key), int(key >> 32), mask});
    }
    std::sort(stored.begin(), stored.end(), [](const StoredGlyph& a, const StoredGlyph& b) {
        return std::tie(a.scale, a.glyph) < std::tie(b.scale, b.glyph);
    });
    return stored;
}
