// Dialogs from templates with data exchange and validation, the file-open
// dialog and message boxes. Modal loops can be answered by a hook, so that
// tests never block.
#pragma once

#include "platform/ui/ids.h"
#include "platform/ui/wnd.h"

#include <functional>
#include <string>
#include <vector>

class QDialog;
class QWidget;
class CDialog;

using INT_PTR = std::intptr_t;

// One run of a dialog's data exchange: controls to members when saving and
// validating, members to controls otherwise. The first step that fails
// ends it: the later steps do nothing.
class CDataExchange {
public:
    CDataExchange(CDialog* pDlgWnd, BOOL bSaveAndValidate)
        : m_bSaveAndValidate(bSaveAndValidate), m_pDlgWnd(pDlgWnd) {}

    // The control a failing validation returns to: an edit field gets its
    // text selected.
    void PrepareCtrl(int nIDC);
    void PrepareEditCtrl(int nIDC);
    // Stops the exchange; when saving, the focus goes back to the control
    // prepared last.
    void Fail();

    BOOL m_bSaveAndValidate;
    CDialog* m_pDlgWnd;
    BOOL m_bFailed = FALSE;

private:
    int m_nIDLastControl = 0;
    BOOL m_bEditLastControl = FALSE;
};

// A control's text, as it stands, to value (saving) or value to the control.
void DDX_Text(CDataExchange* pDX, int nIDC, std::string& value);
// An edit field's unsigned number; saving fails with a message when the
// field holds anything else.
void DDX_Text(CDataExchange* pDX, int nIDC, UINT& value);
// A check box's state: 0 clear, 1 ticked.
void DDX_Check(CDataExchange* pDX, int nIDC, int& value);
// The index of the checked radio button among the radio buttons from nIDC
// up to the next control that starts a group; -1 when none is checked.
void DDX_Radio(CDataExchange* pDX, int nIDC, int& value);
// When saving, fails with a message unless minVal <= value <= maxVal.
void DDV_MinMaxUInt(CDataExchange* pDX, UINT value, UINT minVal, UINT maxVal);

// Sets the range of an up-down control: wParam the lower end, lParam the
// upper end.
constexpr UINT UDM_SETRANGE32 = 0x046F;

class CDialog : public CWnd {
public:
    explicit CDialog(UINT nIDTemplate, CWnd* pParentWnd = nullptr);
    ~CDialog() override;

    // Builds the dialog from its template, runs OnInitDialog and the modal
    // loop (or the modal hook); returns the value given to EndDialog, or -1
    // when the template is missing.
    virtual INT_PTR DoModal();
    // Shows the members in the controls; TRUE gives the focus to the first
    // control with a tab stop.
    virtual BOOL OnInitDialog();
    virtual void DoDataExchange(CDataExchange*) {}
    // FALSE when a validation failed; it has told the user.
    BOOL UpdateData(BOOL bSaveAndValidate = TRUE);
    // Ends the modal loop with nResult.
    void EndDialog(int nResult);

    LRESULT SendDlgItemMessage(int nID, UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
    QDialog* GetDialog() const { return m_pDialog; }
    // The template's controls in template order, which is the tab order.
    const std::vector<QWidget*>& GetDlgItems() const { return m_items; }

    // The seam tests and the bench use to stand in for the user. Answers
    // every modal loop (dialogs, the choosers and message boxes)
    // instead of the user: called with the dialog built, initialised and
    // shown. The hook works the controls as a user would; when the dialog
    // has not ended by then, it ends with the value the hook returns. Pass
    // nullptr to restore the real loops.
    using ModalHook = std::function<int(CDialog&)>;
    static void SetModalHook(ModalHook hook);

protected:
    // OK validates and saves the controls and ends with IDOK; Cancel (also
    // Escape and the close box) ends with IDCANCEL.
    virtual void OnOK();
    virtual void OnCancel();

    // Starts a dialog without template: the choosers add their own controls
    // to it before RunModalLoop.
    QDialog* CreateDialogBox(const std::string& caption);
    // Takes a dialog window that a derived class made of its own kind.
    void AttachDialog(QDialog* pDialog);
    // The widget a new dialog belongs to: the parent window, else the
    // dialog in front, else the main window.
    QWidget* OwnerWidget() const;
    // Runs OnInitDialog and the loop on the dialog made, then destroys it.
    INT_PTR RunModalLoop();

private:
    friend class DialogBox;

    BOOL CreateFromTemplate();

    UINT m_nIDTemplate;
    CWnd* m_pParentWnd;
    QDialog* m_pDialog = nullptr;
    std::vector<QWidget*> m_items;
    int m_nModalResult = -1;
};

constexpr UINT MB_OK = 0x0000;
constexpr UINT MB_ICONEXCLAMATION = 0x0030;
constexpr UINT MB_ICONINFORMATION = 0x0040;

// Shows text in a modal box with the application's name as caption, owned
// by the dialog in front. Returns IDOK. A hook set with AfxSetMessageBoxHook,
// the seam tests use to read what the user would be told, answers instead.
int AfxMessageBox(const std::string& text, UINT nType = MB_OK);
using MessageBoxHook = std::function<int(const std::string& text, UINT nType)>;
void AfxSetMessageBoxHook(MessageBoxHook hook);

// The open dialog for one existing file of any type.
class CFileDialog : public CDialog {
public:
    explicit CFileDialog(CWnd* pParentWnd = nullptr) : CDialog(0, pParentWnd) {}
    INT_PTR DoModal() override;
    std::string GetPathName() const { return m_strPathName; }

    // The folder the dialog starts in.
    std::string m_strInitialDir;

private:
    std::string m_strPathName;
};
