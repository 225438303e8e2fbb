#include "platform/core/modulepath.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(ModulePath, AThreeLetterExtensionIsReplacedOthersGetOneAppendedOfAnyLength) {
    const std::string deep = "/" + std::string(300, 'd') + "/" + std::string(255, 'n');
    const struct {
        std::string module;
        std::string expected; // empty: no file named
    } cases[] = {
        {"/opt/tavo/TAVO.EXE", "/opt/tavo/TAVO.env"},
        {"TAVO.bin", "TAVO.env"},
        {"/usr/bin/tavo", "/usr/bin/tavo.env"},
        {"/opt/a.b/tavo", "/opt/a.b/tavo.env"},
        {"/opt/tavo.x", "/opt/tavo.x.env"},
        {"/opt/.abc", "/opt/.abc.env"},
        {deep + ".EXE", deep + ".env"},
        {"/a/", ""},
        {"", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ReplaceModuleExtension(c.module, "env"), c.expected) << c.module;
    }
}

TEST(ModulePath, RunningExecutableIsFound) {
    EXPECT_TRUE(GetModuleFilePath().ends_with("/platform_core_tests"));
}

} // namespace
