#pragma once
// Shows a top-level window so that its first frame on the screen is the window painted:
// where the desktop allows (X11), the window system is given a picture of the window
// before it is mapped and shows that picture the moment it maps it, until the window has
// painted itself. Elsewhere it is a plain show.
class QWidget;

namespace platform {
void showPainted(QWidget *window);
}
