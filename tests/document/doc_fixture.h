// Loads documents from bytes, the way the framework loads them from files.
#pragma once

#include "document/tavodoc.h"
#include "platform/core/archive.h"

#include <iconv.h>
#include <memory>
#include <string>

inline std::unique_ptr<CTAVODoc> LoadDoc(const std::string& bytes) {
    auto doc = std::make_unique<CTAVODoc>();
    CMemFile file(bytes.data(), bytes.size());
    CArchive ar(&file, CArchive::load);
    doc->Serialize(ar);
    return doc;
}

// "ESC $ B": New JIS; "ESC $ @": Old JIS; "ESC ( J": JIS Roman; "ESC ( B": ASCII.
inline const std::string NEWJIS = "\x1b$B";
inline const std::string OLDJIS = "\x1b$@";
inline const std::string ROMAN = "\x1b(J";
inline const std::string ASCII = "\x1b(B";

// Where the drawing stands after the first n bytes of a line that starts in
// set, placing character by character: its rows (wrapping at width cells,
// none for 0), the column in the last row and the set in force.
struct Placed {
    std::int64_t rows;
    std::uint64_t column;
    CharSet set;
};

// Moves a placement on from byte `from` of a line to byte `until`.
inline void PlaceMore(const std::uint8_t* p, std::uint32_t from, std::uint32_t until,
                      std::uint32_t width, Placed& placed) {
    for (std::uint32_t i = from; i < until;) {
        if (p[i] == ESC && DetectEscape(p + i)) {
            placed.set = CharSet(DetectEscape(p + i) - 1);
            i += 3;
            continue;
        }
        if (p[i] == ESC && IsTwoByteSet(placed.set)) {
            placed.set = CHARSET_ASCII;
        }
        const bool pair = IsTwoByteSet(placed.set);
        if (width != 0 && placed.column >= (pair ? width - 1u : width)) {
            ++placed.rows;
            placed.column = 0;
        }
        placed.column = pair          ? placed.column + 2
                        : p[i] == TAB ? (placed.column & ~std::uint64_t(3)) + 4
                                      : placed.column + 1;
        i += pair ? 2 : 1;
    }
}

inline Placed PlaceCharacters(const std::uint8_t* p, std::uint32_t n, CharSet set,
                              std::uint32_t width) {
    Placed placed = {1, 0, set};
    PlaceMore(p, 0, n, width, placed);
    return placed;
}

// What the system's converter from ISO-2022-JP makes of the New JIS pair
// (j1, j2); empty where it refuses the pair.
inline std::string ConvertedByIconv(iconv_t cd, int j1, int j2) {
    char in[] = {0x1B, '$', 'B', char(j1), char(j2)};
    char out[16];
    char* inAt = in;
    char* outAt = out;
    std::size_t inLeft = sizeof in;
    std::size_t outLeft = sizeof out;
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    return iconv(cd, &inAt, &inLeft, &outAt, &outLeft) == std::size_t(-1) ? std::string()
                                                                          : std::string(out, outAt);
}
