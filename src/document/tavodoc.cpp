#include "tavodoc.h"

#include "platform/core/heap.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <thread>
#include <utility>
#include <vector>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace {

constexpr std::size_t HEAP_INITIAL_SIZE = 0x100000;
// Rows and line numbers are signed 32-bit everywhere above the document.
constexpr std::uint64_t MAX_LINES = std::numeric_limits<std::int32_t>::max();
// The text is read a piece at a time and its terminators are counted while
// the piece is still in the cache.
constexpr std::uint32_t READ_CHUNK = 1u << 20;
// How often the split tells how far it has come and looks for a cancel.
constexpr std::size_t SPLIT_REPORT = std::size_t(8) << 20;
// Lines per entry of a slot's row index.
constexpr std::uint32_t ROW_BLOCK = 1024;
// Texts from this size on are split in two stretches at once, and layouts
// of this many lines counted in two halves.
constexpr std::size_t PARALLEL_FROM = std::size_t(8) << 20;
constexpr std::uint32_t PARALLEL_LINES = 64 * ROW_BLOCK;

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
    // Each match adds one to its byte lane; the lanes are summed before
    // they can overflow.
    const __m128i lf = _mm_set1_epi8(char(LF));
    const __m128i ff = _mm_set1_epi8(char(FF));
    while (i + 16 <= n) {
        __m128i lanes = _mm_setzero_si128();
        for (int k = 0; k < 255 && i + 16 <= n; ++k, i += 16) {
            const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i));
            lanes = _mm_sub_epi8(lanes, _mm_cmpeq_epi8(bytes, lf) | _mm_cmpeq_epi8(bytes, ff));
        }
        const __m128i sums = _mm_sad_epu8(lanes, _mm_setzero_si128());
        count += std::uint64_t(_mm_cvtsi128_si64(sums)) +
                 std::uint64_t(_mm_cvtsi128_si64(_mm_unpackhi_epi64(sums, sums)));
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

// Finds the bytes the split stops at (TAB, LF, FF, ESC) 64 at a time,
// keeping the bits of the block it is in.
class SpecialScanner {
public:
    SpecialScanner(const std::uint8_t* p, std::size_t n) : m_p(p), m_n(n) {}

    // The first such byte from i on, before limit; in a pair set only at
    // an even distance from i. Otherwise the first position from i on, at
    // that distance, at or beyond limit.
    std::size_t Next(std::size_t i, std::size_t limit, bool pairs) {
        if (i >= limit) {
            return i;
        }
        const std::uint64_t even = pairs ? 0x5555555555555555ull : ~0ull;
        std::size_t block = i & ~std::size_t(63);
        std::uint64_t hits = Bits(block) >> (i - block) & even;
        std::size_t found = hits != 0 ? i + std::size_t(__builtin_ctzll(hits)) : 0;
        while (hits == 0) {
            block += 64;
            if (block >= limit) {
                break;
            }
            // Positions at an even distance from i are odd ones of a block
            // that starts an odd distance away.
            hits = Bits(block) & (pairs && (block - i) & 1 ? even << 1 : even);
            found = block + std::size_t(__builtin_ctzll(hits | (1ull << 63)));
        }
        if (hits != 0 && found < limit) {
            return found;
        }
        return pairs ? i + ((limit - i + 1) & ~std::size_t(1)) : limit;
    }

private:
    std::uint64_t Bits(std::size_t block) {
        if (block != m_nBlock) {
            m_nBlock = block;
            m_bits = Compute(block);
        }
        return m_bits;
    }

    std::uint64_t Compute(std::size_t block) const {
        const std::uint8_t* const p = m_p + block;
        std::uint64_t bits = 0;
#ifdef __SSE2__
        if (block + 64 <= m_n) {
            for (int k = 0; k < 4; ++k) {
                bits |= std::uint64_t(MatchMask<TAB, LF, FF, ESC>(p + 16 * k)) << (16 * k);
            }
            return bits;
        }
#endif
        for (std::size_t k = 0; k < 64 && block + k < m_n; ++k) {
            const std::uint8_t b = p[k];
            bits |= std::uint64_t(b == TAB || b == LF || b == FF || b == ESC) << k;
        }
        return bits;
    }

    const std::uint8_t* m_p;
    std::size_t m_n;
    std::size_t m_nBlock = ~std::size_t(0);
    std::uint64_t m_bits = 0;
};

