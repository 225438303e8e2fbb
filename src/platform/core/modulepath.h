// The running executable's path and the files kept beside it.
#pragma once

#include <string>

// The executable's full path, however long; empty when it cannot be found.
std::string GetModuleFilePath();

// The path of a file beside the executable: the executable's three-letter
// extension replaced by ext (TAVO.EXE -> TAVO.env), or "." ext appended when
// its name has no such extension (tavo -> tavo.env). Empty when modulePath
// names no file.
std::string ReplaceModuleExtension(const std::string& modulePath, const char* ext);
