#include "platform/ui/commdlg.h"

#include "platform/core/sjis.h"
#include "platform/gdi/face.h"
#include "platform/ui/dc.h"
#include "platform/ui/dlgcontrols.h"
#include "platform/ui/resource.h"

#include <QComboBox>
#include <QDialog>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPixmap>
#include <QPushButton>
#include <QRegularExpression>
#include <QRegularExpressionValidator>
#include <QSpinBox>
#include <QToolButton>
#include <QVBoxLayout>

#include <cstdlib>
#include <cstring>
#include <functional>

namespace {

constexpr BYTE VARIABLE_PITCH = 2;
// Sizes a face can be chosen at, in tenths of a point.
constexpr int MIN_TENTHS = 10;
constexpr int MAX_TENTHS = 16380;
const int LISTED_SIZES[] = {8, 9, 10, 11, 12, 14, 16, 18, 20, 22, 24, 26, 28, 36, 48, 72};
constexpr int STYLE_COUNT = 4;

// The basic colours, 0xRRGGBB, eight to a row.
constexpr unsigned BASIC_COLORS[CHOOSECOLOR_BASIC_COUNT] = {
    0x000000, 0x808080, 0x800000, 0x808000, 0x008000, 0x008080, 0x000080, 0x800080,
    0xC0C0C0, 0xFFFFFF, 0xFF0000, 0xFFFF00, 0x00FF00, 0x00FFFF, 0x0000FF, 0xFF00FF,
    0xFF8080, 0xFFFF80, 0x80FF80, 0x80FFFF, 0x8080FF, 0xFF80FF, 0xFFC080, 0xC0C0FF,
    0x804040, 0x808040, 0x408040, 0x408080, 0x404080, 0x804080, 0x804000, 0x004080,
    0x400000, 0x404000, 0x004000, 0x004040, 0x000040, 0x400040, 0xFF8000, 0x0080FF,
    0x404040, 0xA0A0A0, 0xE0E0E0, 0xFFE0E0, 0xE0FFE0, 0xE0E0FF, 0xFFFFE0, 0xFFE0FF,
};

int ScreenDpi() {
    CWindowDC screen(nullptr);
    const int dpi = screen.GetDeviceCaps(LOGPIXELSY);
    return dpi > 0 ? dpi : 96;
}

// a * b / c rounded to the nearest whole number, for a, b >= 0 and c > 0.
int MulDiv(int a, int b, int c) {
    return int(((long long)a * b + c / 2) / c);
}

// A face whose characters all take one width: the system says so, or its
// narrow and wide letters measure the same.
bool IsFixedPitch(const QString& family) {
    if (QFontDatabase::isFixedPitch(family)) {
        return true;
    }
    QFont font(family);
    font.setPixelSize(16);
    const QFontMetrics metrics(font);
    const int width = metrics.horizontalAdvance(QLatin1Char('i'));
    return width > 0 && metrics.horizontalAdvance(QLatin1Char('W')) == width &&
           metrics.horizontalAdvance(QLatin1Char('m')) == width;
}

QString SizeText(int tenths) {
    return tenths % 10 == 0 ? QString::number(tenths / 10)
                            : QStringLiteral("%1.%2").arg(tenths / 10).arg(tenths % 10);
}

// Points with at most one decimal, in tenths; 0 for anything else.
int ParseTenths(const QString& text) {
    static const QRegularExpression number(QStringLiteral("^\\s*(\\d{1,4})(?:\\.(\\d)?)?\\s*$"));
    const QRegularExpressionMatch match = number.match(text);
    if (!match.hasMatch()) {
        return 0;
    }
    return match.captured(1).toInt() * 10 + match.captured(2).toInt();
}

// Field nField of the string nID.
QString Field(UINT nID, int nField) {
    return QString::fromStdString(ExtractSubString(LoadString(nID), nField));
}

QLabel* BuddyLabel(const QString& text, QWidget* buddy) {
    auto* label = new QLabel(text);
    label->setBuddy(buddy);
    return label;
}

// OK and Cancel at the dialog's foot, OK the default.
QHBoxLayout* ButtonRow(QWidget* pDialog, const std::function<void(UINT)>& onClick) {
    auto* row = new QHBoxLayout;
    row->addStretch();
    for (const auto& [id, field] : {std::pair{IDOK, 0}, std::pair{IDCANCEL, 1}}) {
        auto* button = new QPushButton(Field(AFX_IDS_OK_CANCEL, field), pDialog);
        button->setDefault(id == IDOK);
        SetDialogItem(button, id);
        QObject::connect(button, &QPushButton::clicked, pDialog,
                         [onClick, id = id] { onClick(id); });
        row->addWidget(button);
    }
    return row;
}

QPixmap Swatch(COLORREF color, QSize size) {
    QPixmap pixmap(size);
    pixmap.fill(QColor(GetRValue(color), GetGValue(color), GetBValue(color)));
    return pixmap;
}

COLORREF BasicColor(int index) {
    const unsigned rgb = BASIC_COLORS[index];
    return RGB(BYTE(rgb >> 16), BYTE(rgb >> 8), BYTE(rgb));
}

template <typename T> T* Item(const CDialog& dialog, UINT nID) {
    return dynamic_cast<T*>(dialog.GetDlgItem(int(nID)));
}

} // namespace

