// Time of one full 1920 x 1080 screen of cells drawn through the painter,
// against Qt drawing the same text a row at a time, in the same run.
#include "platform/gdi/gdi.h"
#include "platform/gdi/sjis.h"
#include "render/charpainter.h"
#include "settings/envsettings.h"

#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

namespace {

constexpr int WIDTH = 1920;
constexpr int HEIGHT = 1080;

EnvSettings Settings() {
    EnvStore store("/nowhere/tavo.exe");
    store.SetDefaults();
    return store.m_env;
}

// A line of mixed ASCII and JIS kanji, as the document keeps it, wider
// than the screen.
std::string JisLine() {
    std::string line;
    while (line.size() < 600) {
        line += "The quick brown fox, 0123456789: ";
        line += "\x1b$B\x34\x41\x3B\x7A\x24\x48\x24\x2B\x24\x4A\x25\x2B\x25\x3F\x25\x2B\x25\x4A";
        line += "\x1b(B";
    }
    return line + "\n";
}

// The same line decoded for Qt.
QString DecodedLine(const std::string& jis) {
    QString text;
    bool twoByte = false;
    for (size_t i = 0; i < jis.size(); ++i) {
        if (jis[i] == '\x1b') {
            twoByte = jis[i + 1] == '$';
            i += 2;
            continue;
        }
        if (twoByte) {
            BYTE pair[2] = {BYTE(jis[i]), BYTE(jis[i + 1])};
            JisToSjis(pair);
            text += QChar(DecodeSjisPair(pair[0], pair[1]));
            ++i;
        } else {
            text += QChar(jis[i]);
        }
    }
    return text;
}

void BM_PainterFullScreen(benchmark::State& state) {
    const EnvSettings env = Settings();
    const std::string line = JisLine();
    QImage image(WIDTH, HEIGHT, QImage::Format_RGB32);
    int rows = 0;
    for (auto _ : state) {
        CDC dc;
        dc.AttachImage(&image);
        dc.FillSolidRect(0, 0, WIDTH, HEIGHT, env.crColor[ENV_CLR_GROUND]);
        CCharPainter painter(&dc, &env);
        painter.m_rcPaint = {0, 0, WIDTH, HEIGHT};
        painter.m_bConvert = TRUE;
        rows = HEIGHT / int(painter.m_cyCell) + 1;
        for (int row = 0; row < rows; ++row) {
            painter.DrawRun(CHARSET_ASCII, 0, row, reinterpret_cast<const BYTE*>(line.data()),
                            int(line.size()));
        }
        painter.Restore();
    }
    state.counters["rows"] = rows;
}
BENCHMARK(BM_PainterFullScreen)->Unit(benchmark::kMillisecond);

// Baseline: Qt's own text drawing of the same screen, one call per row.
void BM_QtDrawTextPerRow(benchmark::State& state) {
    const QString text = DecodedLine(JisLine());
    QImage image(WIDTH, HEIGHT, QImage::Format_RGB32);
    QFont font(QStringLiteral("IPAGothic"));
    font.setPixelSize(12);
    for (auto _ : state) {
        QPainter painter(&image);
        painter.fillRect(image.rect(), Qt::white);
        painter.setFont(font);
        const int height = painter.fontMetrics().height();
        for (int y = 0; y < HEIGHT + height; y += height) {
            painter.drawText(0, y + painter.fontMetrics().ascent(), text);
        }
    }
}
BENCHMARK(BM_QtDrawTextPerRow)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    int qtArgc = 1;
    QGuiApplication app(qtArgc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
