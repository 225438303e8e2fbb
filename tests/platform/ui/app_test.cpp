// The command line and the routing of commands.
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

class RoutedDoc : public CDocument, public CCmdTarget {
public:
    RoutedDoc() {
        MapCommand(ID_FILE_CLOSE, [this] { ++closes; });
        MapCommand(ID_EDIT_UNDO, [this] { ++docUndos; });
    }
    void Serialize(CArchive&) override {}
    int closes = 0;
    int docUndos = 0;
};

class RoutingView : public RecordingView {
public:
    RoutingView() {
        MapUpdateCommandUI(ID_EDIT_UNDO, [](CCmdUI* p) { p->Enable(FALSE); });
    }
};

TEST(CommandRoutingTest, ViewFirstThenDocumentThenFrameThenApplication) {
    TestApplication();
    CWinApp app("TAVO");
    CSingleDocTemplate tmpl(
        0, [] { return new RoutedDoc; }, [] { return new CFrameWnd; },
        [] { return new RoutingView; });
    ASSERT_NE(tmpl.OpenDocumentFile(nullptr, nullptr), nullptr);
    CFrameWnd& frame = *tmpl.GetFrame();
    auto& doc = static_cast<RoutedDoc&>(*tmpl.GetDocument());

    // The view's update handler wins over the document's handler.
    CCmdUI undo(ID_EDIT_UNDO);
    EXPECT_TRUE(frame.OnCmdMsg(ID_EDIT_UNDO, &undo));
    EXPECT_FALSE(undo.m_bEnabled);
    EXPECT_FALSE(frame.ExecuteCommand(ID_EDIT_UNDO));
    EXPECT_EQ(doc.docUndos, 0);

    // A handler without an update handler is enabled and runs.
    EXPECT_TRUE(frame.ExecuteCommand(ID_FILE_CLOSE));
    EXPECT_EQ(doc.closes, 1);
    CCmdUI exit(ID_APP_EXIT);
    EXPECT_TRUE(frame.OnCmdMsg(ID_APP_EXIT, &exit));
    EXPECT_TRUE(exit.m_bEnabled);

    // Nobody handles it: not even an update answer.
    CCmdUI paste(ID_EDIT_PASTE);
    EXPECT_FALSE(frame.OnCmdMsg(ID_EDIT_PASTE, &paste));
    EXPECT_FALSE(frame.ExecuteCommand(ID_EDIT_PASTE));
}

class FailingFrame : public CFrameWnd {
public:
    int OnCreate(LPCREATESTRUCT) override { return -1; }
};

TEST(DocTemplateTest, FrameThatFailsToCreateLeavesNoWindow) {
    TestApplication();
    CWinApp app("TAVO");
    CSingleDocTemplate tmpl(
        0, [] { return new RoutedDoc; }, [] { return new FailingFrame; },
        [] { return new RoutingView; });
    EXPECT_EQ(tmpl.OpenDocumentFile(nullptr, nullptr), nullptr);
    EXPECT_EQ(tmpl.GetFrame(), nullptr);
    EXPECT_EQ(app.m_pMainWnd, nullptr);
}

} // namespace
