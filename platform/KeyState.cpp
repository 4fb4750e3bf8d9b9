#include "KeyState.h"
#include <QGuiApplication>

#if __has_include(<X11/Xlib.h>)
#include <X11/Xlib.h>
#define BRIVO_HAVE_X11 1
#endif

namespace platform {

std::optional<bool> keyDown(quint32 nativeScanCode)
{
#ifdef BRIVO_HAVE_X11
    if (nativeScanCode == 0 || nativeScanCode > 255 || !qGuiApp) return std::nullopt;
    auto *x = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    Display *dpy = x ? x->display() : nullptr;
    if (!dpy) return std::nullopt;
    // Under X11 the native code of a key event is the X key code, a bit of the key map.
    char keys[32] = {};
    XQueryKeymap(dpy, keys);
    return (keys[nativeScanCode / 8] >> (nativeScanCode % 8) & 1) != 0;
#else
    Q_UNUSED(nativeScanCode);
    return std::nullopt;
#endif
}

} // namespace platform
