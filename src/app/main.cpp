// The tavo executable.
#include "checkcommand.h"
#include "cmdlineinfo.h"
#include "configdir.h"
#include "platform/core/modulepath.h"
#include "platform/gdi/gdi.h"
#include "printcommand.h"
#include "tavoapp.h"

#include <cstdio>
#include <string>

CTAVOApp theApp;

namespace {

const char* const USAGE =
    "Usage: tavo [FILE]\n"
    "       tavo /p FILE\n"
    "       tavo /pt FILE PRINTER [DRIVER [PORT]]\n"
    "       tavo --check [--quiet] [--max N] FILE...\n"
    "Shows a text file in the 7-bit JIS code in a window, without ever\n"
    "changing it. /p prints the file on the default printer, /pt on the\n"
    "named one; a PRINTER ending in .pdf is a PDF file written at that\n"
    "path. DRIVER and PORT are ignored, and -p and -pt work the same.\n"
    "Printing shows no window and needs no display; it exits with\n"
    "status 0 when every page went out, else with a message and 1.\n"
    "A wrong command line exits with status 2.\n"
    "\n"
    "--check finds, without a display, the places where each FILE is not\n"
    "clean 7-bit JIS and prints one line for each, in file order:\n"
    "  FILE:LINE:COLUMN: what is there\n"
    "LINE and COLUMN count from 1; COLUMN counts character cells of the\n"
    "unwrapped line, as the status bar does (a kanji takes two, a tab moves\n"
    "to the next multiple of 4). It exits with status 0 when every file is\n"
    "clean, 1 when a problem was found, 2 when a file could not be read\n"
    "(said on stderr; the other files are still checked).\n"
    "\n"
    "  -h, --help     show this help and exit\n"
    "  -V, --version  show the version and exit\n"
    "  --check        check the files' structure instead of showing one\n"
    "  --quiet        with --check: print nothing, only set the status\n"
    "  --max N        with --check: stop after N problems in each file\n"
    "  --             end of options: what follows is a file name\n"
    "\n"
    "The display settings (tavo.env) and the recent files (tavo.ini) are kept\n"
    "beside the executable when a tavo.env stands there (a portable copy),\n"
    "else in $XDG_CONFIG_HOME/tavo/ (~/.config/tavo/ when it is not set),\n"
    "made at the first save. Glyph images are cached between runs in\n"
    "$XDG_CACHE_HOME/tavo/ (~/.cache/tavo/); the folder may be removed at\n"
    "any time. The settings files are here:\n";

} // namespace

int main(int argc, char** argv) {
    // What needs no window is answered before any window system is asked.
    theApp.SetCommandLine(argc, argv);
    CTAVOCommandLineInfo cmdInfo;
    theApp.ParseCommandLine(cmdInfo);
    if (cmdInfo.m_bShowHelp) {
        const SettingsFiles files = FindSettingsFiles(GetModuleFilePath());
        std::printf("%s  %s\n  %s\n", USAGE, files.strEnvPath.c_str(), files.strIniPath.c_str());
        return 0;
    }
    if (cmdInfo.m_bShowVersion) {
        std::printf("tavo %s\n", TAVO_VERSION);
        return 0;
    }
    if (!cmdInfo.m_strError.empty()) {
        const std::string name = theApp.GetProgramName();
        std::fprintf(stderr, "%s: %s\nTry '%s --help' for more information.\n", name.c_str(),
                     cmdInfo.m_strError.c_str(), name.c_str());
        return 2;
    }
    if (cmdInfo.m_bCheck) {
        return RunCheck(cmdInfo, theApp.GetProgramName(), stdout, stderr);
    }
    ChoosePlatformForCommandLine(cmdInfo);
    AfxSetGlyphCacheFolder(FindCacheFolder());
    return AfxWinMain(argc, argv);
}
