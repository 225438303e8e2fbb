#include "textexport.h"

#include "linewalker.h"

#include <cstring>

namespace {

constexpr std::uint8_t CR = 0x0D;
constexpr std::uint8_t FIRST_IN_CODE = 0x21;
constexpr std::uint8_t LAST_IN_CODE = 0x7E;
constexpr char32_t REPLACEMENT = U'\uFFFD';
constexpr std::uint8_t DESIGNATIONS[][3] = {
    {ESC, '(', 'B'}, {ESC, '(', 'J'}, {ESC, '$', '@'}, {ESC, '$', 'B'}};

char* PutUtf8(char32_t ch, char* out) {
    if (ch < 0x80) {
        *out++ = char(ch);
    } else if (ch < 0x800) {
        *out++ = char(0xC0 | ch >> 6);
        *out++ = char(0x80 | (ch & 0x3F));
    } else if (ch < 0x10000) {
        *out++ = char(0xE0 | ch >> 12);
        *out++ = char(0x80 | (ch >> 6 & 0x3F));
        *out++ = char(0x80 | (ch & 0x3F));
    } else {
        *out++ = char(0xF0 | ch >> 18);
        *out++ = char(0x80 | (ch >> 12 & 0x3F));
        *out++ = char(0x80 | (ch >> 6 & 0x3F));
        *out++ = char(0x80 | (ch & 0x3F));
    }
    return out;
}

bool InCode(std::uint8_t b) {
    return b >= FIRST_IN_CODE && b <= LAST_IN_CODE;
}

char32_t PairCharacter(const JisTable& table, std::uint8_t first, std::uint8_t second) {
    if (!InCode(first) || !InCode(second)) {
        return REPLACEMENT;
    }
    const char32_t ch = table[JisCodeBit(first, second)];
    return ch != 0 ? ch : REPLACEMENT;
}

char32_t ByteCharacter(CharSet set, std::uint8_t b) {
    if (set == CHARSET_JISROMAN && (b == 0x5C || b == 0x7E)) {
        return b == 0x5C ? U'\u00A5' : U'\u203E';
    }
    if (b < 0x80) {
        return b;
    }
    // Half-width katakana, the one meaning of an eighth bit in this text.
    return b >= 0xA1 && b <= 0xDF ? char32_t(0xFF61 + (b - 0xA1)) : REPLACEMENT;
}

// Calls put(character) for every character of the bytes [p, p + end),
// set being in force before them, by the rules the line split follows, so
// that the lines are the document's: TAB, LF and FF keep their meaning
// where a character begins in any set. Returns the set left in force.
template <class Put>
CharSet ForEachCharacter(const std::uint8_t* p, std::size_t end, CharSet set, const JisTable& table,
                         Put put) {
    std::size_t i = 0;
    while (i < end) {
        // Runs of pairs of the code, and of printable ASCII, need none of
        // the checks below: most of a text is such runs.
        if (IsTwoByteSet(set)) {
            for (; i + 1 < end && InCode(p[i]) && InCode(p[i + 1]); i += 2) {
                const char32_t ch = table[JisCodeBit(p[i], p[i + 1])];
                put(ch != 0 ? ch : REPLACEMENT);
            }
        } else if (set == CHARSET_ASCII) {
            for (; i < end && p[i] >= 0x20 && p[i] < DEL; ++i) {
                put(char32_t(p[i]));
            }
        }
        if (i >= end) {
            break;
        }
        const std::uint8_t b = p[i];
        if (b == ESC) {
            // A designation cut off by the end designates nothing.
            if (i + 2 < end && FollowEscape(p + i, set) != 0) {
                i += 3;
                continue;
            }
            if (IsTwoByteSet(set)) {
                set = CHARSET_ASCII;
            }
        }
        if (b == TAB || IsTerminator(b) || !IsTwoByteSet(set)) {
            // CR LF is one line end.
            if (b != CR || i + 1 >= end || p[i + 1] != LF) {
                put(ByteCharacter(set, b));
            }
            ++i;
        } else {
            put(i + 1 < end ? PairCharacter(table, b, p[i + 1]) : REPLACEMENT);
            i += 2;
        }
    }
    return set;
}

CharSet ForEachCharacter(const TextExcerpt& excerpt, const JisTable& table, auto put) {
    return ForEachCharacter(excerpt.bytes.data(), excerpt.bytes.size(), excerpt.startSet, table,
                            put);
}

const JisTable& NoCharacters() {
    static const JisTable none{};
    return none;
}

CharSet EndSet(const TextExcerpt& excerpt) {
    return ForEachCharacter(excerpt, NoCharacters(), [](char32_t) {});
}

} // namespace

TextExcerpt ExcerptOf(const CTAVODoc& doc, std::uint32_t nBegin, std::uint32_t nEnd) {
    // The set in force at nBegin: walked from the nearest place whose set
    // is known.
    const WalkStart start = StartBefore(doc, nBegin);
    const CharSet set = ForEachCharacter(doc.m_pData + start.nOffset, nBegin - start.nOffset,
                                         start.set, NoCharacters(), [](char32_t) {});
    return {{doc.m_pData + nBegin, doc.m_pData + nEnd}, set};
}

std::size_t Utf8SizeBound(const TextExcerpt& excerpt) {
    // A byte, or a pair, is one character of at most three bytes in UTF-8.
    return 3 * excerpt.bytes.size();
}

std::size_t WriteUtf8(const TextExcerpt& excerpt, const JisTable& table, char* out) {
    char* const start = out;
    ForEachCharacter(excerpt, table, [&out](char32_t ch) { out = PutUtf8(ch, out); });
    return std::size_t(out - start);
}

std::size_t JisSizeBound(const TextExcerpt& excerpt) {
    return 3 + excerpt.bytes.size() + 3;
}

std::size_t WriteJis(const TextExcerpt& excerpt, char* out) {
    char* const start = out;
    if (excerpt.startSet != CHARSET_ASCII) {
        out = static_cast<char*>(std::memcpy(out, DESIGNATIONS[excerpt.startSet], 3)) + 3;
    }
    if (!excerpt.bytes.empty()) {
        std::memcpy(out, excerpt.bytes.data(), excerpt.bytes.size());
        out += excerpt.bytes.size();
    }
    if (EndSet(excerpt) != CHARSET_ASCII) {
        out = static_cast<char*>(std::memcpy(out, DESIGNATIONS[CHARSET_ASCII], 3)) + 3;
    }
    return std::size_t(out - start);
}
