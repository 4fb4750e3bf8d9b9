#include "FirstFrame.h"
#include "ServerInput.h"
#include <QGuiApplication>
#include <QImage>
#include <QWidget>

#if __has_include(<X11/Xlib.h>)
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#define BRIVO_HAVE_X11 1
#ifdef BRIVO_HAVE_XSHM
#include <X11/extensions/XShm.h>
#include <sys/ipc.h>
#include <sys/shm.h>
#endif
#endif

namespace platform {

#ifdef BRIVO_HAVE_X11
namespace {

#ifdef BRIVO_HAVE_XSHM
// One segment of memory shared with the server, kept for the pictures of the windows to
// come (they are all as large as the screen); none where the server cannot attach it
// (a remote one).
struct ShmPicture {
    XShmSegmentInfo info{};
    XImage *image = nullptr;

    static ShmPicture *of(Display *dpy, Visual *visual, QSize size)
    {
        static ShmPicture kept;
        static bool usable = XShmQueryExtension(dpy);
        if (!usable) return nullptr;
        if (kept.image && kept.image->width == size.width() && kept.image->height == size.height()) return &kept;
        kept.release(dpy);
        usable = kept.attach(dpy, visual, size);
        if (!usable) kept.release(dpy);
        return usable ? &kept : nullptr;
    }

private:
    static inline bool attachFailed = false;
    static int noteFailure(Display *, XErrorEvent *)
    {
        attachFailed = true;
        return 0;
    }

    bool attach(Display *dpy, Visual *visual, QSize size)
    {
        image = XShmCreateImage(dpy, visual, 24, ZPixmap, nullptr, &info, unsigned(size.width()), unsigned(size.height()));
        // A pixel of Format_RGB32 is a 32-bit 0xffRRGGBB in the machine's own byte order.
        if (!image || image->bits_per_pixel != 32) return false;
        image->byte_order = QSysInfo::ByteOrder == QSysInfo::LittleEndian ? LSBFirst : MSBFirst;
        info.shmid = shmget(IPC_PRIVATE, size_t(image->bytes_per_line) * size_t(image->height), IPC_CREAT | 0600);
        if (info.shmid < 0) return false;
        info.shmaddr = image->data = static_cast<char *>(shmat(info.shmid, nullptr, 0));
        // Removed at once: it goes when the last of us and the server lets go of it.
        shmctl(info.shmid, IPC_RMID, nullptr);
        if (info.shmaddr == reinterpret_cast<char *>(-1)) {
            info.shmaddr = image->data = nullptr;
            return false;
        }
        info.readOnly = True;
        // The server answers a refused attachment with an error only: it is waited for.
        XSync(dpy, False);
        attachFailed = false;
        const auto before = XSetErrorHandler(noteFailure);
        XShmAttach(dpy, &info);
        XSync(dpy, False);
        XSetErrorHandler(before);
        if (attachFailed) info.shmseg = 0;
        return !attachFailed;
    }

    void release(Display *dpy)
    {
        if (info.shmseg) XShmDetach(dpy, &info);
        if (info.shmaddr) shmdt(info.shmaddr);
        if (image) {
            image->data = nullptr;
            XDestroyImage(image);
        }
        info = XShmSegmentInfo{};
        image = nullptr;
    }
};
#endif

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
    const Pixmap pixmap = XCreatePixmap(dpy, win, unsigned(a.width), unsigned(a.height), 24);
    GC gc = XCreateGC(dpy, pixmap, 0, nullptr);
#ifdef BRIVO_HAVE_XSHM
    // A local server reads the picture from memory shared with it, drawn there directly,
    // instead of taking the whole screen's worth of pixels through the connection.
    if (ShmPicture *shm = ShmPicture::of(dpy, a.visual, QSize(a.width, a.height))) {
        QImage picture(reinterpret_cast<uchar *>(shm->image->data), a.width, a.height, shm->image->bytes_per_line,
                       QImage::Format_RGB32);
        picture.setDevicePixelRatio(window->devicePixelRatio());
        window->render(&picture);
        XShmPutImage(dpy, pixmap, gc, shm->image, 0, 0, 0, 0, unsigned(a.width), unsigned(a.height), False);
        // The memory is drawn again for the next window: the server must be done with it.
        XSync(dpy, False);
        XFreeGC(dpy, gc);
        return pixmap;
    }
#endif
    QImage picture(a.width, a.height, QImage::Format_RGB32);
    picture.setDevicePixelRatio(window->devicePixelRatio());
    window->render(&picture);
    XImage *image = XCreateImage(dpy, a.visual, 24, ZPixmap, 0, reinterpret_cast<char *>(picture.bits()),
                                 unsigned(a.width), unsigned(a.height), 32, int(picture.bytesPerLine()));
    if (!image) {
        XFreeGC(dpy, gc);
        XFreePixmap(dpy, pixmap);
        return 0;
    }
    // A pixel of Format_RGB32 is a 32-bit 0xffRRGGBB in the machine's own byte order.
    image->byte_order = QSysInfo::ByteOrder == QSysInfo::LittleEndian ? LSBFirst : MSBFirst;
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
