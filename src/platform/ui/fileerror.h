// What a file error tells the user, in the program's words.
#pragma once

#include "platform/core/file.h"

#include <string>

// A one-line description of why the file failed, from the string table;
// empty when nothing failed.
std::string DescribeFileError(const CFileException& error);
