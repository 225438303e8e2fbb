#include "tavoapp.h"

#include "aboutdlg.h"
#include "cmdlineinfo.h"
#include "document/tavodoc.h"
#include "loadfailure.h"
#include "mainfrm.h"
#include "platform/core/modulepath.h"
#include "platform/gdi/gdi.h"
#include "platform/ui/fileerror.h"
#include "printcommand.h"
#include "resources/resource.h"
#include "resources/resources.h"
#include "view/tavoview.h"

#include <cstdio>

constexpr UINT RECENT_FILES = 4;

std::string CTAVOApp::ModulePath(const char* modulePath) {
    if (modulePath != nullptr) {
        return modulePath;
    }
    return GetModuleFilePath();
}

CTAVOApp::CTAVOApp(const char* modulePath)
    : m_settingsFiles(FindSettingsFiles(ModulePath(modulePath))) {
    m_envStore.m_strEnvPath = m_settingsFiles.strEnvPath;
    AfxSetResourceHandle(&TavoResources());
    MapCommand(ID_APP_ABOUT, [this] { OnAppAbout(); });
    MapCommand(ID_FILE_NEW, [this] { OnFileNew(); });
    MapCommand(ID_FILE_OPEN, [this] { OnFileOpen(); });
    MapCommand(ID_FILE_PRINT_SETUP, [this] { OnFilePrintSetup(); });
}

BOOL CTAVOApp::InitInstance() {
    m_strProfileName = m_settingsFiles.strIniPath;
    LoadStdProfileSettings(RECENT_FILES);
    m_envStore.Load();
    AddDocTemplate(new CSingleDocTemplate(
        IDR_MAINFRAME, [] { return new CTAVODoc; }, [] { return new CMainFrame; },
        [this] { return new CTAVOView(&m_envStore); }));
    CTAVOCommandLineInfo cmdInfo;
    ParseCommandLine(cmdInfo);
    if (!ProcessCommandLine(*this, cmdInfo)) {
        return FALSE;
    }
    m_pMainWnd->DragAcceptFiles();
    return TRUE;
}

int CTAVOApp::ExitInstance() {
    CFileException error;
    if (!AfxSaveGlyphCache(&error)) {
        std::fprintf(stderr, "%s: %s: %s\n", GetProgramName().c_str(), error.m_strFileName.c_str(),
                     DescribeFileError(error).c_str());
    }
    return CWinApp::ExitInstance();
}

void CTAVOApp::OnAppAbout() {
    CAboutDlg aboutDlg;
    aboutDlg.DoModal();
}

std::string CTAVOApp::DescribeLoadFailure(CDocument* pDoc) const {
    const auto* pTavoDoc = dynamic_cast<const CTAVODoc*>(pDoc);
    return pTavoDoc == nullptr ? "" : ::DescribeLoadFailure(pTavoDoc->GetLoadFailure());
}
