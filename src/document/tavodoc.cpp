// CTAVODoc's lifecycle and load: the file read a piece at a time, its
// terminators counted, and the text split into the line table.
#include "tavodoc.h"

#include "bytescan.h"
#include "linetable.h"
#include "linewalker.h"
#include "platform/core/heap.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <thread>
#include <utility>
#include <vector>

namespace {

constexpr std::size_t HEAP_INITIAL_SIZE = 0x100000;
// Rows and line numbers are signed 32-bit everywhere above the document.
constexpr std::uint64_t MAX_LINES = std::numeric_limits<std::int32_t>::max();
// The text is read a piece at a time and its terminators are counted while
// the piece is still in the cache.
constexpr std::uint32_t READ_CHUNK = 1u << 20;
// How often the split tells how far it has come and looks for a cancel.
constexpr std::size_t SPLIT_REPORT = std::size_t(8) << 20;
// The bytes a first screen is split from: many screens of usual lines.
constexpr std::uint32_t FIRST_SCREEN_BYTES = 64u << 10;
// Texts from this size on are split in two stretches at once.
constexpr std::size_t PARALLEL_FROM = std::size_t(8) << 20;

std::int32_t DigitsOf(std::uint32_t value) {
    std::int32_t digits = 1;
    while (value >= 10) {
        ++digits;
        value /= 10;
    }
    return digits;
}

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
        // A file read in one piece is split as soon as a first screen would be.
        if (done == 0 && chunk < m_nLength && pProgress != nullptr &&
            pProgress->WantsFirstScreen()) {
            pProgress->OfferFirstScreen(FirstScreenOf(m_pData, chunk, terminators, m_nLength));
        }
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

std::unique_ptr<CTAVODoc> CTAVODoc::FirstScreenOf(const std::uint8_t* pText, std::uint32_t nRead,
                                                  std::uint64_t nTerminatorsRead,
                                                  std::uint32_t nFileLength) {
    const std::uint32_t piece = std::min(nRead, FIRST_SCREEN_BYTES);
    CMemFile file(pText, piece);
    auto pFirst = std::make_unique<CTAVODoc>();
    pFirst->m_hHeap = HeapCreate(0, HEAP_INITIAL_SIZE, 0);
    if (pFirst->m_hHeap == nullptr || !pFirst->LoadText(&file)) {
        return nullptr;
    }
    if (piece < nFileLength) {
        // The last line may go on past the piece, or even end elsewhere: a
        // terminator can be read as a pair's second byte. Only the first
        // line's start is sure; no character or designation is longer than
        // MAX_SEQUENCE bytes, so those that end that far before the piece's
        // end are read as in the whole file.
        constexpr std::uint32_t MAX_SEQUENCE = 4;
        if (pFirst->m_nLines >= 2) {
            pFirst->KeepLines(pFirst->m_nLines - 1);
        } else if (piece <= MAX_SEQUENCE || !pFirst->KeepWholeCharacters(piece - MAX_SEQUENCE)) {
            return nullptr;
        }
        // The gutter is as wide as the whole file's is likely to need, by
        // the lines of all that was read.
        pFirst->m_nDigits = DigitsOf(
            std::uint32_t(std::min<std::uint64_t>(1 + nTerminatorsRead * nFileLength / nRead,
                                                  std::numeric_limits<std::uint32_t>::max())));
    }
    return pFirst;
}

void CTAVODoc::KeepLines(std::uint32_t nLines) {
    m_nLines = nLines;
    m_nLength = m_pLines[nLines].nOffset;
    m_nMaxWidth = 0;
    for (std::uint32_t line = 0; line < nLines; ++line) {
        m_nMaxWidth = std::max(m_nMaxWidth, m_pLines[line].nWidth);
    }
    DropCheckpointsFromEnd();
    m_nTotalRows[0] = m_nTotalRows[1] = std::int32_t(nLines);
    for (SlotLayout& layout : m_layout) {
        layout.nRows = nLines;
    }
}

void CTAVODoc::DropCheckpointsFromEnd() {
    while (m_nCheckpoints > 0 && m_pCheckpoints[m_nCheckpoints - 1].nOffset >= m_nLength) {
        --m_nCheckpoints;
    }
}

bool CTAVODoc::KeepWholeCharacters(std::uint32_t nLimit) {
    LineWalker walker(*this, 0, LAYOUT_SCREEN);
    CharCell cell = {};
    std::uint32_t end = 0;
    std::uint64_t width = 0;
    while (walker.Next(cell) && cell.nOffset + cell.nBytes <= nLimit) {
        end = cell.nOffset + cell.nBytes;
        width = cell.nLineColumn + std::uint64_t(cell.nCells);
    }
    if (end == 0) {
        return false;
    }
    m_nLength = m_pLines[0].nLength = end;
    m_nMaxWidth = m_pLines[0].nWidth = SaturatedWidth(width);
    DropCheckpointsFromEnd();
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
