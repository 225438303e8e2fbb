// Texts in the 7-bit JIS code for the benchmarks, made the same way on
// every run and valid for any converter: only defined two-byte codes.
#pragma once

#include <cstddef>
#include <random>
#include <string>

namespace jis {

// A run of kanji and kana as a Japanese text has them, between the
// designations of New JIS and ASCII. Kanji come as in real text: a few
// hundred make most of it, the rest of the level-1 set is rare.
inline void AppendKanji(std::string& out, std::mt19937& rng, int count) {
    out += "\x1b$B";
    std::uniform_real_distribution<double> unit(0, 1);
    for (int k = 0; k < count; ++k) {
        const unsigned pick = rng() % 10;
        if (pick < 4) { // hiragana
            out.push_back(0x24);
            out.push_back(char(0x21 + rng() % 0x53));
        } else if (pick < 5) { // katakana
            out.push_back(0x25);
            out.push_back(char(0x21 + rng() % 0x56));
        } else { // level-1 kanji, rows 0x30..0x4E, the frequent ones first
            const double u = unit(rng);
            const int rank = int(u * u * u * 0x1F * 0x5E);
            out.push_back(char(0x30 + rank / 0x5E));
            out.push_back(char(0x21 + rank % 0x5E));
        }
    }
    out += "\x1b(B";
}

// The text cut to at most size bytes at the end of a line, so that no
// character or escape sequence is cut.
inline std::string WholeLines(std::string& text, std::size_t size) {
    text.resize(text.rfind('\n', size - 1) + 1);
    return std::move(text);
}

inline void AppendWord(std::string& out, std::mt19937& rng) {
    const int length = 1 + int(rng() % 8);
    for (int k = 0; k < length; ++k) {
        out.push_back(char('a' + rng() % 26));
    }
}

// Mail and log lines: mostly within 76 cells, a few long ones, some empty,
// mixed ASCII and kanji, now and then a tab or CR LF.
inline std::string MixedText(std::size_t size, unsigned seed = 1) {
    std::mt19937 rng(seed);
    std::string out;
    out.reserve(size + 512);
    while (out.size() < size) {
        const unsigned kind = rng() % 20;
        const int cells = kind == 0 ? 0 : kind == 1 ? 100 + int(rng() % 200) : 10 + int(rng() % 66);
        int used = 0;
        while (used < cells) {
            if (rng() % 3 == 0) {
                const int count = 1 + int(rng() % 8);
                AppendKanji(out, rng, count);
                used += 2 * count;
            } else {
                const std::size_t before = out.size();
                AppendWord(out, rng);
                used += int(out.size() - before);
            }
            out.push_back(rng() % 12 == 0 ? '\t' : ' ');
            used += 1;
        }
        out += rng() % 4 == 0 ? "\r\n" : "\n";
    }
    return WholeLines(out, size);
}

// Very short lines: a word, a number or two kanji each.
inline std::string ShortLines(std::size_t size, unsigned seed = 2) {
    std::mt19937 rng(seed);
    std::string out;
    out.reserve(size + 64);
    while (out.size() < size) {
        switch (rng() % 4) {
        case 0:
            break; // an empty line
        case 1:
            out += std::to_string(rng() % 1000);
            break;
        case 2:
            out.append(1 + rng() % 6, char('a' + rng() % 26));
            break;
        default:
            AppendKanji(out, rng, 1);
            break;
        }
        out.push_back('\n');
    }
    return WholeLines(out, size);
}

// The mixed text as one line: every line end a space.
inline std::string SingleLine(std::size_t size) {
    std::string out = MixedText(size, 3);
    for (char& c : out) {
        if (c == '\n' || c == '\r') {
            c = ' ';
        }
    }
    return out;
}

} // namespace jis
