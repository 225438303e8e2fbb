// The first whole lines show while the rest loads; a cancelled load leaves
// the previous document where it stood.
#include "app_fixture.h"

#include "platform/ui/wndwidget.h"

#include <QTest>
#include <QTimer>

#include <atomic>
#include <thread>

namespace {

class ProgressiveOpen : public AppTest {
protected:
    void SetUp() override {
        AppTest::SetUp();
        // The load stops at its first report, after the first screen was
        // offered, until the test has looked at the window.
        CProgressSink::SetReportHookForTests([this] {
            while (!released) {
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
            }
        });
    }
    void TearDown() override {
        CProgressSink::SetReportHookForTests(nullptr);
        AppTest::TearDown();
    }

    // Opens path in the window, running check on the first screen while the
    // load is held, then lets the load go on.
    CDocument* OpenWhileLooking(const std::string& path, const std::function<void()>& check) {
        released = false;
        QTimer::singleShot(0, [&] {
            check();
            ++checks;
            released = true;
        });
        return app->OpenDocumentFile(path.c_str());
    }

    QWidget* Client() const { return View()->GetOuterWidget()->findChild<CWndClient*>(); }

    // Opens text with line numbers, running check on the first screen; that
    // screen stays as it was once the whole file is in the same document.
    void ExpectFirstScreenKept(const std::string& text, const std::function<void()>& check) {
        ASSERT_TRUE(Start());
        Env().bFlags = ENV_LINE_NUMBERS;
        const CDocument* own = Doc();
        QImage firstScreen;
        ASSERT_NE(OpenWhileLooking(WriteFile("big.jis", text),
                                   [&] {
                                       ASSERT_NE(Doc(), own);
                                       firstScreen = Client()->grab().toImage();
                                       check();
                                   }),
                  nullptr);
        ASSERT_EQ(checks, 1);
        EXPECT_EQ(Doc(), own);
        EXPECT_EQ(Client()->grab().toImage(), firstScreen);
    }

    static std::string Text(std::uint32_t lines) {
        std::string text;
        for (std::uint32_t i = 1; i <= lines; ++i) {
            text += "line " + std::to_string(i) + std::string(i % 7, '-') + "\n";
        }
        return text;
    }

    std::atomic<bool> released{true};
    int checks = 0;
};

TEST_F(ProgressiveOpen, TheFirstScreenShowsWholeLinesThatStayWhereTheyAreAndCtrlEndWaits) {
    const std::string text = Text(200000);
    ExpectFirstScreenKept(text, [&] {
        const CTAVODoc& shown = *Doc();
        ASSERT_GT(shown.m_nLines, 1000u);
        ASSERT_LT(shown.m_nLines, 200000u);
        // Every line whole, at its place in the file.
        for (std::uint32_t i = 0; i < shown.m_nLines; ++i) {
            const LineInfo& line = shown.m_pLines[i];
            ASSERT_EQ(line.nOffset + line.nLength, text.find('\n', line.nOffset) + 1);
        }
        EXPECT_EQ(shown.m_nDigits, 6);
        QTest::keyClick(Client(), Qt::Key_End, Qt::ControlModifier);
        EXPECT_EQ(View()->GetScrollPos(SB_VERT), 0);
    });
    EXPECT_EQ(Doc()->m_nLines, 200001u);

    QCoreApplication::processEvents();
    SCROLLINFO info{};
    View()->GetScrollInfo(SB_VERT, &info);
    // The last line at the bottom of the window, the row under it empty.
    std::int64_t start = 0;
    EXPECT_EQ(Doc()->LineAtRow(info.nPos + int(info.nPage) - 2, LAYOUT_SCREEN, &start),
              Doc()->m_nLines - 1);
    EXPECT_EQ(info.nPos + int(info.nPage) - 1, info.nMax);
}

TEST_F(ProgressiveOpen, OneLongLineShowsItsStartWhileItLoads) {
    const std::string text = Repeat("\x1b$B4A;z$H$+$J\x1b(B and ASCII \x01 ", 110000); // 3 MB
    ExpectFirstScreenKept(text, [&] {
        EXPECT_EQ(Doc()->m_nLines, 1u);
        EXPECT_LT(Doc()->m_nLength, 1u << 20);
    });
    EXPECT_EQ(Doc()->m_nLength, text.size());
}

TEST_F(ProgressiveOpen, EscapeOrClosingTheWindowPutsThePreviousDocumentBackWhereItStood) {
    Open(Text(500));
    View()->SetScrollPos(SB_VERT, 120);
    const CDocument* own = Doc();
    const std::string path = WriteFile("big.jis", Text(200000));
    const std::function<void()> cancels[] = {
        [&] { QTest::keyClick(Client(), Qt::Key_Escape); },
        [&] { Window()->close(); },
    };
    for (const auto& cancel : cancels) {
        EXPECT_EQ(OpenWhileLooking(path,
                                   [&] {
                                       EXPECT_NE(Doc(), own);
                                       cancel();
                                   }),
                  nullptr);
        EXPECT_EQ(Doc(), own);
        EXPECT_EQ(Doc()->m_nLines, 501u);
        EXPECT_EQ(View()->GetScrollPos(SB_VERT), 120);
        EXPECT_TRUE(Window()->isVisible());
    }
    EXPECT_EQ(checks, 2);
}

} // namespace