// Places characters in the rows of one line at a wrap width of 1 or more:
// a character that no longer fits opens a new row and starts at column 0.
class RowCursor {
public:
    explicit RowCursor(std::uint64_t width) : m_width(width) {}

    std::uint64_t Rows() const { return m_rows; }
    std::uint64_t Column() const { return m_column; }

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
    m_layout[0] = m_layout[1] = SlotLayout{};
    m_bAnyTabInPair = false;
    m_pCheckpoints = nullptr;
    m_nCheckpoints = 0;
}

void CTAVODoc::DeleteContents() {
    Empty();
    m_loadFailure = LoadFailure::none;
}

void CTAVODoc::TakeContents(CTAVODoc& other) {
    DeleteContents();
    m_hHeap = std::exchange(other.m_hHeap, nullptr);
    m_nMaxWidth = other.m_nMaxWidth;
    m_pData = other.m_pData;
    m_nLength = other.m_nLength;
    m_pLines = other.m_pLines;
    m_nLines = other.m_nLines;
    m_nDigits = other.m_nDigits;
    std::copy_n(other.m_nLayoutWidth, 2, m_nLayoutWidth);
    std::copy_n(other.m_nTotalRows, 2, m_nTotalRows);
    std::copy_n(other.m_layout, 2, m_layout);
    m_bAnyTabInPair = other.m_bAnyTabInPair;
    m_pCheckpoints = other.m_pCheckpoints;
    m_nCheckpoints = other.m_nCheckpoints;
    m_loadFailure = other.m_loadFailure;
    other.Empty();
}

void CTAVODoc::Serialize(CArchive& ar) {
    if (!ar.IsLoading()) {
        return; // the viewed file is never written
    }
    CTAVODoc next;
    const BOOL finished = ar.RunLoad([&next, &ar](CProgressSink& progress) {
        next.m_hHeap = HeapCreate(0, HEAP_INITIAL_SIZE, 0);
        if (next.m_hHeap == nullptr) {
            next.m_loadFailure = LoadFailure::outOfMemory;
            return;
        }
        next.LoadText(ar.GetFile(), &progress);
    });
    if (finished) {
        TakeContents(next);
    }
}

bool CTAVODoc::LoadText(CFile* pFile, CProgressSink* pProgress) {
    const auto fail = [this](LoadFailure reason) {
        Empty();
        m_loadFailure = reason;
        return false;
    };
    const auto cancelled = [pProgress] { return pProgress != nullptr && pProgress->IsCancelled(); };
    const ULONGLONG length = pFile->GetLength();
    if (length == 0) {
        return fail(LoadFailure::none);
    }
    if (length > std::numeric_limits<std::uint32_t>::max()) {
        return fail(LoadFailure::tooLarge);
    }
    m_nLength = std::uint32_t(length);
    m_pData = static_cast<std::uint8_t*>(
        HeapAlloc(m_hHeap, HEAP_ZERO_MEMORY | HEAP_HUGE_PAGES, m_nLength + 1ull));
    if (m_pData == nullptr) {
        return fail(LoadFailure::outOfMemory);
    }
    // The count is an upper bound: a terminator read as the second byte of
    // a two-byte character ends no line.
    std::uint64_t terminators = 0;
    std::vector<std::uint64_t> before; // terminators before each piece
    for (std::uint32_t done = 0; done < m_nLength;) {
        before.push_back(terminators);
        if (cancelled()) {
            return fail(LoadFailure::none);
        }
        const UINT chunk = std::min(READ_CHUNK, m_nLength - done);
        if (pFile->Read(m_pData + done, chunk) != chunk) {
            return fail(LoadFailure::readFault);
        }
        terminators += CountTerminators(m_pData + done, chunk);
        done += chunk;
        if (pProgress != nullptr) {
            pProgress->Report(done, 2ull * m_nLength); // the split is the other half
        }
    }
    if (1 + terminators > MAX_LINES) {
        return fail(LoadFailure::tooLarge);
    }
    if (!AllocateTable(1 + terminators)) {
        return fail(LoadFailure::outOfMemory);
    }
    LineStart middle;
    SplitLines(pProgress, FindMiddle(before, &middle) ? &middle : nullptr);
    if (cancelled()) {
        return fail(LoadFailure::none);
    }
    if (pProgress != nullptr) {
        pProgress->Report(2ull * m_nLength, 2ull * m_nLength);
    }
    m_nDigits = DigitsOf(m_nLines);
    m_nTotalRows[0] = m_nTotalRows[1] = std::int32_t(m_nLines);
    m_nLayoutWidth[0] = m_nLayoutWidth[1] = 0;
    for (SlotLayout& layout : m_layout) {
        layout.bCounted = false;
        layout.bSingleRows = true;
        layout.nRows = m_nLines;
    }
    return true;
}

