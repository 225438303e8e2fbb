// Finding the way: matches marked, searches going round the file, the
// inspector on every kind of cell, the structure check, go to line.
#include "document/doc_fixture.h"
#include "view/cellinfo.h"
#include "view/jiscodes.h"
#include "view/view_fixture.h"

#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QKeyEvent>
#include <QMouseEvent>

#include <cstring>
#include <set>
#include <tuple>

namespace {

class NavigationTest : public ViewTest {
protected:
    // Rests the mouse on text cell (column, row) of the window, the gutter
    // not counted, as a move with no button held.
    void Hover(int column, int row) const {
        const SIZE cell = WindowCell();
        const std::string lastNumber = std::to_string(Doc()->m_nLines) + ":";
        const int gutter = (Env().bFlags & ENV_LINE_NUMBERS) ? int(lastNumber.size()) : 0;
        const QPointF at((column + gutter) * cell.cx + 1, row * cell.cy + 1);
        QMouseEvent move(QEvent::MouseMove, at, at, Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(View()->GetSafeHwnd(), &move);
    }
};

// Text outputs and fills as drawn, without the inverted blocks.
std::vector<std::tuple<GdiOp, int, int, std::string, COLORREF, COLORREF>>
Drawn(const std::vector<GdiRecord>& records) {
    std::vector<std::tuple<GdiOp, int, int, std::string, COLORREF, COLORREF>> drawn;
    for (const GdiRecord& r : records) {
        if (r.op != GdiOp::PatBlt) {
            drawn.emplace_back(r.op, r.x, r.y, r.bytes, r.crText, r.crBk);
        }
    }
    return drawn;
}

// The code point that iconv(3) decodes a New JIS pair to.
char32_t IconvCharacter(std::uint8_t first, std::uint8_t second) {
    const std::string utf32 = Iconv(NEWJIS + char(first) + char(second), "UTF-32LE");
    char32_t ch = 0;
    std::memcpy(&ch, utf32.data(), std::min(utf32.size(), sizeof ch));
    return ch;
}

// The six codes that code page 932 shows by code points of its own, and
// their bytes in a row.
constexpr std::uint8_t SHOWN_ELSEWHERE[][2] = {{0x21, 0x41}, {0x21, 0x42}, {0x21, 0x5D},
                                               {0x21, 0x71}, {0x21, 0x72}, {0x22, 0x4C}};
const std::string SHOWN_ELSEWHERE_PAIRS = "!A!B!]!q!r\"L";

TEST(JisCodesTest, TypedCharactersBecomeTheCodesThatShowThem) {
    constexpr std::uint8_t ONE = SetBit(CHARSET_ASCII) | SetBit(CHARSET_JISROMAN);
    constexpr std::uint8_t TWO = SetBit(CHARSET_OLDJIS) | SetBit(CHARSET_NEWJIS);
    const auto codes = [](const char* typed, bool matchCase) {
        std::vector<std::tuple<int, int, int>> found;
        const FindQuery query = MakeFindQuery(typed, matchCase);
        for (const FindCode& code : query.at(0).codes) {
            found.emplace_back(code.nSets, code.nFirst, code.nSecond);
        }
        return found;
    };
    using C = std::vector<std::tuple<int, int, int>>;
    EXPECT_EQ(codes("a", true), (C{{ONE, 'a', 0}}));
    EXPECT_EQ(codes("a", false), (C{{ONE, 'a', 0}, {ONE, 'A', 0}}));
    EXPECT_EQ(codes("\\", false), (C{{SetBit(CHARSET_ASCII), 0x5C, 0}}));
    EXPECT_EQ(codes("¥", false), (C{{SetBit(CHARSET_JISROMAN), 0x5C, 0}}));
    EXPECT_EQ(codes("‾", false), (C{{SetBit(CHARSET_JISROMAN), 0x7E, 0}}));
    EXPECT_EQ(codes("ｱ", false), (C{{ONE, 0xB1, 0}}));
    EXPECT_EQ(codes("亜", false), (C{{TWO, 0x30, 0x21}}));
    EXPECT_EQ(codes("　", false), (C{{TWO, 0x21, 0x21}}));
    EXPECT_TRUE(codes("\t", false).empty());
    EXPECT_TRUE(codes("😀", false).empty());
    EXPECT_EQ(MakeFindQuery("a亜\xff", false).size(), 3u); // a bad byte is a character too
}

TEST(JisCodesTest, BothFormsOfTheSixCharactersCodePage932ShowsElsewhereAreFound) {
    auto doc = LoadDoc("~-" + NEWJIS + SHOWN_ELSEWHERE_PAIRS + ASCII);
    for (std::size_t i = 0; i < std::size(SHOWN_ELSEWHERE); ++i) {
        const std::uint8_t* const code = SHOWN_ELSEWHERE[i];
        const char32_t standard = IconvCharacter(code[0], code[1]);
        ASSERT_NE(standard, 0u);
        for (const char32_t typed : {standard, ShownCharacter(CHARSET_NEWJIS, code)}) {
            SCOPED_TRACE(Utf8Of(typed));
            TextMatch match{};
            EXPECT_TRUE(::FindText(*doc, MakeFindQuery(Utf8Of(typed), true), 0, true, &match));
            EXPECT_EQ(match.nOffset, 5 + 2 * i);
        }
    }
}

TEST_F(NavigationTest, AMatchInvertsItsOwnCellsAndNothingElse) {
    // "y", a kanji and "z": the kanji no longer fits in the first row of
    // 20 cells when wrapped, so the match spans the wrap.
    const std::string text = std::string(18, 'a') + "xy" + NEWJIS + "0!" + ASCII + "z\nmore\n";
    for (const bool wrapped : {false, true}) {
        SCOPED_TRACE(wrapped);
        Open(text, 0, wrapped ? WORD(ENV_WRAP_FIXED | 20) : WORD(ENV_WRAP_NONE));
        const std::vector<GdiRecord> plain = Draw();
        TavoView()->Find("y亜z", TRUE, TRUE);
        EXPECT_EQ(Drawn(Draw()), Drawn(plain));
        EXPECT_EQ(Inverted(), (wrapped ? Blocks{{19, 0, 1}, {0, 1, 2}, {2, 1, 1}}
                                       : Blocks{{19, 0, 1}, {20, 0, 2}, {22, 0, 1}}));
    }
}

TEST_F(NavigationTest, SearchesGoOnAndBackShowTheLineAndGoRoundTheFile) {
    std::string text;
    for (int i = 1; i <= 100; ++i) {
        text += i == 10 || i == 80 ? "a " + NEWJIS + "5l" + ASCII + "Needle\n" : "hay\n";
    }
    Open(text);
    ResizeClient(40, 20);
    CTAVOView* view = TavoView();
    const auto top = [this] { return View()->GetScrollPos(SB_VERT); };
    // Forward or back, the 1-based line of the match, the status told.
    const std::tuple<bool, int, const char*> steps[] = {
        {true, 10, "ﾚﾃﾞｨ"},
        {true, 80, "ﾚﾃﾞｨ"},
        {true, 10, "ﾌｧｲﾙの末尾に達したので先頭から続けました"},
        {false, 80, "ﾌｧｲﾙの先頭に達したので末尾から続けました"},
        {false, 10, "ﾚﾃﾞｨ"}};
    for (const auto& [forward, line, status] : steps) {
        view->Find("needle", FALSE, forward);
        EXPECT_LE(top(), line - 1) << line;
        EXPECT_GT(top() + 20, line - 1) << line;
        EXPECT_EQ(Status(), status);
    }
    view->Find("needle", TRUE, TRUE);
    EXPECT_EQ(Status(), "見つかりません");
    EXPECT_TRUE(Inverted().empty());
    // A kanji of a line below the window and ASCII across an escape.
    View()->SetScrollPos(SB_VERT, 0);
    view->Find("a 旧N", FALSE, TRUE);
    EXPECT_EQ(Inverted().size(), 4u);
}

TEST_F(NavigationTest, TheFindBarSearchesFromItsTextAndCloses) {
    Open("Alpha beta ALPHA\n");
    Frame()->UpdateCommandUI();
    EXPECT_TRUE(FindBar()->isHidden());
    Frame()->ExecuteCommand(ID_EDIT_FIND);
    EXPECT_FALSE(FindBar()->isHidden());
    FindField()->setText("alpha");
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QApplication::sendEvent(FindField(), &enter); // the default button: find next
    EXPECT_EQ(Inverted().size(), 5u);
    Frame()->ExecuteCommand(ID_EDIT_FIND_NEXT);
    EXPECT_EQ(std::get<0>(*Inverted().begin()), 11);
    // Case matched, "alpha" is nowhere.
    FindBar()->findChild<QCheckBox*>()->setChecked(true);
    Frame()->ExecuteCommand(ID_EDIT_FIND_PREV);
    EXPECT_EQ(Status(), "見つかりません");
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(FindField(), &escape);
    EXPECT_TRUE(FindBar()->isHidden());
    // With no text the repeat opens the bar.
    FindField()->clear();
    Frame()->ExecuteCommand(ID_EDIT_FIND_NEXT);
    EXPECT_FALSE(FindBar()->isHidden());
}

TEST_F(NavigationTest, TheInspectorNamesEveryKindOfCell) {
    const std::string text = "A" + ROMAN + "\\" + ASCII + "\t" + OLDJIS + "0!" + NEWJIS + "$\"" +
                             ASCII + "\n\x1b(I\xb1\x07" + NEWJIS + "\"/0 \n0!" + ASCII;
    Open(text, ENV_LINE_NUMBERS);
    const std::vector<GdiRecord> drawn = Draw();
    const std::tuple<int, int, const char*> cells[] = {
        {0, 0, "行 1  桁 1  ｵﾌｾｯﾄ 0 (0x0)  ASCII  A  0x41  U+0041"},
        {1, 0, "行 1  桁 2  ｵﾌｾｯﾄ 4 (0x4)  JISローマ字  ¥  0x5C  U+00A5"},
        {3, 0, "行 1  桁 3  ｵﾌｾｯﾄ 8 (0x8)  ASCII  制御ｺｰﾄﾞ HT (0x09)"},
        {4, 0, "行 1  桁 5  ｵﾌｾｯﾄ 12 (0xC)  旧JIS  亜  区点 16-01  JIS 3021  ｼﾌﾄJIS 889F  U+4E9C"},
        {7, 0, "行 1  桁 7  ｵﾌｾｯﾄ 17 (0x11)  新JIS  あ  区点 04-02  JIS 2422  ｼﾌﾄJIS 82A0  U+3042"},
        {8, 0, "行 1  桁 9  ｵﾌｾｯﾄ 22 (0x16)  ASCII  制御ｺｰﾄﾞ LF (0x0A)"},
        {9, 0, "ﾚﾃﾞｨ"},
        {0, 1,
         "行 2  桁 1  ｵﾌｾｯﾄ 23 (0x17)  ASCII  このﾋﾞｭｰｱでは表示しない文字集合を指示するｴｽｹｰﾌﾟｼｰｹﾝｽ "
         "ESC ( I (JIS X 0201 片仮名)"},
        {3, 1, "行 2  桁 4  ｵﾌｾｯﾄ 26 (0x1A)  ASCII  上位ﾋﾞｯﾄの立ったﾊﾞｲﾄ B1  ｱ  U+FF71"},
        {4, 1, "行 2  桁 5  ｵﾌｾｯﾄ 27 (0x1B)  ASCII  TAB, LF, FF, CR 以外の制御ｺｰﾄﾞ BEL (0x07)"},
        {6, 1, "行 2  桁 6  ｵﾌｾｯﾄ 31 (0x1F)  新JIS  復号できない2ﾊﾞｲﾄｺｰﾄﾞ 22 2F"},
        {7, 1, "行 2  桁 8  ｵﾌｾｯﾄ 33 (0x21)  新JIS  復号できない2ﾊﾞｲﾄｺｰﾄﾞ 30 20"},
        {9, 1, "行 2  桁 10  ｵﾌｾｯﾄ 35 (0x23)  新JIS  2ﾊﾞｲﾄ文字のまま行が終わっている"},
        {-1, 2, "ﾚﾃﾞｨ"}, // the gutter
        {0, 3, "ﾚﾃﾞｨ"},  // below the last line
    };
    for (const auto& [column, row, status] : cells) {
        Hover(column, row);
        EXPECT_EQ(Status(), status) << column << ", " << row;
    }
    Hover(0, 0);
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(View()->GetSafeHwnd(), &leave);
    EXPECT_EQ(Status(), "ﾚﾃﾞｨ");
    EXPECT_EQ(Drawn(Draw()), Drawn(drawn));
    EXPECT_TRUE(Inverted().empty());
}

TEST_F(NavigationTest, TheCheckGoesFromProblemToProblemAndSaysWhenThereIsNone) {
    Open("clean\n" + NEWJIS + "0!" + ASCII + "\x07\n" + NEWJIS + "0!\n" + ASCII + "\x1bx");
    const char* const forward[] = {
        "行 2  桁 3  ｵﾌｾｯﾄ 14 (0xE): TAB, LF, FF, CR 以外の制御ｺｰﾄﾞ BEL (0x07)",
        "行 3  桁 3  ｵﾌｾｯﾄ 21 (0x15): 2ﾊﾞｲﾄ文字のまま行が終わっている",
        "行 4  桁 1  ｵﾌｾｯﾄ 25 (0x19): 何も指示しないｴｽｹｰﾌﾟｼｰｹﾝｽ ESC x",
        "ﾌｧｲﾙの末尾に達したので先頭から続けました  行 2  桁 3  ｵﾌｾｯﾄ 14 (0xE): TAB, LF, FF, CR "
        "以外の制御ｺｰﾄﾞ BEL (0x07)",
    };
    for (const char* status : forward) {
        Frame()->ExecuteCommand(ID_VIEW_NEXT_PROBLEM);
        EXPECT_EQ(Status(), status);
        EXPECT_EQ(Inverted().size(), 1u);
    }
    Frame()->ExecuteCommand(ID_VIEW_PREV_PROBLEM);
    EXPECT_EQ(Status(), std::string("ﾌｧｲﾙの先頭に達したので末尾から続けました  ") + forward[2]);

    Open("clean\n" + NEWJIS + "0!" + ASCII);
    Frame()->ExecuteCommand(ID_VIEW_PREV_PROBLEM);
    EXPECT_EQ(Status(), "問題箇所はありません: 正しい 7ﾋﾞｯﾄ JIS のﾌｧｲﾙです");
}

TEST_F(NavigationTest, TheInspectorNamesPairsByTheirJisX0208CodePoints) {
    Open(NEWJIS + SHOWN_ELSEWHERE_PAIRS + ASCII);
    Hover(0, 0);
    EXPECT_EQ(Status(), "行 1  桁 1  ｵﾌｾｯﾄ 3 (0x3)  新JIS  〜  区点 01-33  JIS 2141  ｼﾌﾄJIS 8160  "
                        "U+301C (ｺｰﾄﾞﾍﾟｰｼﾞ 932 では U+FF5E)");
    for (std::size_t i = 0; i < std::size(SHOWN_ELSEWHERE); ++i) {
        const char32_t standard = IconvCharacter(SHOWN_ELSEWHERE[i][0], SHOWN_ELSEWHERE[i][1]);
        char codePoint[16];
        std::snprintf(codePoint, sizeof codePoint, "  U+%04X (", unsigned(standard));
        Hover(int(2 * i), 0);
        const std::string status = Status();
        EXPECT_NE(status.find("新JIS  " + Utf8Of(standard) + "  区点"), std::string::npos)
            << status;
        EXPECT_NE(status.find(codePoint), std::string::npos) << status;
    }
}

TEST_F(NavigationTest, TheCheckNamesVendorCharactersAndSetsNeverShown) {
    Open(NEWJIS + "-!0!y!" + ASCII + "\x1b$A\x1b$(D\x1b$(" + "\n" + OLDJIS + "y!" + ASCII);
    const char* const forward[] = {
        "行 1  桁 1  ｵﾌｾｯﾄ 3 (0x3): JIS X 0208 にない文字 2D 21  ①  U+2460",
        "行 1  桁 5  ｵﾌｾｯﾄ 7 (0x7): JIS X 0208 にない文字 79 21  纊  U+7E8A",
        "行 1  桁 7  ｵﾌｾｯﾄ 12 (0xC): このﾋﾞｭｰｱでは表示しない文字集合を指示するｴｽｹｰﾌﾟｼｰｹﾝｽ ESC $ "
        "A (GB 2312)",
        "行 1  桁 10  ｵﾌｾｯﾄ 15 (0xF): このﾋﾞｭｰｱでは表示しない文字集合を指示するｴｽｹｰﾌﾟｼｰｹﾝｽ ESC $ "
        "( D (JIS X 0212)",
        "行 1  桁 14  ｵﾌｾｯﾄ 19 (0x13): 何も指示しないｴｽｹｰﾌﾟｼｰｹﾝｽ ESC $ (",
        "行 2  桁 1  ｵﾌｾｯﾄ 26 (0x1A): JIS X 0208 にない文字 79 21  纊  U+7E8A",
    };
    for (const char* status : forward) {
        Frame()->ExecuteCommand(ID_VIEW_NEXT_PROBLEM);
        EXPECT_EQ(Status(), status);
    }
}

TEST_F(NavigationTest, GoToLinePutsTheLineAtTheTop) {
    Open(Repeat("ab\n", 200), 0, WORD(ENV_WRAP_FIXED | 2)); // two rows a line
    ResizeClient(40, 20);
    std::string range;
    CDialog::SetModalHook([&](CDialog& dialog) {
        range = dialog.GetDlgItemText(IDC_LINE_RANGE);
        dialog.SetDlgItemText(IDC_LINE_NUMBER, "50");
        dialog.GetDialog()->accept();
        return int(IDCANCEL);
    });
    Frame()->ExecuteCommand(ID_EDIT_GOTO_LINE);
    EXPECT_EQ(range, "行番号 (1 - 201):");
    EXPECT_EQ(View()->GetScrollPos(SB_VERT), 2 * 49);
}

} // namespace
