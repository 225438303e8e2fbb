// Printing: the print dialog and its record, and the record of one print
// job or preview. The job itself is the view's (CView::OnFilePrint, the
// preview CView::OnFilePrintPreview); the printer jobs go to is the
// application's (CWinApp::GetPrinter).
#pragma once

#include "platform/ui/dialog.h"

#include <climits>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

constexpr DWORD PD_ALLPAGES = 0x0000;
constexpr DWORD PD_SELECTION = 0x0001;
constexpr DWORD PD_PAGENUMS = 0x0002;
constexpr DWORD PD_NOSELECTION = 0x0004;

// The print dialog's record. Page numbers are 32-bit: a long file runs to
// hundreds of thousands of pages.
struct PRINTDLG {
    // The dialog offers the selection only when the view clears
    // PD_NOSELECTION; PD_SELECTION says the user chose it.
    DWORD Flags = PD_ALLPAGES | PD_NOSELECTION;
    UINT nFromPage = 1;
    UINT nToPage = UINT_MAX;
    UINT nMinPage = 1;
    UINT nMaxPage = UINT_MAX; // not known until the job has begun
};

// Qt's print dialog on the application's printer: a printer of the system
// or a PDF file, the paper, and for printing also copies and pages. What the
// user chooses becomes the application's printer.
class CPrintDialog : public CDialog {
public:
    // bPrintSetupOnly: the printer set-up, without pages or copies.
    explicit CPrintDialog(BOOL bPrintSetupOnly);

    // IDOK or IDCANCEL. On IDOK m_pd holds the pages chosen.
    INT_PTR DoModal() override;
    BOOL PrintSelection() const { return (m_pd.Flags & PD_SELECTION) != 0; }

    PRINTDLG m_pd;

private:
    BOOL m_bPrintSetupOnly;
};

class CPrintInfo {
public:
    CPrintInfo();
    ~CPrintInfo();

    void SetMaxPage(UINT nMaxPage) { m_pPD->m_pd.nMaxPage = nMaxPage; }
    UINT GetMinPage() const { return m_pPD->m_pd.nMinPage; }
    UINT GetMaxPage() const { return m_pPD->m_pd.nMaxPage; }
    // The pages chosen in the dialog, else all of them.
    UINT GetFromPage() const;
    UINT GetToPage() const;

    std::unique_ptr<CPrintDialog> m_pPD;
    BOOL m_bDirect = FALSE;  // the default printer, without a dialog
    BOOL m_bPreview = FALSE; // for the preview, not for paper
    UINT m_nCurPage = 1;
    // The page's drawing rectangle in the printer's pixels: its printable area.
    RECT m_rectDraw = {0, 0, 0, 0};
    // The stretch of its rows [m_nFirstRow, m_nEndRow) that the view prints,
    // set in OnBeginPrinting for OnPrint; kept with the job, since a
    // preview draws its pages long after.
    std::int64_t m_nFirstRow = 0;
    std::int64_t m_nEndRow = 0;
};

// How a print job's failures reach the user: a message box, unless the
// program sets a hook of its own (for printing without a window); an empty
// hook restores the message box.
void AfxSetPrintFailureHook(std::function<void(const std::string&)> hook);
