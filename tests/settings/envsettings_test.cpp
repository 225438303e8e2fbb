#include "settings/envsettings.h"
#include "support/bytes.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>

#include <sched.h>
#include <sys/mount.h>
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
    EXPECT_NE(
        DescribeSaveFailure(EnvSaveResult::notCreated, error).find("通常のファイルではありません"),
        std::string::npos);
    EXPECT_TRUE(fs::is_directory(EnvPath()));
    EXPECT_EQ(std::distance(fs::directory_iterator(m_dir), {}), 1); // no temporary file left
}

constexpr int NO_SMALL_DISK = 77;

bool WriteProcFile(const char* path, const std::string& text) {
    std::ofstream file(path);
    return bool(file << text << std::flush);
}

// Runs body in a child process in which folder is a tmpfs of 8 KiB of its
// own; returns the child's status: what body returned, or NO_SMALL_DISK
// when this system lets no process mount one.
int OnASmallDisk(const fs::path& folder, const std::function<int()>& body) {
    const uid_t uid = ::getuid();
    const gid_t gid = ::getgid();
    const pid_t child = ::fork();
    if (child == 0) {
        // A user namespace of its own lets even an unprivileged process mount.
        if (::unshare(CLONE_NEWUSER | CLONE_NEWNS) != 0 ||
            !WriteProcFile("/proc/self/setgroups", "deny") ||
            !WriteProcFile("/proc/self/uid_map", "0 " + std::to_string(uid) + " 1") ||
            !WriteProcFile("/proc/self/gid_map", "0 " + std::to_string(gid) + " 1") ||
            ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
            ::mount("tavo", folder.c_str(), "tmpfs", 0, "size=8k") != 0) {
            ::_exit(NO_SMALL_DISK);
        }
        ::_exit(body());
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST_F(EnvFile, ADiskThatFillsWhileSavingKeepsThePreviousFileByteForByte) {
    std::string old = DefaultFileBytes();
    old[276] = '\xE3';
    const int faults = OnASmallDisk(m_dir, [&] {
        WriteBytes(EnvPath(), old);
        std::ofstream filler(m_dir / "filler", std::ios::binary);
        const std::string block(512, 'x');
        while (filler.write(block.data(), std::streamsize(block.size())).flush()) {
        }
        EnvStore store = MakeStore();
        store.SetDefaults();
        CFileException error;
        const EnvSaveResult result = store.Save(&error);
        const std::string told = DescribeSaveFailure(result, error);
        return int(result != EnvSaveResult::notWritten) |
               int(told.find(EnvPath().string() + "\n\n設定ファイルに書き込めませんでした。\n"
                                                  "ディスクの空き領域が不足しています") ==
                   std::string::npos)
                   << 1 |
               int(ReadBytes(EnvPath()) != old) << 2 |
               int(fs::exists(EnvPath().string() + ".tmp")) << 3;
    });
    if (faults == NO_SMALL_DISK) {
        GTEST_SKIP() << "no user namespaces here, so no small disk can be mounted";
    }
    // 1: the save did not fail in writing; 2: the user is not told where and
    // why; 4: the previous file changed; 8: the temporary file was left.
    EXPECT_EQ(faults, 0);
}

} // namespace
