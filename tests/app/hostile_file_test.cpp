// Hostile files opened, painted, scrolled and re-laid out; and the file on
// screen, which nothing the user does changes.
#include "envdialog/envdialog_fixture.h"

#include <QTest>

#include <chrono>

namespace {

namespace fs = std::filesystem;

class HostileFileTest : public EnvDialogTest {
protected:
    // Paints and scrolls unwrapped, then wrapped at the window's width and
    // after a resize.
    void PaintAndScrollEverywhere() {
        for (const WORD wrap : {WORD(ENV_WRAP_NONE | 80), WORD(ENV_WRAP_WINDOW | 80)}) {
            Env().wWrap = wrap;
            PaintAndScroll();
            Window()->resize(Window()->width() - 37, Window()->height() + 23);
            ProcessEvents();
            View()->GetSafeHwnd()->grab();
        }
    }
};

TEST_F(HostileFileTest, AnyBytesAtAllAreShownWithoutComplaint) {
    const std::pair<const char*, std::string> files[] = {
        {"random.bin", RandomBytes(1 << 20, 11)},
        {"escapes.jis", std::string(20000, '\x1b')},
        {"ff.bin", std::string(1 << 16, '\xff')},
        {"lead-at-end.jis", "text\n\x1b$B0"},
        {"long-line.jis", std::string(10'000'000, 'x')},
        {"empty-lines.jis", std::string(20'000'000, '\n')},
    };
    for (const auto& [name, bytes] : files) {
        SCOPED_TRACE(name);
        ASSERT_NE(app->OpenDocumentFile(WriteFile(name, bytes).c_str()), nullptr);
        EXPECT_EQ(Title(), name + std::string(" - TAVO"));
        EXPECT_EQ(Doc()->m_nLength, bytes.size());
        PaintAndScrollEverywhere();
        EXPECT_TRUE(messages.empty());
        EXPECT_TRUE(Window()->isVisible());
        std::filesystem::remove(dir / name);
    }
}

// The fixture checks at the end that the file kept its bytes and its time.
TEST_F(HostileFileTest, NothingTheUserDoesChangesTheFileOnScreen) {
    const std::string path =
        WriteFile("viewed.jis", "\x1b$B0!\x1b(B line\n\tsecond\f\n" + std::string(300, 'x'));
    // An old time, so that any write would show.
    fs::last_write_time(path, fs::last_write_time(path) - std::chrono::hours(24));
    ASSERT_NE(app->OpenDocumentFile(path.c_str()), nullptr);
    PaintAndScrollEverywhere();
    View()->OnMouseWheel(0, -3 * WHEEL_DELTA, {});
    ASSERT_TRUE(app->SelectPrinter((dir / "out.pdf").string()));
    EXPECT_TRUE(Frame()->ExecuteCommand(ID_FILE_PRINT_DIRECT));
    EXPECT_TRUE(fs::exists(dir / "out.pdf"));
    ASSERT_TRUE(Settings([](CEnvDialog& dialog) {
        Click(dialog, IDC_LINE_NUMBERS);
        Click(dialog, IDOK);
    }));
    EXPECT_TRUE(fs::exists(EnvPath()));
    QShortcut* save = Accelerator("Ctrl+S");
    ASSERT_NE(save, nullptr);
    emit save->activated();
    QTest::keyClick(Window(), Qt::Key_S, Qt::ControlModifier);
    EXPECT_FALSE(Frame()->ExecuteCommand(ID_FILE_SAVE)); // there is no such command
    ProcessEvents();
    EXPECT_EQ(messages, std::vector<std::string>{});
}

} // namespace
