// The command line, and a frame that fails to be made.
#include "ui_fixture.h"

#include "platform/core/document.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

CCommandLineInfo Parse(std::vector<std::string> args) {
    CWinApp app("TAVO");
    SetArgs(app, "tavo", std::move(args));
    CCommandLineInfo info;
    app.ParseCommandLine(info);
    return info;
}

// What the program does with a command line that parses; the wrong ones
// are the executable's own test.
TEST(CommandLineTest, FileAndPrintSwitchesInEverySpelling) {
    EXPECT_EQ(Parse({}).m_nShellCommand, CCommandLineInfo::FileNew);
    const struct {
        std::vector<std::string> args;
        int command;
        const char* file;
    } cases[] = {
        {{"/home/user/text.jis"}, CCommandLineInfo::FileOpen, "/home/user/text.jis"},
        {{"/p", "a.jis"}, CCommandLineInfo::FilePrint, "a.jis"},
        {{"-p", "a.jis"}, CCommandLineInfo::FilePrint, "a.jis"},
        {{"/P", "a.jis"}, CCommandLineInfo::FilePrint, "a.jis"},
        // A path that starts like a switch is a file, and so is all after "--".
        {{"/pt/x.jis"}, CCommandLineInfo::FileOpen, "/pt/x.jis"},
        {{"--", "-p"}, CCommandLineInfo::FileOpen, "-p"},
        {{"-"}, CCommandLineInfo::FileOpen, "-"},
    };
    for (const auto& c : cases) {
        const CCommandLineInfo info = Parse(c.args);
        EXPECT_EQ(info.m_nShellCommand, c.command) << c.args[0];
        EXPECT_EQ(info.m_strFileName, c.file);
        EXPECT_EQ(info.m_strError, "");
    }
    const CCommandLineInfo printTo = Parse({"-pt", "a.jis", "printer", "driver", "port"});
    EXPECT_EQ(printTo.m_nShellCommand, CCommandLineInfo::FilePrintTo);
    EXPECT_EQ(printTo.m_strFileName, "a.jis");
    EXPECT_EQ(printTo.m_strPrinterName, "printer");
}

class EmptyDoc : public CDocument {
public:
    void Serialize(CArchive&) override {}
};

class FailingFrame : public CFrameWnd {
public:
    int OnCreate(LPCREATESTRUCT) override { return -1; }
};

TEST(DocTemplateTest, FrameThatFailsToCreateLeavesNoWindow) {
    TestApplication();
    CWinApp app("TAVO");
    CSingleDocTemplate tmpl(
        0, [] { return new EmptyDoc; }, [] { return new FailingFrame; },
        [] { return new RecordingView; });
    EXPECT_EQ(tmpl.OpenDocumentFile(nullptr, nullptr), nullptr);
    EXPECT_EQ(tmpl.GetFrame(), nullptr);
    EXPECT_EQ(app.m_pMainWnd, nullptr);
}

} // namespace
