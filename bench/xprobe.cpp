#include "xprobe.h"

#include <algorithm>

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XShm.h>
#include <X11/extensions/XTest.h>
#include <X11/extensions/Xdamage.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <poll.h>
#include <spawn.h>
#include <sys/ipc.h>
#include <sys/shm.h>
#include <sys/wait.h>

extern char** environ;

namespace {

// The image the pictures are read into, shared with the X server.
struct SharedImage {
    XShmSegmentInfo info{};
    XImage* image = nullptr;
};

SharedImage g_shared;

} // namespace

double NowMs() {
    using namespace std::chrono;
    return duration<double, std::milli>(steady_clock::now().time_since_epoch()).count();
}

XProbe::XProbe() {
    m_pDisplay = XOpenDisplay(nullptr);
    if (m_pDisplay == nullptr) {
        return;
    }
    int error = 0;
    if (!XDamageQueryExtension(m_pDisplay, &m_nDamageEvent, &error) ||
        !XShmQueryExtension(m_pDisplay)) {
        XCloseDisplay(m_pDisplay);
        m_pDisplay = nullptr;
        return;
    }
    const int screen = DefaultScreen(m_pDisplay);
    m_root = RootWindow(m_pDisplay, screen);
    XSelectInput(m_pDisplay, m_root, SubstructureNotifyMask);
    m_damage = XDamageCreate(m_pDisplay, m_root, XDamageReportNonEmpty);
    const int width = DisplayWidth(m_pDisplay, screen);
    const int height = DisplayHeight(m_pDisplay, screen);
    g_shared.image = XShmCreateImage(m_pDisplay, DefaultVisual(m_pDisplay, screen),
                                     unsigned(DefaultDepth(m_pDisplay, screen)), ZPixmap, nullptr,
                                     &g_shared.info, unsigned(width), unsigned(height));
    g_shared.info.shmid =
        shmget(IPC_PRIVATE, std::size_t(g_shared.image->bytes_per_line) * height, IPC_CREAT | 0600);
    g_shared.info.shmaddr = g_shared.image->data =
        static_cast<char*>(shmat(g_shared.info.shmid, nullptr, 0));
    g_shared.info.readOnly = False;
    XShmAttach(m_pDisplay, &g_shared.info);
    XSync(m_pDisplay, False);
    shmctl(g_shared.info.shmid, IPC_RMID, nullptr);
}

XProbe::~XProbe() {
    if (m_pDisplay == nullptr) {
        return;
    }
    Finish();
    XShmDetach(m_pDisplay, &g_shared.info);
    XDestroyImage(g_shared.image);
    shmdt(g_shared.info.shmaddr);
    XDamageDestroy(m_pDisplay, m_damage);
    XCloseDisplay(m_pDisplay);
}

void XProbe::Start(const std::vector<std::string>& argv) {
    std::vector<char*> args;
    for (const std::string& arg : argv) {
        args.push_back(const_cast<char*>(arg.c_str()));
    }
    args.push_back(nullptr);
    m_width = m_height = 0;
    XSync(m_pDisplay, False);
    XDamageSubtract(m_pDisplay, m_damage, None, None);
    m_start = NowMs();
    posix_spawn(&m_pid, args[0], nullptr, nullptr, args.data(), environ);
}

// The program's main window is the largest window mapped on the root.
void XProbe::TrackWindow() {
    Window rootReturn = 0;
    Window parent = 0;
    Window* children = nullptr;
    unsigned count = 0;
    XQueryTree(m_pDisplay, m_root, &rootReturn, &parent, &children, &count);
    long best = 0;
    for (unsigned i = 0; i < count; ++i) {
        XWindowAttributes attributes;
        if (XGetWindowAttributes(m_pDisplay, children[i], &attributes) &&
            attributes.map_state == IsViewable &&
            long(attributes.width) * attributes.height > best) {
            best = long(attributes.width) * attributes.height;
            m_x = attributes.x;
            m_y = attributes.y;
            m_width = attributes.width;
            m_height = attributes.height;
        }
    }
    if (children != nullptr) {
        XFree(children);
    }
}

bool XProbe::NextDamage(double ms) {
    const double until = NowMs() + ms;
    while (true) {
        while (XPending(m_pDisplay) > 0) {
            XEvent event;
            XNextEvent(m_pDisplay, &event);
            if (event.type == MapNotify || event.type == ConfigureNotify) {
                TrackWindow();
            } else if (event.type == m_nDamageEvent + XDamageNotify) {
                XDamageSubtract(m_pDisplay, m_damage, None, None);
                if (m_width == 0) {
                    TrackWindow();
                }
                if (m_width > 0) {
                    return true;
                }
            }
        }
        const double left = until - NowMs();
        if (left <= 0) {
            return false;
        }
        pollfd fd{ConnectionNumber(m_pDisplay), POLLIN, 0};
        poll(&fd, 1, int(left) + 1);
    }
}

