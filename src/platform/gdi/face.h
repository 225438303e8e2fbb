// Installed faces for stored font records, with their metrics and a glyph
// cache, shared by every font of the same look. Internal to the drawing
// layer; needs a QGuiApplication.
#pragma once

#include "platform/gdi/gdi.h"

#include <QGlyphRun>
#include <QRawFont>
#include <QString>

#include <array>
#include <memory>

struct FontData;

class FontFace {
public:
    struct Glyph {
        quint32 index;   // 0: the face cannot show the character
        quint32 advance; // whole pixels, rounded up
        // The ink stays between the pen position and the advance: inside
        // the character's box, clear of its neighbours'.
        bool bInkWithinAdvance;
    };

    explicit FontFace(const QRawFont& raw);

    const TEXTMETRICA& Metrics() const { return m_metrics; }
    // Looked up once per character and kept for the life of the face.
    Glyph GlyphOf(char16_t ch);
    // Reused for every output so drawing allocates nothing.
    QGlyphRun& Run() { return m_run; }

private:
    using Page = std::array<Glyph, 256>;

    Glyph Lookup(char16_t ch) const;

    QRawFont m_raw;
    QGlyphRun m_run;
    TEXTMETRICA m_metrics = {};
    std::array<std::unique_ptr<Page>, 256> m_pages;
};

// The installed family a face is drawn with: the face itself when the
// system has it, otherwise the Japanese face of its kind. The record's face
// name is Shift_JIS.
QString ResolveFamily(const QString& face);
QString ResolveFamily(const LOGFONTA& lf);

// The face of a font, found once per font and shared between fonts of the
// same family, size, weight and slant.
FontFace& FaceOf(FontData& font);
