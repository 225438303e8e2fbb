#include "envpreview.h"

#include "render/charpainter.h"

namespace {

// The samples, one a row in the set of the row's number. The two-byte rows
// are Shift_JIS already.
const BYTE ASCII_SAMPLE[] = "ASCII - \\(bk/) ~(tilda) \r";
const BYTE JIS_ROMAN_SAMPLE[] = "JIS/R - \\(yen) ~(upper) \r";
const BYTE OLD_JIS_SAMPLE[] = {0x8B, 0x8C, 0x82, 0x69, 0x82, 0x68, 0x82, 0x72, 0x81,
                               0x40, 0x81, 0x7C, 0x81, 0x40, 0x89, 0xA8, 0x81, 0x69,
                               0x99, 0xBD, 0x92, 0xB9, 0x81, 0x6A, 0x00};
const BYTE NEW_JIS_SAMPLE[] = {0x90, 0x56, 0x82, 0x69, 0x82, 0x68, 0x82, 0x72, 0x81,
                               0x40, 0x81, 0x7C, 0x81, 0x40, 0x89, 0xA8, 0x81, 0x69,
                               0x8B, 0xE6, 0x92, 0xB9, 0x81, 0x6A, 0x00};
static_assert(sizeof ASCII_SAMPLE == 26 && sizeof JIS_ROMAN_SAMPLE == 26);
static_assert(sizeof OLD_JIS_SAMPLE == 25 && sizeof NEW_JIS_SAMPLE == 25);

const BYTE* const SAMPLES[CEnvPreview::SAMPLE_ROWS] = {ASCII_SAMPLE, JIS_ROMAN_SAMPLE,
                                                       OLD_JIS_SAMPLE, NEW_JIS_SAMPLE};

} // namespace

void CEnvPreview::OnPaint() {
    CPaintDC dc(this);
    RECT rect;
    GetClientRect(&rect);
    dc.DrawEdge(&rect, EDGE_SUNKEN, BF_RECT);
    if (m_pEnv == nullptr) {
        return;
    }
    InflateRect(&rect, -2, -2);
    dc.FillSolidRect(&rect, m_pEnv->crColor[ENV_CLR_GROUND]);

    CCharPainter painter(&dc, m_pEnv);
    painter.m_rcPaint = rect;
    int startCol = 0;
    if (m_pEnv->bFlags & ENV_LINE_NUMBERS) {
        painter.FillGutter(GUTTER);
        for (int row = 0; row < SAMPLE_ROWS; ++row) {
            painter.DrawLineNumber(0, row, row + 1);
        }
        startCol = GUTTER;
    }
    for (int row = 0; row < SAMPLE_ROWS; ++row) {
        painter.DrawRun(CharSet(row), startCol, row, SAMPLES[row], -1);
    }
    painter.DrawFormFeedRule(SAMPLE_ROWS - 1);
    painter.Restore();
}
