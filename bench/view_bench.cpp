// The viewer on large files, driven through the real application object on
// Qt's offscreen platform: start-up to the first painted frame, a full
// repaint and a scroll step at the end of a file of ten million lines, and
// printing into a PDF file and previewing.
#include "app/tavoapp.h"
#include "bench_files.h"
#include "document/tavodoc.h"
#include "platform/ui/preview.h"
#include "platform/ui/ui.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QMainWindow>
#include <QPrinter>

#include <memory>

namespace {

std::string EmptyText() {
    return "";
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

// The application printing into a PDF file at 300 dpi, 12 pt on A4: 66
// rows a page.
void UsePdfPrinter(CTAVOApp& app) {
    app.SelectPrinter((BenchDir() / "out.pdf").string());
    app.GetPrinter()->setResolution(300);
    for (LOGFONTA& lf : app.m_envStore.m_env.lfFont) {
        lf.lfHeight = 120;
    }
}

// The whole of a file, through the direct print command.
void BM_PrintAll10MB(benchmark::State& state) {
    auto app = Start(WriteOnce("10mb.jis", TenMegabytes));
    UsePdfPrinter(*app);
    for (auto _ : state) {
        app->m_pMainWnd->ExecuteCommand(ID_FILE_PRINT_DIRECT);
    }
    app->ExitInstance();
}

// Page 1 alone, chosen in the print dialog: the print layout of the whole
// file and one page.
void BM_PrintFirstPage100MB(benchmark::State& state) {
    auto app = Start(WriteOnce("100mb.jis", HundredMegabytes));
    UsePdfPrinter(*app);
    CDialog::SetModalHook([&app](CDialog&) {
        app->GetPrinter()->setPrintRange(QPrinter::PageRange);
        app->GetPrinter()->setFromTo(1, 1);
        return int(IDOK);
    });
    for (auto _ : state) {
        app->m_pMainWnd->ExecuteCommand(ID_FILE_PRINT);
    }
    CDialog::SetModalHook(nullptr);
    app->ExitInstance();
}

// The preview of ten million lines, about 150,000 pages: opening it on
// page 1, turning to the last page and painting each, closing it.
void BM_PreviewToLastPage(benchmark::State& state) {
    auto app = Start(WriteOnce("10m-lines.jis", TenMillionLines));
    UsePdfPrinter(*app);
    CView* view = ViewOf(*app);
    for (auto _ : state) {
        app->m_pMainWnd->ExecuteCommand(ID_FILE_PRINT_PREVIEW);
        CPreviewView* preview = view->GetPreview();
        preview->GetSafeHwnd()->grab();
        preview->OnKeyDown(VK_END, 1, 0);
        preview->GetSafeHwnd()->grab();
        state.counters["pages"] = preview->GetPageCount();
        preview->Close();
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
BENCHMARK(BM_PrintAll10MB)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_PrintFirstPage100MB)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_PreviewToLastPage)->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication qtApp(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
