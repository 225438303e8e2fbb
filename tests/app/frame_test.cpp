// The main frame: commands from every source, the bars and the status.
#include "app_fixture.h"

#include "platform/gdi/face.h"

#include <QCheckBox>
#include <QClipboard>
#include <QDialog>
#include <QGuiApplication>
#include <QPainterPath>
#include <QProcess>
#include <QPushButton>
#include <QRawFont>
#include <QScreen>
#include <QTest>
#include <QToolBar>

namespace {

const std::string SAMPLE = std::string(TAVO_SAMPLES_DIR) + "/story.jis";

class FindBarTest : public AppTest {
protected:
    // Opens the find bar and types text into it.
    void Type(const char* text) const {
        Frame()->ExecuteCommand(ID_EDIT_FIND);
        FindField()->clear();
        QTest::keyClicks(FindField(), QString::fromUtf8(text));
    }
};

TEST_F(AppTest, CopyIsEnabledFromMenuToolbarAndEveryAcceleratorOnlyWithASelection) {
    for (bool loaded : {false, true}) {
        ASSERT_TRUE(loaded ? Start({SAMPLE}) : Start());
        // The window shows before the program first waits for input.
        EXPECT_FALSE(ToolButtons().at(1)->isEnabled());
        Frame()->UpdateCommandUI();
        EXPECT_FALSE(MenuItem("ｺﾋﾟｰ(&C)")->isEnabled());
        TavoView()->SelectAll();
        Frame()->UpdateCommandUI();
        EXPECT_EQ(MenuItem("ｺﾋﾟｰ(&C)")->isEnabled(), loaded);
        EXPECT_EQ(ToolButtons().at(1)->isEnabled(), loaded);

        int copied = 0;
        const auto copyFrom = [&](const std::function<void()>& trigger) {
            QGuiApplication::clipboard()->clear();
            trigger();
            copied += QGuiApplication::clipboard()->text().isEmpty() ? 0 : 1;
        };
        copyFrom([this] { MenuItem("ｺﾋﾟｰ(&C)")->trigger(); });
        copyFrom([this] { emit ToolButtons().at(1)->triggered(); });
        for (const char* keys : {"Ctrl+C", "Ctrl+Ins"}) {
            ASSERT_NE(Accelerator(keys), nullptr) << keys;
            copyFrom([&] { emit Accelerator(keys)->activated(); });
        }
        EXPECT_EQ(copied, loaded ? 4 : 0);
        // The view takes the command; it never reaches the application.
        EXPECT_EQ(app->copies, 0);
    }
}

// A verdict is about one file and one search: another file, the bar
// closed and the next command each put the idle text back.
TEST_F(FindBarTest, TheStatusBarDropsWhatNoLongerHolds) {
    const std::string verdict = "問題箇所はありません: 正しい 7ﾋﾞｯﾄ JIS のﾌｧｲﾙです";
    ASSERT_TRUE(Start({WriteFile("clean.jis", "clean\n")}));
    Frame()->ExecuteCommand(ID_VIEW_NEXT_PROBLEM);
    ASSERT_EQ(Status(), verdict);
    ASSERT_NE(app->OpenDocumentFile(WriteFile("dirty.jis", "a\x07\nb\x07\n").c_str()), nullptr);
    EXPECT_EQ(Status(), "ﾚﾃﾞｨ");

    const auto search = [this] {
        Type("nowhere");
        QTest::keyClick(FindField(), Qt::Key_Return);
        ASSERT_EQ(Status(), "見つかりません");
    };
    search();
    QTest::keyClick(FindField(), Qt::Key_Escape);
    EXPECT_EQ(Status(), "ﾚﾃﾞｨ");
    search();
    for (QPushButton* button : FindField()->parentWidget()->findChildren<QPushButton*>()) {
        if (button->text() == "閉じる") {
            button->click();
        }
    }
    EXPECT_FALSE(FindField()->isVisible());
    EXPECT_EQ(Status(), "ﾚﾃﾞｨ");

    Frame()->ExecuteCommand(ID_VIEW_NEXT_PROBLEM);
    ASSERT_NE(Status(), "ﾚﾃﾞｨ");
    bool asked = false;
    CDialog::SetModalHook([&asked](CDialog& dialog) {
        asked = true;
        dialog.SetDlgItemText(IDC_LINE_NUMBER, "2");
        dialog.GetDialog()->accept();
        return int(IDCANCEL);
    });
    EXPECT_TRUE(Frame()->ExecuteCommand(ID_EDIT_GOTO_LINE));
    EXPECT_TRUE(asked);
    EXPECT_EQ(Status(), "ﾚﾃﾞｨ");
}

// The field draws U+005C as a backslash, apart from the yen sign that JIS
// Roman's 0x5C is; Enter searches also after Alt+C has ticked the case box.
TEST_F(FindBarTest, TheFieldTellsABackslashFromAYenAndEnterSearchesAfterAltC) {
    ASSERT_TRUE(Start({WriteFile("doc.jis", "Alpha\n")}));
    Type("ALPHA");
    // A backslash has ink at its top left and none at its top right, where
    // a yen sign has its two arms.
    QFont font = FindField()->font();
    font.setPixelSize(40);
    const QRawFont raw = QRawFont::fromFont(font);
    const QPainterPath glyph = raw.pathForGlyph(raw.glyphIndexesForString("\\").value(0));
    const QRectF box = glyph.boundingRect();
    EXPECT_TRUE(glyph.contains(box.topLeft() + QPointF(0.05 * box.width(), 0.05 * box.height())));
    EXPECT_FALSE(
        glyph.contains(box.topRight() + QPointF(-0.05 * box.width(), 0.05 * box.height())));
    EXPECT_TRUE(font.families().contains(ResolveFamily(QStringLiteral("ＭＳ Ｐゴシック"))))
        << "kanji and kana are drawn in the bar's own face";

    ASSERT_TRUE(QTest::qWaitForWindowActive(Window()));
    auto* matchCase = FindField()->parentWidget()->findChild<QCheckBox*>();
    QTest::keyClick(FindField(), Qt::Key_C, Qt::AltModifier);
    // The mnemonic gives the box the focus and clicks it as an animation.
    EXPECT_EQ(QApplication::focusWidget(), matchCase);
    EXPECT_TRUE(QTest::qWaitFor([matchCase] { return matchCase->isChecked(); }));
    QTest::keyClick(matchCase, Qt::Key_Return);
    EXPECT_EQ(Status(), "見つかりません"); // "Alpha" is not "ALPHA" with case matched
}

TEST_F(AppTest, TheViewMenuShowsAndHidesTheBarsAndCommandsWithoutAHandlerAreDisabled) {
    ASSERT_TRUE(Start());
    for (QAction* button : ToolButtons()) {
        EXPECT_FALSE(button->icon().isNull()) << button->toolTip().toStdString();
    }
    QAction* toolbarItem = MenuItem("ﾂｰﾙ ﾊﾞｰ(&T)");
    Frame()->UpdateCommandUI();
    EXPECT_TRUE(toolbarItem->isChecked());
    toolbarItem->trigger();
    MenuItem("ｽﾃｰﾀｽ ﾊﾞｰ(&S)")->trigger();
    Frame()->UpdateCommandUI();
    EXPECT_TRUE(Window()->findChild<QToolBar*>()->isHidden());
    EXPECT_FALSE(toolbarItem->isChecked());
    EXPECT_FALSE(MenuItem("ｽﾃｰﾀｽ ﾊﾞｰ(&S)")->isChecked());

    EXPECT_TRUE(MenuItem("開く(&O)")->isEnabled());
    EXPECT_TRUE(MenuItem("ﾊﾞｰｼﾞｮﾝ情報(TAVO)")->isEnabled());
    // F6 and Shift+F6 reach nothing.
    EXPECT_FALSE(Frame()->ExecuteCommand(ID_NEXT_PANE));
    EXPECT_FALSE(Frame()->ExecuteCommand(ID_PREV_PANE));
}

// 800 x 600 offscreen at twice the pixels: the scale holds for a whole
// process, so the test runs itself again with it.
TEST_F(AppTest, FirstWindowFitsADenseScreen) {
    if (qEnvironmentVariableIsSet("TAVO_TEST_DENSE_SCREEN")) {
        ASSERT_TRUE(Start());
        ASSERT_EQ(Window()->devicePixelRatioF(), 2.0);
        const QSize available = Window()->screen()->availableGeometry().size();
        EXPECT_LE(Window()->frameGeometry().width(), available.width());
        EXPECT_LE(Window()->frameGeometry().height(), available.height());
        return;
    }
    QProcess child;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("QT_SCALE_FACTOR", "2");
    environment.insert("TAVO_TEST_DENSE_SCREEN", "1");
    child.setProcessEnvironment(environment);
    child.start(QCoreApplication::applicationFilePath(),
                {"--gtest_filter=AppTest.FirstWindowFitsADenseScreen"});
    ASSERT_TRUE(child.waitForFinished(60000));
    const QString output = child.readAllStandardOutput();
    EXPECT_EQ(child.exitCode(), 0) << output.toStdString();
    EXPECT_TRUE(output.contains("[  PASSED  ] 1 test.")) << output.toStdString();
}

} // namespace
