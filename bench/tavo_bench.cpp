// The benchmark suite: makes its inputs, measures the viewer and its
// baselines in the same run and prints every figure with its ratio to its
// baseline and the goal it is held to. Run by scripts/bench, under a
// virtual X display for the figures of the real program.
#include "app/tavoapp.h"
#include "document/tavodoc.h"
#include "document/textsearch.h"
#include "jis_text.h"
#include "platform/core/sjis.h"
#include "platform/gdi/gdi.h"
#include "platform/ui/ui.h"
#include "render/charpainter.h"
#include "view/jiscodes.h"
#include "view/tavoview.h"
#include "xprobe.h"

#include <QApplication>
#include <QClipboard>
#include <QFont>
#include <QFontMetrics>
#include <QImage>
#include <QMainWindow>
#include <QMimeData>
#include <QPainter>
#include <QPrinter>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <spawn.h>
#include <sys/mman.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {

namespace fs = std::filesystem;

struct Options {
    fs::path dir;           // inputs and program copies
    std::string tavo;       // the program to start under X
    int repeat = 5;         // runs per figure; the median is printed
    bool large = true;      // the 2 GB file
    bool paintOnly = false; // the painting figures alone, without inputs
    bool copyOnly = false;  // the copy's figures alone, on 100 MB
};

Options g_options;

double Median(std::vector<double> values) {
    if (values.empty()) {
        return -1;
    }
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

double TimeMs(const std::function<void()>& work) {
    const double start = NowMs();
    work();
    return NowMs() - start;
}

double MedianOf(int runs, const std::function<double()>& measure) {
    std::vector<double> values;
    for (int i = 0; i < runs; ++i) {
        values.push_back(measure());
    }
    return Median(values);
}

// ---- the table ----

struct Row {
    std::string what;
    double value;
    std::string baseline;
    double base;
    double goal; // the ratio allowed at most, or 0 for none
    std::string unit = "ms";
};

std::vector<Row> g_rows;

void Report(Row row) {
    const double ratio = row.base > 0 ? row.value / row.base : 0;
    std::string verdict = row.goal <= 0 ? "" : ratio <= row.goal ? "met" : "NOT MET";
    std::printf("%-52s %10.2f %-3s %-34s %10.2f %8.3f %7s %s\n", row.what.c_str(), row.value,
                row.unit.c_str(), row.baseline.c_str(), row.base, ratio,
                row.goal > 0 ? ("<=" + std::to_string(row.goal).substr(0, 4)).c_str() : "",
                verdict.c_str());
    std::fflush(stdout);
    g_rows.push_back(std::move(row));
}

void Section(const char* title) {
    std::printf("\n== %s\n%-52s %14s %-34s %10s %8s %7s\n", title, "figure", "value", "baseline",
                "base", "ratio", "goal");
}

// ---- inputs ----

fs::path Input(const std::string& name, const std::function<std::string()>& make) {
    const fs::path path = g_options.dir / name;
    if (!fs::exists(path)) {
        const std::string text = make();
        std::ofstream(path, std::ios::binary).write(text.data(), std::streamsize(text.size()));
    }
    return path;
}

// Zero bytes, as a file with no blocks: it needs no disk.
fs::path ZeroFile(const std::string& name, std::uint64_t size) {
    const fs::path path = g_options.dir / name;
    const int fd = open(path.c_str(), O_CREAT | O_WRONLY | O_TRUNC, 0644);
    if (fd >= 0) {
        if (ftruncate(fd, off_t(size)) != 0) {
            std::perror("ftruncate");
        }
        close(fd);
    }
    return path;
}

constexpr std::size_t MB = std::size_t(1) << 20;

// ---- baselines ----

// Runs a program with its output thrown away; the wall time in ms.
double RunQuietly(const char* const* argv, const std::string& what, int worstStatus = 0) {
    const int devnull = open("/dev/null", O_WRONLY);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, devnull, 1);
    pid_t pid = 0;
    const double start = NowMs();
    posix_spawnp(&pid, argv[0], &actions, nullptr, const_cast<char**>(argv), environ);
    int status = 0;
    waitpid(pid, &status, 0);
    const double ms = NowMs() - start;
    posix_spawn_file_actions_destroy(&actions);
    close(devnull);
    if (!WIFEXITED(status) || WEXITSTATUS(status) > worstStatus) {
        std::printf("%s failed\n", what.c_str());
    }
    return ms;
}

double RunIconv(const fs::path& file) {
    const char* argv[] = {"iconv", "-f", "ISO-2022-JP", "-t", "UTF-8", file.c_str(), nullptr};
    return RunQuietly(argv, "iconv on " + file.string());
}

