// Saving the settings where it cannot succeed: the previous env file stays
// byte for byte, no temporary file is left, the user is told, and the new
// settings hold for the run.
#include "envdialog_fixture.h"
#include "support/as_nobody.h"

#include <csignal>
#include <optional>
#include <sys/resource.h>

namespace {

// Makes the folder read-only for as long as it lives.
class ReadOnlyFolder {
public:
    explicit ReadOnlyFolder(std::filesystem::path folder) : m_folder(std::move(folder)) {
        std::filesystem::permissions(m_folder, std::filesystem::perms(0555));
        m_nobody.emplace();
    }
    ~ReadOnlyFolder() {
        m_nobody.reset(); // nobody may not give the folder its modes back
        std::filesystem::permissions(m_folder, std::filesystem::perms(0755));
    }

private:
    std::filesystem::path m_folder;
    std::optional<AsNobody> m_nobody;
};

// Files cannot grow past a few bytes while it lives: a write runs short
// and then fails, as on a full disk.
class FullDisk {
public:
    FullDisk() {
        ::getrlimit(RLIMIT_FSIZE, &m_old);
        m_oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit small = m_old;
        small.rlim_cur = 100;
        ::setrlimit(RLIMIT_FSIZE, &small);
    }
    ~FullDisk() {
        ::setrlimit(RLIMIT_FSIZE, &m_old);
        std::signal(SIGXFSZ, m_oldHandler);
    }

private:
    rlimit m_old = {};
    void (*m_oldHandler)(int) = nullptr;
};

class EnvSaveTest : public EnvDialogTest {
protected:
    void SetUp() override {
        EnvDialogTest::SetUp();
        ASSERT_TRUE(Start({WriteFile("long.jis", std::string(300, 'x') + "\n")}));
        Env().bFlags = 0xE3; // something to keep: bits of no meaning
        old = RecordBytes(Env());
        WriteEnvFile(old);
    }

    // Line numbers on and wrapping at column 100, then OK.
    void ChangeAndConfirm() {
        ASSERT_TRUE(Settings([](CEnvDialog& dialog) {
            Click(dialog, IDC_LINE_NUMBERS);
            Click(dialog, IDC_WRAP_FIXED);
            TypeColumn(dialog, "100");
            Click(dialog, IDOK);
        }));
    }

    void ExpectOldFileKeptAndNewSettingsInForce(const char* step, const char* reason) const {
        EXPECT_EQ(FileBytes(), old);
        std::vector<std::string> envFiles;
        for (const auto& entry : std::filesystem::directory_iterator(dir)) {
            if (entry.path().filename().string().find(".env") != std::string::npos) {
                envFiles.push_back(entry.path().filename().string());
            }
        }
        EXPECT_EQ(envFiles, std::vector<std::string>{"tavo.env"});

        ASSERT_EQ(messages.size(), 1u);
        for (const std::string& part :
             {EnvPath().string(), std::string(step), std::string(reason)}) {
            EXPECT_NE(messages[0].find(part), std::string::npos) << messages[0];
        }
        EXPECT_EQ(Env().bFlags, 0xE3 | ENV_LINE_NUMBERS);
        EXPECT_EQ(Env().wWrap, 100);
        // The view follows the settings in force: the long line wraps.
        EXPECT_GT(Doc()->m_nTotalRows[0], 2);
    }

    Bytes old;
};

TEST_F(EnvSaveTest, AReadOnlyFolderKeepsTheOldFileAndTheUserIsTold) {
    {
        const ReadOnlyFolder readOnly(dir);
        ChangeAndConfirm();
    }
    ExpectOldFileKeptAndNewSettingsInForce("設定ファイルを作成できませんでした。",
                                           "ファイルにアクセスできません。");
}

TEST_F(EnvSaveTest, AWriteThatRunsShortKeepsTheOldFileAndTheUserIsTold) {
    {
        const FullDisk full;
        ChangeAndConfirm();
    }
    ExpectOldFileKeptAndNewSettingsInForce("設定ファイルに書き込めませんでした。",
                                           "ファイルの書き込み中にエラーが発生しました。");
}

} // namespace
