// The main frame: disabled commands from every source, the bars, the
// status texts, the menu, and the About box.
#include "app_fixture.h"

#include <QDialog>
#include <QLabel>
#include <QProcess>
#include <QScreen>
#include <QStatusBar>
#include <QToolBar>

namespace {

const std::string SAMPLE = std::string(TAVO_SAMPLES_DIR) + "/story.jis";

TEST_F(AppTest, CopyIsDisabledFromMenuToolbarAndEveryAccelerator) {
    for (bool loaded : {false, true}) {
        ASSERT_TRUE(loaded ? Start({SAMPLE}) : Start());
        Frame()->UpdateCommandUI();
        EXPECT_FALSE(MenuItem("ｺﾋﾟｰ(&C)")->isEnabled());
        QAction* button = ToolButtons().at(1);
        EXPECT_FALSE(button->isEnabled());

        MenuItem("ｺﾋﾟｰ(&C)")->trigger();
        emit button->triggered();
        for (const char* keys : {"Ctrl+C", "Ctrl+Ins"}) {
            QShortcut* accel = Accelerator(keys);
            ASSERT_NE(accel, nullptr) << keys;
            emit accel->activated();
        }
        EXPECT_EQ(app->copies, 0);
        // The same paths do reach the application for an enabled command.
        emit Accelerator("Ctrl+V")->activated();
        emit Accelerator("Shift+Ins")->activated();
        EXPECT_EQ(app->pastes, 2);
    }
}

TEST_F(AppTest, BarsCarryTheirTextsAndTheViewMenuFollowsThem) {
    ASSERT_TRUE(Start());
    std::vector<std::string> panes;
    for (QLabel* pane : Window()->statusBar()->findChildren<QLabel*>()) {
        panes.push_back(pane->text().toStdString());
    }
    EXPECT_EQ(panes, (std::vector<std::string>{"ﾚﾃﾞｨ", "ｶﾅ", "CAP", "NUM", "SCRL"}));

    QToolBar* toolbar = Window()->findChild<QToolBar*>();
    EXPECT_EQ(toolbar->actions().size(), 6);
    std::vector<std::string> tips;
    for (QAction* button : ToolButtons()) {
        tips.push_back(button->toolTip().toStdString());
        EXPECT_FALSE(button->icon().isNull());
    }
    EXPECT_EQ(tips, (std::vector<std::string>{"開く", "ｺﾋﾟ-", "印刷", "ﾊﾞｰｼﾞｮﾝ情報"}));
    EXPECT_EQ(ToolButtons()[0]->statusTip().toStdString(), "既存のﾌｧｲﾙを開く");

    QAction* toolbarItem = MenuItem("ﾂｰﾙ ﾊﾞｰ(&T)");
    Frame()->UpdateCommandUI();
    EXPECT_TRUE(toolbarItem->isChecked());
    toolbarItem->trigger();
    Frame()->UpdateCommandUI();
    EXPECT_TRUE(toolbar->isHidden());
    EXPECT_FALSE(toolbarItem->isChecked());
    MenuItem("ｽﾃｰﾀｽ ﾊﾞｰ(&S)")->trigger();
    Frame()->UpdateCommandUI();
    EXPECT_FALSE(MenuItem("ｽﾃｰﾀｽ ﾊﾞｰ(&S)")->isChecked());
}

TEST_F(AppTest, MenuCaptionsAndHandlersWithoutAHandlerDisabled) {
    ASSERT_TRUE(Start());
    const std::vector<std::string> file = {
        "開く(&O)...\tCtrl+O", "", "印刷(&P)...\tCtrl+P", "印刷ﾌﾟﾚﾋﾞｭｰ(&V)",
        "ﾌﾟﾘﾝﾀの設定(&R)...",  "", "最新のﾌｧｲﾙ",          "",
        "ｱﾌﾟﾘｹｰｼｮﾝの終了(&X)"};
    EXPECT_EQ(MenuTexts("ﾌｧｲﾙ(&F)"), file);
    const std::vector<std::string> edit = {
        "ｺﾋﾟｰ(&C)\tCtrl+C",       "", "検索(&F)...\tCtrl+F",    "次を検索(&N)\tF3",
        "前を検索(&P)\tShift+F3", "", "行へ移動(&G)...\tCtrl+G"};
    EXPECT_EQ(MenuTexts("編集(&E)"), edit);
    const std::vector<std::string> view = {"ﾂｰﾙ ﾊﾞｰ(&T)",
                                           "ｽﾃｰﾀｽ ﾊﾞｰ(&S)",
                                           "",
                                           "次の問題箇所(&X)\tF8",
                                           "前の問題箇所(&R)\tShift+F8",
                                           "",
                                           "動作環境"};
    EXPECT_EQ(MenuTexts("表示(&V)"), view);
    EXPECT_EQ(MenuTexts("ﾍﾙﾌﾟ(&H)"), std::vector<std::string>{"ﾊﾞｰｼﾞｮﾝ情報(TAVO) (&A)..."});

    Frame()->UpdateCommandUI();
    EXPECT_TRUE(MenuItem("開く(&O)")->isEnabled());
    EXPECT_TRUE(MenuItem("ﾊﾞｰｼﾞｮﾝ情報(TAVO)")->isEnabled());
    // F6 and Shift+F6 reach nothing.
    EXPECT_FALSE(Frame()->ExecuteCommand(ID_NEXT_PANE));
    EXPECT_FALSE(Frame()->ExecuteCommand(ID_PREV_PANE));
}

TEST_F(AppTest, AboutBoxShowsTheBuildDateInItsFont) {
    ASSERT_TRUE(Start());
    bool shown = false;
    CDialog::SetModalHook([&](CDialog& dialog) {
        shown = true;
        const QDialog* box = dialog.GetDialog();
        EXPECT_EQ(dialog.GetDlgItemText(IDC_BUILT), "Built Date : Dec 27 1999");
        EXPECT_EQ(box->windowTitle().toStdString(), "ﾊﾞｰｼﾞｮﾝ情報(TAVO)");
        EXPECT_EQ(box->font().pointSize(), 9);
        return int(IDOK);
    });
    EXPECT_TRUE(Frame()->ExecuteCommand(ID_APP_ABOUT));
    EXPECT_TRUE(shown);
}

// The offscreen platform's 800 x 600 screen at twice the pixels holds 400 x
// 300: the first window fits it. The scale holds for a whole process, so
// the test runs itself again with it.
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