// A plain read() of the whole file into fresh memory.
double PlainRead(const fs::path& file) {
    return TimeMs([&] {
        const int fd = open(file.c_str(), O_RDONLY);
        const auto size = std::size_t(fs::file_size(file));
        char* buffer = static_cast<char*>(std::malloc(size));
        for (std::size_t done = 0; done < size;) {
            const ssize_t got =
                read(fd, buffer + done, std::min<std::size_t>(size - done, 1u << 30));
            if (got <= 0) {
                break;
            }
            done += std::size_t(got);
        }
        std::free(buffer);
        close(fd);
    });
}

// ---- the document ----

double LoadMs(const fs::path& file, CTAVODoc* keep = nullptr) {
    CTAVODoc local;
    CTAVODoc& doc = keep != nullptr ? *keep : local;
    return TimeMs([&] { doc.OnOpenDocument(file.c_str()); });
}

void MeasureLoads(const std::map<std::string, fs::path>& files) {
    Section("loading: Serialize to the end of LoadText");
    for (const auto& [name, file] : files) {
        const double iconv = MedianOf(g_options.repeat, [&] { return RunIconv(file); });
        const double read = MedianOf(g_options.repeat, [&] { return PlainRead(file); });
        const double load = MedianOf(g_options.repeat, [&] { return LoadMs(file); });
        Report({"load " + name, load, "iconv on the same file", iconv,
                name == "100 MB mixed" ? 1 / 3.5 : 0});
        Report({"load " + name, load, "plain read() into memory", read, 0});
    }
}

void MeasureCountRows(const fs::path& mixed, const fs::path& shortLines, std::uint32_t window) {
    Section("layout: CountRows");
    for (const auto& [name, file] :
         {std::pair{"100 MB mixed", mixed}, {"100 MB short lines", shortLines}}) {
        const double iconv = MedianOf(g_options.repeat, [&] { return RunIconv(file); });
        CTAVODoc doc;
        LoadMs(file, &doc);
        // A different width every time, so that no count is a repeat.
        std::uint32_t nudge = 0;
        const auto count = [&](std::uint32_t width) {
            return MedianOf(g_options.repeat, [&] {
                doc.CountRows(0, LAYOUT_PRINT);
                return TimeMs([&] { doc.CountRows(width + (nudge++ % 2), LAYOUT_PRINT); });
            });
        };
        Report({std::string("CountRows(0) ") + name,
                MedianOf(g_options.repeat,
                         [&] {
                             doc.CountRows(80, LAYOUT_PRINT);
                             return TimeMs([&] { doc.CountRows(0, LAYOUT_PRINT); });
                         }),
                "iconv", iconv, 0});
        Report({std::string("CountRows(80) ") + name, count(80), "iconv", iconv, 0});
        Report({std::string("CountRows(window ") + std::to_string(window) + ") " + name,
                count(window), "iconv", iconv, 0.05});
        // A one-cell resize: the next width after a count at the window's.
        Report({std::string("one-cell resize, wrapped at the window, ") + name,
                MedianOf(g_options.repeat,
                         [&] {
                             doc.CountRows(window + 2 * (nudge % 2), LAYOUT_PRINT);
                             return TimeMs([&] {
                                 doc.CountRows(window + 2 * (nudge++ % 2) + 1, LAYOUT_PRINT);
                             });
                         }),
                "iconv", iconv, 0.1});
    }
}

// ---- searching ----

// The whole of a large text searched for words it does not hold: the
// search that costs most, since every candidate is checked and none ends it.
void MeasureSearch(const fs::path& mixed) {
    Section("searching: FindText over the whole file, the word absent");
    const double iconv = MedianOf(g_options.repeat, [&] { return RunIconv(mixed); });
    CTAVODoc doc;
    LoadMs(mixed, &doc);
    const struct {
        const char* what;
        const char* word;
        bool matchCase;
    } words[] = {
        {"ASCII word", "tavoviewer", true},
        {"ASCII word, case ignored", "TavoViewer", false},
        {"kanji and kana", "見つからない語", true},
        {"kanji and ASCII", "漢字のjis", false},
    };
    for (const auto& word : words) {
        const FindQuery query = MakeFindQuery(word.word, word.matchCase);
        TextMatch match;
        const double ms = MedianOf(g_options.repeat, [&] {
            return TimeMs([&] {
                if (FindText(doc, query, 0, true, &match)) {
                    std::printf("the %s was found at %u\n", word.what, match.nOffset);
                }
            });
        });
        Report({std::string("search 100 MB mixed, ") + word.what, ms, "iconv on the same file",
                iconv, 0.5});
    }
}

