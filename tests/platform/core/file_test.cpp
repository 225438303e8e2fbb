#include "document/tavodoc.h"
#include "platform/core/archive.h"
#include "platform/core/file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include <unistd.h>

namespace {

namespace fs = std::filesystem;

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

TEST(Files, OneThatShrinksWhileReadLeavesAnEmptyDocumentAndOneThatGrowsItsFirstBytes) {
    const fs::path path = fs::temp_directory_path() / ("tavo_file_" + std::to_string(::getpid()));
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

    CTAVODoc grown;
    load(1 << 20, grown);
    fs::remove(path);
    EXPECT_EQ(grown.GetLoadFailure(), CTAVODoc::LoadFailure::none);
    ASSERT_EQ(grown.m_nLength, 13u);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(grown.m_pData)), "one\ntwo\nthree");
}

} // namespace
