#include "platform/gdi/face.h"
#include "platform/core/sjis.h"
#include "platform/gdi/glyphstore.h"
#include "platform/gdi/objects.h"

#include <QFont>
#include <QFontDatabase>

#include <algorithm>
#include <cmath>
#include <map>
#include <tuple>

namespace {

// Stored faces are Shift_JIS; names the code page does not define are cut
// at the first such byte.
QString DecodeFaceName(const LOGFONTA& lf) {
    QString name;
    for (size_t i = 0; i < LF_FACESIZE && lf.lfFaceName[i] != 0; ++i) {
        const BYTE b = BYTE(lf.lfFaceName[i]);
        char16_t ch = SJIS_UNDEFINED;
        if (IsSjisLeadByte(b) && i + 1 < LF_FACESIZE) {
            ch = DecodeSjisPair(b, BYTE(lf.lfFaceName[++i]));
        } else {
            ch = DecodeSjisByte(b);
        }
        if (ch == SJIS_UNDEFINED) {
            break;
        }
        name += QChar(ch);
    }
    return name;
}

bool IsInstalled(const QString& family) {
    static const QStringList families = QFontDatabase::families();
    return families.contains(family, Qt::CaseInsensitive);
}

// Whole pixels that hold the value; FreeType gives multiples of 1/64.
quint32 PixelsUp(qreal value) {
    return quint32(std::max(0.0, std::ceil(value - 1.0 / 128)));
}

QFont QFontOf(const FontData& font) {
    QFont qfont(ResolveFamily(font.lf));
    qfont.setPixelSize(font.nPixels);
    const LONG weight = font.lf.lfWeight == 0 ? FW_NORMAL : font.lf.lfWeight;
    qfont.setWeight(QFont::Weight(std::clamp<LONG>(weight, 1, 1000)));
    qfont.setItalic(font.lf.lfItalic != 0);
    return qfont;
}

using FaceKey = std::tuple<QString, int, int, bool>;
using FaceCache = std::map<FaceKey, std::shared_ptr<FontFace>>;

// Sizes tried one after another in the settings dialog must not pile up.
constexpr size_t FACES_KEPT = 32;

void DropUnusedFaces(FaceCache& cache) {
    std::erase_if(cache, [](const auto& entry) { return entry.second.use_count() == 1; });
}

std::shared_ptr<FontFace> FaceFor(const QFont& qfont, const std::optional<QFont>& fallback);

// The installed Japanese face nearest to the kind a face name tells.
QString JapaneseFamily(const QString& name) {
    const QString key =
        name.normalized(QString::NormalizationForm_KC).toLower().remove(QLatin1Char(' '));
    const bool mincho = key.contains(u"明朝") || key.contains(u"mincho");
    const bool proportional = key.contains(u"p明朝") || key.contains(u"pmincho") ||
                              key.contains(u"pゴシック") || key.contains(u"pgothic");
    if (mincho) {
        return proportional ? QStringLiteral("IPAPMincho") : QStringLiteral("IPAMincho");
    }
    return proportional ? QStringLiteral("IPAPGothic") : QStringLiteral("IPAGothic");
}

std::vector<FontFace*>& Faces() {
    static auto* faces = new std::vector<FontFace*>;
    return *faces;
}

// Stored characters to look up again before the rest are trusted.
std::vector<StoredChar> ProbesOf(const std::vector<StoredChar>& chars) {
    std::vector<StoredChar> probes;
    for (const std::size_t at : {std::size_t(0), chars.size() / 2, chars.size() - 1}) {
        if (std::find(probes.begin(), probes.end(), chars[at]) == probes.end()) {
            probes.push_back(chars[at]);
        }
    }
    return probes;
}

} // namespace

FontFace::FontFace(const QRawFont& raw, const std::optional<QFont>& fallback)
    : m_raw(raw), m_fallbackFont(fallback), m_atlas(raw) {
    Faces().push_back(this);
    ReadStore();
    m_run.setRawFont(m_raw);
    const auto ascent = LONG(PixelsUp(m_raw.ascent()));
    const auto descent = LONG(PixelsUp(m_raw.descent()));
    m_metrics.tmAscent = ascent;
    m_metrics.tmDescent = descent;
    m_metrics.tmHeight = std::max<LONG>(ascent + descent, 1);
    const Glyph x = OwnGlyph(u'x');
    m_metrics.tmAveCharWidth = LONG(x.index != 0 ? x.advance : PixelsUp(m_raw.pixelSize() / 2));
    m_metrics.tmAveCharWidth = std::max<LONG>(m_metrics.tmAveCharWidth, 1);
    m_metrics.tmMaxCharWidth = std::max<LONG>(LONG(PixelsUp(m_raw.maxCharWidth())), 1);
}

// Marks an entry not looked up yet; no real advance is that wide.
constexpr FontFace::Glyph NOT_LOOKED_UP = {0, ~quint32(0), false, false};

FontFace::Glyph FontFace::GlyphOf(char16_t ch) {
    auto& page = m_pages[ch >> 8];
    if (!page) {
        page = std::make_unique<Page>();
        page->fill(NOT_LOOKED_UP);
    }
    Glyph& glyph = (*page)[ch & 0xFF];
    if (glyph.advance == NOT_LOOKED_UP.advance) {
        glyph = LookupWithFallback(ch);
    }
    return glyph;
}

FontFace::~FontFace() {
    std::erase(Faces(), this);
}

