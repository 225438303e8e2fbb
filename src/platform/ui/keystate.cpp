#include "platform/ui/keystate.h"

#include "platform/ui/ids.h"

#include <QGuiApplication>

#include <array>

// After Qt: the X11 headers define macros that clash with Qt's names.
#include <X11/XKBlib.h>

namespace {

struct Light {
    UINT nID;
    const char* name;
};

constexpr std::array<Light, 4> LIGHTS = {{
    {ID_INDICATOR_CAPS, "Caps Lock"},
    {ID_INDICATOR_NUM, "Num Lock"},
    {ID_INDICATOR_SCRL, "Scroll Lock"},
    {ID_INDICATOR_KANA, "Kana"},
}};

// The light's bit in the keyboard's indicator state, -1 when it has none.
int IndicatorBit(Display* display, const char* name) {
    const Atom atom = XInternAtom(display, name, True);
    int index = -1;
    if (atom == 0 || !XkbGetNamedIndicator(display, atom, &index, nullptr, nullptr, nullptr)) {
        return -1;
    }
    return index;
}

} // namespace

BOOL IsLockIndicatorOn(UINT nIndicatorID) {
    const auto* x11 =
        qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    Display* display = x11 != nullptr ? x11->display() : nullptr;
    if (display == nullptr) {
        return FALSE;
    }
    // Looked up once: a keyboard's lights keep their places while we run.
    static const std::array<int, 4> bits = [display] {
        std::array<int, 4> result{};
        for (std::size_t i = 0; i < LIGHTS.size(); ++i) {
            result[i] = IndicatorBit(display, LIGHTS[i].name);
        }
        return result;
    }();
    unsigned state = 0;
    if (XkbGetIndicatorState(display, XkbUseCoreKbd, &state) != Success) {
        return FALSE;
    }
    for (std::size_t i = 0; i < LIGHTS.size(); ++i) {
        if (LIGHTS[i].nID == nIndicatorID) {
            return bits[i] >= 0 && ((state >> bits[i]) & 1u) != 0;
        }
    }
    return FALSE;
}
