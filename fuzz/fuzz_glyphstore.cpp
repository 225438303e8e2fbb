// Reads any bytes as a glyph cache file, their checksum made to fit so that
// every input reaches the parser: a file that is taken at all holds exactly
// what writing its contents again gives, byte for byte.
#include "fuzz_support.h"

#include "platform/gdi/glyphstore.h"
#include "support/bytes.h"

#include <unistd.h>

#include <filesystem>
#include <string>

namespace {

std::filesystem::path g_dir;

void RemoveDir() {
    std::filesystem::remove_all(g_dir);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    char folder[] = "/tmp/tavo-fuzz-glyphs-XXXXXX";
    FUZZ_CHECK(::mkdtemp(folder) != nullptr);
    g_dir = folder;
    std::atexit(RemoveDir);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string bytes(reinterpret_cast<const char*>(data), size);
    constexpr std::size_t CHECKSUM = 8;
    if (bytes.size() >= CHECKSUM) {
        const std::size_t body = bytes.size() - CHECKSUM;
        const std::uint64_t sum = GlyphStore::ChecksumOf(data, body);
        for (std::size_t i = 0; i < CHECKSUM; ++i) {
            bytes[body + i] = char(sum >> (8 * i));
        }
    }
    const std::filesystem::path read = g_dir / "read.glyphs";
    WriteBytes(read, bytes);
    std::uint64_t fingerprint = 0;
    for (std::size_t i = 0; i < 8 && 8 + i < bytes.size(); ++i) {
        fingerprint |= std::uint64_t(std::uint8_t(bytes[8 + i])) << (8 * i);
    }
    const StoredFace face = GlyphStore::Read(read.string(), fingerprint);
    if (face.chars.empty() && face.glyphs.empty()) {
        return 0;
    }
    const std::filesystem::path written = g_dir / "written.glyphs";
    FUZZ_CHECK(GlyphStore::Write(written.string(), fingerprint, face, nullptr));
    FUZZ_CHECK(ReadBytes(written) == bytes);
    return 0;
}