// ---- the font chooser ----

CFontDialog::CFontDialog(LOGFONTA* lplfInitial, DWORD dwFlags, CWnd* pParentWnd)
    : CDialog(0, pParentWnd), m_cf{lplfInitial, 0, dwFlags | CF_INITTOLOGFONTSTRUCT} {}

INT_PTR CFontDialog::DoModal() {
    CreateDialogBox(LoadString(AFX_IDS_FONT_TITLE));
    BuildControls();
    return RunModalLoop();
}

void CFontDialog::BuildControls() {
    QDialog* dialog = GetDialog();
    auto* faces = new QListWidget(dialog);
    for (const QString& family : QFontDatabase::families()) {
        if (!QFontDatabase::isPrivateFamily(family) &&
            (!(m_cf.Flags & CF_FIXEDPITCHONLY) || IsFixedPitch(family))) {
            faces->addItem(family);
        }
    }
    auto* styles = new QListWidget(dialog);
    for (int style = 0; style < STYLE_COUNT; ++style) {
        styles->addItem(Field(AFX_IDS_FONT_STYLES, style));
    }
    auto* sizes = new QComboBox(dialog);
    sizes->setEditable(true);
    sizes->setInsertPolicy(QComboBox::NoInsert);
    for (int size : LISTED_SIZES) {
        sizes->addItem(QString::number(size));
    }
    auto* sample = new QLabel(QString::fromStdString(LoadString(AFX_IDS_FONT_SAMPLE)));
    sample->setAlignment(Qt::AlignCenter);
    sample->setMinimumHeight(60);
    SetDialogItem(faces, ID_CHOOSEFONT_FACE);
    SetDialogItem(styles, ID_CHOOSEFONT_STYLE);
    SetDialogItem(sizes, ID_CHOOSEFONT_SIZE);
    SetDialogItem(sample, ID_CHOOSEFONT_SAMPLE);

    auto* grid = new QGridLayout;
    grid->addWidget(BuddyLabel(Field(AFX_IDS_FONT_LABELS, 0), faces), 0, 0);
    grid->addWidget(BuddyLabel(Field(AFX_IDS_FONT_LABELS, 1), styles), 0, 1);
    grid->addWidget(BuddyLabel(Field(AFX_IDS_FONT_LABELS, 2), sizes), 0, 2);
    grid->addWidget(faces, 1, 0);
    grid->addWidget(styles, 1, 1);
    grid->addWidget(sizes, 1, 2, Qt::AlignTop);
    auto* sampleBox = new QGroupBox(Field(AFX_IDS_FONT_LABELS, 3));
    (new QVBoxLayout(sampleBox))->addWidget(sample);
    auto* layout = new QVBoxLayout(dialog);
    layout->addLayout(grid);
    layout->addWidget(sampleBox);
    layout->addLayout(ButtonRow(dialog, [this](UINT nID) { OnCmdMsg(nID, nullptr); }));

    QObject::connect(faces, &QListWidget::currentRowChanged, dialog, [this] { ShowSample(); });
    QObject::connect(styles, &QListWidget::currentRowChanged, dialog, [this] { ShowSample(); });
    QObject::connect(sizes, &QComboBox::currentTextChanged, dialog, [this] { ShowSample(); });
}

