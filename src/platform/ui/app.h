// The application object, its command line, the recent-file list in the
// ini profile, and the single-document template that ties document, frame
// and view together.
#pragma once

#include "platform/core/file.h"
#include "platform/ui/appservices.h"
#include "platform/ui/wnd.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

class CDocument;
class CFrameWnd;
class CLoadMonitor;
class CView;
class QMenu;
class QTranslator;
class QPrinter;

// How the main window starts: shown, or hidden while printing from the
// command line.
constexpr int SW_HIDE = 0;
constexpr int SW_SHOW = 5;

// What the command line asks for: nothing (a new document), a file to
// open, or a file to print (/p, /pt and their -p, -pt spellings).
class CCommandLineInfo {
public:
    enum { FileNew, FileOpen, FilePrint, FilePrintTo };

    virtual ~CCommandLineInfo() = default;

    // bFlag: the parameter is a switch, its '/' or '-' stripped. bLast: no
    // parameter follows. A switch nobody knows, a second file, a second
    // print switch, or a print switch without what it prints sets m_strError.
    virtual void ParseParam(const char* pszParam, BOOL bFlag, BOOL bLast);

    int m_nShellCommand = FileNew;
    std::string m_strFileName;
    std::string m_strPrinterName;
    std::string m_strDriverName;
    std::string m_strPortName;
    // What is wrong with the command line, in English for the terminal;
    // empty when it is fine.
    std::string m_strError;

private:
    void ParseFileParam(const char* pszParam);
    void CheckComplete();

    int m_nPrintToArgs = 0;
};

// Most recently opened files first, each path once, at most nSize.
class CRecentFileList {
public:
    explicit CRecentFileList(int nSize) : m_nSize(nSize) {}

    void Add(const std::string& path);
    void Remove(int nIndex);
    int GetCount() const { return int(m_files.size()); }
    const std::string& operator[](int nIndex) const { return m_files[std::size_t(nIndex)]; }

    // Reads and writes the "Recent File List" section of an ini file.
    void ReadList(const std::string& profile);
    void WriteList(const std::string& profile) const;

private:
    int m_nSize;
    std::vector<std::string> m_files;
};

// One document type whose single document, frame and view are made by the
// factories when the first document is created or opened, and reused
// afterwards.
class CSingleDocTemplate {
public:
    using DocumentFactory = std::function<CDocument*()>;
    using FrameFactory = std::function<CFrameWnd*()>;
    using ViewFactory = std::function<CView*()>;

    CSingleDocTemplate(UINT nIDResource, DocumentFactory makeDocument, FrameFactory makeFrame,
                       ViewFactory makeView);
    ~CSingleDocTemplate();

    // Opens lpszPathName into the document, or empties it for a new one
    // when null; updates the title and the view. When the file cannot be
    // opened, pError says why and the document, the view and the title stay
    // as they were (a new, empty document when there was none yet).
    CDocument* OpenDocumentFile(const char* lpszPathName, CFileException* pError);
    // The document's type string field (0 window title, 1 document name, ...).
    std::string GetDocString(int nField) const;

    CDocument* GetDocument() const { return m_pDocument.get(); }
    CFrameWnd* GetFrame() const { return m_pFrame.get(); }

private:
    BOOL CreateFrameAndView();
    void ShowNewDocument();
    // Shows a load's first screen on the view, from its top; null puts the
    // template's document back on the view, unpainted.
    void ShowFirstScreen(CDocument* pFirstScreen);

    // Where the view stood in the template's document before a first
    // screen took its place, for a load that leaves the document as it was.
    POINT m_ptBeforeFirstScreen = {0, 0};

    UINT m_nIDResource;
    DocumentFactory m_makeDocument;
    FrameFactory m_makeFrame;
    ViewFactory m_makeView;
    std::unique_ptr<CDocument> m_pDocument;
    std::unique_ptr<CFrameWnd> m_pFrame;
    std::unique_ptr<CLoadMonitor> m_pLoadMonitor;
};

class CWinApp : public CCmdTarget, public CWinAppServices {
public:
    // The application's name comes from the string AFX_IDS_APP_TITLE when
    // none is given.
    explicit CWinApp(const char* lpszAppName = nullptr);
    ~CWinApp() override;

