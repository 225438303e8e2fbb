#include "platform/ui/display.h"

#include <cstdlib>
#include <cstring>

#include <X11/Xlib.h>

bool CanOpenDisplay() {
    // X is the only window system this build can show windows on; any
    // other platform that was asked for by name is Qt's to judge.
    const char* platform = std::getenv("QT_QPA_PLATFORM");
    if (platform != nullptr && *platform != '\0' && std::strncmp(platform, "xcb", 3) != 0) {
        return true;
    }
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        return false;
    }
    XCloseDisplay(display);
    return true;
}
