// The tavo executable.
#include "tavoapp.h"

#include <cstdio>
#include <cstring>

CTAVOApp theApp;

namespace {

const char* const kUsage = "Usage: tavo [FILE]\n"
                           "       tavo /p FILE\n"
                           "       tavo /pt FILE PRINTER [DRIVER [PORT]]\n"
                           "Shows a text file in the 7-bit JIS code in a window, without ever\n"
                           "changing it. /p prints the file on the default printer, /pt on the\n"
                           "named one; a PRINTER ending in .pdf is a PDF file written at that\n"
                           "path. DRIVER and PORT are ignored, and -p and -pt work the same.\n"
                           "Printing shows no window and needs no display; it exits with\n"
                           "status 0 when every page went out, else with a message and 1.\n"
                           "\n"
                           "  --help     show this help and exit\n"
                           "  --version  show the version and exit\n";

} // namespace

int main(int argc, char** argv) {
    if (argc == 2 && std::strcmp(argv[1], "--help") == 0) {
        std::fputs(kUsage, stdout);
        return 0;
    }
    if (argc == 2 && std::strcmp(argv[1], "--version") == 0) {
        std::printf("tavo %s\n", TAVO_VERSION);
        return 0;
    }
    return AfxWinMain(argc, argv);
}
