// Printing the document: pages cut by rows, the print layout, what paper
// shows and leaves out, and cells that do not fit the page.
#include "print_fixture.h"

#include "support/gdi_recorder.h"

#include <QPrintDialog>
#include <QPushButton>
#include <QTransform>
#include <QVector3D>

#include <vector>

namespace {

// A page of rows takes one page, a row more two; 130 rows at 66 a page:
// the second page's two spare rows stay blank.
TEST_F(PrintTest, PagesAreCutByRowsAndTheLastKeepsItsSpareRowsBlank) {
    for (const auto& [lines, pages] : {std::pair(66, 1), std::pair(67, 2), std::pair(130, 2)}) {
        Open(NumberedLines(lines));
        Paper(20, 66);
        Print();
        EXPECT_EQ(PdfPageCount(pdf), pages) << lines;
    }
    EXPECT_EQ(PdfPageLines(pdf, 1).back(), "L065");
    const std::vector<std::string> second = PdfPageLines(pdf, 2);
    ASSERT_EQ(second.size(), 64u);
    EXPECT_EQ(second.front(), "L066");
    EXPECT_EQ(second.back(), "L129");
    const QImage page = Page(2);
    EXPECT_GT(Ink(page, RowBand(page, 63)), 0);
    EXPECT_EQ(Ink(page, RowBand(page, 64)) + Ink(page, RowBand(page, 65)), 0);
}

// Paper wraps at the page less the gutter, the screen not; nothing of the
// next row shows in the half row left below page 1.
TEST_F(PrintTest, PaperWrapsBesideTheGutterAndAWrappedLineGoesOnAtTheTopOfTheNextPage) {
    Open(NumberedLines(12) + "\nabcdefghijklmnopqrstuvwxyz", ENV_LINE_NUMBERS);
    Paper(13, 13, 10);
    Print();
    EXPECT_EQ(Doc()->m_nTotalRows[LAYOUT_SCREEN], 13);
    EXPECT_EQ(Doc()->m_nLayoutWidth[LAYOUT_PRINT], 13u - 3u);
    ASSERT_EQ(PdfPageCount(pdf), 2);
    const std::vector<std::string> first = PdfPageLines(pdf, 1);
    ASSERT_EQ(first.size(), 13u);
    EXPECT_EQ(first[0], " 1:L000");
    EXPECT_EQ(first[12], "13:abcdefghij");
    EXPECT_EQ(PdfPageLines(pdf, 2), (std::vector<std::string>{"klmnopqrst", "uvwxyz"}));
    EXPECT_EQ(Ink(Page(2), CellRect(0, 0, 3)), 0); // beside the gutter, without a number
    const QImage page = Page(1);
    EXPECT_EQ(Ink(page, QRect(0, 13 * cell.cy * ZOOM, page.width(), 10 * ZOOM)), 0);
}

// The painter's own test has each mark; here the view tells it that it
// prints. A form feed draws its rule and starts no page.
TEST_F(PrintTest, PaperLeavesOutTheScreenMarksAndKeepsCorrectionsAndRules) {
    Open("\ta\x01b\n\n\n\x1b$B\x7f!\x1b(B\nz\fend", ENV_SHOW_CONTROLS | ENV_LINE_NUMBERS);
    Env().crColor[ENV_CLR_CTRLBK] = RGB(255, 0, 0);
    Env().crColor[ENV_CLR_LINENOBK] = RGB(0, 255, 0);
    Paper(20, 10);
    Print();
    ASSERT_EQ(PdfPageCount(pdf), 1);
    const QImage page = Page(1);
    const auto count = [&](const QRect& rect, QRgb color) {
        const QRect area = rect & page.rect();
        return area.width() * area.height() - CountOther(page, area, color);
    };
    const QRgb red = qRgb(255, 0, 0);
    EXPECT_EQ(count(RowBand(page, 0), red), 0); // no tab mark, no letter
    EXPECT_EQ(Ink(page, CellRect(2, 0, 4)), 0); // the tab's cells stay empty
    EXPECT_GT(count(RowBand(page, 3), red), 0); // the pair on the control background
    // The rule: the last pixel row of row 4 only.
    EXPECT_EQ(page.pixel(page.width() / 2, 5 * cell.cy * ZOOM - 1), red);
    EXPECT_EQ(count(RowBand(page, 5), red), 0);
    EXPECT_EQ(count(QRect(0, 6 * cell.cy * ZOOM, page.width(), page.height()), qRgb(0, 255, 0)),
              0); // the gutter is not filled below the text
    EXPECT_GT(count(RowBand(page, 0), qRgb(0, 255, 0)), 0); // numbers keep their ground
}

TEST_F(PrintTest, PrintingLeavesTheScreenLayoutScrollPositionsAndWindowAlone) {
    Open(NumberedLines(300) + std::string(200, 'w'), ENV_LINE_NUMBERS, ENV_WRAP_WINDOW);
    View()->OnVScroll(SB_PAGEDOWN, 0, nullptr);
    View()->OnHScroll(SB_LINERIGHT, 0, nullptr);
    const auto screen = [this] {
        return std::make_tuple(Doc()->m_nTotalRows[LAYOUT_SCREEN],
                               Doc()->m_nLayoutWidth[LAYOUT_SCREEN],
                               Doc()->m_pLines[299].nRows[LAYOUT_SCREEN],
                               View()->GetScrollPos(SB_VERT), View()->GetScrollPos(SB_HORZ),
                               Frame()->GetMainWindow()->geometry(), Window()->isVisible());
    };
    const auto before = screen();
    Paper(30, 40);
    Print();
    EXPECT_GT(PdfPageCount(pdf), 1);
    EXPECT_EQ(screen(), before);
}

// Without text there is nothing to print: the window offers neither print
// nor preview, and the command line's print says so.
TEST_F(PrintTest, WithoutTextNothingIsSentAndTheUserIsTold) {
    ASSERT_TRUE(Start());
    pdf = (dir / "out.pdf").string();
    ASSERT_TRUE(app->SelectPrinter(pdf));
    EXPECT_FALSE(Frame()->ExecuteCommand(ID_FILE_PRINT));
    EXPECT_FALSE(Frame()->ExecuteCommand(ID_FILE_PRINT_PREVIEW));
    EXPECT_TRUE(messages.empty());
    Print();
    EXPECT_FALSE(std::filesystem::exists(pdf));
    EXPECT_EQ(messages, std::vector<std::string>{"印刷するページがありません。"});
}

// Not by the same path, a hard or symbolic link, from the print dialog or
// the preview.
TEST_F(PrintTest, NoJobWritesOverTheDocumentByAnyName) {
    ASSERT_TRUE(Start({WriteFile("view.pdf", NumberedLines(40))}));
    const auto document = dir / "view.pdf";
    std::filesystem::create_hard_link(document, dir / "hard.pdf");
    std::filesystem::create_symlink("view.pdf", dir / "link.pdf");
    const std::string refused = "表示中のファイルには印刷できません。";
    for (const char* name : {"view.pdf", "hard.pdf", "link.pdf"}) {
        messages.clear();
        const std::string output = (dir / name).string();
        ASSERT_TRUE(app->SelectPrinter(output));
        Print();
        EXPECT_EQ(messages, std::vector<std::string>{output + ": " + refused}) << name;
    }
    int dialogs = 0;
    CDialog::SetModalHook([&](CDialog&) {
        ++dialogs;
        app->GetPrinter()->setOutputFileName(QString::fromStdString((dir / "link.pdf").string()));
        return int(IDOK);
    });
    messages.clear();
    Print(ID_FILE_PRINT);
    Print(ID_FILE_PRINT_PREVIEW);
    ASSERT_NE(View()->GetPreview(), nullptr);
    View()->GetPreview()->GetButton(AFX_ID_PREVIEW_PRINT)->click();
    EXPECT_EQ(dialogs, 2);
    EXPECT_EQ(messages.size(), 2u);
    EXPECT_TRUE(std::filesystem::is_symlink(dir / "link.pdf"));
}

// The print dialog on the application's printer: the pages chosen there,
// none when it is cancelled; the printer set-up changes where jobs go.
TEST_F(PrintTest, PrintDialogChoosesPagesAndPrinterSetUpThePrinter) {
    Open(NumberedLines(40));
    Paper(20, 10);
    int from = 2;
    int answer = IDCANCEL;
    CDialog::SetModalHook([&](CDialog& dialog) {
        EXPECT_NE(dynamic_cast<CPrintDialog*>(&dialog), nullptr);
        QPrinter* printer = app->GetPrinter();
        EXPECT_EQ(printer->printRange(), QPrinter::AllPages); // every dialog starts there
        printer->setPrintRange(QPrinter::PageRange);
        printer->setFromTo(from, from + 1);
        return answer;
    });
    Print(ID_FILE_PRINT);
    EXPECT_FALSE(std::filesystem::exists(pdf));
    answer = IDOK;
    Print(ID_FILE_PRINT);
    ASSERT_EQ(PdfPageCount(pdf), 2);
    EXPECT_EQ(PdfPageLines(pdf, 1).front(), "L010");
    EXPECT_EQ(PdfPageLines(pdf, 2).back(), "L029");
    // Pages 4 and 5 of 4: only page 4 is there to print.
    from = 4;
    Print(ID_FILE_PRINT);
    EXPECT_EQ(PdfPageCount(pdf), 1);

    const std::string other = (dir / "other.pdf").string();
    CDialog::SetModalHook([&](CDialog&) {
        app->GetPrinter()->setOutputFileName(QString::fromStdString(other));
        return int(IDOK);
    });
    EXPECT_TRUE(Frame()->ExecuteCommand(ID_FILE_PRINT_SETUP));
    Print();
    EXPECT_EQ(PdfPageCount(other), 4);
}

// The dialog offers the selection only while there is one; chosen, it
// prints the whole rows of the selected lines, cut into pages as usual.
TEST_F(PrintTest, TheSelectionPrintsItsLinesWhole) {
    Open(NumberedLines(40));
    Paper(20, 3);
    bool offered = true;
    int dialogs = 0;
    CDialog::SetModalHook([&](CDialog& dialog) {
        ++dialogs;
        auto* print = qobject_cast<QPrintDialog*>(dialog.GetDialog());
        offered = print != nullptr && print->testOption(QAbstractPrintDialog::PrintSelection);
        if (offered) {
            app->GetPrinter()->setPrintRange(QPrinter::Selection);
        }
        return int(IDOK);
    });
    Print(ID_FILE_PRINT);
    EXPECT_FALSE(offered);
    EXPECT_EQ(PdfPageCount(pdf), 14);

    // From inside line 10 to the start of line 15: the line end of 14 is
    // the last byte selected.
    const SIZE screen = WindowCell();
    View()->SetScrollPos(SB_VERT, 10);
    TavoView()->OnLButtonDown(0, {2 * screen.cx + 1, screen.cy / 2});
    TavoView()->OnMouseMove(MK_LBUTTON, {0, 5 * screen.cy + screen.cy / 2});
    TavoView()->OnLButtonUp(0, {0, 5 * screen.cy + screen.cy / 2});
    Print(ID_FILE_PRINT);
    EXPECT_EQ(dialogs, 2);
    EXPECT_TRUE(offered);
    ASSERT_EQ(PdfPageCount(pdf), 2);
    EXPECT_EQ(PdfPageLines(pdf, 1), (std::vector<std::string>{"L010", "L011", "L012"}));
    EXPECT_EQ(PdfPageLines(pdf, 2), (std::vector<std::string>{"L013", "L014"}));
}

// 720 pt on a page of an inch at 600 dpi: the fonts shrink to the largest
// that fits, at no cost, and every row gets a page of its own.
TEST_F(PrintTest, HostileFontHeightsFitThePage) {
    Open("ab\ncd");
    for (LOGFONTA& lf : Env().lfFont) {
        lf.lfHeight = 7200;
    }
    QPrinter* printer = app->GetPrinter();
    printer->setResolution(600);
    printer->setPageSize(QPageSize(QSizeF(1, 1), QPageSize::Inch, "inch", QPageSize::ExactMatch));
    printer->setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Point);
    const SIZE fitted = PrinterCell();
    EXPECT_LE(fitted.cy, 600);
    EXPECT_LE(fitted.cx, 600);
    EXPECT_GT(fitted.cy, 300);
    Print();
    EXPECT_EQ(PdfPageCount(pdf), Doc()->m_nTotalRows[LAYOUT_PRINT]);
}

