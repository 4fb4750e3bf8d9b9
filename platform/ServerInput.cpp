#include "ServerInput.h"
#include <QGuiApplication>

#if __has_include(<X11/Xlib.h>) && __has_include(<X11/XKBlib.h>)
#include <X11/XKBlib.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#define BRIVO_HAVE_X11 1
#endif

namespace platform {

namespace {

std::function<ulong()> g_source;
std::function<std::optional<bool>(quint32)> g_statoTasti;

#ifdef BRIVO_HAVE_X11
Display *qtDisplay()
{
    if (!qGuiApp) return nullptr;
    auto *x = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    return x ? x->display() : nullptr;
}

// The time is read on a connection of its own: the program's connection hands its events
// to the toolkit, which would take the answer. The server stamps a property change on a
// window nobody sees, and the change's notice carries the stamp.
class Orologio {
public:
    Orologio()
    {
        Display *qt = qtDisplay();
        if (!qt) return;
        dpy_ = XOpenDisplay(DisplayString(qt));
        if (!dpy_) return;
        finestra_ = XCreateSimpleWindow(dpy_, DefaultRootWindow(dpy_), 0, 0, 1, 1, 0, 0, 0);
        XSelectInput(dpy_, finestra_, PropertyChangeMask);
        proprieta_ = XInternAtom(dpy_, "BRIVOMARTE_ORA", False);
    }
    ulong ora()
    {
        if (!dpy_) return 0;
        XChangeProperty(dpy_, finestra_, proprieta_, XA_STRING, 8, PropModeAppend, nullptr, 0);
        XEvent e;
        XWindowEvent(dpy_, finestra_, PropertyChangeMask, &e);
        return e.xproperty.time;
    }

private:
    Display *dpy_ = nullptr;
    Window finestra_ = 0;
    Atom proprieta_ = 0;
};
#endif

} // namespace

bool askDetectableAutoRepeat()
{
#ifdef BRIVO_HAVE_X11
    if (Display *dpy = qtDisplay()) {
        Bool supported = False;
        return XkbSetDetectableAutoRepeat(dpy, True, &supported) && supported;
    }
#endif
    return false;
}

ulong serverTime()
{
    if (g_source) return g_source();
#ifdef BRIVO_HAVE_X11
    static Orologio orologio;
    return orologio.ora();
#else
    return 0;
#endif
}

void setServerTimeSource(std::function<ulong()> source) { g_source = std::move(source); }

std::optional<bool> keyDown(quint32 nativeScanCode)
{
    if (g_statoTasti) return g_statoTasti(nativeScanCode);
#ifdef BRIVO_HAVE_X11
    // Under X11 the native code of a key event is the X key code, a bit of the key map.
    if (nativeScanCode == 0 || nativeScanCode > 255) return std::nullopt;
    if (Display *dpy = qtDisplay()) {
        char keys[32] = {};
        XQueryKeymap(dpy, keys);
        return (keys[nativeScanCode / 8] >> (nativeScanCode % 8) & 1) != 0;
    }
#else
    Q_UNUSED(nativeScanCode);
#endif
    return std::nullopt;
}

void setKeyStateSource(std::function<std::optional<bool>(quint32)> source) { g_statoTasti = std::move(source); }

} // namespace platform
