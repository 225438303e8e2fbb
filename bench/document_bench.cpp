// Loading and laying out a large JIS text, against copying its bytes once.
#include "document/tavodoc.h"
#include "platform/archive.h"

#include <benchmark/benchmark.h>

#include <cstring>
#include <random>
#include <string>

namespace {

constexpr std::size_t TEXT_SIZE = 100u << 20;

// Lines of 40..120 bytes alternating ASCII with New JIS runs, tabs and CR LF.
const std::string& LargeText() {
    static const std::string text = [] {
        std::mt19937 rng(1);
        std::string out;
        out.reserve(TEXT_SIZE + 256);
        while (out.size() < TEXT_SIZE) {
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
    }();
    return text;
}

void Load(CTAVODoc& doc, const std::string& text) {
    CMemFile file(text.data(), text.size());
    CArchive ar(&file, CArchive::load);
    doc.Serialize(ar);
}

// Baseline: one copy of the bytes, as the load's read makes.
void BM_CopyBytes(benchmark::State& state) {
    const std::string& text = LargeText();
    std::string copy(text.size(), '\0');
    for (auto _ : state) {
        std::memcpy(copy.data(), text.data(), text.size());
        benchmark::DoNotOptimize(copy.data());
    }
    state.SetBytesProcessed(std::int64_t(state.iterations() * text.size()));
}

void BM_LoadAndLayout(benchmark::State& state) {
    const std::string& text = LargeText();
    const auto width = std::uint32_t(state.range(0));
    for (auto _ : state) {
        CTAVODoc doc;
        Load(doc, text);
        doc.CountRows(width, LAYOUT_SCREEN);
        benchmark::DoNotOptimize(doc.m_nTotalRows[0]);
    }
    state.SetBytesProcessed(std::int64_t(state.iterations() * text.size()));
}

void BM_CountRows(benchmark::State& state) {
    CTAVODoc doc;
    Load(doc, LargeText());
    const auto width = std::uint32_t(state.range(0));
    for (auto _ : state) {
        doc.CountRows(width, LAYOUT_SCREEN);
        benchmark::DoNotOptimize(doc.m_nTotalRows[0]);
    }
    state.SetBytesProcessed(std::int64_t(state.iterations() * LargeText().size()));
}

BENCHMARK(BM_CopyBytes)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadAndLayout)->Arg(0)->Arg(80)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CountRows)->Arg(80)->Arg(20)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