// One allocation for the line table, the row indexes of both slots and the
// checkpoints of the long lines.
bool CTAVODoc::AllocateTable(std::uint64_t capacity) {
    const std::uint64_t blocks = capacity / ROW_BLOCK + 1;
    const std::uint64_t checkpoints = m_nLength / CHECKPOINT_SPACING + 1;
    const std::uint64_t bytes = capacity * sizeof(LineInfo) + 2 * blocks * sizeof(std::int64_t) +
                                checkpoints * sizeof(LineCheckpoint);
    auto* block = static_cast<std::uint8_t*>(HeapAlloc(m_hHeap, HEAP_ZERO_MEMORY, bytes));
    if (block == nullptr) {
        return false;
    }
    m_pLines = reinterpret_cast<LineInfo*>(block);
    m_layout[0].pIndex = reinterpret_cast<std::int64_t*>(block + capacity * sizeof(LineInfo));
    m_layout[1].pIndex = m_layout[0].pIndex + blocks;
    m_pCheckpoints = reinterpret_cast<LineCheckpoint*>(m_layout[1].pIndex + blocks);
    return true;
}

// The first line start from the middle of a large text on, its line number
// and the set its last designation before it gives.
bool CTAVODoc::FindMiddle(const std::vector<std::uint64_t>& before, LineStart* pMiddle) const {
    const std::uint8_t* const p = m_pData;
    const std::size_t n = m_nLength;
    if (n < PARALLEL_FROM) {
        return false;
    }
    const std::size_t end = FindFirst<LF, FF>(p, n / 2, n, 1) + 1;
    if (end >= n) {
        return false;
    }
    const std::size_t piece = end / READ_CHUNK * READ_CHUNK;
    pMiddle->nOffset = end;
    pMiddle->nLine =
        std::uint32_t(before[end / READ_CHUNK] + CountTerminators(p + piece, end - piece));
    pMiddle->set = CHARSET_ASCII;
    for (std::size_t at = end; at > 0;) {
        const void* found = memrchr(p, ESC, at);
        if (found == nullptr) {
            break;
        }
        at = std::size_t(static_cast<const std::uint8_t*>(found) - p);
        if (const std::uint8_t designated = DetectEscape(p + at)) {
            pMiddle->set = CharSet(designated - 1);
            break;
        }
    }
    // The second stretch keeps its checkpoints after all the first can have.
    pMiddle->nCheckpoints = std::uint32_t(end / CHECKPOINT_SPACING + 1);
    return true;
}

