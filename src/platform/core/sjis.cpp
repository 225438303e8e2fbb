#include "platform/core/sjis.h"

#include <array>
#include <cerrno>
#include <iconv.h>

namespace {

constexpr int LEAD_COUNT = (0x9F - 0x81 + 1) + (0xFC - 0xE0 + 1);

int LeadIndex(BYTE b) {
    if (b >= 0x81 && b <= 0x9F) {
        return b - 0x81;
    }
    if (b >= 0xE0 && b <= 0xFC) {
        return b - 0xE0 + (0x9F - 0x81 + 1);
    }
    return -1;
}

class Cp932Table {
public:
    Cp932Table() {
        m_single.fill(SJIS_UNDEFINED);
        for (auto& row : m_pairs) {
            row.fill(SJIS_UNDEFINED);
        }
        iconv_t cd = iconv_open("UTF-16LE", "CP932");
        if (cd == iconv_t(-1)) {
            FillWithoutConverter();
            return;
        }
        for (int b = 0; b < 256; ++b) {
            if (LeadIndex(BYTE(b)) < 0) {
                const char in[1] = {char(b)};
                m_single[b] = Convert(cd, in, 1);
            }
        }
        for (int lead = 0x81; lead <= 0xFC; ++lead) {
            const int index = LeadIndex(BYTE(lead));
            if (index < 0) {
                continue;
            }
            for (int trail = 0x40; trail <= 0xFC; ++trail) {
                const char in[2] = {char(lead), char(trail)};
                m_pairs[index][trail] = Convert(cd, in, 2);
            }
        }
        iconv_close(cd);
        IndexCodes();
    }

    char16_t Single(BYTE b) const { return m_single[b]; }
    // The byte (below 0x100) or the pair (lead << 8 | trail) of a
    // character, 0 when the code page has none. Where the code page has
    // two codes for one character the first one counts.
    WORD Code(char16_t ch) const { return m_codes[ch]; }
    char16_t Pair(BYTE lead, BYTE trail) const {
        const int index = LeadIndex(lead);
        return index < 0 ? SJIS_UNDEFINED : m_pairs[index][trail];
    }

private:
    // One UTF-16 unit for exactly the given bytes, or undefined.
    static char16_t Convert(iconv_t cd, const char* bytes, size_t count) {
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
        char* in = const_cast<char*>(bytes);
        size_t inLeft = count;
        unsigned char out[8];
        char* outPtr = reinterpret_cast<char*>(out);
        size_t outLeft = sizeof out;
        if (iconv(cd, &in, &inLeft, &outPtr, &outLeft) == size_t(-1) || inLeft != 0 ||
            sizeof out - outLeft != 2) {
            return SJIS_UNDEFINED;
        }
        return char16_t(out[0] | (out[1] << 8));
    }

    // Without the system's converter only ASCII and half-width katakana
    // are known; every kanji shows as undefined rather than as garbage.
    void FillWithoutConverter() {
        for (int b = 0; b < 0x80; ++b) {
            m_single[b] = char16_t(b);
        }
        for (int b = 0xA1; b <= 0xDF; ++b) {
            m_single[b] = char16_t(0xFF61 + (b - 0xA1));
        }
        IndexCodes();
    }

    void IndexCodes() {
        m_codes.fill(0);
        const auto note = [this](char16_t ch, WORD code) {
            if (ch != SJIS_UNDEFINED && ch != 0 && m_codes[ch] == 0) {
                m_codes[ch] = code;
            }
        };
        for (int b = 0; b < 256; ++b) {
            note(m_single[b], WORD(b));
        }
        for (int lead = 0x81; lead <= 0xFC; ++lead) {
            const int index = LeadIndex(BYTE(lead));
            for (int trail = 0; index >= 0 && trail < 256; ++trail) {
                note(m_pairs[index][trail], WORD(lead << 8 | trail));
            }
        }
    }

    std::array<char16_t, 256> m_single;
    std::array<std::array<char16_t, 256>, LEAD_COUNT> m_pairs;
    std::array<WORD, 0x10000> m_codes;
};

const Cp932Table& Table() {
    static const Cp932Table table;
    return table;
}

} // namespace

bool IsSjisLeadByte(BYTE b) {
    return LeadIndex(b) >= 0;
}

char16_t DecodeSjisByte(BYTE b) {
    return Table().Single(b);
}

char16_t DecodeSjisPair(BYTE lead, BYTE trail) {
    return Table().Pair(lead, trail);
}

std::string EncodeSjis(std::u16string_view text, std::size_t maxBytes) {
    std::string bytes;
    for (const char16_t ch : text) {
        const WORD code = Table().Code(ch);
        const std::size_t size = code > 0xFF ? 2 : 1;
        if (code == 0 || bytes.size() + size > maxBytes) {
            break;
        }
        if (size == 2) {
            bytes += char(code >> 8);
        }
        bytes += char(code & 0xFF);
    }
    return bytes;
}
