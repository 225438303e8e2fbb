// The program's resources: menu, accelerators, toolbar, pictures, string
// table, the About box's dialog template and the print preview's bar.
// Captions and prompts are the program's own Japanese texts, half-width
// katakana included.
#include "resources.h"

#include "platform/ui/wnd.h"
#include "resource.h"

#include <iterator>
#include <map>

namespace {

// ---- menu 128 ----

const MENUITEMTEMPLATE kMenu[] = {
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
    {MF_GRAYED | MF_END, ID_EDIT_COPY, "ｺﾋﾟｰ(&C)\tCtrl+C"},
    {MF_POPUP, 0, "表示(&V)"},
    {MF_STRING, ID_VIEW_TOOLBAR, "ﾂｰﾙ ﾊﾞｰ(&T)"},
    {MF_STRING, ID_VIEW_STATUS_BAR, "ｽﾃｰﾀｽ ﾊﾞｰ(&S)"},
    {MF_SEPARATOR, 0, nullptr},
    {MF_STRING | MF_END, ID_ENV_SETTINGS, "動作環境"},
    {MF_POPUP, 0, "ﾍﾙﾌﾟ(&H)"},
    {MF_STRING | MF_END, ID_APP_ABOUT, "ﾊﾞｰｼﾞｮﾝ情報(TAVO) (&A)..."},
};

// ---- accelerators 128 ----

constexpr BYTE kCtrl = FVIRTKEY | FCONTROL;
constexpr BYTE kShift = FVIRTKEY | FSHIFT;

const ACCEL kAccelerators[] = {
    {kCtrl, 'N', ID_FILE_NEW},
    {kCtrl, 'O', ID_FILE_OPEN},
    {kCtrl, 'S', ID_FILE_SAVE},
    {kCtrl, 'P', ID_FILE_PRINT},
    {kCtrl, 'Z', ID_EDIT_UNDO},
    {kCtrl, 'X', ID_EDIT_CUT},
    {kCtrl, 'C', ID_EDIT_COPY},
    {kCtrl, 'V', ID_EDIT_PASTE},
    {FVIRTKEY | FALT, VK_BACK, ID_EDIT_UNDO},
    {kShift, VK_DELETE, ID_EDIT_CUT},
    {kCtrl, VK_INSERT, ID_EDIT_COPY},
    {kShift, VK_INSERT, ID_EDIT_PASTE},
    {FVIRTKEY, VK_F6, ID_NEXT_PANE},
    {kShift, VK_F6, ID_PREV_PANE},
};

// ---- toolbar 128 and its pictures ----

const UINT kToolBarItems[] = {
    ID_FILE_OPEN, ID_SEPARATOR, ID_EDIT_COPY, ID_SEPARATOR, ID_FILE_PRINT, ID_APP_ABOUT,
};

const TOOLBARTEMPLATE kToolBar = {16, 15, int(std::size(kToolBarItems)), kToolBarItems};

// Open, Copy, Print, About; 16 x 15 each.
const char* const kToolBarStrip[] = {
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

const char* const kIcon32[] = {
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

const char* const kIcon16[] = {
    "  000000000     ", "  0FFFFFF070    ", "  0F0000F0770   ", "  0FFFFFF07770  ",
    "  0F111FF00000  ", "  0FFFFFFFFFF0  ", "  0F444444FFF0  ", "  0FFFFFFFFFF0  ",
    "  0F55555555F0  ", "  0FFFFFFFFFF0  ", "  0F9999999FF0  ", "  0FFFFFFFFFF0  ",
    "  0F000000FFF0  ", "  0FFFFFFFFFF0  ", "  0FFFFFFFFFF0  ", "  000000000000  ",
};

const BITMAPTEMPLATE kToolBarBitmap = {64, 15, kToolBarStrip};
const BITMAPTEMPLATE kIcons[] = {{32, 32, kIcon32}, {16, 16, kIcon16}};

// ---- dialog 100 ----

const DLGITEMTEMPLATE kAboutItems[] = {
    {IDC_STATIC, "ICON", "128", 11, 17, 18, 20},
    {IDC_STATIC, "STATIC", "TAVO Version 0.0", 40, 10, 119, 8},
    {IDC_BUILT, "STATIC", "built:", 40, 22, 119, 8},
    {IDC_STATIC, "STATIC", "7ﾋﾞｯﾄ JIS ﾃｷｽﾄ ﾋﾞｭｰｱ", 40, 34, 138, 8},
    {IDOK, "DEFPUSHBUTTON", "OK", 178, 7, 32, 14},
};

const DLGTEMPLATE kAboutBox = {
    "ﾊﾞｰｼﾞｮﾝ情報(TAVO)", "ＭＳ Ｐゴシック", 9, 217, 55, int(std::size(kAboutItems)), kAboutItems,
};

// ---- the print preview's bar ----

// Buttons in a row, in dialog units; the page-count button's caption
// follows the pages shown (AFX_IDS_ONEPAGE, AFX_IDS_TWOPAGE).
const DLGITEMTEMPLATE kPreviewBarItems[] = {
    {AFX_ID_PREVIEW_PRINT, "BUTTON", "印刷(&P)...", 2, 2, 44, 12},
    {AFX_ID_PREVIEW_NEXT, "BUTTON", "次ﾍﾟｰｼﾞ(&N)", 48, 2, 44, 12},
    {AFX_ID_PREVIEW_PREV, "BUTTON", "前ﾍﾟｰｼﾞ(&V)", 94, 2, 44, 12},
    {AFX_ID_PREVIEW_NUMPAGE, "BUTTON", "2 ﾍﾟｰｼﾞ(&T)", 140, 2, 44, 12},
    {AFX_ID_PREVIEW_ZOOMIN, "BUTTON", "拡大(&I)", 186, 2, 44, 12},
    {AFX_ID_PREVIEW_ZOOMOUT, "BUTTON", "縮小(&O)", 232, 2, 44, 12},
    {AFX_ID_PREVIEW_CLOSE, "BUTTON", "閉じる(&C)", 278, 2, 44, 12},
};

const DLGTEMPLATE kPreviewBar = {
    "", "ＭＳ Ｐゴシック", 9, 324, 16, int(std::size(kPreviewBarItems)), kPreviewBarItems,
};

// ---- string table ----

const std::map<UINT, const char*> kStrings = {
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

const char* const kRecentFilePrompt = "指定のﾌｧｲﾙを開く";

class TavoResourceTable : public CResourceTable {
public:
    const char* FindString(UINT nID) const override {
        if (nID >= ID_FILE_MRU_FILE1 && nID <= ID_FILE_MRU_LAST) {
            return kRecentFilePrompt; // one text for all sixteen entries
        }
        const auto it = kStrings.find(nID);
        return it != kStrings.end() ? it->second : nullptr;
    }
    const MENUITEMTEMPLATE* FindMenu(UINT nID, int* pnCount) const override {
        return Found(nID == IDR_MAINFRAME, kMenu, pnCount);
    }
    const ACCEL* FindAccelerators(UINT nID, int* pnCount) const override {
        return Found(nID == IDR_MAINFRAME, kAccelerators, pnCount);
    }
    const TOOLBARTEMPLATE* FindToolBar(UINT nID) const override {
        return nID == IDR_MAINFRAME ? &kToolBar : nullptr;
    }
    const BITMAPTEMPLATE* FindBitmap(UINT nID) const override {
        return nID == IDR_MAINFRAME ? &kToolBarBitmap : nullptr;
    }
    const BITMAPTEMPLATE* FindIcon(UINT nID, int* pnCount) const override {
        return Found(nID == IDR_MAINFRAME, kIcons, pnCount);
    }
    const DLGTEMPLATE* FindDialog(UINT nID) const override {
        switch (nID) {
        case IDD_ABOUTBOX:
            return &kAboutBox;
        case AFX_IDD_PREVIEW_TOOLBAR:
            return &kPreviewBar;
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
