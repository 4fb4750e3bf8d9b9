// Looks at an X display as a person would, for the scripts in bench/:
//   sonda_x11 pixel X Y [X Y ...]   the colour (RRGGBB) of each screen point, one a line
//   sonda_x11 cursore                the size of the pointer shown now (WxH), as the X
//                                    server draws it (a screenshot never shows it)
//   sonda_x11 attendi X Y RRGGBB MS  waits until the point shows that colour and the
//                                    keyboard has gone to another window than it had when
//                                    the wait began (the new window is mapped, painted and
//                                    focused, as the server sees it), then MS ms more;
//                                    prints how long the wait was; fails after 20 s
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/Xfixes.h>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <thread>
#include <chrono>

int main(int argc, char **argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s pixel X Y [X Y ...] | cursore | attendi X Y RRGGBB MS\n", argv[0]);
        return 2;
    }
    Display *dpy = XOpenDisplay(nullptr);
    if (!dpy) {
        std::fprintf(stderr, "no display\n");
        return 1;
    }
    if (std::strcmp(argv[1], "cursore") == 0) {
        int ev, err;
        if (!XFixesQueryExtension(dpy, &ev, &err)) return 1;
        XFixesCursorImage *c = XFixesGetCursorImage(dpy);
        if (!c) return 1;
        std::printf("%dx%d\n", c->width, c->height);
        XFree(c);
    } else if (std::strcmp(argv[1], "pixel") == 0 && argc >= 4 && argc % 2 == 0) {
        const Window root = DefaultRootWindow(dpy);
        for (int i = 2; i + 1 < argc; i += 2) {
            const int x = std::atoi(argv[i]), y = std::atoi(argv[i + 1]);
            XImage *img = XGetImage(dpy, root, x, y, 1, 1, AllPlanes, ZPixmap);
            if (!img) return 1;
            std::printf("%06lx\n", XGetPixel(img, 0, 0) & 0xFFFFFF);
            XDestroyImage(img);
        }
    } else if (std::strcmp(argv[1], "attendi") == 0 && argc == 6) {
        const Window root = DefaultRootWindow(dpy);
        const int x = std::atoi(argv[2]), y = std::atoi(argv[3]);
        const unsigned long colore = std::strtoul(argv[4], nullptr, 16);
        const int dopo = std::atoi(argv[5]);
        using orologio = std::chrono::steady_clock;
        const auto inizio = orologio::now();
        Window prima = 0;
        int revert = 0;
        XGetInputFocus(dpy, &prima, &revert);
        for (;;) {
            if (orologio::now() - inizio > std::chrono::seconds(20)) return 1;
            XImage *img = XGetImage(dpy, root, x, y, 1, 1, AllPlanes, ZPixmap);
            if (!img) return 1;
            const bool visto = (XGetPixel(img, 0, 0) & 0xFFFFFF) == colore;
            XDestroyImage(img);
            Window fuoco = 0;
            XGetInputFocus(dpy, &fuoco, &revert);
            XWindowAttributes a;
            if (visto && fuoco != prima && fuoco > PointerRoot && XGetWindowAttributes(dpy, fuoco, &a) && a.map_state == IsViewable)
                break;
            std::this_thread::sleep_for(std::chrono::microseconds(500));
        }
        const auto visto = orologio::now();
        std::this_thread::sleep_for(std::chrono::milliseconds(dopo));
        std::printf("%lld\n", (long long)std::chrono::duration_cast<std::chrono::milliseconds>(visto - inizio).count());
    } else {
        std::fprintf(stderr, "usage: %s pixel X Y [X Y ...] | cursore | attendi X Y RRGGBB MS\n", argv[0]);
        return 2;
    }
    XCloseDisplay(dpy);
    return 0;
}
