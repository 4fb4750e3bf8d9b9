#pragma once
// Positions and sizes of windows and controls are kept in twips (1440 per inch at the
// screen's logical resolution, 15 per pixel at 96 dpi); only widget geometry is in pixels.
#include <QSize>

namespace forms {

double twipsPerPixelX();
double twipsPerPixelY();
// Tests pin the resolution (and so the twip figures) whatever the platform reports.
void setTwipsPerPixel(double tpp);

int pixelsX(double twips);
int pixelsY(double twips);

// The screen, in twips, as the windows see it.
struct Screen {
    static double Width();
    static double Height();
    // Tests can pretend to have a screen of the given size in pixels; an empty size undoes it.
    static void setSizeOverride(QSize pixels);
};

} // namespace forms
