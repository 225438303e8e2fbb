#include "settings/envsettings.h"
#include "support/as_nobody.h"
#include "support/bytes.h"
#include "support/small_disk.h"

#include <gtest/gtest.h>

#include <cstring>

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

// The stored defaults, byte for byte: four fonts of 9 points in "ＭＳ ゴシック",
// nine colours, both corrections, no wrapping at column 80.
std::string DefaultFileBytes() {
    std::string bytes(284, '\0');
    for (int f = 0; f < 4; ++f) {
        bytes[f * 60] = 90;
        bytes[f * 60 + 23] = '\x80'; // SHIFTJIS_CHARSET
        bytes[f * 60 + 27] = 0x01;   // FIXED_PITCH
        bytes.replace(f * 60 + 28, 13, "\x82\x6C\x82\x72\x20\x83\x53\x83\x56\x83\x62\x83\x4E");
    }
    const std::uint32_t colors[] = {0x000000, 0x000080, 0x800080, 0x800000, 0x008000,
                                    0xFFFFFF, 0xFFFFFF, 0xC0C0C0, 0xFFFFFF};
    std::memcpy(&bytes[240], colors, sizeof colors); // little-endian, as stored
    bytes[276] = 0x03;
    bytes[280] = 0x50;
    bytes[281] = '\x80';
    return bytes;
}

class EnvFile : public testing::Test {
protected:
    void SetUp() override {
        char templ[] = "/tmp/tavo-env-XXXXXX";
        ASSERT_NE(mkdtemp(templ), nullptr);
        m_dir = templ;
    }
    void TearDown() override { fs::remove_all(m_dir); }

    EnvStore MakeStore() const { return EnvStore((m_dir / "TAVO.EXE").c_str()); }
    fs::path EnvPath() const { return m_dir / "TAVO.env"; }

    fs::path m_dir;
};

TEST_F(EnvFile, WithoutAFileTheDefaultsHoldAndSaveAsStored) {
    EnvStore store = MakeStore();
    store.Load();
    EXPECT_EQ(BytesOf(store.m_env), DefaultFileBytes());
    EXPECT_FALSE(fs::exists(EnvPath()));
    ASSERT_EQ(store.Save(), EnvSaveResult::saved);
    EXPECT_EQ(ReadBytes(EnvPath()), DefaultFileBytes());
}

// Every column a wrap word can hold comes back from the file as the column
// it was stored with; each mode keeps its column through a save too.
TEST_F(EnvFile, EveryWrapColumnComesBackFromTheFile) {
    EnvStore store = MakeStore();
    store.SetDefaults();
    const auto reopened = [&] {
        EnvStore again = MakeStore();
        again.Load();
        return DecodeWrap(again.m_env.wWrap);
    };
    for (WORD column = 0; column < 1024; ++column) { // the low ten bits
        store.m_env.wWrap = WORD(ENV_WRAP_FIXED | column);
        WriteBytes(EnvPath(), BytesOf(store.m_env));
        const WrapSetting wrap = reopened();
        ASSERT_EQ(wrap.column, column);
        ASSERT_EQ(wrap.mode, WrapMode::fixedColumn);
    }
    for (const WORD mode : {ENV_WRAP_FIXED, ENV_WRAP_WINDOW, ENV_WRAP_NONE}) {
        store.m_env.wWrap = WORD(mode | 999);
        ASSERT_EQ(store.Save(), EnvSaveResult::saved);
        EXPECT_EQ(reopened().column, 999) << mode;
    }
}

TEST_F(EnvFile, FilesOfEveryLengthFillOnlyTheirLeadingBytes) {
    // Shorter than the record: the rest stays zero (an empty file leaves it
    // all zero); longer: only the first 284 bytes count.
    std::string pattern(300, '\0');
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        pattern[i] = char(i % 251 + 1);
    }
    for (std::size_t length = 0; length <= pattern.size(); ++length) {
        WriteBytes(EnvPath(), pattern.substr(0, length));
        EnvStore store = MakeStore();
        store.Load();
        std::string expected = pattern.substr(0, std::min<std::size_t>(length, 284));
        expected.resize(284, '\0');
        ASSERT_EQ(BytesOf(store.m_env), expected) << length << " bytes";
    }
    // The next save writes back the 284 bytes that were read.
    EnvStore store = MakeStore();
    store.Load();
    ASSERT_EQ(store.Save(), EnvSaveResult::saved);
    EXPECT_EQ(ReadBytes(EnvPath()), pattern.substr(0, 284));
}

