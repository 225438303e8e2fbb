#include "configdir.h"

#include "platform/core/modulepath.h"

#include <cstdlib>
#include <filesystem>

namespace {

// The value of an environment variable that names an absolute folder, or
// empty: a relative one would change with the working folder.
std::string AbsoluteFolderFrom(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr && value[0] == '/' ? std::string(value) : std::string();
}

std::string UserConfigFolder() {
    const std::string xdg = AbsoluteFolderFrom("XDG_CONFIG_HOME");
    if (!xdg.empty()) {
        return xdg;
    }
    const std::string home = AbsoluteFolderFrom("HOME");
    return home.empty() ? home : home + "/.config";
}

} // namespace

SettingsFiles FindSettingsFiles(const std::string& modulePath) {
    const SettingsFiles beside = {ReplaceModuleExtension(modulePath, "env"),
                                  ReplaceModuleExtension(modulePath, "ini")};
    std::error_code error;
    const std::filesystem::file_type found =
        std::filesystem::symlink_status(beside.strEnvPath, error).type();
    const bool portable =
        found != std::filesystem::file_type::not_found && found != std::filesystem::file_type::none;
    const std::string config = UserConfigFolder();
    if (portable || config.empty()) {
        return beside;
    }
    const std::string folder = config + "/tavo/";
    return {folder + "tavo.env", folder + "tavo.ini"};
}
