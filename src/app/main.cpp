// The tavo executable.
#include "cmdlineinfo.h"
#include "printcommand.h"
#include "tavoapp.h"

#include <cstdio>
#include <string>

CTAVOApp theApp;

namespace {

const char* const USAGE = "Usage: tavo [FILE]\n"
                          "       tavo /p FILE\n"
                          "       tavo /pt FILE PRINTER [DRIVER [PORT]]\n"
                          "Shows a text file in the 7-bit JIS code in a window, without ever\n"
                          "changing it. /p prints the file on the default printer, /pt on the\n"
                          "named one; a PRINTER ending in .pdf is a PDF file written at that\n"
                          "path. DRIVER and PORT are ignored, and -p and -pt work the same.\n"
                          "Printing shows no window and needs no display; it exits with\n"
                          "status 0 when every page went out, else with a message and 1.\n"
                          "A wrong command line exits with status 2.\n"
                          "\n"
                          "  -h, --help     show this help and exit\n"
                          "  -V, --version  show the version and exit\n"
                          "  --             end of options: what follows is a file name\n";

} // namespace

int main(int argc, char** argv) {
    // What needs no window is answered before any window system is asked.
    theApp.SetCommandLine(argc, argv);
    CTAVOCommandLineInfo cmdInfo;
    theApp.ParseCommandLine(cmdInfo);
    if (cmdInfo.m_bShowHelp) {
        std::fputs(USAGE, stdout);
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
    ChoosePlatformForCommandLine(cmdInfo);
    return AfxWinMain(argc, argv);
}