XProbe::Picture XProbe::Capture() {
    XShmGetImage(m_pDisplay, m_root, g_shared.image, 0, 0, AllPlanes);
    Picture picture;
    const int stride = g_shared.image->bytes_per_line;
    picture.reserve(std::size_t(m_width) * m_height * 4 + 8);
    for (int v : {m_width, m_height}) {
        for (int k = 0; k < 4; ++k) {
            picture.push_back(static_cast<unsigned char>(v >> (8 * k)));
        }
    }
    for (int row = 0; row < m_height; ++row) {
        const auto* line = reinterpret_cast<const unsigned char*>(g_shared.image->data) +
                           std::size_t(m_y + row) * stride + std::size_t(m_x) * 4;
        picture.insert(picture.end(), line, line + std::size_t(m_width) * 4);
    }
    return picture;
}

double XProbe::WaitFor(const Picture& picture, double timeoutMs) {
    const double until = m_start + timeoutMs;
    while (NextDamage(until - NowMs())) {
        const double at = NowMs();
        if (Capture() == picture) {
            return at - m_start;
        }
    }
    return -1;
}

namespace {

// Whether two captures of one size agree in the text band of WaitForText.
bool SameText(const XProbe::Picture& a, const XProbe::Picture& b) {
    if (a.size() != b.size() || a.size() < 8 || !std::equal(a.begin(), a.begin() + 8, b.begin())) {
        return false;
    }
    int size[2] = {0, 0};
    for (int v = 0; v < 2; ++v) {
        for (int k = 0; k < 4; ++k) {
            size[v] |= int(a[std::size_t(4 * v + k)]) << (8 * k);
        }
    }
    const std::size_t stride = std::size_t(size[0]) * 4;
    const std::size_t width = std::size_t(size[0] * 3 / 5) * 4;
    for (int row = size[1] / 10; row < size[1] * 3 / 5; ++row) {
        const std::size_t at = 8 + std::size_t(row) * stride;
        if (!std::equal(a.begin() + long(at), a.begin() + long(at + width), b.begin() + long(at))) {
            return false;
        }
    }
    return true;
}

} // namespace

double XProbe::WaitForText(const Picture& picture, double timeoutMs) {
    const double until = m_start + timeoutMs;
    while (NextDamage(until - NowMs())) {
        const double at = NowMs();
        if (SameText(Capture(), picture)) {
            return at - m_start;
        }
    }
    return -1;
}

XProbe::Picture XProbe::WaitUntilQuiet(double quietMs, double timeoutMs) {
    const double until = m_start + timeoutMs;
    bool drawn = false;
    while (NowMs() < until) {
        if (NextDamage(quietMs)) {
            drawn = true;
        } else if (drawn) {
            return Capture();
        }
    }
    return {};
}

void XProbe::PressKey(const char* keysym, bool control) {
    const KeyCode key = XKeysymToKeycode(m_pDisplay, XStringToKeysym(keysym));
    const KeyCode ctrl = XKeysymToKeycode(m_pDisplay, XStringToKeysym("Control_L"));
    XSync(m_pDisplay, False);
    XDamageSubtract(m_pDisplay, m_damage, None, None);
    m_start = NowMs();
    if (control) {
        XTestFakeKeyEvent(m_pDisplay, ctrl, True, CurrentTime);
    }
    XTestFakeKeyEvent(m_pDisplay, key, True, CurrentTime);
    XTestFakeKeyEvent(m_pDisplay, key, False, CurrentTime);
    if (control) {
        XTestFakeKeyEvent(m_pDisplay, ctrl, False, CurrentTime);
    }
    XFlush(m_pDisplay);
}

long XProbe::Finish() {
    if (m_pid <= 0) {
        return 0;
    }
    // The high-water mark of the program itself, counted from its exec.
    long peak = 0;
    std::ifstream status("/proc/" + std::to_string(m_pid) + "/status");
    for (std::string line; std::getline(status, line);) {
        if (line.rfind("VmHWM:", 0) == 0) {
            peak = std::atol(line.c_str() + 6);
        }
    }
    kill(m_pid, SIGTERM);
    int code = 0;
    waitpid(m_pid, &code, 0);
    m_pid = -1;
    // Let the display settle before the next run starts.
    XSync(m_pDisplay, False);
    while (NextDamage(200)) {
    }
    return peak;
}

bool XProbe::SavePicture(const Picture& picture, const std::string& path) const {
    if (picture.size() < 8) {
        return false;
    }
    int size[2] = {0, 0};
    for (int v = 0; v < 2; ++v) {
        for (int k = 0; k < 4; ++k) {
            size[v] |= int(picture[std::size_t(4 * v + k)]) << (8 * k);
        }
    }
    FILE* out = std::fopen(path.c_str(), "wb");
    if (out == nullptr) {
        return false;
    }
    std::fprintf(out, "P6\n%d %d\n255\n", size[0], size[1]);
    for (std::size_t i = 8; i + 3 < picture.size(); i += 4) {
        const unsigned char rgb[3] = {picture[i + 2], picture[i + 1], picture[i]};
        std::fwrite(rgb, 1, 3, out);
    }
    std::fclose(out);
    return true;
}
