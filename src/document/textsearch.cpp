#include "textsearch.h"

#include "linewalker.h"

#include <algorithm>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace {

// Pieces of the text whose bytes are counted to choose the rarest anchor.
constexpr std::size_t SAMPLE_PIECES = 64;
constexpr std::size_t SAMPLE_BYTES = 1024;

// The bytes wanted at one place of a candidate; beyond a handful, any.
class ByteSet {
public:
    static constexpr std::size_t CAPACITY = 8;

    void Add(std::uint8_t b) {
        if (m_bAny || Has(b)) {
            return;
        }
        if (m_nCount == CAPACITY) {
            m_bAny = true;
            return;
        }
        m_bytes[m_nCount++] = b;
    }
    void AddAny() { m_bAny = true; }

    bool Has(std::uint8_t b) const {
        return m_bAny || std::find(m_bytes, m_bytes + m_nCount, b) != m_bytes + m_nCount;
    }
    // The share of the sampled bytes that are in the set.
    double Share(const std::size_t (&counts)[256], std::size_t total) const {
        if (m_bAny) {
            return 1;
        }
        double share = 0;
        for (std::size_t k = 0; k < m_nCount; ++k) {
            share += double(counts[m_bytes[k]] + 1) / double(total + 256);
        }
        return share;
    }

#ifdef __SSE2__
    // Lanes of 16 bytes at p that are in the set.
    __m128i Lanes(const std::uint8_t* p) const {
        if (m_bAny) {
            return _mm_set1_epi8(char(0xFF));
        }
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        __m128i hits = _mm_setzero_si128();
        for (std::size_t k = 0; k < m_nCount; ++k) {
            hits = _mm_or_si128(hits, _mm_cmpeq_epi8(bytes, _mm_set1_epi8(char(m_bytes[k]))));
        }
        return hits;
    }
#endif

private:
    bool m_bAny = false;
    std::uint8_t m_nCount = 0;
    std::uint8_t m_bytes[CAPACITY] = {};
};

bool IsPair(const FindCode& code) {
    return (code.nSets & (SetBit(CHARSET_OLDJIS) | SetBit(CHARSET_NEWJIS))) != 0;
}

// The last few places where characters started, with their sets.
class RecentStarts {
public:
    explicit RecentStarts(std::size_t size) : m_starts(size) {}

    void Clear() { m_nCount = 0; }
    void Push(std::size_t offset, CharSet set) {
        if (m_starts.empty()) {
            return;
        }
        m_starts[m_nCount % m_starts.size()] = {offset, set};
        ++m_nCount;
    }
    // The start back characters before the next one; back is 1 .. size.
    bool Get(std::size_t back, std::size_t* pOffset, CharSet* pSet) const {
        if (back > m_nCount) {
            return false;
        }
        const auto& [offset, set] = m_starts[(m_nCount - back) % m_starts.size()];
        *pOffset = offset;
        *pSet = set;
        return true;
    }

private:
    std::vector<std::pair<std::size_t, CharSet>> m_starts;
    std::size_t m_nCount = 0;
};

// Finds candidates for one character of the query, its anchor, by the
// bytes it and what follows it must have, and checks the whole query
// around each by walking its line as the drawing does.
class Searcher {
public:
    Searcher(const CTAVODoc& doc, const FindQuery& query) : m_doc(doc), m_query(query) {
        ChooseAnchor();
    }

    // Matches that start in [from, to), the walk begun at start; the first,
    // or the last one when wantLast is set.
    bool Scan(const WalkStart& start, std::uint32_t from, std::uint64_t to, bool wantLast,
              TextMatch* pFound) const;

private:
    void ChooseAnchor();
    void Filter(std::size_t index, ByteSet* pHere, ByteSet* pNext) const;
    std::size_t NextCandidate(std::size_t i, std::size_t end) const;
    // The end of the query matched from a character start, or 0.
    std::size_t MatchFrom(std::size_t pos, CharSet set, std::size_t lineEnd) const;

    const CTAVODoc& m_doc;
    const FindQuery& m_query;
    std::size_t m_nAnchor = 0;
    ByteSet m_here; // the anchor's first byte
    ByteSet m_next; // the byte after it
};

// What an anchor at query character index asks of the byte where it starts
// and of the byte after it: a pair's second byte, or after one byte the next
// character's first byte or the ESC of an escape between them.
void Searcher::Filter(std::size_t index, ByteSet* pHere, ByteSet* pNext) const {
    const std::vector<FindCode>& codes = m_query[index].codes;
    const bool pairs = std::all_of(codes.begin(), codes.end(), IsPair);
    const bool singles = std::none_of(codes.begin(), codes.end(), IsPair);
    for (const FindCode& code : codes) {
        pHere->Add(code.nFirst);
        if (pairs) {
            pNext->Add(code.nSecond);
        }
    }
    if (singles && index + 1 < m_query.size()) {
        for (const FindCode& code : m_query[index + 1].codes) {
            pNext->Add(code.nFirst);
        }
        pNext->Add(ESC);
    } else if (!pairs || index + 1 == m_query.size()) {
        pNext->AddAny();
    }
}

