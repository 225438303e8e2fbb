// Dialogs from templates with data exchange, the file-open dialog and
// message boxes. Modal loops can be answered by a hook, so that tests never
// block.
#pragma once

#include "platform/ui/wnd.h"

#include <functional>
#include <string>

class QDialog;
class CDialog;

using INT_PTR = std::intptr_t;

class CDataExchange {
public:
    CDataExchange(CDialog* pDlgWnd, BOOL bSaveAndValidate)
        : m_bSaveAndValidate(bSaveAndValidate), m_pDlgWnd(pDlgWnd) {}
    BOOL m_bSaveAndValidate;
    CDialog* m_pDlgWnd;
};

// Moves a control's text to value (saving) or value to the control.
void DDX_Text(CDataExchange* pDX, int nIDC, std::string& value);

class CDialog : public CWnd {
public:
    explicit CDialog(UINT nIDTemplate, CWnd* pParentWnd = nullptr);
    ~CDialog() override;

    // Builds the dialog from its template, runs OnInitDialog and the modal
    // loop (or the modal hook); returns IDOK, IDCANCEL or -1.
    virtual INT_PTR DoModal();
    virtual BOOL OnInitDialog();
    virtual void DoDataExchange(CDataExchange*) {}
    BOOL UpdateData(BOOL bSaveAndValidate = TRUE);

    std::string GetDlgItemText(int nID) const;
    void SetDlgItemText(int nID, const std::string& text);
    // A control's rectangle in pixels, relative to the client area.
    RECT GetDlgItemRect(int nID) const;
    QDialog* GetDialog() const { return m_pDialog; }

    // Answers every modal loop (dialog boxes and message boxes) instead of
    // the user: called with the dialog built and initialised, returns the
    // result. Pass nullptr to restore the real loops.
    using ModalHook = std::function<int(CDialog&)>;
    static void SetModalHook(ModalHook hook);

protected:
    // The modal loop of a dialog this one shows: the hook's answer when one
    // is set, else IDOK when the user accepts it and IDCANCEL otherwise.
    int RunModalLoop(QDialog* pDialog);

private:
    BOOL CreateFromTemplate();

    UINT m_nIDTemplate;
    CWnd* m_pParentWnd;
    QDialog* m_pDialog = nullptr;
};

constexpr UINT MB_OK = 0x0000;
constexpr UINT MB_ICONEXCLAMATION = 0x0030;
constexpr UINT MB_ICONINFORMATION = 0x0040;

// Shows text in a modal box with the application's name as caption.
// Returns IDOK. A hook set with AfxSetMessageBoxHook answers instead.
int AfxMessageBox(const std::string& text, UINT nType = MB_OK);
using MessageBoxHook = std::function<int(const std::string& text, UINT nType)>;
void AfxSetMessageBoxHook(MessageBoxHook hook);

// The open dialog for one existing file of any type.
class CFileDialog {
public:
    explicit CFileDialog(BOOL bOpenFileDialog, CWnd* pParentWnd = nullptr)
        : m_bOpen(bOpenFileDialog), m_pParentWnd(pParentWnd) {}
    INT_PTR DoModal();
    std::string GetPathName() const { return m_strPathName; }

private:
    BOOL m_bOpen;
    CWnd* m_pParentWnd;
    std::string m_strPathName;
};
