#include "document/tavodoc.h"
#include "platform/core/archive.h"
#include "platform/core/file.h"
#include "support/as_nobody.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <sys/stat.h>
#include <unistd.h>

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

TEST_F(Files, AnUnreadableFileIsRefused) {
    fs::permissions(m_dir, fs::perms(0755));
    const fs::path path = m_dir / "secret.jis";
    std::ofstream(path) << "x";
    fs::permissions(path, fs::perms::none);
    const AsNobody nobody;
    if (const int fd = ::open(path.c_str(), O_RDONLY); fd >= 0) {
        ::close(fd);
        GTEST_SKIP() << "this user reads files whatever their modes";
    }
    EXPECT_EQ(OpenFailure(path), CFileException::accessDenied);
}

// A file that another program shortens or lengthens right after its
// length was taken, before it is read.
class ChangingFile : public CFile {
public:
    ChangingFile(fs::path path, std::uintmax_t newSize)
        : m_path(std::move(path)), m_newSize(newSize) {}
    ULONGLONG GetLength() const override {
        const ULONGLONG length = CFile::GetLength();
        fs::resize_file(m_path, m_newSize);
        return length;
    }

private:
    fs::path m_path;
    std::uintmax_t m_newSize;
};

TEST_F(Files, AFileThatShrinksWhileReadLeavesAnEmptyDocumentAndOneThatGrowsItsFirstBytes) {
    const fs::path path = m_dir / "doc.jis";
    const auto load = [&](std::uintmax_t newSize, CTAVODoc& doc) {
        std::ofstream(path, std::ios::binary | std::ios::trunc) << "one\ntwo\nthree";
        ChangingFile file(path, newSize);
        ASSERT_TRUE(file.Open(path.c_str(), CFile::modeRead));
        CArchive ar(&file, CArchive::load);
        doc.Serialize(ar);
    };
    CTAVODoc shrunk;
    load(5, shrunk);
    EXPECT_EQ(shrunk.GetLoadFailure(), CTAVODoc::LoadFailure::readFault);
    EXPECT_EQ(shrunk.m_pData, nullptr);
    EXPECT_EQ(shrunk.m_nLines, 0u);

    CTAVODoc grown;
    load(1 << 20, grown);
    EXPECT_EQ(grown.GetLoadFailure(), CTAVODoc::LoadFailure::none);
    ASSERT_EQ(grown.m_nLength, 13u);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(grown.m_pData)), "one\ntwo\nthree");
    EXPECT_EQ(grown.m_nLines, 3u);
}

} // namespace
