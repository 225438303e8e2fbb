// The viewer on large files, driven through the real application object on
// Qt's offscreen platform: start-up to the first painted frame, and a full
// repaint and a scroll step at the end of a file of ten million lines.
#include "app/tavoapp.h"
#include "document/tavodoc.h"
#include "jis_text.h"
#include "platform/ui/ui.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QMainWindow>

#include <filesystem>
#include <fstream>
#include <memory>

namespace {

namespace fs = std::filesystem;

const fs::path& BenchDir() {
    static const fs::path dir = [] {
        fs::path path = fs::temp_directory_path() / "tavo_view_bench";
        fs::create_directories(path);
        return path;
    }();
    return dir;
}

std::string WriteOnce(const char* name, const std::string& (*make)()) {
    const fs::path path = BenchDir() / name;
    if (!fs::exists(path)) {
        const std::string& text = make();
        std::ofstream(path, std::ios::binary).write(text.data(), std::streamsize(text.size()));
    }
    return path.string();
}

const std::string& HundredMegabytes() {
    static const std::string text = MakeJisText(100u << 20);
    return text;
}

const std::string& TenMillionLines() {
    static const std::string text = [] {
        std::string out;
        for (int i = 0; i < 10'000'000; ++i) {
            out += "line " + std::to_string(i) + " \x1b$B4A;z\x1b(B\n";
        }
        return out;
    }();
    return text;
}

const std::string& EmptyText() {
    static const std::string text;
    return text;
}

// The program started as "tavo FILE", its window 1280 x 800.
std::unique_ptr<CTAVOApp> Start(const std::string& file) {
    auto app = std::make_unique<CTAVOApp>((BenchDir() / "tavo").c_str());
    std::string module = (BenchDir() / "tavo").string();
    std::string arg = file;
    char* argv[] = {module.data(), arg.data()};
    app->SetCommandLine(2, argv);
    app->InitInstance();
    QApplication::processEvents();
    return app;
}

CView* ViewOf(CTAVOApp& app) {
    return app.m_pMainWnd->GetActiveView();
}

void StartToFirstFrame(benchmark::State& state, const std::string& file) {
    for (auto _ : state) {
        auto app = Start(file);
        state.PauseTiming();
        app->ExitInstance();
        app.reset();
        state.ResumeTiming();
    }
}

// Baseline: the same start-up with an empty file.
void BM_StartEmptyFile(benchmark::State& state) {
    StartToFirstFrame(state, WriteOnce("empty.jis", EmptyText));
}

void BM_Start100MB(benchmark::State& state) {
    StartToFirstFrame(state, WriteOnce("100mb.jis", HundredMegabytes));
}

// Scrolled to the top (state.range(0) == 0) or the bottom; when
// state.range(1) is set, wrapped at column 16 so that every line takes two
// rows and a paint has to walk the line table to its first line.
std::unique_ptr<CTAVOApp> TenMillionLineView(benchmark::State& state) {
    auto app = Start(WriteOnce("10m-lines.jis", TenMillionLines));
    app->m_pMainWnd->GetMainWindow()->resize(1280, 800);
    if (state.range(1) != 0) {
        app->m_envStore.m_env.wWrap = ENV_WRAP_FIXED | 16;
        ViewOf(*app)->OnUpdate(nullptr, 0, nullptr);
    }
    QApplication::processEvents();
    if (state.range(0) != 0) {
        ViewOf(*app)->OnVScroll(SB_BOTTOM, 0, nullptr);
        ViewOf(*app)->UpdateWindow();
    }
    return app;
}

void BM_FullRepaint(benchmark::State& state) {
    auto app = TenMillionLineView(state);
    CView* view = ViewOf(*app);
    for (auto _ : state) {
        view->RedrawWindow();
    }
    app->ExitInstance();
}

// A row up and a row down, each painting its uncovered strip.
void BM_ScrollStepPair(benchmark::State& state) {
    auto app = TenMillionLineView(state);
    CView* view = ViewOf(*app);
    for (auto _ : state) {
        view->OnVScroll(SB_LINEUP, 0, nullptr);
        view->UpdateWindow();
        view->OnVScroll(SB_LINEDOWN, 0, nullptr);
        view->UpdateWindow();
    }
    app->ExitInstance();
}

BENCHMARK(BM_StartEmptyFile)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_Start100MB)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_FullRepaint)
    ->ArgsProduct({{0, 1}, {0, 1}})
    ->ArgNames({"bottom", "wrapped"})
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ScrollStepPair)
    ->ArgsProduct({{0, 1}, {0, 1}})
    ->ArgNames({"bottom", "wrapped"})
    ->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication qtApp(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
