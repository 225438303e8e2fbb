// The print preview: turning pages, two at a time, zoomed, painted, closed.
#include "print_fixture.h"

#include <QLabel>
#include <QMenuBar>
#include <QPrinterInfo>
#include <QPushButton>
#include <QShortcut>
#include <QToolBar>

namespace {

class PreviewTest : public PrintTest {
protected:
    CPreviewView* Preview() const { return View()->GetPreview(); }

    void Click(UINT nID) const { Preview()->GetButton(nID)->click(); }
    bool Enabled(UINT nID) const { return Preview()->GetButton(nID)->isEnabled(); }

    // The pages shown, as the bar tells them.
    std::string PageText() const {
        for (QLabel* label : Window()->findChildren<QLabel*>()) {
            if (label->text().startsWith(QStringLiteral("ﾍﾟｰｼﾞ"))) {
                return label->text().toStdString();
            }
        }
        return "";
    }

    // The frame as it is without a preview.
    void ExpectTheViewBack() const {
        EXPECT_EQ(Preview(), nullptr);
        EXPECT_EQ(Window()->centralWidget(), View()->GetOuterWidget());
        EXPECT_FALSE(Window()->menuBar()->isHidden());
        EXPECT_FALSE(Window()->findChild<QToolBar*>()->isHidden());
        EXPECT_TRUE(Accelerator("Ctrl+P")->isEnabled());
    }
};

TEST_F(PreviewTest, TurnsThePagesShowsTwoZoomsAndClosesBackToTheView) {
    Open(NumberedLines(200));
    Paper(20, 66);
    Print(ID_FILE_PRINT_PREVIEW);
    CPreviewView* preview = Preview();
    ASSERT_NE(preview, nullptr);
    EXPECT_EQ(Window()->centralWidget(), preview->GetOuterWidget());
    EXPECT_TRUE(Window()->menuBar()->isHidden());
    EXPECT_TRUE(Window()->findChild<QToolBar*>()->isHidden());
    EXPECT_FALSE(Accelerator("Ctrl+P")->isEnabled());
    EXPECT_EQ(preview->GetPageCount(), 4u);
    EXPECT_EQ(PageText(), "ﾍﾟｰｼﾞ 1");
    EXPECT_FALSE(Enabled(AFX_ID_PREVIEW_PREV));

    Click(AFX_ID_PREVIEW_NEXT);
    Click(AFX_ID_PREVIEW_NEXT);
    EXPECT_EQ(PageText(), "ﾍﾟｰｼﾞ 3");
    Click(AFX_ID_PREVIEW_PREV);
    EXPECT_EQ(PageText(), "ﾍﾟｰｼﾞ 2");
    preview->OnKeyDown(VK_END, 1, 0);
    EXPECT_EQ(PageText(), "ﾍﾟｰｼﾞ 4");
    EXPECT_FALSE(Enabled(AFX_ID_PREVIEW_NEXT));

    // Two pages side by side; the last page stands alone.
    Click(AFX_ID_PREVIEW_NUMPAGE);
    EXPECT_EQ(Preview()->GetButton(AFX_ID_PREVIEW_NUMPAGE)->text().toStdString(), "1 ﾍﾟｰｼﾞ(&T)");
    EXPECT_EQ(preview->GetPagesShown(), 1);
    preview->OnKeyDown(VK_PRIOR, 1, 0);
    EXPECT_EQ(preview->GetPagesShown(), 2);
    EXPECT_EQ(PageText(), "ﾍﾟｰｼﾞ 3-4");
    EXPECT_FALSE(Enabled(AFX_ID_PREVIEW_NEXT));

    // Zoomed, one page and no choice of two.
    Click(AFX_ID_PREVIEW_ZOOMIN);
    EXPECT_TRUE(Enabled(AFX_ID_PREVIEW_ZOOMOUT));
    EXPECT_EQ(preview->GetPagesShown(), 1);
    EXPECT_FALSE(Enabled(AFX_ID_PREVIEW_NUMPAGE));
    Click(AFX_ID_PREVIEW_ZOOMOUT);
    EXPECT_FALSE(Enabled(AFX_ID_PREVIEW_ZOOMOUT));

    Click(AFX_ID_PREVIEW_CLOSE);
    ExpectTheViewBack();
    EXPECT_FALSE(std::filesystem::exists(pdf)); // a preview sends nothing

    // A second preview starts again from page 1; closing the window or
    // Escape closes only the preview.
    Print(ID_FILE_PRINT_PREVIEW);
    ASSERT_NE(Preview(), nullptr);
    EXPECT_EQ(PageText(), "ﾍﾟｰｼﾞ 1-2"); // two pages, as chosen before
    EXPECT_FALSE(Window()->close());
    ExpectTheViewBack();
    EXPECT_TRUE(Window()->isVisible());
    Print(ID_FILE_PRINT_PREVIEW);
    QShortcut* escape = Preview()->GetOuterWidget()->findChild<QShortcut*>();
    ASSERT_NE(escape, nullptr);
    EXPECT_EQ(escape->key(), QKeySequence(Qt::Key_Escape));
    emit escape->activated();
    ExpectTheViewBack();

    // Its print button closes it and prints through the print dialog.
    Print(ID_FILE_PRINT_PREVIEW);
    int dialogs = 0;
    CDialog::SetModalHook([&](CDialog& dialog) {
        dialogs += dynamic_cast<CPrintDialog*>(&dialog) != nullptr;
        return int(IDOK);
    });
    Click(AFX_ID_PREVIEW_PRINT);
    EXPECT_EQ(dialogs, 1);
    ExpectTheViewBack();
    EXPECT_EQ(PdfPageCount(pdf), 4);
}

// Another file opened during the preview, by a drop or otherwise, ends the
// preview first: its pages would show a document no longer there.
TEST_F(PreviewTest, OpeningAnotherFileClosesThePreview) {
    Open(NumberedLines(40));
    Paper(20, 10);
    Print(ID_FILE_PRINT_PREVIEW);
    ASSERT_NE(Preview(), nullptr);
    ASSERT_EQ(Preview()->GetPageCount(), 4u);
    ASSERT_NE(app->OpenDocumentFile(WriteFile("other.jis", NumberedLines(60)).c_str()), nullptr);
    ExpectTheViewBack();
    Print(ID_FILE_PRINT_PREVIEW);
    ASSERT_NE(Preview(), nullptr);
    EXPECT_EQ(Preview()->GetPageCount(), 6u);
}

TEST_F(PreviewTest, PaintsThePageInSightOnTheSheet) {
    Open(std::string(20, 'M') + "\n" + NumberedLines(100));
    Paper(20, 66);
    Frame()->GetMainWindow()->resize(600, 700);
    Print(ID_FILE_PRINT_PREVIEW);
    ASSERT_NE(Preview(), nullptr);
    const QImage shot =
        Preview()->GetSafeHwnd()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    // The sheet stands in the middle of the grey workspace; its first row
    // is a line of ink across its width.
    const QPoint middle(shot.width() / 2, shot.height() / 2);
    EXPECT_EQ(shot.pixel(2, 2), qRgb(128, 128, 128));
    int top = 0;
    while (top < shot.height() && shot.pixel(middle.x(), top) != qRgb(255, 255, 255)) {
        ++top;
    }
    ASSERT_LT(top, middle.y());
    EXPECT_GT(CountOther(shot, QRect(0, top, shot.width(), 6), qRgb(255, 255, 255)), 0);
}

TEST_F(PreviewTest, AHundredAndFiftyThousandPagesOpenAndTurnToTheLast) {
    Open(Repeat("x\n", 150000));
    Paper(10, 1);
    Print(ID_FILE_PRINT_PREVIEW);
    ASSERT_NE(Preview(), nullptr);
    Preview()->GetSafeHwnd()->grab();
    Preview()->OnKeyDown(VK_END, 1, 0);
    Preview()->GetSafeHwnd()->grab();
    EXPECT_EQ(Preview()->GetPageCount(), 150001u);
    EXPECT_EQ(PageText(), "ﾍﾟｰｼﾞ 150001");
}

TEST_F(PreviewTest, WithoutAPrinterThePreviewAsksForOneFirst) {
    if (!QPrinterInfo::availablePrinterNames().isEmpty()) {
        GTEST_SKIP() << "this system has a printer";
    }
    ASSERT_TRUE(Start({WriteFile("doc.jis", "text")}));
    ASSERT_FALSE(app->HasPrinter());
    int answer = IDCANCEL;
    CDialog::SetModalHook([&](CDialog& dialog) {
        EXPECT_NE(dynamic_cast<CPrintDialog*>(&dialog), nullptr);
        if (answer == IDOK) {
            app->GetPrinter()->setOutputFileName(QString::fromStdString((dir / "x.pdf").string()));
        }
        return answer;
    });
    Print(ID_FILE_PRINT_PREVIEW);
    EXPECT_EQ(Preview(), nullptr);
    answer = IDOK;
    Print(ID_FILE_PRINT_PREVIEW);
    EXPECT_NE(Preview(), nullptr);
}

} // namespace
