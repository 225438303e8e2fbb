// The font and colour choosers, answered through their controls by the
// modal hook, and the Shift_JIS face names the font chooser writes back.
#include "ui_fixture.h"

#include "platform/gdi/sjis.h"
#include "platform/ui/commdlg.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QListWidget>
#include <QSpinBox>

#include <cstring>

namespace {

template <typename T> T* Item(const CDialog& dialog, UINT nID) {
    return dynamic_cast<T*>(dialog.GetDlgItem(int(nID)));
}

QStringList Faces(const CDialog& dialog) {
    QStringList faces;
    auto* list = Item<QListWidget>(dialog, ID_CHOOSEFONT_FACE);
    for (int i = 0; i < list->count(); ++i) {
        faces << list->item(i)->text();
    }
    return faces;
}

void ChooseFace(const CDialog& dialog, const char* face) {
    auto* list = Item<QListWidget>(dialog, ID_CHOOSEFONT_FACE);
    list->setCurrentItem(list->findItems(face, Qt::MatchExactly).value(0));
}

class ChooserTest : public ::testing::Test {
protected:
    void SetUp() override {
        TestApplication();
        KeepMessageBoxes(messages);
    }
    void TearDown() override {
        CDialog::SetModalHook(nullptr);
        AfxSetMessageBoxHook(nullptr);
    }

    // Answers the next chooser with act; the hook's own answer is Cancel.
    void Answer(std::function<void(CDialog&)> act) {
        CDialog::SetModalHook([act = std::move(act)](CDialog& dialog) {
            act(dialog);
            return int(IDCANCEL);
        });
    }

