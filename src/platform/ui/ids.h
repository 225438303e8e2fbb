// The framework's own command, string and window ids, shared by every
// program on the window layer.
#pragma once

#include "platform/core/wintypes.h"

constexpr UINT ID_SEPARATOR = 0;
constexpr UINT IDOK = 1;
constexpr UINT IDCANCEL = 2;
constexpr UINT IDC_STATIC = UINT(-1);

constexpr UINT AFX_IDS_APP_TITLE = 0xE000;
constexpr UINT AFX_IDS_IDLEMESSAGE = 0xE001;

constexpr UINT ID_FILE_NEW = 0xE100;
constexpr UINT ID_FILE_OPEN = 0xE101;
constexpr UINT ID_FILE_CLOSE = 0xE102;
constexpr UINT ID_FILE_SAVE = 0xE103;
constexpr UINT ID_FILE_SAVE_AS = 0xE104;
constexpr UINT ID_FILE_PAGE_SETUP = 0xE105;
constexpr UINT ID_FILE_PRINT_SETUP = 0xE106;
constexpr UINT ID_FILE_PRINT = 0xE107;
constexpr UINT ID_FILE_PRINT_DIRECT = 0xE108;
constexpr UINT ID_FILE_PRINT_PREVIEW = 0xE109;
constexpr UINT ID_FILE_MRU_FILE1 = 0xE110;
constexpr UINT ID_FILE_MRU_LAST = 0xE11F;

constexpr UINT ID_EDIT_CLEAR = 0xE120;
constexpr UINT ID_EDIT_CLEAR_ALL = 0xE121;
constexpr UINT ID_EDIT_COPY = 0xE122;
constexpr UINT ID_EDIT_CUT = 0xE123;
constexpr UINT ID_EDIT_FIND = 0xE124;
constexpr UINT ID_EDIT_PASTE = 0xE125;
constexpr UINT ID_EDIT_REPEAT = 0xE128;
constexpr UINT ID_EDIT_REPLACE = 0xE129;
constexpr UINT ID_EDIT_SELECT_ALL = 0xE12A;
constexpr UINT ID_EDIT_UNDO = 0xE12B;
constexpr UINT ID_EDIT_REDO = 0xE12C;
constexpr UINT ID_WINDOW_SPLIT = 0xE135;

constexpr UINT ID_APP_ABOUT = 0xE140;
constexpr UINT ID_APP_EXIT = 0xE141;
constexpr UINT ID_NEXT_PANE = 0xE150;
constexpr UINT ID_PREV_PANE = 0xE151;

// The print preview's bar, its buttons and strings.
constexpr UINT AFX_IDD_PREVIEW_TOOLBAR = 0x7802;
constexpr UINT AFX_ID_PREVIEW_CLOSE = 0xE300;
constexpr UINT AFX_ID_PREVIEW_NUMPAGE = 0xE301;
constexpr UINT AFX_ID_PREVIEW_NEXT = 0xE302;
constexpr UINT AFX_ID_PREVIEW_PREV = 0xE303;
constexpr UINT AFX_ID_PREVIEW_PRINT = 0xE304;
constexpr UINT AFX_ID_PREVIEW_ZOOMIN = 0xE305;
constexpr UINT AFX_ID_PREVIEW_ZOOMOUT = 0xE306;
constexpr UINT AFX_IDS_ONEPAGE = 0xF001;
constexpr UINT AFX_IDS_TWOPAGE = 0xF002;
constexpr UINT AFX_IDS_PREVIEWPAGEDESC = 0xF004;

constexpr UINT ID_INDICATOR_EXT = 0xE700;
constexpr UINT ID_INDICATOR_CAPS = 0xE701;
constexpr UINT ID_INDICATOR_NUM = 0xE702;
constexpr UINT ID_INDICATOR_SCRL = 0xE703;
constexpr UINT ID_INDICATOR_OVR = 0xE704;
constexpr UINT ID_INDICATOR_REC = 0xE705;
constexpr UINT ID_INDICATOR_KANA = 0xE706;

