#include "platform/gdi/glyphstore.h"

#include "platform/core/replacefile.h"

#include <cinttypes>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <limits>

namespace {

constexpr char MAGIC[8] = {'T', 'A', 'V', 'O', 'G', 'L', 'Y', '2'};
// magic, fingerprint, characters, glyphs
constexpr std::size_t HEADER_BYTES = sizeof MAGIC + 8 + 4 + 4;
// character, glyph, advance, ink within the advance
constexpr std::size_t CHAR_BYTES = 2 + 4 + 4 + 1;
// The file ends in a checksum of all before it.
constexpr std::size_t CHECKSUM_BYTES = 8;
// glyph, scale, exactness, offset, size
constexpr std::size_t ENTRY_BYTES = 4 + 1 + 1 + 2 + 2 + 2 + 2;
// Larger files are not ours: the atlas keeps far less.
constexpr std::size_t LARGEST_FILE = std::size_t(32) << 20;
constexpr int LARGEST_SCALE = 4;
constexpr int LARGEST_SIDE = 1024;

std::string& FolderSetting() {
    static auto* folder = new std::string;
    return *folder;
}

// Changes whenever the atlas's way of making masks, or what a face looks
// up for a character, changes.
constexpr char MAKER[] = "masks: white on black, red channel; advances rounded up; 1";

// FNV-1a, 64 bits: enough to tell a damaged file from a whole one, and one
// font from another.
class Fnv1a {
public:
    void Add(const void* data, std::size_t size) {
        const auto* bytes = static_cast<const unsigned char*>(data);
        for (std::size_t i = 0; i < size; ++i) {
            m_hash = (m_hash ^ bytes[i]) * 0x100000001B3ULL;
        }
    }
    // With its length, so that fields cannot run into one another.
    void Add(const QByteArray& bytes) {
        const std::uint64_t size = std::uint64_t(bytes.size());
        Add(&size, sizeof size);
        Add(bytes.constData(), std::size_t(bytes.size()));
    }
    std::uint64_t Value() const { return m_hash; }

private:
    std::uint64_t m_hash = 0xCBF29CE484222325ULL;
};

void PutBytes(std::vector<std::uint8_t>& out, std::uint64_t value, int count) {
    for (int i = 0; i < count; ++i) {
        out.push_back(std::uint8_t(value >> (8 * i)));
    }
}

// Reads little-endian fields off a byte range; once a read runs past the
// end, every later one fails too.
class Reader {
public:
    Reader(const std::uint8_t* data, std::size_t size) : m_data(data), m_size(size) {}

