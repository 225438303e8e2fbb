// Start-up, opening files and the recent-file list.
#include "app_fixture.h"
#include "support/as_nobody.h"

#include <QDialogButtonBox>
#include <QDropEvent>
#include <QFileDialog>
#include <QMimeData>
#include <QPushButton>

#include <optional>

#include <fcntl.h>
#include <sys/stat.h>

namespace {

const std::string SAMPLE = std::string(TAVO_SAMPLES_DIR) + "/story.jis";
const std::string LONG_SAMPLE = std::string(TAVO_SAMPLES_DIR) + "/numbered.jis";

TEST_F(AppTest, AFileThatCannotBeOpenedIsReportedAndKeepsTheFileOnScreen) {
    ASSERT_TRUE(Start({LONG_SAMPLE}));
    ProcessEvents();
    View()->OnVScroll(SB_PAGEDOWN, 0, nullptr);
    const int top = View()->GetScrollPos(SB_VERT);
    ASSERT_GT(top, 0);
    const BYTE* text = Doc()->m_pData;
    const std::string fifo = (dir / "fifo").string();
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const std::string secret = WriteFile("secret.jis", "secret\n");
    std::filesystem::permissions(secret, std::filesystem::perms::none);
    const std::string notAFile = "通常のファイルではありません (ディレクトリまたはデバイス)。";
    const std::pair<std::string, std::string> cases[] = {
        {(dir / "missing.jis").string(), "ファイルが見つかりません。"},
        {dir.string(), notAFile},
        {fifo, notAFile}, // without a writer: it must not block
        {"/dev/zero", notAFile},
        {secret, "ファイルにアクセスできません。"}, // read as an unprivileged user
    };
    for (const auto& [path, reason] : cases) {
        messages.clear();
        std::optional<AsNobody> nobody;
        if (path == secret) {
            nobody.emplace();
            if (const int fd = ::open(secret.c_str(), O_RDONLY); fd >= 0) {
                ::close(fd);
                GTEST_SKIP() << "this user reads files whatever their modes";
            }
        }
        EXPECT_EQ(app->OpenDocumentFile(path.c_str()), nullptr);
        EXPECT_EQ(messages, std::vector<std::string>{path + "\n\n" + reason});
        EXPECT_EQ(Doc()->m_pData, text) << path;
        EXPECT_EQ(Title(), "numbered.jis - TAVO");
        EXPECT_EQ(View()->GetScrollPos(SB_VERT), top);
    }

    // One that opens but cannot be held empties the window, with the
    // document's own reason.
    messages.clear();
    const std::string huge = WriteFile("huge.jis", "");
    std::filesystem::resize_file(huge, 5ull << 30); // sparse
    EXPECT_EQ(app->OpenDocumentFile(huge.c_str()), nullptr);
    EXPECT_EQ(messages,
              std::vector<std::string>{huge + "\n\nファイルが大きすぎて表示できません。"});
    EXPECT_EQ(Title(), "無題 - TAVO");

    // An empty file is an empty document, not a failure.
    messages.clear();
    EXPECT_NE(app->OpenDocumentFile(WriteFile("empty.jis", "").c_str()), nullptr);
    EXPECT_TRUE(messages.empty());
    EXPECT_EQ(Title(), "empty.jis - TAVO");

    // New empties the window; nothing has made an env file.
    ASSERT_NE(app->OpenDocumentFile(LONG_SAMPLE.c_str()), nullptr);
    EXPECT_TRUE(Frame()->ExecuteCommand(ID_FILE_NEW));
    EXPECT_EQ(Doc()->m_pData, nullptr);
    EXPECT_EQ(Title(), "無題 - TAVO");
    EXPECT_FALSE(ScrollBarOf(*View(), Qt::Vertical)->isVisible());
    EXPECT_EQ(Stop(), 0);
    EXPECT_FALSE(std::filesystem::exists(dir / "tavo.env"));
}

TEST_F(AppTest, BadFileOnTheCommandLineEndsTheProgramWithAnError) {
    const std::string missing = (dir / "missing.jis").string();
    ::testing::internal::CaptureStderr();
    EXPECT_FALSE(Start({missing}));
    EXPECT_NE(::testing::internal::GetCapturedStderr().find(missing), std::string::npos);
    EXPECT_EQ(messages, std::vector<std::string>{missing + "\n\nファイルが見つかりません。"});
    EXPECT_EQ(Stop(), 1);
}

// At most four, newest first and each once, kept over a restart; in the
// menu "&" doubled and a long path shortened in the middle.
TEST_F(AppTest, RecentFilesSurviveARestartOnceEachFourAtMost) {
    ASSERT_TRUE(Start());
    const QAction* placeholder = MenuItem("最新のﾌｧｲﾙ");
    ASSERT_NE(placeholder, nullptr);
    Frame()->UpdateCommandUI();
    EXPECT_TRUE(placeholder->isVisible());
    EXPECT_FALSE(placeholder->isEnabled());

    const std::string deep = Repeat(std::string(200, 'd') + "/", 15);
    std::filesystem::create_directories(dir / deep);
    std::vector<std::string> files;
    for (const std::string& name : std::vector<std::string>{
             "1.jis", "旧.jis", "R&D.jis", deep + "長い名前のファイル.jis", "5.jis", "旧.jis"}) {
        files.push_back(WriteFile(name, "line\n"));
        ASSERT_NE(app->OpenDocumentFile(files.back().c_str()), nullptr);
    }
    Stop();

    ASSERT_TRUE(Start());
    const CRecentFileList& list = *app->GetRecentFileList();
    ASSERT_EQ(list.GetCount(), 4);
    const std::string newestFirst[] = {files[1], files[4], files[3], files[2]};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(list[i], newestFirst[i]) << i;
    }
    Frame()->UpdateCommandUI();
    EXPECT_FALSE(MenuItem("最新のﾌｧｲﾙ")->isVisible());
    const std::vector<std::string> items = MenuTexts("ﾌｧｲﾙ(&F)");
    const auto first = std::find(items.begin(), items.end(), "&1 " + files[1]);
    ASSERT_NE(first, items.end());
    const QString shortened = QString::fromStdString(first[2]);
    EXPECT_TRUE(shortened.endsWith(QStringLiteral("/…/長い名前のファイル.jis"))) << first[2];
    EXPECT_LE(shortened.size(), 103); // "&3 " and at most 100 characters of path
    EXPECT_TRUE(shortened.startsWith(QString::fromStdString("&3 " + dir.string()))) << first[2];
    EXPECT_EQ(first[3], "&4 " + std::string(files[2]).replace(files[2].find('&'), 1, "&&"));

