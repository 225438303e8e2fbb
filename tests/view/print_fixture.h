// The program printing into a PDF file at 72 dpi (a pixel a point), on
// pages of whole cells without margins.
#pragma once

#include "app/app_fixture.h"
#include "platform/ui/preview.h"
#include "platform/ui/print.h"
#include "support/pdf.h"
#include "support/pixels.h"

#include <QPageSize>
#include <QPrinter>

class PrintTest : public AppTest {
protected:
    static constexpr int DPI = 72;
    static constexpr int ZOOM = 2; // page images at twice the printer's resolution

    // Starts the program on a file with the given text and settings, its
    // fonts at 20 pt, printing into out.pdf.
    void Open(const std::string& text, BYTE flags = 0, WORD wrap = ENV_WRAP_NONE | 80) {
        AppTest::Open(text, flags, wrap);
        for (LOGFONTA& lf : Env().lfFont) {
            lf.lfHeight = 200;
        }
        View()->OnUpdate(nullptr, 0, nullptr);
        pdf = (dir / "out.pdf").string();
        ASSERT_TRUE(app->SelectPrinter(pdf));
        app->GetPrinter()->setResolution(DPI);
    }

    // Paper of cols x rows cells and extra pixels below them, all printable.
    void Paper(int cols, int rows, int extra = 0) {
        cell = PrinterCell();
        QPrinter* printer = app->GetPrinter();
        const QSizeF size(cols * cell.cx, rows * cell.cy + extra);
        printer->setPageSize(QPageSize(size, QPageSize::Point, "cells", QPageSize::ExactMatch));
        printer->setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Point);
    }

    // The cell on the printer.
    SIZE PrinterCell() {
        CDC dc;
        dc.CreateIC(app->GetPrinter());
        return Cell(dc);
    }

    void Print(UINT nCommand = ID_FILE_PRINT_DIRECT) {
        ASSERT_TRUE(Frame()->ExecuteCommand(nCommand));
    }

    QImage Page(int n) const { return PdfPageImage(pdf, n, DPI * ZOOM); }

    // A row's band of a page image, or a cell of it.
    QRect RowBand(const QImage& page, int row) const {
        return QRect(0, row * cell.cy * ZOOM, page.width(), cell.cy * ZOOM);
    }
    QRect CellRect(int col, int row, int cells = 1) const {
        return QRect(col * cell.cx * ZOOM, row * cell.cy * ZOOM, cells * cell.cx * ZOOM,
                     cell.cy * ZOOM);
    }
    static int Ink(const QImage& page, const QRect& rect) {
        return CountOther(page, rect, qRgb(255, 255, 255));
    }

    std::string pdf;
    SIZE cell = {1, 1};
};

// Lines "L000", "L001", ... without a line end after the last.
inline std::string NumberedLines(int count) {
    std::string text;
    for (int i = 0; i < count; ++i) {
        char line[16];
        std::snprintf(line, sizeof line, "%sL%03d", i > 0 ? "\n" : "", i);
        text += line;
    }
    return text;
}
