// Looks at an X display as a person would, for the scripts in bench/:
//   sonda_x11 pixel X Y [X Y ...]   the colour (RRGGBB) of each screen point, one a line
//   sonda_x11 cursore                the size of the pointer shown now (WxH), as the X
//                                    server draws it (a screenshot never shows it)
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/Xfixes.h>
#include <cstdio>
#include <cstdlib>
#include <cstring>

int main(int argc, char **argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s pixel X Y [X Y ...] | cursore\n", argv[0]);
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
    } else {
        std::fprintf(stderr, "usage: %s pixel X Y [X Y ...] | cursore\n", argv[0]);
        return 2;
    }
    XCloseDisplay(dpy);
    return 0;
}
