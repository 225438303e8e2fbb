// The program running on a file, with the view's settings, size, scroll
// bars and a paint on the recording surface at hand.
#pragma once

#include "app/app_fixture.h"
#include "support/gdi_recorder.h"

#include <iconv.h>

#include <set>
#include <string>
#include <tuple>
#include <vector>

// What iconv(3) makes of 7-bit JIS.
inline std::string Iconv(const std::string& jis, const char* to = "UTF-8") {
    iconv_t cd = iconv_open(to, "ISO-2022-JP");
    std::string in = jis;
    std::string out(jis.size() * 4 + 16, '\0');
    char* pIn = in.data();
    char* pOut = out.data();
    std::size_t inLeft = in.size();
    std::size_t outLeft = out.size();
    const std::size_t converted = iconv(cd, &pIn, &inLeft, &pOut, &outLeft);
    iconv_close(cd);
    EXPECT_NE(converted, std::size_t(-1));
    out.resize(out.size() - outLeft);
    return out;
}

// Inverted cells as (column, row, cells wide).
using Blocks = std::set<std::tuple<int, int, int>>;

class ViewTest : public AppTest {
protected:
    // Sizes the main window so that the view's client area is cols x rows
    // cells of the window's own fonts.
    void ResizeClient(int cols, int rows) {
        const SIZE cell = WindowCell();
        RECT client = {};
        for (int attempt = 0; attempt < 3; ++attempt) {
            View()->GetClientRect(&client);
            Window()->resize(Window()->width() + cols * cell.cx - client.right,
                             Window()->height() + rows * cell.cy - client.bottom);
            TestApplication().processEvents();
        }
        View()->GetClientRect(&client);
        ASSERT_EQ(client.right, cols * cell.cx);
        ASSERT_EQ(client.bottom, rows * cell.cy);
    }

    SCROLLINFO Bar(int nBar) const {
        SCROLLINFO info = {};
        View()->GetScrollInfo(nBar, &info);
        return info;
    }

    // Paints the view onto a recorder, as a paint message would; cell
    // receives the recorder's cell size.
    std::vector<GdiRecord> Draw(SIZE* cell = nullptr) const {
        GdiRecorder recorder;
        CDC dc;
        AttachRecorder(&dc, &recorder);
        View()->OnDraw(&dc);
        if (cell != nullptr) {
            *cell = Cell(dc);
        }
        return recorder.m_records;
    }

    Blocks Inverted() const {
        SIZE cell = {};
        Blocks blocks;
        for (const GdiRecord& r : Draw(&cell)) {
            if (r.op == GdiOp::PatBlt && r.nSurface == 0 && r.dwRop == DSTINVERT) {
                blocks.emplace(r.x / cell.cx, r.y / cell.cy, r.cx / cell.cx);
            }
        }
        return blocks;
    }
};
