#include "cmdlineinfo.h"

#include <cstring>

void CTAVOCommandLineInfo::ParseParam(const char* pszParam, BOOL bFlag, BOOL bLast) {
    // The switches arrive with their first '-' stripped.
    if (bFlag && (std::strcmp(pszParam, "-help") == 0 || std::strcmp(pszParam, "h") == 0)) {
        m_bShowHelp = TRUE;
    } else if (bFlag &&
               (std::strcmp(pszParam, "-version") == 0 || std::strcmp(pszParam, "V") == 0)) {
        m_bShowVersion = TRUE;
    } else {
        CCommandLineInfo::ParseParam(pszParam, bFlag, bLast);
    }
}
