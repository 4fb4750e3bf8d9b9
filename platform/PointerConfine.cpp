#include "PointerConfine.h"
#include <QCursor>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QObject>
#include <QWindow>

#if __has_include(<X11/Xlib.h>)
#include <X11/Xlib.h>
#define BRIVO_HAVE_X11 1
#endif

namespace platform {

namespace {

QRect g_rect;
bool g_confined = false;

// Where no grab exists: every mouse move over the program's windows is checked.
class Fence : public QObject {
public:
    bool eventFilter(QObject *, QEvent *e) override
    {
        if (g_confined && e->type() == QEvent::MouseMove) {
            const QPoint p = QCursor::pos();
            if (!g_rect.contains(p))
                QCursor::setPos(std::clamp(p.x(), g_rect.left(), g_rect.right()),
                                std::clamp(p.y(), g_rect.top(), g_rect.bottom()));
        }
        return false;
    }
};
Fence *g_fence = nullptr;

#ifdef BRIVO_HAVE_X11
Display *xDisplay()
{
    if (auto *x = qGuiApp->nativeInterface<QNativeInterface::QX11Application>()) return x->display();
    return nullptr;
}
Window g_fenceWindow = 0;
#endif

bool isOffscreen() { return QGuiApplication::platformName() == QLatin1String("offscreen")
                            || QGuiApplication::platformName() == QLatin1String("minimal"); }

} // namespace

void confinePointer(const QRect &screenRect, QWindow *window)
{
    releasePointer();
    g_rect = screenRect;
    g_confined = true;
    if (isOffscreen() || screenRect.isEmpty()) return;
#ifdef BRIVO_HAVE_X11
    if (Display *dpy = xDisplay()) {
        // An invisible input-only window under everything else, covering the rectangle:
        // confining the grab to it keeps the pointer there, and owner_events lets the
        // program's own windows go on receiving the clicks. The grab belongs to the
        // program's window and shows no cursor of its own, so over that window the X server
        // shows the pointers the program gives its controls; a grab of the fence alone
        // would show the fence's (the root's) everywhere.
        XSetWindowAttributes attrs{};
        attrs.override_redirect = True;
        g_fenceWindow = XCreateWindow(dpy, DefaultRootWindow(dpy), screenRect.x(), screenRect.y(),
                                      unsigned(screenRect.width()), unsigned(screenRect.height()), 0, 0,
                                      InputOnly, CopyFromParent, CWOverrideRedirect, &attrs);
        XMapWindow(dpy, g_fenceWindow);
        XLowerWindow(dpy, g_fenceWindow);
        XSync(dpy, False);
        const Window owner = window && window->handle() ? Window(window->winId()) : g_fenceWindow;
        const int r = XGrabPointer(dpy, owner, True,
                                   ButtonPressMask | ButtonReleaseMask | PointerMotionMask | EnterWindowMask | LeaveWindowMask,
                                   GrabModeAsync, GrabModeAsync, g_fenceWindow, None, CurrentTime);
        XFlush(dpy);
        if (r == GrabSuccess) return;
        XDestroyWindow(dpy, g_fenceWindow);
        g_fenceWindow = 0;
    }
#endif
    if (!g_fence) {
        g_fence = new Fence;
        qGuiApp->installEventFilter(g_fence);
    }
    const QPoint p = QCursor::pos();
    if (!g_rect.contains(p)) QCursor::setPos(g_rect.center());
}

void releasePointer()
{
    g_confined = false;
#ifdef BRIVO_HAVE_X11
    if (g_fenceWindow) {
        if (Display *dpy = xDisplay()) {
            XUngrabPointer(dpy, CurrentTime);
            XDestroyWindow(dpy, g_fenceWindow);
            XFlush(dpy);
        }
        g_fenceWindow = 0;
    }
#endif
}

bool pointerConfined() { return g_confined; }
QRect confinedRect() { return g_rect; }

} // namespace platform
