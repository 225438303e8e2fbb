// The About box: name, version and build date.
#pragma once

#include "platform/ui/ui.h"

#include <string>

class CAboutDlg : public CDialog {
public:
    CAboutDlg();

    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;

    std::string m_strVersion;
    std::string m_strBuilt;
};
