// The tavo executable started as a user starts it, without any display:
// what it prints and its exit status for all it can answer without one,
// printing into a PDF file included.
#include "platform/ui/ui_fixture.h"
#include "support/bytes.h"
#include "support/pdf.h"

#include <QPrinterInfo>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include <sys/wait.h>
#include <unistd.h>

namespace {

struct Outcome {
    int status;
    std::string out;
    std::string err;
};

// Runs "tavo args" with no display to open and no platform named.
Outcome Tavo(const std::string& args) {
    const auto dir = std::filesystem::temp_directory_path();
    const auto out = dir / ("tavo_cli_out_" + std::to_string(::getpid()));
    const auto err = dir / ("tavo_cli_err_" + std::to_string(::getpid()));
    const std::string command = "env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM '" +
                                std::string(TAVO_EXECUTABLE) + "' " + args + " >" + out.string() +
                                " 2>" + err.string() + " </dev/null";
    const int raw = std::system(command.c_str());
    const Outcome outcome = {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, ReadBytes(out),
                             ReadBytes(err)};
    std::filesystem::remove(out);
    std::filesystem::remove(err);
    return outcome;
}

TEST(ExecutableTest, HelpAndVersionInBothSpellings) {
    for (const char* help : {"--help", "-h"}) {
        const Outcome run = Tavo(help);
        EXPECT_EQ(run.status, 0) << help;
        EXPECT_EQ(run.out.rfind("Usage: tavo [FILE]\n", 0), 0u) << help;
        EXPECT_EQ(run.err, "");
    }
    for (const char* version : {"--version", "-V"}) {
        const Outcome run = Tavo(version);
        EXPECT_EQ(run.status, 0) << version;
        EXPECT_EQ(run.out, "tavo 0.0.0.1\n");
    }
}

TEST(ExecutableTest, WrongCommandLinesAreUsageErrorsThatSayWhatIsWrong) {
    const std::pair<const char*, const char*> cases[] = {
        {"--bogus a.jis", "unknown option '--bogus'"},
        {"-x -y", "unknown option '-x'"}, // the first fault is the one told
        {"a.jis b.jis", "only one file can be given"},
        {"/p a.jis b.jis", "only one file can be given"},
        {"/p --", "/p needs the file to print"},
        {"/pt a.jis", "/pt needs the file to print and a printer"},
        {"/pt a b c d e", "too many arguments for /pt"},
        {"/pt a.jis out.pdf /p", "only one of /p and /pt can be given"},
    };
    for (const auto& [args, message] : cases) {
        const Outcome run = Tavo(args);
        EXPECT_EQ(run.status, 2) << args;
        EXPECT_EQ(run.out, "") << args;
        EXPECT_EQ(run.err,
                  "tavo: " + std::string(message) + "\nTry 'tavo --help' for more information.\n");
    }
}

TEST(ExecutableTest, WithoutADisplayItSaysSoInOneLine) {
    const Outcome run = Tavo("-- --missing.jis");
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, "tavo: no display could be opened (is DISPLAY set?); "
                       "/pt FILE OUT.pdf prints without one\n");
}

bool EndsWith(const std::string& text, const std::string& end) {
    return text.size() >= end.size() &&
           text.compare(text.size() - end.size(), end.size(), end) == 0;
}

// Printing into a PDF file needs no display; each way it can fail ends with
// status 1 and its message.
TEST(ExecutableTest, PrintsIntoAPdfFileWithoutADisplayOrSaysWhyNot) {
    const std::string features = TAVO_SAMPLES_DIR "/features.jis";
    const auto dir =
        std::filesystem::temp_directory_path() / ("tavo_cli_" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    const std::string out = (dir / "out.pdf").string();
    // Driver and port are taken and left alone.
    const Outcome printed = Tavo("-pt " + features + " " + out + " driver port");
    EXPECT_EQ(printed.status, 0) << printed.err;
    EXPECT_EQ(PdfPageCount(out), 1);
    EXPECT_EQ(PdfPageLines(out, 1).back(), "Last line without terminator");
    std::filesystem::remove(out);

    const std::string missing = (dir / "missing.jis").string();
    const std::string unwritable = (dir / "no" / "out.pdf").string();
    std::vector<std::pair<std::string, std::string>> failures = {
        {"/pt " + missing + " " + out, missing + ": ファイルが見つかりません。"},
        {"/pt " + features + " 'no such printer'",
         "no such printer: このプリンタは見つかりません。"},
        {"/pt " + features + " " + unwritable, unwritable + ": ファイルに書き込めません。"},
    };
    TestApplication();
    if (QPrinterInfo::availablePrinterNames().isEmpty()) {
        failures.push_back({"/P " + features, "プリンタが設定されていません。"});
    }
    for (const auto& [args, message] : failures) {
        const Outcome run = Tavo(args);
        EXPECT_EQ(run.status, 1) << args;
        EXPECT_TRUE(EndsWith(run.err, "tavo: " + message + "\n")) << run.err;
    }
    EXPECT_FALSE(std::filesystem::exists(out));
    std::filesystem::remove_all(dir);
}

} // namespace