    std::vector<std::string> messages;
};

TEST_F(ChooserTest, FontChooserOffersOnlyFacesOfOneWidthWhenAskedJapaneseOnesIncluded) {
    LOGFONTA lf = {};
    QStringList fixed;
    Answer([&](CDialog& dialog) { fixed = Faces(dialog); });
    CFontDialog(&lf, CF_SCREENFONTS | CF_FIXEDPITCHONLY).DoModal();
    EXPECT_TRUE(fixed.contains("IPAGothic"));
    EXPECT_TRUE(fixed.contains("IPAMincho"));
    EXPECT_FALSE(fixed.contains("IPAPGothic"));
    EXPECT_FALSE(fixed.contains("DejaVu Sans"));
}

TEST_F(ChooserTest, FontChooserOpensAtTheFontDrawnAndWritesTheChoiceBack) {
    LOGFONTA lf = {};
    lf.lfHeight = 12; // pixels: 9 points at 96 dpi
    lf.lfCharSet = SHIFTJIS_CHARSET;
    lf.lfOutPrecision = 3;
    std::strcpy(lf.lfFaceName, "\x82\x6C\x82\x72\x20\x96\xBE\x92\xA9"); // ＭＳ 明朝
    CFontDialog chooser(&lf, CF_SCREENFONTS | CF_FIXEDPITCHONLY);
    Answer([](CDialog& dialog) {
        // The face that stands in for the record's own.
        const auto current = [&](UINT nID) {
            return Item<QListWidget>(dialog, nID)->currentItem()->text().toStdString();
        };
        EXPECT_EQ(current(ID_CHOOSEFONT_FACE), "IPAMincho");
        EXPECT_EQ(current(ID_CHOOSEFONT_STYLE), "標準");
        auto* size = Item<QComboBox>(dialog, ID_CHOOSEFONT_SIZE);
        EXPECT_EQ(size->currentText().toStdString(), "9");

        ChooseFace(dialog, "IPAGothic");
        Item<QListWidget>(dialog, ID_CHOOSEFONT_STYLE)->setCurrentRow(3); // 太字 斜体
        size->setEditText("10.5");
        const QFont sample = Item<QLabel>(dialog, ID_CHOOSEFONT_SAMPLE)->font();
        EXPECT_EQ(sample.family().toStdString(), "IPAGothic");
        EXPECT_DOUBLE_EQ(sample.pointSizeF(), 10.5);
        EXPECT_TRUE(sample.bold() && sample.italic());
        Item<QAbstractButton>(dialog, IDOK)->click();
    });
    ASSERT_EQ(chooser.DoModal(), IDOK);
    EXPECT_EQ(chooser.m_cf.iPointSize, 105);
    EXPECT_EQ(lf.lfHeight, -14);
    EXPECT_EQ(lf.lfWeight, FW_BOLD);
    EXPECT_EQ(lf.lfItalic, 1);
    EXPECT_STREQ(lf.lfFaceName, "IPAGothic");
    EXPECT_EQ(lf.lfCharSet, SHIFTJIS_CHARSET);
    EXPECT_EQ(lf.lfPitchAndFamily, FIXED_PITCH);
    EXPECT_EQ(lf.lfOutPrecision, 3);
    EXPECT_TRUE(messages.empty());
}

TEST_F(ChooserTest, FontChooserRefusesSizesItCannotShowAndCancelKeepsTheFont) {
    LOGFONTA lf = {};
    lf.lfHeight = 16;
    std::strcpy(lf.lfFaceName, "IPAGothic");
    const LOGFONTA before = lf;
    CFontDialog chooser(&lf, CF_SCREENFONTS | CF_FIXEDPITCHONLY);
    Answer([this](CDialog& dialog) {
        ChooseFace(dialog, "IPAMincho");
        for (const char* size : {"0", "1639", "x"}) {
            Item<QComboBox>(dialog, ID_CHOOSEFONT_SIZE)->setEditText(size);
            Item<QAbstractButton>(dialog, IDOK)->click();
            EXPECT_TRUE(dialog.GetDialog()->isVisible()) << size;
        }
        EXPECT_EQ(messages.size(), 3u);
        Item<QAbstractButton>(dialog, IDCANCEL)->click();
    });
    EXPECT_EQ(chooser.DoModal(), IDCANCEL);
    EXPECT_EQ(std::memcmp(&lf, &before, sizeof lf), 0);
}

TEST(SjisEncodingTest, FaceNamesKeepWholeCharactersWithinTheField) {
    EXPECT_EQ(EncodeSjis(u"ＭＳ ゴシック", LF_FACESIZE - 1),
              "\x82\x6C\x82\x72\x20\x83\x53\x83\x56\x83\x62\x83\x4E");
    // Sixteen two-byte characters take 32 bytes: the sixteenth is left out.
    const std::string cut = EncodeSjis(u"あいうえおかきくけこさしすせそた", LF_FACESIZE - 1);
    EXPECT_EQ(cut.size(), 30u);
    EXPECT_EQ(cut.substr(28), "\x82\xBB");
    // A character the code page lacks ends the name.
    EXPECT_EQ(EncodeSjis(u"Mono\u0100Sans", LF_FACESIZE - 1), "Mono");
}

TEST_F(ChooserTest, ColourChooserStartsAtTheColourAndReturnsTheOneChosen) {
    const auto spins = [](const CDialog& dialog) {
        return RGB(BYTE(Item<QSpinBox>(dialog, ID_CHOOSECOLOR_RED)->value()),
                   BYTE(Item<QSpinBox>(dialog, ID_CHOOSECOLOR_GREEN)->value()),
                   BYTE(Item<QSpinBox>(dialog, ID_CHOOSECOLOR_BLUE)->value()));
    };
    const auto swatch = [](const CDialog& dialog, int index) {
        return Item<QAbstractButton>(dialog, ID_CHOOSECOLOR_BASIC + UINT(index));
    };
    CColorDialog purple(RGB(0x80, 0, 0x80));
    Answer([&](CDialog& dialog) {
        EXPECT_EQ(spins(dialog), RGB(0x80, 0, 0x80));
        EXPECT_TRUE(swatch(dialog, 7)->isChecked());
        swatch(dialog, 10)->click(); // red
        EXPECT_EQ(spins(dialog), RGB(0xFF, 0, 0));
        Item<QSpinBox>(dialog, ID_CHOOSECOLOR_GREEN)->setValue(2); // no basic colour now
        EXPECT_FALSE(swatch(dialog, 10)->isChecked());
        Item<QAbstractButton>(dialog, IDOK)->click();
    });
    ASSERT_EQ(purple.DoModal(), IDOK);
    EXPECT_EQ(purple.GetColor(), RGB(0xFF, 2, 0));

    CColorDialog kept(RGB(1, 2, 3));
    Answer([&](CDialog& dialog) { swatch(dialog, 0)->click(); });
    EXPECT_EQ(kept.DoModal(), IDCANCEL);
    EXPECT_EQ(kept.GetColor(), RGB(1, 2, 3));
}

} // namespace
