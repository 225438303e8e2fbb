// Where settings, recent files and the glyph cache are kept.
#include "app_fixture.h"
#include "platform/gdi/gdi.h"

namespace {

class SettingsLocationTest : public AppTest {
protected:
    void SetUp() override {
        AppTest::SetUp();
        std::filesystem::create_directories(base / "bin");
        modulePath = (base / "bin" / "tavo").string();
        const char* home = std::getenv("HOME");
        savedHome = home != nullptr ? home : "";
    }
    void TearDown() override {
        ::setenv("HOME", savedHome.c_str(), 1);
        AppTest::TearDown();
    }

    // Starts, saves the settings with flags and opens a file, then ends.
    void SaveAndRemember(BYTE flags) {
        ASSERT_TRUE(Start({WriteFile("seen.jis", "seen\n")}));
        Env().bFlags = flags;
        EXPECT_EQ(app->m_envStore.Save(), EnvSaveResult::saved);
        EXPECT_EQ(Stop(), 0);
    }

    std::string savedHome;
};

// Also in a folder whose path is longer than any fixed buffer, the files
// taking the executable's own name.
TEST_F(SettingsLocationTest, AnEnvFileBesideTheProgramMakesItPortable) {
    const std::filesystem::path deep = base / "bin" / std::string(160, 'd') / std::string(160, 'e');
    std::filesystem::create_directories(deep);
    WriteBytes(deep / "TAVO.env", std::string(284, '\0'));
    modulePath = (deep / "TAVO.EXE").string();
    SaveAndRemember(ENV_LINE_NUMBERS);
    EXPECT_EQ(ReadBytes(deep / "TAVO.env").at(276), char(ENV_LINE_NUMBERS));
    EXPECT_TRUE(std::filesystem::exists(deep / "TAVO.ini"));
    EXPECT_FALSE(std::filesystem::exists(dir / "tavo.env"));
    EXPECT_FALSE(std::filesystem::exists(dir / "tavo.ini"));
    ASSERT_TRUE(Start());
    EXPECT_EQ(Env().bFlags, ENV_LINE_NUMBERS);
    ASSERT_EQ(app->GetRecentFileList()->GetCount(), 1);
    EXPECT_EQ((*app->GetRecentFileList())[0], (dir / "seen.jis").string());
}

// Without one, $XDG_CONFIG_HOME/tavo, made by the first save.
TEST_F(SettingsLocationTest, OtherwiseTheConfigurationFolderIsUsedAndMade) {
    const std::filesystem::path config = base / "config" / "deeper";
    ::setenv("XDG_CONFIG_HOME", config.c_str(), 1);
    SaveAndRemember(ENV_LINE_NUMBERS);
    EXPECT_EQ(ReadBytes(config / "tavo" / "tavo.env").size(), 284u);
    EXPECT_TRUE(std::filesystem::exists(config / "tavo" / "tavo.ini"));
    EXPECT_FALSE(std::filesystem::exists(base / "bin" / "tavo.env"));
    EXPECT_FALSE(std::filesystem::exists(base / "bin" / "tavo.ini"));
    ASSERT_TRUE(Start());
    EXPECT_EQ(Env().bFlags, ENV_LINE_NUMBERS);
    EXPECT_EQ(app->GetRecentFileList()->GetCount(), 1);
}

// Unset, empty or relative, $XDG_CONFIG_HOME gives way to ~/.config.
TEST_F(SettingsLocationTest, WithoutAUsableXdgConfigHomeItIsTheHomeConfigFolder) {
    for (const char* xdg : {static_cast<const char*>(nullptr), "", "relative/config"}) {
        SCOPED_TRACE(xdg == nullptr ? "unset" : xdg);
        const std::filesystem::path home = base / "home";
        std::filesystem::remove_all(home);
        ::setenv("HOME", home.c_str(), 1);
        if (xdg == nullptr) {
            ::unsetenv("XDG_CONFIG_HOME");
        } else {
            ::setenv("XDG_CONFIG_HOME", xdg, 1);
        }
        SaveAndRemember(ENV_MARK_WIDE_SPACE);
        EXPECT_EQ(ReadBytes(home / ".config" / "tavo" / "tavo.env").at(276),
                  char(ENV_MARK_WIDE_SPACE));
        EXPECT_TRUE(std::filesystem::exists(home / ".config" / "tavo" / "tavo.ini"));
    }
}

// $XDG_CACHE_HOME/tavo, else ~/.cache/tavo: what the run drew is there after
// it ends, and a cache that cannot be written is said and ends nothing.
TEST_F(SettingsLocationTest, GlyphsDrawnAreCachedAtTheEndInTheCacheFolder) {
    const std::filesystem::path home = base / "home";
    ::setenv("HOME", home.c_str(), 1);
    ::setenv("XDG_CACHE_HOME", "relative/cache", 1);
    EXPECT_EQ(FindCacheFolder(), (home / ".cache" / "tavo").string());
    ::unsetenv("HOME");
    EXPECT_EQ(FindCacheFolder(), "");
    ::setenv("XDG_CACHE_HOME", (base / "cache").c_str(), 1);
    const std::filesystem::path folder = FindCacheFolder();
    EXPECT_EQ(folder, base / "cache" / "tavo");

    AfxSetGlyphCacheFolder(folder);
    // Another run's cache where the folder should be: a file in its way.
    WriteBytes(base / "cache", "not a folder");
    ASSERT_TRUE(Start({WriteFile("text.jis", "\x1b$B4A;z\x1b(B kanji and ASCII\n")}));
    View()->GetSafeHwnd()->grab();
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(Stop(), 0);
    const std::string said = ::testing::internal::GetCapturedStderr();
    EXPECT_NE(said.find((folder / "").string()), std::string::npos) << said;
    EXPECT_EQ(ReadBytes(base / "cache"), "not a folder");

    std::filesystem::remove(base / "cache");
    ASSERT_TRUE(Start({WriteFile("text.jis", "\x1b$B4A;z\x1b(B kanji and ASCII\n")}));
    View()->GetSafeHwnd()->grab();
    EXPECT_EQ(Stop(), 0);
    AfxSetGlyphCacheFolder("");
    ASSERT_TRUE(std::filesystem::is_directory(folder));
    EXPECT_FALSE(std::filesystem::is_empty(folder));
}

} // namespace
