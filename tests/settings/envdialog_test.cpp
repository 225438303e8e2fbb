// The settings dialog in the running program: its controls against dialog
// 130's table, what each control does to the settings, validation of the
// wrap column, and what OK and Cancel leave behind.
#include "envdialog_fixture.h"

#include "platform/ui/dlgcontrols.h"
#include "view/tavoview.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>

namespace {

struct Control {
    UINT id;
    const char* text;
    int x, y, cx, cy;
};

// Dialog 130 in template order: the edit field (which shows the column) and
// the spin (which moves into the field's right end) are checked apart.
const Control TABLE[] = {
    {IDOK, "OK", 7, 187, 40, 12},
    {IDCANCEL, "ｷｬﾝｾﾙ", 51, 187, 40, 12},
    {IDC_STATIC, "ASCII", 7, 9, 20, 8},
    {1001, "Font...", 55, 7, 40, 12},
    {1005, "文字色...", 99, 7, 40, 12},
    {1015, "'\\'を強制的に修正する(&\\)", 143, 7, 108, 10},
    {IDC_STATIC, "JISローマ字", 7, 25, 44, 8},
    {1002, "Font...", 55, 23, 40, 12},
    {1006, "文字色...", 99, 23, 40, 12},
    {1016, "'~'を強制的に修正する(&T)", 143, 23, 108, 10},
    {IDC_STATIC, "旧JIS", 7, 41, 20, 8},
    {1003, "Font...", 55, 39, 40, 12},
    {1007, "文字色...", 99, 39, 40, 12},
    {1018, "全角空白を区別する(&S)", 143, 39, 96, 10},
    {IDC_STATIC, "新JIS", 7, 57, 20, 8},
    {1004, "Font...", 55, 55, 40, 12},
    {1008, "文字色...", 99, 55, 40, 12},
    {1011, "背景色...", 143, 55, 40, 12},
    {IDC_STATIC, "折り返し", 187, 58, 80, 41},
    {1020, "なし", 192, 68, 28, 10},
    {1021, "画面幅", 224, 68, 36, 10},
    {1022, "固定桁", 192, 82, 36, 10},
    {1023, nullptr, 232, 82, 24, 13},
    {1025, nullptr, 232, 87, 8, 14},
    {1019, "行番号を表示する(&L)", 7, 73, 88, 10},
    {1009, "文字色...", 99, 71, 40, 12},
    {1013, "背景色...", 143, 71, 40, 12},
    {1017, "制御コードを表示する(&C)", 7, 89, 104, 10},
    {1012, "背景色...", 143, 87, 40, 12},
    {1014, "", 7, 103, 260, 80},
    {1010, "無地色...", 227, 187, 40, 12},
};

// x * units / divisor, rounded.
int Scaled(int x, int units, int divisor) {
    return (x * units + divisor / 2) / divisor;
}

std::string TextOf(const QWidget* control) {
    if (const auto* label = dynamic_cast<const QLabel*>(control)) {
        return label->text().toStdString();
    }
    if (const auto* box = dynamic_cast<const QGroupBox*>(control)) {
        return box->title().toStdString();
    }
    return dynamic_cast<const QAbstractButton*>(control)->text().toStdString();
}

UINT FocusedId() {
    QWidget* focus = QApplication::focusWidget();
    return focus != nullptr ? DialogItemId(focus) : 0;
}

// Counts the paints a widget receives.
class PaintCounter : public QObject {
public:
    PaintCounter(QWidget* widget, int* count) : m_count(count) { widget->installEventFilter(this); }
    bool eventFilter(QObject*, QEvent* event) override {
        *m_count += event->type() == QEvent::Paint ? 1 : 0;
        return false;
    }

private:
    int* m_count;
};

TEST_F(EnvDialogTest, ControlsFollowTheTableInPlaceTextAndTabOrder) {
    Frame()->UpdateCommandUI();
    EXPECT_TRUE(MenuItem("動作環境")->isEnabled());
    ASSERT_TRUE(Settings([](CEnvDialog& dialog) {
        const QDialog* box = dialog.GetDialog();
        EXPECT_EQ(box->windowTitle().toStdString(), "動作環境");
        // "ＭＳ ゴシック" is drawn as the painter draws it; dialog units are a
        // quarter of its character width and an eighth of its height.
        EXPECT_EQ(box->font().family().toStdString(), "IPAGothic");
        EXPECT_EQ(box->font().pointSize(), 9);
        const int cx = QFontMetrics(box->font()).horizontalAdvance(QLatin1Char('x'));
        const int cy = QFontMetrics(box->font()).height();
        EXPECT_EQ(box->size(), QSize(Scaled(279, cx, 4), Scaled(206, cy, 8)));
        const std::vector<QWidget*>& items = dialog.GetDlgItems();
        ASSERT_EQ(items.size(), std::size(TABLE));
        for (std::size_t i = 0; i < items.size(); ++i) {
            const Control& c = TABLE[i];
            SCOPED_TRACE(i);
            EXPECT_EQ(DialogItemId(items[i]), c.id);
            const QRect rect(Scaled(c.x, cx, 4), Scaled(c.y, cy, 8), Scaled(c.cx, cx, 4),
                             Scaled(c.cy, cy, 8));
            if (c.text != nullptr) {
                EXPECT_EQ(items[i]->geometry(), rect);
                EXPECT_EQ(TextOf(items[i]), c.text);
            }
        }
        // The field keeps its place; the spin takes its right end.
        const QRect field = dialog.GetDlgItem(IDC_WRAP_COLUMN)->geometry();
        EXPECT_EQ(field.topLeft(), QPoint(Scaled(232, cx, 4), Scaled(82, cy, 8)));
        EXPECT_EQ(dialog.GetDlgItem(IDC_WRAP_SPIN)->geometry().topLeft(),
                  QPoint(field.right() + 1, field.top()));
        EXPECT_TRUE(dynamic_cast<QPushButton*>(dialog.GetDlgItem(IDOK))->isDefault());

        // Tab visits every tab stop in template order, then comes back to OK.
        std::vector<UINT> order;
        do {
            order.push_back(FocusedId());
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        } while (FocusedId() != IDOK && order.size() < 40);
        EXPECT_EQ(order, (std::vector<UINT>{IDOK, IDCANCEL, 1001, 1005, 1015, 1002, 1006,
                                            1016, 1003,     1007, 1018, 1004, 1008, 1011,
                                            1023, 1019,     1009, 1013, 1017, 1012, 1010}));
    }));
}

TEST_F(EnvDialogTest, DefaultsOpenWithoutWrappingAtColumn80AndBothCorrectionsTicked) {
    ASSERT_TRUE(Settings([](CEnvDialog& dialog) {
        EXPECT_EQ(FocusedId(), UINT(IDOK));
        EXPECT_TRUE(Checked(dialog, IDC_WRAP_NONE));
        EXPECT_FALSE(Checked(dialog, IDC_WRAP_WINDOW) || Checked(dialog, IDC_WRAP_FIXED));
        EXPECT_EQ(dialog.GetDlgItemText(IDC_WRAP_COLUMN), "80");
        for (UINT id = IDC_FIX_BACKSLASH; id <= IDC_LINE_NUMBERS; ++id) {
            EXPECT_EQ(Checked(dialog, id), id <= IDC_FIX_TILDE) << id;
        }
        // The pane paints control 1014 from the dialog's copy.
        EXPECT_EQ(dialog.m_preview.GetSafeHwnd(), dialog.GetDlgItem(IDC_PREVIEW));
        EXPECT_EQ(dialog.m_preview.m_pEnv, &dialog.m_env);
    }));
}

TEST_F(EnvDialogTest, WrapModeAndColumnMakeTheStoredWrapWord) {
    const std::tuple<UINT, const char*, WORD> cases[] = {
        {IDC_WRAP_WINDOW, "80", 0x4050},
        {IDC_WRAP_FIXED, "100", 0x0064},
        {IDC_WRAP_NONE, "20", 0x8014},
    };
    for (const auto& [radio, column, word] : cases) {
        ASSERT_TRUE(Settings([&, radio = radio, column = column](CEnvDialog& dialog) {
            Click(dialog, radio);
            TypeColumn(dialog, column);
            Click(dialog, IDOK);
        }));
        EXPECT_EQ(Env().wWrap, word);
        const Bytes file = FileBytes();
        ASSERT_EQ(file.size(), 284u);
        EXPECT_EQ(file[280] | file[281] << 8, word);
    }
    // A mode of no meaning opens as the fixed column, and OK stores it so.
    Env().wWrap = 0x2050;
    ASSERT_TRUE(Settings([](CEnvDialog& dialog) {
        EXPECT_TRUE(Checked(dialog, IDC_WRAP_FIXED));
        EXPECT_EQ(dialog.GetDlgItemText(IDC_WRAP_COLUMN), "80");
        Click(dialog, IDOK);
    }));
    EXPECT_EQ(Env().wWrap, 0x0050);
    EXPECT_TRUE(messages.empty());
}

TEST_F(EnvDialogTest, ColumnsOutsideTwentyToNineHundredNinetyNineAreRefusedOnceEach) {
    for (const char* accepted : {"20", "999"}) {
        std::filesystem::remove(EnvPath());
        ASSERT_TRUE(Settings([&](CEnvDialog& dialog) {
            Click(dialog, IDC_WRAP_FIXED);
            for (const char* refused : {"19", "1000"}) {
                TypeColumn(dialog, refused);
                const std::size_t before = messages.size();
                Click(dialog, IDOK);
                EXPECT_EQ(messages.size(), before + 1) << refused;
                EXPECT_TRUE(dialog.GetDialog()->isVisible()) << refused;
            }
            // A check box clicked meanwhile says so too, and still changes the copy.
            Click(dialog, IDC_LINE_NUMBERS);
            EXPECT_TRUE(dialog.m_env.bFlags & ENV_LINE_NUMBERS);
            Click(dialog, IDC_LINE_NUMBERS);
            EXPECT_FALSE(std::filesystem::exists(EnvPath()));
            TypeColumn(dialog, accepted);
            Click(dialog, IDOK);
        }));
        EXPECT_EQ(Env().wWrap, WORD(std::stoi(accepted)));
    }
    ASSERT_EQ(messages.size(), 8u);
    EXPECT_EQ(messages[0], "20 から 999 までの整数を入力してください。");
}

TEST_F(EnvDialogTest, OkUnchangedStillWritesTheFileAndKeepsBitsOfNoMeaning) {
    Env().bFlags = 0xE3;
    Env().reserved1[0] = 0x12;
    Env().reserved1[2] = 0x34;
    Env().reserved2[1] = 0x56;
    const Bytes before = RecordBytes(Env());
    ASSERT_FALSE(std::filesystem::exists(EnvPath()));
    ASSERT_TRUE(Settings([](CEnvDialog& dialog) { Click(dialog, IDOK); }));
    EXPECT_EQ(RecordBytes(Env()), before);
    EXPECT_EQ(FileBytes(), before);
    EXPECT_FALSE(std::filesystem::exists(dir / "tavo.env.tmp"));
}

TEST_F(EnvDialogTest, EachCheckBoxSetsTheBitOfItsIdAndRepaintsThePaneAtOnce) {
    for (UINT id = IDC_FIX_BACKSLASH; id <= IDC_LINE_NUMBERS; ++id) {
        Env().bFlags = 0;
        ASSERT_TRUE(Settings([&](CEnvDialog& dialog) {
            int paints = 0;
            PaintCounter counter(dialog.GetDlgItem(IDC_PREVIEW), &paints);
            Click(dialog, id);
            EXPECT_EQ(dialog.m_env.bFlags, 1 << (id - IDC_FIX_BACKSLASH));
            EXPECT_GT(paints, 0);
            Click(dialog, IDOK);
        }));
        EXPECT_EQ(Env().bFlags, 1 << (id - IDC_FIX_BACKSLASH)) << id;
    }
}

TEST_F(EnvDialogTest, FontButtonsOpenTheChooserInScreenPixelsAndStoreTenthsOfAPoint) {
    for (UINT id = IDC_FONT_ASCII; id <= IDC_FONT_NEWJIS; ++id) {
        const int entry = int(id - IDC_FONT_ASCII);
        CEnvDialog* settings = nullptr;
        chooseFont = [&](CFontDialog& chooser) {
            // 90 tenths at 96 dpi.
            EXPECT_EQ(chooser.m_cf.lpLogFont->lfHeight, 12);
            EXPECT_EQ(chooser.m_cf.Flags & ~CF_INITTOLOGFONTSTRUCT,
                      CF_SCREENFONTS | CF_FIXEDPITCHONLY);
            EXPECT_EQ(chooser.GetDialog()->parentWidget(), settings->GetDialog());
            auto* faces = dynamic_cast<QListWidget*>(chooser.GetDlgItem(ID_CHOOSEFONT_FACE));
            faces->setCurrentItem(faces->findItems("IPAMincho", Qt::MatchExactly).value(0));
            dynamic_cast<QComboBox*>(chooser.GetDlgItem(ID_CHOOSEFONT_SIZE))->setEditText("10.5");
            Click(chooser, IDOK);
        };
        ASSERT_TRUE(Settings([&](CEnvDialog& dialog) {
            settings = &dialog;
            Click(dialog, id);
            Click(dialog, IDOK);
        }));
        for (int i = 0; i < ENV_FONT_COUNT; ++i) {
            const LOGFONTA& font = Env().lfFont[i];
            EXPECT_EQ(font.lfHeight, i <= entry ? 105 : 90) << id << " " << i;
            EXPECT_EQ(FaceNameOf(font), i <= entry ? "IPAMincho"
                                                   : "\x82\x6C\x82\x72\x20\x83\x53"
                                                     "\x83\x56\x83\x62\x83\x4E");
        }
    }
}

TEST_F(EnvDialogTest, ColourButtonsSeedTheChooserAndStoreItsColourInTheirEntry) {
    for (UINT id = IDC_COLOR_ASCII; id <= IDC_COLOR_LINENOBK; ++id) {
        const int entry = int(id - IDC_COLOR_ASCII);
        const COLORREF chosen = RGB(BYTE(entry), 0, 0);
        chooseColor = [&](CColorDialog& chooser) {
            EXPECT_EQ(chooser.m_cc.rgbResult, Env().crColor[entry]);
            Click(chooser, ID_CHOOSECOLOR_BASIC); // black
            dynamic_cast<QSpinBox*>(chooser.GetDlgItem(ID_CHOOSECOLOR_RED))->setValue(entry);
            Click(chooser, IDOK);
        };
        ASSERT_TRUE(Settings([&](CEnvDialog& dialog) {
            Click(dialog, id);
            EXPECT_EQ(dialog.m_env.crColor[entry], chosen);
            Click(dialog, IDOK);
        }));
        EXPECT_EQ(Env().crColor[entry], chosen) << id;
    }
}

TEST_F(EnvDialogTest, CancelLeavesTheRecordTheFileAndTheViewAsTheyWere) {
    ASSERT_TRUE(Start({WriteFile("long.jis", std::string(300, 'x') + "\nshort\n")}));
    WriteEnvFile(RecordBytes(Env()));
    const Bytes record = RecordBytes(Env());
    const QImage view = View()->GetSafeHwnd()->grab().toImage();
    const int rows = Doc()->m_nTotalRows[0];
    chooseFont = [](CFontDialog& chooser) {
        dynamic_cast<QComboBox*>(chooser.GetDlgItem(ID_CHOOSEFONT_SIZE))->setEditText("20");
        Click(chooser, IDOK);
    };
    chooseColor = [](CColorDialog& chooser) {
        Click(chooser, ID_CHOOSECOLOR_BASIC + 10);
        Click(chooser, IDOK);
    };
    ASSERT_TRUE(Settings([&](CEnvDialog& dialog) {
        for (UINT id : {IDC_FONT_ASCII, IDC_COLOR_GROUND, IDC_LINE_NUMBERS, IDC_WRAP_WINDOW}) {
            Click(dialog, id);
        }
        EXPECT_NE(RecordBytes(dialog.m_env), record);
        QTest::keyClick(dialog.GetDialog(), Qt::Key_Escape);
    }));
    EXPECT_EQ(RecordBytes(Env()), record);
    EXPECT_EQ(FileBytes(), record);
    EXPECT_EQ(Doc()->m_nTotalRows[0], rows);
    EXPECT_EQ(View()->GetSafeHwnd()->grab().toImage(), view);
}

TEST_F(EnvDialogTest, OkLaysTheViewOutAgainAndRepaintsIt) {
    ASSERT_TRUE(Start({WriteFile("long.jis", std::string(300, 'x') + "\nshort\n")}));
    const QImage before = View()->GetSafeHwnd()->grab().toImage();
    ASSERT_EQ(Doc()->m_nTotalRows[0], 3);
    ASSERT_TRUE(Settings([](CEnvDialog& dialog) {
        Click(dialog, IDC_WRAP_FIXED);
        TypeColumn(dialog, "100");
        Click(dialog, IDC_LINE_NUMBERS);
        Click(dialog, IDOK);
    }));
    EXPECT_GT(Doc()->m_nTotalRows[0], 3); // the long line wraps
    SCROLLINFO info = {};
    View()->GetScrollInfo(SB_VERT, &info);
    EXPECT_EQ(info.nMax, Doc()->m_nTotalRows[0]);
    EXPECT_NE(View()->GetSafeHwnd()->grab().toImage(), before);
}

TEST_F(EnvDialogTest, NewSettingsKeepTheLineAtTheTop) {
    std::string text;
    for (int i = 0; i < 300; ++i) {
        text += std::string(150, 'w') + "\n";
    }
    ASSERT_TRUE(Start({WriteFile("lines.jis", text)}));
    ProcessEvents();
    View()->SetScrollPos(SB_VERT, 250);
    ASSERT_TRUE(Settings([](CEnvDialog& dialog) {
        Click(dialog, IDC_WRAP_FIXED);
        TypeColumn(dialog, "100");
        Click(dialog, IDOK);
    }));
    ASSERT_EQ(Doc()->m_nTotalRows[0], 601); // two rows a line
    EXPECT_EQ(View()->GetScrollPos(SB_VERT), 500);
}

} // namespace
