// Resource and command ids of TAVO: the framework's ids and the program's
// own. Header only, for the view, the application and the resource data.
#pragma once

#include "platform/ui/ids.h"

constexpr UINT IDD_ABOUTBOX = 100;
constexpr UINT IDR_MAINFRAME = 128;
constexpr UINT IDD_ENV_SETTINGS = 130;
constexpr UINT IDC_BUILT = 1026;
constexpr UINT ID_ENV_SETTINGS = 0x8003;

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
