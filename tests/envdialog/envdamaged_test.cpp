// A damaged env file is used as it stands: the program shows, scrolls and
// prints with it, and the settings dialog opens on it.
#include "envdialog_fixture.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <random>

namespace {

class EnvDamagedTest : public EnvDialogTest {
protected:
    // Restarts the program on a file of every set and mark, long lines too.
    void StartOnAFile() {
        const std::string text = Repeat(
            "\x1b$B0!!!4A\x1b(B ascii\t\\~\x1b(J\\~\x01\f\n" + std::string(300, 'x') + "\n", 40);
        ASSERT_TRUE(Start({WriteFile("doc.jis", text)}));
        ASSERT_TRUE(app->SelectPrinter((dir / "out.pdf").string()));
    }

    void ShowScrollPrintAndOpenTheDialog() {
        PaintAndScroll();
        const std::string record = BytesOf(Env());
        EXPECT_TRUE(Settings([](CEnvDialog& dialog) { Click(dialog, IDCANCEL); }));
        EXPECT_EQ(BytesOf(Env()), record);
        EXPECT_TRUE(Frame()->ExecuteCommand(ID_FILE_PRINT_DIRECT));
        EXPECT_EQ(messages, std::vector<std::string>{});
        EXPECT_TRUE(Window()->isVisible());
    }
};

// Heights of no size, negative and extreme, weights of no meaning, face
// names without a NUL or of lead bytes only, and every flag bit.
TEST_F(EnvDamagedTest, FontsOfNoSizeOrAnyFaceAndEveryFlagAreUsedAsTheyStand) {
    app->m_envStore.SetDefaults();
    EnvSettings damaged = Env();
    const LONG heights[] = {0, -90, INT_MAX, INT_MIN};
    for (int i = 0; i < ENV_FONT_COUNT; ++i) {
        damaged.lfFont[i].lfHeight = heights[i];
        damaged.lfFont[i].lfWeight = i * 100000 - 1;
    }
    std::memset(damaged.lfFont[0].lfFaceName, 'A', LF_FACESIZE);
    std::memset(damaged.lfFont[1].lfFaceName, 0x82, LF_FACESIZE);
    damaged.bFlags = 0xFF;
    WriteBytes(EnvPath(), BytesOf(damaged));
    StartOnAFile();
    ASSERT_EQ(BytesOf(Env()), BytesOf(damaged));
    ShowScrollPrintAndOpenTheDialog();
}

// Every wrap mode, columns out of range too, then random records with
// heights within 20 points (huge fonts make every step slow).
TEST_F(EnvDamagedTest, EveryWrapModeAndRandomRecordsAreUsedAsTheyStand) {
    StartOnAFile();
    const WORD columns[] = {0, 1, 19, 80, ENV_WRAP_COLUMN_MASK};
    for (WORD mode = 0; mode < 64; ++mode) {
        Env().wWrap = WORD(mode << 10 | columns[mode % std::size(columns)]);
        SCOPED_TRACE(Env().wWrap);
        ShowScrollPrintAndOpenTheDialog();
    }
    std::mt19937 random(284);
    for (int n = 0; n < 6; ++n) {
        SCOPED_TRACE(n);
        auto* bytes = reinterpret_cast<unsigned char*>(&Env());
        std::generate_n(bytes, sizeof(EnvSettings),
                        [&] { return static_cast<unsigned char>(random()); });
        for (LOGFONTA& font : Env().lfFont) {
            font.lfHeight = LONG(random() % 401) - 200;
        }
        ShowScrollPrintAndOpenTheDialog();
    }
}

} // namespace
