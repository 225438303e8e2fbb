// The command line, the recent-file list and the routing of commands.
#include "ui_fixture.h"

#include "platform/core/document.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include <unistd.h>

namespace {

CCommandLineInfo Parse(std::vector<std::string> args) {
    CWinApp app("TAVO");
    SetArgs(app, "tavo", std::move(args));
    CCommandLineInfo info;
    app.ParseCommandLine(info);
    return info;
}

TEST(CommandLineTest, FileAndPrintSwitchesInBothSpellings) {
    EXPECT_EQ(Parse({}).m_nShellCommand, CCommandLineInfo::FileNew);

    const CCommandLineInfo open = Parse({"/home/user/text.jis"});
    EXPECT_EQ(open.m_nShellCommand, CCommandLineInfo::FileOpen);
    EXPECT_EQ(open.m_strFileName, "/home/user/text.jis");

    for (const char* flag : {"/p", "-p", "/P"}) {
        const CCommandLineInfo print = Parse({flag, "a.jis"});
        EXPECT_EQ(print.m_nShellCommand, CCommandLineInfo::FilePrint) << flag;
        EXPECT_EQ(print.m_strFileName, "a.jis");
    }

    const CCommandLineInfo printTo = Parse({"-pt", "a.jis", "printer", "driver", "port"});
    EXPECT_EQ(printTo.m_nShellCommand, CCommandLineInfo::FilePrintTo);
    EXPECT_EQ(printTo.m_strFileName, "a.jis");
    EXPECT_EQ(printTo.m_strPrinterName, "printer");
    EXPECT_EQ(printTo.m_strDriverName, "driver");
    EXPECT_EQ(printTo.m_strPortName, "port");

    // A file whose path starts like a switch is still a file, and so is
    // everything after "--".
    EXPECT_EQ(Parse({"/pt/x.jis"}).m_strFileName, "/pt/x.jis");
    EXPECT_EQ(Parse({"--", "-p"}).m_strFileName, "-p");
    EXPECT_EQ(Parse({"--", "-p"}).m_nShellCommand, CCommandLineInfo::FileOpen);
    EXPECT_EQ(Parse({"-"}).m_strFileName, "-");
}

TEST(CommandLineTest, WrongCommandLinesSayWhatIsWrong) {
    EXPECT_EQ(Parse({"--bogus", "a.jis"}).m_strError, "unknown option '--bogus'");
    EXPECT_EQ(Parse({"a.jis", "-x"}).m_strError, "unknown option '-x'");
    EXPECT_EQ(Parse({"a.jis", "b.jis"}).m_strError, "only one file can be given");
    EXPECT_EQ(Parse({"/p", "a.jis", "b.jis"}).m_strError, "only one file can be given");
    EXPECT_EQ(Parse({"/p"}).m_strError, "/p needs the file to print");
    EXPECT_EQ(Parse({"/p", "--"}).m_strError, "/p needs the file to print");
    EXPECT_EQ(Parse({"/pt", "a.jis"}).m_strError, "/pt needs the file to print and a printer");
    EXPECT_EQ(Parse({"/pt", "a", "b", "c", "d", "e"}).m_strError, "too many arguments for /pt");
    EXPECT_EQ(Parse({"--", "--bogus"}).m_strError, "");
    // The first fault is the one told.
    EXPECT_EQ(Parse({"-x", "-y"}).m_strError, "unknown option '-x'");

    CWinApp app("TAVO");
    CCommandLineInfo wrong;
    wrong.m_strError = "unknown option '-x'";
    EXPECT_FALSE(app.ProcessShellCommand(wrong));
    EXPECT_EQ(app.m_nExitCode, 2);
    EXPECT_EQ(app.m_pMainWnd, nullptr);
}

TEST(RecentFileListTest, NewestFirstEachPathOnceAtMostTheSize) {
    const std::string ini = (std::filesystem::temp_directory_path() /
                             ("tavo_mru_" + std::to_string(::getpid()) + ".ini"))
                                .string();
    CRecentFileList list(4);
    for (const char* path : {"/a", "/b", "/c", "/d", "/e", "/d", "/テキスト/旧.jis"}) {
        list.Add(path);
    }
    list.WriteList(ini); // non-ASCII paths survive the ini file
    CRecentFileList loaded(4);
    loaded.ReadList(ini);
    std::filesystem::remove(ini);
    ASSERT_EQ(loaded.GetCount(), 4);
    const char* expected[] = {"/テキスト/旧.jis", "/d", "/e", "/c"};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(loaded[i], expected[i]) << i;
    }
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
