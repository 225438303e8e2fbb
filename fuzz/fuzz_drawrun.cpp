// Draws any bytes with DrawRun on the recording surface, from random
// starts, rows, wrap columns, gutters, scroll offsets, paint rectangles and
// flags, on screen and on paper, with the line number and the form-feed
// rule around it as the view draws them.
#include "fuzz_support.h"

#include "render/charpainter.h"
#include "support/gdi_recorder.h"

#include <climits>
#include <memory>

namespace {

// Mostly the small values the program uses, sometimes anything at all.
int TakeCells(FuzzInput& input) {
    return input.TakeBool() ? int(input.TakeIn(-8, 200)) : input.Take<std::int32_t>();
}

EnvSettings Defaults() {
    EnvStore store("/nowhere/tavo");
    store.SetDefaults();
    return store.m_env;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const EnvSettings defaults = Defaults();
    FuzzInput input(data, size);
    EnvSettings env = defaults;
    env.bFlags = input.Take<BYTE>();
    const auto set = CharSet(input.TakeIn(CHARSET_ASCII, CHARSET_NEWJIS));
    const int startCol = TakeCells(input);
    const int row = TakeCells(input);
    const int gutter = TakeCells(input);
    const bool toZero = input.TakeBool();

    GdiRecorder recorder;
    CDC dc;
    AttachRecorder(&dc, &recorder);
    CCharPainter painter(&dc, &env);
    painter.m_bPrinting = input.TakeBool();
    painter.m_bConvert = input.TakeBool();
    painter.m_nWrapCol = TakeCells(input);
    painter.m_nFirstCol = TakeCells(input);
    painter.m_nFirstRow = TakeCells(input);
    painter.m_rcPaint = {int(input.TakeIn(-50, 700)), int(input.TakeIn(-50, 500)),
                         int(input.TakeIn(-50, 700)), int(input.TakeIn(-50, 500))};

    // Exactly the text and the zero byte the document puts after it, so
    // that reading one byte further is caught.
    const std::string text = input.Rest();
    const auto bytes = std::make_unique<BYTE[]>(text.size() + 1);
    std::memcpy(bytes.get(), text.data(), text.size());
    bytes[text.size()] = 0;

    painter.FillGutter(gutter);
    painter.DrawLineNumber(0, row, row);
    recorder.m_records.clear();
    painter.DrawRun(set, startCol, row, bytes.get(), toZero ? -1 : int(text.size()));
    // Rows only grow along a run, and a run that never wraps keeps to one.
    int lastY = INT_MIN;
    for (const GdiRecord& record : recorder.m_records) {
        if (record.op != GdiOp::TextOut || record.nSurface != 0) {
            continue;
        }
        FUZZ_CHECK(record.y >= lastY);
        FUZZ_CHECK(painter.m_nWrapCol != 0 || lastY == INT_MIN || record.y == lastY);
        lastY = record.y;
    }
    painter.DrawFormFeedRule(row);
    painter.Restore();
    return 0;
}