// ---- the structure check on the command line ----

// tavo --check on the whole of a large text, every problem printed: load,
// one walk of the text and the lines written.
void MeasureCheck(const fs::path& mixed) {
    Section("tavo --check, every problem printed");
    const char* argv[] = {g_options.tavo.c_str(), "--check", mixed.c_str(), nullptr};
    const double check =
        MedianOf(g_options.repeat, [&] { return RunQuietly(argv, "tavo --check", 1); });
    const double iconv = MedianOf(g_options.repeat, [&] { return RunIconv(mixed); });
    Report({"tavo --check, 100 MB mixed", check, "iconv on the same file", iconv, 0.5});
}

// ---- painting ----

constexpr int SCREEN_WIDTH = 1920;
constexpr int SCREEN_HEIGHT = 1080;

EnvSettings DefaultEnv() {
    EnvStore store("/nowhere/tavo.exe");
    store.SetDefaults();
    return store.m_env;
}

// Rows of 400 bytes of mixed text, every cell of the screen filled.
std::vector<std::string> DenseRows(unsigned seed) {
    const std::string text = jis::SingleLine(std::size_t(200) * 1024);
    std::vector<std::string> rows;
    std::size_t at = seed * 1000;
    for (int i = 0; i < 120; ++i) {
        // Each row starts in ASCII: cut at a designation of ASCII.
        const std::size_t start = text.find("\x1b(B", at) + 3;
        rows.push_back(text.substr(start, 400));
        at = start + 400;
    }
    return rows;
}

QString Decoded(const std::string& jis) {
    QString text;
    bool pairs = false;
    for (std::size_t i = 0; i < jis.size(); ++i) {
        if (jis[i] == '\x1b' && i + 2 < jis.size()) {
            pairs = jis[i + 1] == '$';
            i += 2;
        } else if (pairs && i + 1 < jis.size()) {
            BYTE pair[2] = {BYTE(jis[i]), BYTE(jis[i + 1])};
            JisToSjis(pair);
            text += QChar(DecodeSjisPair(pair[0], pair[1]));
            ++i;
        } else if (!pairs) {
            text += QChar(jis[i]);
        }
    }
    return text;
}

double PaintDense(QImage& image, const EnvSettings& env, const std::vector<std::string>& rows) {
    return TimeMs([&] {
        CDC dc;
        dc.AttachImage(&image);
        dc.FillSolidRect(0, 0, SCREEN_WIDTH, SCREEN_HEIGHT, env.crColor[ENV_CLR_GROUND]);
        CCharPainter painter(&dc, &env);
        painter.m_rcPaint = {0, 0, SCREEN_WIDTH, SCREEN_HEIGHT};
        painter.m_bConvert = TRUE;
        const int count = SCREEN_HEIGHT / int(painter.m_cyCell) + 1;
        for (int row = 0; row < count; ++row) {
            const std::string& line = rows[std::size_t(row) % rows.size()];
            painter.DrawRun(CHARSET_ASCII, 0, row, reinterpret_cast<const BYTE*>(line.data()),
                            int(line.size()));
        }
        painter.Restore();
        dc.DeleteDC();
    });
}

double QtDrawTextPerRow(QImage& image, const std::vector<std::string>& rows) {
    std::vector<QString> texts;
    for (const std::string& row : rows) {
        texts.push_back(Decoded(row));
    }
    QFont font(QStringLiteral("IPAGothic"));
    font.setPixelSize(12);
    return MedianOf(g_options.repeat * 4, [&] {
        return TimeMs([&] {
            QPainter painter(&image);
            painter.fillRect(image.rect(), Qt::white);
            painter.setFont(font);
            const QFontMetrics metrics(font);
            int index = 0;
            for (int y = 0; y < SCREEN_HEIGHT; y += metrics.height()) {
                painter.drawText(0, y + metrics.ascent(),
                                 texts[std::size_t(index++) % texts.size()]);
            }
        });
    });
}

// Runs this program again with the given switches, times over, and
// gathers the two figures each run prints.
std::pair<std::vector<double>, std::vector<double>> ChildFigures(const std::string& command,
                                                                 int times) {
    std::pair<std::vector<double>, std::vector<double>> figures;
    for (int i = 0; i < times; ++i) {
        FILE* child = popen(command.c_str(), "r");
        double first = 0;
        double second = 0;
        if (child != nullptr && std::fscanf(child, "%lf %lf", &first, &second) == 2) {
            figures.first.push_back(first);
            figures.second.push_back(second);
        }
        if (child != nullptr) {
            pclose(child);
        }
    }
    return figures;
}

