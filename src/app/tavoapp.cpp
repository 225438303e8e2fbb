#include "tavoapp.h"

#include "aboutdlg.h"
#include "cmdlineinfo.h"
#include "document/tavodoc.h"
#include "mainfrm.h"
#include "platform/core/modulepath.h"
#include "printcommand.h"
#include "resources/resource.h"
#include "resources/resources.h"
#include "view/tavoview.h"

constexpr UINT RECENT_FILES = 4;

std::string CTAVOApp::ModulePath(const char* modulePath) {
    if (modulePath != nullptr) {
        return modulePath;
    }
    return GetModuleFilePath();
}

CTAVOApp::CTAVOApp(const char* modulePath)
    : m_envStore(ModulePath(modulePath).c_str()), m_strModulePath(ModulePath(modulePath)) {
    AfxSetResourceHandle(&TavoResources());
    MapCommand(ID_APP_ABOUT, [this] { OnAppAbout(); });
    MapCommand(ID_FILE_NEW, [this] { OnFileNew(); });
    MapCommand(ID_FILE_OPEN, [this] { OnFileOpen(); });
    MapCommand(ID_FILE_PRINT_SETUP, [this] { OnFilePrintSetup(); });
}

BOOL CTAVOApp::InitInstance() {
    Enable3dControls();
    m_strProfileName = ReplaceModuleExtension(m_strModulePath, "ini");
    LoadStdProfileSettings(RECENT_FILES);
    m_envStore.Load();
    AddDocTemplate(new CSingleDocTemplate(
        IDR_MAINFRAME, [] { return new CTAVODoc; }, [] { return new CMainFrame; },
        [this] { return new CTAVOView(&m_envStore.m_env); }));
    CTAVOCommandLineInfo cmdInfo;
    ParseCommandLine(cmdInfo);
    if (!ProcessCommandLine(*this, cmdInfo)) {
        return FALSE;
    }
    m_pMainWnd->DragAcceptFiles();
    return TRUE;
}

void CTAVOApp::OnAppAbout() {
    CAboutDlg aboutDlg;
    aboutDlg.DoModal();
}

std::string CTAVOApp::DescribeLoadFailure(CDocument* pDoc) const {
    const auto* pTavoDoc = dynamic_cast<const CTAVODoc*>(pDoc);
    if (pTavoDoc == nullptr) {
        return "";
    }
    CFileException error;
    switch (pTavoDoc->GetLoadFailure()) {
    case CTAVODoc::LoadFailure::none:
        return "";
    case CTAVODoc::LoadFailure::tooLarge:
        error.m_cause = CFileException::tooLarge;
        break;
    case CTAVODoc::LoadFailure::outOfMemory:
        error.m_cause = CFileException::outOfMemory;
        break;
    case CTAVODoc::LoadFailure::readFault:
        error.m_cause = CFileException::readFault;
        break;
    }
    return error.GetErrorMessage();
}
