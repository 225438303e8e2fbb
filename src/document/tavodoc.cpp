#include "tavodoc.h"

#include "platform/core/heap.h"

#include <algorithm>
#include <limits>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace {

constexpr std::size_t HEAP_INITIAL_SIZE = 0x100000;
// Rows and line numbers are signed 32-bit everywhere above the document.
constexpr std::uint64_t MAX_LINES = std::numeric_limits<std::int32_t>::max();

bool IsTerminator(std::uint8_t b) {
    return b == LF || b == FF;
}

std::uint32_t SaturatedWidth(std::uint64_t column) {
    return std::uint32_t(
        std::min<std::uint64_t>(column, std::numeric_limits<std::uint32_t>::max()));
}

std::int32_t SaturatedRows(std::uint64_t rows) {
    return std::int32_t(std::min<std::uint64_t>(rows, std::numeric_limits<std::int32_t>::max()));
}

std::int32_t DigitsOf(std::uint32_t value) {
    std::int32_t digits = 1;
    while (value >= 10) {
        ++digits;
        value /= 10;
    }
    return digits;
}

#ifdef __SSE2__
// Bit k set where byte k of the 16 at p is one of the wanted bytes.
template <std::uint8_t... wanted> unsigned MatchMask(const std::uint8_t* p) {
    const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
    const __m128i hits = (_mm_cmpeq_epi8(bytes, _mm_set1_epi8(char(wanted))) | ...);
    return unsigned(_mm_movemask_epi8(hits));
}
#endif

std::uint64_t CountTerminators(const std::uint8_t* p, std::size_t n) {
    std::uint64_t count = 0;
    std::size_t i = 0;
#ifdef __SSE2__
    for (; i + 16 <= n; i += 16) {
        count += unsigned(__builtin_popcount(MatchMask<LF, FF>(p + i)));
    }
#endif
    for (; i < n; ++i) {
        count += IsTerminator(p[i]);
    }
    return count;
}

// The first position from i on, stepping by 1 or 2, that holds one of the
// wanted bytes; n or beyond when there is none.
template <std::uint8_t... wanted>
std::size_t FindFirst(const std::uint8_t* p, std::size_t i, std::size_t n, std::size_t step) {
#ifdef __SSE2__
    // Sixteen is even, so a step of 2 keeps to the first bytes of pairs.
    const unsigned positions = step == 2 ? 0x5555u : 0xFFFFu;
    for (; i + 16 <= n; i += 16) {
        if (const unsigned hits = MatchMask<wanted...>(p + i) & positions) {
            return i + unsigned(__builtin_ctz(hits));
        }
    }
#endif
    while (i < n && ((p[i] != wanted) && ...)) {
        i += step;
    }
    return i;
}

// Places characters in the rows of one line at a wrap width of 1 or more:
// a character that no longer fits opens a new row and starts at column 0.
class RowCursor {
public:
    explicit RowCursor(std::uint64_t width) : m_width(width) {}

    std::uint64_t Rows() const { return m_rows; }

    // count one-cell characters in a row, computed at once.
    void PlaceSingles(std::uint64_t count) {
        if (count == 0) {
            return;
        }
        WrapIfFull(m_width);
        const std::uint64_t end = m_column + count;
        const std::uint64_t wraps = (end - 1) / m_width;
        m_rows += wraps;
        m_column = end - wraps * m_width;
    }

    void PlaceTab() {
        WrapIfFull(m_width);
        m_column = (m_column & ~std::uint64_t(3)) + 4;
    }

    // count two-cell characters in a row; each needs two cells left.
    void PlacePairs(std::uint64_t count) {
        if (count == 0) {
            return;
        }
        if (m_width == 1) { // no pair ever fits: each opens a row of its own
            m_rows += count;
            m_column = 2;
            return;
        }
        const std::uint64_t room = m_column + 2 > m_width ? 0 : (m_width - m_column) / 2;
        const std::uint64_t placed = std::min(count, room);
        m_column += 2 * placed;
        const std::uint64_t left = count - placed;
        if (left > 0) {
            const std::uint64_t perRow = m_width / 2;
            const std::uint64_t newRows = (left + perRow - 1) / perRow;
            m_rows += newRows;
            m_column = 2 * (left - (newRows - 1) * perRow);
        }
    }

private:
    void WrapIfFull(std::uint64_t limit) {
        if (m_column >= limit) {
            ++m_rows;
            m_column = 0;
        }
    }