BOOL CFontDialog::OnInitDialog() {
    const LOGFONTA& lf = *m_cf.lpLogFont;
    // The face the record is drawn with, which may stand in for its own.
    auto* faces = Item<QListWidget>(*this, ID_CHOOSEFONT_FACE);
    const QList<QListWidgetItem*> found = faces->findItems(ResolveFamily(lf), Qt::MatchFixedString);
    if (!found.isEmpty()) {
        faces->setCurrentItem(found.front());
    }
    Item<QListWidget>(*this, ID_CHOOSEFONT_STYLE)
        ->setCurrentRow((lf.lfWeight >= FW_BOLD ? 2 : 0) | (lf.lfItalic ? 1 : 0));
    // A size in whole pixels stands for several in tenths of a point: the
    // caller's own tenths, when it gives them, come back unchanged on OK.
    int tenths = m_cf.iPointSize;
    if (tenths <= 0 && lf.lfHeight != 0) {
        tenths = MulDiv(std::abs(lf.lfHeight), 720, ScreenDpi());
    }
    if (tenths > 0) {
        Item<QComboBox>(*this, ID_CHOOSEFONT_SIZE)->setEditText(SizeText(tenths));
    }
    ShowSample();
    return TRUE;
}

void CFontDialog::ShowSample() {
    const QListWidgetItem* face = Item<QListWidget>(*this, ID_CHOOSEFONT_FACE)->currentItem();
    const int style = Item<QListWidget>(*this, ID_CHOOSEFONT_STYLE)->currentRow();
    const int tenths = ParseTenths(Item<QComboBox>(*this, ID_CHOOSEFONT_SIZE)->currentText());
    QFont font = GetDialog()->font();
    if (face != nullptr) {
        font.setFamily(face->text());
    }
    font.setItalic(style >= 0 && (style & 1));
    font.setBold(style >= 0 && (style & 2));
    if (tenths >= MIN_TENTHS && tenths <= MAX_TENTHS) {
        font.setPointSizeF(tenths / 10.0);
    }
    Item<QLabel>(*this, ID_CHOOSEFONT_SAMPLE)->setFont(font);
}

void CFontDialog::OnOK() {
    auto* sizes = Item<QComboBox>(*this, ID_CHOOSEFONT_SIZE);
    const int tenths = ParseTenths(sizes->currentText());
    if (tenths < MIN_TENTHS || tenths > MAX_TENTHS) {
        AfxMessageBox(LoadString(AFX_IDP_FONT_SIZE_RANGE), MB_ICONEXCLAMATION);
        sizes->setFocus(Qt::OtherFocusReason);
        return;
    }
    LOGFONTA& lf = *m_cf.lpLogFont;
    if (const QListWidgetItem* face = Item<QListWidget>(*this, ID_CHOOSEFONT_FACE)->currentItem()) {
        const QString family = face->text();
        const std::string name = EncodeSjis(family.toStdU16String(), LF_FACESIZE - 1);
        std::memset(lf.lfFaceName, 0, sizeof lf.lfFaceName);
        std::memcpy(lf.lfFaceName, name.data(), name.size());
        lf.lfCharSet = QFontDatabase::writingSystems(family).contains(QFontDatabase::Japanese)
                           ? SHIFTJIS_CHARSET
                           : ANSI_CHARSET;
        lf.lfPitchAndFamily = IsFixedPitch(family) ? FIXED_PITCH : VARIABLE_PITCH;
    }
    const int style = std::max(Item<QListWidget>(*this, ID_CHOOSEFONT_STYLE)->currentRow(), 0);
    lf.lfHeight = -MulDiv(tenths, ScreenDpi(), 720);
    lf.lfWidth = 0;
    lf.lfEscapement = 0;
    lf.lfOrientation = 0;
    lf.lfWeight = (style & 2) ? FW_BOLD : FW_NORMAL;
    lf.lfItalic = BYTE(style & 1);
    lf.lfUnderline = 0;
    lf.lfStrikeOut = 0;
    m_cf.iPointSize = tenths;
    EndDialog(IDOK);
}

// ---- the colour chooser ----

CColorDialog::CColorDialog(COLORREF clrInit, DWORD dwFlags, CWnd* pParentWnd)
    : CDialog(0, pParentWnd), m_cc{clrInit, dwFlags} {}

