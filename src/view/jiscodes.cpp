#include "view/jiscodes.h"

#include "platform/core/sjis.h"

#include <unordered_map>
#include <vector>

namespace {

constexpr std::uint8_t ONE_BYTE_SETS[] = {CHARSET_ASCII, CHARSET_JISROMAN};
constexpr std::uint8_t FIRST_IN_CODE = 0x21;
constexpr std::uint8_t LAST_IN_CODE = 0x7E;

// The characters of JIS X 0208 that code page 932 shows by other code
// points, by their codes.
struct ShownForm {
    std::uint16_t nCode;
    char32_t standard;
    char32_t shown;
};
constexpr ShownForm SHOWN_FORMS[] = {
    {0x2141, U'\u301C', U'\uFF5E'}, // wave dash
    {0x2142, U'\u2016', U'\u2225'}, // double vertical line
    {0x215D, U'\u2212', U'\uFF0D'}, // minus sign
    {0x2171, U'\u00A2', U'\uFFE0'}, // cent sign
    {0x2172, U'\u00A3', U'\uFFE1'}, // pound sign
    {0x224C, U'\u00AC', U'\uFFE2'}, // not sign
};

// One code point for both forms of each of those characters, so that the
// search finds the codes of either.
char32_t SearchForm(char32_t ch) {
    for (const ShownForm& form : SHOWN_FORMS) {
        if (ch == form.standard) {
            return form.shown;
        }
    }
    return ch;
}

// The code points of UTF-8 text; a malformed sequence is U+FFFD.
std::u32string DecodeUtf8(const std::string& text) {
    std::u32string decoded;
    for (std::size_t i = 0; i < text.size();) {
        const auto lead = std::uint8_t(text[i]);
        const int trail = lead < 0x80    ? 0
                          : lead >= 0xF0 ? 3
                          : lead >= 0xE0 ? 2
                          : lead >= 0xC0 ? 1
                                         : -1;
        char32_t ch = trail <= 0 ? lead : char32_t(lead & (0x3F >> trail));
        std::size_t k = 1;
        for (; trail > 0 && k <= std::size_t(trail) && i + k < text.size() &&
               (std::uint8_t(text[i + k]) & 0xC0) == 0x80;
             ++k) {
            ch = ch << 6 | (std::uint8_t(text[i + k]) & 0x3F);
        }
        decoded.push_back(trail < 0 || k != std::size_t(trail) + 1 ? U'\uFFFD' : ch);
        i += k;
    }
    return decoded;
}

// Every code of the text by the character it shows.
class CodeIndex {
public:
    CodeIndex() {
        for (const CharSet set : ONE_BYTE_SETS) {
            for (int b = 0x20; b <= 0xFF; ++b) {
                const std::uint8_t byte = std::uint8_t(b);
                AddByte(ShownCharacter(set, &byte), set, byte);
            }
        }
        for (int first = FIRST_IN_CODE; first <= LAST_IN_CODE; ++first) {
            for (int second = FIRST_IN_CODE; second <= LAST_IN_CODE; ++second) {
                const std::uint8_t pair[2] = {std::uint8_t(first), std::uint8_t(second)};
                if (const char32_t ch = ShownCharacter(CHARSET_NEWJIS, pair)) {
                    m_codes[SearchForm(ch)].push_back(
                        {SetBit(CHARSET_OLDJIS) | SetBit(CHARSET_NEWJIS), pair[0], pair[1]});
                    m_defined.set(JisCodeBit(pair[0], pair[1]));
                }
            }
        }
    }

    const std::vector<FindCode>& CodesOf(char32_t ch) const {
        static const std::vector<FindCode> none;
        const auto found = m_codes.find(SearchForm(ch));
        return found != m_codes.end() ? found->second : none;
    }
    const JisRepertoire& Defined() const { return m_defined; }

private:
    // A byte that shows the same in both one-byte sets is one code.
    void AddByte(char32_t ch, CharSet set, std::uint8_t b) {
        if (ch == 0) {
            return;
        }
        std::vector<FindCode>& codes = m_codes[SearchForm(ch)];
        for (FindCode& code : codes) {
            if (code.nFirst == b) {
                code.nSets |= SetBit(set);
                return;
            }
        }
        codes.push_back({SetBit(set), b, 0});
    }

    std::unordered_map<char32_t, std::vector<FindCode>> m_codes;
    JisRepertoire m_defined;
};

const CodeIndex& Index() {
    static const CodeIndex index;
    return index;
}

char32_t OtherCase(char32_t ch) {
    if ((ch >= U'a' && ch <= U'z') || (ch >= U'A' && ch <= U'Z')) {
        return ch ^ 0x20;
    }
    return 0;
}

} // namespace

char32_t ShownCharacter(CharSet set, const std::uint8_t* p) {
    if (IsTwoByteSet(set)) {
        std::uint8_t pair[2] = {p[0], p[1]};
        const char16_t ch = JisToSjis(pair) ? DecodeSjisPair(pair[0], pair[1]) : SJIS_UNDEFINED;
        return ch != SJIS_UNDEFINED ? ch : 0;
    }
    const std::uint8_t b = p[0];
    if (b < 0x20 || b == 0x7F) {
        return 0;
    }
    if (set == CHARSET_JISROMAN && (b == 0x5C || b == 0x7E)) {
        return b == 0x5C ? U'\u00A5' : U'\u203E';
    }
    const char16_t ch = DecodeSjisByte(b);
    return ch != SJIS_UNDEFINED ? ch : 0;
}

char32_t JisCharacter(const std::uint8_t* p) {
    const auto code = std::uint16_t(p[0] << 8 | p[1]);
    for (const ShownForm& form : SHOWN_FORMS) {
        if (code == form.nCode) {
            return form.standard;
        }
    }
    return ShownCharacter(CHARSET_NEWJIS, p);
}

const JisTable& JisCharacters() {
    static const JisTable table = [] {
        JisTable characters{};
        for (std::size_t i = 0; i < characters.size(); ++i) {
            const std::uint8_t pair[2] = {std::uint8_t(FIRST_IN_CODE + i / 94),
                                          std::uint8_t(FIRST_IN_CODE + i % 94)};
            characters[i] = JisCharacter(pair);
        }
        return characters;
    }();
    return table;
}

FindQuery MakeFindQuery(const std::string& text, bool bMatchCase) {
    FindQuery query;
    for (const char32_t ch : DecodeUtf8(text)) {
        FindChar wanted{Index().CodesOf(ch)};
        if (const char32_t other = OtherCase(ch); other != 0 && !bMatchCase) {
            const std::vector<FindCode>& codes = Index().CodesOf(other);
            wanted.codes.insert(wanted.codes.end(), codes.begin(), codes.end());
        }
        query.push_back(std::move(wanted));
    }
    return query;
}

const JisRepertoire& DefinedJisCodes() {
    return Index().Defined();
}

std::string Utf8Of(char32_t ch) {
    std::string bytes;
    if (ch < 0x80) {
        bytes += char(ch);
    } else if (ch < 0x800) {
        bytes += char(0xC0 | ch >> 6);
        bytes += char(0x80 | (ch & 0x3F));
    } else if (ch < 0x10000) {
        bytes += char(0xE0 | ch >> 12);
        bytes += char(0x80 | (ch >> 6 & 0x3F));
        bytes += char(0x80 | (ch & 0x3F));
    } else {
        bytes += char(0xF0 | ch >> 18);
        bytes += char(0x80 | (ch >> 12 & 0x3F));
        bytes += char(0x80 | (ch >> 6 & 0x3F));
        bytes += char(0x80 | (ch & 0x3F));
    }
    return bytes;
}