    // Choosing an entry opens that file.
    EXPECT_TRUE(Frame()->ExecuteCommand(ID_FILE_MRU_FILE1 + 1));
    EXPECT_EQ(Title(), "5.jis - TAVO");
}

TEST_F(AppTest, RecentFilesThatAreNoLongerFilesAreReportedAndLeaveTheList) {
    const std::string fifo = (dir / "fifo").string();
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const std::string folder = (dir / "folder").string();
    std::filesystem::create_directory(folder);
    const std::string missing = (dir / "missing.jis").string();
    const std::string good = WriteFile("good.jis", "good\n");
    WriteFile("tavo.ini", "[Recent File List]\nFile1=" + fifo + "\nFile2=" + folder +
                              "\nFile3=" + missing + "\nFile4=" + good + "\n");
    ASSERT_TRUE(Start());
    const CRecentFileList& list = *app->GetRecentFileList();
    ASSERT_EQ(list.GetCount(), 4);
    for (const std::string& gone : {fifo, folder, missing}) {
        messages.clear();
        EXPECT_TRUE(Frame()->ExecuteCommand(ID_FILE_MRU_FILE1));
        ASSERT_EQ(messages.size(), 1u) << gone;
        EXPECT_EQ(messages[0].rfind(gone + "\n\n", 0), 0u) << messages[0];
        EXPECT_EQ(Title(), "無題 - TAVO");
    }
    ASSERT_EQ(list.GetCount(), 1);
    EXPECT_TRUE(Frame()->ExecuteCommand(ID_FILE_MRU_FILE1));
    EXPECT_EQ(Title(), "good.jis - TAVO");
}

