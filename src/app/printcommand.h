// Printing from the command line: /p and /pt print their file without a
// window, tell failures on standard error and end with exit status 1.
#pragma once

#include "platform/ui/app.h"

class CCommandLineInfo;

// Carries out the command line: a print command prints and returns FALSE,
// as the program ends after it; anything else goes to the application's
// ProcessShellCommand.
BOOL ProcessCommandLine(CWinApp& app, CCommandLineInfo& cmdInfo);

// Before the Qt application is made: a command line that prints needs no
// display, so it runs on Qt's offscreen platform unless one is asked for.
void ChoosePlatformForCommandLine(const CCommandLineInfo& cmdInfo);
