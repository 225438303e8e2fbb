#include "checkcommand.h"

#include "document/linewalker.h"
#include "document/structurecheck.h"
#include "loadfailure.h"
#include "platform/ui/fileerror.h"
#include "view/cellinfo.h"
#include "view/jiscodes.h"

#include <optional>

namespace {

// The columns of the problems of one text, which come in file order: one
// walk of each line that has any, however many it has.
class ColumnFinder {
public:
    explicit ColumnFinder(const CTAVODoc& doc) : m_doc(doc) {}

    // The unwrapped cell, from 0, of the character at nOffset in nLine, or
    // of the line's end for an offset past its last character.
    std::uint64_t ColumnOf(std::uint32_t nLine, std::uint32_t nOffset) {
        if (!m_walker || nLine != m_nLine) {
            m_walker.emplace(m_doc, nLine, LAYOUT_SCREEN);
            m_walker->SeekOffset(nOffset);
            m_nLine = nLine;
            m_bPending = false;
        }
        while (m_bPending || m_walker->Next(m_cell)) {
            m_bPending = true; // the next problem may be this character's too
            if (m_cell.nOffset >= nOffset) {
                return m_cell.nLineColumn;
            }
            m_bPending = false;
        }
        return m_walker->LineColumn();
    }

private:
    const CTAVODoc& m_doc;
    std::optional<LineWalker> m_walker;
    std::uint32_t m_nLine = 0;
    CharCell m_cell{};
    bool m_bPending = false;
};

// What stopped the file from being read, or empty when it was loaded.
std::string Load(CTAVODoc& doc, const std::string& path) {
    CFileException error;
    if (!doc.OnOpenDocument(path.c_str(), &error)) {
        return DescribeFileError(error);
    }
    return DescribeLoadFailure(doc.GetLoadFailure());
}

// Writes the file's problems, at most nMax of them (0: all); whether there
// was any. A quiet check stops at the first.
bool CheckText(const CTAVODoc& doc, const std::string& path, const CTAVOCommandLineInfo& cmdInfo,
               std::FILE* out) {
    ColumnFinder columns(doc);
    unsigned long found = 0;
    ScanProblems(doc, DefinedJisCodes(), [&](const ProblemPlace& place) {
        ++found;
        if (cmdInfo.m_bQuiet) {
            return true;
        }
        const std::uint64_t column = columns.ColumnOf(place.nLine, place.nOffset);
        std::fprintf(out, "%s:%u:%llu: %s\n", path.c_str(), place.nLine + 1,
                     static_cast<unsigned long long>(column + 1),
                     ProblemText(doc, place.nOffset, place.set, place.problem).c_str());
        return found == cmdInfo.m_nMaxProblems;
    });
    return found > 0;
}

} // namespace

int RunCheck(const CTAVOCommandLineInfo& cmdInfo, const std::string& program, std::FILE* out,
             std::FILE* err) {
    int status = CHECK_CLEAN;
    for (const std::string& path : cmdInfo.m_checkFiles) {
        CTAVODoc doc;
        const std::string failure = Load(doc, path);
        if (!failure.empty()) {
            std::fflush(out); // the message lands after the lines before it
            std::fprintf(err, "%s: %s: %s\n", program.c_str(), path.c_str(), failure.c_str());
            status = CHECK_UNREADABLE;
        } else if (CheckText(doc, path, cmdInfo, out) && status == CHECK_CLEAN) {
            status = CHECK_PROBLEMS;
        }
    }
    return status;
}
