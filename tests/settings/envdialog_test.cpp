// The settings dialog in the running program: its controls against dialog
// 130's table, what each control does to the settings, validation of the
// wrap column, and what OK and Cancel leave behind.
#include "envdialog_fixture.h"

#include "platform/ui/dlgcontrols.h"
#include "view/tavoview.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>

#include <cstring>

namespace {

enum class Kind { push, check, radio, group, label, edit, spin };

struct Control {
    UINT id;
    Kind kind;
    const char* text;
    int x, y, cx, cy;
};

// Dialog 130 in template order.
const Control kTable[] = {
    {IDOK, Kind::push, "OK", 7, 187, 40, 12},
    {IDCANCEL, Kind::push, "ｷｬﾝｾﾙ", 51, 187, 40, 12},
    {IDC_STATIC, Kind::label, "ASCII", 7, 9, 20, 8},
    {1001, Kind::push, "Font...", 55, 7, 40, 12},
    {1005, Kind::push, "文字色...", 99, 7, 40, 12},
    {1015, Kind::check, "'\\'を強制的に修正する(&\\)", 143, 7, 108, 10},
    {IDC_STATIC, Kind::label, "JISローマ字", 7, 25, 44, 8},
    {1002, Kind::push, "Font...", 55, 23, 40, 12},
    {1006, Kind::push, "文字色...", 99, 23, 40, 12},
    {1016, Kind::check, "'~'を強制的に修正する(&T)", 143, 23, 108, 10},
    {IDC_STATIC, Kind::label, "旧JIS", 7, 41, 20, 8},
    {1003, Kind::push, "Font...", 55, 39, 40, 12},
    {1007, Kind::push, "文字色...", 99, 39, 40, 12},
    {1018, Kind::check, "全角空白を区別する(&S)", 143, 39, 96, 10},
    {IDC_STATIC, Kind::label, "新JIS", 7, 57, 20, 8},
    {1004, Kind::push, "Font...", 55, 55, 40, 12},
    {1008, Kind::push, "文字色...", 99, 55, 40, 12},
    {1011, Kind::push, "背景色...", 143, 55, 40, 12},
    {IDC_STATIC, Kind::group, "折り返し", 187, 58, 80, 41},
    {1020, Kind::radio, "なし", 192, 68, 28, 10},
    {1021, Kind::radio, "画面幅", 224, 68, 36, 10},
    {1022, Kind::radio, "固定桁", 192, 82, 36, 10},
    {1023, Kind::edit, "", 232, 82, 24, 13},
    {1025, Kind::spin, "", 232, 87, 8, 14},
    {1019, Kind::check, "行番号を表示する(&L)", 7, 73, 88, 10},
    {1009, Kind::push, "文字色...", 99, 71, 40, 12},
    {1013, Kind::push, "背景色...", 143, 71, 40, 12},
    {1017, Kind::check, "制御コードを表示する(&C)", 7, 89, 104, 10},
    {1012, Kind::push, "背景色...", 143, 87, 40, 12},
    {1014, Kind::label, "", 7, 103, 260, 80},
    {1010, Kind::push, "無地色...", 227, 187, 40, 12},
};

bool IsKind(const QWidget* w, Kind kind) {
    switch (kind) {
    case Kind::push:
        return dynamic_cast<const QPushButton*>(w) != nullptr;
    case Kind::check:
        return dynamic_cast<const QCheckBox*>(w) != nullptr;
    case Kind::radio:
        return dynamic_cast<const QRadioButton*>(w) != nullptr;
    case Kind::group:
        return dynamic_cast<const QGroupBox*>(w) != nullptr;
    case Kind::label:
        return dynamic_cast<const QLabel*>(w) != nullptr;
    case Kind::edit:
        return dynamic_cast<const QLineEdit*>(w) != nullptr;
    case Kind::spin:
        return dynamic_cast<const UpDownControl*>(w) != nullptr;
    }
    return false;
}

// x * units / divisor, rounded.
int Scaled(int x, int units, int divisor) {
    return (x * units + divisor / 2) / divisor;
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

UINT FocusedId() {
    QWidget* focus = QApplication::focusWidget();
    return focus != nullptr ? DialogItemId(focus) : 0;
}

TEST_F(EnvDialogTest, ControlsFollowTheTableInPlaceTextAndTabOrder) {
    Frame()->UpdateCommandUI();
    EXPECT_TRUE(Frame()->GetMenuItem(ID_ENV_SETTINGS)->isEnabled());
    ASSERT_TRUE(Settings([](CEnvDialog& dialog) {
        const QDialog* box = dialog.GetDialog();
        EXPECT_EQ(box->windowTitle().toStdString(), "動作環境");
        // "ＭＳ ゴシック" is drawn as the painter draws it; dialog units are a
        // quarter of its character width and an eighth of its height.
        EXPECT_EQ(box->font().family().toStdString(), "IPAGothic");
        EXPECT_EQ(box->font().pointSize(), 9);
        const QFontMetrics metrics(box->font());
        const int cx = metrics.horizontalAdvance(QLatin1Char('x'));
        const int cy = metrics.height();
        EXPECT_EQ(box->width(), Scaled(279, cx, 4));
        EXPECT_EQ(box->height(), Scaled(206, cy, 8));

        const std::vector<QWidget*>& items = dialog.GetDlgItems();
        ASSERT_EQ(items.size(), std::size(kTable));
        for (std::size_t i = 0; i < items.size(); ++i) {
            const Control& c = kTable[i];
            SCOPED_TRACE(i);
            EXPECT_EQ(DialogItemId(items[i]), c.id);
            EXPECT_TRUE(IsKind(items[i], c.kind));
            if (c.id != IDC_STATIC && c.kind != Kind::edit) { // the field shows the column
                EXPECT_EQ(dialog.GetDlgItemText(int(c.id)), c.text);
            }
            const QRect expected(Scaled(c.x, cx, 4), Scaled(c.y, cy, 8), Scaled(c.cx, cx, 4),
                                 Scaled(c.cy, cy, 8));
            if (c.kind == Kind::spin) {
                // Inside the right end of its buddy, as tall as the buddy.
                const QRect buddy = items[i - 1]->geometry();
                EXPECT_EQ(items[i]->geometry(),
                          QRect(buddy.right() + 1, buddy.top(), expected.width(), buddy.height()));
            } else if (c.kind == Kind::edit) {
                EXPECT_EQ(items[i]->geometry().topLeft(), expected.topLeft());
                EXPECT_EQ(items[i]->height(), expected.height());
            } else {
                EXPECT_EQ(items[i]->geometry(), expected);
            }
        }
        EXPECT_TRUE(dynamic_cast<QPushButton*>(dialog.GetDlgItem(IDOK))->isDefault());

        // Tab visits every tab stop in template order, then comes back to OK.
        std::vector<UINT> order;
        do {
            order.push_back(FocusedId());
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        } while (FocusedId() != IDOK && order.size() < 40);
        const std::vector<UINT> stops = {IDOK, IDCANCEL, 1001, 1005, 1015, 1002, 1006,
                                         1016, 1003,     1007, 1018, 1004, 1008, 1011,
                                         1023, 1019,     1009, 1013, 1017, 1012, 1010};
        EXPECT_EQ(order, stops);
    }));
}

TEST_F(EnvDialogTest, DefaultsOpenWithoutWrappingAtColumn80AndBothCorrectionsTicked) {
    ASSERT_TRUE(Settings([](CEnvDialog& dialog) {
        EXPECT_EQ(FocusedId(), UINT(IDOK));
        EXPECT_TRUE(Checked(dialog, IDC_WRAP_NONE));
        EXPECT_FALSE(Checked(dialog, IDC_WRAP_WINDOW) || Checked(dialog, IDC_WRAP_FIXED));
        EXPECT_EQ(dialog.GetDlgItemText(IDC_WRAP_COLUMN), "80");
        const std::pair<UINT, bool> boxes[] = {{IDC_FIX_BACKSLASH, true},
                                               {IDC_FIX_TILDE, true},
                                               {IDC_SHOW_CONTROLS, false},
                                               {IDC_MARK_WIDE_SPACE, false},
                                               {IDC_LINE_NUMBERS, false}};
        for (const auto& [id, ticked] : boxes) {
            EXPECT_EQ(Checked(dialog, id), ticked) << id;
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
                EXPECT_EQ(FocusedId(), UINT(IDC_WRAP_COLUMN));
                EXPECT_EQ(dynamic_cast<QLineEdit*>(dialog.GetDlgItem(IDC_WRAP_COLUMN))
                              ->selectedText()
                              .toStdString(),
                          refused);
            }
            EXPECT_FALSE(std::filesystem::exists(EnvPath()));
            TypeColumn(dialog, accepted);
            Click(dialog, IDOK);
        }));
        EXPECT_EQ(Env().wWrap, WORD(std::stoi(accepted)));
    }
    ASSERT_EQ(messages.size(), 4u);
    EXPECT_EQ(messages[0], "20 から 999 までの整数を入力してください。");
}

TEST_F(EnvDialogTest, AWrapModeOfNoMeaningOpensAsFixedColumnAndIsStoredSo) {
    Env().wWrap = 0x2050;
    ASSERT_TRUE(Settings([](CEnvDialog& dialog) {
        EXPECT_TRUE(Checked(dialog, IDC_WRAP_FIXED));
        EXPECT_EQ(dialog.GetDlgItemText(IDC_WRAP_COLUMN), "80");
        Click(dialog, IDOK);
    }));
    EXPECT_EQ(Env().wWrap, 0x0050);
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

TEST_F(EnvDialogTest, ACheckBoxClickedWithABadColumnSaysSoAndStillChangesTheCopy) {
    ASSERT_TRUE(Settings([this](CEnvDialog& dialog) {
        TypeColumn(dialog, "5");
        Click(dialog, IDC_LINE_NUMBERS);
        EXPECT_EQ(messages.size(), 1u);
        EXPECT_TRUE(dialog.m_env.bFlags & ENV_LINE_NUMBERS);
        Click(dialog, IDOK);
        EXPECT_TRUE(dialog.GetDialog()->isVisible());
        Click(dialog, IDCANCEL);
    }));
    EXPECT_EQ(messages.size(), 2u);
    EXPECT_FALSE(Env().bFlags & ENV_LINE_NUMBERS);
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
        const COLORREF chosen = RGB(BYTE(entry), 0x11, 0x22);
        chooseColor = [&](CColorDialog& chooser) {
            EXPECT_EQ(chooser.m_cc.rgbResult, Env().crColor[entry]);
            auto* red = dynamic_cast<QSpinBox*>(chooser.GetDlgItem(ID_CHOOSECOLOR_RED));
            red->setValue(GetRValue(chosen));
            dynamic_cast<QSpinBox*>(chooser.GetDlgItem(ID_CHOOSECOLOR_GREEN))->setValue(0x11);
            dynamic_cast<QSpinBox*>(chooser.GetDlgItem(ID_CHOOSECOLOR_BLUE))->setValue(0x22);
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
    const std::function<void(CEnvDialog&)> ways[] = {
        [](CEnvDialog& dialog) { Click(dialog, IDCANCEL); },
        [](CEnvDialog& dialog) { QTest::keyClick(dialog.GetDialog(), Qt::Key_Escape); },
        [](CEnvDialog& dialog) { dialog.GetDialog()->close(); },
    };
    for (const auto& leave : ways) {
        ASSERT_TRUE(Settings([&](CEnvDialog& dialog) {
            Click(dialog, IDC_FONT_ASCII);
            Click(dialog, IDC_COLOR_GROUND);
            Click(dialog, IDC_LINE_NUMBERS);
            Click(dialog, IDC_WRAP_WINDOW);
            Click(dialog, IDC_SHOW_CONTROLS);
            EXPECT_NE(RecordBytes(dialog.m_env), record);
            leave(dialog);
        }));
        EXPECT_EQ(RecordBytes(Env()), record);
        EXPECT_EQ(FileBytes(), record);
        EXPECT_EQ(Doc()->m_nTotalRows[0], rows);
        EXPECT_EQ(View()->GetSafeHwnd()->grab().toImage(), view);
    }
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

} // namespace