BOOL FontFace::SaveAll(CFileException* pError) {
    BOOL bAllSaved = TRUE;
    for (FontFace* face : Faces()) {
        CFileException error;
        if (!face->WriteStore(&error) && bAllSaved) {
            bAllSaved = FALSE;
            if (pError != nullptr) {
                *pError = error;
            }
        }
    }
    return bAllSaved;
}

void FontFace::ReadStore() {
    if (GlyphStore::Folder().empty()) {
        return;
    }
    const std::uint64_t print = GlyphStore::FingerprintOf(m_raw);
    StoredFace stored = GlyphStore::Read(GlyphStore::PathOf(print), print);
    if (stored.chars.empty()) {
        return;
    }
    // As with the masks: what the font answers now must be what was stored.
    for (const StoredChar& probe : ProbesOf(stored.chars)) {
        const Glyph now = Lookup(probe.ch);
        if (StoredChar{probe.ch, now.index, now.advance, now.bInkWithinAdvance} != probe) {
            return;
        }
    }
    if (!m_atlas.Adopt(std::move(stored.glyphs))) {
        return;
    }
    for (const StoredChar& entry : stored.chars) {
        m_own[entry.ch] = {entry.glyph, entry.advance, entry.bInkWithinAdvance, false};
    }
}

BOOL FontFace::WriteStore(CFileException* pError) {
    if ((!m_bNewChars && !m_atlas.HasNew()) || GlyphStore::Folder().empty()) {
        return TRUE;
    }
    StoredFace stored;
    for (const auto& [ch, glyph] : m_own) {
        stored.chars.push_back({ch, glyph.index, glyph.advance, glyph.bInkWithinAdvance});
    }
    std::sort(stored.chars.begin(), stored.chars.end(),
              [](const StoredChar& a, const StoredChar& b) { return a.ch < b.ch; });
    stored.glyphs = m_atlas.Stored();
    const std::uint64_t print = GlyphStore::FingerprintOf(m_raw);
    if (!GlyphStore::Write(GlyphStore::PathOf(print), print, stored, pError)) {
        return FALSE;
    }
    m_bNewChars = false;
    m_atlas.MarkStored();
    return TRUE;
}

FontFace::Glyph FontFace::OwnGlyph(char16_t ch) {
    if (const auto known = m_own.find(ch); known != m_own.end()) {
        return known->second;
    }
    const Glyph glyph = Lookup(ch);
    m_own.emplace(ch, glyph);
    m_bNewChars = true;
    return glyph;
}

FontFace::Glyph FontFace::LookupWithFallback(char16_t ch) {
    const Glyph own = OwnGlyph(ch);
    if (own.index != 0 || !m_fallbackFont) {
        return own;
    }
    if (!m_pFallback) {
        m_pFallback = FaceFor(*m_fallbackFont, std::nullopt);
    }
    Glyph other = m_pFallback->GlyphOf(ch);
    other.bFallback = other.index != 0;
    return other;
}

FontFace::Glyph FontFace::Lookup(char16_t ch) const {
    const QChar qch(ch);
    quint32 index = 0;
    int count = 1;
    if (qch.isSurrogate() || !m_raw.glyphIndexesForChars(&qch, 1, &index, &count) || count != 1 ||
        index == 0) {
        return {0, 0, true, false};
    }
    QPointF advance;
    m_raw.advancesForGlyphIndexes(&index, &advance, 1);
    const quint32 pixels = PixelsUp(advance.x());
    const QRectF ink = m_raw.boundingRect(index);
    return {index, pixels, ink.left() >= 0 && ink.right() <= qreal(pixels), false};
}

QString ResolveFamily(const LOGFONTA& lf) {
    return ResolveFamily(DecodeFaceName(lf));
}

QString ResolveFamily(const QString& name) {
    if (!name.isEmpty() && IsInstalled(name)) {
        return name;
    }
    return JapaneseFamily(name);
}

namespace {

std::shared_ptr<FontFace> FaceFor(const QFont& qfont, const std::optional<QFont>& fallback) {
    // Painters make their fonts again for every paint; the faces stay. Kept
    // for the whole run, so no face outlives the fonts of the system.
    static auto* cache = new FaceCache;
    if (cache->size() >= FACES_KEPT) {
        DropUnusedFaces(*cache);
    }
    const FaceKey key{qfont.family(), qfont.pixelSize(), qfont.weight(), qfont.italic()};
    auto& face = (*cache)[key];
    if (!face) {
        face = std::make_shared<FontFace>(QRawFont::fromFont(qfont), fallback);
    }
    return face;
}

} // namespace

FontFace& FaceOf(FontData& font) {
    if (font.pFace) {
        return *font.pFace;
    }
    // A face without Japanese characters borrows them from the Japanese
    // face of its kind, at the same size.
    const QFont qfont = QFontOf(font);
    QFont fallback = qfont;
    fallback.setFamily(JapaneseFamily(DecodeFaceName(font.lf)));
    const bool ownFallback = fallback.family().compare(qfont.family(), Qt::CaseInsensitive) == 0;
    font.pFace = FaceFor(qfont, ownFallback ? std::nullopt : std::optional<QFont>(fallback));
    return *font.pFace;
}

void AfxSetGlyphCacheFolder(std::string folder) {
    GlyphStore::SetFolder(std::move(folder));
}

BOOL AfxSaveGlyphCache(CFileException* pError) {
    return FontFace::SaveAll(pError);
}