TEST_F(EnvFile, AFolderInPlaceOfTheFileGivesDefaultsAndIsNotReplaced) {
    fs::create_directory(EnvPath());
    EnvStore store = MakeStore();
    store.Load();
    EXPECT_EQ(BytesOf(store.m_env), DefaultFileBytes());
    CFileException error;
    EXPECT_EQ(store.Save(&error), EnvSaveResult::notCreated);
    EXPECT_EQ(error.m_cause, CFileException::notRegularFile);
    EXPECT_TRUE(fs::is_directory(EnvPath()));
    EXPECT_EQ(EntriesIn(m_dir), 1); // no temporary file left
}

TEST_F(EnvFile, ADiskThatFillsWhileSavingKeepsThePreviousFileByteForByte) {
    std::string old = DefaultFileBytes();
    old[276] = '\xE3';
    const int faults = OnASmallDisk(m_dir, "8k", [&] {
        WriteBytes(EnvPath(), old);
        std::ofstream filler(m_dir / "filler", std::ios::binary);
        const std::string block(512, 'x');
        while (filler.write(block.data(), std::streamsize(block.size())).flush()) {
        }
        EnvStore store = MakeStore();
        store.SetDefaults();
        CFileException error;
        const EnvSaveResult result = store.Save(&error);
        return int(result != EnvSaveResult::notWritten) |
               int(error.m_cause != CFileException::diskFull) << 1 |
               int(ReadBytes(EnvPath()) != old) << 2 | int(EntriesIn(m_dir) != 2) << 3 |
               int(fs::path(error.m_strFileName).parent_path() != m_dir ||
                   error.m_strFileName == EnvPath())
                   << 4;
    });
    if (faults == NO_SMALL_DISK) {
        GTEST_SKIP() << "no user namespaces here, so no small disk can be mounted";
    }
    // 1: the save did not fail in writing; 2: the cause is not the full
    // disk; 4: the previous file changed; 8: the temporary file was left; 16:
    // the file named is not the temporary one that failed.
    EXPECT_EQ(faults, 0);
}

TEST_F(EnvFile, ALinkIsFollowedAndKeptAndTheModeOfTheFileWithIt) {
    fs::create_directory(m_dir / "shared");
    WriteBytes(m_dir / "shared" / "settings", "old");
    ::chmod((m_dir / "shared" / "settings").c_str(), 0640);
    fs::create_symlink("shared/settings", EnvPath());
    EnvStore store = MakeStore();
    store.SetDefaults();
    ASSERT_EQ(store.Save(), EnvSaveResult::saved);
    EXPECT_EQ(fs::read_symlink(EnvPath()), "shared/settings");
    EXPECT_EQ(ReadBytes(m_dir / "shared" / "settings"), DefaultFileBytes());
    EXPECT_EQ(ModeOf(m_dir / "shared" / "settings"), 0640u);
}

// Acting as the user nobody when running as root: nobody owns the folder
// and the env file. False when this user may write a 0444 file anyway.
bool ReadOnlyHolds(const fs::path& folder, const fs::path& file) {
    ::chown(folder.c_str(), 65534, 65534);
    ::chown(file.c_str(), 65534, 65534);
    ::chmod(file.c_str(), 0444);
    const AsNobody nobody;
    const bool holds = ::faccessat(AT_FDCWD, file.c_str(), W_OK, AT_EACCESS) != 0;
    ::chmod(file.c_str(), 0644);
    return holds;
}

TEST_F(EnvFile, AReadOnlyEnvFileIsNotReplacedAndTheFailureSaysWhichAndWhy) {
    WriteBytes(EnvPath(), "old");
    if (!ReadOnlyHolds(m_dir, EnvPath())) {
        GTEST_SKIP() << "every file is writable for this user, so none is read-only";
    }
    ::chmod(EnvPath().c_str(), 0444);
    const AsNobody nobody;
    EnvStore store = MakeStore();
    store.SetDefaults();
    CFileException error;
    const EnvSaveResult result = store.Save(&error);
    EXPECT_EQ(result, EnvSaveResult::notCreated);
    EXPECT_EQ(error.m_strFileName, EnvPath().string());
    EXPECT_EQ(error.m_cause, CFileException::accessDenied);
    EXPECT_EQ(ReadBytes(EnvPath()), "old");
    EXPECT_EQ(ModeOf(EnvPath()), 0444u);
    EXPECT_EQ(EntriesIn(m_dir), 1);
}

