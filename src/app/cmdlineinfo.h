// The program's own switches on top of the shell commands: --help (-h)
// and --version (-V).
#pragma once

#include "platform/ui/app.h"

class CTAVOCommandLineInfo : public CCommandLineInfo {
public:
    void ParseParam(const char* pszParam, BOOL bFlag, BOOL bLast) override;

    BOOL m_bShowHelp = FALSE;
    BOOL m_bShowVersion = FALSE;
};