    // Once, before InitInstance: every standard dialog and message box of
    // Qt speaks Japanese, as the program's own resources do.
    virtual BOOL InitApplication();
    virtual BOOL InitInstance() { return TRUE; }
    // Saves the profile (the recent-file list); returns the exit code.
    virtual int ExitInstance();
    // Runs the event loop until the main window closes.
    int Run();

    void SetCommandLine(int argc, char** argv);
    // Hands every parameter to rCmdInfo.ParseParam; "--" ends the switches.
    void ParseCommandLine(CCommandLineInfo& rCmdInfo) const;
    // Opens the file named, or a new document. FALSE when the program
    // should end: the command failed (a file that could not be opened has
    // been reported, and m_nExitCode is then 1; a wrong command line gives
    // 2). Print commands are the program's: here they do nothing.
    BOOL ProcessShellCommand(CCommandLineInfo& rCmdInfo);

    void LoadStdProfileSettings(UINT nMaxMRU);
    void AddDocTemplate(CSingleDocTemplate* pTemplate);

    // Opens a file into the document. On failure tells the user which file
    // and why (also on stderr when bToStderr) and returns null: a file that
    // cannot be opened leaves the document as it was, one that opened but
    // could not be loaded leaves it new and empty.
    CDocument* OpenDocumentFile(const char* lpszFileName, BOOL bToStderr = FALSE) override;
    void AddToRecentFileList(const std::string& path);
    // Destroys the document, the frame and the view.
    void CloseAllDocuments();
    CRecentFileList* GetRecentFileList() const { return m_pRecentFileList.get(); }
    std::vector<std::string> GetRecentFiles() const override;
    CFrameWnd* GetMainFrame() const override { return m_pMainWnd; }
    BOOL RouteCommand(UINT nID, CCmdUI* pCmdUI) override { return OnCmdMsg(nID, pCmdUI); }

    // The printer that jobs and previews go to, made on first use: the
    // system's default printer until a print or printer set-up dialog or
    // SelectPrinter chooses another.
    QPrinter* GetPrinter();
    // A printer of the system by name, or a PDF file at a path that ends in
    // ".pdf". FALSE, and nothing changes, for a printer the system lacks.
    BOOL SelectPrinter(const std::string& name);
    // Whether there is somewhere to print without asking: a printer of the
    // system, or a PDF file.
    BOOL HasPrinter();
    // The name the program was started under, for messages on stderr.
    std::string GetProgramName() const;

    // The given name, else the string AFX_IDS_APP_TITLE.
    std::string GetAppName() const override;

    CFrameWnd* m_pMainWnd = nullptr;
    // What the program returns when it ends.
    int m_nExitCode = 0;
    // SW_SHOW, or SW_HIDE to make the main window without showing it.
    int m_nCmdShow = SW_SHOW;

protected:
    // Why a document that was opened holds nothing to show; empty when it
    // is fine. Programs whose documents can fail to load override this.
    virtual std::string DescribeLoadFailure(CDocument* pDoc) const;

    void OnFileNew();
    void OnFileOpen();
    // The printer set-up dialog; what it chooses becomes the printer.
    void OnFilePrintSetup();

    // The ini file of the profile; empty until set by the program.
    std::string m_strProfileName;

private:
    void OnAppExit();
    // OpenDocumentFile, telling apart a load the user cancelled, which leaves
    // the document as it was and has nothing to report.
    CDocument* OpenOrReport(const char* lpszFileName, BOOL bToStderr, bool& bCancelled);
    void ReportOpenFailure(const char* lpszFileName, const std::string& reason, BOOL bToStderr);
    void OnOpenRecentFile(UINT nID);
    // Where the open dialog starts: the folder of the file on screen, else
    // the folder of the file opened last.
    std::string OpenDialogFolder() const;

    std::string m_strAppName;
    std::vector<std::string> m_args;
    std::unique_ptr<CSingleDocTemplate> m_pDocTemplate;
    std::unique_ptr<CRecentFileList> m_pRecentFileList;
    std::string m_strLastFolder;
    std::unique_ptr<QTranslator> m_pTranslator;
    std::unique_ptr<QPrinter> m_pPrinter;
};

// The one application object.
CWinApp* AfxGetApp();

// The program's entry: creates the Qt application for argc / argv, runs
// InitInstance and, when it succeeds, the event loop; returns the exit
// code that ExitInstance gives, or 1 when no display can be opened.
int AfxWinMain(int argc, char** argv);
