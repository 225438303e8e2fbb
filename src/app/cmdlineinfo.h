// The program's own switches on top of the shell commands: --help (-h),
// --version (-V), and --check with --quiet and --max N.
#pragma once

#include "platform/ui/app.h"

#include <string>
#include <vector>

class CTAVOCommandLineInfo : public CCommandLineInfo {
public:
    // Takes the parameters as they come and reads them when the last has
    // come: with --check anywhere, every other parameter is a file to check.
    void ParseParam(const char* pszParam, BOOL bFlag, BOOL bLast) override;

    BOOL m_bShowHelp = FALSE;
    BOOL m_bShowVersion = FALSE;
    BOOL m_bCheck = FALSE;
    BOOL m_bQuiet = FALSE;
    unsigned long m_nMaxProblems = 0; // per file; 0: all of them
    std::vector<std::string> m_checkFiles;

private:
    struct Param {
        std::string text;
        BOOL bFlag;
    };

    void ParseShellParam(const Param& param, BOOL bLast);
    void ParseCheckParams();
    BOOL ParseOwnSwitch(const std::string& name);

    std::vector<Param> m_params;
};