// In a fresh process whose fonts are made, as the program's are by its
// first layout: the first paint of a screen never seen, then the same
// screen again. With a glyph cache folder the process reads it and, as
// the program does at its exit, writes it back.
int ColdPaintChild(unsigned screen, const std::string& glyphCache) {
    AfxSetGlyphCacheFolder(glyphCache);
    QImage image(SCREEN_WIDTH, SCREEN_HEIGHT, QImage::Format_RGB32);
    const EnvSettings env = DefaultEnv();
    {
        CDC dc;
        dc.AttachImage(&image);
        CCharPainter cellSize(&dc, &env);
        cellSize.Restore();
    }
    const std::vector<std::string> rows = DenseRows(screen);
    const double cold = PaintDense(image, env, rows);
    const double warm = MedianOf(9, [&] { return PaintDense(image, env, rows); });
    std::printf("%f %f\n", cold, warm);
    return AfxSaveGlyphCache(nullptr) ? 0 : 1;
}

void MeasurePainting(const char* self) {
    Section("painting: a dense 1920 x 1080 screen");
    QImage image(SCREEN_WIDTH, SCREEN_HEIGHT, QImage::Format_RGB32);
    const EnvSettings env = DefaultEnv();
    const std::vector<std::string> rows = DenseRows(0);
    PaintDense(image, env, rows);
    const double warm =
        MedianOf(g_options.repeat * 4, [&] { return PaintDense(image, env, rows); });
    const double qt = QtDrawTextPerRow(image, rows);
    Report({"dense repaint, warm", warm, "Qt drawText per row", qt, 0.4});
    // Each run a screen of its own, first with no glyph cache (the
    // program's first run ever), then again with the cache that run left.
    char folder[] = "/tmp/tavo-bench-glyphs.XXXXXX";
    if (mkdtemp(folder) == nullptr) {
        return;
    }
    std::vector<double> colds, warms, cachedColds, cachedWarms;
    for (int i = 0; i < g_options.repeat; ++i) {
        const std::string cache = std::string(folder) + "/" + std::to_string(i);
        const std::string child =
            std::string(self) + " --cold-paint --screen " + std::to_string(i + 1);
        const auto [cold, warm] = ChildFigures(child + " --glyph-cache " + cache, 1);
        const auto [cached, cachedWarm] = ChildFigures(child + " --glyph-cache " + cache, 1);
        colds.insert(colds.end(), cold.begin(), cold.end());
        warms.insert(warms.end(), warm.begin(), warm.end());
        cachedColds.insert(cachedColds.end(), cached.begin(), cached.end());
        cachedWarms.insert(cachedWarms.end(), cachedWarm.begin(), cachedWarm.end());
    }
    fs::remove_all(folder);
    Report({"dense first paint, cold, no glyph cache", Median(colds), "warm repaint of that screen",
            Median(warms), 0});
    Report({"dense first paint, cold, glyphs cached by a run before", Median(cachedColds),
            "warm repaint of that screen", Median(cachedWarms), 3});
}

// ---- the view in the real application, off screen ----

class ViewRun {
public:
    ViewRun(const fs::path& file, WORD wrap) {
        const fs::path module = g_options.dir / "offscreen" / "tavo";
        fs::create_directories(module.parent_path());
        m_app = std::make_unique<CTAVOApp>(module.c_str());
        std::string program = module.string();
        std::string arg = file.string();
        char* argv[] = {program.data(), arg.data()};
        m_app->SetCommandLine(2, argv);
        m_app->InitInstance();
        m_app->m_pMainWnd->GetMainWindow()->resize(1280, 800);
        QApplication::processEvents();
        m_app->m_envStore.m_env.wWrap = wrap;
        View()->OnUpdate(nullptr, 0, nullptr);
        QApplication::processEvents();
    }
    ~ViewRun() { m_app->ExitInstance(); }

    CView* View() const { return m_app->m_pMainWnd->GetActiveView(); }
    CTAVOApp& App() const { return *m_app; }
    std::uint32_t Lines() const { return static_cast<CTAVODoc*>(View()->GetDocument())->m_nLines; }

    // One scroll request and the paint it causes.
    double Step(int bar, UINT code) {
        return TimeMs([&] {
            if (bar == SB_VERT) {
                View()->OnVScroll(code, 0, nullptr);
            } else {
                View()->OnHScroll(code, 0, nullptr);
            }
            View()->UpdateWindow();
        });
    }

    void Go(int bar, UINT code, int times = 1) {
        for (int i = 0; i < times; ++i) {
            Step(bar, code);
        }
    }

private:
    std::unique_ptr<CTAVOApp> m_app;
};

