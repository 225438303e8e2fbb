#include "platform/ui/dlgcontrols.h"

#include "platform/gdi/face.h"
#include "platform/ui/image.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QEvent>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainterPath>
#include <QPushButton>
#include <QRadioButton>
#include <QRawFont>
#include <QRegularExpressionValidator>
#include <QToolButton>

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace {

const char* const ID_PROPERTY = "dialogItemId";
const char* const STYLE_PROPERTY = "dialogItemStyle";

// a * b / c rounded to the nearest whole number, for a, b, c >= 0.
int MulDiv(int a, int b, int c) {
    return c == 0 ? 0 : int((long long)a * b + c / 2) / c;
}

bool IsButtonClass(const DLGITEMTEMPLATE& item) {
    return std::strcmp(item.pszClass, "BUTTON") == 0;
}

// What the Tab key and clicks may give the focus to.
Qt::FocusPolicy FocusPolicyOf(const DLGITEMTEMPLATE& item) {
    const bool focusable = (IsButtonClass(item) && (item.dwStyle & BS_TYPEMASK) != BS_GROUPBOX) ||
                           std::strcmp(item.pszClass, "EDIT") == 0;
    if (!focusable) {
        return Qt::NoFocus;
    }
    return (item.dwStyle & WS_TABSTOP) ? Qt::StrongFocus : Qt::ClickFocus;
}

// Whether a family draws U+005C as a backslash: ink at the glyph's top
// left and none at its top right, where a yen sign has its two arms.
bool DrawsBackslash(const QString& family) {
    QFont font(family);
    font.setPixelSize(40);
    const QRawFont raw = QRawFont::fromFont(font);
    const quint32 glyph = raw.glyphIndexesForString(QStringLiteral("\\")).value(0);
    const QPainterPath path = raw.pathForGlyph(glyph);
    const QRectF box = path.boundingRect();
    const auto inkedAtTop = [&](double across) {
        return path.contains(box.topLeft() + QPointF(across * box.width(), 0.05 * box.height()));
    };
    return glyph != 0 && inkedAtTop(0.05) && !inkedAtTop(0.95);
}

// An installed family that draws U+005C as a backslash, common ones first;
// empty when there is none. Japanese faces draw it as a yen sign.
QString BackslashFamily() {
    static const QString family = [] {
        QStringList candidates = {QStringLiteral("DejaVu Sans"), QStringLiteral("Liberation Sans"),
                                  QStringLiteral("Noto Sans")};
        candidates += QFontDatabase::families(QFontDatabase::Latin);
        for (const QString& candidate : candidates) {
            if (QFontDatabase::hasFamily(candidate) && DrawsBackslash(candidate)) {
                return candidate;
            }
        }
        return QString();
    }();
    return family;
}

} // namespace

DialogUnits DialogUnits::Of(const QFont& font) {
    const QFontMetrics metrics(font);
    const QString alphabet = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
    return {(metrics.horizontalAdvance(alphabet) / 26 + 1) / 2, metrics.height()};
}

QRect DialogUnits::ToPixels(int x, int y, int cx, int cy) const {
    return QRect(MulDiv(x, cxChar, 4), MulDiv(y, cyChar, 8), MulDiv(cx, cxChar, 4),
                 MulDiv(cy, cyChar, 8));
}

void SetDialogItem(QWidget* pControl, UINT nID, DWORD dwStyle) {
    pControl->setProperty(ID_PROPERTY, nID);
    pControl->setProperty(STYLE_PROPERTY, dwStyle);
}

UINT DialogItemId(const QWidget* pControl) {
    const QVariant id = pControl->property(ID_PROPERTY);
    return id.isValid() ? id.toUInt() : 0;
}

DWORD DialogItemStyle(const QWidget* pControl) {
    return pControl->property(STYLE_PROPERTY).toUInt();
}

