// Resources: menus, accelerator tables, toolbars, bitmaps, icons, dialog
// templates and strings, found by id in the table the program installs.
#pragma once

#include "platform/core/wintypes.h"

#include <string>

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

// A dialog in dialog units of its font.
struct DLGITEMTEMPLATE {
    UINT nID;
    const char* pszClass; // "STATIC", "ICON", "BUTTON", "DEFPUSHBUTTON"
    const char* pszText;  // for "ICON", the icon's resource id in decimal
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
