#include "platform/ui/app.h"
#include "platform/ui/fileerror.h"

#include "platform/ui/dialog.h"
#include "platform/ui/display.h"
#include "platform/ui/frame.h"
#include "platform/ui/resource.h"

#include "platform/core/document.h"

#include <QApplication>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QMainWindow>
#include <QPrinter>
#include <QSettings>
#include <QTranslator>

#include <cstdio>
#include <cstring>
#include <strings.h>

namespace {

CWinApp* g_pApp = nullptr;

const char* const RECENT_SECTION = "Recent File List";
const char* const LAST_FOLDER_KEY = "Open Dialog/Folder";

constexpr const char* END_OF_SWITCHES = "--";

bool IsSwitch(const std::string& arg) {
    // "/p" and "/pt" are switches; every other argument starting with a
    // slash is an absolute path. A lone "-" is a file name.
    if (arg[0] == '/') {
        return strcasecmp(arg.c_str() + 1, "p") == 0 || strcasecmp(arg.c_str() + 1, "pt") == 0;
    }
    return arg[0] == '-' && arg.size() > 1;
}

} // namespace

// ---- command line ----

void CCommandLineInfo::ParseParam(const char* pszParam, BOOL bFlag, BOOL bLast) {
    if (!m_strError.empty()) {
        return; // the first fault is the one reported
    }
    const bool print = bFlag && strcasecmp(pszParam, "p") == 0;
    const bool printTo = bFlag && strcasecmp(pszParam, "pt") == 0;
    if (!bFlag) {
        ParseFileParam(pszParam);
    } else if ((print || printTo) &&
               (m_nShellCommand == FilePrint || m_nShellCommand == FilePrintTo)) {
        // One would silently drop what the other was given.
        m_strError = "only one of /p and /pt can be given";
    } else if (print || printTo) {
        m_nShellCommand = print ? FilePrint : FilePrintTo;
    } else {
        m_strError = std::string("unknown option '-") + pszParam + "'";
    }
    if (bLast) {
        CheckComplete();
    }
}

void CCommandLineInfo::ParseFileParam(const char* pszParam) {
    if (m_strFileName.empty()) {
        m_strFileName = pszParam;
        if (m_nShellCommand == FileNew) {
            m_nShellCommand = FileOpen;
        }
        return;
    }
    if (m_nShellCommand != FilePrintTo) {
        m_strError = "only one file can be given";
        return;
    }
    // /pt file printer [driver [port]]
    std::string* const fields[] = {&m_strPrinterName, &m_strDriverName, &m_strPortName};
    if (m_nPrintToArgs == 3) {
        m_strError = "too many arguments for /pt";
        return;
    }
    *fields[m_nPrintToArgs++] = pszParam;
}