CTAVODoc::SplitResult CTAVODoc::SplitStretch(const LineStart& start, std::size_t end, bool last,
                                             CProgressSink* pProgress, bool report) {
    const std::uint8_t* const p = m_pData;
    const std::size_t n = m_nLength;
    SplitResult result;
    CharSet set = start.set;
    std::uint64_t column = 0;
    std::uint32_t line = start.nLine;
    std::size_t lineOffset = start.nOffset;
    std::uint32_t checkpoints = start.nCheckpoints;
    std::uint32_t lineCheckpoints = checkpoints; // the current line's first checkpoint
    std::size_t nextCheckpoint = lineOffset + CHECKPOINT_SPACING;
    std::size_t nextReport = lineOffset + SPLIT_REPORT;
    m_pLines[line].nOffset = std::uint32_t(lineOffset);
    m_pLines[line].nStartSet = set;

    const auto endLine = [&](std::size_t lineEnd) {
        LineInfo& info = m_pLines[line];
        info.nLength = std::uint32_t(lineEnd - info.nOffset);
        info.nWidth = SaturatedWidth(column);
        info.nRows[0] = info.nRows[1] = 1;
        result.nMaxWidth = std::max(result.nMaxWidth, info.nWidth);
    };

    SpecialScanner scanner(p, n);
    std::size_t i = lineOffset;
    while (true) {
        // Characters of no special meaning only widen the line: a cell each
        // in a one-byte set, two in a pair.
        const std::size_t runStart = i;
        const std::size_t limit = std::min({end, nextCheckpoint, nextReport});
        i = scanner.Next(i, limit, IsTwoByteSet(set));
        column += i - runStart;
        if (i >= end) {
            break;
        }
        if (i >= limit) {
            if (i >= nextReport) {
                if (pProgress != nullptr) {
                    if (report) {
                        pProgress->Report(n + i, 2ull * n);
                    }
                    if (pProgress->IsCancelled()) {
                        result.bCancelled = true;
                        return result;
                    }
                }
                nextReport = i + SPLIT_REPORT;
            }
            if (i >= nextCheckpoint) {
                if (!m_pLines[line].bTabInPair) {
                    m_pCheckpoints[checkpoints++] = {std::uint32_t(i), set, column, {}, {}};
                }
                nextCheckpoint = i + CHECKPOINT_SPACING;
            }
            continue;
        }
        const std::uint8_t b = p[i];
        if (b == TAB) {
            if (IsTwoByteSet(set) && !m_pLines[line].bTabInPair) {
                // The split and the drawing part ways here: the line's
                // checkpoints would mislead.
                m_pLines[line].bTabInPair = 1;
                result.bAnyTabInPair = true;
                checkpoints = lineCheckpoints;
            }
            column = (column & ~std::uint64_t(3)) + 4;
            ++i;
        } else if (IsTerminator(b)) {
            ++i;
            endLine(i);
            ++line;
            lineOffset = i;
            column = 0;
            lineCheckpoints = checkpoints;
            nextCheckpoint = i + CHECKPOINT_SPACING;
            // A line that starts where the stretch ends belongs to the next.
            if (i < end || last) {
                m_pLines[line].nOffset = std::uint32_t(i);
                m_pLines[line].nStartSet = set;
            }
        } else if (const std::size_t skipped = FollowEscape(p + i, set)) {
            i += skipped;
        } else {
            ++column;
            ++i;
        }
    }
    if (last) {
        endLine(n);
    }
    result.open = {lineOffset, line, set, checkpoints};
    return result;
}

// Fills the line table and sets m_nLines and m_nMaxWidth; keeps a
// checkpoint about every CHECKPOINT_SPACING bytes of a long line. A large
// text is split in two stretches at once, the second from a line end near
// the middle in the set its last designation gives; when the first stretch
// ends otherwise (a line end read inside a pair, a designation not in
// force), the whole text is split again in one.
void CTAVODoc::SplitLines(CProgressSink* pProgress, const LineStart* pMiddle) {
    const LineStart whole = {0, 0, CHARSET_ASCII, 0};
    const auto take = [this](const SplitResult& result) {
        m_nLines = result.open.nLine + 1;
        m_nMaxWidth = std::max(m_nMaxWidth, result.nMaxWidth);
        m_nCheckpoints = result.open.nCheckpoints;
        m_bAnyTabInPair = m_bAnyTabInPair || result.bAnyTabInPair;
    };
    if (pMiddle == nullptr) {
        take(SplitStretch(whole, m_nLength, true, pProgress, true));
        return;
    }
    SplitResult second;
    std::thread worker([&] { second = SplitStretch(*pMiddle, m_nLength, true, pProgress, false); });
    const SplitResult first = SplitStretch(whole, pMiddle->nOffset, false, pProgress, true);
    worker.join();
    if (first.bCancelled || second.bCancelled) {
        return;
    }
    if (first.open.nOffset == pMiddle->nOffset && first.open.nLine == pMiddle->nLine &&
        first.open.set == pMiddle->set) {
        // The second stretch's checkpoints follow the first's.
        std::memmove(m_pCheckpoints + first.open.nCheckpoints,
                     m_pCheckpoints + pMiddle->nCheckpoints,
                     (second.open.nCheckpoints - pMiddle->nCheckpoints) * sizeof(LineCheckpoint));
        take(first);
        take(second);
        m_nCheckpoints = first.open.nCheckpoints + second.open.nCheckpoints - pMiddle->nCheckpoints;
        return;
    }
    std::memset(static_cast<void*>(m_pLines), 0,
                (std::max(first.open.nLine, second.open.nLine) + 1ull) * sizeof(LineInfo));
    take(SplitStretch(whole, m_nLength, true, pProgress, true));
}

// Rows end where a character no longer fits: a line whose widest cell, its
// terminator (a pair at most) included, lies within the width takes one.
bool CTAVODoc::FitsOneRow(const LineInfo& line, std::uint32_t nWidth) const {
    return !line.bTabInPair && std::uint64_t(line.nWidth) + 2 <= nWidth;
}

