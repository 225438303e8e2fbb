#include "view/gotolinedlg.h"

#include "resources/resource.h"

#include <string>

CGotoLineDlg::CGotoLineDlg(CWnd* pParent, UINT nLines, UINT nLine)
    : CDialog(IDD_GOTO_LINE, pParent), m_nLine(nLine), m_nLines(nLines) {}

BOOL CGotoLineDlg::OnInitDialog() {
    SetDlgItemText(IDC_LINE_RANGE, AfxFormatStrings(IDS_LINE_RANGE, {std::to_string(m_nLines)}));
    return CDialog::OnInitDialog();
}

void CGotoLineDlg::DoDataExchange(CDataExchange* pDX) {
    DDX_Text(pDX, IDC_LINE_NUMBER, m_nLine);
    DDV_MinMaxUInt(pDX, m_nLine, 1, m_nLines);
}
