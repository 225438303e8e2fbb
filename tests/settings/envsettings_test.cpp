#include "settings/envsettings.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include <fcntl.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<unsigned char>;

// The stored defaults, byte for byte.
Bytes DefaultFileBytes() {
    Bytes bytes(284, 0);
    const unsigned char font[] = {0x5A, 0, 0, 0};
    const unsigned char face[] = {0x82, 0x6C, 0x82, 0x72, 0x20, 0x83, 0x53,
                                  0x83, 0x56, 0x83, 0x62, 0x83, 0x4E, 0x00};
    for (int f = 0; f < 4; ++f) {
        std::memcpy(&bytes[f * 60], font, sizeof font);
        bytes[f * 60 + 23] = 0x80;
        bytes[f * 60 + 27] = 0x01;
        std::memcpy(&bytes[f * 60 + 28], face, sizeof face);
    }
    const unsigned char colors[] = {0x00, 0x00, 0x00, 0, 0x80, 0x00, 0x00, 0, 0x80, 0x00, 0x80, 0,
                                    0x00, 0x00, 0x80, 0, 0x00, 0x80, 0x00, 0, 0xFF, 0xFF, 0xFF, 0,
                                    0xFF, 0xFF, 0xFF, 0, 0xC0, 0xC0, 0xC0, 0, 0xFF, 0xFF, 0xFF, 0};
    std::memcpy(&bytes[240], colors, sizeof colors);
    bytes[276] = 0x03;
    bytes[280] = 0x50;
    bytes[281] = 0x80;
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

    void WriteEnv(const Bytes& bytes) const {
        std::ofstream(EnvPath(), std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    }
    Bytes ReadEnv() const {
        std::ifstream in(EnvPath(), std::ios::binary);
        return Bytes(std::istreambuf_iterator<char>(in), {});
    }

    fs::path m_dir;
};

Bytes RecordBytes(const EnvSettings& env) {
    const auto* p = reinterpret_cast<const unsigned char*>(&env);
    return Bytes(p, p + sizeof env);
}

TEST_F(EnvFile, MissingFileGivesDefaultsAndIsNotCreated) {
    EnvStore store = MakeStore();
    store.Load();
    EXPECT_EQ(RecordBytes(store.m_env), DefaultFileBytes());
    EXPECT_FALSE(fs::exists(EnvPath()));
}

TEST_F(EnvFile, SavedDefaultsMatchTheStoredLayout) {
    EnvStore store = MakeStore();
    store.SetDefaults();
    ASSERT_EQ(store.Save(), EnvSaveResult::saved);
    EXPECT_EQ(ReadEnv(), DefaultFileBytes());
}

TEST_F(EnvFile, FilesOfEveryLengthFillOnlyTheirLeadingBytes) {
    // Shorter than the record: the rest stays zero (an empty file leaves it
    // all zero); longer: only the first 284 bytes count.
    Bytes pattern(300);
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        pattern[i] = static_cast<unsigned char>(i % 251 + 1);
    }
    for (std::size_t length = 0; length <= pattern.size(); ++length) {
        WriteEnv(Bytes(pattern.begin(), pattern.begin() + std::ptrdiff_t(length)));
        EnvStore store = MakeStore();
        store.Load();
        Bytes expected(284, 0);
        std::copy_n(pattern.begin(), std::min<std::size_t>(length, 284), expected.begin());
        ASSERT_EQ(RecordBytes(store.m_env), expected) << length << " bytes";
    }
    // The next save writes back the 284 bytes that were read.
    EnvStore store = MakeStore();
    store.Load();
    ASSERT_EQ(store.Save(), EnvSaveResult::saved);
    EXPECT_EQ(ReadEnv(), Bytes(pattern.begin(), pattern.begin() + 284));
}

TEST_F(EnvFile, UnknownBitsAndReservedBytesSurviveLoadAndSave) {
    Bytes bytes = DefaultFileBytes();
    bytes[276] = 0xE3;                    // flags with bits of no meaning
    bytes[277] = 0x12, bytes[279] = 0x34; // reserved
    bytes[282] = 0x56, bytes[283] = 0x78; // reserved
    bytes[280] = 0x50, bytes[281] = 0x20; // a wrap mode of no meaning
    std::fill_n(&bytes[28], 32, 'A');     // a face name without NUL
    WriteEnv(bytes);
    EnvStore store = MakeStore();
    store.Load();
    EXPECT_EQ(store.m_env.wWrap, 0x2050);
    EXPECT_EQ(FaceNameOf(store.m_env.lfFont[0]), std::string(32, 'A'));
    ASSERT_EQ(store.Save(), EnvSaveResult::saved);
    EXPECT_EQ(ReadEnv(), bytes);
}

