// Set-up, attributes, Restore and the cell.
#include "painter_fixture.h"

namespace {

TEST_F(PainterTest, SetUpMeasuresFontsAndDrawsTheMirrorGlyphs) {
    CGdiObject* before = CGdiObject::FromHandle(dc.GetCurrentObject(OBJ_FONT));
    CCharPainter p(&dc, &env);
    EXPECT_EQ(p.m_cxCell, 6u);
    EXPECT_EQ(p.m_cyCell, 12u);
    EXPECT_EQ(p.m_pOldFont, before);
    EXPECT_EQ(p.m_nAttr, 0);
    EXPECT_EQ(dc.GetCurrentObject(OBJ_FONT), p.m_font[0].GetSafeHandle());
    EXPECT_EQ(dc.GetTextColor(), env.crColor[ENV_CLR_ASCII]);

    std::vector<GdiRecord> mirror;
    for (const GdiRecord& record : recorder.m_records) {
        if (record.nSurface == 1 && record.op != GdiOp::SelectFont &&
            record.op != GdiOp::SelectBitmap && record.op != GdiOp::SetTextColor &&
            record.op != GdiOp::SetBkColor && record.op != GdiOp::SetBkMode) {
            mirror.push_back(record);
        }
    }
    ASSERT_EQ(mirror.size(), 3u);
    EXPECT_EQ(mirror[0].op, GdiOp::PatBlt);
    EXPECT_EQ(mirror[0].dwRop, WHITENESS);
    EXPECT_EQ(mirror[0].cx, 12);
    EXPECT_EQ(mirror[0].cy, 12);
    EXPECT_EQ(mirror[1].bytes, "/");
    EXPECT_EQ(mirror[1].x, 0);
    EXPECT_EQ(mirror[1].hFont, p.m_font[0].GetSafeHandle());
    EXPECT_EQ(mirror[1].crText, env.crColor[ENV_CLR_ASCII]);
    EXPECT_EQ(mirror[1].crBk, env.crColor[ENV_CLR_TEXTBK]);
    EXPECT_EQ(mirror[1].nBkMode, OPAQUE);
    EXPECT_EQ(mirror[2].bytes, "_");
    EXPECT_EQ(mirror[2].x, 6);
    EXPECT_EQ(mirror[2].hFont, p.m_font[1].GetSafeHandle());
    EXPECT_EQ(mirror[2].crText, env.crColor[ENV_CLR_JISROMAN]);
    p.Restore();
}

TEST_F(PainterTest, CellIsTheLargestOfTheFourFonts) {
    env.lfFont[2].lfHeight = 140; // 19 pixels: 10 wide
    env.lfFont[3].lfHeight = 120; // 16 pixels
    CCharPainter& p = Make();
    EXPECT_EQ(p.m_cxCell, 10u);
    EXPECT_EQ(p.m_cyCell, 19u);
    p.DrawRun(CHARSET_NEWJIS, 0, 1, Bytes("\x30\x21\x30\x21"), 4);
    const auto texts = Texts();
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(texts[0].x, 10);
    EXPECT_EQ(texts[1].x, 10 + 20); // two cells each
    EXPECT_EQ(texts[1].y, 20 + 19);
    EXPECT_EQ(texts[0].hFont, p.m_font[3].GetSafeHandle());
    p.Restore();
}

TEST_F(PainterTest, SurfaceThatMeasuresNothingStillGivesACell) {
    recorder.m_bNoMetrics = true;
    CCharPainter p(&dc, &env);
    EXPECT_EQ(p.m_cxCell, 1u);
    EXPECT_EQ(p.m_cyCell, 1u);
    p.Restore();
}

TEST_F(PainterTest, RestoreGivesBackTheFormerFontAndIsHarmlessTwice) {
    const HGDIOBJ before = dc.GetCurrentObject(OBJ_FONT);
    CCharPainter& p = Make();
    const HGDIOBJ memoryBitmap = p.m_dcMirror.GetCurrentObject(OBJ_BITMAP);
    EXPECT_EQ(memoryBitmap, p.m_bmpMirror.GetSafeHandle());
    p.Restore();
    EXPECT_EQ(dc.GetCurrentObject(OBJ_FONT), before);
    EXPECT_EQ(p.m_dcMirror.GetCurrentObject(OBJ_BITMAP), p.m_pOldBitmap->GetSafeHandle());
    p.Restore();
    EXPECT_EQ(dc.GetCurrentObject(OBJ_FONT), before);
    painter.reset();
    EXPECT_EQ(dc.GetCurrentObject(OBJ_FONT), before);
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
    EXPECT_EQ(texts[4].hFont, p.m_font[0].GetSafeHandle());
    EXPECT_EQ(texts[4].x, X(6));

    recorder.m_records.clear();
    p.SelectAttr(4); // line numbers: the ASCII font in colour 4
    ASSERT_EQ(Ops(GdiOp::SelectFont).size(), 1u);
    EXPECT_EQ(Ops(GdiOp::SelectFont)[0].hFont, p.m_font[0].GetSafeHandle());
    EXPECT_EQ(dc.GetTextColor(), env.crColor[ENV_CLR_LINENO]);
    p.Restore();
}

} // namespace
