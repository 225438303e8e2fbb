// Loading and laying out a large JIS text, against copying its bytes once.
#include "document/tavodoc.h"
#include "jis_text.h"
#include "platform/core/archive.h"

#include <benchmark/benchmark.h>

#include <cstring>
#include <string>

namespace {

constexpr std::size_t TEXT_SIZE = 100u << 20;

const std::string& LargeText() {
    static const std::string text = MakeJisText(TEXT_SIZE);
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
