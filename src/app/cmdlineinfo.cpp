#include "cmdlineinfo.h"

#include <algorithm>
#include <cstdlib>

#include <strings.h>

namespace {

// The switches arrive with their first '-' stripped.
bool IsCheckSwitch(const std::string& name) {
    return name == "-check";
}
bool IsCheckOption(const std::string& name) {
    return name == "-quiet" || name == "-max";
}

// A count of at least 1 in decimal digits alone.
bool ParseCount(const std::string& text, unsigned long* pnCount) {
    if (text.empty() || text.size() > 9 ||
        !std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; })) {
        return false;
    }
    *pnCount = std::strtoul(text.c_str(), nullptr, 10);
    return *pnCount > 0;
}

} // namespace

void CTAVOCommandLineInfo::ParseParam(const char* pszParam, BOOL bFlag, BOOL bLast) {
    m_params.push_back({pszParam, bFlag});
    if (!bLast) {
        return;
    }
    const bool check = std::any_of(m_params.begin(), m_params.end(), [](const Param& param) {
        return param.bFlag && IsCheckSwitch(param.text);
    });
    if (check) {
        ParseCheckParams();
        return;
    }
    for (std::size_t i = 0; i < m_params.size(); ++i) {
        ParseShellParam(m_params[i], i + 1 == m_params.size());
    }
}

BOOL CTAVOCommandLineInfo::ParseOwnSwitch(const std::string& name) {
    if (name == "-help" || name == "h") {
        m_bShowHelp = TRUE;
    } else if (name == "-version" || name == "V") {
        m_bShowVersion = TRUE;
    } else {
        return FALSE;
    }
    return TRUE;
}

void CTAVOCommandLineInfo::ParseShellParam(const Param& param, BOOL bLast) {
    if (param.bFlag && ParseOwnSwitch(param.text)) {
        return;
    }
    if (param.bFlag && IsCheckOption(param.text) && m_strError.empty()) {
        m_strError = "-" + param.text + " goes with --check only";
        return;
    }
    CCommandLineInfo::ParseParam(param.text.c_str(), param.bFlag, bLast);
}

void CTAVOCommandLineInfo::ParseCheckParams() {
    m_bCheck = TRUE;
    const auto fail = [this](std::string error) {
        if (m_strError.empty()) {
            m_strError = std::move(error);
        }
    };
    for (std::size_t i = 0; i < m_params.size(); ++i) {
        const Param& param = m_params[i];
        if (!param.bFlag) {
            m_checkFiles.push_back(param.text);
        } else if (param.text == "-quiet") {
            m_bQuiet = TRUE;
        } else if (param.text == "-max") {
            // The count may look like a switch ("-1"); it is the count all the same.
            const bool given = i + 1 < m_params.size();
            const std::string count =
                given ? (m_params[i + 1].bFlag ? "-" : "") + m_params[i + 1].text : "";
            if (!ParseCount(count, &m_nMaxProblems)) {
                fail(given ? "--max needs a number of problems of 1 or more, not '" + count + "'"
                           : "--max needs a number of problems");
            }
            ++i;
        } else if (strcasecmp(param.text.c_str(), "p") == 0 ||
                   strcasecmp(param.text.c_str(), "pt") == 0) {
            fail("--check cannot be given with /p or /pt");
        } else if (!IsCheckSwitch(param.text) && !ParseOwnSwitch(param.text)) {
            fail("unknown option '-" + param.text + "'");
        }
    }
    if (m_checkFiles.empty()) {
        fail("--check needs the files to check");
    }
}
