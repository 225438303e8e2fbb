// A frame that fails to be made.
#include "ui_fixture.h"

#include "platform/core/document.h"

#include <gtest/gtest.h>

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

} // namespace
