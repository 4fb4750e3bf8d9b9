#include "Twips.h"
#include <QGuiApplication>
#include <QScreen>
#include <cmath>

namespace forms {
namespace {
double g_tpp = 0;  // 0: take it from the screen
QSize g_screenOverride;

double screenTpp(bool horizontal)
{
    if (g_tpp > 0) return g_tpp;
    QScreen *s = QGuiApplication::primaryScreen();
    if (!s) return 15.0;
    const double dpi = horizontal ? s->logicalDotsPerInchX() : s->logicalDotsPerInchY();
    return dpi > 0 ? 1440.0 / dpi : 15.0;
}
QSize screenPixels()
{
    if (!g_screenOverride.isEmpty()) return g_screenOverride;
    QScreen *s = QGuiApplication::primaryScreen();
    return s ? s->geometry().size() : QSize(1024, 768);
}
} // namespace

double twipsPerPixelX() { return screenTpp(true); }
double twipsPerPixelY() { return screenTpp(false); }
void setTwipsPerPixel(double tpp) { g_tpp = tpp; }

int pixelsX(double twips) { return int(std::lround(twips / twipsPerPixelX())); }
int pixelsY(double twips) { return int(std::lround(twips / twipsPerPixelY())); }

double Screen::Width() { return screenPixels().width() * twipsPerPixelX(); }
double Screen::Height() { return screenPixels().height() * twipsPerPixelY(); }
void Screen::setSizeOverride(QSize pixels) { g_screenOverride = pixels; }

} // namespace forms
