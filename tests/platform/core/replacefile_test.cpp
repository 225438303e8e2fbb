#include "platform/core/replacefile.h"
#include "support/as_nobody.h"
#include "support/bytes.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

// Every name in the folder and below, sorted, with what it is: the content
// of a file, the destination of a link, "/" for a folder.
std::string Snapshot(const fs::path& folder) {
    std::set<std::string> lines;
    for (const auto& entry : fs::recursive_directory_iterator(folder)) {
        std::string line = entry.path().lexically_relative(folder).string() + " ";
        if (entry.is_symlink()) {
            line += "-> " + fs::read_symlink(entry.path()).string();
        } else if (entry.is_directory()) {
            line += "/";
        } else {
            line += ReadBytes(entry.path());
        }
        lines.insert(line + "\n");
    }
    std::string snapshot;
    for (const std::string& line : lines) {
        snapshot += line;
    }
    return snapshot;
}

class Replacement : public testing::Test {
protected:
    void SetUp() override {
        char templ[] = "/tmp/tavo-replace-XXXXXX";
        ASSERT_NE(::mkdtemp(templ), nullptr);
        m_dir = templ;
    }
    void TearDown() override { fs::remove_all(m_dir); }

    // Replaces target with bytes written through the file; the outcome.
    BOOL Replace(const fs::path& target, const std::string& bytes, CFileException* pError) {
        CReplacementFile file;
        return file.Open(target.c_str(), pError) &&
               file.Write(bytes.data(), UINT(bytes.size()), pError) && file.Commit(pError);
    }

    fs::path m_dir;
};

TEST_F(Replacement, LinksAreFollowedAndKeptTheModeIsKeptAndADanglingLinkGetsItsFile) {
    // entry -> sub/hop -> ../target, relative links through a folder.
    fs::create_directory(m_dir / "sub");
    WriteBytes(m_dir / "target", "old");
    ::chmod((m_dir / "target").c_str(), 0640);
    fs::create_symlink("../target", m_dir / "sub" / "hop");
    fs::create_symlink("sub/hop", m_dir / "entry");
    CFileException error;
    ASSERT_TRUE(Replace(m_dir / "entry", "new", &error)) << error.m_strFileName;
    EXPECT_EQ(fs::read_symlink(m_dir / "entry"), "sub/hop");
    EXPECT_EQ(fs::read_symlink(m_dir / "sub" / "hop"), "../target");
    EXPECT_EQ(ReadBytes(m_dir / "target"), "new");
    EXPECT_EQ(ModeOf(m_dir / "target"), 0640u);

    fs::create_symlink(m_dir / "sub" / "made", m_dir / "dangling");
    ASSERT_TRUE(Replace(m_dir / "dangling", "made", &error)) << error.m_strFileName;
    EXPECT_TRUE(fs::is_symlink(m_dir / "dangling"));
    EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(m_dir / "sub" / "made")));
    EXPECT_EQ(ReadBytes(m_dir / "sub" / "made"), "made");
    const mode_t mask = ::umask(0);
    ::umask(mask);
    EXPECT_EQ(ModeOf(m_dir / "sub" / "made"), 0666u & ~mask);
    // No temporary file left: sub, hop, made, target, entry, dangling.
    EXPECT_EQ(std::distance(fs::recursive_directory_iterator(m_dir), {}), 6);
}

TEST_F(Replacement, TargetsThatAreNoRegularFileOrMayNotBeWrittenAreRefusedUntouched) {
    fs::create_directory(m_dir / "folder");
    fs::create_symlink("loop", m_dir / "loop");
    WriteBytes(m_dir / "readonly", "kept");
    ::chmod((m_dir / "readonly").c_str(), 0444);
    ::chown((m_dir / "readonly").c_str(), 65534, 65534);
    ::chown(m_dir.c_str(), 65534, 65534); // the user owns the folder
    const std::string before = Snapshot(m_dir);
    const struct {
        const char* name;
        const char* refused; // the file the cause names
        CFileException::Cause cause;
    } cases[] = {
        {"folder", "folder", CFileException::notRegularFile},
        {"loop", "loop", CFileException::generic},
        {"readonly", "readonly", CFileException::accessDenied},
    };
    const AsNobody nobody;
    const bool readOnlyHolds =
        ::faccessat(AT_FDCWD, (m_dir / "readonly").c_str(), W_OK, AT_EACCESS) != 0;
    for (const auto& c : cases) {
        if (c.cause == CFileException::accessDenied && !readOnlyHolds) {
            continue;
        }
        CReplacementFile file;
        CFileException error;
        EXPECT_FALSE(file.Open((m_dir / c.name).c_str(), &error)) << c.name;
        EXPECT_EQ(error.m_cause, c.cause) << c.name;
        EXPECT_EQ(error.m_strFileName, (m_dir / c.refused).string());
        EXPECT_EQ(Snapshot(m_dir), before) << c.name;
    }
    if (!readOnlyHolds) {
        GTEST_SKIP() << "every file is writable for this user, so none is read-only";
    }
}

TEST_F(Replacement, TheTemporaryFileIsFreshAndNeverALinkOrFilePlantedBeforehand) {
    WriteBytes(m_dir / "victim", "victim");
    WriteBytes(m_dir / "T.env", "old");
    for (const char* planted : {"T.env.tmp", ".T.env.tmp", ".T.env.00000000", "T.env~"}) {
        fs::create_symlink(m_dir / "victim", m_dir / planted);
    }
    WriteBytes(m_dir / ".T.env.ffffffff", "planted file");
    const std::string planted = Snapshot(m_dir);

    CReplacementFile first;
    CReplacementFile second;
    ASSERT_TRUE(first.Open((m_dir / "T.env").c_str()));
    ASSERT_TRUE(second.Open((m_dir / "T.env").c_str()));
    EXPECT_NE(first.GetTempPath(), second.GetTempPath());
    for (const CReplacementFile* file : {&first, &second}) {
        EXPECT_EQ(fs::path(file->GetTempPath()).parent_path(), m_dir);
        EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(file->GetTempPath())));
        EXPECT_EQ(fs::file_size(file->GetTempPath()), 0u);
    }
    // A writer that opens the path itself, as a print engine does.
    WriteBytes(first.GetTempPath(), "new");
    ASSERT_TRUE(first.Commit());
    second.Abandon();
    std::string expected = planted;
    expected.replace(expected.find("T.env old"), 9, "T.env new");
    EXPECT_EQ(Snapshot(m_dir), expected);
}

TEST_F(Replacement, NothingIsLeftBehindWhenAbandonedOrWhenTheRenameFails) {
    WriteBytes(m_dir / "target", "old");
    {
        CReplacementFile file;
        ASSERT_TRUE(file.Open((m_dir / "target").c_str()));
        ASSERT_TRUE(file.Write("new", 3));
    }
    EXPECT_EQ(Snapshot(m_dir), "target old\n");

    // Something else puts a folder in the target's place meanwhile.
    CReplacementFile file;
    ASSERT_TRUE(file.Open((m_dir / "target").c_str()));
    fs::remove(m_dir / "target");
    fs::create_directories(m_dir / "target" / "inside");
    CFileException error;
    EXPECT_FALSE(file.Commit(&error));
    EXPECT_EQ(error.m_strFileName, (m_dir / "target").string());
    EXPECT_NE(error.m_cause, CFileException::none);
    EXPECT_EQ(Snapshot(m_dir), "target /\ntarget/inside /\n");
}

} // namespace
