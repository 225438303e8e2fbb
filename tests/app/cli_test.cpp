// The tavo executable started as a user starts it, without any display:
// what it prints and its exit status for all it can answer without one.
#include "support/pdf.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include <sys/wait.h>
#include <unistd.h>

namespace {

struct Outcome {
    int status;
    std::string out;
    std::string err;
};

std::string Slurp(const std::filesystem::path& path) {
    std::ostringstream text;
    text << std::ifstream(path).rdbuf();
    std::filesystem::remove(path);
    return text.str();
}

// Runs "tavo args" with no display to open and no platform named.
Outcome Tavo(const std::string& args) {
    const auto dir = std::filesystem::temp_directory_path();
    const auto out = dir / ("tavo_cli_out_" + std::to_string(::getpid()));
    const auto err = dir / ("tavo_cli_err_" + std::to_string(::getpid()));
    const std::string command = "env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM '" +
                                std::string(TAVO_EXECUTABLE) + "' " + args + " >" + out.string() +
                                " 2>" + err.string() + " </dev/null";
    const int raw = std::system(command.c_str());
    return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, Slurp(out), Slurp(err)};
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

TEST(ExecutableTest, WithoutADisplayItSaysSoInOneLineAndPrintsIntoAPdfFile) {
    const Outcome run = Tavo("-- --missing.jis");
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, "tavo: no display could be opened (is DISPLAY set?); "
                       "/pt FILE OUT.pdf prints without one\n");

    const std::string pdf = std::filesystem::temp_directory_path() /
                            ("tavo_cli_" + std::to_string(::getpid()) + ".pdf");
    const Outcome printed = Tavo("/pt '" TAVO_SAMPLES_DIR "/features.jis' " + pdf);
    EXPECT_EQ(printed.status, 0) << printed.err;
    EXPECT_EQ(PdfPageCount(pdf), 1);
    std::filesystem::remove(pdf);
}

} // namespace
