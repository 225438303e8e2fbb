// The tavo executable without any display: what it prints and its exit
// status, printing into a PDF file included.
#include "platform/ui/ui_fixture.h"
#include "support/bytes.h"
#include "support/pdf.h"
#include "support/small_disk.h"

#include <QPrinterInfo>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <string>
#include <tuple>

#include <sys/wait.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

struct Outcome {
    int status;
    std::string out;
    std::string err;
};

// Runs "tavo args" with no display to open and no platform named, its
// settings and glyph cache in a folder of its own.
Outcome Tavo(const std::string& args) {
    const auto dir = std::filesystem::temp_directory_path();
    const auto out = dir / ("tavo_cli_out_" + std::to_string(::getpid()));
    const auto err = dir / ("tavo_cli_err_" + std::to_string(::getpid()));
    const auto config = dir / ("tavo_cli_config_" + std::to_string(::getpid()));
    const std::string command = "env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "
                                "XDG_CONFIG_HOME='" +
                                config.string() + "' XDG_CACHE_HOME='" + config.string() + "' '" +
                                std::string(TAVO_EXECUTABLE) + "' " + args + " >" + out.string() +
                                " 2>" + err.string() + " </dev/null";
    const int raw = std::system(command.c_str());
    const Outcome outcome = {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, ReadBytes(out),
                             ReadBytes(err)};
    std::filesystem::remove(out);
    std::filesystem::remove(err);
    std::filesystem::remove_all(config);
    return outcome;
}

// Runs in a fresh folder of its own, with files written into it.
class ExecutableTest : public ::testing::Test {
protected:
    void SetUp() override { fs::create_directories(dir); }
    void TearDown() override { fs::remove_all(dir); }

    std::string File(const std::string& name, const std::string& bytes) const {
        WriteBytes(dir / name, bytes);
        return (dir / name).string();
    }

    const fs::path dir = fs::temp_directory_path() / ("tavo_cli_" + std::to_string(::getpid()));
};

// Help and version in both spellings, usage errors that tell the first
// fault, and files to show without a display.
TEST_F(ExecutableTest, EachCommandLineSaysWhatItMustAndEndsWithItsStatus) {
    const std::string usage = "\nTry 'tavo --help' for more information.\n";
    const std::string noDisplay =
        "tavo: no display could be opened (is DISPLAY set?); /pt FILE OUT.pdf prints without one\n";
    const std::tuple<const char*, int, std::string, std::string> cases[] = {
        // out: its start
        {"--help", 0, "Usage: tavo [FILE]\n", ""},
        {"-h", 0, "Usage: tavo [FILE]\n", ""},
        {"--version", 0, "tavo " TAVO_VERSION "\n", ""},
        {"-V", 0, "tavo " TAVO_VERSION "\n", ""},
        {"--bogus a.jis", 2, "", "tavo: unknown option '--bogus'" + usage},
        {"-x -y", 2, "", "tavo: unknown option '-x'" + usage},
        {"a.jis b.jis", 2, "", "tavo: only one file can be given" + usage},
        {"/p a.jis b.jis", 2, "", "tavo: only one file can be given" + usage},
        {"/p --", 2, "", "tavo: /p needs the file to print" + usage},
        {"/pt a.jis", 2, "", "tavo: /pt needs the file to print and a printer" + usage},
        {"/pt a b c d e", 2, "", "tavo: too many arguments for /pt" + usage},
        {"/pt a.jis out.pdf /p", 2, "", "tavo: only one of /p and /pt can be given" + usage},
        {"--check", 2, "", "tavo: --check needs the files to check" + usage},
        {"--check -- ", 2, "", "tavo: --check needs the files to check" + usage},
        {"a.jis --quiet", 2, "", "tavo: --quiet goes with --check only" + usage},
        {"--max 3 a.jis", 2, "", "tavo: --max goes with --check only" + usage},
        {"--check a.jis --max", 2, "", "tavo: --max needs a number of problems" + usage},
        {"--check --max 0 a.jis", 2, "",
         "tavo: --max needs a number of problems of 1 or more, not '0'" + usage},
        {"--check --max -1 a.jis", 2, "",
         "tavo: --max needs a number of problems of 1 or more, not '-1'" + usage},
        {"--check /pt a.jis out.pdf", 2, "",
         "tavo: --check cannot be given with /p or /pt" + usage},
        {"--check --bogus a.jis", 2, "", "tavo: unknown option '--bogus'" + usage},
        // Files, named like switches too, get as far as the display.
        {"", 1, "", noDisplay},
        {"/home/user/text.jis", 1, "", noDisplay},
        {"/pt/x.jis", 1, "", noDisplay},
        {"-- -p", 1, "", noDisplay},
        {"-", 1, "", noDisplay},
    };
    for (const auto& [args, status, out, err] : cases) {
        const Outcome run = Tavo(args);
        EXPECT_EQ(run.status, status) << args;
        EXPECT_EQ(run.out.substr(0, out.size()), out) << args;
        EXPECT_EQ(run.out.empty(), out.empty()) << args;
        EXPECT_EQ(run.err, err) << args;
    }
}

