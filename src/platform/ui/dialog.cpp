#include "platform/ui/dialog.h"

#include "platform/ui/appservices.h"
#include "platform/ui/dlgcontrols.h"
#include "platform/ui/frame.h"
#include "platform/ui/resource.h"

#include <QAbstractButton>
#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QDialog>
#include <QFileDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMessageBox>
#include <QRadioButton>

#include <algorithm>
#include <charconv>

namespace {

CDialog::ModalHook g_modalHook;
MessageBoxHook g_messageBoxHook;

QWidget* MainWindowWidget() {
    const CWinAppServices* pApp = AfxGetAppServices();
    CFrameWnd* pFrame = pApp != nullptr ? pApp->GetMainFrame() : nullptr;
    return pFrame != nullptr ? pFrame->GetMainWindow() : nullptr;
}

// What a window without a parent of its own belongs to: the dialog in
// front, else the main window.
QWidget* WidgetInFront() {
    QWidget* modal = QApplication::activeModalWidget();
    return modal != nullptr ? modal : MainWindowWidget();
}

QString Text(const std::string& text) {
    return QString::fromStdString(text);
}

// An unsigned number written in decimal digits and nothing else.
bool ParseUInt(const std::string& text, UINT& value) {
    const char* end = text.data() + text.size();
    const auto result = std::from_chars(text.data(), end, value);
    return !text.empty() && result.ec == std::errc() && result.ptr == end;
}

// The focus chain follows the order the controls were made in.
void FocusFirstTabStop(QWidget* pDialog) {
    for (QWidget* w = pDialog->nextInFocusChain(); w != pDialog; w = w->nextInFocusChain()) {
        if ((w->focusPolicy() & Qt::TabFocus) && w->isEnabled() && w->isVisibleTo(pDialog)) {
            w->setFocus(Qt::TabFocusReason);
            return;
        }
    }
}

} // namespace

// The window of every dialog: OK and Cancel, also from the keyboard and the
// close box, go to the dialog's handlers.
class DialogBox : public QDialog {
public:
    DialogBox(CDialog* pOwner, QWidget* pParent)
        : QDialog(pParent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                               Qt::WindowCloseButtonHint),
          m_pOwner(pOwner) {}

    void accept() override { m_pOwner->OnOK(); }
    void reject() override { m_pOwner->OnCancel(); }

private:
    CDialog* m_pOwner;
};

// ---- data exchange ----

void CDataExchange::PrepareCtrl(int nIDC) {
    m_nIDLastControl = nIDC;
    m_bEditLastControl = FALSE;
}

void CDataExchange::PrepareEditCtrl(int nIDC) {
    m_nIDLastControl = nIDC;
    m_bEditLastControl = TRUE;
}

void CDataExchange::Fail() {
    m_bFailed = TRUE;
    if (!m_bSaveAndValidate) {
        return;
    }
    QWidget* control = m_pDlgWnd->GetDlgItem(m_nIDLastControl);
    if (control == nullptr) {
        return;
    }
    control->setFocus(Qt::OtherFocusReason);
    if (auto* edit = dynamic_cast<QLineEdit*>(control); edit != nullptr && m_bEditLastControl) {
        edit->selectAll();
    }
}

void DDX_Text(CDataExchange* pDX, int nIDC, std::string& value) {
    if (pDX->m_bFailed) {
        return;
    }
    pDX->PrepareEditCtrl(nIDC);
    if (pDX->m_bSaveAndValidate) {
        value = pDX->m_pDlgWnd->GetDlgItemText(nIDC);
    } else {
        pDX->m_pDlgWnd->SetDlgItemText(nIDC, value);
    }
}

void DDX_Text(CDataExchange* pDX, int nIDC, UINT& value) {
    if (pDX->m_bFailed) {
        return;
    }
    pDX->PrepareEditCtrl(nIDC);
    if (!pDX->m_bSaveAndValidate) {
        pDX->m_pDlgWnd->SetDlgItemText(nIDC, std::to_string(value));
        return;
    }
    UINT parsed = 0;
    if (!ParseUInt(pDX->m_pDlgWnd->GetDlgItemText(nIDC), parsed)) {
        AfxMessageBox(LoadString(AFX_IDP_PARSE_INT), MB_ICONEXCLAMATION);
        pDX->Fail();
        return;
    }
    value = parsed;
}

