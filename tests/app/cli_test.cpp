// The tavo executable started as a user starts it: what it prints, its exit
// status, and that it never needs a window for what it can answer at once.
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
    return text.str();
}

// Runs "tavo args" without any display: what it answers must not need one.
Outcome Tavo(const std::string& args) {
    const auto dir = std::filesystem::temp_directory_path();
    const auto out = dir / ("tavo_cli_out_" + std::to_string(::getpid()));
    const auto err = dir / ("tavo_cli_err_" + std::to_string(::getpid()));
    const std::string command = "env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM '" +
                                std::string(TAVO_EXECUTABLE) + "' " + args + " >" + out.string() +
                                " 2>" + err.string() + " </dev/null";
    const int raw = std::system(command.c_str());
    Outcome run{WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, Slurp(out), Slurp(err)};
    std::filesystem::remove(out);
    std::filesystem::remove(err);
    return run;
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

TEST(ExecutableTest, WrongCommandLinesAreUsageErrors) {
    for (const char* args :
         {"--bogus", "-x samples.jis", "a.jis b.jis", "/p", "/pt a.jis", "/pt a.jis out.pdf /p"}) {
        const Outcome run = Tavo(args);
        EXPECT_EQ(run.status, 2) << args;
        EXPECT_EQ(run.out, "") << args;
        EXPECT_NE(run.err.find("Try 'tavo --help' for more information.\n"), std::string::npos)
            << args;
    }
    EXPECT_EQ(Tavo("--bogus").err.rfind("tavo: unknown option '--bogus'\n", 0), 0u);
}

TEST(ExecutableTest, WithoutADisplayItSaysSoInOneLine) {
    const Outcome run = Tavo("-- missing.jis");
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, "tavo: no display could be opened (is DISPLAY set?); "
                       "/pt FILE OUT.pdf prints without one\n");
}

} // namespace
