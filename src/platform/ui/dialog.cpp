#include "platform/ui/dialog.h"

#include "platform/ui/app.h"
#include "platform/ui/frame.h"
#include "platform/ui/image.h"
#include "platform/ui/resource.h"

#include <QDialog>
#include <QFileDialog>
#include <QFontMetrics>
#include <QLabel>
#include <QMainWindow>
#include <QMessageBox>
#include <QPushButton>

#include <cstdlib>

namespace {

CDialog::ModalHook g_modalHook;
MessageBoxHook g_messageBoxHook;

QWidget* MainWindowWidget() {
    CWinApp* pApp = AfxGetApp();
    return pApp != nullptr && pApp->m_pMainWnd != nullptr ? pApp->m_pMainWnd->GetMainWindow()
                                                          : nullptr;
}

// Dialog units: a quarter of the font's average character width across,
// an eighth of its height down.
struct DialogUnits {
    int cxChar;
    int cyChar;
    QRect ToPixels(short x, short y, short cx, short cy) const {
        return QRect(x * cxChar / 4, y * cyChar / 8, cx * cxChar / 4, cy * cyChar / 8);
    }
};

DialogUnits UnitsOf(const QFont& font) {
    const QFontMetrics metrics(font);
    const QString alphabet = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
    return {(metrics.horizontalAdvance(alphabet) / 26 + 1) / 2, metrics.height()};
}

QWidget* MakeControl(const DLGITEMTEMPLATE& item, QDialog* pDialog) {
    const std::string cls = item.pszClass;
    const QString text = QString::fromUtf8(item.pszText);
    if (cls == "ICON") {
        auto* label = new QLabel(pDialog);
        label->setPixmap(LoadIcon(UINT(std::atoi(item.pszText))).pixmap(32, 32));
        return label;
    }
    if (cls == "BUTTON" || cls == "DEFPUSHBUTTON") {
        auto* button = new QPushButton(text, pDialog);
        button->setDefault(cls == "DEFPUSHBUTTON");
        const UINT id = item.nID;
        QObject::connect(button, &QPushButton::clicked, pDialog, [pDialog, id] {
            if (id == IDOK) {
                pDialog->accept();
            } else if (id == IDCANCEL) {
                pDialog->reject();
            }
        });
        return button;
    }
    auto* label = new QLabel(text, pDialog);
    label->setTextFormat(Qt::PlainText);
    return label;
}

} // namespace

void DDX_Text(CDataExchange* pDX, int nIDC, std::string& value) {
    if (pDX->m_bSaveAndValidate) {
        value = pDX->m_pDlgWnd->GetDlgItemText(nIDC);
    } else {
        pDX->m_pDlgWnd->SetDlgItemText(nIDC, value);
    }
}

CDialog::CDialog(UINT nIDTemplate, CWnd* pParentWnd)
    : m_nIDTemplate(nIDTemplate), m_pParentWnd(pParentWnd) {}

CDialog::~CDialog() = default;

void CDialog::SetModalHook(ModalHook hook) {
    g_modalHook = std::move(hook);
}

BOOL CDialog::CreateFromTemplate() {
    const CResourceTable* resources = AfxGetResourceHandle();
    const DLGTEMPLATE* dlg = resources ? resources->FindDialog(m_nIDTemplate) : nullptr;
    if (dlg == nullptr) {
        return FALSE;
    }
    QWidget* parent = m_pParentWnd != nullptr ? m_pParentWnd->GetOuterWidget() : MainWindowWidget();
    m_pDialog = new QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                                        Qt::WindowCloseButtonHint);
    m_pDialog->setWindowTitle(QString::fromUtf8(dlg->pszCaption));
    // The Japanese proportional face stands in for a face the system lacks.
    QFont font;
    font.setFamilies({QString::fromUtf8(dlg->pszFace), QStringLiteral("IPAPGothic")});
    font.setPointSize(dlg->nPointSize);
    m_pDialog->setFont(font);
    const DialogUnits units = UnitsOf(font);
    m_pDialog->setFixedSize(units.ToPixels(0, 0, dlg->cx, dlg->cy).size());
    for (int i = 0; i < dlg->nItems; ++i) {
        const DLGITEMTEMPLATE& item = dlg->pItems[i];
        QWidget* control = MakeControl(item, m_pDialog);
        control->setGeometry(units.ToPixels(item.x, item.y, item.cx, item.cy));
        control->setProperty("dialogItemId", item.nID);
    }
    Attach(m_pDialog);
    return TRUE;
}