QWidget* FindDialogItem(const QWidget* pParent, UINT nID) {
    if (pParent == nullptr) {
        return nullptr;
    }
    for (QWidget* child : pParent->findChildren<QWidget*>()) {
        if (child->property(ID_PROPERTY).isValid() && DialogItemId(child) == nID) {
            return child;
        }
    }
    return nullptr;
}

// ---- building from templates ----

DialogBuilder::DialogBuilder(QWidget* pDialog, const DialogUnits& units, ClickHandler onClick)
    : m_pDialog(pDialog), m_units(units), m_onClick(std::move(onClick)) {}

QWidget* DialogBuilder::Add(const DLGITEMTEMPLATE& item) {
    if (item.dwStyle & WS_GROUP) {
        m_pRadioGroup = nullptr;
    }
    QWidget* control = nullptr;
    if (IsButtonClass(item)) {
        control = MakeButton(item);
    } else if (std::strcmp(item.pszClass, "EDIT") == 0) {
        control = MakeEdit(item);
    } else if (std::strcmp(item.pszClass, UPDOWN_CLASS) == 0) {
        control = new UpDownControl(item.dwStyle, m_pDialog);
    } else {
        control = MakeStatic(item);
    }
    control->setGeometry(m_units.ToPixels(item.x, item.y, item.cx, item.cy));
    control->setFocusPolicy(FocusPolicyOf(item));
    SetDialogItem(control, item.nID, item.dwStyle);
    if (auto* upDown = dynamic_cast<UpDownControl*>(control);
        upDown != nullptr && (item.dwStyle & UDS_AUTOBUDDY)) {
        upDown->SetBuddy(m_pPrevious);
    }
    m_pPrevious = control;
    return control;
}

QWidget* DialogBuilder::MakeButton(const DLGITEMTEMPLATE& item) {
    const QString text = QString::fromUtf8(item.pszText);
    QAbstractButton* button = nullptr;
    switch (item.dwStyle & BS_TYPEMASK) {
    case BS_GROUPBOX:
        return new QGroupBox(text, m_pDialog);
    case BS_AUTOCHECKBOX:
        button = new QCheckBox(text, m_pDialog);
        break;
    case BS_AUTORADIOBUTTON:
        button = new QRadioButton(text, m_pDialog);
        if (m_pRadioGroup == nullptr) {
            m_pRadioGroup = new QButtonGroup(m_pDialog);
        }
        m_pRadioGroup->addButton(button);
        break;
    default: {
        auto* push = new QPushButton(text, m_pDialog);
        push->setDefault((item.dwStyle & BS_TYPEMASK) == BS_DEFPUSHBUTTON);
        button = push;
        break;
    }
    }
    // The builder is gone when the user clicks.
    QObject::connect(button, &QAbstractButton::clicked, m_pDialog,
                     [onClick = m_onClick, id = item.nID] { onClick(id); });
    return button;
}

QWidget* DialogBuilder::MakeStatic(const DLGITEMTEMPLATE& item) {
    auto* label = new QLabel(m_pDialog);
    switch (item.dwStyle & SS_TYPEMASK) {
    case SS_ICON:
        label->setPixmap(LoadIcon(UINT(std::atoi(item.pszText))).pixmap(32, 32));
        break;
    case SS_GRAYRECT:
        label->setAutoFillBackground(true);
        label->setBackgroundRole(QPalette::Dark);
        break;
    default:
        label->setTextFormat(Qt::PlainText);
        label->setText(QString::fromUtf8(item.pszText));
        break;
    }
    return label;
}

QWidget* DialogBuilder::MakeEdit(const DLGITEMTEMPLATE& item) {
    auto* edit = new QLineEdit(QString::fromUtf8(item.pszText), m_pDialog);
    edit->setFrame((item.dwStyle & WS_BORDER) != 0);
    if (item.dwStyle & ES_NUMBER) {
        edit->setValidator(
            new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), edit));
    } else if (const QString family = BackslashFamily(); !family.isEmpty()) {
        // Typed text tells the ASCII backslash from the yen sign; the
        // dialog's face still draws what the first face has not.
        QFont font = m_pDialog->font();
        font.setFamilies({family, font.family()});
        edit->setFont(font);
    }
    return edit;
}

