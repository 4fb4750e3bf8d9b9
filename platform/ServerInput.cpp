#include "ServerInput.h"
#include <QGuiApplication>

#if __has_include(<X11/Xlib.h>) && __has_include(<X11/XKBlib.h>)
#include <X11/XKBlib.h>
#include <X11/Xlib.h>
#define BRIVO_HAVE_X11 1
#ifdef BRIVO_HAVE_XSYNC
#include <X11/extensions/sync.h>
#endif
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

#ifdef BRIVO_HAVE_XSYNC
// The time is read on the program's own connection, from the server's clock counter: an
// answer to a question, which the connection hands back to whoever asked, where a notice
// (an event) would go to the toolkit. The counter runs on the clock that stamps the events.
class Orologio {
public:
    Orologio()
    {
        dpy_ = qtDisplay();
        int evento = 0, errore = 0, major = 0, minor = 0;
        if (!dpy_ || !XSyncQueryExtension(dpy_, &evento, &errore) || !XSyncInitialize(dpy_, &major, &minor)) {
            dpy_ = nullptr;
            return;
        }
        int n = 0;
        XSyncSystemCounter *contatori = XSyncListSystemCounters(dpy_, &n);
        for (int i = 0; i < n; ++i)
            if (qstrcmp(contatori[i].name, "SERVERTIME") == 0) contatore_ = contatori[i].counter;
        if (contatori) XSyncFreeSystemCounterList(contatori);
    }
    ulong ora()
    {
        XSyncValue v;
        if (!dpy_ || !contatore_ || !XSyncQueryCounter(dpy_, contatore_, &v)) return 0;
        return ulong(quint32(XSyncValueLow32(v)));
    }

private:
    Display *dpy_ = nullptr;
    XSyncCounter contatore_ = 0;
};
#endif
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
#if defined(BRIVO_HAVE_X11) && defined(BRIVO_HAVE_XSYNC)
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
