// The running executable's path and the files kept beside it.
#pragma once

#include "platform/core/wintypes.h"

#include <cstddef>

// Copies the executable's full path into the buffer. Returns its length, or
// 0 when it cannot be found or does not fit with its terminating NUL.
DWORD GetModuleFileNameA(void* hModule, char* lpFilename, DWORD nSize);

// The path of a file beside the executable: the executable's three-letter
// extension replaced by ext (TAVO.EXE -> TAVO.env), or "." ext appended when
// its name has no such extension (tavo -> tavo.env). Returns false, leaving
// an empty string, when the result does not fit into nSize bytes.
bool ReplaceModuleExtension(const char* modulePath, const char* ext, char* out, std::size_t nSize);
