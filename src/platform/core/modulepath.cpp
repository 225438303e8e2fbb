#include "platform/core/modulepath.h"

#include <cstring>
#include <unistd.h>

DWORD GetModuleFileNameA(void*, char* lpFilename, DWORD nSize) {
    if (nSize == 0) {
        return 0;
    }
    const ssize_t length = ::readlink("/proc/self/exe", lpFilename, nSize);
    if (length <= 0 || DWORD(length) >= nSize) {
        lpFilename[0] = '\0';
        return 0;
    }
    lpFilename[length] = '\0';
    return DWORD(length);
}

bool ReplaceModuleExtension(const char* modulePath, const char* ext, char* out, std::size_t nSize) {
    const std::size_t length = std::strlen(modulePath);
    const std::size_t extLength = std::strlen(ext);
    const char* slash = std::strrchr(modulePath, '/');
    const std::size_t nameStart = slash ? std::size_t(slash - modulePath) + 1 : 0;
    // A dot and three characters at the end of the file name, the dot not
    // being the name's first character (a hidden file has no extension).
    const bool hasExtension = length >= nameStart + 5 && modulePath[length - 4] == '.';
    const std::size_t keep = hasExtension ? length - 3 : length + 1;
    if (length == nameStart || keep + extLength + 1 > nSize) {
        if (nSize > 0) {
            out[0] = '\0';
        }
        return false;
    }
    std::memcpy(out, modulePath, hasExtension ? keep : length);
    if (!hasExtension) {
        out[length] = '.';
    }
    std::memcpy(out + keep, ext, extLength + 1);
    return true;
}