TEST_F(EnvFile, SaveIntoAnUnwritablePlaceFailsAndKeepsTheRecord) {
    EnvStore store((m_dir / "missing-dir" / "TAVO.EXE").c_str());
    store.SetDefaults();
    CFileException error;
    EXPECT_EQ(store.Save(&error), EnvSaveResult::notCreated);
    EXPECT_EQ(error.m_cause, CFileException::fileNotFound);
    EXPECT_EQ(error.m_strFileName, (m_dir / "missing-dir" / "TAVO.env").string());
    EXPECT_EQ(store.m_env.bFlags, 3);
}

TEST_F(EnvFile, AFolderInPlaceOfTheFileGivesDefaultsAndIsNotReplaced) {
    fs::create_directory(EnvPath());
    EnvStore store = MakeStore();
    store.Load();
    EXPECT_EQ(RecordBytes(store.m_env), DefaultFileBytes());
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
    const int fd = ::open(path, O_WRONLY);
    const bool written = fd >= 0 && ::write(fd, text.data(), text.size()) == ssize_t(text.size());
    if (fd >= 0) {
        ::close(fd);
    }
    return written;
}

// Runs body in a child process in which folder is a tmpfs of 8 KiB of its
// own; returns what body found wrong, or nothing when this system lets no
// process mount one.
std::optional<std::string> OnASmallDisk(const fs::path& folder,
                                        const std::function<std::string()>& body) {
    int pipe[2];
    if (::pipe(pipe) != 0) {
        return "no pipe";
    }
    const uid_t uid = ::getuid();
    const gid_t gid = ::getgid();
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(pipe[0]);
        // A user namespace of its own lets even an unprivileged process mount.
        if (::unshare(CLONE_NEWUSER | CLONE_NEWNS) != 0 ||
            !WriteProcFile("/proc/self/setgroups", "deny") ||
            !WriteProcFile("/proc/self/uid_map", "0 " + std::to_string(uid) + " 1") ||
            !WriteProcFile("/proc/self/gid_map", "0 " + std::to_string(gid) + " 1") ||
            ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
            ::mount("tavo", folder.c_str(), "tmpfs", 0, "size=8k") != 0) {
            ::_exit(NO_SMALL_DISK);
        }
        const std::string faults = body();
        const bool reported =
            ::write(pipe[1], faults.data(), faults.size()) == ssize_t(faults.size());
        ::_exit(reported ? 0 : 1);
    }
    ::close(pipe[1]);
    std::string faults;
    char buffer[256];
    for (ssize_t n; (n = ::read(pipe[0], buffer, sizeof buffer)) > 0;) {
        faults.append(buffer, std::size_t(n));
    }
    ::close(pipe[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    if (WIFEXITED(status) && WEXITSTATUS(status) == NO_SMALL_DISK) {
        return std::nullopt;
    }
    return WIFEXITED(status) && WEXITSTATUS(status) == 0 ? faults : "the child failed";
}

TEST_F(EnvFile, ADiskThatFillsWhileSavingKeepsThePreviousFileByteForByte) {
    Bytes old = DefaultFileBytes();
    old[276] = 0xE3;
    const std::optional<std::string> faults = OnASmallDisk(m_dir, [&] {
        WriteEnv(old);
        std::ofstream filler(m_dir / "filler", std::ios::binary);
        const std::string block(512, 'x');
        while (filler.write(block.data(), std::streamsize(block.size())).flush()) {
        }
        EnvStore store = MakeStore();
        store.SetDefaults();
        CFileException error;
        std::string found;
        if (store.Save(&error) != EnvSaveResult::notWritten) {
            found += "the save did not fail in writing; ";
        }
        if (DescribeSaveFailure(EnvSaveResult::notWritten, error)
                .find("ディスクの空き領域が不足しています") == std::string::npos) {
            found += "the user is not told the disk is full; ";
        }
        if (ReadEnv() != old) {
            found += "the previous file changed; ";
        }
        if (fs::exists(EnvPath().string() + ".tmp")) {
            found += "the temporary file was left; ";
        }
        return found;
    });
    if (!faults) {
        GTEST_SKIP() << "no user namespaces here, so no small disk can be mounted";
    }
    EXPECT_EQ(*faults, "");
}

} // namespace
