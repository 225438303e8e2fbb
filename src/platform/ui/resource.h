// Resources: menus, accelerator tables, toolbars, bitmaps, icons, dialog
// templates and strings, found by id in the table the program installs.
#pragma once

#include "platform/core/wintypes.h"

#include <string>
#include <vector>

// Menu items, a flat list: MF_POPUP opens a popup whose items follow it up
// to the matching MF_END; the caption's text after a tab is the shortcut
// shown.
constexpr UINT MF_STRING = 0x0000;
constexpr UINT MF_GRAYED = 0x0001;
constexpr UINT MF_SEPARATOR = 0x0800;
constexpr UINT MF_POPUP = 0x0010;
constexpr UINT MF_END = 0x0080;

struct MENUITEMTEMPLATE {
    UINT nFlags;
    UINT nID;
    const char* pszText;
};

constexpr BYTE FVIRTKEY = 0x01;
constexpr BYTE FSHIFT = 0x04;
constexpr BYTE FCONTROL = 0x08;
constexpr BYTE FALT = 0x10;

struct ACCEL {
    BYTE fVirt;
    WORD key;
    WORD cmd;
};

// A picture of 4-bit pixels, one character a pixel ('0'..'9', 'A'..'F'
// index the standard 16-colour palette, ' ' is transparent).
struct BITMAPTEMPLATE {
    int cx;
    int cy;
    const char* const* rows;
};

// Toolbar items in order; ID_SEPARATOR (0) is a gap.
struct TOOLBARTEMPLATE {
    int cxButton;
    int cyButton;
    int nItems;
    const UINT* pItems;
};

// Styles of dialog controls. Every control is a visible child window.
constexpr DWORD WS_GROUP = 0x00020000;   // starts a group (radio buttons, arrow keys)
constexpr DWORD WS_TABSTOP = 0x00010000; // the Tab key stops here
constexpr DWORD WS_BORDER = 0x00800000;

constexpr DWORD BS_PUSHBUTTON = 0x0;
constexpr DWORD BS_DEFPUSHBUTTON = 0x1;
constexpr DWORD BS_AUTOCHECKBOX = 0x3;
constexpr DWORD BS_GROUPBOX = 0x7;
constexpr DWORD BS_AUTORADIOBUTTON = 0x9;
constexpr DWORD BS_TYPEMASK = 0xF;

constexpr DWORD SS_LEFT = 0x0;
constexpr DWORD SS_ICON = 0x3; // the text is the icon's resource id in decimal
constexpr DWORD SS_GRAYRECT = 0x5;
constexpr DWORD SS_TYPEMASK = 0x1F;

constexpr DWORD ES_LEFT = 0x0;
constexpr DWORD ES_NUMBER = 0x2000; // digits only

// The up-down control: two arrows that step a number, shown in its buddy.
constexpr char UPDOWN_CLASS[] = "msctls_updown32";
constexpr DWORD UDS_SETBUDDYINT = 0x02; // the buddy shows the position
constexpr DWORD UDS_ALIGNRIGHT = 0x04;  // sits inside the buddy's right edge
constexpr DWORD UDS_AUTOBUDDY = 0x10;   // the buddy is the control before it
constexpr DWORD UDS_ARROWKEYS = 0x20;   // the up and down keys in the buddy step it

// A dialog in dialog units of its font; the items in tab order.
struct DLGITEMTEMPLATE {
    UINT nID;
    const char* pszClass; // "BUTTON", "STATIC", "EDIT" or UPDOWN_CLASS
    const char* pszText;
    DWORD dwStyle;
    short x, y, cx, cy;
};

struct DLGTEMPLATE {
    const char* pszCaption;
    const char* pszFace;
    int nPointSize;
    short cx, cy;
    int nItems;
    const DLGITEMTEMPLATE* pItems;
};

// The program's resources. Every lookup returns null (or an empty string)
// for an id it does not know.
class CResourceTable {
public:
    virtual ~CResourceTable() = default;
    virtual const char* FindString(UINT nID) const = 0;
    // The items up to and including the final MF_END of the menu bar.
    virtual const MENUITEMTEMPLATE* FindMenu(UINT nID, int* pnCount) const = 0;
    virtual const ACCEL* FindAccelerators(UINT nID, int* pnCount) const = 0;
    virtual const TOOLBARTEMPLATE* FindToolBar(UINT nID) const = 0;
    virtual const BITMAPTEMPLATE* FindBitmap(UINT nID) const = 0;
    // The images of an icon group, largest first.
    virtual const BITMAPTEMPLATE* FindIcon(UINT nID, int* pnCount) const = 0;
    virtual const DLGTEMPLATE* FindDialog(UINT nID) const = 0;
};

void AfxSetResourceHandle(const CResourceTable* pResources);
const CResourceTable* AfxGetResourceHandle();

// The string nID, or an empty string.
std::string LoadString(UINT nID);
// Field nField of a string made of fields separated by "\n".
std::string ExtractSubString(const std::string& text, int nField);
// The string nIDS with %1 .. %9 replaced by the strings given, in order.
std::string AfxFormatStrings(UINT nIDS, const std::vector<std::string>& strings);
