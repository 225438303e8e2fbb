// Printing from the command line: /pt into a PDF file, no window, and the
// exit status and message of every way it can fail.
#include "app_fixture.h"

#include "support/pdf.h"

#include <QPrinterInfo>

namespace {

const std::string FEATURES = std::string(TAVO_SAMPLES_DIR) + "/features.jis";

class PrintCommandTest : public AppTest {
protected:
    // Runs "tavo args..."; returns the exit status, with what went to stderr.
    int Run(std::vector<std::string> args) {
        ::testing::internal::CaptureStderr();
        EXPECT_FALSE(Start(std::move(args))); // printing always ends the program
        const bool shown = app->m_pMainWnd != nullptr && Window()->isVisible();
        EXPECT_FALSE(shown);
        err = ::testing::internal::GetCapturedStderr();
        return Stop();
    }

    std::string err;
};

TEST_F(PrintCommandTest, PrintsIntoAPdfFileWithoutShowingAWindow) {
    const std::string out = (dir / "out.pdf").string();
    EXPECT_EQ(Run({"/pt", FEATURES, out}), 0);
    EXPECT_EQ(err, "");
    EXPECT_EQ(PdfPageCount(out), 1);
    const std::vector<std::string> lines = PdfPageLines(out, 1);
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines.back(), "Last line without terminator");
    EXPECT_TRUE(messages.empty());
}

TEST_F(PrintCommandTest, FailuresGoToStandardErrorWithStatusOne) {
    const std::string out = (dir / "out.pdf").string();
    const std::string missing = (dir / "missing.jis").string();
    struct Case {
        std::vector<std::string> args;
        std::string message;
    };
    const Case cases[] = {
        {{"/pt", missing, out}, missing + ": ファイルが見つかりません。"},
        {{"/pt", FEATURES, "no such printer"}, "no such printer: このプリンタは見つかりません。"},
        {{"/pt", FEATURES, (dir / "no" / "out.pdf").string()},
         (dir / "no" / "out.pdf").string() + ": ファイルに書き込めません。"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args[2]);
        EXPECT_EQ(Run(c.args), 1);
        EXPECT_EQ(err, "tavo: " + c.message + "\n");
        EXPECT_TRUE(messages.empty()); // no box without a window
    }
    EXPECT_FALSE(std::filesystem::exists(out));
}

TEST_F(PrintCommandTest, DefaultPrinterThatIsNotThereIsAFailure) {
    if (!QPrinterInfo::availablePrinterNames().isEmpty()) {
        GTEST_SKIP() << "this system has a printer";
    }
    EXPECT_EQ(Run({"/p", FEATURES}), 1);
    EXPECT_EQ(err, "tavo: プリンタが設定されていません。\n");
}

} // namespace
