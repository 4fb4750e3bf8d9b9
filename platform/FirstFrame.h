#pragma once
// Shows a top-level window so that its first frame on the screen is the window painted:
// where the desktop allows (X11), the window system is given a picture of the window
// before it is mapped and shows that picture the moment it maps it, until the window has
// painted itself. Elsewhere it is a plain show.
// Returns the display server's time read just before the window was mapped with its
// picture: from then on what the window shows is on screen. 0 when no picture could be
// given (a plain show: the window is on screen only once it has drawn itself).
#include <QtGlobal>

class QWidget;

namespace platform {
ulong showPainted(QWidget *window);
}
