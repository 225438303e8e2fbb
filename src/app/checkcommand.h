// tavo --check: the structure check of files on the command line, for
// scripts and archives. Needs no display.
#pragma once

#include "cmdlineinfo.h"

#include <cstdio>
#include <string>

constexpr int CHECK_CLEAN = 0;
constexpr int CHECK_PROBLEMS = 1;
constexpr int CHECK_UNREADABLE = 2;

// Checks every file of the command line in turn and writes one line per
// problem to out, "FILE:LINE:COLUMN: what" (line and column from 1, the
// column in cells as the status bar counts them), in file order. A file
// that cannot be read is said on err, as "PROGRAM: FILE: why", and the
// others are checked all the same. Returns CHECK_UNREADABLE when a file
// could not be read, else CHECK_PROBLEMS when any problem was found, else
// CHECK_CLEAN.
int RunCheck(const CTAVOCommandLineInfo& cmdInfo, const std::string& program, std::FILE* out,
             std::FILE* err);