    bool Take(std::uint64_t* value, int count) {
        if (!m_bGood || m_size - m_at < std::size_t(count)) {
            m_bGood = false;
            return false;
        }
        *value = 0;
        for (int i = 0; i < count; ++i) {
            *value |= std::uint64_t(m_data[m_at++]) << (8 * i);
        }
        return true;
    }
    bool TakeSigned16(int* value) {
        std::uint64_t raw = 0;
        if (!Take(&raw, 2)) {
            return false;
        }
        *value = int(std::int16_t(std::uint16_t(raw)));
        return true;
    }
    const std::uint8_t* Span(std::size_t count) {
        if (!m_bGood || m_size - m_at < count) {
            m_bGood = false;
            return nullptr;
        }
        const std::uint8_t* span = m_data + m_at;
        m_at += count;
        return span;
    }
    std::size_t Left() const { return m_size - m_at; }

private:
    const std::uint8_t* m_data;
    std::size_t m_size;
    std::size_t m_at = 0;
    bool m_bGood = true;
};

bool ReadChar(Reader& in, StoredChar* entry) {
    std::uint64_t ch = 0, glyph = 0, advance = 0, within = 0;
    if (!in.Take(&ch, 2) || !in.Take(&glyph, 4) || !in.Take(&advance, 4) || !in.Take(&within, 1) ||
        within > 1) {
        return false;
    }
    *entry = {char16_t(ch), quint32(glyph), quint32(advance), within == 1};
    return true;
}

bool ReadEntry(Reader& in, StoredGlyph* entry) {
    std::uint64_t glyph = 0, scale = 0, exact = 0, width = 0, height = 0;
    int left = 0, top = 0;
    if (!in.Take(&glyph, 4) || !in.Take(&scale, 1) || !in.Take(&exact, 1) ||
        !in.TakeSigned16(&left) || !in.TakeSigned16(&top) || !in.Take(&width, 2) ||
        !in.Take(&height, 2)) {
        return false;
    }
    const bool sized = width <= LARGEST_SIDE && height <= LARGEST_SIDE;
    if (scale < 1 || scale > LARGEST_SCALE || exact > 1 || !sized ||
        (exact == 0 && width * height != 0)) {
        return false;
    }
    const std::size_t bytes = std::size_t(width * height);
    const std::uint8_t* coverage = in.Span(bytes);
    if (coverage == nullptr) {
        return false;
    }
    entry->glyph = quint32(glyph);
    entry->scale = int(scale);
    entry->mask.bExact = exact == 1;
    entry->mask.offset = QPoint(left, top);
    entry->mask.width = int(width);
    entry->mask.height = int(height);
    entry->mask.coverage.assign(coverage, coverage + bytes);
    return true;
}

bool IsStorable(const StoredGlyph& entry) {
    const GlyphMask& mask = entry.mask;
    constexpr int SMALLEST = std::numeric_limits<std::int16_t>::min();
    constexpr int LARGEST = std::numeric_limits<std::int16_t>::max();
    return entry.scale >= 1 && entry.scale <= LARGEST_SCALE && mask.width >= 0 &&
           mask.width <= LARGEST_SIDE && mask.height >= 0 && mask.height <= LARGEST_SIDE &&
           mask.coverage.size() == std::size_t(mask.width) * std::size_t(mask.height) &&
           (mask.bExact || mask.coverage.empty()) && mask.offset.x() >= SMALLEST &&
           mask.offset.x() <= LARGEST && mask.offset.y() >= SMALLEST && mask.offset.y() <= LARGEST;
}

std::vector<std::uint8_t> WholeFile(const std::string& path) {
    std::vector<std::uint8_t> bytes;
    CFile file;
    if (!file.Open(path.c_str(), CFile::modeRead | CFile::shareDenyNone)) {
        return bytes;
    }
    const ULONGLONG length = file.GetLength();
    if (length < HEADER_BYTES + CHECKSUM_BYTES || length > LARGEST_FILE) {
        return bytes;
    }
    bytes.resize(std::size_t(length));
    if (file.Read(bytes.data(), UINT(length)) != length) {
        bytes.clear();
    }
    return bytes;
}

} // namespace

