// Selecting with the mouse and the keys, and what Copy puts out.
#include "view_fixture.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QTest>

#include <set>
#include <tuple>

namespace {

const char UTF8[] = "text/plain";
const char JIS[] = "text/plain;charset=ISO-2022-JP";

// ASCII, New JIS, JIS Roman and Old JIS over two lines.
const std::string MIXED = "ab\x1b$B$\"$$\x1b(B\ncd\x1b(J\\~\x1b$@4A\x1b(B\n";

std::string Clipboard(const char* mimeType) {
    return QGuiApplication::clipboard()->mimeData()->data(mimeType).toStdString();
}

} // namespace

class SelectionTest : public ViewTest {
protected:
    QWidget* Client() const { return View()->GetSafeHwnd(); }
    // The left half of a cell of the window.
    QPoint At(int col, int row) const {
        const SIZE cell = WindowCell();
        return {int(col * cell.cx + 1), int(row * cell.cy + cell.cy / 2)};
    }
    void Drag(QPoint from, QPoint to) const {
        QTest::mousePress(Client(), Qt::LeftButton, {}, from);
        QTest::mouseMove(Client(), to);
        QTest::mouseRelease(Client(), Qt::LeftButton, {}, to);
    }
    void Copy() const {
        QGuiApplication::clipboard()->clear();
        Frame()->ExecuteCommand(ID_EDIT_COPY);
    }
};

TEST_F(SelectionTest, ADragAcrossLinesAndSetsCopiesUnicodeAndStandaloneJis) {
    Open(MIXED);
    ResizeClient(40, 10);
    Drag(At(1, 0), At(3, 1));
    // b, the two kana, the line end; c, d and the yen sign.
    EXPECT_EQ(
        Inverted(),
        (Blocks{{1, 0, 1}, {2, 0, 2}, {4, 0, 2}, {6, 0, 1}, {0, 1, 1}, {1, 1, 1}, {2, 1, 1}}));
    Copy();
    EXPECT_EQ(Clipboard(UTF8), "bあい\ncd¥");
    // Ends in JIS Roman, so ASCII is designated after it.
    EXPECT_EQ(Clipboard(JIS), "b\x1b$B$\"$$\x1b(B\ncd\x1b(J\\\x1b(B");

    // Started inside New JIS, the copy designates it first.
    Drag(At(4, 0), At(2, 1));
    Copy();
    EXPECT_EQ(Clipboard(UTF8), "い\ncd");
    EXPECT_EQ(Clipboard(JIS), "\x1b$B$$\x1b(B\ncd\x1b(J\x1b(B");
    EXPECT_EQ(Iconv(Clipboard(JIS)), Clipboard(UTF8));

    // A click without a drag lets the selection go, and Copy with it.
    QTest::mouseClick(Client(), Qt::LeftButton, {}, At(5, 1));
    EXPECT_TRUE(Inverted().empty());
    Frame()->UpdateCommandUI();
    EXPECT_FALSE(MenuItem("ｺﾋﾟｰ(&C)")->isEnabled());
}

TEST_F(SelectionTest, ShiftClickWordsLinesAndAll) {
    Open("abc12 \x1b$B4A;zCf$+$J%+%J\x1b(B!x\nline two\n");
    ResizeClient(60, 10);
    QTest::mouseClick(Client(), Qt::LeftButton, {}, At(1, 0));
    QTest::mouseClick(Client(), Qt::LeftButton, Qt::ShiftModifier, At(4, 0));
    Copy();
    EXPECT_EQ(Clipboard(UTF8), "bc1");
    // Shift+click before the selection keeps its far end.
    QTest::mouseClick(Client(), Qt::LeftButton, Qt::ShiftModifier, At(0, 0));
    Copy();
    EXPECT_EQ(Clipboard(UTF8), "abc1");

    // Words: letters and digits, kanji, kana of either kind; a symbol alone.
    const std::pair<int, const char*> words[] = {{2, "abc12"},     {8, "漢字中"}, {13, "かなカナ"},
                                                 {17, "かなカナ"}, {20, "!"},     {5, " "}};
    for (const auto& [column, word] : words) {
        QTest::mouseDClick(Client(), Qt::LeftButton, {}, At(column, 0));
        Copy();
        EXPECT_EQ(Clipboard(UTF8), word) << column;
    }

    // A third click takes the line with its end.
    QTest::mouseDClick(Client(), Qt::LeftButton, {}, At(2, 1));
    QTest::mousePress(Client(), Qt::LeftButton, {}, At(2, 1));
    QTest::mouseRelease(Client(), Qt::LeftButton, {}, At(2, 1));
    Copy();
    EXPECT_EQ(Clipboard(UTF8), "line two\n");

    QTest::keyClick(Client(), Qt::Key_A, Qt::ControlModifier);
    Copy();
    EXPECT_EQ(Clipboard(UTF8), "abc12 漢字中かなカナ!x\nline two\n");
}

