// What set-up, Restore and the drawing operations put on the surface, recorded.
#include "painter_fixture.h"

namespace {

TEST_F(PainterTest, SetUpSelectsTheFirstSetAndRestoreGivesBackTheFormerObjects) {
    const HGDIOBJ before = dc.GetCurrentObject(OBJ_FONT);
    CCharPainter& p = Make();
    EXPECT_EQ(dc.GetCurrentObject(OBJ_FONT), p.m_font[0].GetSafeHandle());
    dc.TextOut(0, 0, "a", 1);
    EXPECT_EQ(recorder.m_records.back().crText, env.crColor[ENV_CLR_ASCII]);

    p.Restore();
    p.Restore(); // harmless twice
    EXPECT_EQ(dc.GetCurrentObject(OBJ_FONT), before);
    EXPECT_EQ(p.m_dcMirror.GetCurrentObject(OBJ_BITMAP), p.m_pOldBitmap->GetSafeHandle());
    painter.reset();
    EXPECT_EQ(dc.GetCurrentObject(OBJ_FONT), before);

    // A surface that measures nothing still gives a cell.
    recorder.m_bNoMetrics = true;
    CCharPainter& unmeasured = Make();
    EXPECT_EQ(unmeasured.m_cxCell * unmeasured.m_cyCell, 1u);
}

TEST_F(PainterTest, AttributesSwitchOnlyOnAChangeOfSet) {
    CCharPainter& p = Make();
    p.SelectAttr(0);
    EXPECT_TRUE(recorder.m_records.empty());
    Run(CHARSET_ASCII, 0, "ab\x1b$B\x30\x21\x30\x21\x1b(Bc");
    EXPECT_EQ(Ops(GdiOp::SelectFont).size(), 2u);
    EXPECT_EQ(Ops(GdiOp::SetTextColor).size(), 2u);
    const auto texts = Texts();
    ASSERT_EQ(texts.size(), 5u);
    EXPECT_EQ(texts[2].hFont, p.m_font[3].GetSafeHandle());
    EXPECT_EQ(texts[2].crText, env.crColor[ENV_CLR_NEWJIS]);
    EXPECT_EQ(texts[4].x, X(6));
}

TEST_F(PainterTest, CharactersGoToTheirCellsClippedToThePaintRectangle) {
    CCharPainter& p = Make();
    Run(CHARSET_ASCII, 0, "");
    Run(CHARSET_ASCII, 0, "\x1b$B\x1b(J\x1b(B");
    EXPECT_TRUE(recorder.m_records.empty());
    p.m_nFirstCol = 2;
    p.m_nFirstRow = 1;
    p.DrawRun(CHARSET_ASCII, 0, 3, Bytes("ab"), 2);
    const auto texts = Texts();
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(texts[1].x, 10 + (1 - 2) * 6);
    EXPECT_EQ(texts[1].y, 20 + (3 - 1) * 12);
    EXPECT_EQ(texts[1].nOptions, ETO_CLIPPED);
    EXPECT_EQ(texts[1].rcClip.right, 410);
    EXPECT_EQ(texts[1].crBk, env.crColor[ENV_CLR_TEXTBK]);
}

TEST_F(PainterTest, TabsCountFromTheGuttersEdge) {
    env.bFlags |= ENV_SHOW_CONTROLS;
    CCharPainter& p = Make();
    p.FillGutter(3);
    for (int textCol = 0; textCol < 4; ++textCol) {
        recorder.m_records.clear();
        Run(CHARSET_ASCII, 3, std::string(size_t(textCol), 'a') + "\tb");
        const auto texts = Texts();
        ASSERT_EQ(texts.size(), size_t(textCol) + 2);
        EXPECT_EQ(texts[size_t(textCol)].bytes, std::string(">...").substr(0, size_t(4 - textCol)));
        EXPECT_EQ(texts[size_t(textCol)].crBk, env.crColor[ENV_CLR_CTRLBK]);
        EXPECT_EQ(texts.back().x, X(3 + 4)) << textCol;
    }
}

TEST_F(PainterTest, RunsWrapBeforeACharacterThatDoesNotFit) {
    CCharPainter& p = Make();
    p.m_nWrapCol = 10;
    Run(CHARSET_ASCII, 0, "0123456789X");                    // the eleventh goes on
    Run(CHARSET_ASCII, 0, "01234567\x1b$B\x30\x21\x30\x21"); // fits at 8, not at 10
    Run(CHARSET_ASCII, 2, "abcdefg\tX");                     // the tab runs from 9 to 12, X goes on
    const auto texts = Texts();
    ASSERT_EQ(texts.size(), 11u + 10u + 8u);
    EXPECT_EQ(texts[10].x, X(0));
    EXPECT_EQ(texts[10].y, Y(1));
    EXPECT_EQ(texts[19].x, X(8));
    EXPECT_EQ(texts[19].y, Y(0));
    EXPECT_EQ(texts[20].x, X(0));
    EXPECT_EQ(texts[20].y, Y(1));
    EXPECT_EQ(texts[28].x, X(2));
    EXPECT_EQ(texts[28].y, Y(1));

    recorder.m_records.clear();
    p.m_nWrapCol = 6; // at most the start column + 1
    Run(CHARSET_NEWJIS, 5, "\x30\x21\x30\x22");
    ASSERT_EQ(Texts().size(), 2u);
    EXPECT_EQ(Texts()[0].y, Y(1)); // the first row stays without
    EXPECT_EQ(Texts()[1].y, Y(2));
    EXPECT_EQ(Texts()[1].x, X(5));
}

TEST_F(PainterTest, UnknownEscapeEndsATwoByteSetOnly) {
    env.bFlags |= ENV_SHOW_CONTROLS;
    CCharPainter& p = Make();
    Run(CHARSET_NEWJIS, 0, "\x30\x21\x1bxy");
    Run(CHARSET_JISROMAN, 0, "\x1bxy");
    const auto texts = Texts();
    ASSERT_EQ(texts.size(), 7u);
    EXPECT_EQ(texts[1].bytes, "[");
    EXPECT_EQ(texts[1].crBk, env.crColor[ENV_CLR_CTRLBK]);
    EXPECT_EQ(texts[1].hFont, p.m_font[0].GetSafeHandle());
    EXPECT_EQ(texts[3].x, X(4));
    EXPECT_EQ(texts[6].hFont, p.m_font[1].GetSafeHandle());
}

TEST_F(PainterTest, ControlCodesShowAsLettersOnTheControlBackground) {
    env.bFlags |= ENV_SHOW_CONTROLS;
    Make();
    Run(CHARSET_ASCII, 0, std::string("\x00\x0a\x0d\x1f\x7f", 5));
    auto texts = Texts();
    ASSERT_EQ(texts.size(), 5u);
    EXPECT_EQ(texts[0].bytes + texts[1].bytes + texts[2].bytes + texts[3].bytes, "@JM_");
    EXPECT_EQ(texts[2].crBk, env.crColor[ENV_CLR_CTRLBK]);
    EXPECT_EQ(texts[4].bytes, "\x7f"); // drawn as itself
    EXPECT_EQ(texts[4].crBk, env.crColor[ENV_CLR_TEXTBK]);

    recorder.m_records.clear();
    env.bFlags &= BYTE(~ENV_SHOW_CONTROLS);
    Run(CHARSET_ASCII, 0, "\r\tA");
    ASSERT_EQ(Texts().size(), 1u);
    EXPECT_EQ(Texts()[0].x, X(4)); // hidden ones still take their cells
}

// Corrections apply to their own set only, and an undecodable pair shows on
// the control background even on paper.
TEST_F(PainterTest, PrintingLeavesOutScreenMarksAndKeepsTheRest) {
    env.bFlags |= ENV_SHOW_CONTROLS | ENV_MARK_WIDE_SPACE;
    CCharPainter& p = Make();
    p.m_bPrinting = TRUE;
    p.m_bConvert = TRUE;
    p.FillGutter(3);
    p.DrawLineNumber(0, 0, 7);
    Run(CHARSET_ASCII, 3, "\t\r\\~\x1b(J\\~\x1b$B\x21\x21\x0a\x41");
    p.DrawFormFeedRule(0);
    const auto texts = Texts();
    ASSERT_EQ(texts.size(), 5u);
    EXPECT_EQ(texts[0].bytes, " 7:");
    EXPECT_EQ(texts[0].crBk, env.crColor[ENV_CLR_LINENOBK]);
    EXPECT_EQ(texts[1].bytes + texts[2].bytes, "~\\");
    EXPECT_EQ(texts[3].bytes, "\x81\x40"); // the wide space as a character
    EXPECT_EQ(texts[3].x, X(12));
    EXPECT_EQ(texts[4].bytes, "\x0a\x41");
    EXPECT_EQ(texts[4].crBk, env.crColor[ENV_CLR_CTRLBK]);
    EXPECT_EQ(Ops(GdiOp::StretchBlt).size(), 2u);
    ASSERT_EQ(Ops(GdiOp::FillSolidRect).size(), 1u); // the rule, no gutter
    EXPECT_EQ(Ops(GdiOp::FillSolidRect)[0].color, env.crColor[ENV_CLR_CTRLBK]);
    EXPECT_TRUE(Ops(GdiOp::FrameRect).empty());
}

TEST_F(PainterTest, LineNumbersFollowTheTextSidewaysAndFitTheirGutterWhileTheGutterStays) {
    CCharPainter& p = Make();
    p.m_nFirstCol = 3;
    p.FillGutter(5);
    p.DrawLineNumber(0, 2, 1);
    p.m_nFirstCol = 0;
    p.DrawLineNumber(0, 0, 12);
    p.FillGutter(3);
    p.DrawLineNumber(0, 1, 12345);
    p.FillGutter(30);
    p.DrawLineNumber(0, 2, 9);
    const auto fills = Ops(GdiOp::FillSolidRect);
    ASSERT_EQ(fills.size(), 3u);
    EXPECT_EQ(fills[0].x, 10);
    EXPECT_EQ(fills[0].cx, 5 * 6);
    EXPECT_EQ(fills[0].cy, 200);
    EXPECT_EQ(fills[0].color, env.crColor[ENV_CLR_LINENOBK]);
    const auto texts = Texts();
    ASSERT_EQ(texts.size(), 4u);
    EXPECT_EQ(texts[0].bytes, "   1:");
    EXPECT_EQ(texts[0].x, 10 - 3 * 6);
    EXPECT_EQ(texts[0].y, Y(2));
    EXPECT_EQ(texts[0].crText, env.crColor[ENV_CLR_LINENO]);
    EXPECT_EQ(texts[1].bytes, "  12:");
    EXPECT_EQ(texts[2].bytes, "123");                // cut to the gutter
    EXPECT_EQ(texts[3].bytes, std::string(19, ' ')); // and to its buffer
}

// The paint rectangle is 400 x 200 pixels: 66 cells by 16 rows and a bit.
TEST_F(PainterTest, RunsStopWhereNothingMoreCanBeSeen) {
    CCharPainter& p = Make();
    const std::string line(1000000, 'x');
    Run(CHARSET_ASCII, 0, line);
    const auto unwrapped = Texts();
    ASSERT_EQ(unwrapped.size(), 67u);
    EXPECT_LT(unwrapped.back().x, 410);

    recorder.m_records.clear();
    p.m_nWrapCol = 10;
    Run(CHARSET_ASCII, 0, line);
    const auto wrapped = Texts();
    ASSERT_EQ(wrapped.size(), 170u); // 17 rows reach into the rectangle
    EXPECT_LT(wrapped.back().y, 220);
}

} // namespace
