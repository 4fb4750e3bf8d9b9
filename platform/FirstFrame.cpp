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
// (a remote one). Where the server can, the segment is also a pixmap of its own: the
// picture drawn there is the window's background as it stands, with nothing copied and
// no new pixmap for the server to make at each window.
struct ShmPicture {
    XShmSegmentInfo info{};
    XImage *image = nullptr;
    Pixmap pixmap = 0;
    Window root = 0;

    static ShmPicture *of(Display *dpy, Window root, Visual *visual, QSize size)
    {
        static ShmPicture kept;
        static bool usable = XShmQueryExtension(dpy);
        if (!usable) return nullptr;
        if (kept.image && kept.root == root && kept.image->width == size.width()
            && kept.image->height == size.height()) {
            // The server may still be painting the last window from this memory.
            XSync(dpy, False);
            return &kept;
        }
        kept.release(dpy);
        kept.root = root;
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
        // Not read-only: the server makes a pixmap only on memory it could write to, though
        // nobody but the program draws there.
        info.readOnly = False;
        // The server answers a refused attachment or pixmap with an error only: each is
        // waited for.
        XSync(dpy, False);
        attachFailed = false;
        const auto before = XSetErrorHandler(noteFailure);
        XShmAttach(dpy, &info);
        XSync(dpy, False);
        int major = 0, minor = 0;
        Bool pixmaps = False;
        if (!attachFailed && XShmQueryVersion(dpy, &major, &minor, &pixmaps) && pixmaps
            && XShmPixmapFormat(dpy) == ZPixmap) {
            pixmap = XShmCreatePixmap(dpy, root, info.shmaddr, &info, unsigned(size.width()),
                                      unsigned(size.height()), 24);
            XSync(dpy, False);
            if (attachFailed) {
                pixmap = 0; // the segment stays usable for copies
                attachFailed = false;
            }
        }
        XSetErrorHandler(before);
        if (attachFailed) info.shmseg = 0;
        return !attachFailed;
    }

    void release(Display *dpy)
    {
        if (pixmap) XFreePixmap(dpy, pixmap);
        pixmap = 0;
        if (info.shmseg) XShmDetach(dpy, &info);
        if (info.shmaddr) shmdt(info.shmaddr);
        if (image) {
            image->data = nullptr;
            XDestroyImage(image);
        }
        info = XShmSegmentInfo{};
        image = nullptr;
        root = 0;
    }
};
#else
struct ShmPicture {
    XImage *image = nullptr;
    Pixmap pixmap = 0;
};
#endif

// The window as it will paint itself, in a server pixmap that can stand as the window's
// background; none where the window's format is not the plain 24-bit one. A kept pixmap
// is the program's own, for the next window too: it is not freed.
struct Picture {
    Pixmap pixmap = 0;
    bool kept = false;
};

// A new pixmap of the window's size holding the image: sent through the shared memory the
// image lies in, or through the connection.
Picture copied(Display *dpy, Window win, XImage *image, bool shared)
{
    const Pixmap pixmap = XCreatePixmap(dpy, win, unsigned(image->width), unsigned(image->height), 24);
    GC gc = XCreateGC(dpy, pixmap, 0, nullptr);
#ifdef BRIVO_HAVE_XSHM
    if (shared)
        XShmPutImage(dpy, pixmap, gc, image, 0, 0, 0, 0, unsigned(image->width), unsigned(image->height), False);
    else
#endif
        XPutImage(dpy, pixmap, gc, image, 0, 0, 0, 0, unsigned(image->width), unsigned(image->height));
    XFreeGC(dpy, gc);
    return {pixmap, false};
}

Picture pictureOf(Display *dpy, QWidget *window)
{
    const Window win = Window(window->winId());
    XWindowAttributes a;
    if (!XGetWindowAttributes(dpy, win, &a) || a.depth != 24 || a.visual->red_mask != 0xFF0000
        || a.visual->green_mask != 0xFF00 || a.visual->blue_mask != 0xFF)
        return {};
    // Drawn as the window draws itself: opaque, in the format of its own buffer.
    if (window->size() * window->devicePixelRatio() != QSize(a.width, a.height)) return {};
    // A local server reads the picture from memory shared with it, drawn there directly,
    // instead of taking the whole screen's worth of pixels through the connection.
    ShmPicture *shm = nullptr;
#ifdef BRIVO_HAVE_XSHM
    shm = ShmPicture::of(dpy, a.root, a.visual, QSize(a.width, a.height));
#endif
    QImage picture = shm ? QImage(reinterpret_cast<uchar *>(shm->image->data), a.width, a.height,
                                  shm->image->bytes_per_line, QImage::Format_RGB32)
                         : QImage(a.width, a.height, QImage::Format_RGB32);
    picture.setDevicePixelRatio(window->devicePixelRatio());
    window->render(&picture);
    if (shm) return shm->pixmap ? Picture{shm->pixmap, true} : copied(dpy, win, shm->image, true);
    XImage *image = XCreateImage(dpy, a.visual, 24, ZPixmap, 0, reinterpret_cast<char *>(picture.bits()),
                                 unsigned(a.width), unsigned(a.height), 32, int(picture.bytesPerLine()));
    if (!image) return {};
    // A pixel of Format_RGB32 is a 32-bit 0xffRRGGBB in the machine's own byte order.
    image->byte_order = QSysInfo::ByteOrder == QSysInfo::LittleEndian ? LSBFirst : MSBFirst;
    const Picture p = copied(dpy, win, image, false);
    image->data = nullptr; // the picture's own
    XDestroyImage(image);
    return p;
}

} // namespace
#endif

ulong showPainted(QWidget *window)
{
#ifdef BRIVO_HAVE_X11
    auto *x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    Display *dpy = x11 && !window->isVisible() ? x11->display() : nullptr;
    const Picture picture = dpy ? pictureOf(dpy, window) : Picture{};
    // Read before the map is asked for, so that every press the server stamps once the
    // picture can be seen comes at this time or later.
    const ulong mappata = picture.pixmap ? serverTime() : 0;
    if (picture.pixmap) XSetWindowBackgroundPixmap(dpy, Window(window->winId()), picture.pixmap);
    // Our requests and the toolkit's go to the server on one connection, in this order:
    // the map paints the background at once.
    window->show();
    if (picture.pixmap) {
        // From now on the window paints itself; a later exposure must not bring back the
        // picture of its first moment.
        XSetWindowBackgroundPixmap(dpy, Window(window->winId()), None);
        if (!picture.kept) XFreePixmap(dpy, picture.pixmap);
        XFlush(dpy);
    }
    return mappata;
#else
    window->show();
    return 0;
#endif
}

} // namespace platform