INT_PTR CDialog::DoModal() {
    if (!CreateFromTemplate()) {
        return -1;
    }
    OnInitDialog();
    const int result = RunModalLoop(m_pDialog);
    if (result == IDOK) {
        UpdateData(TRUE);
    }
    delete m_pDialog;
    m_pDialog = nullptr;
    return result;
}

int CDialog::RunModalLoop(QDialog* pDialog) {
    if (g_modalHook) {
        return g_modalHook(*this);
    }
    return pDialog->exec() == QDialog::Accepted ? IDOK : IDCANCEL;
}

BOOL CDialog::OnInitDialog() {
    return UpdateData(FALSE);
}

BOOL CDialog::UpdateData(BOOL bSaveAndValidate) {
    CDataExchange dx(this, bSaveAndValidate);
    DoDataExchange(&dx);
    return TRUE;
}

namespace {

QWidget* FindItem(QDialog* pDialog, int nID) {
    if (pDialog == nullptr) {
        return nullptr;
    }
    for (QWidget* child : pDialog->findChildren<QWidget*>()) {
        if (child->property("dialogItemId").toInt() == nID) {
            return child;
        }
    }
    return nullptr;
}

} // namespace

std::string CDialog::GetDlgItemText(int nID) const {
    QWidget* item = FindItem(m_pDialog, nID);
    if (auto* label = qobject_cast<QLabel*>(item)) {
        return label->text().toStdString();
    }
    if (auto* button = qobject_cast<QPushButton*>(item)) {
        return button->text().toStdString();
    }
    return "";
}

void CDialog::SetDlgItemText(int nID, const std::string& text) {
    QWidget* item = FindItem(m_pDialog, nID);
    if (auto* label = qobject_cast<QLabel*>(item)) {
        label->setText(QString::fromStdString(text));
    } else if (auto* button = qobject_cast<QPushButton*>(item)) {
        button->setText(QString::fromStdString(text));
    }
}

RECT CDialog::GetDlgItemRect(int nID) const {
    const QWidget* item = FindItem(m_pDialog, nID);
    if (item == nullptr) {
        return {0, 0, 0, 0};
    }
    const QRect r = item->geometry();
    return {r.left(), r.top(), r.right() + 1, r.bottom() + 1};
}

// ---- message boxes and the open dialog ----

void AfxSetMessageBoxHook(MessageBoxHook hook) {
    g_messageBoxHook = std::move(hook);
}

int AfxMessageBox(const std::string& text, UINT nType) {
    if (g_messageBoxHook) {
        return g_messageBoxHook(text, nType);
    }
    const QString caption = QString::fromStdString(AfxGetApp() ? AfxGetApp()->GetAppName() : "");
    QMessageBox box(nType & MB_ICONINFORMATION ? QMessageBox::Information : QMessageBox::Warning,
                    caption, QString::fromStdString(text), QMessageBox::Ok, MainWindowWidget());
    box.exec();
    return IDOK;
}

INT_PTR CFileDialog::DoModal() {
    QWidget* parent = m_pParentWnd != nullptr ? m_pParentWnd->GetOuterWidget() : nullptr;
    const QString path =
        m_bOpen ? QFileDialog::getOpenFileName(parent, QStringLiteral("開く"), QString(),
                                               QStringLiteral("すべてのファイル (*)"))
                : QString();
    m_strPathName = path.toStdString();
    return path.isEmpty() ? IDCANCEL : IDOK;
}
