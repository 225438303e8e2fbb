// Large input files for the benchmarks, written once into a folder of the
// system's temporary directory and kept there for later runs.
#pragma once

#include "jis_text.h"

#include <filesystem>
#include <fstream>
#include <string>

inline const std::filesystem::path& BenchDir() {
    static const std::filesystem::path dir = [] {
        std::filesystem::path path = std::filesystem::temp_directory_path() / "tavo_view_bench";
        std::filesystem::create_directories(path);
        return path;
    }();
    return dir;
}

// The path of name in BenchDir(), made by make() unless it is there; the
// text is let go once written, so it does not weigh on what is measured.
inline std::string WriteOnce(const char* name, std::string (*make)()) {
    const std::filesystem::path path = BenchDir() / name;
    if (!std::filesystem::exists(path)) {
        const std::string text = make();
        std::ofstream(path, std::ios::binary).write(text.data(), std::streamsize(text.size()));
    }
    return path.string();
}

inline std::string TenMegabytes() {
    return MakeJisText(10u << 20);
}

inline std::string HundredMegabytes() {
    return MakeJisText(100u << 20);
}

// Ten million short lines, a few kanji in each.
inline std::string TenMillionLines() {
    std::string out;
    for (int i = 0; i < 10'000'000; ++i) {
        out += "line " + std::to_string(i) + " \x1b$B4A;z\x1b(B\n";
    }
    return out;
}
