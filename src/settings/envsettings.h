// The settings record: the 284 bytes of the env file, laid out in memory
// exactly as stored, and the holder that loads and saves it.
#pragma once

#include "platform/core/file.h"
#include "platform/core/wintypes.h"

#include <cstddef>
#include <string>

constexpr int ENV_CLR_ASCII = 0;
constexpr int ENV_CLR_JISROMAN = 1;
constexpr int ENV_CLR_OLDJIS = 2;
constexpr int ENV_CLR_NEWJIS = 3;
constexpr int ENV_CLR_LINENO = 4;
constexpr int ENV_CLR_GROUND = 5;
constexpr int ENV_CLR_TEXTBK = 6;
constexpr int ENV_CLR_CTRLBK = 7;
constexpr int ENV_CLR_LINENOBK = 8;
constexpr int ENV_COLOR_COUNT = 9;

constexpr BYTE ENV_FIX_BACKSLASH = 0x01;
constexpr BYTE ENV_FIX_TILDE = 0x02;
constexpr BYTE ENV_SHOW_CONTROLS = 0x04;
constexpr BYTE ENV_MARK_WIDE_SPACE = 0x08;
constexpr BYTE ENV_LINE_NUMBERS = 0x10;

constexpr WORD ENV_WRAP_COLUMN_MASK = 0x03FF;
constexpr WORD ENV_WRAP_MODE_MASK = 0xFC00;
constexpr WORD ENV_WRAP_FIXED = 0x0000;
constexpr WORD ENV_WRAP_WINDOW = 0x4000;
constexpr WORD ENV_WRAP_NONE = 0x8000;

constexpr int ENV_FONT_COUNT = 4;

// How the screen wraps its lines, as a wrap word asks.
enum class WrapMode { fixedColumn, windowWidth, none };

struct WrapSetting {
    WrapMode mode;
    WORD column; // kept in every mode, so that the fixed column comes back
};

// The one reading of a wrap word for the view and the settings dialog. A
// mode of no meaning (only an env file changed by other means holds one)
// reads as no wrapping: the view draws it unwrapped and the dialog opens
// it as such, so that OK on an unchanged dialog changes nothing.
WrapSetting DecodeWrap(WORD wWrap);

struct EnvSettings {
    LOGFONTA lfFont[ENV_FONT_COUNT]; // indexed by CharSet
    COLORREF crColor[ENV_COLOR_COUNT];
    BYTE bFlags;
    BYTE reserved1[3];
    WORD wWrap;
    BYTE reserved2[2];
};

static_assert(sizeof(EnvSettings) == 284);
static_assert(offsetof(EnvSettings, lfFont) == 0);
static_assert(offsetof(EnvSettings, crColor) == 240);
static_assert(offsetof(EnvSettings, bFlags) == 276);
static_assert(offsetof(EnvSettings, reserved1) == 277);
static_assert(offsetof(EnvSettings, wWrap) == 280);
static_assert(offsetof(EnvSettings, reserved2) == 282);
static_assert(offsetof(LOGFONTA, lfHeight) == 0);
static_assert(offsetof(LOGFONTA, lfWidth) == 4);
static_assert(offsetof(LOGFONTA, lfEscapement) == 8);
static_assert(offsetof(LOGFONTA, lfOrientation) == 12);
static_assert(offsetof(LOGFONTA, lfWeight) == 16);
static_assert(offsetof(LOGFONTA, lfItalic) == 20);
static_assert(offsetof(LOGFONTA, lfUnderline) == 21);
static_assert(offsetof(LOGFONTA, lfStrikeOut) == 22);
static_assert(offsetof(LOGFONTA, lfCharSet) == 23);
static_assert(offsetof(LOGFONTA, lfOutPrecision) == 24);
static_assert(offsetof(LOGFONTA, lfClipPrecision) == 25);
static_assert(offsetof(LOGFONTA, lfQuality) == 26);
static_assert(offsetof(LOGFONTA, lfPitchAndFamily) == 27);
static_assert(offsetof(LOGFONTA, lfFaceName) == 28);

// How a save ended: which step failed, if any.
enum class EnvSaveResult {
    saved,
    notCreated, // the env file could not be created or replaced
    notWritten, // writing the new record failed
};

class EnvStore {
public:
    // No env file until m_strEnvPath is set; the record stays zero.
    EnvStore() = default;
    // The env file beside the executable at modulePath.
    explicit EnvStore(const char* modulePath);

    void SetDefaults();
    // Reads up to 284 bytes from the env file; the defaults when it cannot
    // be opened. Nothing is validated or repaired.
    void Load();
    // Makes the env file's folder when it is missing (a first save into the
    // user's configuration folder), then replaces the env file (the file it
    // links to, if it is a link) with
    // the 284 bytes as a whole, keeping its mode, so that a failure at any
    // step leaves the previous file as it was. A read-only env file is not
    // replaced, nor one in a folder where no new file can be made. pError
    // receives the cause of a failure and the file that failed; the record
    // in memory stays in force either way.
    EnvSaveResult Save(CFileException* pError = nullptr) const;

    std::string m_strEnvPath;
    EnvSettings m_env = {};
};
