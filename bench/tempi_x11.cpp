// Times what the screen of an X display shows, for bench/misure.sh: from a start or an
// input until the screen shows the new window painted.
//
//   tempi_x11 avvio  PROGRAM [ARGS...]   starts the program (it is ended afterwards)
//   tempi_x11 clic   X Y                 clicks the left button at X,Y
//   tempi_x11 tasto  KEYSYM              presses and releases a key ("space", "Return")
//
// The whole screen is grabbed through shared memory as fast as the server answers, from
// just before the start or the input until it has stayed unchanged for SETTLED_MS
// (environment, default 300 ms): the settled screen. The screen is "painted" at the first
// grab that differs from the settled screen in at most 0.5 % of its pixels. One line is
// printed:
//   ms M  passi N  [rss_kb K]
// M the milliseconds from the start (the fork) or the input (sent through XTest) until the
// screen was painted; N the different screens shown from the first one that differs from
// the screen before in more than 0.5 % of its pixels until the settled one: 1 when the new
// window came in one step, with its focus and every detail; K (for a start) the resident
// memory of the program once the screen has settled. It exits non-zero when nothing
// changed within 20 s.
#include "schermo_x11.h"
#include <X11/extensions/XTest.h>
#include <sys/wait.h>
#include <unistd.h>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fstream>
#include <string>
#include <vector>

namespace {

double nowMs()
{
    timespec t;
    clock_gettime(CLOCK_MONOTONIC, &t);
    return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

// Share of the pixels that differ, in percent.
double differs(const std::vector<uint32_t> &a, const std::vector<uint32_t> &b)
{
    size_t n = 0;
    for (size_t i = 0; i < a.size(); ++i) n += ((a[i] ^ b[i]) & 0xFFFFFF) != 0;
    return 100.0 * double(n) / double(a.size());
}

long rssKb(pid_t pid)
{
    std::ifstream f("/proc/" + std::to_string(pid) + "/status");
    std::string k;
    long v = 0;
    while (f >> k)
        if (k == "VmRSS:" && f >> v) return v;
    return -1;
}

} // namespace

int main(int argc, char **argv)
{
    const std::string modo = argc > 1 ? argv[1] : "";
    if (!((modo == "avvio" && argc > 2) || (modo == "clic" && argc == 4) || (modo == "tasto" && argc == 3))) {
        std::fprintf(stderr, "usage: %s avvio PROGRAM [ARGS...] | clic X Y | tasto KEYSYM\n", argv[0]);
        return 2;
    }
    const double settledMs = std::getenv("SETTLED_MS") ? std::atof(std::getenv("SETTLED_MS")) : 300;
    SchermoX11 schermo;
    if (!schermo.apri("tempi_x11")) return 1;
    Display *dpy = schermo.dpy;
    const int scr = schermo.scr;
    const size_t count = size_t(schermo.w) * schermo.h;
    auto grab = [&](std::vector<uint32_t> &out) {
        const uint32_t *px = schermo.leggi();
        if (!px) std::exit(1);
        out.assign(px, px + count);
    };

    struct Frame {
        double at;
        std::vector<uint32_t> pixels;
    };
    std::vector<uint32_t> prima;
    grab(prima);

    pid_t figlio = -1;
    const double t0 = nowMs();
    if (modo == "avvio") {
        figlio = fork();
        if (figlio == 0) {
            execvp(argv[2], argv + 2);
            _exit(127);
        }
    } else if (modo == "clic") {
        XTestFakeMotionEvent(dpy, scr, std::atoi(argv[2]), std::atoi(argv[3]), CurrentTime);
        XTestFakeButtonEvent(dpy, 1, True, CurrentTime);
        XTestFakeButtonEvent(dpy, 1, False, CurrentTime);
        XFlush(dpy);
    } else {
        const KeyCode k = XKeysymToKeycode(dpy, XStringToKeysym(argv[2]));
        XTestFakeKeyEvent(dpy, k, True, CurrentTime);
        XTestFakeKeyEvent(dpy, k, False, CurrentTime);
        XFlush(dpy);
    }

    // Every different screen from the input on, until one stays.
    std::vector<Frame> frames;
    std::vector<uint32_t> px;
    bool cambiato = false;
    for (;;) {
        grab(px);
        const double at = nowMs();
        if (frames.empty() || std::memcmp(frames.back().pixels.data(), px.data(), count * 4) != 0) {
            cambiato = cambiato || std::memcmp(prima.data(), px.data(), count * 4) != 0;
            frames.push_back({at, px});
        } else if (cambiato && at - frames.back().at >= settledMs) {
            break;
        }
        if (at - t0 > 20000) {
            std::fprintf(stderr, "tempi_x11: the screen did not settle within 20 s\n");
            if (figlio > 0) kill(figlio, SIGKILL);
            return 1;
        }
    }
    const std::vector<uint32_t> &finale = frames.back().pixels;
    double dipinto = -1;
    int passi = 0;
    bool nuovo = false;
    for (const Frame &f : frames) {
        if (dipinto < 0 && differs(f.pixels, finale) <= 0.5) dipinto = f.at - t0;
        nuovo = nuovo || differs(f.pixels, prima) > 0.5;
        if (nuovo) ++passi;
    }
    std::printf("ms %.1f passi %d", dipinto, passi);
    if (figlio > 0) {
        std::printf(" rss_kb %ld", rssKb(figlio));
        kill(figlio, SIGTERM);
        int stato;
        for (int i = 0; i < 200 && waitpid(figlio, &stato, WNOHANG) == 0; ++i) usleep(10000);
        if (kill(figlio, 0) == 0) {
            kill(figlio, SIGKILL);
            waitpid(figlio, &stato, 0);
        }
    }
    std::printf("\n");
    return 0;
}