void CCommandLineInfo::CheckComplete() {
    if (!m_strError.empty()) {
        return;
    }
    if (m_nShellCommand == FilePrint && m_strFileName.empty()) {
        m_strError = "/p needs the file to print";
    } else if (m_nShellCommand == FilePrintTo &&
               (m_strFileName.empty() || m_strPrinterName.empty())) {
        m_strError = "/pt needs the file to print and a printer";
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
    ini.beginGroup(RECENT_SECTION);
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
    ini.remove(RECENT_SECTION);
    ini.beginGroup(RECENT_SECTION);
    for (int i = 0; i < GetCount(); ++i) {
        ini.setValue(QString("File%1").arg(i + 1), QString::fromStdString((*this)[i]));
    }
}

// ---- application ----

CWinApp* AfxGetApp() {
    return g_pApp;
}

CWinAppServices* AfxGetAppServices() {
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

BOOL CWinApp::InitApplication() {
    m_pTranslator = std::make_unique<QTranslator>();
    if (m_pTranslator->load(QStringLiteral("qtbase_ja"),
                            QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        QCoreApplication::installTranslator(m_pTranslator.get());
    }
    return TRUE;
}

int CWinApp::ExitInstance() {
    if (m_pRecentFileList && !m_strProfileName.empty()) {
        m_pRecentFileList->WriteList(m_strProfileName);
        QSettings(QString::fromStdString(m_strProfileName), QSettings::IniFormat)
            .setValue(LAST_FOLDER_KEY, QString::fromStdString(m_strLastFolder));
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
    std::vector<std::pair<std::string, bool>> params;
    bool switches = true;
    for (std::size_t i = 1; i < m_args.size(); ++i) {
        const std::string& arg = m_args[i];
        if (switches && arg == END_OF_SWITCHES) {
            switches = false;
        } else if (switches && IsSwitch(arg)) {
            params.emplace_back(arg.substr(1), true);
        } else if (!arg.empty()) {
            params.emplace_back(arg, false);
        }
    }
    for (std::size_t i = 0; i < params.size(); ++i) {
        rCmdInfo.ParseParam(params[i].first.c_str(), params[i].second, i + 1 == params.size());
    }
}

BOOL CWinApp::ProcessShellCommand(CCommandLineInfo& rCmdInfo) {
    if (!rCmdInfo.m_strError.empty()) {
        m_nExitCode = 2;
        return FALSE;
    }
    switch (rCmdInfo.m_nShellCommand) {
    case CCommandLineInfo::FileNew:
        OnFileNew();
        break;
    case CCommandLineInfo::FileOpen:
        OpenDocumentFile(rCmdInfo.m_strFileName.c_str(), TRUE);
        break;
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
        m_strLastFolder = QSettings(QString::fromStdString(m_strProfileName), QSettings::IniFormat)
                              .value(LAST_FOLDER_KEY)
                              .toString()
                              .toStdString();
    }
}

void CWinApp::AddDocTemplate(CSingleDocTemplate* pTemplate) {
    m_pDocTemplate.reset(pTemplate);
}

void CWinApp::CloseAllDocuments() {
    m_pDocTemplate.reset();
    m_pMainWnd = nullptr;
}

std::vector<std::string> CWinApp::GetRecentFiles() const {
    std::vector<std::string> files;
    for (int i = 0; m_pRecentFileList && i < m_pRecentFileList->GetCount(); ++i) {
        files.push_back((*m_pRecentFileList)[i]);
    }
    return files;
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
    bool cancelled = false;
    return OpenOrReport(lpszFileName, bToStderr, cancelled);
}

CDocument* CWinApp::OpenOrReport(const char* lpszFileName, BOOL bToStderr, bool& bCancelled) {
    if (!m_pDocTemplate) {
        return nullptr;
    }
    CFileException error;
    CDocument* pDoc = m_pDocTemplate->OpenDocumentFile(lpszFileName, &error);
    if (m_pDocTemplate->GetFrame() == nullptr) {
        return nullptr; // no window could be made
    }
    if (pDoc == nullptr && error.m_cause == CFileException::none) {
        bCancelled = true;
        return nullptr;
    }
    const std::string reason =
        pDoc != nullptr ? DescribeLoadFailure(pDoc) : DescribeFileError(error);
    if (reason.empty()) {
        const QFileInfo file(QString::fromUtf8(lpszFileName));
        AddToRecentFileList(file.absoluteFilePath().toStdString());
        m_strLastFolder = file.absolutePath().toStdString();
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
    bool cancelled = false;
    if (OpenOrReport(path.c_str(), FALSE, cancelled) == nullptr && !cancelled) {
        // A file that can no longer be shown leaves the list.
        m_pRecentFileList->Remove(index);
    }
}

void CWinApp::OnFileNew() {
    if (m_pDocTemplate) {
        m_pDocTemplate->OpenDocumentFile(nullptr, nullptr);
    }
}

std::string CWinApp::OpenDialogFolder() const {
    const CDocument* pDoc = m_pDocTemplate ? m_pDocTemplate->GetDocument() : nullptr;
    if (pDoc != nullptr && !pDoc->GetPathName().empty()) {
        return QFileInfo(QString::fromStdString(pDoc->GetPathName())).absolutePath().toStdString();
    }
    return m_strLastFolder;
}

void CWinApp::OnFileOpen() {
    CFileDialog dialog(m_pMainWnd);
    dialog.m_strInitialDir = OpenDialogFolder();
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
    if (!CanOpenDisplay()) {
        std::fprintf(stderr,
                     "%s: no display could be opened (is DISPLAY set?); "
                     "/pt FILE OUT.pdf prints without one\n",
                     pApp->GetProgramName().c_str());
        return 1;
    }
    QApplication application(argc, argv);
    if (pApp->InitApplication() && pApp->InitInstance()) {
        pApp->Run();
    }
    const int code = pApp->ExitInstance();
    // No window may outlive the Qt application.
    pApp->CloseAllDocuments();
    return code;
}
