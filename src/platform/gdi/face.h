// Installed faces for stored font records, with their metrics and a glyph
// cache, shared by every font of the same look. Internal to the drawing
// layer; needs a QGuiApplication.
#pragma once

#include "platform/gdi/gdi.h"
#include "platform/gdi/glyphatlas.h"

#include <QFont>
#include <QGlyphRun>
#include <QRawFont>
#include <QString>

#include <array>
#include <memory>
#include <optional>
#include <unordered_map>

struct FontData;

class FontFace {
public:
    struct Glyph {
        quint32 index;   // 0: neither this face nor its fallback can show the character
        quint32 advance; // whole pixels, rounded up
        // The ink stays between the pen position and the advance: inside
        // the character's box, clear of its neighbours'.
        bool bInkWithinAdvance;
        // The glyph is the fallback face's.
        bool bFallback;
    };

    // Characters the face lacks are taken from the fallback font, when
    // there is one. What earlier runs stored for the font is taken over
    // when it still holds.
    FontFace(const QRawFont& raw, const std::optional<QFont>& fallback);
    ~FontFace();
    FontFace(const FontFace&) = delete;
    FontFace& operator=(const FontFace&) = delete;

    // Stores, for the next run, what every face found that was not stored
    // yet. FALSE with the first failure in pError; the other faces are
    // still stored.
    static BOOL SaveAll(CFileException* pError);

    const TEXTMETRICA& Metrics() const { return m_metrics; }
    // Looked up once per character and kept for the life of the face.
    Glyph GlyphOf(char16_t ch);
    // Reused for every output so drawing allocates nothing.
    QGlyphRun& Run() { return m_run; }
    // The face's glyphs as images, for drawing them by blits.
    GlyphAtlas& Atlas() { return m_atlas; }
    // The face that draws the glyphs marked bFallback.
    const std::shared_ptr<FontFace>& Fallback() const { return m_pFallback; }

private:
    using Page = std::array<Glyph, 256>;

    // Asks the font itself.
    Glyph Lookup(char16_t ch) const;
    // Asks the font once per character, or takes what a run before found.
    Glyph OwnGlyph(char16_t ch);
    Glyph LookupWithFallback(char16_t ch);
    void ReadStore();
    BOOL WriteStore(CFileException* pError);

    QRawFont m_raw;
    std::optional<QFont> m_fallbackFont;
    std::shared_ptr<FontFace> m_pFallback; // made at the first character it is needed for
    QGlyphRun m_run;
    GlyphAtlas m_atlas;
    TEXTMETRICA m_metrics = {};
    std::array<std::unique_ptr<Page>, 256> m_pages;
    std::unordered_map<char16_t, Glyph> m_own; // the font's own answers, fallback aside
    bool m_bNewChars = false;                  // answers found since the store was read
};

// The installed family a face is drawn with: the face itself when the
// system has it, otherwise the Japanese face of its kind. The record's face
// name is Shift_JIS.
QString ResolveFamily(const QString& face);
QString ResolveFamily(const LOGFONTA& lf);

// The face of a font, found once per font and shared between fonts of the
// same family, size, weight and slant.
FontFace& FaceOf(FontData& font);
