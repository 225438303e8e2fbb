// The print dialog, the application's printer and the page loop of a print
// job.
#include "platform/ui/print.h"

#include "platform/core/document.h"
#include "platform/core/replacefile.h"
#include "platform/gdi/gdi.h"
#include "platform/ui/app.h"
#include "platform/ui/fileerror.h"
#include "platform/ui/frame.h"
#include "platform/ui/resource.h"
#include "platform/ui/view.h"

#include <QDialogButtonBox>
#include <QMainWindow>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>

#include <algorithm>
#include <cstdio>

#include <sys/stat.h>

namespace {

std::function<void(const std::string&)> g_printFailureHook;

void ReportPrintFailure(const std::string& text) {
    if (g_printFailureHook) {
        g_printFailureHook(text);
        return;
    }
    AfxMessageBox(text, MB_OK | MB_ICONEXCLAMATION);
}

bool PrintsToPdf(const QPrinter& printer) {
    return printer.outputFormat() == QPrinter::PdfFormat;
}

// Where a job goes, as the user named it: a printer or a file.
std::string Destination(const QPrinter& printer) {
    const QString name = PrintsToPdf(printer) ? printer.outputFileName() : printer.printerName();
    return name.toStdString() + ": ";
}

// The document's file, to name it in a message.
std::string DocumentName(const CDocument* pDoc) {
    return pDoc != nullptr && !pDoc->GetPathName().empty() ? pDoc->GetPathName() + ": " : "";
}

// Whether writing the job's file would replace the document: the same file
// by any name, through a link or a hard link.
bool WritesOverDocument(const QPrinter& printer, const CDocument* pDoc) {
    if (!PrintsToPdf(printer) || pDoc == nullptr || pDoc->GetPathName().empty()) {
        return false;
    }
    struct stat output {};
    struct stat document {};
    return ::stat(printer.outputFileName().toLocal8Bit().constData(), &output) == 0 &&
           ::stat(pDoc->GetPathName().c_str(), &document) == 0 &&
           output.st_dev == document.st_dev && output.st_ino == document.st_ino;
}

// Sends the pages first..last, one at a time; returns what went wrong, or
// an empty string.
std::string SendPages(CView& view, CDC& dc, CPrintInfo& info, const std::string& destination,
                      UINT first, UINT last) {
    const CDocument* pDoc = view.GetDocument();
    if (dc.StartDoc(pDoc != nullptr ? pDoc->GetTitle().c_str() : "") <= 0) {
        return destination + LoadString(AFX_IDP_FAILED_TO_START_PRINTING);
    }
    for (UINT page = first;; ++page) {
        info.m_nCurPage = page;
        if (dc.StartPage() <= 0) {
            dc.AbortDoc();
            return destination + LoadString(AFX_IDP_PRINT_FAILED);
        }
        info.m_rectDraw = {0, 0, dc.GetDeviceCaps(HORZRES), dc.GetDeviceCaps(VERTRES)};
        view.OnPrint(&dc, &info);
        dc.EndPage();
        if (page == last) {
            break;
        }
    }
    return dc.EndDoc() > 0 ? "" : destination + LoadString(AFX_IDP_PRINT_FAILED);
}

// Why the job's file could not be written, in the user's words for it.
std::string DescribeWriteFailure(const std::string& destination, const CFileException& error) {
    return destination + LoadString(AFX_IDP_FAILED_TO_WRITE) + DescribeFileError(error);
}

// Prints the pages first..last. A PDF file is written to a fresh file
// beside it, which takes its place only once every page went out, so a job
// that fails leaves the file before it as it was.
std::string SpoolPages(CView& view, CDC& dc, CPrintInfo& info, QPrinter& printer, UINT first,
                       UINT last) {
    const std::string destination = Destination(printer);
    if (WritesOverDocument(printer, view.GetDocument())) {
        return destination + LoadString(AFX_IDP_PRINT_OVER_DOCUMENT);
    }
    if (!PrintsToPdf(printer)) {
        return SendPages(view, dc, info, destination, first, last);
    }
    const QString target = printer.outputFileName();
    CReplacementFile output;
    CFileException error;
    if (!output.Open(target.toLocal8Bit().constData(), &error)) {
        return DescribeWriteFailure(destination, error);
    }
    printer.setOutputFileName(QString::fromLocal8Bit(output.GetTempPath()));
    std::string failure = SendPages(view, dc, info, destination, first, last);
    printer.setOutputFileName(target);
    if (failure.empty() && !output.Commit(&error)) {
        failure = DescribeWriteFailure(destination, error);
    }
    return failure;
}

} // namespace

// ---- the print dialog and the print record ----

CPrintDialog::CPrintDialog(BOOL bPrintSetupOnly) : CDialog(0), m_bPrintSetupOnly(bPrintSetupOnly) {}

