#pragma once
// Keeps the mouse pointer inside a rectangle of the screen until released. On X11 a
// pointer grab confined to a window laid over the rectangle (clicks still reach the
// program); elsewhere the pointer is moved back whenever it leaves; nothing on a platform
// without a pointer (offscreen).
#include <QRect>

class QWindow;

namespace platform {

// `window`, when given, is the program's window the pointer is kept over: its controls go on
// showing their own pointers during the confinement.
void confinePointer(const QRect &screenRect, QWindow *window = nullptr);
void releasePointer();
bool pointerConfined();
QRect confinedRect();

} // namespace platform