// Printing into a PDF file needs no display; each failure ends with status
// 1 and its message.
TEST_F(ExecutableTest, PrintsIntoAPdfFileWithoutADisplayOrSaysWhyNot) {
    const std::string features = TAVO_SAMPLES_DIR "/features.jis";
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
}

// A job whose output is its own file by any name, or without a page to
// print, writes nothing, says why and ends with status 1.
TEST_F(ExecutableTest, PrintingRefusesToWriteOverItsFileAndToPrintNothing) {
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
    const std::tuple<const char*, const char*, std::string> cases[] = {
        {"same.pdf", "same.pdf", "same.pdf: " + refused},
        {"f.jis", "l.pdf", "l.pdf: " + refused},
        {"f.jis", "h.pdf", "h.pdf: " + refused},
        {"empty.jis", "stale.pdf", "empty.jis: " + nothing},
        {"empty.jis", "missing/out.pdf", "empty.jis: " + nothing},
    };
    for (const auto& [file, output, message] : cases) {
        const Outcome run = Tavo("/pt " + (dir / file).string() + " " + (dir / output).string());
        EXPECT_EQ(run.status, 1) << output;
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
}

// A job failing on a full disk leaves the PDF before it byte for byte, and
// no file of its own.
TEST_F(ExecutableTest, AFailedJobLeavesThePdfBeforeItAsItWas) {
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
    if (faults == NO_SMALL_DISK) {
        GTEST_SKIP() << "no user namespaces here, so no small disk can be mounted";
    }
    // 1: the job did not fail; 2: it did not say which file; 4: the file
    // before it changed; 8: a file was left behind.
    EXPECT_EQ(faults, 0);
}

class CheckTest : public ExecutableTest {};

// Lines and columns count from 1, columns in cells: a tab moves to the
// next multiple of 4, a kanji takes two, designations take none.
TEST_F(CheckTest, EachProblemIsOneLineAtItsLineAndCellColumn) {
    const std::string clean = File("clean.jis", "ASCII\t\x1b$B0!\x1b(B\r\n\x0c\x1b(Jyen\\\n");
    const Outcome quiet = Tavo("--check " + clean);
    EXPECT_EQ(quiet.status, 0);
    EXPECT_EQ(quiet.out + quiet.err, "");

    const std::string dirty = File("dirty.jis", "ab\t\x07\n\x1b$B0!\x1b(B\x7f\x0c\xb1\x1b$B0!");
    const Outcome found = Tavo("--check " + dirty);
    EXPECT_EQ(found.status, 1);
    EXPECT_EQ(found.err, "");
    EXPECT_EQ(found.out, dirty + ":1:5: TAB, LF, FF, CR 以外の制御ｺｰﾄﾞ BEL (0x07)\n" + dirty +
                             ":2:3: TAB, LF, FF, CR 以外の制御ｺｰﾄﾞ DEL (0x7F)\n" + dirty +
                             ":3:1: 上位ﾋﾞｯﾄの立ったﾊﾞｲﾄ B1  ｱ  U+FF71\n" + dirty +
                             ":3:4: 2ﾊﾞｲﾄ文字のまま行が終わっている\n");
}

// An unreadable file is said on stderr and ends with status 2, whatever
// the others hold; they are still checked.
TEST_F(CheckTest, UnreadableFilesGiveStatusTwoAndTheOthersAreStillChecked) {
    const std::string clean = File("clean.jis", "clean\n");
    const std::string dirty = File("dirty.jis", "a\x07\n");
    const std::string missing = (dir / "missing.jis").string();
    const std::string folder = (dir / "folder").string();
    std::filesystem::create_directory(folder);
    const Outcome run = Tavo("--check " + clean + " " + missing + " " + folder + " " + dirty);
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.out, dirty + ":1:2: TAB, LF, FF, CR 以外の制御ｺｰﾄﾞ BEL (0x07)\n");
    EXPECT_NE(run.err.find("tavo: " + missing + ": ファイルが見つかりません。\n"),
              std::string::npos)
        << run.err;
    EXPECT_NE(run.err.find("tavo: " + folder + ": "), std::string::npos) << run.err;
}

// --quiet prints nothing; --max N stops each file after N problems.
TEST_F(CheckTest, QuietPrintsNothingAndMaxStopsEachFile) {
    const std::string one = File("one.jis", "\x07\x07\x07\n");
    const std::string two = File("two.jis", "\x01\n\x02\n");
    const Outcome quiet = Tavo("--check --quiet " + one + " " + two);
    EXPECT_EQ(quiet.status, 1);
    EXPECT_EQ(quiet.out + quiet.err, "");
    EXPECT_EQ(Tavo("--quiet --check " + File("clean.jis", "ok\n")).status, 0);

    const std::string bel = "TAB, LF, FF, CR 以外の制御ｺｰﾄﾞ BEL (0x07)\n";
    const Outcome limited = Tavo("--check --max 2 " + one + " " + two);
    EXPECT_EQ(limited.status, 1);
    EXPECT_EQ(limited.out, one + ":1:1: " + bel + one + ":1:2: " + bel + two +
                               ":1:1: TAB, LF, FF, CR 以外の制御ｺｰﾄﾞ SOH (0x01)\n" + two +
                               ":2:1: TAB, LF, FF, CR 以外の制御ｺｰﾄﾞ STX (0x02)\n");
}

} // namespace
