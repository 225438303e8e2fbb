#include "platform/core/modulepath.h"

#include <filesystem>

std::string GetModuleFilePath() {
    std::error_code error;
    std::string path = std::filesystem::read_symlink("/proc/self/exe", error).string();
    return error ? std::string() : path;
}

std::string ReplaceModuleExtension(const std::string& modulePath, const char* ext) {
    const std::size_t slash = modulePath.rfind('/');
    const std::size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
    const std::size_t length = modulePath.size();
    if (length == nameStart) {
        return "";
    }
    // A dot and three characters at the end of the file name, the dot not
    // being the name's first character (a hidden file has no extension).
    const bool hasExtension = length >= nameStart + 5 && modulePath[length - 4] == '.';
    return hasExtension ? modulePath.substr(0, length - 3) + ext : modulePath + "." + ext;
}
