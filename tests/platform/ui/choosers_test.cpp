// The font and colour choosers, worked through their controls as a user
// would.
#include "platform/ui/commdlg.h"
#include "resources/resources.h"
#include "ui_fixture.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QDialog>
#include <QListWidget>
#include <QSpinBox>

#include <gtest/gtest.h>

#include <cstring>
#include <functional>

namespace {

class ChooserTest : public ::testing::Test {
protected:
    void SetUp() override {
        TestApplication();
        AfxSetResourceHandle(&TavoResources());
        AfxSetMessageBoxHook([this](const std::string& text, UINT) {
            messages.push_back(text);
            return int(IDOK);
        });
    }
    void TearDown() override {
        CDialog::SetModalHook(nullptr);
        AfxSetMessageBoxHook(nullptr);
    }

    // Runs the chooser with act standing in for the user; returns what it
    // ended with, and counts the runs so that checks inside act count.
    INT_PTR Run(CDialog& chooser, const std::function<void()>& act) {
        CDialog::SetModalHook([&](CDialog&) {
            ++runs;
            act();
            return int(IDCANCEL);
        });
        return chooser.DoModal();
    }

    static void Click(const CDialog& dialog, UINT nID) {
        dynamic_cast<QAbstractButton*>(dialog.GetDlgItem(int(nID)))->click();
    }

    std::vector<std::string> messages;
    int runs = 0;
};

// "ＭＳ ゴシック" in Shift_JIS, 12 pixels high: 9 points at 96 dpi.
LOGFONTA GothicOf12Pixels() {
    LOGFONTA font = {};
    font.lfHeight = 12;
    font.lfCharSet = SHIFTJIS_CHARSET;
    font.lfOutPrecision = 3;
    std::strcpy(font.lfFaceName, "\x82\x6C\x82\x72\x20\x83\x53\x83\x56\x83\x62\x83\x4E");
    return font;
}

// Only fixed-pitch faces, Japanese ones included; opens at the face drawn
// for the one given, its style and its size; refuses sizes it cannot show
// and writes the chosen face, style and size, leaving the rest alone.
TEST_F(ChooserTest, FontChooserOffersFixedFacesOpensAtTheFontGivenAndWritesTheOneChosen) {
    LOGFONTA font = GothicOf12Pixels();
    CFontDialog chooser(&font, CF_SCREENFONTS | CF_FIXEDPITCHONLY);
    const INT_PTR result = Run(chooser, [&] {
        auto* faces = dynamic_cast<QListWidget*>(chooser.GetDlgItem(ID_CHOOSEFONT_FACE));
        auto* styles = dynamic_cast<QListWidget*>(chooser.GetDlgItem(ID_CHOOSEFONT_STYLE));
        auto* size = dynamic_cast<QComboBox*>(chooser.GetDlgItem(ID_CHOOSEFONT_SIZE));
        const auto face = [faces](const char* name) {
            return faces->findItems(name, Qt::MatchExactly).value(0);
        };
        EXPECT_TRUE(face("IPAGothic") && face("IPAMincho"));
        EXPECT_FALSE(face("IPAPGothic") || face("DejaVu Sans"));
        EXPECT_EQ(faces->currentItem(), face("IPAGothic"));
        EXPECT_EQ(styles->currentItem()->text().toStdString(), "標準");
        EXPECT_EQ(size->currentText().toStdString(), "9");
        faces->setCurrentItem(face("IPAMincho"));
        styles->setCurrentRow(3); // 太字 斜体
        for (const char* refused : {"0", "1639", "x"}) {
            size->setEditText(refused);
            Click(chooser, IDOK);
            EXPECT_TRUE(chooser.GetDialog()->isVisible()) << refused;
        }
        size->setEditText("10.5");
        Click(chooser, IDOK);
    });
    EXPECT_EQ(runs, 1);
    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(messages,
              std::vector<std::string>(3, "サイズには 1 から 1638 までの数値を指定してください。"));
    EXPECT_EQ(chooser.m_cf.iPointSize, 105);
    EXPECT_EQ(std::make_tuple(font.lfHeight, font.lfWeight, font.lfItalic, font.lfCharSet,
                              font.lfOutPrecision),
              std::make_tuple(-14, FW_BOLD, BYTE(1), BYTE(SHIFTJIS_CHARSET), BYTE(3)));
    EXPECT_STREQ(font.lfFaceName, "IPAMincho");
}

// 10 points are 13 pixels at 96 dpi, which are 9.75 points: given its
// size in tenths, the chooser confirmed as it opens gives back those tenths.
TEST_F(ChooserTest, FontChooserKeepsTheTenthsItWasGiven) {
    LOGFONTA font = GothicOf12Pixels();
    font.lfHeight = 13;
    CFontDialog chooser(&font, CF_SCREENFONTS);
    chooser.m_cf.iPointSize = 100;
    EXPECT_EQ(Run(chooser, [&] { Click(chooser, IDOK); }), IDOK);
    EXPECT_EQ(chooser.m_cf.iPointSize, 100);
    EXPECT_EQ(runs, 1);
}

// Opens at the colour given; a basic colour sets the spins and a spin
// changed unticks it; OK gives the colour shown, Cancel the one given.
TEST_F(ChooserTest, ColourChooserOpensAtTheColourGivenAndGivesTheOneShown) {
    for (const bool confirm : {false, true}) {
        CColorDialog chooser(RGB(1, 2, 3));
        const INT_PTR result = Run(chooser, [&] {
            const auto spin = [&](UINT nID) {
                return dynamic_cast<QSpinBox*>(chooser.GetDlgItem(int(nID)));
            };
            auto* black = dynamic_cast<QAbstractButton*>(chooser.GetDlgItem(ID_CHOOSECOLOR_BASIC));
            EXPECT_EQ(RGB(spin(ID_CHOOSECOLOR_RED)->value(), spin(ID_CHOOSECOLOR_GREEN)->value(),
                          spin(ID_CHOOSECOLOR_BLUE)->value()),
                      RGB(1, 2, 3));
            black->click();
            EXPECT_TRUE(black->isChecked());
            spin(ID_CHOOSECOLOR_BLUE)->setValue(7);
            EXPECT_FALSE(black->isChecked());
            if (confirm) {
                Click(chooser, IDOK);
            }
        });
        EXPECT_EQ(result, confirm ? IDOK : IDCANCEL);
        EXPECT_EQ(chooser.GetColor(), confirm ? RGB(0, 0, 7) : RGB(1, 2, 3));
    }
    EXPECT_EQ(runs, 2);
}

} // namespace