// ---- printing ----

// The high-water mark of a running process in KiB, 0 once it has ended.
long PeakKiB(pid_t pid) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    for (std::string line; std::getline(status, line);) {
        if (line.rfind("VmHWM:", 0) == 0) {
            return std::atol(line.c_str() + 6);
        }
    }
    return 0;
}

// The whole file printed into a PDF file by the real program, as
// "tavo /pt FILE OUT.pdf" runs: wall time and the process's peak memory,
// read while it runs (the rusage of a child started from this large
// process would report this process's own peak).
std::pair<double, double> PrintToPdf(const fs::path& file) {
    const std::string pdf = (g_options.dir / "printed.pdf").string();
    const char* argv[] = {g_options.tavo.c_str(), "/pt", file.c_str(), pdf.c_str(), nullptr};
    pid_t pid = 0;
    const double start = NowMs();
    posix_spawn(&pid, g_options.tavo.c_str(), nullptr, nullptr, const_cast<char**>(argv), environ);
    int status = 0;
    long peak = 0;
    while (waitpid(pid, &status, WNOHANG) == 0) {
        peak = std::max(peak, PeakKiB(pid));
        usleep(2000);
    }
    const double ms = NowMs() - start;
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        std::printf("printing %s failed\n", file.c_str());
    }
    fs::remove(pdf);
    return {ms, double(peak) / 1024};
}

// Page 1 alone, chosen in the print dialog, at 300 dpi: the print layout of
// the whole file and one page.
double PrintFirstPage(const fs::path& file) {
    ViewRun run(file, ENV_WRAP_NONE);
    CTAVOApp& app = run.App();
    app.SelectPrinter((g_options.dir / "first-page.pdf").string());
    app.GetPrinter()->setResolution(300);
    CDialog::SetModalHook([&app](CDialog&) {
        app.GetPrinter()->setPrintRange(QPrinter::PageRange);
        app.GetPrinter()->setFromTo(1, 1);
        return int(IDOK);
    });
    const double ms = TimeMs([&] { app.m_pMainWnd->ExecuteCommand(ID_FILE_PRINT); });
    CDialog::SetModalHook(nullptr);
    return ms;
}

// In a fresh process: the file opened and page 1 printed; prints the time
// of the print command and the process's peak memory in MiB.
int FirstPageChild(const fs::path& file) {
    const double ms = PrintFirstPage(file);
    std::printf("%f %f\n", ms, double(PeakKiB(getpid())) / 1024);
    return 0;
}

void MeasurePrinting(const char* self, const fs::path& tenMegabytes,
                     const fs::path& hundredMegabytes) {
    Section("printing into a PDF file");
    std::vector<double> times;
    std::vector<double> peaks;
    for (int i = 0; i < std::min(g_options.repeat, 3); ++i) {
        const auto [ms, mib] = PrintToPdf(tenMegabytes);
        times.push_back(ms);
        peaks.push_back(mib);
    }
    const double iconv = MedianOf(3, [&] { return RunIconv(tenMegabytes); });
    Report({"tavo /pt, 10 MB mixed, all pages", Median(times), "iconv, same file", iconv, 0});
    Report({"  its peak memory", Median(peaks), "file size",
            double(fs::file_size(tenMegabytes)) / MB, 0, "MiB"});
    const auto [firsts, firstPeaks] =
        ChildFigures(std::string(self) + " --dir " + g_options.dir.string() + " --first-page " +
                         hundredMegabytes.string(),
                     std::min(g_options.repeat, 3));
    Report({"page 1 of 100 MB mixed, from the print command", Median(firsts), "iconv, same file",
            MedianOf(3, [&] { return RunIconv(hundredMegabytes); }), 0});
    Report({"  the peak memory of the process that opened it", Median(firstPeaks), "file size",
            double(fs::file_size(hundredMegabytes)) / MB, 0, "MiB"});
}

