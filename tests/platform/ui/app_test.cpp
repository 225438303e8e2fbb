// A frame that fails to be made; a load the user cancels.
#include "ui_fixture.h"

#include "platform/core/document.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace {

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

// A document whose every load the user cancels.
class CancelledDoc : public CDocument {
public:
    void Serialize(CArchive& ar) override {
        ar.RunLoad([](CProgressSink& sink) { sink.Cancel(); });
    }
};

TEST(DocTemplateTest, ARecentFileWhoseLoadIsCancelledStaysInTheList) {
    TestApplication();
    CWinApp app("TAVO");
    app.AddDocTemplate(new CSingleDocTemplate(
        0, [] { return new CancelledDoc; }, [] { return new CFrameWnd; },
        [] { return new RecordingView; }));
    app.LoadStdProfileSettings(4);
    const std::string path =
        std::filesystem::temp_directory_path() / ("tavo_cancelled_" + std::to_string(::getpid()));
    std::ofstream(path) << "text";
    app.AddToRecentFileList(path);
    EXPECT_TRUE(app.OnCmdMsg(ID_FILE_MRU_FILE1, nullptr));
    std::filesystem::remove(path);
    EXPECT_EQ(app.GetRecentFileList()->GetCount(), 1);
}

} // namespace
