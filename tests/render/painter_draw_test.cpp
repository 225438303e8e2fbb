// What the drawing operations put on the surface, recorded.
#include "painter_fixture.h"

namespace {

TEST_F(PainterTest, EmptyRunsAndEscapesOnlyDrawNothing) {
    Make();
    Run(CHARSET_ASCII, 0, "");
    Run(CHARSET_ASCII, 0, "\x1b$B\x1b(J\x1b(B");
    EXPECT_TRUE(recorder.m_records.empty());
    painter->Restore();
}

TEST_F(PainterTest, EveryTextIsClippedToThePaintRectangle) {
    CCharPainter& p = Make();
    p.m_nFirstCol = 2;
    p.m_nFirstRow = 1;
    p.DrawRun(CHARSET_ASCII, 0, 3, Bytes("ab"), 2);
    const auto texts = Texts();
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(texts[1].x, 10 + (1 - 2) * 6);
    EXPECT_EQ(texts[1].y, 20 + (3 - 1) * 12);
    for (const GdiRecord& text : texts) {
        EXPECT_EQ(text.nOptions, ETO_CLIPPED);
        EXPECT_TRUE(text.bClip);
        EXPECT_EQ(text.rcClip.left, 10);
        EXPECT_EQ(text.rcClip.bottom, 220);
        EXPECT_FALSE(text.bDx);
        EXPECT_EQ(text.crBk, env.crColor[ENV_CLR_TEXTBK]);
    }
    p.Restore();
}

TEST_F(PainterTest, TabsCountFromTheGuttersEdge) {
    env.bFlags |= ENV_SHOW_CONTROLS;
    CCharPainter& p = Make();
    p.FillGutter(3);
    for (int textCol = 0; textCol < 4; ++textCol) {
        recorder.m_records.clear();
        const std::string run = std::string(size_t(textCol), 'a') + "\tb";
        Run(CHARSET_ASCII, 3, run);
        const auto texts = Texts();
        ASSERT_EQ(texts.size(), size_t(textCol) + 2);
        const GdiRecord& mark = texts[size_t(textCol)];
        EXPECT_EQ(mark.bytes, std::string(">...").substr(0, size_t(4 - textCol)));
        EXPECT_EQ(mark.crBk, env.crColor[ENV_CLR_CTRLBK]);
        EXPECT_EQ(texts.back().x, X(3 + 4)) << textCol; // the next stop
    }
    p.Restore();
}

TEST_F(PainterTest, OneByteCharactersWrapAtTheWrapColumn) {
    CCharPainter& p = Make();
    p.m_nWrapCol = 10;
    Run(CHARSET_ASCII, 0, "0123456789X");
    const auto texts = Texts();
    ASSERT_EQ(texts.size(), 11u);
    EXPECT_EQ(texts[9].x, X(9));
    EXPECT_EQ(texts[10].x, X(0));
    EXPECT_EQ(texts[10].y, Y(1));
    p.Restore();
}

TEST_F(PainterTest, TwoByteCharactersWrapWhenFewerThanTwoCellsAreLeft) {
    CCharPainter& p = Make();
    p.m_nWrapCol = 10;
    Run(CHARSET_ASCII, 0, "01234567\x1b$B\x30\x21\x30\x21"); // fits at 8, wraps after
    Run(CHARSET_ASCII, 0, "012345678\x1b$B\x30\x21");        // at 9: moves on
    const auto texts = Texts();
    ASSERT_EQ(texts.size(), 20u);
    EXPECT_EQ(texts[8].x, X(8));
    EXPECT_EQ(texts[8].y, Y(0));
    EXPECT_EQ(texts[9].x, X(0));
    EXPECT_EQ(texts[9].y, Y(1));
    EXPECT_EQ(texts[19].x, X(0));
    EXPECT_EQ(texts[19].y, Y(1));
    p.Restore();
}

TEST_F(PainterTest, NarrowWrapColumnGivesEveryTwoByteCharacterARow) {
    CCharPainter& p = Make();
    p.m_nWrapCol = 6; // the start column + 1
    Run(CHARSET_NEWJIS, 5, "\x30\x21\x30\x22\x30\x23");
    const auto texts = Texts();
    ASSERT_EQ(texts.size(), 3u);
    for (size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(texts[i].x, X(5));
        EXPECT_EQ(texts[i].y, Y(int(i) + 1)); // the first row stays without
    }
    p.Restore();
}

TEST_F(PainterTest, TabKeepsItsWidthPastTheWrapColumnAndWrapsAfter) {
    CCharPainter& p = Make();
    p.m_nWrapCol = 10;
    Run(CHARSET_ASCII, 2, "abcdefg\tX"); // the tab runs from column 9 to 12
    const auto texts = Texts();
    ASSERT_EQ(texts.size(), 8u);
    EXPECT_EQ(texts[7].x, X(2));
    EXPECT_EQ(texts[7].y, Y(1));

    recorder.m_records.clear();
    p.m_nWrapCol = 0; // never wraps
    Run(CHARSET_ASCII, 0, std::string(2000, 'a'));
    EXPECT_EQ(Texts().back().y, Y(0));
    EXPECT_EQ(Texts().back().x, X(1999));
    p.Restore();
}

TEST_F(PainterTest, UnknownEscapeEndsATwoByteSetOnly) {
    env.bFlags |= ENV_SHOW_CONTROLS;
    CCharPainter& p = Make();
    Run(CHARSET_NEWJIS, 0, "\x30\x21\x1bxy");
    auto texts = Texts();
    ASSERT_EQ(texts.size(), 4u);
    EXPECT_EQ(texts[1].bytes, "[");
    EXPECT_EQ(texts[1].crBk, env.crColor[ENV_CLR_CTRLBK]);
    EXPECT_EQ(texts[1].hFont, p.m_font[0].GetSafeHandle());
    EXPECT_EQ(texts[2].bytes, "x");
    EXPECT_EQ(texts[3].x, X(4));

    recorder.m_records.clear();
    Run(CHARSET_JISROMAN, 0, "\x1bxy");
    texts = Texts();
    ASSERT_EQ(texts.size(), 3u);
    EXPECT_EQ(texts[2].hFont, p.m_font[1].GetSafeHandle());
    p.Restore();
}

TEST_F(PainterTest, ControlCodesShowAsLettersOnTheControlBackground) {
    env.bFlags |= ENV_SHOW_CONTROLS;
    CCharPainter& p = Make();
    Run(CHARSET_ASCII, 0, std::string("\x00\x01\x0a\x0c\x0d\x1b\x1f\x7f", 8));
    const auto texts = Texts();
    ASSERT_EQ(texts.size(), 8u);
    const std::string letters = "@AJLM[_";
    for (size_t i = 0; i < letters.size(); ++i) {
        EXPECT_EQ(texts[i].bytes, letters.substr(i, 1));
        EXPECT_EQ(texts[i].crBk, env.crColor[ENV_CLR_CTRLBK]);
        EXPECT_EQ(texts[i].x, X(int(i)));
    }
    EXPECT_EQ(texts[7].bytes, "\x7f"); // drawn as itself
    EXPECT_EQ(texts[7].crBk, env.crColor[ENV_CLR_TEXTBK]);

    recorder.m_records.clear();
    env.bFlags &= BYTE(~ENV_SHOW_CONTROLS);
    Run(CHARSET_ASCII, 0, "\r\tA");
    ASSERT_EQ(Texts().size(), 1u);
    EXPECT_EQ(Texts()[0].x, X(4)); // hidden ones still take their cells
    p.Restore();
}

TEST_F(PainterTest, UndecodablePairShowsOnTheControlBackgroundEvenWhenPrinting) {
    CCharPainter& p = Make();
    p.m_bConvert = TRUE;
    p.m_bPrinting = TRUE;
    Run(CHARSET_NEWJIS, 0, "\x0a\x41\x30\x21");
    const auto texts = Texts();
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(texts[0].bytes, "\x0a\x41"); // unconverted
    EXPECT_EQ(texts[0].crBk, env.crColor[ENV_CLR_CTRLBK]);
    EXPECT_EQ(texts[1].bytes, "\x88\x9f"); // converted to Shift_JIS
    EXPECT_EQ(texts[1].x, X(2));
    EXPECT_EQ(texts[1].crBk, env.crColor[ENV_CLR_TEXTBK]);
    p.Restore();
}

TEST_F(PainterTest, WideSpaceBoxIsFilledAndFramedOnScreen) {
    env.bFlags |= ENV_MARK_WIDE_SPACE;
    CCharPainter& p = Make();
    p.m_bConvert = TRUE;
    Run(CHARSET_OLDJIS, 1, "\x21\x21");
    EXPECT_TRUE(Texts().empty());
    const auto fills = Ops(GdiOp::FillSolidRect);
    const auto frames = Ops(GdiOp::FrameRect);
    ASSERT_EQ(fills.size(), 1u);
    ASSERT_EQ(frames.size(), 1u);
    EXPECT_EQ(fills[0].x, X(1));
    EXPECT_EQ(fills[0].cx, 12);
    EXPECT_EQ(fills[0].cy, 12);
    EXPECT_EQ(fills[0].color, env.crColor[ENV_CLR_TEXTBK]);
    EXPECT_EQ(frames[0].x, X(1) + 1);
    EXPECT_EQ(frames[0].y, Y(0) + 1);
    EXPECT_EQ(frames[0].cx, 10);
    EXPECT_EQ(frames[0].cy, 10);
    EXPECT_EQ(frames[0].crText, env.crColor[ENV_CLR_OLDJIS]);
    EXPECT_EQ(frames[0].crBk, env.crColor[ENV_CLR_TEXTBK]);
    p.Restore();
}

TEST_F(PainterTest, PrintingLeavesOutScreenMarksAndKeepsTheRest) {
    env.bFlags |= ENV_SHOW_CONTROLS | ENV_MARK_WIDE_SPACE;
    CCharPainter& p = Make();
    p.m_bPrinting = TRUE;
    p.m_bConvert = TRUE;
    p.FillGutter(3);
    p.DrawLineNumber(0, 0, 7);
    Run(CHARSET_ASCII, 3, "\t\r\\\x1b(J~\x1b$B\x21\x21");
    p.DrawFormFeedRule(0);
    const auto texts = Texts();
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(texts[0].bytes, " 7:"); // line numbers stay, on colour 8
    EXPECT_EQ(texts[0].crBk, env.crColor[ENV_CLR_LINENOBK]);
    EXPECT_EQ(texts[1].bytes, "\x81\x40"); // the wide space as a character
    EXPECT_EQ(texts[1].x, X(10));
    EXPECT_EQ(Ops(GdiOp::StretchBlt).size(), 2u); // both corrections stay
    const auto fills = Ops(GdiOp::FillSolidRect);
    ASSERT_EQ(fills.size(), 1u); // no gutter fill; the rule stays
    EXPECT_EQ(fills[0].color, env.crColor[ENV_CLR_CTRLBK]);
    EXPECT_TRUE(Ops(GdiOp::FrameRect).empty());
    EXPECT_EQ(p.m_nGutter, 3);
    p.Restore();
}

TEST_F(PainterTest, CorrectionsCopyTheMirrorGlyphsOntoTheirCells) {
    CCharPainter& p = Make();
    Run(CHARSET_ASCII, 2, "\\~");
    Run(CHARSET_JISROMAN, 2, "\\~");
    const auto blts = Ops(GdiOp::StretchBlt);
    ASSERT_EQ(blts.size(), 2u);
    EXPECT_EQ(blts[0].x, X(2) + 6 - 1); // left-right onto the cell
    EXPECT_EQ(blts[0].y, Y(0));
    EXPECT_EQ(blts[0].cx, -6);
    EXPECT_EQ(blts[0].cy, 12);
    EXPECT_EQ(blts[0].nSrcSurface, 1);
    EXPECT_EQ(blts[0].xSrc, 0);
    EXPECT_EQ(blts[0].cxSrc, 6);
    EXPECT_EQ(blts[1].x, X(3)); // top-bottom
    EXPECT_EQ(blts[1].y, Y(0) + 12 - 1);
    EXPECT_EQ(blts[1].cx, 6);
    EXPECT_EQ(blts[1].cy, -12);
    EXPECT_EQ(blts[1].xSrc, 6);
    const auto texts = Texts(); // ASCII tilde and JIS Roman backslash by the fonts
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(texts[0].bytes, "~");
    EXPECT_EQ(texts[1].bytes, "\\");

    recorder.m_records.clear();
    env.bFlags = 0;
    Run(CHARSET_ASCII, 2, "\\");
    EXPECT_TRUE(Ops(GdiOp::StretchBlt).empty());
    p.Restore();
}

TEST_F(PainterTest, LineNumbersFollowTheTextSidewaysWhileTheGutterStays) {
    CCharPainter& p = Make();
    p.m_nFirstCol = 3;
    p.FillGutter(5);
    p.DrawLineNumber(0, 2, 1);
    const auto fills = Ops(GdiOp::FillSolidRect);
    ASSERT_EQ(fills.size(), 1u);
    EXPECT_EQ(fills[0].x, 10);
    EXPECT_EQ(fills[0].cx, 5 * 6);
    EXPECT_EQ(fills[0].y, 20);
    EXPECT_EQ(fills[0].cy, 200);
    EXPECT_EQ(fills[0].color, env.crColor[ENV_CLR_LINENOBK]);
    const auto texts = Texts();
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0].bytes, "   1:");
    EXPECT_EQ(texts[0].x, 10 - 3 * 6);
    EXPECT_EQ(texts[0].y, Y(2));
    EXPECT_EQ(texts[0].crText, env.crColor[ENV_CLR_LINENO]);
    EXPECT_EQ(texts[0].hFont, p.m_font[0].GetSafeHandle());
    p.Restore();
}