bool CTAVODoc::CountRows(std::uint32_t nWidth, int nSlot) {
    SlotLayout& layout = m_layout[nSlot];
    if (!layout.bCounted || layout.nWidth != nWidth) {
        if (nWidth == 0 || (!m_bAnyTabInPair && std::uint64_t(m_nMaxWidth) + 2 <= nWidth)) {
            if (!layout.bSingleRows) {
                for (std::uint32_t i = 0; i < m_nLines; ++i) {
                    m_pLines[i].nRows[nSlot] = 1;
                }
            }
            for (std::uint32_t i = 0; i < m_nCheckpoints; ++i) {
                m_pCheckpoints[i].nRow[nSlot] = 0;
                m_pCheckpoints[i].nRowColumn[nSlot] = SaturatedWidth(m_pCheckpoints[i].nColumn);
            }
            layout.bSingleRows = true;
            layout.nRows = m_nLines;
        } else {
            CountEveryLine(nWidth, nSlot);
        }
        layout.bCounted = true;
        layout.nWidth = nWidth;
    }
    m_nTotalRows[nSlot] = SaturatedRows(std::uint64_t(layout.nRows));
    m_nLayoutWidth[nSlot] = nWidth == 0 ? m_nMaxWidth : nWidth;
    return true;
}

// Many lines are counted in two halves at once; each half indexes its rows
// from its own first line, and the second's index is moved on after.
void CTAVODoc::CountEveryLine(std::uint32_t nWidth, int nSlot) {
    SlotLayout& layout = m_layout[nSlot];
    const std::uint32_t half =
        m_nLines >= PARALLEL_LINES ? m_nLines / 2 / ROW_BLOCK * ROW_BLOCK : m_nLines;
    std::int64_t second = 0;
    std::thread worker;
    if (half < m_nLines) {
        worker = std::thread([&] { second = CountLines(half, m_nLines, nWidth, nSlot); });
    }
    const std::int64_t first = CountLines(0, half, nWidth, nSlot);
    if (worker.joinable()) {
        worker.join();
        const std::uint32_t blocks = (m_nLines + ROW_BLOCK - 1) / ROW_BLOCK;
        for (std::uint32_t block = half / ROW_BLOCK; block < blocks; ++block) {
            layout.pIndex[block] += first;
        }
    }
    layout.nRows = first + second;
    layout.bSingleRows = layout.nRows == std::int64_t(m_nLines);
}

// Counts the rows of the lines first..last - 1; the row index of their
// blocks counts from line first. Returns their rows.
std::int64_t CTAVODoc::CountLines(std::uint32_t first, std::uint32_t last, std::uint32_t nWidth,
                                  int nSlot) {
    std::int64_t* const index = m_layout[nSlot].pIndex;
    LineCheckpoint* checkpoint = first < last ? FirstCheckpointFrom(m_pLines[first].nOffset)
                                              : m_pCheckpoints + m_nCheckpoints;
    LineCheckpoint* const lastCheckpoint = m_pCheckpoints + m_nCheckpoints;
    std::int64_t total = 0;
    for (std::uint32_t i = first; i < last; ++i) {
        if (i % ROW_BLOCK == 0) {
            index[i / ROW_BLOCK] = total;
        }
        LineInfo& line = m_pLines[i];
        LineCheckpoint* const lineFirst = checkpoint;
        const std::uint64_t lineEnd = std::uint64_t(line.nOffset) + line.nLength;
        while (checkpoint < lastCheckpoint && checkpoint->nOffset < lineEnd) {
            ++checkpoint;
        }
        std::uint64_t rows = 1;
        if (FitsOneRow(line, nWidth)) {
            for (LineCheckpoint* c = lineFirst; c < checkpoint; ++c) {
                c->nRow[nSlot] = 0;
                c->nRowColumn[nSlot] = SaturatedWidth(c->nColumn);
            }
        } else {
            rows = CountWrappedRows(line, nWidth, nSlot, lineFirst, checkpoint);
        }
        line.nRows[nSlot] = SaturatedRows(rows);
        total +=
            std::int64_t(std::min<std::uint64_t>(rows, std::numeric_limits<std::int32_t>::max()));
    }
    return total;
}

