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

// Arguments taken as the file to open; the print switches in their other
// spellings, and every wrong command line, are the executable's own test.
TEST(CommandLineTest, APathLikeASwitchAndAllAfterTwoDashesAreTheFile) {
    EXPECT_EQ(Parse({}).m_nShellCommand, CCommandLineInfo::FileNew);
    const std::pair<std::vector<std::string>, const char*> cases[] = {
        {{"/home/user/text.jis"}, "/home/user/text.jis"},
        {{"/pt/x.jis"}, "/pt/x.jis"},
        {{"--", "-p"}, "-p"},
        {{"-"}, "-"},
    };
    for (const auto& [args, file] : cases) {
        const CCommandLineInfo info = Parse(args);
        EXPECT_EQ(info.m_nShellCommand, CCommandLineInfo::FileOpen) << file;
        EXPECT_EQ(info.m_strFileName, file);
        EXPECT_EQ(info.m_strError, "");
    }
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