namespace GlyphStore {

void SetFolder(std::string folder) {
    FolderSetting() = std::move(folder);
}

const std::string& Folder() {
    return FolderSetting();
}

std::uint64_t FingerprintOf(const QRawFont& raw) {
    Fnv1a print;
    print.Add(QByteArray(MAKER));
    print.Add(QByteArray(qVersion()));
    print.Add(raw.familyName().toUtf8());
    print.Add(raw.styleName().toUtf8());
    const qreal pixels = raw.pixelSize();
    const int traits[] = {int(raw.weight()), int(raw.style()), int(raw.hintingPreference())};
    print.Add(&pixels, sizeof pixels);
    print.Add(traits, sizeof traits);
    // The font file's own identity: its checksum and dates, and its glyphs.
    print.Add(raw.fontTable("head"));
    print.Add(raw.fontTable("maxp"));
    return print.Value();
}

std::uint64_t ChecksumOf(const std::uint8_t* data, std::size_t size) {
    Fnv1a hash;
    hash.Add(data, size);
    return hash.Value();
}

std::string PathOf(std::uint64_t fingerprint) {
    char name[32];
    std::snprintf(name, sizeof name, "%016" PRIx64 ".glyphs", fingerprint);
    return Folder() + "/" + name;
}

StoredFace Read(const std::string& path, std::uint64_t fingerprint) {
    const std::vector<std::uint8_t> bytes = WholeFile(path);
    if (bytes.empty() || std::memcmp(bytes.data(), MAGIC, sizeof MAGIC) != 0) {
        return {};
    }
    const std::size_t body = bytes.size() - CHECKSUM_BYTES;
    std::uint64_t checksum = 0;
    Reader(bytes.data() + body, CHECKSUM_BYTES).Take(&checksum, 8);
    if (checksum != ChecksumOf(bytes.data(), body)) {
        return {};
    }
    Reader in(bytes.data() + sizeof MAGIC, body - sizeof MAGIC);
    std::uint64_t stamp = 0, chars = 0, glyphs = 0;
    if (!in.Take(&stamp, 8) || stamp != fingerprint || !in.Take(&chars, 4) ||
        !in.Take(&glyphs, 4) || chars > in.Left() / CHAR_BYTES ||
        glyphs > in.Left() / ENTRY_BYTES) {
        return {};
    }
    StoredFace face;
    face.chars.resize(std::size_t(chars));
    face.glyphs.resize(std::size_t(glyphs));
    for (StoredChar& entry : face.chars) {
        if (!ReadChar(in, &entry)) {
            return {};
        }
    }
    for (StoredGlyph& entry : face.glyphs) {
        if (!ReadEntry(in, &entry)) {
            return {};
        }
    }
    return in.Left() == 0 ? face : StoredFace();
}

BOOL Write(const std::string& path, std::uint64_t fingerprint, const StoredFace& face,
           CFileException* pError) {
    std::vector<std::uint8_t> bytes(std::begin(MAGIC), std::end(MAGIC));
    PutBytes(bytes, fingerprint, 8);
    PutBytes(bytes, face.chars.size(), 4);
    std::size_t count = 0;
    for (const StoredGlyph& entry : face.glyphs) {
        count += IsStorable(entry) ? 1 : 0;
    }
    PutBytes(bytes, count, 4);
    for (const StoredChar& entry : face.chars) {
        PutBytes(bytes, entry.ch, 2);
        PutBytes(bytes, entry.glyph, 4);
        PutBytes(bytes, entry.advance, 4);
        PutBytes(bytes, entry.bInkWithinAdvance ? 1 : 0, 1);
    }
    for (const StoredGlyph& entry : face.glyphs) {
        if (!IsStorable(entry)) {
            continue;
        }
        const GlyphMask& mask = entry.mask;
        PutBytes(bytes, entry.glyph, 4);
        PutBytes(bytes, std::uint64_t(entry.scale), 1);
        PutBytes(bytes, mask.bExact ? 1 : 0, 1);
        PutBytes(bytes, std::uint16_t(mask.offset.x()), 2);
        PutBytes(bytes, std::uint16_t(mask.offset.y()), 2);
        PutBytes(bytes, std::uint64_t(mask.width), 2);
        PutBytes(bytes, std::uint64_t(mask.height), 2);
        bytes.insert(bytes.end(), mask.coverage.begin(), mask.coverage.end());
    }
    PutBytes(bytes, ChecksumOf(bytes.data(), bytes.size()), 8);
    std::error_code error;
    std::filesystem::create_directories(std::filesystem::path(path).parent_path(), error);
    if (error) {
        ReportFileError(pError, CFileException::OsErrorToException(error.value()), error.value(),
                        path);
        return FALSE;
    }
    CReplacementFile file;
    return file.Open(path.c_str(), pError) &&
           file.Write(bytes.data(), UINT(bytes.size()), pError) && file.Commit(pError);
}

} // namespace GlyphStore
