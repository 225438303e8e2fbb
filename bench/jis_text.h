// Large JIS texts for the benchmarks, made the same way on every run.
#pragma once

#include <random>
#include <string>

// Lines of 40..120 bytes alternating ASCII with New JIS runs, tabs and CR LF.
inline std::string MakeJisText(std::size_t size) {
    std::mt19937 rng(1);
    std::string out;
    out.reserve(size + 256);
    while (out.size() < size) {
        const int words = 4 + int(rng() % 12);
        for (int w = 0; w < words; ++w) {
            if (rng() % 3 == 0) {
                out += "\x1b$B";
                for (int k = 0; k < 1 + int(rng() % 6); ++k) {
                    out.push_back(char(0x30 + rng() % 0x20));
                    out.push_back(char(0x21 + rng() % 0x5E));
                }
                out += "\x1b(B";
            } else {
                out.append(1 + rng() % 8, char('a' + rng() % 26));
            }
            out.push_back(rng() % 10 == 0 ? '\t' : ' ');
        }
        out += rng() % 2 ? "\r\n" : "\n";
    }
    return out;
}