// The selection is held in the text, not in the rows that show it.
TEST_F(SelectionTest, TheSelectionOutlivesScrollingAndWrapping) {
    Open(MIXED, ENV_LINE_NUMBERS);
    ResizeClient(40, 10);
    // From the gutter to past the end of the second line: neither the
    // gutter nor the space past a line's end is text.
    Drag(At(0, 0), At(30, 1));
    Copy();
    const std::string selected = "abあい\ncd¥‾漢";
    EXPECT_EQ(Clipboard(UTF8), selected);

    TavoView()->OnHScroll(SB_LINERIGHT, 0, nullptr);
    TavoView()->OnVScroll(SB_LINEDOWN, 0, nullptr);
    Env().wWrap = ENV_WRAP_FIXED | 6;
    TavoView()->OnSize(0, 0, 0);
    // The line numbers' gutter is 2 cells: "ab" and the kana wrap at 6.
    Copy();
    EXPECT_EQ(Clipboard(UTF8), selected);
    EXPECT_FALSE(Inverted().empty());

    // A new document has nothing selected.
    View()->OnUpdate(nullptr, 0, nullptr);
    EXPECT_TRUE(Inverted().empty());
}

// Held below the window, the drag goes on scrolling and selecting with the
// mouse still; back inside, or let go, it stops.
TEST_F(SelectionTest, ADragHeldPastTheEdgeKeepsScrolling) {
    std::string text;
    for (int i = 1000; i < 1200; ++i) {
        text += "L" + std::to_string(i) + "\n";
    }
    Open(text);
    ResizeClient(40, 10);
    QTest::mousePress(Client(), Qt::LeftButton, {}, At(0, 0));
    QTest::mouseMove(Client(), At(2, 12));
    // However slow the machine, the repeats come; no speed is asserted.
    QTRY_VERIFY_WITH_TIMEOUT(Bar(SB_VERT).nPos >= 3, 10000);
    const int scrolled = Bar(SB_VERT).nPos;
    // The selection reaches the rows that scrolled into view.
    Copy();
    EXPECT_NE(Clipboard(UTF8).find("L" + std::to_string(1000 + scrolled + 9)), std::string::npos);

    QTest::mouseMove(Client(), At(2, 5));
    const int inside = Bar(SB_VERT).nPos;
    QTest::qWait(200);
    EXPECT_EQ(Bar(SB_VERT).nPos, inside);

    QTest::mouseMove(Client(), At(2, 12));
    QTest::mouseRelease(Client(), Qt::LeftButton, {}, At(2, 12));
    const int released = Bar(SB_VERT).nPos;
    QTest::qWait(200);
    EXPECT_EQ(Bar(SB_VERT).nPos, released);
}

TEST_F(SelectionTest, AWholeCleanFileCopiesAsIconvConvertsIt) {
    const std::string story = ReadBytes(std::string(TAVO_SAMPLES_DIR) + "/story.jis");
    Open(story);
    QTest::keyClick(Client(), Qt::Key_A, Qt::ControlModifier);
    Copy();
    // Line ends as LF alone, where iconv keeps CR LF.
    std::string expected = Iconv(story);
    for (std::size_t at; (at = expected.find("\r\n")) != std::string::npos;) {
        expected.erase(at, 1);
    }
    EXPECT_EQ(Clipboard(UTF8), expected);
    // The JIS form is the file's bytes, which say the same.
    EXPECT_EQ(Clipboard(JIS), story);
}

TEST_F(SelectionTest, AFoundMatchIsSelectedForCopy) {
    Open(MIXED);
    TavoView()->Find("い", FALSE, TRUE);
    Copy();
    EXPECT_EQ(Clipboard(UTF8), "い");
}
