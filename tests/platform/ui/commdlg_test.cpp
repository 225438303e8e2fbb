// The font chooser, answered through its controls by the modal hook, and
// the Shift_JIS face names it writes back; the settings dialog's test works
// both choosers as the user does.
#include "ui_fixture.h"

#include "platform/gdi/sjis.h"
#include "platform/ui/commdlg.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QComboBox>
#include <QDialog>
#include <QListWidget>

#include <cstring>

namespace {

template <typename T> T* Item(const CDialog& dialog, UINT nID) {
    return dynamic_cast<T*>(dialog.GetDlgItem(int(nID)));
}

TEST(FontChooserTest, RefusesSizesItCannotShowAndCancelKeepsTheFont) {
    TestApplication();
    std::vector<std::string> messages;
    KeepMessageBoxes(messages);
    LOGFONTA lf = {};
    lf.lfHeight = 16;
    std::strcpy(lf.lfFaceName, "IPAGothic");
    const LOGFONTA before = lf;
    CFontDialog chooser(&lf, CF_SCREENFONTS | CF_FIXEDPITCHONLY);
    CDialog::SetModalHook([&](CDialog& dialog) {
        auto* faces = Item<QListWidget>(dialog, ID_CHOOSEFONT_FACE);
        faces->setCurrentItem(faces->findItems("IPAMincho", Qt::MatchExactly).value(0));
        for (const char* size : {"0", "1639", "x"}) {
            Item<QComboBox>(dialog, ID_CHOOSEFONT_SIZE)->setEditText(size);
            Item<QAbstractButton>(dialog, IDOK)->click();
            EXPECT_TRUE(dialog.GetDialog()->isVisible()) << size;
        }
        EXPECT_EQ(messages.size(), 3u);
        Item<QAbstractButton>(dialog, IDCANCEL)->click();
        return int(IDOK);
    });
    EXPECT_EQ(chooser.DoModal(), IDCANCEL);
    CDialog::SetModalHook(nullptr);
    AfxSetMessageBoxHook(nullptr);
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

} // namespace
