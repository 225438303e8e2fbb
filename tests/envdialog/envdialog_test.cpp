// The settings dialog: its controls, what each does, the wrap column's
// validation, and what OK and Cancel leave behind.
#include "envdialog_fixture.h"

#include "platform/ui/dlgcontrols.h"
#include "resources/resources.h"
#include "support/as_nobody.h"
#include "view/tavoview.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QToolButton>

#include <cerrno>
#include <cstring>
#include <set>

namespace {

// The face name of a stored font, in Shift_JIS, up to its NUL or the
// field's end.
std::string FaceNameOf(const LOGFONTA& font) {
    return std::string(font.lfFaceName, strnlen(font.lfFaceName, sizeof font.lfFaceName));
}

std::string TextOf(const QWidget* control) {
    const char* property = dynamic_cast<const QGroupBox*>(control) ? "title" : "text";
    return control->property(property).toString().toStdString();
}

UINT FocusedId() {
    QWidget* focus = QApplication::focusWidget();
    return focus != nullptr ? DialogItemId(focus) : 0;
}

// Every control lies inside the dialog, clear of the others (the wrap
// group holds its own), the spin beside the column; Tab reaches each tab
// stop once and comes back to OK.
TEST_F(EnvDialogTest, ControlsStandApartAndTabGoesRound) {
    Frame()->UpdateCommandUI();
    EXPECT_TRUE(MenuItem("動作環境")->isEnabled());
    ASSERT_TRUE(Settings([](CEnvDialog& dialog) {
        const QDialog* box = dialog.GetDialog();
        const std::vector<QWidget*>& items = dialog.GetDlgItems();
        for (const QWidget* item : items) {
            EXPECT_TRUE(box->rect().contains(item->geometry())) << TextOf(item);
            for (const QWidget* other : items) {
                const bool grouped = dynamic_cast<const QGroupBox*>(item) != nullptr ||
                                     dynamic_cast<const QGroupBox*>(other) != nullptr;
                EXPECT_TRUE(item == other || grouped ||
                            !item->geometry().intersects(other->geometry()))
                    << TextOf(item) << " / " << TextOf(other);
            }
        }
        const QRect field = dialog.GetDlgItem(IDC_WRAP_COLUMN)->geometry();
        EXPECT_EQ(dialog.GetDlgItem(IDC_WRAP_SPIN)->geometry().topLeft(),
                  QPoint(field.right() + 1, field.top()));
        EXPECT_TRUE(dynamic_cast<QPushButton*>(dialog.GetDlgItem(IDOK))->isDefault());

        std::set<UINT> visited;
        do {
            EXPECT_TRUE(visited.insert(FocusedId()).second) << FocusedId();
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        } while (FocusedId() != IDOK && visited.size() < 40);
        EXPECT_EQ(visited.size(), 21u);
        // A mnemonic clicks its check box, after a short animation.
        QTest::keyClick(dialog.GetDialog(), Qt::Key_L, Qt::AltModifier);
        QTest::qWait(300);
        EXPECT_TRUE(Checked(dialog, IDC_LINE_NUMBERS));
    }));
}

// Enter in the column presses the default button, OK. A mode of no meaning
// opens as the fixed column, and OK stores it so.
TEST_F(EnvDialogTest, WrapModeAndColumnMakeTheStoredWrapWord) {
    const std::tuple<UINT, const char*, WORD> cases[] = {{IDC_WRAP_WINDOW, "80", 0x4050},
                                                         {IDC_WRAP_FIXED, "100", 0x0064},
                                                         {IDC_WRAP_NONE, "20", 0x8014}};
    for (const auto& [radio, column, word] : cases) {
        ASSERT_TRUE(Settings([&, radio = radio, column = column](CEnvDialog& dialog) {
            Click(dialog, radio);
            TypeColumn(dialog, column);
            QTest::keyClick(dialog.GetDlgItem(IDC_WRAP_COLUMN), Qt::Key_Return);
        }));
        EXPECT_EQ(Env().wWrap, word);
    }
    // A mode of no meaning is drawn unwrapped and opens as such: OK on the
    // unchanged dialog leaves the lines unwrapped.
    Open(std::string(60, 'x') + "\n", 0, 0x2000 | 30);
    EXPECT_EQ(Doc()->m_nTotalRows[0], 2);
    ASSERT_TRUE(Settings([](CEnvDialog& dialog) {
        EXPECT_TRUE(Checked(dialog, IDC_WRAP_NONE));
        EXPECT_EQ(dialog.GetDlgItemText(IDC_WRAP_COLUMN), "30");
        Click(dialog, IDOK);
    }));
    EXPECT_EQ(Env().wWrap, ENV_WRAP_NONE | 30);
    EXPECT_EQ(Doc()->m_nTotalRows[0], 2);
    EXPECT_TRUE(messages.empty());
}

// Rows wrapped anew start at their first column; OK with the same wrap
// keeps the place.
TEST_F(EnvDialogTest, AWrapChangeShowsRowsFromTheirFirstColumn) {
    Open(std::string(300, 'x') + "\nshort\n");
    QTest::keyClick(View()->GetSafeHwnd(), Qt::Key_End);
    ASSERT_GT(View()->GetScrollPos(SB_HORZ), 0);
    ASSERT_TRUE(Settings([](CEnvDialog& dialog) {
        Click(dialog, IDC_WRAP_WINDOW);
        Click(dialog, IDOK);
    }));
    EXPECT_EQ(View()->GetScrollPos(SB_HORZ), 0);
    QTest::keyClick(View()->GetSafeHwnd(), Qt::Key_End);
    const int end = View()->GetScrollPos(SB_HORZ);
    ASSERT_GT(end, 0);
    ASSERT_TRUE(Settings([](CEnvDialog& dialog) { Click(dialog, IDOK); }));
    EXPECT_EQ(View()->GetScrollPos(SB_HORZ), end);
}

// Each refusal is told once and selects the field; a check box clicked
// meanwhile tells it too, and still changes the copy.
TEST_F(EnvDialogTest, ColumnsOutsideTwentyToNineHundredNinetyNineAreRefusedOnceEach) {
    const std::string outside = "20 から 999 までの整数を入力してください。";
    const std::string notANumber = "正の整数を入力してください。";
    for (const char* accepted : {"20", "999"}) {
        std::filesystem::remove(EnvPath());
        ASSERT_TRUE(Settings([&](CEnvDialog& dialog) {
            Click(dialog, IDC_WRAP_FIXED);
            const std::pair<const char*, std::string> refused[] = {
                {"19", outside}, {"1000", outside}, {"", notANumber}, {"4294967296", notANumber}};
            for (const auto& [text, message] : refused) {
                TypeColumn(dialog, text);
                messages.clear();
                Click(dialog, IDOK);
                EXPECT_EQ(messages, std::vector<std::string>{message}) << text;
                EXPECT_TRUE(dialog.GetDialog()->isVisible()) << text;
                EXPECT_EQ(FocusedId(), UINT(IDC_WRAP_COLUMN));
                EXPECT_EQ(dynamic_cast<QLineEdit*>(dialog.GetDlgItem(IDC_WRAP_COLUMN))
                              ->selectedText()
                              .toStdString(),
                          text);
            }
            messages.clear();
            Click(dialog, IDC_LINE_NUMBERS);
            EXPECT_TRUE(dialog.m_env.bFlags & ENV_LINE_NUMBERS);
            Click(dialog, IDC_LINE_NUMBERS);
            EXPECT_EQ(messages.size(), 2u);
            EXPECT_FALSE(std::filesystem::exists(EnvPath()));
            TypeColumn(dialog, accepted);
            Click(dialog, IDOK);
        }));
        EXPECT_EQ(Env().wWrap, WORD(std::stoi(accepted)));
    }
}

TEST_F(EnvDialogTest, TheSpinStepsTheColumnInsideTwentyToNineHundredNinetyNine) {
    ASSERT_TRUE(Settings([](CEnvDialog& dialog) {
        auto* spin = dynamic_cast<UpDownControl*>(dialog.GetDlgItem(IDC_WRAP_SPIN));
        QWidget* field = dialog.GetDlgItem(IDC_WRAP_COLUMN);
        EXPECT_EQ(spin->height(), field->height());
        const std::tuple<const char*, std::function<void()>, const char*> steps[] = {
            {"998", [&] { spin->UpArrow()->click(); }, "999"},
            {"999", [&] { spin->UpArrow()->click(); }, "999"},
            {"999", [&] { QTest::keyClick(field, Qt::Key_Down); }, "998"},
            {"5", [&] { spin->UpArrow()->click(); }, "20"}, // from outside, a step lands inside
            {"", [&] { spin->DownArrow()->click(); }, "20"},
            {"20", [&] { QTest::keyClicks(field, "a1b"); }, "201"}, // only digits can be typed
        };
        for (const auto& [before, step, after] : steps) {
            TypeColumn(dialog, before);
            step();
            EXPECT_EQ(dialog.GetDlgItemText(IDC_WRAP_COLUMN), after) << before;
        }
    }));
}

// Four digits show whole beside the spin, unscrolled, for the user to see
// what validation refuses.
TEST_F(EnvDialogTest, TheColumnFieldShowsFourDigitsWhole) {
    ASSERT_TRUE(Settings([](CEnvDialog& dialog) {
        auto* field = dynamic_cast<QLineEdit*>(dialog.GetDlgItem(IDC_WRAP_COLUMN));
        const auto cursorX = [field] {
            return field->inputMethodQuery(Qt::ImCursorRectangle).toRect().center().x();
        };
        field->setFocus();
        field->clear();
        const int start = cursorX();
        QTest::keyClicks(field, "1000");
        EXPECT_EQ(cursorX() - start, field->fontMetrics().horizontalAdvance("1000"));
        EXPECT_LE(cursorX(), field->contentsRect().right());
    }));
}

TEST_F(EnvDialogTest, OkUnchangedStillWritesTheFileAndKeepsBitsOfNoMeaning) {
    Env().bFlags = 0xE3;
    Env().reserved1[0] = 0x12;
    Env().reserved1[2] = 0x34;
    Env().reserved2[1] = 0x56;
    const std::string before = BytesOf(Env());
    ASSERT_TRUE(Settings([](CEnvDialog& dialog) { Click(dialog, IDOK); }));
    EXPECT_EQ(BytesOf(Env()), before);
    EXPECT_EQ(ReadBytes(EnvPath()), before);
}

TEST_F(EnvDialogTest, EachCheckBoxSetsTheBitOfItsIdAndRepaintsThePaneAtOnce) {
    for (UINT id = IDC_FIX_BACKSLASH; id <= IDC_LINE_NUMBERS; ++id) {
        Env().bFlags = 0;
        ASSERT_TRUE(Settings([&](CEnvDialog& dialog) {
            const auto* pane = new PaintRecorder(dialog.GetDlgItem(IDC_PREVIEW));
            Click(dialog, id);
            EXPECT_FALSE(pane->paints.empty());
            Click(dialog, IDOK);
        }));
        EXPECT_EQ(Env().bFlags, 1 << (id - IDC_FIX_BACKSLASH)) << id;
    }
}

// Each font button opens the chooser over the dialog at its entry's font
// and stores what is chosen there in that entry only, in tenths of a point:
// 10 points are 13 pixels at 96 dpi, which are 9.75 points, yet confirmed
// as it opens the chooser gives back 100 tenths. Cancel changes nothing.
TEST_F(EnvDialogTest, FontButtonsOpenTheChooserAtTheFontDrawnAndStoreTenthsOfAPoint) {
    for (LOGFONTA& font : Env().lfFont) {
        font.lfHeight = 100;
    }
    for (UINT id = IDC_FONT_ASCII; id <= IDC_FONT_NEWJIS; ++id) {
        const int entry = int(id - IDC_FONT_ASCII);
        CEnvDialog* settings = nullptr;
        enum { CONFIRM, CHOOSE_AND_CANCEL, CHOOSE } step = CONFIRM;
        chooseFont = [&](CFontDialog& chooser) {
            EXPECT_EQ(chooser.m_cf.lpLogFont->lfHeight, 13);
            EXPECT_EQ(chooser.GetDialog()->parentWidget(), settings->GetDialog());
            if (step != CONFIRM) {
                auto* faces = dynamic_cast<QListWidget*>(chooser.GetDlgItem(ID_CHOOSEFONT_FACE));
                faces->setCurrentItem(faces->findItems("IPAMincho", Qt::MatchExactly).value(0));
                dynamic_cast<QComboBox*>(chooser.GetDlgItem(ID_CHOOSEFONT_SIZE))
                    ->setEditText("10.5");
            }
            if (step != CHOOSE_AND_CANCEL) {
                Click(chooser, IDOK);
            }
        };
        ASSERT_TRUE(Settings([&](CEnvDialog& dialog) {
            settings = &dialog;
            Click(dialog, id);
            const LOGFONTA confirmed = dialog.m_env.lfFont[entry];
            EXPECT_EQ(confirmed.lfHeight, 100);
            step = CHOOSE_AND_CANCEL;
            Click(dialog, id);
            EXPECT_EQ(std::memcmp(&dialog.m_env.lfFont[entry], &confirmed, sizeof confirmed), 0);
            step = CHOOSE;
            Click(dialog, id);
            Click(dialog, IDOK);
        }));
        EXPECT_EQ(fontChoosers, 3 * (entry + 1));
        for (int i = 0; i < ENV_FONT_COUNT; ++i) {
            const LOGFONTA& font = Env().lfFont[i];
            const bool chosen = i <= entry;
            EXPECT_EQ(font.lfHeight, chosen ? 105 : 100) << id << " " << i;
            EXPECT_EQ(FaceNameOf(font),
                      chosen ? "IPAMincho"
                             : "\x82\x6C\x82\x72\x20\x83\x53\x83\x56\x83\x62\x83\x4E");
        }
    }
}

// Each colour button opens the chooser at its entry's colour and stores the
// colour chosen there in that entry; Cancel there changes nothing.
TEST_F(EnvDialogTest, ColourButtonsSeedTheChooserAndStoreItsColourInTheirEntry) {
    for (UINT id = IDC_COLOR_ASCII; id <= IDC_COLOR_LINENOBK; ++id) {
        const int entry = int(id - IDC_COLOR_ASCII);
        bool confirm = false;
        chooseColor = [&](CColorDialog& chooser) {
            EXPECT_EQ(chooser.m_cc.rgbResult, Env().crColor[entry]);
            Click(chooser, ID_CHOOSECOLOR_BASIC); // black
            dynamic_cast<QSpinBox*>(chooser.GetDlgItem(ID_CHOOSECOLOR_BLUE))->setValue(entry + 1);
            if (confirm) {
                Click(chooser, IDOK);
            }
        };
        const COLORREF before = Env().crColor[entry];
        ASSERT_TRUE(Settings([&](CEnvDialog& dialog) {
            Click(dialog, id);
            EXPECT_EQ(dialog.m_env.crColor[entry], before);
            confirm = true;
            Click(dialog, id);
            Click(dialog, IDOK);
        }));
        EXPECT_EQ(Env().crColor[entry], RGB(0, 0, entry + 1)) << id;
        EXPECT_EQ(colorChoosers, 2 * (entry + 1));
    }
}

// Escape, the close box and ｷｬﾝｾﾙ all cancel.
TEST_F(EnvDialogTest, CancelLeavesTheRecordTheFileAndTheViewAsTheyWere) {
    ASSERT_TRUE(Start({WriteFile("long.jis", std::string(300, 'x') + "\nshort\n")}));
    WriteBytes(EnvPath(), BytesOf(Env()));
    const std::string record = BytesOf(Env());
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
    const std::function<void(CEnvDialog&)> cancels[] = {
        [](CEnvDialog& dialog) { QTest::keyClick(dialog.GetDialog(), Qt::Key_Escape); },
        [](CEnvDialog& dialog) { dialog.GetDialog()->close(); },
        [](CEnvDialog& dialog) { Click(dialog, IDCANCEL); },
    };
    for (const auto& cancel : cancels) {
        ASSERT_TRUE(Settings([&](CEnvDialog& dialog) {
            for (UINT id : {IDC_FONT_ASCII, IDC_COLOR_GROUND, IDC_LINE_NUMBERS, IDC_WRAP_WINDOW}) {
                Click(dialog, id);
            }
            EXPECT_NE(BytesOf(dialog.m_env), record);
            cancel(dialog);
            EXPECT_FALSE(dialog.GetDialog()->isVisible());
        }));
        EXPECT_EQ(BytesOf(Env()), record);
        EXPECT_EQ(ReadBytes(EnvPath()), record);
        EXPECT_EQ(Doc()->m_nTotalRows[0], rows);
        EXPECT_EQ(View()->GetSafeHwnd()->grab().toImage(), view);
    }
}

// Saved into a read-only folder (the env file's own tests have the file
// kept byte for byte), the user is told where and why, and the new
// settings hold for the run all the same: the view is laid out again for
// them, keeping the line at the top, and repainted.
TEST_F(EnvDialogTest, SavingIntoAReadOnlyFolderKeepsTheOldFileAndTheViewTakesTheNewSettings) {
    ASSERT_TRUE(Start({WriteFile("lines.jis", Repeat(std::string(150, 'w') + "\n", 300))}));
    ProcessEvents();
    View()->SetScrollPos(SB_VERT, 250);
    const QImage before = View()->GetSafeHwnd()->grab().toImage();
    Env().bFlags = 0xE3; // something to keep: bits of no meaning
    const std::string old = BytesOf(Env());
    WriteBytes(EnvPath(), old);
    std::filesystem::permissions(dir, std::filesystem::perms(0555));
    {
        const AsNobody nobody;
        EXPECT_TRUE(Settings([](CEnvDialog& dialog) {
            Click(dialog, IDC_LINE_NUMBERS);
            Click(dialog, IDC_WRAP_FIXED);
            TypeColumn(dialog, "100");
            Click(dialog, IDOK);
        }));
    }
    std::filesystem::permissions(dir, std::filesystem::perms(0755));
    EXPECT_EQ(ReadBytes(EnvPath()), old);
    EXPECT_EQ(messages.size(), 1u);
    EXPECT_NE(messages.at(0).find(EnvPath().string() + "\n\n設定ファイルを作成できませんでした。\n"
                                                       "ファイルにアクセスできません。"),
              std::string::npos);
    EXPECT_EQ(Env().bFlags, 0xE3 | ENV_LINE_NUMBERS);
    ASSERT_EQ(Doc()->m_nTotalRows[0], 601); // two rows a line beside the gutter
    SCROLLINFO info = {};
    View()->GetScrollInfo(SB_VERT, &info);
    EXPECT_EQ(info.nMax, 601);
    EXPECT_EQ(View()->GetScrollPos(SB_VERT), 500);
    EXPECT_NE(View()->GetSafeHwnd()->grab().toImage(), before);
}

} // namespace

namespace {

TEST(SaveFailure, NamesTheStepTheFileAndTheCauseInTheSystemsOwnWordsWhenNoOtherFits) {
    AfxSetResourceHandle(&TavoResources());
    CFileException error;
    ReportFileError(&error, CFileException::diskFull, ENOSPC, "/cfg/.tavo.env.tmp");
    EXPECT_NE(DescribeSaveFailure(EnvSaveResult::notWritten, error)
                  .find("/cfg/.tavo.env.tmp\n\n設定ファイルに書き込めませんでした。\n"
                        "ディスクの空き領域が不足しています。"),
              std::string::npos);
    ReportFileError(&error, CFileException::generic, ELOOP, "/cfg/tavo.env");
    EXPECT_NE(DescribeSaveFailure(EnvSaveResult::notCreated, error)
                  .find("設定ファイルを作成できませんでした。\nファイルを開けません: " +
                        std::string(std::strerror(ELOOP))),
              std::string::npos);
}

} // namespace
