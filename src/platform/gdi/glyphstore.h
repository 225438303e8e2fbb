// What a face's font gave, kept between runs in a file per face and
// rendering: the glyph and advance of each character looked up, and each
// glyph's mask. A new process reads what earlier ones found, so its first
// paint neither asks FreeType for every character nor rasterises every
// glyph. The files are a cache: one that is missing, short, foreign or
// damaged reads as empty.
#pragma once

#include "platform/core/file.h"

#include <QPoint>
#include <QRawFont>

#include <cstdint>
#include <string>
#include <vector>

// A glyph's coverage at one scale, trimmed to its ink, relative to the pen
// in device pixels.
struct GlyphMask {
    QPoint offset;
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> coverage;
    bool bExact = true; // false: ink beyond the rasterising slot, or coloured fringes

    bool operator==(const GlyphMask&) const = default;
};

struct StoredGlyph {
    quint32 glyph = 0;
    int scale = 1;
    GlyphMask mask;
};

// A character as the face's own font shows it (glyph 0: it does not).
struct StoredChar {
    char16_t ch = 0;
    quint32 glyph = 0;
    quint32 advance = 0;
    bool bInkWithinAdvance = true;

    bool operator==(const StoredChar&) const = default;
};

struct StoredFace {
    std::vector<StoredChar> chars;
    std::vector<StoredGlyph> glyphs;
};

namespace GlyphStore {

// Where the files are; empty (the default) keeps nothing between runs.
void SetFolder(std::string folder);
const std::string& Folder();

// The font and how this Qt renders it: a file stored under another
// fingerprint is never read back.
std::uint64_t FingerprintOf(const QRawFont& raw);

// The file of the face and rendering that fingerprint names.
std::string PathOf(std::uint64_t fingerprint);

// What a file written for this fingerprint holds; empty for anything else.
StoredFace Read(const std::string& path, std::uint64_t fingerprint);

// What a file's last eight bytes hold, little-endian, for the bytes before.
std::uint64_t ChecksumOf(const std::uint8_t* data, std::size_t size);

// Replaces the file as a whole, making its folder first; on failure the
// file is as it was and pError says why.
BOOL Write(const std::string& path, std::uint64_t fingerprint, const StoredFace& face,
           CFileException* pError);

} // namespace GlyphStore