// ---- the hooks on a recording surface: exact places ----

class PrintHookTest : public PrintTest {
protected:
    // Begins a job on a recording page of the given size in pixels, with
    // 9 pt fonts: the recorder's cells are 6 x 12.
    UINT Begin(int width, int height) {
        for (LOGFONTA& lf : Env().lfFont) {
            lf.lfHeight = 90;
        }
        recorder.m_nWidth = width;
        recorder.m_nHeight = height;
        AttachRecorder(&dc, &recorder);
        TavoView()->OnBeginPrinting(&dc, &info);
        return info.GetMaxPage();
    }

    // The texts page n prints, with their places.
    using Texts = std::vector<std::tuple<std::string, int, int>>;
    Texts PrintPage(UINT n) {
        recorder.m_records.clear();
        info.m_nCurPage = n;
        info.m_rectDraw = {0, 0, recorder.m_nWidth, recorder.m_nHeight};
        TavoView()->OnPrint(&dc, &info);
        Texts texts;
        for (const GdiRecord& r : recorder.m_records) {
            if (r.op == GdiOp::TextOut && r.nSurface == 0) {
                texts.emplace_back(r.bytes, r.x, r.y);
            }
        }
        return texts;
    }

    GdiRecorder recorder;
    CDC dc;
    CPrintInfo info;
};

