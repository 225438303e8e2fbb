#include "platform/ui/app.h"

#include "platform/ui/dialog.h"
#include "platform/ui/frame.h"
#include "platform/ui/print.h"
#include "platform/ui/resource.h"

#include "platform/core/document.h"

#include <QApplication>
#include <QFileInfo>
#include <QMainWindow>
#include <QPrinter>
#include <QSettings>

#include <cstdio>
#include <cstring>
#include <strings.h>

namespace {

CWinApp* g_pApp = nullptr;

const char* const kRecentSection = "Recent File List";

bool IsSwitch(const char* arg) {
    // "/p" and "/pt" are switches; every other argument starting with a
    // slash is an absolute path.
    if (arg[0] == '/') {
        return strcasecmp(arg + 1, "p") == 0 || strcasecmp(arg + 1, "pt") == 0;
    }
    return arg[0] == '-' && arg[1] != '\0';
}

} // namespace

// ---- command line ----

void CCommandLineInfo::ParseParam(const char* pszParam, BOOL bFlag, BOOL) {
    if (bFlag) {
        if (strcasecmp(pszParam, "p") == 0) {
            m_nShellCommand = FilePrint;
        } else if (strcasecmp(pszParam, "pt") == 0) {
            m_nShellCommand = FilePrintTo;
        }
        return;
    }
    if (m_strFileName.empty()) {
        m_strFileName = pszParam;
        if (m_nShellCommand == FileNew) {
            m_nShellCommand = FileOpen;
        }
        return;
    }
    // /pt file printer driver port
    if (m_nShellCommand == FilePrintTo) {
        std::string* const fields[] = {&m_strPrinterName, &m_strDriverName, &m_strPortName};
        if (m_nPrintToArgs < 3) {
            *fields[m_nPrintToArgs++] = pszParam;
        }
    }
}

// ---- recent files ----

void CRecentFileList::Add(const std::string& path) {
    std::erase(m_files, path);
    m_files.insert(m_files.begin(), path);
    if (int(m_files.size()) > m_nSize) {
        m_files.resize(std::size_t(m_nSize));
    }
}

void CRecentFileList::Remove(int nIndex) {
    if (nIndex >= 0 && nIndex < GetCount()) {
        m_files.erase(m_files.begin() + nIndex);
    }
}

void CRecentFileList::ReadList(const std::string& profile) {
    QSettings ini(QString::fromStdString(profile), QSettings::IniFormat);
    ini.beginGroup(kRecentSection);
    m_files.clear();
    for (int i = 1; i <= m_nSize; ++i) {
        const std::string path = ini.value(QString("File%1").arg(i)).toString().toStdString();
        if (!path.empty()) {
            m_files.push_back(path);
        }
    }
}

void CRecentFileList::WriteList(const std::string& profile) const {
    QSettings ini(QString::fromStdString(profile), QSettings::IniFormat);
    ini.remove(kRecentSection);
    ini.beginGroup(kRecentSection);
    for (int i = 0; i < GetCount(); ++i) {
        ini.setValue(QString("File%1").arg(i + 1), QString::fromStdString((*this)[i]));
    }
}

// ---- application ----

CWinApp* AfxGetApp() {
    return g_pApp;
}

CWinApp::CWinApp(const char* lpszAppName) : m_strAppName(lpszAppName ? lpszAppName : "") {
    g_pApp = this;
    MapCommand(ID_APP_EXIT, [this] { OnAppExit(); });
    MapCommandRange(ID_FILE_MRU_FILE1, ID_FILE_MRU_LAST,
                    [this](UINT nID) { OnOpenRecentFile(nID); });
}

CWinApp::~CWinApp() {
    CloseAllDocuments();
    if (g_pApp == this) {
        g_pApp = nullptr;
    }
}

std::string CWinApp::GetAppName() const {
    return m_strAppName.empty() ? LoadString(AFX_IDS_APP_TITLE) : m_strAppName;
}

int CWinApp::ExitInstance() {
    if (m_pRecentFileList && !m_strProfileName.empty()) {
        m_pRecentFileList->WriteList(m_strProfileName);
    }
    // The printer belongs to Qt's print support, which ends with the Qt
    // application.
    m_pPrinter.reset();
    return m_nExitCode;
}

int CWinApp::Run() {
    return QApplication::exec();
}

void CWinApp::SetCommandLine(int argc, char** argv) {
    m_args.assign(argv, argv + argc);
}

void CWinApp::ParseCommandLine(CCommandLineInfo& rCmdInfo) const {
    for (std::size_t i = 1; i < m_args.size(); ++i) {
        const char* arg = m_args[i].c_str();
        const BOOL bFlag = IsSwitch(arg);
        rCmdInfo.ParseParam(bFlag ? arg + 1 : arg, bFlag, i + 1 == m_args.size());
    }
}

