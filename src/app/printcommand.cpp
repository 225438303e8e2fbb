#include "printcommand.h"

#include "platform/ui/frame.h"
#include "platform/ui/print.h"
#include "platform/ui/resource.h"
#include "resources/resource.h"

#include <QByteArray>
#include <QtGlobal>

#include <cstdio>

namespace {

bool IsPrintCommand(const CCommandLineInfo& cmdInfo) {
    return cmdInfo.m_nShellCommand == CCommandLineInfo::FilePrint ||
           cmdInfo.m_nShellCommand == CCommandLineInfo::FilePrintTo;
}

// No one watches a window: a failure goes to standard error and makes the
// exit status 1.
void ReportOnStandardError(CWinApp& app, const std::string& text) {
    app.m_nExitCode = 1;
    std::fprintf(stderr, "%s: %s\n", app.GetProgramName().c_str(), text.c_str());
}

void PrintShellCommand(CWinApp& app, const CCommandLineInfo& cmdInfo) {
    app.m_nCmdShow = SW_HIDE;
    AfxSetPrintFailureHook([&app](const std::string& text) { ReportOnStandardError(app, text); });
    if (cmdInfo.m_nShellCommand == CCommandLineInfo::FilePrintTo &&
        !app.SelectPrinter(cmdInfo.m_strPrinterName)) {
        ReportOnStandardError(app,
                              cmdInfo.m_strPrinterName + ": " + LoadString(IDS_UNKNOWN_PRINTER));
        return;
    }
    if (app.OpenDocumentFile(cmdInfo.m_strFileName.c_str(), TRUE) == nullptr) {
        app.m_nExitCode = 1; // the reason, if any, is told already
        return;
    }
    app.m_pMainWnd->ExecuteCommand(ID_FILE_PRINT_DIRECT);
}

} // namespace

BOOL ProcessCommandLine(CWinApp& app, CCommandLineInfo& cmdInfo) {
    if (!cmdInfo.m_strError.empty() || !IsPrintCommand(cmdInfo)) {
        return app.ProcessShellCommand(cmdInfo);
    }
    PrintShellCommand(app, cmdInfo);
    return FALSE;
}

void ChoosePlatformForCommandLine(const CCommandLineInfo& cmdInfo) {
    if (IsPrintCommand(cmdInfo) && !qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
}