std::vector<QWidget*> BuildFromTemplate(QWidget* pBox, const DLGTEMPLATE& dlg,
                                        DialogBuilder::ClickHandler onClick) {
    // The face stands in for itself as the painter's fonts do.
    QFont font(ResolveFamily(QString::fromUtf8(dlg.pszFace)));
    font.setPointSize(dlg.nPointSize);
    pBox->setFont(font);
    const DialogUnits units = DialogUnits::Of(font);
    pBox->setFixedSize(units.ToPixels(0, 0, dlg.cx, dlg.cy).size());
    DialogBuilder builder(pBox, units, std::move(onClick));
    std::vector<QWidget*> items;
    for (int i = 0; i < dlg.nItems; ++i) {
        items.push_back(builder.Add(dlg.pItems[i]));
    }
    return items;
}

// ---- the up-down control ----

UpDownControl::UpDownControl(DWORD dwStyle, QWidget* pParent)
    : QWidget(pParent), m_dwStyle(dwStyle), m_pUp(new QToolButton(this)),
      m_pDown(new QToolButton(this)) {
    for (QToolButton* arrow : {m_pUp, m_pDown}) {
        arrow->setFocusPolicy(Qt::NoFocus);
        arrow->setAutoRepeat(true);
    }
    m_pUp->setArrowType(Qt::UpArrow);
    m_pDown->setArrowType(Qt::DownArrow);
    QObject::connect(m_pUp, &QToolButton::clicked, this, [this] { Step(1); });
    QObject::connect(m_pDown, &QToolButton::clicked, this, [this] { Step(-1); });
}

void UpDownControl::SetBuddy(QWidget* pBuddy) {
    m_pBuddy = pBuddy;
    if (pBuddy == nullptr) {
        return;
    }
    if (m_dwStyle & UDS_ALIGNRIGHT) {
        // The arrows stand against the buddy's right edge, as tall as it is,
        // outside it: a field here needs more room around its text than
        // the template gives it once the arrows have taken their share.
        const QRect buddy = pBuddy->geometry();
        setGeometry(buddy.right() + 1, buddy.top(), width(), buddy.height());
    }
    if (m_dwStyle & UDS_ARROWKEYS) {
        pBuddy->installEventFilter(this);
    }
}

void UpDownControl::SetRange(int nLower, int nUpper) {
    m_nLower = std::min(nLower, nUpper);
    m_nUpper = std::max(nLower, nUpper);
    m_nPos = std::clamp(m_nPos, m_nLower, m_nUpper);
}

void UpDownControl::Step(int nDelta) {
    auto* edit = (m_dwStyle & UDS_SETBUDDYINT) ? dynamic_cast<QLineEdit*>(m_pBuddy) : nullptr;
    bool shown = false;
    const int number = edit != nullptr ? edit->text().toInt(&shown) : 0;
    const long long from = shown ? number : m_nPos;
    m_nPos = int(std::clamp<long long>(from + nDelta, m_nLower, m_nUpper));
    if (edit != nullptr) {
        edit->setText(QString::number(m_nPos));
    }
}

bool UpDownControl::eventFilter(QObject* pWatched, QEvent* pEvent) {
    if (pWatched == m_pBuddy && pEvent->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(pEvent)->key();
        if (key == Qt::Key_Up || key == Qt::Key_Down) {
            Step(key == Qt::Key_Up ? 1 : -1);
            return true;
        }
    }
    return QWidget::eventFilter(pWatched, pEvent);
}

void UpDownControl::resizeEvent(QResizeEvent*) {
    const int upper = height() / 2;
    m_pUp->setGeometry(0, 0, width(), upper);
    m_pDown->setGeometry(0, upper, width(), height() - upper);
}
