// The font and colour choosers: modal dialogs of the window layer, answered
// by the modal hook like every other dialog.
#pragma once

#include "platform/ui/dialog.h"

constexpr DWORD CF_SCREENFONTS = 0x00000001;
constexpr DWORD CF_INITTOLOGFONTSTRUCT = 0x00000040;
constexpr DWORD CF_FIXEDPITCHONLY = 0x00004000;

struct CHOOSEFONTA {
    LOGFONTA* lpLogFont; // the font shown first, and the one chosen
    int iPointSize;      // the chosen size in tenths of a point; when set
                         // before the chooser opens, the size it shows
    DWORD Flags;
};

struct CHOOSECOLORA {
    COLORREF rgbResult; // the colour shown first, and the one chosen
    DWORD Flags;
};

// The choosers' controls, for code that works them as a user would.
constexpr UINT ID_CHOOSEFONT_FACE = 0x0470;   // list of faces
constexpr UINT ID_CHOOSEFONT_STYLE = 0x0471;  // 標準, 斜体, 太字, 太字 斜体
constexpr UINT ID_CHOOSEFONT_SIZE = 0x0472;   // points, one decimal
constexpr UINT ID_CHOOSEFONT_SAMPLE = 0x0444; // the sample in the chosen font
constexpr UINT ID_CHOOSECOLOR_RED = 0x02C2;
constexpr UINT ID_CHOOSECOLOR_GREEN = 0x02C3;
constexpr UINT ID_CHOOSECOLOR_BLUE = 0x02C4;
constexpr UINT ID_CHOOSECOLOR_BASIC = 0x02D0; // the first of 48 basic colours
constexpr int CHOOSECOLOR_BASIC_COUNT = 48;

// Chooses a face, a style and a size. The font shown first is
// *lplfInitial, whose lfHeight is in pixels of the screen; on OK the chosen
// font is written there: lfHeight in pixels (negative: the character
// height), the face name in Shift_JIS within its 32 bytes, and
// m_cf.iPointSize holds the size in tenths of a point. With
// CF_FIXEDPITCHONLY only faces whose characters share one width are offered.
class CFontDialog : public CDialog {
public:
    CFontDialog(LOGFONTA* lplfInitial, DWORD dwFlags, CWnd* pParentWnd = nullptr);

    INT_PTR DoModal() override;

    CHOOSEFONTA m_cf;

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;

private:
    void BuildControls();
    void ShowSample();
};

// Chooses a colour from the basic colours or by its red, green and blue.
class CColorDialog : public CDialog {
public:
    explicit CColorDialog(COLORREF clrInit = 0, DWORD dwFlags = 0, CWnd* pParentWnd = nullptr);

    INT_PTR DoModal() override;
    COLORREF GetColor() const { return m_cc.rgbResult; }

    CHOOSECOLORA m_cc;

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;

private:
    void BuildControls();
    COLORREF ShownColor() const;
    void ShowColor(COLORREF color);
};
