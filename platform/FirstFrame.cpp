#include "FirstFrame.h"
#include "ServerInput.h"
#include <QGuiApplication>
#include <QImage>
#include <QWidget>

#if __has_include(<X11/Xlib.h>)
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#define BRIVO_HAVE_X11 1
#endif

namespace platform {

#ifdef BRIVO_HAVE_X11
namespace {

// The window as it will paint itself, put into a server pixmap that can stand as the
// window's background; 0 where the window's format is not the plain 24-bit one.
Pixmap pictureOf(Display *dpy, QWidget *window)
{
    const Window win = Window(window->winId());
    XWindowAttributes a;
    if (!XGetWindowAttributes(dpy, win, &a) || a.depth != 24 || a.visual->red_mask != 0xFF0000
        || a.visual->green_mask != 0xFF00 || a.visual->blue_mask != 0xFF)
        return 0;
    // Drawn as the window draws itself: opaque, in the format of its own buffer.
    if (window->size() * window->devicePixelRatio() != QSize(a.width, a.height)) return 0;
    QImage picture(a.width, a.height, QImage::Format_RGB32);
    picture.setDevicePixelRatio(window->devicePixelRatio());
    window->render(&picture);
    XImage *image = XCreateImage(dpy, a.visual, 24, ZPixmap, 0, reinterpret_cast<char *>(picture.bits()),
                                 unsigned(a.width), unsigned(a.height), 32, int(picture.bytesPerLine()));
    if (!image) return 0;
    // A pixel of Format_RGB32 is a 32-bit 0xffRRGGBB in the machine's own byte order.
    image->byte_order = QSysInfo::ByteOrder == QSysInfo::LittleEndian ? LSBFirst : MSBFirst;
    const Pixmap pixmap = XCreatePixmap(dpy, win, unsigned(a.width), unsigned(a.height), 24);
    GC gc = XCreateGC(dpy, pixmap, 0, nullptr);
    XPutImage(dpy, pixmap, gc, image, 0, 0, 0, 0, unsigned(a.width), unsigned(a.height));
    XFreeGC(dpy, gc);
    image->data = nullptr; // the picture's own
    XDestroyImage(image);
    return pixmap;
}

} // namespace
#endif

ulong showPainted(QWidget *window)
{
#ifdef BRIVO_HAVE_X11
    auto *x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    Display *dpy = x11 && !window->isVisible() ? x11->display() : nullptr;
    const Pixmap picture = dpy ? pictureOf(dpy, window) : 0;
    // Read before the map is asked for, so that every press the server stamps once the
    // picture can be seen comes at this time or later.
    const ulong mappata = picture ? serverTime() : 0;
    if (picture) XSetWindowBackgroundPixmap(dpy, Window(window->winId()), picture);
    // Our requests and the toolkit's go to the server on one connection, in this order:
    // the map paints the background at once.
    window->show();
    if (picture) {
        // From now on the window paints itself; a later exposure must not bring back the
        // picture of its first moment.
        XSetWindowBackgroundPixmap(dpy, Window(window->winId()), None);
        XFreePixmap(dpy, picture);
        XFlush(dpy);
    }
    return mappata;
#else
    window->show();
    return 0;
#endif
}

} // namespace platform
