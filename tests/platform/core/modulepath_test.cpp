#include "platform/core/modulepath.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string Replaced(const std::string& module, std::size_t size = MAX_PATH) {
    std::string out(size, 'x');
    const bool ok = ReplaceModuleExtension(module.c_str(), "env", out.data(), size);
    return ok ? std::string(out.c_str()) : "<none:" + std::string(out.c_str()) + ">";
}

TEST(ModulePath, ThreeLetterExtensionIsReplaced) {
    EXPECT_EQ(Replaced("/opt/tavo/TAVO.EXE"), "/opt/tavo/TAVO.env");
    EXPECT_EQ(Replaced("/opt/tavo/TAVO.BIN"), "/opt/tavo/TAVO.env");
    EXPECT_EQ(Replaced("TAVO.exe"), "TAVO.env");
}

TEST(ModulePath, NameWithoutExtensionGetsOneAppended) {
    EXPECT_EQ(Replaced("/usr/bin/tavo"), "/usr/bin/tavo.env");
    EXPECT_EQ(Replaced("/opt/a.b/tavo"), "/opt/a.b/tavo.env");
    EXPECT_EQ(Replaced("/opt/tavo.x"), "/opt/tavo.x.env");
    EXPECT_EQ(Replaced("/opt/.abc"), "/opt/.abc.env");
}

TEST(ModulePath, ResultThatDoesNotFitIsRefused) {
    EXPECT_EQ(Replaced("/a/TAVO.EXE", 12), "/a/TAVO.env");
    EXPECT_EQ(Replaced("/a/TAVO.EXE", 11), "<none:>");
    EXPECT_EQ(Replaced("/a/tavo", 11), "<none:>");
    EXPECT_EQ(Replaced("/a/", 100), "<none:>");
}

TEST(ModulePath, RunningExecutableIsFound) {
    char path[MAX_PATH];
    ASSERT_GT(GetModuleFileNameA(nullptr, path, sizeof path), 0u);
    EXPECT_NE(std::string(path).find("platform_core_tests"), std::string::npos);
    EXPECT_EQ(GetModuleFileNameA(nullptr, path, 3), 0u);
}

} // namespace