INT_PTR CColorDialog::DoModal() {
    CreateDialogBox(LoadString(AFX_IDS_COLOR_TITLE));
    BuildControls();
    return RunModalLoop();
}

void CColorDialog::BuildControls() {
    QDialog* dialog = GetDialog();
    auto* basic = new QGridLayout;
    basic->setSpacing(3);
    for (int i = 0; i < CHOOSECOLOR_BASIC_COUNT; ++i) {
        auto* swatch = new QToolButton(dialog);
        swatch->setIcon(Swatch(BasicColor(i), QSize(18, 14)));
        swatch->setIconSize(QSize(18, 14));
        swatch->setCheckable(true);
        swatch->setAutoExclusive(true);
        SetDialogItem(swatch, ID_CHOOSECOLOR_BASIC + UINT(i));
        QObject::connect(swatch, &QToolButton::clicked, dialog,
                         [this, i] { ShowColor(BasicColor(i)); });
        basic->addWidget(swatch, i / 8, i % 8);
    }
    auto* parts = new QGridLayout;
    const UINT channels[] = {ID_CHOOSECOLOR_RED, ID_CHOOSECOLOR_GREEN, ID_CHOOSECOLOR_BLUE};
    for (int row = 0; row < 3; ++row) {
        auto* spin = new QSpinBox(dialog);
        spin->setRange(0, 255);
        SetDialogItem(spin, channels[row]);
        QObject::connect(spin, &QSpinBox::valueChanged, dialog,
                         [this] { ShowColor(ShownColor()); });
        parts->addWidget(BuddyLabel(Field(AFX_IDS_COLOR_LABELS, row + 1), spin), row, 0);
        parts->addWidget(spin, row, 1);
    }
    auto* shown = new QLabel(dialog);
    shown->setObjectName(QStringLiteral("shownColor"));
    shown->setFixedSize(64, 48);
    shown->setFrameShape(QFrame::Box);
    parts->addWidget(new QLabel(Field(AFX_IDS_COLOR_LABELS, 4)), 0, 2);
    parts->addWidget(shown, 1, 2, 2, 1);

    auto* layout = new QVBoxLayout(dialog);
    layout->addWidget(
        BuddyLabel(Field(AFX_IDS_COLOR_LABELS, 0), GetDlgItem(int(ID_CHOOSECOLOR_BASIC))));
    layout->addLayout(basic);
    layout->addLayout(parts);
    layout->addLayout(ButtonRow(dialog, [this](UINT nID) { OnCmdMsg(nID, nullptr); }));
}

BOOL CColorDialog::OnInitDialog() {
    ShowColor(m_cc.rgbResult);
    return TRUE;
}

COLORREF CColorDialog::ShownColor() const {
    const auto part = [this](UINT nID) { return BYTE(Item<QSpinBox>(*this, nID)->value()); };
    return RGB(part(ID_CHOOSECOLOR_RED), part(ID_CHOOSECOLOR_GREEN), part(ID_CHOOSECOLOR_BLUE));
}

void CColorDialog::ShowColor(COLORREF color) {
    const std::pair<UINT, BYTE> parts[] = {{ID_CHOOSECOLOR_RED, GetRValue(color)},
                                           {ID_CHOOSECOLOR_GREEN, GetGValue(color)},
                                           {ID_CHOOSECOLOR_BLUE, GetBValue(color)}};
    for (const auto& [id, value] : parts) {
        auto* spin = Item<QSpinBox>(*this, id);
        const QSignalBlocker quiet(spin);
        spin->setValue(value);
    }
    // The basic colour shown is marked, and none when it is not one of them.
    for (int i = 0; i < CHOOSECOLOR_BASIC_COUNT; ++i) {
        auto* swatch = Item<QToolButton>(*this, ID_CHOOSECOLOR_BASIC + UINT(i));
        swatch->setAutoExclusive(false);
        swatch->setChecked(BasicColor(i) == color);
        swatch->setAutoExclusive(true);
    }
    auto* shown = GetDialog()->findChild<QLabel*>(QStringLiteral("shownColor"));
    shown->setPixmap(Swatch(color, shown->size()));
}

void CColorDialog::OnOK() {
    m_cc.rgbResult = ShownColor();
    EndDialog(IDOK);
}
