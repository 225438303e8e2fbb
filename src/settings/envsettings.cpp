#include "envsettings.h"

#include "platform/core/file.h"
#include "platform/core/modulepath.h"

#include <cstring>

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

std::string FaceNameOf(const LOGFONTA& font) {
    return std::string(font.lfFaceName, strnlen(font.lfFaceName, sizeof font.lfFaceName));
}

EnvStore::EnvStore() {
    char module[MAX_PATH];
    if (GetModuleFileNameA(nullptr, module, sizeof module) != 0) {
        ReplaceModuleExtension(module, "env", m_szEnvPath, sizeof m_szEnvPath);
    }
}

EnvStore::EnvStore(const char* modulePath) {
    ReplaceModuleExtension(modulePath, "env", m_szEnvPath, sizeof m_szEnvPath);
}

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
    if (m_szEnvPath[0] == '\0' || !file.Open(m_szEnvPath, CFile::modeRead | CFile::shareDenyNone)) {
        SetDefaults();
        return;
    }
    file.Read(&m_env, sizeof m_env);
}

EnvSaveResult EnvStore::Save(CFileException* pError) const {
    CFileException ignored;
    CFileException& error = pError != nullptr ? *pError : ignored;
    error = CFileException{};
    error.m_strFileName = m_szEnvPath;
    if (m_szEnvPath[0] == '\0') {
        error.m_cause = CFileException::fileNotFound;
        return EnvSaveResult::notCreated;
    }
    const std::string temp = std::string(m_szEnvPath) + ".tmp";
    CFile file;
    if (!file.Open(temp.c_str(), CFile::modeCreate | CFile::modeWrite, &error)) {
        error.m_strFileName = m_szEnvPath;
        return EnvSaveResult::notCreated;
    }
    if (!file.Write(&m_env, sizeof m_env) || !file.Flush()) {
        error.m_lOsError = file.GetLastError();
        error.m_cause = CFileException::OsErrorToException(error.m_lOsError);
        if (error.m_cause != CFileException::diskFull) {
            error.m_cause = CFileException::writeFault;
        }
        file.Close();
        CFile::Remove(temp.c_str());
        return EnvSaveResult::notWritten;
    }
    file.Close();
    if (!CFile::Rename(temp.c_str(), m_szEnvPath, &error)) {
        CFile::Remove(temp.c_str());
        return EnvSaveResult::notCreated;
    }
    return EnvSaveResult::saved;
}

std::string DescribeSaveFailure(EnvSaveResult result, const CFileException& error) {
    const char* step = result == EnvSaveResult::notWritten ? "設定ファイルに書き込めませんでした。"
                                                           : "設定ファイルを作成できませんでした。";
    return std::string("動作環境を保存できませんでした。新しい設定はこのまま使えますが、"
                       "次に起動したときには元に戻ります。\n\n") +
           error.m_strFileName + "\n\n" + step + "\n" + error.GetErrorMessage();
}
