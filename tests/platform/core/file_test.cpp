#include "document/tavodoc.h"
#include "platform/core/file.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sys/stat.h>

namespace {

namespace fs = std::filesystem;

class Files : public testing::Test {
protected:
    void SetUp() override {
        char templ[] = "/tmp/tavo-file-XXXXXX";
        ASSERT_NE(mkdtemp(templ), nullptr);
        m_dir = templ;
    }
    void TearDown() override { fs::remove_all(m_dir); }

    CFileException::Cause OpenFailure(const fs::path& path) {
        CFile file;
        CFileException error;
        EXPECT_FALSE(file.Open(path.c_str(), CFile::modeRead, &error));
        EXPECT_EQ(error.m_strFileName, path.string());
        EXPECT_FALSE(error.GetErrorMessage().empty());
        return error.m_cause;
    }

    fs::path m_dir;
};

TEST_F(Files, RefusesWhatIsNoRegularFileWithoutBlocking) {
    EXPECT_EQ(OpenFailure(m_dir / "missing"), CFileException::fileNotFound);
    EXPECT_EQ(OpenFailure(m_dir), CFileException::notRegularFile);
    const fs::path fifo = m_dir / "fifo";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_EQ(OpenFailure(fifo), CFileException::notRegularFile); // no writer: must not hang
    EXPECT_EQ(OpenFailure("/dev/zero"), CFileException::notRegularFile);
}

TEST_F(Files, OpeningADocumentNeverWritesIt) {
    const fs::path path = m_dir / "doc.jis";
    std::ofstream(path) << "line\n";
    fs::permissions(path, fs::perms::owner_read);
    const auto before = fs::last_write_time(path);
    CTAVODoc doc;
    ASSERT_TRUE(doc.OnOpenDocument(path.c_str()));
    EXPECT_EQ(doc.m_nLines, 2u);
    EXPECT_EQ(fs::last_write_time(path), before);
    EXPECT_EQ(fs::file_size(path), 5u);
}

TEST_F(Files, FailedOpenKeepsWhatTheDocumentHeld) {
    const fs::path path = m_dir / "doc.jis";
    std::ofstream(path) << "line\n";
    CTAVODoc doc;
    ASSERT_TRUE(doc.OnOpenDocument(path.c_str()));
    const BYTE* text = doc.m_pData;
    CFileException error;
    EXPECT_FALSE(doc.OnOpenDocument((m_dir / "gone").c_str(), &error));
    EXPECT_EQ(error.m_cause, CFileException::fileNotFound);
    EXPECT_EQ(doc.m_nLines, 2u);
    EXPECT_EQ(doc.m_pData, text);
}

} // namespace