void Searcher::ChooseAnchor() {
    std::size_t counts[256] = {};
    const std::size_t length = m_doc.m_nLength;
    const std::size_t step = std::max(length / SAMPLE_PIECES, SAMPLE_BYTES);
    for (std::size_t at = 0; at < length; at += step) {
        for (std::size_t i = at; i < std::min(at + SAMPLE_BYTES, length); ++i) {
            ++counts[m_doc.m_pData[i]];
        }
    }
    const std::size_t total = std::min(length, (length / step + 1) * SAMPLE_BYTES);
    double best = 2;
    for (std::size_t index = 0; index < m_query.size(); ++index) {
        ByteSet here;
        ByteSet next;
        Filter(index, &here, &next);
        const double cost = here.Share(counts, total) * next.Share(counts, total);
        if (cost < best) {
            best = cost;
            m_nAnchor = index;
            m_here = here;
            m_next = next;
        }
    }
}

std::size_t Searcher::NextCandidate(std::size_t i, std::size_t end) const {
    const std::uint8_t* const p = m_doc.m_pData;
#ifdef __SSE2__
    // The byte after the last one read is at most the zero after the text.
    for (; i + 16 <= end; i += 16) {
        const __m128i hits = _mm_and_si128(m_here.Lanes(p + i), m_next.Lanes(p + i + 1));
        if (const unsigned bits = unsigned(_mm_movemask_epi8(hits))) {
            return i + unsigned(__builtin_ctz(bits));
        }
    }
#endif
    while (i < end && !(m_here.Has(p[i]) && m_next.Has(p[i + 1]))) {
        ++i;
    }
    return i;
}

std::size_t Searcher::MatchFrom(std::size_t pos, CharSet set, std::size_t lineEnd) const {
    const std::uint8_t* const p = m_doc.m_pData;
    for (const FindChar& wanted : m_query) {
        if (!SkipDesignations(p, pos, lineEnd, set)) {
            return 0;
        }
        const bool pair = IsTwoByteSet(set);
        if (pair && pos + 2 > lineEnd) {
            return 0;
        }
        const auto shows = [&](const FindCode& code) {
            return (code.nSets & SetBit(set)) != 0 && code.nFirst == p[pos] &&
                   (!pair || code.nSecond == p[pos + 1]);
        };
        if (std::none_of(wanted.codes.begin(), wanted.codes.end(), shows)) {
            return 0;
        }
        pos += pair ? 2 : 1;
    }
    return pos;
}

bool Searcher::Scan(const WalkStart& start, std::uint32_t from, std::uint64_t to, bool wantLast,
                    TextMatch* pFound) const {
    const CTAVODoc& doc = m_doc;
    const std::uint8_t* const p = doc.m_pData;
    const auto lineEndOf = [&doc](std::uint32_t line) {
        return std::size_t(doc.m_pLines[line].nOffset) + doc.m_pLines[line].nLength;
    };
    // A match lies within one line: anchors go to the end of the line in
    // which the last allowed start lies.
    const std::size_t anchorEnd =
        to > doc.m_nLength ? doc.m_nLength : lineEndOf(doc.LineAtOffset(std::uint32_t(to - 1)));
    std::uint32_t line = start.nLine;
    std::size_t lineEnd = lineEndOf(line);
    std::size_t pos = start.nOffset;
    CharSet set = start.set;
    RecentStarts recent(m_nAnchor);
    bool found = false;
    for (std::size_t anchor = from; (anchor = NextCandidate(anchor, anchorEnd)) < anchorEnd;
         ++anchor) {
        if (anchor >= lineEnd) {
            line = doc.LineAtOffset(std::uint32_t(anchor));
            lineEnd = lineEndOf(line);
            pos = doc.m_pLines[line].nOffset;
            set = doc.m_pLines[line].nStartSet;
            recent.Clear();
        }
        // Walk up to the candidate: it must be where a character starts,
        // not at a designation before one.
        while (SkipDesignations(p, pos, lineEnd, set) && pos < anchor) {
            recent.Push(pos, set);
            pos += BytesPerChar(set);
        }
        std::size_t first = anchor;
        CharSet firstSet = set;
        if (pos != anchor || (m_nAnchor > 0 && !recent.Get(m_nAnchor, &first, &firstSet))) {
            continue;
        }
        const std::size_t end = MatchFrom(first, firstSet, lineEnd);
        if (end == 0 || first < from) {
            continue;
        }
        if (first >= to) {
            break;
        }
        *pFound = {std::uint32_t(first), std::uint32_t(end - first), line};
        found = true;
        if (!wantLast) {
            break;
        }
    }
    return found;
}

} // namespace

bool FindText(const CTAVODoc& doc, const FindQuery& query, std::uint32_t nFrom, bool bForward,
              TextMatch* pFound) {
    const bool searchable =
        doc.m_nLines > 0 && !query.empty() &&
        std::none_of(query.begin(), query.end(), [](const FindChar& c) { return c.codes.empty(); });
    if (!searchable) {
        return false;
    }
    const Searcher searcher(doc, query);
    const std::uint64_t end = std::uint64_t(doc.m_nLength) + 1;
    if (bForward) {
        return nFrom < doc.m_nLength &&
               searcher.Scan(StartBefore(doc, nFrom), nFrom, end, false, pFound);
    }
    // The last match of the latest stretch that has one.
    return ScanStretchesBackward(doc, std::min<std::uint64_t>(nFrom, doc.m_nLength),
                                 [&](const WalkStart& start, std::uint64_t limit) {
                                     return searcher.Scan(start, start.nOffset, limit, true,
                                                          pFound);
                                 });
}