TEST_F(AppTest, DamagedIniFilesNeitherStopTheProgramNorFillTheRecentList) {
    std::string thousands = "[Recent File List]\n";
    for (int i = 1; i <= 5000; ++i) {
        thousands +=
            "File" + std::to_string(i) + "=" + (dir / "f").string() + std::to_string(i) + "\n";
    }
    // No ini: a folder, neither read nor replaced.
    const std::pair<std::optional<std::string>, int> cases[] = {
        {"", 0}, {RandomBytes(4096, 7), 0}, {thousands, 4}, {std::nullopt, 0}};
    const std::string good = WriteFile("good.jis", "good\n");
    for (const auto& [ini, recent] : cases) {
        std::filesystem::remove_all(dir / "tavo.ini");
        if (ini) {
            WriteFile("tavo.ini", *ini);
        } else {
            std::filesystem::create_directory(dir / "tavo.ini");
        }
        ASSERT_TRUE(Start());
        EXPECT_EQ(app->GetRecentFileList()->GetCount(), recent);
        EXPECT_NE(app->OpenDocumentFile(good.c_str()), nullptr);
        EXPECT_EQ(Stop(), 0);
    }
    EXPECT_TRUE(std::filesystem::is_directory(dir / "tavo.ini"));
    EXPECT_TRUE(messages.empty());
}

} // namespace

TEST_F(AppTest, OpenDialogSpeaksJapaneseAndStartsWhereTheFileOnScreenIs) {
    ASSERT_TRUE(Start({SAMPLE}));
    const std::filesystem::path other = dir / "sub" / "other.jis";
    std::filesystem::create_directories(other.parent_path());
    std::ofstream(other) << "x";
    std::vector<std::string> folders;
    QString openButton;
    CDialog::SetModalHook([&](CDialog& dialog) {
        auto* files = qobject_cast<QFileDialog*>(dialog.GetDialog());
        EXPECT_NE(files, nullptr);
        if (files == nullptr) {
            return int(IDCANCEL);
        }
        EXPECT_EQ(files->windowTitle().toStdString(), "開く");
        folders.push_back(files->directory().absolutePath().toStdString());
        openButton = files->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Open)->text();
        files->selectFile(QString::fromStdString(other.string()));
        QMetaObject::invokeMethod(files, "accept");
        return int(IDOK);
    });
    EXPECT_TRUE(Frame()->ExecuteCommand(ID_FILE_OPEN));
    EXPECT_EQ(Title(), "other.jis - TAVO");
    EXPECT_TRUE(openButton.startsWith(QStringLiteral("開く"))) << openButton.toStdString();

    // Untitled, it starts in the folder used last, also after a restart.
    EXPECT_TRUE(Frame()->ExecuteCommand(ID_FILE_NEW));
    EXPECT_TRUE(Frame()->ExecuteCommand(ID_FILE_OPEN));
    Stop();
    ASSERT_TRUE(Start());
    EXPECT_TRUE(Frame()->ExecuteCommand(ID_FILE_OPEN));
    ASSERT_EQ(folders.size(), 3u);
    EXPECT_EQ(folders[0], std::filesystem::path(SAMPLE).parent_path().string());
    EXPECT_EQ(folders[1], other.parent_path().string());
    EXPECT_EQ(folders[2], other.parent_path().string());
}

// A drop is taken as a copy whatever the source proposes: a source told
// that its file was moved would delete it.
TEST_F(AppTest, ADroppedFileIsCopiedNeverMovedAndOpensWithTheChecksOfTheOpenDialog) {
    ASSERT_TRUE(Start({SAMPLE}));
    QMainWindow* window = Frame()->GetMainWindow();
    EXPECT_TRUE(window->acceptDrops());
    // Shift proposes a move where the source allows one.
    const auto drop = [window](const std::string& path, Qt::DropActions actions) {
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(QString::fromStdString(path))});
        const QPointF at(window->width() / 2.0, window->height() / 2.0);
        QDragEnterEvent enter(at.toPoint(), actions, &data, Qt::LeftButton, Qt::ShiftModifier);
        QApplication::sendEvent(window, &enter);
        EXPECT_EQ(enter.isAccepted(), actions.testFlag(Qt::CopyAction));
        QDropEvent dropped(at, actions, &data, Qt::LeftButton, Qt::ShiftModifier);
        QApplication::sendEvent(window, &dropped);
        return dropped.isAccepted() ? dropped.dropAction() : Qt::IgnoreAction;
    };
    const std::string moved = WriteFile("moved.jis", "moved\n");
    EXPECT_EQ(drop(moved, Qt::MoveAction), Qt::IgnoreAction);
    EXPECT_EQ(Title(), "story.jis - TAVO");
    EXPECT_EQ(drop(moved, Qt::MoveAction | Qt::CopyAction), Qt::CopyAction);
    EXPECT_EQ(Title(), "moved.jis - TAVO");
    EXPECT_TRUE(messages.empty());
    drop(dir.string(), Qt::CopyAction);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_NE(messages[0].find("通常のファイルではありません"), std::string::npos);
    EXPECT_EQ(Title(), "moved.jis - TAVO");
}
