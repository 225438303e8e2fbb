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

// $variable, else $HOME/fallback; empty with neither.
std::string UserFolder(const char* variable, const char* fallback) {
    const std::string xdg = AbsoluteFolderFrom(variable);
    if (!xdg.empty()) {
        return xdg;
    }
    const std::string home = AbsoluteFolderFrom("HOME");
    return home.empty() ? home : home + "/" + fallback;
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
    const std::string config = UserFolder("XDG_CONFIG_HOME", ".config");
    if (portable || config.empty()) {
        return beside;
    }
    const std::string folder = config + "/tavo/";
    return {folder + "tavo.env", folder + "tavo.ini"};
}

std::string FindCacheFolder() {
    const std::string cache = UserFolder("XDG_CACHE_HOME", ".cache");
    return cache.empty() ? cache : cache + "/tavo";
}
