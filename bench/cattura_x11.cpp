// Films an X display while windows change on it, for bench/cambio_finestra.sh:
//
//   cattura_x11 FOLDER [SETTLED_MS]
//
// grabs the whole screen as fast as the server answers (shared memory) until it receives
// SIGINT or SIGTERM, and keeps every grab that differs from the one before it: a frame.
// It also notes when a window is mapped, unmapped or given another size. At the end it
// writes, in FOLDER:
//   frame-NNN.png     every frame, as the screen showed it
//   frames.txt        one line a frame: number, from and to (ms since the start), the
//                     grabs that saw it, "settled" when it stayed SETTLED_MS (250) or
//                     longer (the first and the last frame are settled too); otherwise
//                     "between", with how much of the screen differs from the settled
//                     frame before it and from the one after it, and what it is: "before"
//                     (the same as the settled frame before it), "before, in part" or
//                     "after, in part" (less than 1 % of the screen unlike the settled
//                     frame before it, or after it: that window with a detail changing,
//                     such as a button pressed or the focus mark coming), or "NEITHER"
//   events.txt        the map, unmap and size events, each with the frame then on screen
// and prints a summary. A frame marked NEITHER is neither the window before nor the window
// after: a garbled frame, unless a person who looks at it sees the new window with a part
// of it changing (a highlight moving, a count going up).
#include <QImage>
#include <QRect>
#include <QString>
#include "schermo_x11.h"
#include <algorithm>
#include <climits>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <vector>