void MeasureScrolling(const fs::path& lines, const fs::path& single) {
    Section("scrolling, off screen, window 1280 x 800");
    for (const auto& [wrapName, wrap] : {std::pair<const char*, WORD>{"unwrapped", ENV_WRAP_NONE},
                                         {"wrapped at 4", ENV_WRAP_FIXED | 4}}) {
        ViewRun run(lines, wrap);
        for (const auto& [stepName, down, up] :
             {std::tuple<const char*, UINT, UINT>{"line-down", SB_LINEDOWN, SB_LINEUP},
              {"page-down", SB_PAGEDOWN, SB_PAGEUP}}) {
            const auto step = [&] {
                return MedianOf(g_options.repeat * 4, [&] {
                    const double ms = run.Step(SB_VERT, down);
                    run.Step(SB_VERT, up);
                    return ms;
                });
            };
            run.Go(SB_VERT, SB_TOP);
            const double top = step();
            run.Go(SB_VERT, SB_BOTTOM);
            run.Go(SB_VERT, SB_PAGEUP, 2);
            const double end = step();
            Report({std::string(stepName) + " at the end, " + wrapName + ", " +
                        std::to_string(run.Lines()) + " lines",
                    end, std::string(stepName) + " at the top", top, 2});
        }
    }
    ViewRun run(single, ENV_WRAP_NONE);
    const auto stepAt = [&](int column) {
        run.View()->SetScrollPos(SB_HORZ, column);
        run.View()->RedrawWindow();
        return MedianOf(g_options.repeat * 4, [&] {
            const double ms = run.Step(SB_HORZ, SB_LINERIGHT);
            run.Step(SB_HORZ, SB_LINELEFT);
            return ms;
        });
    };
    const double atZero = stepAt(0);
    Report({"horizontal step at column 1,000,000, one 50 MB line", stepAt(1000000),
            "the step at column 0", atZero, 2});
    SCROLLINFO info{};
    run.View()->GetScrollInfo(SB_HORZ, &info);
    Report(
        {"horizontal step at the end (column " + std::to_string(info.nMax - int(info.nPage)) + ")",
         stepAt(info.nMax - int(info.nPage)), "the step at column 0", atZero, 2});
}

// ---- copying ----

// Ctrl+A and Copy, which is what the user waits for, and the UTF-8 text a
// paste asks for, produced by the clipboard's own formats.
void MeasureCopy(const fs::path& mixed) {
    Section("select all and copy, off screen");
    const double iconv = MedianOf(g_options.repeat, [&] { return RunIconv(mixed); });
    ViewRun run(mixed, ENV_WRAP_NONE);
    auto* view = static_cast<CTAVOView*>(run.View());
    const double copy = MedianOf(g_options.repeat, [&] {
        // A fresh layout lets the previous selection, and the copy the view
        // keeps of it, go.
        view->OnUpdate(nullptr, 0, nullptr);
        return TimeMs([&] {
            view->OnKeyDown('A', 1, MK_CONTROL);
            view->OnEditCopy();
            view->UpdateWindow();
        });
    });
    Report({"Ctrl+A and Copy, 100 MB mixed", copy, "iconv on the same file", iconv, 0.1});
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    qsizetype utf8 = 0;
    const double produce = MedianOf(g_options.repeat, [&] {
        return TimeMs([&] { utf8 = data->data(QStringLiteral("text/plain")).size(); });
    });
    Report({"the copy's UTF-8 text, as a paste asks for it", produce, "iconv on the same file",
            iconv, 1});
    // The copy holds the selected bytes; the text exists only while asked for.
    const double held = double(data->data(QStringLiteral("text/plain;charset=ISO-2022-JP")).size());
    Report({"  the copy's memory", held / MB, "its UTF-8 text", double(utf8) / MB, 1, "MiB"});
}

// ---- the real program under X ----

// A copy of the program beside an env file of its own: no wrapping, or
// wrapping at the window.
std::string ProgramWithWrap(WORD wrap) {
    const fs::path dir = g_options.dir / (wrap == ENV_WRAP_NONE ? "x-nowrap" : "x-wrap");
    fs::create_directories(dir);
    const fs::path program = dir / "tavo";
    fs::copy_file(g_options.tavo, program, fs::copy_options::overwrite_existing);
    EnvStore store(program.c_str());
    store.SetDefaults();
    store.m_env.wWrap = wrap;
    store.Save();
    fs::remove(dir / "tavo.ini");
    return program.string();
}

struct FrameFigures {
    double firstFrame = -1;
    double firstText = -1; // the first frame whose text is the file's
    long peakKiB = 0;
};

// Memory the host lent and took back is cleared page by page again when a
// program asks for it; touching and freeing this much before a run makes
// the program meet memory in that state, as it does after the machine has
// been idle, instead of the warm pages the previous run let go.
constexpr std::size_t HANDED_BACK = std::size_t(600) << 20;