INT_PTR CPrintDialog::DoModal() {
    QPrinter* printer = AfxGetApp()->GetPrinter();
    printer->setPrintRange(QPrinter::AllPages); // every dialog starts at all pages
    auto* dialog = new QPrintDialog(printer, OwnerWidget());
    const UINT command = m_bPrintSetupOnly ? ID_FILE_PRINT_SETUP : ID_FILE_PRINT;
    if (const std::string title = ExtractSubString(LoadString(command), 1); !title.empty()) {
        dialog->setWindowTitle(QString::fromStdString(title));
    }
    QAbstractPrintDialog::PrintDialogOptions options =
        QAbstractPrintDialog::PrintToFile | QAbstractPrintDialog::PrintShowPageSize;
    if (!m_bPrintSetupOnly) {
        options |= QAbstractPrintDialog::PrintPageRange | QAbstractPrintDialog::PrintCollateCopies;
        if ((m_pd.Flags & PD_NOSELECTION) == 0) {
            options |= QAbstractPrintDialog::PrintSelection;
        }
    }
    dialog->setOptions(options);
    dialog->setMinMax(int(m_pd.nMinPage), int(std::min<UINT>(m_pd.nMaxPage, INT_MAX)));
    if (m_bPrintSetupOnly) {
        // The set-up only chooses; it prints nothing.
        if (auto* buttons = dialog->findChild<QDialogButtonBox*>()) {
            buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("OK"));
        }
    }
    AttachDialog(dialog);
    const INT_PTR result = RunModalLoop();
    const bool range = printer->printRange() == QPrinter::PageRange && printer->fromPage() > 0;
    if (result == IDOK && range) {
        m_pd.Flags |= PD_PAGENUMS;
        m_pd.nFromPage = UINT(printer->fromPage());
        m_pd.nToPage = UINT(printer->toPage());
    } else {
        m_pd.Flags &= ~PD_PAGENUMS;
    }
    const bool selection = printer->printRange() == QPrinter::Selection;
    m_pd.Flags =
        result == IDOK && selection ? m_pd.Flags | PD_SELECTION : m_pd.Flags & ~PD_SELECTION;
    return result;
}

CPrintInfo::CPrintInfo() : m_pPD(std::make_unique<CPrintDialog>(FALSE)) {}

CPrintInfo::~CPrintInfo() = default;

UINT CPrintInfo::GetFromPage() const {
    return (m_pPD->m_pd.Flags & PD_PAGENUMS) ? m_pPD->m_pd.nFromPage : GetMinPage();
}

UINT CPrintInfo::GetToPage() const {
    return (m_pPD->m_pd.Flags & PD_PAGENUMS) ? m_pPD->m_pd.nToPage : GetMaxPage();
}

// ---- the application's printer ----

QPrinter* CWinApp::GetPrinter() {
    if (!m_pPrinter) {
        m_pPrinter = std::make_unique<QPrinter>(QPrinter::HighResolution);
    }
    return m_pPrinter.get();
}

BOOL CWinApp::SelectPrinter(const std::string& name) {
    const QString printerName = QString::fromLocal8Bit(name);
    QPrinter* printer = GetPrinter();
    if (printerName.endsWith(QStringLiteral(".pdf"), Qt::CaseInsensitive)) {
        printer->setOutputFormat(QPrinter::PdfFormat);
        printer->setOutputFileName(printerName);
        return TRUE;
    }
    if (QPrinterInfo::printerInfo(printerName).isNull()) {
        return FALSE;
    }
    printer->setOutputFileName(QString());
    printer->setOutputFormat(QPrinter::NativeFormat);
    printer->setPrinterName(printerName);
    return TRUE;
}

BOOL CWinApp::HasPrinter() {
    const QPrinter* printer = GetPrinter();
    if (PrintsToPdf(*printer)) {
        return !printer->outputFileName().isEmpty();
    }
    return printer->isValid() && !printer->printerName().isEmpty();
}

void CWinApp::OnFilePrintSetup() {
    CPrintDialog dialog(TRUE);
    dialog.DoModal();
}

// ---- the view's print job ----

BOOL CView::OnPreparePrinting(CPrintInfo* pInfo) {
    return DoPreparePrinting(pInfo);
}

void CView::OnBeginPrinting(CDC*, CPrintInfo*) {}

void CView::OnPrint(CDC* pDC, CPrintInfo*) {
    OnDraw(pDC);
}

void CView::OnEndPrinting(CDC*, CPrintInfo*) {}

BOOL CView::DoPreparePrinting(CPrintInfo* pInfo) {
    CWinApp* pApp = AfxGetApp();
    if (!pInfo->m_bDirect && !pInfo->m_bPreview) {
        return pInfo->m_pPD->DoModal() == IDOK;
    }
    if (pApp->HasPrinter()) {
        return TRUE;
    }
    if (pInfo->m_bDirect) {
        ReportPrintFailure(LoadString(AFX_IDP_NO_PRINTER));
        return FALSE;
    }
    // A preview needs a page to show: without a printer the user chooses
    // one first, a PDF file among them.
    CPrintDialog setup(TRUE);
    return setup.DoModal() == IDOK && pApp->HasPrinter();
}

void CView::OnFilePrint() {
    CPrintInfo info;
    info.m_bDirect = GetCurrentCommand() == ID_FILE_PRINT_DIRECT;
    if (!OnPreparePrinting(&info)) {
        return;
    }
    QPrinter* printer = AfxGetApp()->GetPrinter();
    CDC dc;
    dc.AttachPrinter(printer);
    OnBeginPrinting(&dc, &info);
    const UINT first = std::max(info.GetFromPage(), info.GetMinPage());
    const UINT last = std::min(info.GetToPage(), info.GetMaxPage());
    // A job without pages sends nothing at all, and says so.
    const std::string failure = first <= last
                                    ? SpoolPages(*this, dc, info, *printer, first, last)
                                    : DocumentName(GetDocument()) + LoadString(AFX_IDP_NO_PAGES);
    if (!failure.empty()) {
        ReportPrintFailure(failure);
    }
    OnEndPrinting(&dc, &info);
}

void AfxSetPrintFailureHook(std::function<void(const std::string&)> hook) {
    g_printFailureHook = std::move(hook);
}
