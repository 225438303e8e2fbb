#include "aboutdlg.h"

#include "resources/resource.h"

#include <cstdio>

namespace {

const char* const BUILD_DATE = "Dec 27 1999";

} // namespace

CAboutDlg::CAboutDlg() : CDialog(IDD_ABOUTBOX) {}

void CAboutDlg::DoDataExchange(CDataExchange* pDX) {
    DDX_Text(pDX, IDC_VERSION, m_strVersion);
    DDX_Text(pDX, IDC_BUILT, m_strBuilt);
}

BOOL CAboutDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    char built[64];
    std::snprintf(built, sizeof built, "Built Date : %s", BUILD_DATE);
    m_strBuilt = built;
    m_strVersion = "TAVO Version " TAVO_VERSION;
    UpdateData(FALSE);
    return TRUE;
}
