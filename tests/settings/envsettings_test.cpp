#include "settings/envsettings.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

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

TEST_F(EnvFile, EmptyFileLeavesTheRecordZero) {
    WriteEnv({});
    EnvStore store = MakeStore();
    store.Load();
    EXPECT_EQ(RecordBytes(store.m_env), Bytes(284, 0));
}

TEST_F(EnvFile, LongFileIsReadAsItsFirst284Bytes) {
    Bytes bytes = DefaultFileBytes();
    bytes.resize(300, 0xEE);
    WriteEnv(bytes);
    EnvStore store = MakeStore();
    store.Load();
    EXPECT_EQ(RecordBytes(store.m_env), DefaultFileBytes());
    ASSERT_EQ(store.Save(), EnvSaveResult::saved);
    EXPECT_EQ(ReadEnv(), DefaultFileBytes());
}

TEST_F(EnvFile, ShortFileFillsOnlyItsLeadingBytes) {
    WriteEnv(Bytes(10, 0x11));
    EnvStore store = MakeStore();
    store.Load();
    Bytes expected(284, 0);
    std::fill_n(expected.begin(), 10, 0x11);
    EXPECT_EQ(RecordBytes(store.m_env), expected);
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

} // namespace