// The env file is only ever replaced whole: where no temporary file can be
// made beside it, the save fails, naming that file, and the env file stays.
TEST_F(EnvFile, InAFolderThatMayNotBeWrittenTheSaveFailsAndTheFileStays) {
    WriteBytes(EnvPath(), "old");
    if (!ReadOnlyHolds(m_dir, EnvPath())) {
        GTEST_SKIP() << "every folder is writable for this user";
    }
    ::chmod(m_dir.c_str(), 0555);
    const AsNobody nobody;
    for (const char* module : {"TAVO.EXE", "OTHER.EXE"}) {
        EnvStore store((m_dir / module).c_str());
        store.SetDefaults();
        CFileException error;
        EXPECT_EQ(store.Save(&error), EnvSaveResult::notCreated) << module;
        EXPECT_EQ(fs::path(error.m_strFileName).parent_path(), m_dir);
        EXPECT_NE(error.m_strFileName, store.m_strEnvPath);
        EXPECT_EQ(error.m_cause, CFileException::accessDenied);
    }
    EXPECT_EQ(ReadBytes(EnvPath()), "old");
    EXPECT_EQ(EntriesIn(m_dir), 1);
}

TEST_F(EnvFile, LinksPlantedWhereATemporaryFileMightGoAreLeftAlone) {
    WriteBytes(m_dir / "victim", "victim");
    const char* planted[] = {"TAVO.env.tmp", ".TAVO.env.tmp", "TAVO.env~", ".TAVO.env.00000000"};
    for (const char* name : planted) {
        fs::create_symlink(m_dir / "victim", m_dir / name);
    }
    EnvStore store = MakeStore();
    store.SetDefaults();
    ASSERT_EQ(store.Save(), EnvSaveResult::saved);
    EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(EnvPath())));
    EXPECT_EQ(ReadBytes(EnvPath()), DefaultFileBytes());
    EXPECT_EQ(ReadBytes(m_dir / "victim"), "victim");
    for (const char* name : planted) {
        EXPECT_EQ(fs::read_symlink(m_dir / name), m_dir / "victim") << name;
    }
}

TEST_F(EnvFile, TwoProgramsSavingAtOnceNeverShowAShortFileAndBothSucceed) {
    constexpr int SAVES = 150;
    EnvStore first = MakeStore();
    first.SetDefaults();
    EnvStore second = first;
    second.m_env.bFlags = ENV_LINE_NUMBERS;
    ASSERT_EQ(first.Save(), EnvSaveResult::saved);
    const std::string records[] = {BytesOf(first.m_env), BytesOf(second.m_env)};
    pid_t savers[2];
    for (int i = 0; i < 2; ++i) {
        savers[i] = ::fork();
        if (savers[i] == 0) {
            int failures = 0;
            for (int n = 0; n < SAVES; ++n) {
                failures += (i == 0 ? first : second).Save() != EnvSaveResult::saved;
            }
            ::_exit(failures == 0 ? 0 : 1);
        }
    }
    // Read while either saver runs; bounded by their loops.
    int strangers = 0; // reads that were neither record whole
    int status[2] = {-1, -1};
    for (int running = 2; running > 0;) {
        const std::string bytes = ReadBytes(EnvPath());
        strangers += bytes != records[0] && bytes != records[1];
        for (int i = 0; i < 2; ++i) {
            if (status[i] == -1 && ::waitpid(savers[i], &status[i], WNOHANG) == savers[i]) {
                --running;
            }
        }
    }
    EXPECT_EQ(strangers, 0);
    for (int i = 0; i < 2; ++i) {
        EXPECT_TRUE(WIFEXITED(status[i]) && WEXITSTATUS(status[i]) == 0) << "saver " << i;
    }
    EXPECT_EQ(EntriesIn(m_dir), 1);
}

} // namespace
