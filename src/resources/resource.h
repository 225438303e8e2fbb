// Resource and command ids of TAVO: the framework's ids and the program's
// own. Header only, for the view, the application and the resource data.
#pragma once

#include "platform/ui/ids.h"

constexpr UINT IDD_ABOUTBOX = 100;
constexpr UINT IDR_MAINFRAME = 128;
constexpr UINT IDD_ENV_SETTINGS = 130;
constexpr UINT IDD_FIND_BAR = 131;
constexpr UINT IDD_GOTO_LINE = 132;
constexpr UINT IDC_BUILT = 1026;
constexpr UINT IDC_VERSION = 1027; // the About box's name and version
constexpr UINT ID_ENV_SETTINGS = 0x8003;

// Finding the way in the file: search, go to line, the structure check.
constexpr UINT ID_EDIT_FIND_NEXT = 0x8004;
constexpr UINT ID_EDIT_FIND_PREV = 0x8005;
constexpr UINT ID_EDIT_GOTO_LINE = 0x8006;
constexpr UINT ID_VIEW_NEXT_PROBLEM = 0x8007;
constexpr UINT ID_VIEW_PREV_PROBLEM = 0x8008;

// Controls of the find bar 131 and the go-to-line dialog 132.
constexpr UINT IDC_FIND_TEXT = 1030;
constexpr UINT IDC_MATCH_CASE = 1031;
constexpr UINT IDC_LINE_RANGE = 1032;
constexpr UINT IDC_LINE_NUMBER = 1033;

// Status-bar texts; %1, %2, ... stand for what is filled in.
constexpr UINT IDS_NOT_FOUND = 300;
constexpr UINT IDS_WRAPPED = 301; // forward, backward
constexpr UINT IDS_FILE_CLEAN = 302;
constexpr UINT IDS_CHARSET_NAMES = 303; // by CharSet, one a field
constexpr UINT IDS_CELL_PLACE = 304;
constexpr UINT IDS_CELL_PAIR = 305;
constexpr UINT IDS_CELL_BYTE = 306;
constexpr UINT IDS_CONTROL_CODE = 307;
constexpr UINT IDS_PROBLEM_AT = 308;
// The structure check's problems.
constexpr UINT IDS_HIGH_BIT = 310;
constexpr UINT IDS_BAD_CONTROL_CODE = 311;
constexpr UINT IDS_UNKNOWN_ESCAPE = 312;
constexpr UINT IDS_UNDECODABLE_PAIR = 313;
constexpr UINT IDS_LINE_ENDS_IN_PAIR = 314;
constexpr UINT IDS_ODD_PAIR_RUN = 315;
constexpr UINT IDS_LINE_RANGE = 316;
constexpr UINT IDS_NOT_JIS_X0208 = 330;
constexpr UINT IDS_OTHER_SET_ESCAPE = 331;
constexpr UINT IDS_OTHER_SET_NAMES = 332; // by OtherSet, one a field
constexpr UINT IDS_SHOWN_CODE_POINT = 333;
// Printing from the command line.
constexpr UINT IDS_UNKNOWN_PRINTER = 340;

// Controls of the settings dialog 130. The font, colour and check-box ids
// run in the order of the record's fonts, colours and flag bits.
constexpr UINT IDC_FONT_ASCII = 1001;
constexpr UINT IDC_FONT_JISROMAN = 1002;
constexpr UINT IDC_FONT_OLDJIS = 1003;
constexpr UINT IDC_FONT_NEWJIS = 1004;
constexpr UINT IDC_COLOR_ASCII = 1005;
constexpr UINT IDC_COLOR_JISROMAN = 1006;
constexpr UINT IDC_COLOR_OLDJIS = 1007;
constexpr UINT IDC_COLOR_NEWJIS = 1008;
constexpr UINT IDC_COLOR_LINENO = 1009;
constexpr UINT IDC_COLOR_GROUND = 1010;
constexpr UINT IDC_COLOR_TEXTBK = 1011;
constexpr UINT IDC_COLOR_CTRLBK = 1012;
constexpr UINT IDC_COLOR_LINENOBK = 1013;
constexpr UINT IDC_PREVIEW = 1014;
constexpr UINT IDC_FIX_BACKSLASH = 1015;
constexpr UINT IDC_FIX_TILDE = 1016;
constexpr UINT IDC_SHOW_CONTROLS = 1017;
constexpr UINT IDC_MARK_WIDE_SPACE = 1018;
constexpr UINT IDC_LINE_NUMBERS = 1019;
constexpr UINT IDC_WRAP_NONE = 1020;
constexpr UINT IDC_WRAP_WINDOW = 1021;
constexpr UINT IDC_WRAP_FIXED = 1022;
constexpr UINT IDC_WRAP_COLUMN = 1023;
constexpr UINT IDC_WRAP_SPIN = 1025;
