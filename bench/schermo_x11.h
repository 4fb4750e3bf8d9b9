#pragma once
// The whole screen of an X display read through shared memory, as fast as the server
// answers: for the probes that film it (cattura_x11) and time it (tempi_x11).
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XShm.h>
#include <sys/ipc.h>
#include <sys/shm.h>
#include <cstdint>
#include <cstdio>

struct SchermoX11 {
    Display *dpy = nullptr;
    int scr = 0;
    Window root = 0;
    int w = 0, h = 0;
    XImage *img = nullptr;
    XShmSegmentInfo shm{};

    // Opens the display of $DISPLAY and the shared picture of its screen; says why not
    // (after `chi`, the probe's name) and returns false when it cannot.
    bool apri(const char *chi)
    {
        dpy = XOpenDisplay(nullptr);
        if (!dpy || !XShmQueryExtension(dpy)) {
            std::fprintf(stderr, "%s: no display, or one without shared memory\n", chi);
            return false;
        }
        scr = DefaultScreen(dpy);
        root = RootWindow(dpy, scr);
        w = DisplayWidth(dpy, scr);
        h = DisplayHeight(dpy, scr);
        img = XShmCreateImage(dpy, DefaultVisual(dpy, scr), DefaultDepth(dpy, scr), ZPixmap, nullptr, &shm, w, h);
        if (!img || img->bits_per_pixel != 32) {
            std::fprintf(stderr, "%s: only 24- or 32-bit screens are supported\n", chi);
            img = nullptr;
            return false;
        }
        shm.shmid = shmget(IPC_PRIVATE, size_t(img->bytes_per_line) * h, IPC_CREAT | 0600);
        shm.shmaddr = img->data = static_cast<char *>(shmat(shm.shmid, nullptr, 0));
        shm.readOnly = False;
        XShmAttach(dpy, &shm);
        XSync(dpy, False);
        shmctl(shm.shmid, IPC_RMID, nullptr); // gone once both sides detach
        return true;
    }
    // The screen now, w x h pixels 0x00RRGGBB; null when the server refuses.
    const uint32_t *leggi()
    {
        if (!XShmGetImage(dpy, root, img, 0, 0, AllPlanes)) return nullptr;
        return reinterpret_cast<const uint32_t *>(img->data);
    }
    ~SchermoX11()
    {
        if (img) {
            XShmDetach(dpy, &shm);
            shmdt(shm.shmaddr);
        }
        if (dpy) XCloseDisplay(dpy);
    }
};
