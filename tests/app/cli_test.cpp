// The tavo executable started as a user starts it, without any display:
// what it prints and its exit status for all it can answer without one,
// printing into a PDF file included.
#include "platform/ui/ui_fixture.h"
#include "support/bytes.h"
#include "support/pdf.h"
#include "support/small_disk.h"

#include <QPrinterInfo>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
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

// Help and version in both spellings, usage errors that tell the first
// fault, and files to show without a display: what each prints and its
// status.
TEST(ExecutableTest, EachCommandLineSaysWhatItMustAndEndsWithItsStatus) {
    const std::string usage = "\nTry 'tavo --help' for more information.\n";
    const std::string noDisplay =
        "tavo: no display could be opened (is DISPLAY set?); /pt FILE OUT.pdf prints without one\n";
    const struct {
        const char* args;
        int status;
        std::string out; // the start of it
        std::string err;
    } cases[] = {
        {"--help", 0, "Usage: tavo [FILE]\n", ""},
        {"-h", 0, "Usage: tavo [FILE]\n", ""},
        {"--version", 0, "tavo 0.0.0.1\n", ""},
        {"-V", 0, "tavo 0.0.0.1\n", ""},
        {"--bogus a.jis", 2, "", "tavo: unknown option '--bogus'" + usage},
        {"-x -y", 2, "", "tavo: unknown option '-x'" + usage},
        {"a.jis b.jis", 2, "", "tavo: only one file can be given" + usage},
        {"/p a.jis b.jis", 2, "", "tavo: only one file can be given" + usage},
        {"/p --", 2, "", "tavo: /p needs the file to print" + usage},
        {"/pt a.jis", 2, "", "tavo: /pt needs the file to print and a printer" + usage},
        {"/pt a b c d e", 2, "", "tavo: too many arguments for /pt" + usage},
        {"/pt a.jis out.pdf /p", 2, "", "tavo: only one of /p and /pt can be given" + usage},
        // Files, named like switches too, get as far as the display.
        {"", 1, "", noDisplay},
        {"/home/user/text.jis", 1, "", noDisplay},
        {"/pt/x.jis", 1, "", noDisplay},
        {"-- -p", 1, "", noDisplay},
        {"-", 1, "", noDisplay},
    };
    for (const auto& c : cases) {
        const Outcome run = Tavo(c.args);
        EXPECT_EQ(run.status, c.status) << c.args;
        EXPECT_EQ(run.out.substr(0, c.out.size()), c.out) << c.args;
        EXPECT_EQ(run.out.empty(), c.out.empty()) << c.args;
        EXPECT_EQ(run.err, c.err) << c.args;
    }
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
        {"/pt " + features + " " + unwritable,
         unwritable + ": ファイルに書き込めません。ファイルが見つかりません。"},
    };
    TestApplication();
    if (QPrinterInfo::availablePrinterNames().isEmpty()) {
        failures.push_back({"/P " + features, "プリンタが設定されていません。"});
    }
    for (const auto& [args, message] : failures) {
        const Outcome run = Tavo(args);
        EXPECT_EQ(run.status, 1) << args;
        EXPECT_TRUE(run.err.ends_with("tavo: " + message + "\n")) << run.err;
    }
    EXPECT_FALSE(std::filesystem::exists(out));
    std::filesystem::remove_all(dir);
}

// A job whose output is the file it prints, by any name, or that has no
// page to print, writes nothing, says why and ends with status 1.
TEST(ExecutableTest, PrintingRefusesToWriteOverItsFileAndToPrintNothing) {
    namespace fs = std::filesystem;
    const auto dir = fs::temp_directory_path() / ("tavo_cli_same_" + std::to_string(::getpid()));
    fs::create_directories(dir);
    const std::string text = ReadBytes(TAVO_SAMPLES_DIR "/features.jis");
    WriteBytes(dir / "same.pdf", text);
    WriteBytes(dir / "f.jis", text);
    fs::create_symlink("f.jis", dir / "l.pdf");
    fs::create_hard_link(dir / "f.jis", dir / "h.pdf");
    WriteBytes(dir / "empty.jis", "");
    WriteBytes(dir / "stale.pdf", "an older job");
    const auto old = fs::file_time_type::clock::now() - std::chrono::hours(24);
    for (const char* name : {"same.pdf", "f.jis", "stale.pdf"}) {
        fs::last_write_time(dir / name, old);
    }
    const std::string refused = "表示中のファイルには印刷できません。\n";
    const std::string nothing = "印刷するページがありません。\n";
    const std::pair<std::string, std::string> cases[] = {
        {"same.pdf same.pdf", "same.pdf: " + refused},
        {"f.jis l.pdf", "l.pdf: " + refused},
        {"f.jis h.pdf", "h.pdf: " + refused},
        {"empty.jis stale.pdf", "empty.jis: " + nothing},
        {"empty.jis missing/out.pdf", "empty.jis: " + nothing},
    };
    for (const auto& [args, message] : cases) {
        std::istringstream words(args);
        std::string file;
        std::string output;
        words >> file >> output;
        const Outcome run = Tavo("/pt " + (dir / file).string() + " " + (dir / output).string());
        EXPECT_EQ(run.status, 1) << args;
        EXPECT_TRUE(run.err.ends_with((dir / message).string())) << run.err;
    }
    for (const char* name : {"same.pdf", "f.jis", "stale.pdf"}) {
        EXPECT_EQ(fs::last_write_time(dir / name), old) << name;
    }
    EXPECT_EQ(ReadBytes(dir / "same.pdf"), text);
    EXPECT_EQ(ReadBytes(dir / "f.jis"), text);
    EXPECT_TRUE(fs::is_symlink(dir / "l.pdf"));
    EXPECT_EQ(ReadBytes(dir / "stale.pdf"), "an older job");
    EXPECT_FALSE(fs::exists(dir / "missing"));
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), {}), 6); // no file left behind
    fs::remove_all(dir);
}

// A job that fails part way, on a disk that fills up, leaves the PDF file
// that was there before byte for byte, and no file of its own.
TEST(ExecutableTest, AFailedJobLeavesThePdfBeforeItAsItWas) {
    namespace fs = std::filesystem;
    const auto dir = fs::temp_directory_path() / ("tavo_cli_full_" + std::to_string(::getpid()));
    fs::create_directories(dir / "disk");
    const std::string before = (dir / "before.pdf").string();
    ASSERT_EQ(Tavo("/pt " TAVO_SAMPLES_DIR "/features.jis " + before).status, 0);
    const std::string old = ReadBytes(before);
    std::string text;
    for (int i = 0; i < 20000; ++i) {
        text += "line " + std::to_string(i) + " of a long document\n";
    }
    WriteBytes(dir / "long.jis", text);
    const fs::path out = dir / "disk" / "out.pdf";
    const int faults = OnASmallDisk(dir / "disk", "64k", [&] {
        WriteBytes(out, old);
        const Outcome run = Tavo("/pt " + (dir / "long.jis").string() + " " + out.string());
        return int(run.status != 1) |
               int(run.err.find("tavo: " + out.string() + ": ") == std::string::npos) << 1 |
               int(ReadBytes(out) != old) << 2 |
               int(std::distance(fs::directory_iterator(dir / "disk"), {}) != 1) << 3;
    });
    fs::remove_all(dir);
    if (faults == NO_SMALL_DISK) {
        GTEST_SKIP() << "no user namespaces here, so no small disk can be mounted";
    }
    // 1: the job did not fail; 2: it did not say which file; 4: the file
    // before it changed; 8: a file was left behind.
    EXPECT_EQ(faults, 0);
}

} // namespace