constexpr UINT ID_VIEW_TOOLBAR = 0xE800;
constexpr UINT ID_VIEW_STATUS_BAR = 0xE801;
constexpr UINT AFX_IDW_TOOLBAR = 0xE800;
constexpr UINT AFX_IDW_STATUS_BAR = 0xE801;
constexpr UINT AFX_IDW_DIALOGBAR = 0xE805;

constexpr UINT AFX_IDS_SCSIZE = 0xEF00;
constexpr UINT AFX_IDS_SCMOVE = 0xEF01;
constexpr UINT AFX_IDS_SCMINIMIZE = 0xEF02;
constexpr UINT AFX_IDS_SCMAXIMIZE = 0xEF03;
constexpr UINT AFX_IDS_SCNEXTWINDOW = 0xEF04;
constexpr UINT AFX_IDS_SCPREVWINDOW = 0xEF05;
constexpr UINT AFX_IDS_SCCLOSE = 0xEF06;
constexpr UINT AFX_IDS_SCRESTORE = 0xEF12;
constexpr UINT AFX_IDS_SCTASKLIST = 0xEF13;
constexpr UINT AFX_IDS_PREVIEW_CLOSE = 0xF005;

// The framework's own texts, in the program's string table: the untitled
// document's name, the open dialog, the progress of a load, and what a
// failed print job or a wrong number in a dialog tells the user. %1, %2
// stand for what is filled in.
constexpr UINT AFX_IDS_UNTITLED = 0xF010;
constexpr UINT AFX_IDS_OPENFILE = 0xF011;
constexpr UINT AFX_IDS_ALLFILTER = 0xF012;
constexpr UINT AFX_IDS_LOADING = 0xF013;
constexpr UINT AFX_IDP_NO_PRINTER = 0xF100;
constexpr UINT AFX_IDP_FAILED_TO_START_PRINTING = 0xF101;
constexpr UINT AFX_IDP_PRINT_FAILED = 0xF102;
constexpr UINT AFX_IDP_FAILED_TO_WRITE = 0xF103;
constexpr UINT AFX_IDP_NO_PAGES = 0xF104;
constexpr UINT AFX_IDP_PRINT_OVER_DOCUMENT = 0xF105;
constexpr UINT AFX_IDP_PARSE_INT = 0xF110;
constexpr UINT AFX_IDP_PARSE_INT_RANGE = 0xF111;
// Why a file could not be opened, read or written, one text a cause;
// AFX_IDP_FILE_GENERIC has %1 for the system's own words.
constexpr UINT AFX_IDP_FILE_GENERIC = 0xF120;
constexpr UINT AFX_IDP_FILE_NOT_FOUND = 0xF121;
constexpr UINT AFX_IDP_FILE_ACCESS_DENIED = 0xF122;
constexpr UINT AFX_IDP_FILE_NOT_REGULAR = 0xF123;
constexpr UINT AFX_IDP_FILE_TOO_LARGE = 0xF124;
constexpr UINT AFX_IDP_FILE_OUT_OF_MEMORY = 0xF125;
constexpr UINT AFX_IDP_FILE_READ_FAULT = 0xF126;
constexpr UINT AFX_IDP_FILE_WRITE_FAULT = 0xF127;
constexpr UINT AFX_IDP_FILE_DISK_FULL = 0xF128;
// The font and colour choosers. Labels and styles are fields separated
// by "\n", in the order the choosers show them.
constexpr UINT AFX_IDS_OK_CANCEL = 0xF130;
constexpr UINT AFX_IDS_FONT_TITLE = 0xF131;
constexpr UINT AFX_IDS_FONT_LABELS = 0xF132; // face, style, size, sample box
constexpr UINT AFX_IDS_FONT_STYLES = 0xF133; // bit 0 italic, bit 1 bold
constexpr UINT AFX_IDS_FONT_SAMPLE = 0xF134;
constexpr UINT AFX_IDP_FONT_SIZE_RANGE = 0xF135;
constexpr UINT AFX_IDS_COLOR_TITLE = 0xF138;
constexpr UINT AFX_IDS_COLOR_LABELS = 0xF139; // basic colours, red, green, blue, colour