    std::uint64_t m_width;
    std::uint64_t m_column = 0;
    std::uint64_t m_rows = 1;
};

} // namespace

CTAVODoc::~CTAVODoc() {
    Empty();
}

void CTAVODoc::Empty() {
    if (m_hHeap != nullptr) {
        HeapDestroy(m_hHeap);
    }
    m_hHeap = nullptr;
    m_nMaxWidth = 0;
    m_pData = nullptr;
    m_nLength = 0;
    m_pLines = nullptr;
    m_nLines = 0;
    m_nDigits = 0;
    m_nLayoutWidth[0] = m_nLayoutWidth[1] = 0;
    m_nTotalRows[0] = m_nTotalRows[1] = 0;
}

void CTAVODoc::DeleteContents() {
    Empty();
    m_loadFailure = LoadFailure::none;
}

void CTAVODoc::Serialize(CArchive& ar) {
    if (!ar.IsLoading()) {
        return; // the viewed file is never written
    }
    DeleteContents();
    m_hHeap = HeapCreate(0, HEAP_INITIAL_SIZE, 0);
    if (m_hHeap == nullptr) {
        m_loadFailure = LoadFailure::outOfMemory;
        return;
    }
    LoadText(ar.GetFile());
}

bool CTAVODoc::LoadText(CFile* pFile) {
    const auto fail = [this](LoadFailure reason) {
        Empty();
        m_loadFailure = reason;
        return false;
    };
    const ULONGLONG length = pFile->GetLength();
    if (length == 0) {
        return fail(LoadFailure::none);
    }
    if (length > std::numeric_limits<std::uint32_t>::max()) {
        return fail(LoadFailure::tooLarge);
    }
    m_nLength = std::uint32_t(length);
    m_pData = static_cast<std::uint8_t*>(HeapAlloc(m_hHeap, HEAP_ZERO_MEMORY, m_nLength + 1ull));
    if (m_pData == nullptr) {
        return fail(LoadFailure::outOfMemory);
    }
    if (pFile->Read(m_pData, m_nLength) != m_nLength) {
        return fail(LoadFailure::readFault);
    }
    // An upper bound: a terminator read as the second byte of a two-byte
    // character ends no line.
    const std::uint64_t capacity = 1 + CountTerminators(m_pData, m_nLength);
    if (capacity > MAX_LINES) {
        return fail(LoadFailure::tooLarge);
    }
    m_pLines = static_cast<LineInfo*>(
        HeapAlloc(m_hHeap, HEAP_ZERO_MEMORY, std::size_t(capacity) * sizeof(LineInfo)));
    if (m_pLines == nullptr) {
        return fail(LoadFailure::outOfMemory);
    }
    SplitLines();
    m_nDigits = DigitsOf(m_nLines);
    m_nTotalRows[0] = m_nTotalRows[1] = std::int32_t(m_nLines);
    m_nLayoutWidth[0] = m_nLayoutWidth[1] = 0;
    return true;
}

// Fills the line table and sets m_nLines and m_nMaxWidth.
void CTAVODoc::SplitLines() {
    const std::uint8_t* const p = m_pData;
    const std::size_t n = m_nLength;
    CharSet set = CHARSET_ASCII;
    std::uint64_t column = 0;
    std::uint32_t line = 0;
    std::uint32_t maxWidth = 0;

    const auto endLine = [&](std::size_t end) {
        LineInfo& info = m_pLines[line];
        info.nLength = std::uint32_t(end - info.nOffset);
        info.nWidth = SaturatedWidth(column);
        info.nRows[0] = info.nRows[1] = 1;
        maxWidth = std::max(maxWidth, info.nWidth);
    };

    std::size_t i = 0;
    while (i < n) {
        // Characters of no special meaning only widen the line: skip them in
        // one tight loop, a cell each in a one-byte set, two in a pair.
        const std::size_t runStart = i;
        i = FindFirst<TAB, LF, FF, ESC>(p, i, n, IsTwoByteSet(set) ? 2 : 1);
        column += i - runStart;
        if (i >= n) {
            break;
        }
        const std::uint8_t b = p[i];
        if (b == TAB) {
            column = (column & ~std::uint64_t(3)) + 4;
            ++i;
        } else if (IsTerminator(b)) {
            ++i;
            endLine(i);
            ++line;
            m_pLines[line].nOffset = std::uint32_t(i);
            m_pLines[line].nStartSet = set;
            column = 0;
        } else if (const int skipped = FollowEscape(p + i, set)) {
            i += skipped;
        } else {
            ++column;
            ++i;
        }
    }
    endLine(n);
    m_nLines = line + 1;
    m_nMaxWidth = maxWidth;
}