void DDX_Check(CDataExchange* pDX, int nIDC, int& value) {
    if (pDX->m_bFailed) {
        return;
    }
    pDX->PrepareCtrl(nIDC);
    auto* box = dynamic_cast<QCheckBox*>(pDX->m_pDlgWnd->GetDlgItem(nIDC));
    if (box == nullptr) {
        return;
    }
    if (pDX->m_bSaveAndValidate) {
        value = box->isChecked() ? 1 : 0;
    } else {
        box->setChecked(value != 0);
    }
}

void DDX_Radio(CDataExchange* pDX, int nIDC, int& value) {
    if (pDX->m_bFailed) {
        return;
    }
    pDX->PrepareCtrl(nIDC);
    const std::vector<QWidget*>& items = pDX->m_pDlgWnd->GetDlgItems();
    auto first = std::find_if(items.begin(), items.end(),
                              [nIDC](QWidget* w) { return DialogItemId(w) == UINT(nIDC); });
    if (pDX->m_bSaveAndValidate) {
        value = -1;
    }
    int index = 0;
    for (auto it = first; it != items.end(); ++it) {
        if (it != first && (DialogItemStyle(*it) & WS_GROUP)) {
            break;
        }
        auto* radio = dynamic_cast<QRadioButton*>(*it);
        if (radio == nullptr) {
            continue;
        }
        if (pDX->m_bSaveAndValidate) {
            value = radio->isChecked() ? index : value;
        } else if (QButtonGroup* group = radio->group()) {
            // An exclusive group refuses to clear its checked button.
            group->setExclusive(false);
            radio->setChecked(index == value);
            group->setExclusive(true);
        } else {
            radio->setChecked(index == value);
        }
        ++index;
    }
}

void DDV_MinMaxUInt(CDataExchange* pDX, UINT value, UINT minVal, UINT maxVal) {
    if (pDX->m_bFailed || !pDX->m_bSaveAndValidate || (value >= minVal && value <= maxVal)) {
        return;
    }
    AfxMessageBox(
        AfxFormatStrings(AFX_IDP_PARSE_INT_RANGE, {std::to_string(minVal), std::to_string(maxVal)}),
        MB_ICONEXCLAMATION);
    pDX->Fail();
}

// ---- dialogs ----

CDialog::CDialog(UINT nIDTemplate, CWnd* pParentWnd)
    : m_nIDTemplate(nIDTemplate), m_pParentWnd(pParentWnd) {
    MapCommand(IDOK, [this] { OnOK(); });
    MapCommand(IDCANCEL, [this] { OnCancel(); });
}

CDialog::~CDialog() = default;

void CDialog::SetModalHook(ModalHook hook) {
    g_modalHook = std::move(hook);
}

QWidget* CDialog::OwnerWidget() const {
    return m_pParentWnd != nullptr ? m_pParentWnd->GetOuterWidget() : WidgetInFront();
}

QDialog* CDialog::CreateDialogBox(const std::string& caption) {
    AttachDialog(new DialogBox(this, OwnerWidget()));
    m_pDialog->setWindowTitle(Text(caption));
    return m_pDialog;
}

void CDialog::AttachDialog(QDialog* pDialog) {
    m_pDialog = pDialog;
    m_items.clear();
    Attach(m_pDialog);
}

BOOL CDialog::CreateFromTemplate() {
    const CResourceTable* resources = AfxGetResourceHandle();
    const DLGTEMPLATE* dlg = resources ? resources->FindDialog(m_nIDTemplate) : nullptr;
    if (dlg == nullptr) {
        return FALSE;
    }
    CreateDialogBox(dlg->pszCaption);
    m_items = BuildFromTemplate(m_pDialog, *dlg, [this](UINT nID) { OnCmdMsg(nID, nullptr); });
    return TRUE;
}

INT_PTR CDialog::DoModal() {
    return CreateFromTemplate() ? RunModalLoop() : -1;
}

