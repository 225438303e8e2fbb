#include "envdialog.h"

#include "platform/ui/commdlg.h"
#include "platform/ui/fileerror.h"
#include "resources/resource.h"

#include <algorithm>
#include <climits>

namespace {

constexpr int NO_WRAP = 0;
constexpr int WRAP_AT_WINDOW = 1;
constexpr int WRAP_AT_COLUMN = 2;

// Tenths of a point to pixels of a surface with the given resolution.
LONG PixelsOfTenths(LONG tenths, int dpi) {
    const long long pixels = (long long)tenths * dpi / 720;
    return LONG(std::clamp<long long>(pixels, INT_MIN, INT_MAX));
}

} // namespace

CEnvDialog::CEnvDialog(CWnd* pParent) : CDialog(IDD_ENV_SETTINGS, pParent) {
    MapCommandRange(IDC_FONT_ASCII, IDC_FONT_NEWJIS, [this](UINT nID) { OnFontButton(nID); });
    MapCommandRange(IDC_COLOR_ASCII, IDC_COLOR_LINENOBK, [this](UINT nID) { OnColorButton(nID); });
    MapCommandRange(IDC_FIX_BACKSLASH, IDC_LINE_NUMBERS, [this](UINT nID) { OnCheckClicked(nID); });
}

void CEnvDialog::DoDataExchange(CDataExchange* pDX) {
    DDX_Check(pDX, IDC_FIX_BACKSLASH, m_bFixBackslash);
    DDX_Check(pDX, IDC_FIX_TILDE, m_bFixTilde);
    DDX_Check(pDX, IDC_SHOW_CONTROLS, m_bShowControls);
    DDX_Check(pDX, IDC_MARK_WIDE_SPACE, m_bMarkWideSpace);
    DDX_Check(pDX, IDC_LINE_NUMBERS, m_bLineNumbers);
    DDX_Text(pDX, IDC_WRAP_COLUMN, m_nWrapColumn);
    DDV_MinMaxUInt(pDX, m_nWrapColumn, MIN_WRAP_COLUMN, MAX_WRAP_COLUMN);
    DDX_Radio(pDX, IDC_WRAP_NONE, m_nWrapMode);
}

BOOL CEnvDialog::OnInitDialog() {
    CDialog::OnInitDialog();
    SendDlgItemMessage(IDC_WRAP_SPIN, UDM_SETRANGE32, MIN_WRAP_COLUMN, MAX_WRAP_COLUMN);
    m_preview.m_pEnv = &m_env;
    m_preview.SubclassDlgItem(IDC_PREVIEW, this);

    const BYTE flags = m_env.bFlags;
    m_bFixBackslash = (flags & ENV_FIX_BACKSLASH) ? 1 : 0;
    m_bFixTilde = (flags & ENV_FIX_TILDE) ? 1 : 0;
    m_bShowControls = (flags & ENV_SHOW_CONTROLS) ? 1 : 0;
    m_bMarkWideSpace = (flags & ENV_MARK_WIDE_SPACE) ? 1 : 0;
    m_bLineNumbers = (flags & ENV_LINE_NUMBERS) ? 1 : 0;
    const WrapSetting wrap = DecodeWrap(m_env.wWrap);
    switch (wrap.mode) {
    case WrapMode::windowWidth:
        m_nWrapMode = WRAP_AT_WINDOW;
        break;
    case WrapMode::none:
        m_nWrapMode = NO_WRAP;
        break;
    case WrapMode::fixedColumn:
        m_nWrapMode = WRAP_AT_COLUMN;
        break;
    }
    m_nWrapColumn = wrap.column;
    UpdateData(FALSE);
    return TRUE;
}

BOOL CEnvDialog::ApplyControls() {
    // A failed validation has said so; the members keep what was taken.
    const BOOL valid = UpdateData(TRUE);
    const int checks[] = {m_bFixBackslash, m_bFixTilde, m_bShowControls, m_bMarkWideSpace,
                          m_bLineNumbers};
    for (int bit = 0; bit < int(std::size(checks)); ++bit) {
        const BYTE mask = BYTE(1u << bit);
        m_env.bFlags = checks[bit] ? BYTE(m_env.bFlags | mask) : BYTE(m_env.bFlags & ~mask);
    }
    WORD wrap = WORD(m_nWrapColumn);
    if (m_nWrapMode == NO_WRAP) {
        wrap |= ENV_WRAP_NONE;
    } else if (m_nWrapMode == WRAP_AT_WINDOW) {
        wrap |= ENV_WRAP_WINDOW;
    }
    m_env.wWrap = wrap;
    return valid;
}

void CEnvDialog::OnFontButton(UINT nID) {
    LOGFONTA& entry = m_env.lfFont[nID - IDC_FONT_ASCII];
    LOGFONTA font = entry;
    {
        CWindowDC screen(nullptr);
        const int dpi =
            std::max(screen.GetDeviceCaps(LOGPIXELSX), screen.GetDeviceCaps(LOGPIXELSY));
        font.lfHeight = PixelsOfTenths(font.lfHeight, dpi);
    }
    CFontDialog dialog(&font, CF_SCREENFONTS | CF_FIXEDPITCHONLY);
    dialog.m_cf.iPointSize = entry.lfHeight;
    if (dialog.DoModal() != IDOK) {
        return;
    }
    entry = font;
    entry.lfHeight = dialog.m_cf.iPointSize;
    RedrawPreview();
}

void CEnvDialog::OnColorButton(UINT nID) {
    COLORREF& entry = m_env.crColor[nID - IDC_COLOR_ASCII];
    CColorDialog dialog(entry, 0);
    if (dialog.DoModal() == IDOK) {
        entry = dialog.GetColor();
        RedrawPreview();
    }
}

void CEnvDialog::OnCheckClicked(UINT) {
    ApplyControls();
    RedrawPreview();
}

void CEnvDialog::OnOK() {
    // The apply step has validated already: a refusal is told only once.
    if (ApplyControls()) {
        CDialog::OnOK();
    }
}

void CEnvDialog::RedrawPreview() {
    m_preview.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

std::string DescribeSaveFailure(EnvSaveResult result, const CFileException& error) {
    const char* step = result == EnvSaveResult::notWritten ? "設定ファイルに書き込めませんでした。"
                                                           : "設定ファイルを作成できませんでした。";
    return std::string("動作環境を保存できませんでした。新しい設定はこのまま使えますが、"
                       "次に起動したときには元に戻ります。\n\n") +
           error.m_strFileName + "\n\n" + step + "\n" + DescribeFileError(error);
}
