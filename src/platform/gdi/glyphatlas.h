// Glyphs of one face rasterised once per device scale and tinted once per
// colour, then drawn as image blits. On the raster engine, with the pen on
// whole device pixels, a blit composes exactly the pixels drawGlyphRun
// gives: the same coverage, the same premultiplied source-over blend.
// Internal to the drawing layer; used on the thread that paints.
#pragma once

#include "platform/gdi/glyphstore.h"

#include <QImage>
#include <QPoint>
#include <QRawFont>
#include <QRgb>

#include <cstdint>
#include <unordered_map>
#include <vector>

class QPainter;

class GlyphAtlas {
public:
    explicit GlyphAtlas(const QRawFont& raw);
    ~GlyphAtlas();
    GlyphAtlas(const GlyphAtlas&) = delete;
    GlyphAtlas& operator=(const GlyphAtlas&) = delete;

    // The device scale at which blits on this painter are exact, or 0 when
    // the painter needs real glyph runs: another engine (printers keep
    // their text), a target that does not end in an image (a window's
    // does: its backing store), a format or transform the blend differs
    // on, glyphs large enough for Qt to fill as paths.
    int ExactScale(const QPainter& painter) const;

    // Draws the glyphs with their pens at whole pixels, at a scale
    // ExactScale gave. Glyphs the atlas cannot hold exactly are left in
    // `rest` for a glyph run.
    void Draw(QPainter& painter, int scale, QRgb color, const quint32* glyphs,
              const QPointF* positions, int count, std::vector<int>* rest);

    // On by default; off, every glyph is drawn by a glyph run, as the
    // reference the atlas is held to.
    static void Enable(bool on);

    // Rasterises and tints glyphs before their first paint.
    void Warm(int scale, QRgb color, const quint32* glyphs, int count);

    // All atlases together keep no more than this; past it they start
    // afresh.
    static constexpr std::size_t BYTES_KEPT = std::size_t(6) << 20;
    // What all atlases hold now.
    static std::size_t BytesKept();

    // Takes the masks an earlier run stored, when a few of them come out
    // the same rasterised now; false, taking none, when they do not.
    bool Adopt(std::vector<StoredGlyph> stored);
    // The masks held, for storing.
    std::vector<StoredGlyph> Stored() const;
    // Masks were rasterised since the atlas was made or last stored.
    bool HasNew() const { return m_bNew; }
    void MarkStored() { m_bNew = false; }

private:
    struct Tile {
        QImage image; // premultiplied colour, blended as Qt blends a glyph
        QPoint offset;
    };

    const Tile* TileOf(int scale, QRgb color, quint32 glyph);
    std::vector<GlyphMask> Rasterise(int scale, const quint32* glyphs, int count);
    void Keep(int scale, quint32 glyph, GlyphMask mask);
    void Forget();
    void Account(std::size_t bytes);

    QRawFont m_raw;
    std::unordered_map<std::uint64_t, GlyphMask> m_masks;
    std::unordered_map<std::uint64_t, Tile> m_tiles;
    std::size_t m_nBytes = 0;
    bool m_bNew = false;
};