void HandMemoryBack() {
    void* block =
        mmap(nullptr, HANDED_BACK, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (block == MAP_FAILED) {
        return;
    }
    const long page = sysconf(_SC_PAGESIZE);
    for (std::size_t at = 0; at < HANDED_BACK; at += std::size_t(page)) {
        static_cast<volatile char*>(block)[at] = 1;
    }
    munmap(block, HANDED_BACK);
}

// The first frame that shows the file as it finally stands, by a
// reference taken once the window was quiet; with coldMemory, memory is
// handed back before every measured run.
FrameFigures FirstFrame(XProbe& probe, const std::string& program, const fs::path& file,
                        double timeoutMs, bool coldMemory, const char* screenshot = nullptr) {
    probe.Start({program, file.string()});
    const XProbe::Picture reference = probe.WaitUntilQuiet(1500, timeoutMs);
    probe.Finish();
    if (screenshot != nullptr) {
        probe.SavePicture(reference, (g_options.dir / screenshot).string());
    }
    std::vector<double> times;
    std::vector<double> textTimes;
    std::vector<double> peaks;
    for (int i = 0; i < g_options.repeat; ++i) {
        if (coldMemory) {
            HandMemoryBack();
        }
        probe.Start({program, file.string()});
        const double text = probe.WaitForText(reference, timeoutMs);
        textTimes.push_back(text);
        times.push_back(probe.Shows(reference) ? text : probe.WaitFor(reference, timeoutMs));
        peaks.push_back(double(probe.Finish()));
    }
    return {Median(times), Median(textTimes), long(Median(peaks))};
}

// From a key to the frame it changes the window to.
double KeyToFrame(XProbe& probe, const std::string& program, const fs::path& file, const char* key,
                  bool control) {
    probe.Start({program, file.string()});
    probe.WaitUntilQuiet(1500, 60000);
    probe.PressKey(key, control);
    const XProbe::Picture changed = probe.WaitUntilQuiet(1000, 20000);
    probe.Finish();
    std::vector<double> times;
    for (int i = 0; i < g_options.repeat; ++i) {
        probe.Start({program, file.string()});
        probe.WaitUntilQuiet(1000, 60000);
        probe.PressKey(key, control);
        times.push_back(probe.WaitFor(changed, 20000));
        probe.Finish();
    }
    return Median(times);
}

void MeasureUnderX(const std::map<std::string, fs::path>& files) {
    XProbe probe;
    if (!probe.IsOpen()) {
        std::printf("\nno X display with DAMAGE and MIT-SHM: the figures of the real program are "
                    "left out\n");
        return;
    }
    Section("the real program under X: process start to the first frame showing the file");
    const std::string plain = ProgramWithWrap(ENV_WRAP_NONE);
    const std::string wrapped = ProgramWithWrap(ENV_WRAP_WINDOW);
    const FrameFigures empty = FirstFrame(probe, plain, files.at("empty"), 20000, false);
    const FrameFigures emptyCold = FirstFrame(probe, plain, files.at("empty"), 20000, true);
    Report({"first frame, empty file", empty.firstFrame, "", 0, 0});
    Report({"first frame, empty file, memory handed back", emptyCold.firstFrame, "", 0, 0});
    // Warm and with memory handed back, each less the empty file's first
    // frame measured the same way.
    const auto frame = [&](const std::string& name, const std::string& program, const char* how,
                           double goal, double coldGoal, double timeoutMs, const char* shot) {
        const fs::path& file = files.at(name);
        const FrameFigures figures = FirstFrame(probe, program, file, timeoutMs, false, shot);
        const FrameFigures cold = FirstFrame(probe, program, file, timeoutMs, true);
        const double iconv =
            MedianOf(std::min(g_options.repeat, 3), [&] { return RunIconv(file); });
        Report({"first frame - empty, " + name + how, figures.firstFrame - empty.firstFrame,
                "iconv on the same file", iconv, goal});
        Report({"  the same, memory handed back", cold.firstFrame - emptyCold.firstFrame,
                "iconv on the same file", iconv, 0});
        // The file's first screen, while the rest may still be loading.
        Report({"  its text, memory handed back", cold.firstText - emptyCold.firstFrame,
                "iconv on the same file", iconv, coldGoal});
        CTAVODoc doc;
        LoadMs(file, &doc);
        const double bound =
            double(fs::file_size(file)) / 1024 + 24.0 * doc.m_nLines / 1024 + 64 * 1024;
        Report({"peak memory, " + name, double(figures.peakKiB) / 1024,
                "size + 24 B a line + 64 MB", bound / 1024, 1, "MiB"});
    };
    frame("100 MB mixed", plain, "", 0.4, 0.1, 60000, "frame-100mb.ppm");
    frame("100 MB mixed", wrapped, ", wrapped at the window", 0.4, 0, 60000,
          "frame-100mb-wrapped.ppm");
    frame("100 MB short lines", plain, "", 1.5, 0, 60000, "frame-short.ppm");
    if (files.count("2 GB zero bytes") != 0) {
        frame("2 GB zero bytes", plain, "", 0, 0.02, 600000, "frame-2gb.ppm");
    }
    Section("keys through X: key press to the changed frame");
    Report({"Ctrl+End, 100 MB mixed",
            KeyToFrame(probe, plain, files.at("100 MB mixed"), "End", true), "16 ms", 16, 1});
    Report({"End, one 50 MB line",
            KeyToFrame(probe, plain, files.at("50 MB one line"), "End", false), "16 ms", 16, 1});
    if (files.count("2 GB zero bytes") != 0) {
        Report({"End, 2 GB zero bytes (one line)",
                KeyToFrame(probe, plain, files.at("2 GB zero bytes"), "End", false), "16 ms", 16,
                0});
    }
}

} // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    const bool cold = std::find(args.begin(), args.end(), "--cold-paint") != args.end();
    unsigned screen = 0;
    std::string glyphCache;
    // The suite's own windows stay off screen; the program under test gets
    // the display.
    int qtArgc = 3;
    char platform[] = "-platform";
    char offscreen[] = "offscreen";
    char* qtArgv[] = {argv[0], platform, offscreen, nullptr};
    QApplication app(qtArgc, qtArgv);
    fs::path firstPage;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--screen" && i + 1 < args.size()) {
            screen = unsigned(std::atoi(args[++i].c_str()));
        } else if (args[i] == "--glyph-cache" && i + 1 < args.size()) {
            glyphCache = args[++i];
        } else if (args[i] == "--dir" && i + 1 < args.size()) {
            g_options.dir = args[++i];
        } else if (args[i] == "--tavo" && i + 1 < args.size()) {
            g_options.tavo = args[++i];
        } else if (args[i] == "--repeat" && i + 1 < args.size()) {
            g_options.repeat = std::max(1, std::atoi(args[++i].c_str()));
        } else if (args[i] == "--no-2gb") {
            g_options.large = false;
        } else if (args[i] == "--paint-only") {
            g_options.paintOnly = true;
        } else if (args[i] == "--copy-only") {
            g_options.copyOnly = true;
        } else if (args[i] == "--first-page" && i + 1 < args.size()) {
            firstPage = args[++i];
        }
    }
    if (cold) {
        return ColdPaintChild(screen, glyphCache);
    }
    if (!firstPage.empty()) {
        return FirstPageChild(firstPage);
    }
    if (g_options.paintOnly) {
        MeasurePainting(argv[0]);
        return 0;
    }
    if (g_options.dir.empty() || g_options.tavo.empty()) {
        std::fprintf(stderr, "usage: tavo_bench --dir DIR --tavo PROGRAM [--repeat N] [--no-2gb]\n"
                             "       tavo_bench --dir DIR --tavo PROGRAM --copy-only [--repeat N]\n"
                             "       tavo_bench --paint-only [--repeat N]\n");
        return 2;
    }
    fs::create_directories(g_options.dir);
    std::printf("making the inputs in %s\n", g_options.dir.c_str());
    if (g_options.copyOnly) {
        MeasureCopy(Input("mixed-100mb.jis", [] { return jis::MixedText(100 * MB); }));
        return 0;
    }
    std::map<std::string, fs::path> files = {
        {"1 MB mixed", Input("mixed-1mb.jis", [] { return jis::MixedText(1 * MB); })},
        {"10 MB mixed", Input("mixed-10mb.jis", [] { return jis::MixedText(10 * MB); })},
        {"100 MB mixed", Input("mixed-100mb.jis", [] { return jis::MixedText(100 * MB); })},
        {"100 MB short lines", Input("short-100mb.jis", [] { return jis::ShortLines(100 * MB); })},
        {"50 MB one line", Input("single-50mb.jis", [] { return jis::SingleLine(50 * MB); })},
        {"empty", Input("empty.jis", [] { return std::string(); })},
    };
    if (g_options.large) {
        files["2 GB zero bytes"] = ZeroFile("zero-2gb.jis", std::uint64_t(2048) * MB);
    }
    std::map<std::string, fs::path> loads = files;
    loads.erase("empty");
    MeasureLoads(loads);
    MeasureCountRows(files.at("100 MB mixed"), files.at("100 MB short lines"), 210);
    MeasureSearch(files.at("100 MB mixed"));
    MeasureCheck(files.at("100 MB mixed"));
    MeasureCopy(files.at("100 MB mixed"));
    MeasurePainting(argv[0]);
    MeasureScrolling(files.at("100 MB short lines"), files.at("50 MB one line"));
    MeasurePrinting(argv[0], files.at("10 MB mixed"), files.at("100 MB mixed"));
    MeasureUnderX(files);
    return 0;
}
