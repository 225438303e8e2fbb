// The program's resources: menu, accelerators, toolbar, pictures, string
// table, and the templates of the About box, the settings dialog and the
// print preview's bar. Captions and prompts are the program's own Japanese
// texts, half-width katakana included.
#include "resources.h"

#include "platform/ui/wnd.h"
#include "resource.h"

#include <iterator>
#include <map>

namespace {

// ---- menu 128 ----

const MENUITEMTEMPLATE MENU[] = {
    {MF_POPUP, 0, "ﾌｧｲﾙ(&F)"},
    {MF_STRING, ID_FILE_OPEN, "開く(&O)...\tCtrl+O"},
    {MF_SEPARATOR, 0, nullptr},
    {MF_STRING, ID_FILE_PRINT, "印刷(&P)...\tCtrl+P"},
    {MF_STRING, ID_FILE_PRINT_PREVIEW, "印刷ﾌﾟﾚﾋﾞｭｰ(&V)"},
    {MF_STRING, ID_FILE_PRINT_SETUP, "ﾌﾟﾘﾝﾀの設定(&R)..."},
    {MF_SEPARATOR, 0, nullptr},
    {MF_GRAYED, ID_FILE_MRU_FILE1, "最新のﾌｧｲﾙ"},
    {MF_SEPARATOR, 0, nullptr},
    {MF_STRING | MF_END, ID_APP_EXIT, "ｱﾌﾟﾘｹｰｼｮﾝの終了(&X)"},
    {MF_POPUP, 0, "編集(&E)"},
    {MF_GRAYED, ID_EDIT_COPY, "ｺﾋﾟｰ(&C)\tCtrl+C"},
    {MF_SEPARATOR, 0, nullptr},
    {MF_STRING, ID_EDIT_FIND, "検索(&F)...\tCtrl+F"},
    {MF_STRING, ID_EDIT_FIND_NEXT, "次を検索(&N)\tF3"},
    {MF_STRING, ID_EDIT_FIND_PREV, "前を検索(&P)\tShift+F3"},
    {MF_SEPARATOR, 0, nullptr},
    {MF_STRING | MF_END, ID_EDIT_GOTO_LINE, "行へ移動(&G)...\tCtrl+G"},
    {MF_POPUP, 0, "表示(&V)"},
    {MF_STRING, ID_VIEW_TOOLBAR, "ﾂｰﾙ ﾊﾞｰ(&T)"},
    {MF_STRING, ID_VIEW_STATUS_BAR, "ｽﾃｰﾀｽ ﾊﾞｰ(&S)"},
    {MF_SEPARATOR, 0, nullptr},
    {MF_STRING, ID_VIEW_NEXT_PROBLEM, "次の問題箇所(&X)\tF8"},
    {MF_STRING, ID_VIEW_PREV_PROBLEM, "前の問題箇所(&R)\tShift+F8"},
    {MF_SEPARATOR, 0, nullptr},
    {MF_STRING | MF_END, ID_ENV_SETTINGS, "動作環境"},
    {MF_POPUP, 0, "ﾍﾙﾌﾟ(&H)"},
    {MF_STRING | MF_END, ID_APP_ABOUT, "ﾊﾞｰｼﾞｮﾝ情報(TAVO) (&A)..."},
};

// ---- accelerators 128 ----

constexpr BYTE CTRL = FVIRTKEY | FCONTROL;
constexpr BYTE SHIFT = FVIRTKEY | FSHIFT;

const ACCEL ACCELERATORS[] = {
    {CTRL, 'N', ID_FILE_NEW},
    {CTRL, 'O', ID_FILE_OPEN},
    {CTRL, 'S', ID_FILE_SAVE},
    {CTRL, 'P', ID_FILE_PRINT},
    {CTRL, 'Z', ID_EDIT_UNDO},
    {CTRL, 'X', ID_EDIT_CUT},
    {CTRL, 'C', ID_EDIT_COPY},
    {CTRL, 'V', ID_EDIT_PASTE},
    {FVIRTKEY | FALT, VK_BACK, ID_EDIT_UNDO},
    {SHIFT, VK_DELETE, ID_EDIT_CUT},
    {CTRL, VK_INSERT, ID_EDIT_COPY},
    {SHIFT, VK_INSERT, ID_EDIT_PASTE},
    {FVIRTKEY, VK_F6, ID_NEXT_PANE},
    {SHIFT, VK_F6, ID_PREV_PANE},
    {CTRL, 'F', ID_EDIT_FIND},
    {FVIRTKEY, VK_F3, ID_EDIT_FIND_NEXT},
    {SHIFT, VK_F3, ID_EDIT_FIND_PREV},
    {CTRL, 'G', ID_EDIT_GOTO_LINE},
    {FVIRTKEY, VK_F8, ID_VIEW_NEXT_PROBLEM},
    {SHIFT, VK_F8, ID_VIEW_PREV_PROBLEM},
};

// ---- toolbar 128 and its pictures ----

const UINT TOOL_BAR_ITEMS[] = {
    ID_FILE_OPEN, ID_SEPARATOR, ID_EDIT_COPY, ID_SEPARATOR, ID_FILE_PRINT, ID_APP_ABOUT,
};

const TOOLBARTEMPLATE TOOL_BAR = {16, 15, int(std::size(TOOL_BAR_ITEMS)), TOOL_BAR_ITEMS};

// Open, Copy, Print, About; 16 x 15 each.
const char* const TOOL_BAR_STRIP[] = {
    "                000000000          0000000000                   ",
    "  00000         0FFFFFFF0          0FFFFFFFF0        000000     ",
    " 0BBBBB0        0F44444F0          0F444444F0       0CCCCCC0    ",
    "0BBBBBBB0000000 0FFFFFFF0          0FFFFFFFF0      0CC0000CC0   ",
    "0BFFFFFFFFFFFFF00F44440000000000   0F444444F0      0CC0  0CC0   ",
    "0BBBBBBBBBBBBBB00FFFFF0FFFFFFFF0   0FFFFFFFF0       00  0CC0    ",
    "0BBBBBBBBBBBBBB00F44440F999999F00000000000000000       0CC0     ",
    "0BBBBBBBBBBBBBB00FFFFF0FFFFFFFF00FFFFFFFFFFFFFF0      0CC0      ",
    "0BBBBBBBBBBBBBB00F44440F999999F00777777777777770      0CC0      ",
    "0BBBBBBBBBBBBBB00FFFFF0FFFFFFFF0077777777777AA70      0000      ",
    "0BBBBBBBBBBBBBB00000000F999999F00777777777777770      0CC0      ",
    "0333333333333330      0FFFFFFFF00777777777777770      0CC0      ",
    " 00000000000000       0F999999F00000000000000000      0000      ",
    "                      0FFFFFFFF0  888888888888                  ",
    "                      0000000000                                ",
};

const char* const ICON32[] = {
    "                                ", "    000000000000000000          ",
    "    0FFFFFFFFFFFFFFF070         ", "    0FFFFFFFFFFFFFFF0770        ",
    "    0FF000000000000F07770       ", "    0FFFFFFFFFFFFFFF077770      ",
    "    0FFFFFFFFFFFFFFF0777770     ", "    0FF1111111111FFF07777770    ",
    "    0FFFFFFFFFFFFFFF00000000    ", "    0FFFFFFFFFFFFFFFFFFFFFF0    ",
    "    0FF44444444444444FFFFFF0    ", "    0FFFFFFFFFFFFFFFFFFFFFF0    ",
    "    0FFFFFFFFFFFFFFFFFFFFFF0    ", "    0FF555555555555555555FF0    ",
    "    0FFFFFFFFFFFFFFFFFFFFFF0    ", "    0FFFFFFFFFFFFFFFFFFFFFF0    ",
    "    0FF9999999999999999FFFF0    ", "    0FFFFFFFFFFFFFFFFFFFFFF0    ",
    "    0FFFFFFFFFFFFFFFFFFFFFF0    ", "    0FF00000000000000FFFFFF0    ",
    "    0FFFFFFFFFFFFFFFFFFFFFF0    ", "    0FFFFFFFFFFFFFFFFFFFFFF0    ",
    "    0FF111111111111111111FF0    ", "    0FFFFFFFFFFFFFFFFFFFFFF0    ",
    "    0FFFFFFFFFFFFFFFFFFFFFF0    ", "    0FF0000000000000000FFFF0    ",
    "    0FFFFFFFFFFFFFFFFFFFFFF0    ", "    0FFFFFFFFFFFFFFFFFFFFFF0    ",
    "    0FF11111111111111FFFFFF0    ", "    0FFFFFFFFFFFFFFFFFFFFFF0    ",
    "    000000000000000000000000    ", "                                ",
};

const char* const ICON16[] = {
    "  000000000     ", "  0FFFFFF070    ", "  0F0000F0770   ", "  0FFFFFF07770  ",
    "  0F111FF00000  ", "  0FFFFFFFFFF0  ", "  0F444444FFF0  ", "  0FFFFFFFFFF0  ",
    "  0F55555555F0  ", "  0FFFFFFFFFF0  ", "  0F9999999FF0  ", "  0FFFFFFFFFF0  ",
    "  0F000000FFF0  ", "  0FFFFFFFFFF0  ", "  0FFFFFFFFFF0  ", "  000000000000  ",
};

const BITMAPTEMPLATE TOOL_BAR_BITMAP = {64, 15, TOOL_BAR_STRIP};
const BITMAPTEMPLATE ICONS[] = {{32, 32, ICON32}, {16, 16, ICON16}};

// ---- dialog 100 ----

const DLGITEMTEMPLATE ABOUT_ITEMS[] = {
    {IDC_STATIC, "STATIC", "128", SS_ICON, 11, 17, 18, 20},
    {IDC_VERSION, "STATIC", "TAVO Version 0.0", SS_LEFT, 40, 10, 119, 8},
    {IDC_BUILT, "STATIC", "built:", SS_LEFT, 40, 22, 119, 8},
    {IDC_STATIC, "STATIC", "7ﾋﾞｯﾄ JIS ﾃｷｽﾄ ﾋﾞｭｰｱ", SS_LEFT, 40, 34, 138, 8},
    {IDOK, "BUTTON", "OK", BS_DEFPUSHBUTTON | WS_TABSTOP, 178, 7, 32, 14},
};

const DLGTEMPLATE ABOUT_BOX = {
    "ﾊﾞｰｼﾞｮﾝ情報(TAVO)", "ＭＳ Ｐゴシック", 9, 217, 55, int(std::size(ABOUT_ITEMS)), ABOUT_ITEMS,
};

// ---- dialog 130 ----

constexpr DWORD PUSH = BS_PUSHBUTTON | WS_TABSTOP;
constexpr DWORD CHECK = BS_AUTOCHECKBOX | WS_TABSTOP;
constexpr DWORD LABEL = SS_LEFT | WS_GROUP;

const DLGITEMTEMPLATE ENV_ITEMS[] = {
    {IDOK, "BUTTON", "OK", BS_DEFPUSHBUTTON | WS_TABSTOP, 7, 187, 40, 12},
    {IDCANCEL, "BUTTON", "ｷｬﾝｾﾙ", PUSH, 51, 187, 40, 12},
    {IDC_STATIC, "STATIC", "ASCII", LABEL, 7, 9, 20, 8},
    {IDC_FONT_ASCII, "BUTTON", "Font...", PUSH, 55, 7, 40, 12},
    {IDC_COLOR_ASCII, "BUTTON", "文字色...", PUSH, 99, 7, 40, 12},
    {IDC_FIX_BACKSLASH, "BUTTON", "'\\'を強制的に修正する(&\\)", CHECK, 143, 7, 108, 10},
    {IDC_STATIC, "STATIC", "JISローマ字", LABEL, 7, 25, 44, 8},
    {IDC_FONT_JISROMAN, "BUTTON", "Font...", PUSH, 55, 23, 40, 12},
    {IDC_COLOR_JISROMAN, "BUTTON", "文字色...", PUSH, 99, 23, 40, 12},
    {IDC_FIX_TILDE, "BUTTON", "'~'を強制的に修正する(&T)", CHECK, 143, 23, 108, 10},
    {IDC_STATIC, "STATIC", "旧JIS", LABEL, 7, 41, 20, 8},
    {IDC_FONT_OLDJIS, "BUTTON", "Font...", PUSH, 55, 39, 40, 12},
    {IDC_COLOR_OLDJIS, "BUTTON", "文字色...", PUSH, 99, 39, 40, 12},
    {IDC_MARK_WIDE_SPACE, "BUTTON", "全角空白を区別する(&S)", CHECK, 143, 39, 96, 10},
    {IDC_STATIC, "STATIC", "新JIS", LABEL, 7, 57, 20, 8},
    {IDC_FONT_NEWJIS, "BUTTON", "Font...", PUSH, 55, 55, 40, 12},
    {IDC_COLOR_NEWJIS, "BUTTON", "文字色...", PUSH, 99, 55, 40, 12},
    {IDC_COLOR_TEXTBK, "BUTTON", "背景色...", PUSH, 143, 55, 40, 12},
    {IDC_STATIC, "BUTTON", "折り返し", BS_GROUPBOX, 187, 58, 80, 41},
    {IDC_WRAP_NONE, "BUTTON", "なし", BS_AUTORADIOBUTTON | WS_GROUP, 192, 68, 28, 10},
    {IDC_WRAP_WINDOW, "BUTTON", "画面幅", BS_AUTORADIOBUTTON, 224, 68, 36, 10},
    {IDC_WRAP_FIXED, "BUTTON", "固定桁", BS_AUTORADIOBUTTON, 192, 82, 36, 10},
    {IDC_WRAP_COLUMN, "EDIT", "", ES_LEFT | ES_NUMBER | WS_BORDER | WS_TABSTOP, 232, 82, 24, 13},
    {IDC_WRAP_SPIN, UPDOWN_CLASS, "Spin1",
     UDS_SETBUDDYINT | UDS_ALIGNRIGHT | UDS_AUTOBUDDY | UDS_ARROWKEYS, 232, 87, 8, 14},
    {IDC_LINE_NUMBERS, "BUTTON", "行番号を表示する(&L)", CHECK, 7, 73, 88, 10},
    {IDC_COLOR_LINENO, "BUTTON", "文字色...", PUSH, 99, 71, 40, 12},
    {IDC_COLOR_LINENOBK, "BUTTON", "背景色...", PUSH, 143, 71, 40, 12},
    {IDC_SHOW_CONTROLS, "BUTTON", "制御コードを表示する(&C)", CHECK, 7, 89, 104, 10},
    {IDC_COLOR_CTRLBK, "BUTTON", "背景色...", PUSH, 143, 87, 40, 12},
    {IDC_PREVIEW, "STATIC", "", SS_GRAYRECT, 7, 103, 260, 80},
    {IDC_COLOR_GROUND, "BUTTON", "無地色...", PUSH, 227, 187, 40, 12},
};

const DLGTEMPLATE ENV_DIALOG = {
    "動作環境", "ＭＳ ゴシック", 9, 279, 206, int(std::size(ENV_ITEMS)), ENV_ITEMS,
};

// ---- the find bar 131 and the go-to-line dialog 132 ----

const DLGITEMTEMPLATE FIND_BAR_ITEMS[] = {
    {IDC_STATIC, "STATIC", "検索する文字列:", SS_LEFT, 4, 4, 52, 8},
    {IDC_FIND_TEXT, "EDIT", "", ES_LEFT | WS_BORDER | WS_TABSTOP, 56, 2, 110, 12},
    {IDC_MATCH_CASE, "BUTTON", "大文字と小文字を区別する(&C)", CHECK, 170, 3, 100, 10},
    {ID_EDIT_FIND_NEXT, "BUTTON", "次を検索(&N)", BS_DEFPUSHBUTTON | WS_TABSTOP, 272, 2, 46, 12},
    {ID_EDIT_FIND_PREV, "BUTTON", "前を検索(&P)", PUSH, 322, 2, 46, 12},
    {IDCANCEL, "BUTTON", "閉じる", PUSH, 372, 2, 32, 12},
};

const DLGTEMPLATE FIND_BAR = {
    "", "ＭＳ Ｐゴシック", 9, 408, 16, int(std::size(FIND_BAR_ITEMS)), FIND_BAR_ITEMS,
};

const DLGITEMTEMPLATE GOTO_LINE_ITEMS[] = {
    {IDC_LINE_RANGE, "STATIC", "", SS_LEFT, 7, 9, 90, 8},
    {IDC_LINE_NUMBER, "EDIT", "", ES_LEFT | ES_NUMBER | WS_BORDER | WS_TABSTOP, 100, 7, 60, 12},
    {IDOK, "BUTTON", "OK", BS_DEFPUSHBUTTON | WS_TABSTOP, 72, 26, 40, 12},
    {IDCANCEL, "BUTTON", "ｷｬﾝｾﾙ", PUSH, 120, 26, 40, 12},
};

const DLGTEMPLATE GOTO_LINE_DIALOG = {
    "行へ移動", "ＭＳ Ｐゴシック", 9, 167, 45, int(std::size(GOTO_LINE_ITEMS)), GOTO_LINE_ITEMS,
};

// ---- the print preview's bar ----

// Buttons in a row, in dialog units; the page-count button's caption
// follows the pages shown (AFX_IDS_ONEPAGE, AFX_IDS_TWOPAGE).
const DLGITEMTEMPLATE PREVIEW_BAR_ITEMS[] = {
    {AFX_ID_PREVIEW_PRINT, "BUTTON", "印刷(&P)...", PUSH, 2, 2, 44, 12},
    {AFX_ID_PREVIEW_NEXT, "BUTTON", "次ﾍﾟｰｼﾞ(&N)", PUSH, 48, 2, 44, 12},
    {AFX_ID_PREVIEW_PREV, "BUTTON", "前ﾍﾟｰｼﾞ(&V)", PUSH, 94, 2, 44, 12},
    {AFX_ID_PREVIEW_NUMPAGE, "BUTTON", "2 ﾍﾟｰｼﾞ(&T)", PUSH, 140, 2, 44, 12},
    {AFX_ID_PREVIEW_ZOOMIN, "BUTTON", "拡大(&I)", PUSH, 186, 2, 44, 12},
    {AFX_ID_PREVIEW_ZOOMOUT, "BUTTON", "縮小(&O)", PUSH, 232, 2, 44, 12},
    {AFX_ID_PREVIEW_CLOSE, "BUTTON", "閉じる(&C)", PUSH, 278, 2, 44, 12},
};

const DLGTEMPLATE PREVIEW_BAR = {
    "", "ＭＳ Ｐゴシック", 9, 324, 16, int(std::size(PREVIEW_BAR_ITEMS)), PREVIEW_BAR_ITEMS,
};

// ---- string table ----

const std::map<UINT, const char*> STRINGS = {
    {IDR_MAINFRAME, "TAVO\n\nTAVO\n\n\nTAVO.Document\nTAVO Document"},
    {ID_ENV_SETTINGS, "表示フォント等を指定する\n動作環境"},
    {AFX_IDS_APP_TITLE, "TAVO"},
    {AFX_IDS_IDLEMESSAGE, "ﾚﾃﾞｨ"},
    {ID_FILE_NEW, "新規にﾌｧｲﾙを作成\n新規作成"},
    {ID_FILE_OPEN, "既存のﾌｧｲﾙを開く\n開く"},
    {ID_FILE_CLOSE, "作業中のﾌｧｲﾙを閉じる\n閉じる"},
    {ID_FILE_SAVE, "作業中のﾌｧｲﾙを保存\n保存"},
    {ID_FILE_SAVE_AS, "作業中のﾌｧｲﾙを新しい名前で保存\n名前を付けて保存"},
    {ID_FILE_PAGE_SETUP, "ﾍﾟｰｼﾞのﾚｲｱｳﾄを変更\nﾍﾟｰｼﾞ設定"},
    {ID_FILE_PRINT_SETUP, "ﾌﾟﾘﾝﾀ/印刷設定の変更\nﾌﾟﾘﾝﾀの設定"},
    {ID_FILE_PRINT, "作業中のﾌｧｲﾙを印刷\n印刷"},
    {ID_FILE_PRINT_PREVIEW, "ﾌﾙｽｸﾘｰﾝで表示\n印刷ﾌﾟﾚﾋﾞｭｰ"},
    {ID_EDIT_CLEAR, "選択範囲を削除\n削除"},
    {ID_EDIT_CLEAR_ALL, "すべてを削除\nすべて削除"},
    {ID_EDIT_COPY, "選択範囲をｺﾋﾟｰしてｸﾘｯﾌﾟﾎﾞｰﾄﾞに保存\nｺﾋﾟ-"},
    {ID_EDIT_CUT, "選択範囲を切り取ってｸﾘｯﾌﾟﾎﾞｰﾄﾞに保存\n切り取り"},
    {ID_EDIT_FIND, "指定した文字列を検索\n検索"},
    {ID_EDIT_FIND_NEXT, "次の一致する文字列を検索\n次を検索"},
    {ID_EDIT_FIND_PREV, "前の一致する文字列を検索\n前を検索"},
    {ID_EDIT_GOTO_LINE, "指定した行へ移動\n行へ移動"},
    {ID_EDIT_PASTE, "ｸﾘｯﾌﾟﾎﾞｰﾄﾞの内容を貼り付け\n貼り付け"},
    {ID_EDIT_REPEAT, "直前の操作を繰り返す\n繰り返し"},
    {ID_EDIT_REPLACE, "指定した文字列を別の文字列で置換\n置換"},
    {ID_EDIT_SELECT_ALL, "ﾌｧｲﾙ全体を選択\nすべて選択"},
    {ID_EDIT_UNDO, "直前の操作を元に戻す\n元に戻す"},
    {ID_EDIT_REDO, "元に戻した操作をやり直す\nやり直し"},
    {ID_WINDOW_SPLIT, "作業中のｳｨﾝﾄﾞｳを分割\n分割"},
    {ID_APP_ABOUT, "ﾌﾟﾛｸﾞﾗﾑの情報、ﾊﾞｰｼﾞｮﾝそして著作権を表示\nﾊﾞｰｼﾞｮﾝ情報"},
    {ID_APP_EXIT, "ｱﾌﾟﾘｹｰｼｮﾝを終了し、ﾌｧｲﾙの保存を指示\n終了"},
    {ID_NEXT_PANE, "次のｳｨﾝﾄﾞｳ ﾍﾟｲﾝに切り替え\n次のﾍﾟｲﾝ"},
    {ID_PREV_PANE, "前のｳｨﾝﾄﾞｳ ﾍﾟｲﾝに切り替え\n前のﾍﾟｲﾝ"},
    {ID_INDICATOR_EXT, "EXT"},
    {ID_INDICATOR_CAPS, "CAP"},
    {ID_INDICATOR_NUM, "NUM"},
    {ID_INDICATOR_SCRL, "SCRL"},
    {ID_INDICATOR_OVR, "上書"},
    {ID_INDICATOR_REC, "記録"},
    {ID_INDICATOR_KANA, "ｶﾅ"},
    {ID_VIEW_TOOLBAR, "ﾂｰﾙ ﾊﾞｰの表示/非表示\nﾂｰﾙ ﾊﾞｰの表示/非表示"},
    {ID_VIEW_STATUS_BAR, "ｽﾃｰﾀｽ ﾊﾞｰの表示/非表示\nｽﾃｰﾀｽ ﾊﾞｰの表示/非表示"},
    {ID_VIEW_NEXT_PROBLEM, "7ﾋﾞｯﾄ JIS として正しくない次の箇所へ移動\n次の問題箇所"},
    {ID_VIEW_PREV_PROBLEM, "7ﾋﾞｯﾄ JIS として正しくない前の箇所へ移動\n前の問題箇所"},
    {IDS_NOT_FOUND, "見つかりません"},
    {IDS_WRAPPED,
     "ﾌｧｲﾙの末尾に達したので先頭から続けました\nﾌｧｲﾙの先頭に達したので末尾から続けました"},
    {IDS_FILE_CLEAN, "問題箇所はありません: 正しい 7ﾋﾞｯﾄ JIS のﾌｧｲﾙです"},
    {IDS_CHARSET_NAMES, "ASCII\nJISローマ字\n旧JIS\n新JIS"},
    {IDS_CELL_PLACE, "行 %1  桁 %2  ｵﾌｾｯﾄ %3 (0x%4)  %5"},
    {IDS_CELL_PAIR, "%1  区点 %2  JIS %3  ｼﾌﾄJIS %4  %5"},
    {IDS_CELL_BYTE, "%1  0x%2  %3"},
    {IDS_CONTROL_CODE, "制御ｺｰﾄﾞ %1"},
    {IDS_PROBLEM_AT, "行 %1  桁 %2  ｵﾌｾｯﾄ %3 (0x%4): %5"},
    {IDS_HIGH_BIT, "上位ﾋﾞｯﾄの立ったﾊﾞｲﾄ %1"},
    {IDS_BAD_CONTROL_CODE, "TAB, LF, FF, CR 以外の制御ｺｰﾄﾞ %1"},
    {IDS_UNKNOWN_ESCAPE, "何も指示しないｴｽｹｰﾌﾟｼｰｹﾝｽ %1"},
    {IDS_UNDECODABLE_PAIR, "復号できない2ﾊﾞｲﾄｺｰﾄﾞ %1"},
    {IDS_LINE_ENDS_IN_PAIR, "2ﾊﾞｲﾄ文字のまま行が終わっている"},
    {IDS_ODD_PAIR_RUN, "ﾊﾞｲﾄ数が奇数の2ﾊﾞｲﾄ文字列: 最後のﾊﾞｲﾄが後に続くﾊﾞｲﾄと組になる %1"},
    {IDS_LINE_RANGE, "行番号 (1 - %1):"},
    {IDS_NOT_JIS_X0208, "JIS X 0208 にない文字 %1"},
    {IDS_OTHER_SET_ESCAPE, "このﾋﾞｭｰｱでは表示しない文字集合を指示するｴｽｹｰﾌﾟｼｰｹﾝｽ %1"},
    {IDS_OTHER_SET_NAMES, "JIS X 0201 片仮名\nGB 2312\nJIS X 0212"},
    {IDS_SHOWN_CODE_POINT, "%1 (ｺｰﾄﾞﾍﾟｰｼﾞ 932 では %2)"},
    {AFX_IDS_UNTITLED, "無題"},
    {AFX_IDS_OPENFILE, "開く"},
    {AFX_IDS_ALLFILTER, "すべてのファイル (*)"},
    {AFX_IDS_LOADING, "読み込んでいます... %1%  (Esc で中止)"},
    {AFX_IDP_NO_PRINTER, "プリンタが設定されていません。"},
    {AFX_IDP_FAILED_TO_START_PRINTING, "印刷を開始できません。"},
    {AFX_IDP_PRINT_FAILED, "印刷できませんでした。"},
    {AFX_IDP_FAILED_TO_WRITE, "ファイルに書き込めません。"},
    {AFX_IDP_NO_PAGES, "印刷するページがありません。"},
    {AFX_IDP_PRINT_OVER_DOCUMENT, "表示中のファイルには印刷できません。"},
    {AFX_IDP_PARSE_INT, "正の整数を入力してください。"},
    {AFX_IDP_PARSE_INT_RANGE, "%1 から %2 までの整数を入力してください。"},
    {AFX_IDP_FILE_GENERIC, "ファイルを開けません: %1"},
    {AFX_IDP_FILE_NOT_FOUND, "ファイルが見つかりません。"},
    {AFX_IDP_FILE_ACCESS_DENIED, "ファイルにアクセスできません。"},
    {AFX_IDP_FILE_NOT_REGULAR, "通常のファイルではありません (ディレクトリまたはデバイス)。"},
    {AFX_IDP_FILE_TOO_LARGE, "ファイルが大きすぎて表示できません。"},
    {AFX_IDP_FILE_OUT_OF_MEMORY, "メモリが不足しています。"},
    {AFX_IDP_FILE_READ_FAULT, "ファイルの読み込み中にエラーが発生しました。"},
    {AFX_IDP_FILE_WRITE_FAULT, "ファイルの書き込み中にエラーが発生しました。"},
    {AFX_IDP_FILE_DISK_FULL, "ディスクの空き領域が不足しています。"},
    {AFX_IDS_OK_CANCEL, "OK\nキャンセル"},
    {AFX_IDS_FONT_TITLE, "フォント"},
    {AFX_IDS_FONT_LABELS, "フォント名(&F):\nスタイル(&Y):\nサイズ(&S):\nサンプル"},
    {AFX_IDS_FONT_STYLES, "標準\n斜体\n太字\n太字 斜体"},
    {AFX_IDS_FONT_SAMPLE, "Aaあぁアァ亜宇"},
    {AFX_IDP_FONT_SIZE_RANGE, "サイズには 1 から 1638 までの数値を指定してください。"},
    {AFX_IDS_COLOR_TITLE, "色の設定"},
    {AFX_IDS_COLOR_LABELS, "基本色(&B):\n赤(&R):\n緑(&G):\n青(&U):\n色"},
    {IDS_UNKNOWN_PRINTER, "このプリンタは見つかりません。"},
    {AFX_IDS_SCSIZE, "ｳｨﾝﾄﾞｳのｻｲｽﾞを変更"},
    {AFX_IDS_SCMOVE, "ｳｨﾝﾄﾞｳの位置を変更"},
    {AFX_IDS_SCMINIMIZE, "ｳｨﾝﾄﾞｳをｱｲｺﾝ化"},
    {AFX_IDS_SCMAXIMIZE, "ｳｨﾝﾄﾞｳを最大表示"},
    {AFX_IDS_SCNEXTWINDOW, "次のｳｨﾝﾄﾞｳに切り替え"},
    {AFX_IDS_SCPREVWINDOW, "前のｳｨﾝﾄﾞｳに切り替え"},
    {AFX_IDS_SCCLOSE, "作業中のｳｨﾝﾄﾞｳを閉じ、変更したﾌｧｲﾙの保存を指示"},
    {AFX_IDS_SCRESTORE, "ｳｨﾝﾄﾞｳを通常のｻｲｽﾞに戻す"},
    {AFX_IDS_SCTASKLIST, "ﾀｽｸ一覧をｱｸﾃｨﾌﾞにする"},
    {AFX_ID_PREVIEW_PRINT, "ﾌﾟﾚﾋﾞｭｰ中のﾌｧｲﾙを印刷\n印刷"},
    {AFX_ID_PREVIEW_NEXT, "次のﾍﾟｰｼﾞを表示\n次ﾍﾟｰｼﾞ"},
    {AFX_ID_PREVIEW_PREV, "前のﾍﾟｰｼﾞを表示\n前ﾍﾟｰｼﾞ"},
    {AFX_ID_PREVIEW_NUMPAGE, "1 ﾍﾟｰｼﾞ表示と 2 ﾍﾟｰｼﾞ表示の切り替え\n1 ﾍﾟｰｼﾞ/2 ﾍﾟｰｼﾞ"},
    {AFX_ID_PREVIEW_ZOOMIN, "ﾌﾟﾚﾋﾞｭｰ ﾍﾟｰｼﾞを拡大\n拡大"},
    {AFX_ID_PREVIEW_ZOOMOUT, "ﾌﾟﾚﾋﾞｭｰ ﾍﾟｰｼﾞを縮小\n縮小"},
    {AFX_IDS_ONEPAGE, "1 ﾍﾟｰｼﾞ(&T)"},
    {AFX_IDS_TWOPAGE, "2 ﾍﾟｰｼﾞ(&T)"},
    {AFX_IDS_PREVIEWPAGEDESC, "ﾍﾟｰｼﾞ %1\nﾍﾟｰｼﾞ %1-%2"},
    {AFX_IDS_PREVIEW_CLOSE, "印刷ﾌﾟﾚﾋﾞｭｰ ﾓｰﾄﾞを閉じる\nﾌﾟﾚﾋﾞｭｰのｷｬﾝｾﾙ"},
};

const char* const RECENT_FILE_PROMPT = "指定のﾌｧｲﾙを開く";

class TavoResourceTable : public CResourceTable {
public:
    const char* FindString(UINT nID) const override {
        if (nID >= ID_FILE_MRU_FILE1 && nID <= ID_FILE_MRU_LAST) {
            return RECENT_FILE_PROMPT; // one text for all sixteen entries
        }
        const auto it = STRINGS.find(nID);
        return it != STRINGS.end() ? it->second : nullptr;
    }
    const MENUITEMTEMPLATE* FindMenu(UINT nID, int* pnCount) const override {
        return Found(nID == IDR_MAINFRAME, MENU, pnCount);
    }
    const ACCEL* FindAccelerators(UINT nID, int* pnCount) const override {
        return Found(nID == IDR_MAINFRAME, ACCELERATORS, pnCount);
    }
    const TOOLBARTEMPLATE* FindToolBar(UINT nID) const override {
        return nID == IDR_MAINFRAME ? &TOOL_BAR : nullptr;
    }
    const BITMAPTEMPLATE* FindBitmap(UINT nID) const override {
        return nID == IDR_MAINFRAME ? &TOOL_BAR_BITMAP : nullptr;
    }
    const BITMAPTEMPLATE* FindIcon(UINT nID, int* pnCount) const override {
        return Found(nID == IDR_MAINFRAME, ICONS, pnCount);
    }
    const DLGTEMPLATE* FindDialog(UINT nID) const override {
        switch (nID) {
        case IDD_ABOUTBOX:
            return &ABOUT_BOX;
        case IDD_ENV_SETTINGS:
            return &ENV_DIALOG;
        case IDD_FIND_BAR:
            return &FIND_BAR;
        case IDD_GOTO_LINE:
            return &GOTO_LINE_DIALOG;
        case AFX_IDD_PREVIEW_TOOLBAR:
            return &PREVIEW_BAR;
        default:
            return nullptr;
        }
    }

private:
    template <typename T, std::size_t N>
    static const T* Found(bool known, const T (&items)[N], int* pnCount) {
        *pnCount = known ? int(N) : 0;
        return known ? items : nullptr;
    }
};

} // namespace

const CResourceTable& TavoResources() {
    static const TavoResourceTable table;
    return table;
}