// A cell taller and wider than the page: a row a page, nothing wrapped.
TEST_F(PrintHookTest, CellLargerThanThePagePrintsARowAPage) {
    Open("abc\nde");
    EXPECT_EQ(Begin(5, 10), 2u);
    EXPECT_EQ(Doc()->m_nLayoutWidth[LAYOUT_PRINT], Doc()->m_nMaxWidth); // unwrapped
    EXPECT_EQ(PrintPage(2).at(0), std::make_tuple(std::string("d"), 0, 0));
}

// A job walks on from the page before; the preview also goes back.
TEST_F(PrintHookTest, PagesShowTheSameRowsInWhateverOrderTheyAreDrawn) {
    std::string text;
    for (int i = 0; i < 40; ++i) {
        text += std::string(5 + i % 23, char('a' + i % 26)) + "\n"; // one to three rows
    }
    Open(text);
    const UINT pages = Begin(6 * 10, 12 * 4);
    ASSERT_GT(pages, 10u);
    std::vector<Texts> forward;
    for (UINT n = 1; n <= pages; ++n) {
        forward.push_back(PrintPage(n));
    }
    for (UINT n = pages; n >= 1; --n) {
        EXPECT_EQ(PrintPage(n), forward[n - 1]) << n;
    }
    EXPECT_EQ(PrintPage(3), forward[2]);

    // A new job lays out afresh and forgets where the last one was.
    PrintPage(Begin(6 * 20, 12 * 4));
    EXPECT_EQ(Begin(6 * 10, 12 * 4), pages);
    EXPECT_EQ(PrintPage(pages - 1), forward[pages - 2]);
    EXPECT_FALSE(forward[pages - 2].empty());
}