TEST_F(PainterTest, LineNumberTextFitsItsGutterAndItsBuffer) {
    CCharPainter& p = Make();
    p.FillGutter(3);
    p.DrawLineNumber(0, 0, 12);
    p.DrawLineNumber(0, 1, 12345); // wider than the gutter: the gutter's width of it
    p.FillGutter(30);              // wider than the buffer: what fits
    p.DrawLineNumber(0, 2, 9);
    const auto texts = Texts();
    ASSERT_EQ(texts.size(), 3u);
    EXPECT_EQ(texts[0].bytes, "12:");
    EXPECT_EQ(texts[1].bytes, "123");
    EXPECT_EQ(texts[2].bytes, std::string(19, ' '));
    p.Restore();
}

TEST_F(PainterTest, FormFeedRuleIsTheRowsLastPixelRowAcrossThePaintWidth) {
    CCharPainter& p = Make();
    p.m_nFirstRow = 1;
    p.DrawFormFeedRule(3);
    const auto fills = Ops(GdiOp::FillSolidRect);
    ASSERT_EQ(fills.size(), 1u);
    EXPECT_EQ(fills[0].x, 10);
    EXPECT_EQ(fills[0].cx, 400);
    EXPECT_EQ(fills[0].y, 20 + 3 * 12 - 1);
    EXPECT_EQ(fills[0].cy, 1);
    EXPECT_EQ(fills[0].color, env.crColor[ENV_CLR_CTRLBK]);
    p.Restore();
}

} // namespace
