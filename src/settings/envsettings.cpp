#include "envsettings.h"

#include "platform/core/file.h"
#include "platform/core/modulepath.h"
#include "platform/core/replacefile.h"

#include <cerrno>
#include <cstring>

#include <sys/stat.h>

namespace {

// "ＭＳ ゴシック" in Shift_JIS.
constexpr char DEFAULT_FACE[] = "\x82\x6C\x82\x72\x20\x83\x53\x83\x56\x83\x62\x83\x4E";

constexpr COLORREF DEFAULT_COLORS[ENV_COLOR_COUNT] = {
    RGB(0x00, 0x00, 0x00), // ASCII: black
    RGB(0x80, 0x00, 0x00), // JIS Roman: dark red
    RGB(0x80, 0x00, 0x80), // Old JIS: purple
    RGB(0x00, 0x00, 0x80), // New JIS: dark blue
    RGB(0x00, 0x80, 0x00), // line numbers: green
    RGB(0xFF, 0xFF, 0xFF), // ground
    RGB(0xFF, 0xFF, 0xFF), // text background
    RGB(0xC0, 0xC0, 0xC0), // control-code background
    RGB(0xFF, 0xFF, 0xFF), // gutter
};

// Makes the folders leading to path that are missing, private to the user
// as a configuration folder should be. Failures are left to the save, which
// then cannot make its file and says so.
void CreateMissingFolders(const std::string& path) {
    for (std::size_t slash = path.find('/', 1); slash != std::string::npos;
         slash = path.find('/', slash + 1)) {
        if (::mkdir(path.substr(0, slash).c_str(), 0700) != 0 && errno != EEXIST) {
            return;
        }
    }
}

} // namespace

WrapSetting DecodeWrap(WORD wWrap) {
    const WORD column = wWrap & ENV_WRAP_COLUMN_MASK;
    switch (wWrap & ENV_WRAP_MODE_MASK) {
    case ENV_WRAP_FIXED:
        return {WrapMode::fixedColumn, column};
    case ENV_WRAP_WINDOW:
        return {WrapMode::windowWidth, column};
    default:
        return {WrapMode::none, column};
    }
}

EnvStore::EnvStore(const char* modulePath)
    : m_strEnvPath(ReplaceModuleExtension(modulePath, "env")) {}

void EnvStore::SetDefaults() {
    std::memset(&m_env, 0, sizeof m_env);
    LOGFONTA& font = m_env.lfFont[0];
    font.lfHeight = 90;
    font.lfCharSet = SHIFTJIS_CHARSET;
    font.lfPitchAndFamily = FIXED_PITCH;
    std::memcpy(font.lfFaceName, DEFAULT_FACE, sizeof DEFAULT_FACE);
    for (int i = 1; i < ENV_FONT_COUNT; ++i) {
        m_env.lfFont[i] = font;
    }
    std::memcpy(m_env.crColor, DEFAULT_COLORS, sizeof DEFAULT_COLORS);
    m_env.bFlags = ENV_FIX_BACKSLASH | ENV_FIX_TILDE;
    m_env.wWrap = ENV_WRAP_NONE | 80;
}

void EnvStore::Load() {
    CFile file;
    if (m_strEnvPath.empty() ||
        !file.Open(m_strEnvPath.c_str(), CFile::modeRead | CFile::shareDenyNone)) {
        SetDefaults();
        return;
    }
    file.Read(&m_env, sizeof m_env);
}

EnvSaveResult EnvStore::Save(CFileException* pError) const {
    CFileException ignored;
    CFileException& error = pError != nullptr ? *pError : ignored;
    error = CFileException{};
    if (m_strEnvPath.empty()) {
        error.m_cause = CFileException::fileNotFound;
        return EnvSaveResult::notCreated;
    }
    CreateMissingFolders(m_strEnvPath);
    CReplacementFile file;
    if (!file.Open(m_strEnvPath.c_str(), &error)) {
        return EnvSaveResult::notCreated;
    }
    if (!file.Write(&m_env, sizeof m_env, &error)) {
        return EnvSaveResult::notWritten;
    }
    if (!file.Commit(&error)) {
        return error.m_strFileName == file.GetTargetPath() ? EnvSaveResult::notCreated
                                                           : EnvSaveResult::notWritten;
    }
    return EnvSaveResult::saved;
}
