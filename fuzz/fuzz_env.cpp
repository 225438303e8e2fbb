// Loads any bytes as the env file, then sets up a painter with what was
// read and draws with it on an image, and paints the settings dialog's
// preview pane with it, as the program does with a damaged env file.
#include "fuzz_support.h"

#include "envdialog/envpreview.h"
#include "render/charpainter.h"
#include "settings/envsettings.h"

#include <QApplication>
#include <QImage>
#include <QWidget>

#include <filesystem>
#include <fstream>

namespace {

std::filesystem::path g_dir;
CEnvPreview* g_pPreview = nullptr;

// Every set once, a tab, a full-width space, controls and the characters
// the corrections replace, on two rows.
const BYTE SAMPLE[] = "a\\~\t\x1b(J\\~\x1b$@!!0!\x1b$B!!0!\r\n\x1b(Bx\x01\x7f";

void RemoveDir() {
    std::filesystem::remove_all(g_dir);
}

void DrawOnImage(const EnvSettings& env) {
    QImage image(160, 48, QImage::Format_RGB32);
    CDC dc;
    dc.AttachImage(&image);
    CCharPainter painter(&dc, &env);
    painter.m_rcPaint = {0, 0, image.width(), image.height()};
    painter.m_bConvert = TRUE;
    painter.m_nWrapCol = env.wWrap & ENV_WRAP_COLUMN_MASK;
    painter.FillGutter(3);
    painter.DrawLineNumber(0, 0, 7);
    painter.DrawRun(CHARSET_ASCII, 3, 0, SAMPLE, -1);
    painter.DrawFormFeedRule(0);
    painter.Restore();
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    new QApplication(*argc, *argv); // for the whole run, as in the program
    char folder[] = "/tmp/tavo-fuzz-env-XXXXXX";
    FUZZ_CHECK(::mkdtemp(folder) != nullptr);
    g_dir = folder;
    std::atexit(RemoveDir);
    g_pPreview = new CEnvPreview;
    FUZZ_CHECK(g_pPreview->Create(nullptr));
    g_pPreview->GetOuterWidget()->resize(320, 80);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::filesystem::path module = g_dir / "tavo";
    std::ofstream(g_dir / "tavo.env", std::ios::binary)
        .write(reinterpret_cast<const char*>(data), std::streamsize(size));
    EnvStore store(module.c_str());
    store.Load();
    // The file's leading bytes, unchanged; what it does not reach stays zero.
    const std::size_t stored = std::min(size, sizeof store.m_env);
    const auto* record = reinterpret_cast<const std::uint8_t*>(&store.m_env);
    FUZZ_CHECK(stored == 0 || std::memcmp(record, data, stored) == 0);
    for (std::size_t i = stored; i < sizeof store.m_env; ++i) {
        FUZZ_CHECK(record[i] == 0);
    }

    DrawOnImage(store.m_env);
    g_pPreview->m_pEnv = &store.m_env;
    const QImage pane = g_pPreview->GetSafeHwnd()->grab().toImage();
    FUZZ_CHECK(!pane.isNull());
    g_pPreview->m_pEnv = nullptr;
    return 0;
}
