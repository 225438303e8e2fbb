#include "platform/core/modulepath.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(ModulePath, AThreeLetterExtensionIsReplacedOthersGetOneAppendedWhatDoesNotFitIsRefused) {
    const struct {
        const char* module;
        std::size_t size;
        const char* expected; // null: refused
    } cases[] = {
        {"/opt/tavo/TAVO.EXE", MAX_PATH, "/opt/tavo/TAVO.env"},
        {"TAVO.bin", MAX_PATH, "TAVO.env"},
        {"/usr/bin/tavo", MAX_PATH, "/usr/bin/tavo.env"},
        {"/opt/a.b/tavo", MAX_PATH, "/opt/a.b/tavo.env"},
        {"/opt/tavo.x", MAX_PATH, "/opt/tavo.x.env"},
        {"/opt/.abc", MAX_PATH, "/opt/.abc.env"},
        {"/a/TAVO.EXE", 12, "/a/TAVO.env"},
        {"/a/TAVO.EXE", 11, nullptr},
        {"/a/tavo", 11, nullptr},
        {"/a/", 100, nullptr},
    };
    for (const auto& c : cases) {
        std::string out(c.size, 'x');
        const bool ok = ReplaceModuleExtension(c.module, "env", out.data(), c.size);
        EXPECT_EQ(ok, c.expected != nullptr) << c.module;
        EXPECT_EQ(std::string(out.c_str()), ok ? c.expected : "") << c.module;
    }
}

TEST(ModulePath, RunningExecutableIsFound) {
    char path[MAX_PATH];
    ASSERT_GT(GetModuleFileNameA(nullptr, path, sizeof path), 0u);
    EXPECT_NE(std::string(path).find("platform_core_tests"), std::string::npos);
    EXPECT_EQ(GetModuleFileNameA(nullptr, path, 3), 0u);
}

} // namespace
