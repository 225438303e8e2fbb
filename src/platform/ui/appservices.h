// What the windows below the application ask of it: the main window, the
// name on message boxes, the recent files, opening a file and the commands
// the application handles. The application implements it; frames and
// dialogs reach it through AfxGetAppServices and need no more of it.
#pragma once

#include "platform/core/wintypes.h"

#include <string>
#include <vector>

class CCmdUI;
class CDocument;
class CFrameWnd;

class CWinAppServices {
public:
    virtual CFrameWnd* GetMainFrame() const = 0;
    virtual std::string GetAppName() const = 0;
    // Most recently opened first.
    virtual std::vector<std::string> GetRecentFiles() const = 0;
    // Opens a file into the document, telling the user when it cannot.
    virtual CDocument* OpenDocumentFile(const char* lpszFileName, BOOL bToStderr = FALSE) = 0;
    // Routes a command, or its update when pCmdUI is set, to the application.
    virtual BOOL RouteCommand(UINT nID, CCmdUI* pCmdUI) = 0;

protected:
    ~CWinAppServices() = default;
};

// The application's services; null while there is no application.
CWinAppServices* AfxGetAppServices();