bool CTAVODoc::CountRows(std::uint32_t nWidth, int nSlot) {
    if (nWidth == 0) {
        for (std::uint32_t i = 0; i < m_nLines; ++i) {
            m_pLines[i].nRows[nSlot] = 1;
        }
        m_nTotalRows[nSlot] = std::int32_t(m_nLines);
        m_nLayoutWidth[nSlot] = m_nMaxWidth;
        return true;
    }
    std::uint64_t total = 0;
    for (std::uint32_t i = 0; i < m_nLines; ++i) {
        const std::uint64_t rows = CountWrappedRows(m_pLines[i], nWidth);
        m_pLines[i].nRows[nSlot] = SaturatedRows(rows);
        total += rows;
    }
    m_nTotalRows[nSlot] = SaturatedRows(total);
    m_nLayoutWidth[nSlot] = nWidth;
    return true;
}

std::uint32_t CTAVODoc::LineAtRow(std::int64_t nRow, int nSlot, std::int64_t* pStartRow) const {
    nRow = std::max<std::int64_t>(nRow, 0);
    // With one row per line, row n is line n: no need to walk to it.
    if (m_nTotalRows[nSlot] == std::int32_t(m_nLines)) {
        const auto line = std::uint32_t(std::min<std::int64_t>(nRow, m_nLines));
        *pStartRow = line;
        return line;
    }
    std::int64_t start = 0;
    std::uint32_t line = 0;
    for (; line < m_nLines; ++line) {
        const std::int64_t end = start + m_pLines[line].nRows[nSlot];
        if (end > nRow) {
            break;
        }
        start = end;
    }
    *pStartRow = start;
    return line;
}

std::int64_t CTAVODoc::StartRowOfLine(std::uint32_t nLine, int nSlot) const {
    nLine = std::min(nLine, m_nLines);
    if (m_nTotalRows[nSlot] == std::int32_t(m_nLines)) {
        return nLine;
    }
    std::int64_t start = 0;
    for (std::uint32_t i = 0; i < nLine; ++i) {
        start += m_pLines[i].nRows[nSlot];
    }
    return start;
}

std::uint64_t CTAVODoc::CountWrappedRows(const LineInfo& line, std::uint32_t nWidth) const {
    const std::uint8_t* const p = m_pData + line.nOffset;
    const std::size_t n = line.nLength;
    CharSet set = line.nStartSet;
    RowCursor cursor(nWidth);
    std::size_t i = 0;
    while (i < n) {
        // Up to the next byte that is not simply a character: an ESC, or a
        // tab in a one-byte set (in a two-byte set a tab starts a pair).
        const std::size_t runStart = i;
        if (IsTwoByteSet(set)) {
            i = FindFirst<ESC>(p, i, n, 2);
            cursor.PlacePairs((i - runStart) / 2);
        } else {
            i = FindFirst<TAB, ESC>(p, i, n, 1);
            cursor.PlaceSingles(i - runStart);
        }
        if (i >= n) {
            break;
        }
        if (p[i] == TAB) {
            cursor.PlaceTab();
            ++i;
        } else if (const int skipped = FollowEscape(p + i, set)) {
            i += skipped;
        } else {
            cursor.PlaceSingles(1);
            ++i;
        }
    }
    return cursor.Rows();
}