BOOL CWinApp::ProcessShellCommand(CCommandLineInfo& rCmdInfo) {
    switch (rCmdInfo.m_nShellCommand) {
    case CCommandLineInfo::FileNew:
        OnFileNew();
        break;
    case CCommandLineInfo::FileOpen:
        OpenDocumentFile(rCmdInfo.m_strFileName.c_str(), TRUE);
        break;
    case CCommandLineInfo::FilePrint:
    case CCommandLineInfo::FilePrintTo:
        // Prints through the view, then ends the program.
        PrintShellCommand(*this, rCmdInfo);
        return FALSE;
    default:
        return TRUE;
    }
    if (m_pMainWnd == nullptr || m_nExitCode != 0) {
        m_nExitCode = 1;
        return FALSE;
    }
    return TRUE;
}

void CWinApp::LoadStdProfileSettings(UINT nMaxMRU) {
    m_pRecentFileList = std::make_unique<CRecentFileList>(int(nMaxMRU));
    if (!m_strProfileName.empty()) {
        m_pRecentFileList->ReadList(m_strProfileName);
    }
}

void CWinApp::AddDocTemplate(CSingleDocTemplate* pTemplate) {
    m_pDocTemplate.reset(pTemplate);
}

void CWinApp::CloseAllDocuments() {
    m_pDocTemplate.reset();
    m_pMainWnd = nullptr;
}

void CWinApp::AddToRecentFileList(const std::string& path) {
    if (m_pRecentFileList) {
        m_pRecentFileList->Add(path);
    }
}

std::string CWinApp::DescribeLoadFailure(CDocument*) const {
    return "";
}

CDocument* CWinApp::OpenDocumentFile(const char* lpszFileName, BOOL bToStderr) {
    if (!m_pDocTemplate) {
        return nullptr;
    }
    CFileException error;
    CDocument* pDoc = m_pDocTemplate->OpenDocumentFile(lpszFileName, &error);
    if (m_pDocTemplate->GetFrame() == nullptr) {
        return nullptr; // no window could be made
    }
    const std::string reason =
        pDoc != nullptr ? DescribeLoadFailure(pDoc) : error.GetErrorMessage();
    if (reason.empty()) {
        AddToRecentFileList(QFileInfo(lpszFileName).absoluteFilePath().toStdString());
        return pDoc;
    }
    if (pDoc != nullptr) {
        m_pDocTemplate->OpenDocumentFile(nullptr, nullptr);
    }
    ReportOpenFailure(lpszFileName, reason, bToStderr);
    return nullptr;
}

void CWinApp::ReportOpenFailure(const char* lpszFileName, const std::string& reason,
                                BOOL bToStderr) {
    if (bToStderr) {
        m_nExitCode = 1;
        std::fprintf(stderr, "%s: %s: %s\n", GetProgramName().c_str(), lpszFileName,
                     reason.c_str());
    }
    // A program that shows no window has no one to show a box to.
    if (m_nCmdShow != SW_HIDE) {
        AfxMessageBox(std::string(lpszFileName) + "\n\n" + reason, MB_OK | MB_ICONEXCLAMATION);
    }
}

std::string CWinApp::GetProgramName() const {
    const std::string program = m_args.empty() ? GetAppName() : m_args[0];
    return QFileInfo(QString::fromStdString(program)).fileName().toLocal8Bit().toStdString();
}

void CWinApp::OnOpenRecentFile(UINT nID) {
    const int index = int(nID - ID_FILE_MRU_FILE1);
    if (!m_pRecentFileList || index >= m_pRecentFileList->GetCount()) {
        return;
    }
    const std::string path = (*m_pRecentFileList)[index];
    if (OpenDocumentFile(path.c_str()) == nullptr) {
        // A file that is gone leaves the list.
        m_pRecentFileList->Remove(index);
    }
}

void CWinApp::OnFileNew() {
    if (m_pDocTemplate) {
        m_pDocTemplate->OpenDocumentFile(nullptr, nullptr);
    }
}

void CWinApp::OnFileOpen() {
    CFileDialog dialog(TRUE, m_pMainWnd);
    if (dialog.DoModal() == IDOK) {
        OpenDocumentFile(dialog.GetPathName().c_str());
    }
}

void CWinApp::OnAppExit() {
    if (m_pMainWnd != nullptr) {
        m_pMainWnd->GetMainWindow()->close();
    }
}

int AfxWinMain(int argc, char** argv) {
    CWinApp* pApp = AfxGetApp();
    pApp->SetCommandLine(argc, argv);
    ChoosePlatformForCommandLine(*pApp);
    QApplication application(argc, argv);
    if (pApp->InitInstance()) {
        pApp->Run();
    }
    const int code = pApp->ExitInstance();
    // No window may outlive the Qt application.
    pApp->CloseAllDocuments();
    return code;
}