std::uint32_t CTAVODoc::LineAtRow(std::int64_t nRow, int nSlot, std::int64_t* pStartRow) const {
    const SlotLayout& layout = m_layout[nSlot];
    nRow = std::max<std::int64_t>(nRow, 0);
    if (layout.bSingleRows || nRow >= layout.nRows) {
        // With one row per line, row n is line n.
        const auto line = std::uint32_t(std::min<std::int64_t>(nRow, m_nLines));
        *pStartRow = layout.bSingleRows ? line : layout.nRows;
        return layout.bSingleRows ? line : m_nLines;
    }
    const std::size_t blocks = (m_nLines + ROW_BLOCK - 1) / ROW_BLOCK;
    const std::int64_t* const block =
        std::upper_bound(layout.pIndex, layout.pIndex + blocks, nRow) - 1;
    auto line = std::uint32_t(block - layout.pIndex) * ROW_BLOCK;
    std::int64_t start = *block;
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
    const SlotLayout& layout = m_layout[nSlot];
    nLine = std::min(nLine, m_nLines);
    if (layout.bSingleRows) {
        return nLine;
    }
    if (nLine == m_nLines) {
        return layout.nRows;
    }
    std::int64_t start = layout.pIndex[nLine / ROW_BLOCK];
    for (std::uint32_t i = nLine - nLine % ROW_BLOCK; i < nLine; ++i) {
        start += m_pLines[i].nRows[nSlot];
    }
    return start;
}

std::uint32_t CTAVODoc::LineAtOffset(std::uint32_t nOffset) const {
    const LineInfo* const after = std::upper_bound(
        m_pLines + 1, m_pLines + m_nLines, nOffset,
        [](std::uint32_t offset, const LineInfo& line) { return offset < line.nOffset; });
    return std::uint32_t(after - m_pLines) - 1;
}

LineCheckpoint* CTAVODoc::FirstCheckpointFrom(std::uint32_t nOffset) const {
    return std::lower_bound(m_pCheckpoints, m_pCheckpoints + m_nCheckpoints, nOffset,
                            [](const LineCheckpoint& checkpoint, std::uint32_t offset) {
                                return checkpoint.nOffset < offset;
                            });
}

LineCheckpoints CTAVODoc::CheckpointsOf(std::uint32_t nLine, int nSlot) const {
    LineCheckpoints found;
    if (nLine >= m_nLines) {
        return found;
    }
    const LineInfo& line = m_pLines[nLine];
    const std::uint64_t lineEnd = std::uint64_t(line.nOffset) + line.nLength;
    const LineCheckpoint* first = FirstCheckpointFrom(line.nOffset);
    const LineCheckpoint* last = first;
    while (last < m_pCheckpoints + m_nCheckpoints && last->nOffset < lineEnd) {
        ++last;
    }
    found.pFirst = first;
    found.nCount = std::size_t(last - first);
    found.nLineOffset = line.nOffset;
    found.nSlot = nSlot;
    found.nWrapWidth = WrapWidthOf(nSlot);
    return found;
}

std::uint64_t CTAVODoc::CountWrappedRows(const LineInfo& line, std::uint32_t nWidth, int nSlot,
                                         LineCheckpoint* pCheckpoint, LineCheckpoint* pEnd) {
    const std::uint8_t* const p = m_pData + line.nOffset;
    const std::size_t n = line.nLength;
    CharSet set = line.nStartSet;
    RowCursor cursor(nWidth);
    std::size_t i = 0;
    while (i < n) {
        const std::size_t mark = pCheckpoint < pEnd ? pCheckpoint->nOffset - line.nOffset : n;
        const std::size_t limit = std::min(n, mark);
        // Up to the next byte that is not simply a character: an ESC, or a
        // tab in a one-byte set (in a two-byte set a tab starts a pair).
        const std::size_t runStart = i;
        if (IsTwoByteSet(set)) {
            i = FindFirst<ESC>(p, i, limit, 2);
            cursor.PlacePairs((i - runStart) / 2);
        } else {
            i = FindFirst<TAB, ESC>(p, i, limit, 1);
            cursor.PlaceSingles(i - runStart);
        }
        if (i >= n) {
            break;
        }
        if (i >= mark) {
            // The split chose the checkpoint at a character's first byte, as
            // this walk meets it; one it passed would mislead and is not used.
            pCheckpoint->nRow[nSlot] = i == mark ? std::int64_t(cursor.Rows() - 1) : -1;
            pCheckpoint->nRowColumn[nSlot] = SaturatedWidth(cursor.Column());
            ++pCheckpoint;
            continue;
        }
        if (p[i] == TAB) {
            cursor.PlaceTab();
            ++i;
        } else if (const std::size_t skipped = FollowEscape(p + i, set)) {
            i += skipped;
        } else {
            cursor.PlaceSingles(1);
            ++i;
        }
    }
    return cursor.Rows();
}