namespace {

volatile std::sig_atomic_t g_stop = 0;
void stop(int) { g_stop = 1; }

double nowMs()
{
    timespec t;
    clock_gettime(CLOCK_MONOTONIC, &t);
    return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

struct Frame {
    double from = 0, to = 0;
    long grabs = 0;
    std::vector<uint32_t> pixels;
};

struct Event {
    double at;
    QString what;
    size_t frame; // the frame on screen when the event was read
};

// Share of the pixels that differ, in percent, and the rectangle that holds them.
struct Difference {
    double percent = 100;
    QRect box;
};

Difference differs(const std::vector<uint32_t> &a, const std::vector<uint32_t> &b, int width)
{
    size_t n = 0;
    int x0 = INT_MAX, y0 = INT_MAX, x1 = -1, y1 = -1;
    for (size_t i = 0; i < a.size(); ++i)
        if ((a[i] ^ b[i]) & 0xFFFFFF) {
            ++n;
            const int x = int(i % width), y = int(i / width);
            x0 = std::min(x0, x), y0 = std::min(y0, y), x1 = std::max(x1, x), y1 = std::max(y1, y);
        }
    return {100.0 * double(n) / double(a.size()), n ? QRect(QPoint(x0, y0), QPoint(x1, y1)) : QRect()};
}

QString describe(const Difference &d, long frame)
{
    if (frame < 0) return QStringLiteral("no settled frame");
    QString s = QStringLiteral("%1 % unlike %2").arg(d.percent, 0, 'f', 2).arg(frame);
    if (d.percent > 0 && d.percent < 100)
        s += QStringLiteral(" (in %1x%2+%3+%4)").arg(d.box.width()).arg(d.box.height()).arg(d.box.x()).arg(d.box.y());
    return s;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s FOLDER [SETTLED_MS]\n", argv[0]);
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    const double settledMs = argc > 2 ? std::atof(argv[2]) : 250;
    SchermoX11 schermo;
    if (!schermo.apri("cattura_x11")) return 1;
    Display *dpy = schermo.dpy;
    const Window root = schermo.root;
    const int w = schermo.w, h = schermo.h;
    // Top-level windows are children of the root while no window manager runs.
    XSelectInput(dpy, root, SubstructureNotifyMask);

    std::signal(SIGINT, stop);
    std::signal(SIGTERM, stop);
    std::vector<Frame> frames;
    std::vector<Event> events;
    const size_t count = size_t(w) * h;
    const double start = nowMs();
    long grabs = 0;
    std::printf("ready\n");
    std::fflush(stdout);
    while (!g_stop) {
        while (XPending(dpy)) {
            XEvent e;
            XNextEvent(dpy, &e);
            const double at = nowMs() - start;
            const size_t f = frames.empty() ? 0 : frames.size() - 1;
            if (e.type == MapNotify)
                events.push_back({at, QStringLiteral("map 0x%1").arg(e.xmap.window, 0, 16), f});
            else if (e.type == UnmapNotify)
                events.push_back({at, QStringLiteral("unmap 0x%1").arg(e.xunmap.window, 0, 16), f});
            else if (e.type == ConfigureNotify)
                events.push_back({at, QStringLiteral("configure 0x%1 %2x%3+%4+%5")
                                          .arg(e.xconfigure.window, 0, 16)
                                          .arg(e.xconfigure.width).arg(e.xconfigure.height)
                                          .arg(e.xconfigure.x).arg(e.xconfigure.y), f});
        }
        const uint32_t *px = schermo.leggi();
        if (!px) break;
        const double at = nowMs() - start;
        ++grabs;
        if (!frames.empty() && std::memcmp(frames.back().pixels.data(), px, count * 4) == 0) {
            frames.back().to = at;
            ++frames.back().grabs;
            continue;
        }
        Frame f;
        f.from = f.to = at;
        f.grabs = 1;
        f.pixels.assign(px, px + count);
        frames.push_back(std::move(f));
    }
    const double end = nowMs() - start;
    if (!frames.empty()) frames.back().to = end;

    std::vector<bool> settled(frames.size());
    for (size_t i = 0; i < frames.size(); ++i) settled[i] = frames[i].to - frames[i].from >= settledMs;
    // The screen as it was when the filming began, and as it is when it ends, are at rest.
    if (!frames.empty()) settled.front() = settled.back() = true;
    FILE *list = std::fopen(qPrintable(folder + QStringLiteral("/frames.txt")), "w");
    int between = 0, garbled = 0;
    for (size_t i = 0; i < frames.size(); ++i) {
        QImage(reinterpret_cast<const uchar *>(frames[i].pixels.data()), w, h, w * 4, QImage::Format_RGB32)
            .save(folder + QStringLiteral("/frame-%1.png").arg(i, 3, 10, QLatin1Char('0')));
        if (settled[i]) {
            std::fprintf(list, "%3zu %9.1f %9.1f %6ld settled\n", i, frames[i].from, frames[i].to, frames[i].grabs);
            continue;
        }
        ++between;
        long before = -1, after = -1;
        for (long k = long(i) - 1; k >= 0; --k)
            if (settled[k]) { before = k; break; }
        for (size_t k = i + 1; k < frames.size(); ++k)
            if (settled[k]) { after = long(k); break; }
        const Difference dBefore = before >= 0 ? differs(frames[i].pixels, frames[before].pixels, w) : Difference();
        const Difference dAfter = after >= 0 ? differs(frames[i].pixels, frames[after].pixels, w) : Difference();
        const char *what = dBefore.percent == 0 ? "before"
                           : dBefore.percent < 1 ? "before, in part"
                           : dAfter.percent < 1 ? "after, in part"
                                                : "NEITHER";
        if (dBefore.percent >= 1 && dAfter.percent >= 1) ++garbled;
        std::fprintf(list, "%3zu %9.1f %9.1f %6ld between: %s, %s: %s\n", i, frames[i].from, frames[i].to,
                     frames[i].grabs, qPrintable(describe(dBefore, before)), qPrintable(describe(dAfter, after)), what);
    }
    std::fclose(list);
    FILE *ev = std::fopen(qPrintable(folder + QStringLiteral("/events.txt")), "w");
    for (const Event &e : events) std::fprintf(ev, "%9.1f %s (frame %zu)\n", e.at, qPrintable(e.what), e.frame);
    std::fclose(ev);
    std::printf("%ld grabs in %.1f s (one every %.2f ms), %zu frames: %zu settled, %d between, %d of them "
                "neither the window before nor the one after\n",
                grabs, end / 1000, grabs ? end / grabs : 0.0, frames.size(), frames.size() - between, between, garbled);
    return 0;
}