INT_PTR CDialog::RunModalLoop() {
    m_nModalResult = -1;
    if (OnInitDialog()) {
        FocusFirstTabStop(m_pDialog);
    }
    if (m_nModalResult == -1) {
        if (g_modalHook) {
            m_pDialog->setWindowModality(Qt::ApplicationModal);
            m_pDialog->show();
            const int answer = g_modalHook(*this);
            if (m_nModalResult == -1) {
                EndDialog(answer);
            }
        } else if (m_pDialog->exec() == QDialog::Accepted && m_nModalResult == -1) {
            m_nModalResult = IDOK; // a dialog of Qt's own kind accepted
        }
    }
    delete m_pDialog;
    m_pDialog = nullptr;
    m_items.clear();
    return m_nModalResult == -1 ? IDCANCEL : m_nModalResult;
}

BOOL CDialog::OnInitDialog() {
    UpdateData(FALSE);
    return TRUE;
}

BOOL CDialog::UpdateData(BOOL bSaveAndValidate) {
    CDataExchange dx(this, bSaveAndValidate);
    DoDataExchange(&dx);
    return !dx.m_bFailed;
}

void CDialog::EndDialog(int nResult) {
    m_nModalResult = nResult;
    if (m_pDialog != nullptr) {
        m_pDialog->QDialog::done(nResult);
    }
}

void CDialog::OnOK() {
    if (UpdateData(TRUE)) {
        EndDialog(IDOK);
    }
}

void CDialog::OnCancel() {
    EndDialog(IDCANCEL);
}

std::string CWnd::GetDlgItemText(int nID) const {
    QWidget* item = GetDlgItem(nID);
    if (auto* label = dynamic_cast<QLabel*>(item)) {
        return label->text().toStdString();
    }
    if (auto* button = dynamic_cast<QAbstractButton*>(item)) {
        return button->text().toStdString();
    }
    if (auto* edit = dynamic_cast<QLineEdit*>(item)) {
        return edit->text().toStdString();
    }
    if (auto* box = dynamic_cast<QGroupBox*>(item)) {
        return box->title().toStdString();
    }
    return "";
}

void CWnd::SetDlgItemText(int nID, const std::string& text) {
    QWidget* item = GetDlgItem(nID);
    if (auto* label = dynamic_cast<QLabel*>(item)) {
        label->setText(Text(text));
    } else if (auto* button = dynamic_cast<QAbstractButton*>(item)) {
        button->setText(Text(text));
    } else if (auto* edit = dynamic_cast<QLineEdit*>(item)) {
        edit->setText(Text(text));
    } else if (auto* box = dynamic_cast<QGroupBox*>(item)) {
        box->setTitle(Text(text));
    }
}

UINT CWnd::IsDlgButtonChecked(int nID) const {
    const auto* box = dynamic_cast<QCheckBox*>(GetDlgItem(nID));
    return box != nullptr && box->isChecked() ? 1 : 0;
}

LRESULT CDialog::SendDlgItemMessage(int nID, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* upDown = dynamic_cast<UpDownControl*>(GetDlgItem(nID));
    if (upDown != nullptr && message == UDM_SETRANGE32) {
        upDown->SetRange(int(wParam), int(lParam));
    }
    return 0;
}

// ---- message boxes and the open dialog ----

void AfxSetMessageBoxHook(MessageBoxHook hook) {
    g_messageBoxHook = std::move(hook);
}

int AfxMessageBox(const std::string& text, UINT nType) {
    if (g_messageBoxHook) {
        return g_messageBoxHook(text, nType);
    }
    const CWinAppServices* pApp = AfxGetAppServices();
    const QString caption = Text(pApp != nullptr ? pApp->GetAppName() : "");
    QMessageBox box(nType & MB_ICONINFORMATION ? QMessageBox::Information : QMessageBox::Warning,
                    caption, Text(text), QMessageBox::Ok, WidgetInFront());
    box.exec();
    return IDOK;
}

INT_PTR CFileDialog::DoModal() {
    auto* dialog = new QFileDialog(OwnerWidget(), Text(LoadString(AFX_IDS_OPENFILE)),
                                   QString::fromStdString(m_strInitialDir),
                                   Text(LoadString(AFX_IDS_ALLFILTER)));
    dialog->setAcceptMode(QFileDialog::AcceptOpen);
    dialog->setFileMode(QFileDialog::ExistingFile);
    m_strPathName.clear();
    QObject::connect(dialog, &QFileDialog::fileSelected, dialog,
                     [this](const QString& path) { m_strPathName = path.toStdString(); });
    AttachDialog(dialog);
    const INT_PTR result = RunModalLoop();
    return result == IDOK && !m_strPathName.empty() ? IDOK : IDCANCEL;
}