// ---- paper finer than the screen ----

// Pixels in the rectangle that are neither one of the colours nor an
// anti-aliased blend of two of them.
int CountForeign(const QImage& image, const QRect& rect, const std::vector<QRgb>& colors) {
    const auto vector = [](QRgb c) { return QVector3D(qRed(c), qGreen(c), qBlue(c)); };
    const auto isBlend = [&](QRgb pixel) {
        for (const QRgb a : colors) {
            for (const QRgb b : colors) {
                const QVector3D direction = (vector(b) - vector(a)).normalized();
                if (vector(pixel).distanceToLine(vector(a), direction) < 16) {
                    return true;
                }
            }
        }
        return false;
    };
    int count = 0;
    const QRect area = rect & image.rect();
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            count += isBlend(image.pixel(x, y)) ? 0 : 1;
        }
    }
    return count;
}

// At 1200 dpi corrected glyphs, DEL and a pair no code converts put only
// glyphs and their ground on paper, and a form feed's rule is a 96-dpi
// pixel thick: three at 300 dpi.
TEST_F(PrintTest, FinePaperShowsGlyphsOnTheirGroundAndARuleThatCanBeSeen) {
    Open(" \\\n\n\x1b(J ~\x1b(B\n\n \x7f\n\n \x1b$B\x7f\x7f\x1b(B\n\f",
         ENV_FIX_BACKSLASH | ENV_FIX_TILDE);
    const QRgb white = qRgb(255, 255, 255);
    const QRgb blue = qRgb(0, 0, 255);
    const QRgb red = qRgb(255, 0, 0);
    const QRgb yellow = qRgb(255, 255, 0);
    Env().crColor[ENV_CLR_ASCII] = Env().crColor[ENV_CLR_NEWJIS] = RGB(0, 0, 255);
    Env().crColor[ENV_CLR_JISROMAN] = RGB(255, 0, 0);
    Env().crColor[ENV_CLR_CTRLBK] = RGB(255, 255, 0);
    Paper(10, 10);
    constexpr int FINE_DPI = 1200;
    constexpr int SEEN_DPI = 300;
    app->GetPrinter()->setResolution(FINE_DPI);
    const SIZE fine = PrinterCell();
    Print();
    const QImage page = PdfPageImage(pdf, 1, SEEN_DPI);
    const auto cellRect = [&](int col, int row, int cells = 1) {
        return QTransform::fromScale(qreal(SEEN_DPI) / FINE_DPI, qreal(SEEN_DPI) / FINE_DPI)
            .mapRect(QRectF(col * fine.cx, row * fine.cy, cells * fine.cx, fine.cy))
            .toAlignedRect();
    };
    // The copied cells may hold either glyph of the bitmap they are copied from.
    for (const int row : {0, 2}) {
        EXPECT_GT(CountOther(page, cellRect(1, row), white), 10);
        EXPECT_EQ(CountForeign(page, cellRect(1, row), {white, blue, red}), 0);
    }
    EXPECT_EQ(CountForeign(page, cellRect(1, 4), {white}), 0);
    EXPECT_EQ(CountForeign(page, cellRect(1, 6, 2), {white, yellow}), 0);

    int ruleRows = 0;
    for (int y = 0; y < page.height(); ++y) {
        const QRgb pixel = page.pixel(page.width() * 3 / 4, y);
        ruleRows += qRed(pixel) > 200 && qBlue(pixel) <= 128 ? 1 : 0;
    }
    EXPECT_GE(ruleRows, 3);
    EXPECT_LE(ruleRows, 4);
}

} // namespace
