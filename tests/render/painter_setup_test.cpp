// Set-up, attributes, Restore and the cell.
#include "painter_fixture.h"

namespace {

TEST_F(PainterTest, SetUpMeasuresTheFontsAndDrawsTheMirrorGlyphs) {
    CCharPainter& p = Make();
    EXPECT_EQ(p.m_cxCell, 6u);
    EXPECT_EQ(p.m_cyCell, 12u);
    EXPECT_EQ(p.m_nAttr, 0);
    EXPECT_EQ(dc.GetCurrentObject(OBJ_FONT), p.m_font[0].GetSafeHandle());
    EXPECT_EQ(dc.GetTextColor(), env.crColor[ENV_CLR_ASCII]);

    std::vector<GdiRecord> glyphs;
    for (const GdiRecord& record : setUp) {
        if (record.nSurface == 1 && (record.op == GdiOp::TextOut || record.op == GdiOp::PatBlt)) {
            glyphs.push_back(record);
        }
    }
    ASSERT_EQ(glyphs.size(), 3u);
    EXPECT_EQ(glyphs[0].dwRop, WHITENESS);
    EXPECT_EQ(glyphs[0].cx, 12);
    EXPECT_EQ(glyphs[1].bytes, "/");
    EXPECT_EQ(glyphs[1].hFont, p.m_font[0].GetSafeHandle());
    EXPECT_EQ(glyphs[1].crText, env.crColor[ENV_CLR_ASCII]);
    EXPECT_EQ(glyphs[1].crBk, env.crColor[ENV_CLR_TEXTBK]);
    EXPECT_EQ(glyphs[2].bytes, "_");
    EXPECT_EQ(glyphs[2].x, 6);
    EXPECT_EQ(glyphs[2].hFont, p.m_font[1].GetSafeHandle());
    EXPECT_EQ(glyphs[2].crText, env.crColor[ENV_CLR_JISROMAN]);
    p.Restore();
}

TEST_F(PainterTest, SurfaceThatMeasuresNothingStillGivesACell) {
    recorder.m_bNoMetrics = true;
    CCharPainter& p = Make();
    EXPECT_EQ(p.m_cxCell, 1u);
    EXPECT_EQ(p.m_cyCell, 1u);
    p.Restore();
}

TEST_F(PainterTest, RestoreGivesBackTheFormerObjectsAndIsHarmlessTwice) {
    const HGDIOBJ before = dc.GetCurrentObject(OBJ_FONT);
    CCharPainter& p = Make();
    p.Restore();
    p.Restore();
    EXPECT_EQ(dc.GetCurrentObject(OBJ_FONT), before);
    EXPECT_EQ(p.m_dcMirror.GetCurrentObject(OBJ_BITMAP), p.m_pOldBitmap->GetSafeHandle());
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
    EXPECT_EQ(texts[4].x, X(6));
    p.Restore();
}

} // namespace
