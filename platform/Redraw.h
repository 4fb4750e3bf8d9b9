#pragma once
// Suspends a window's redrawing while it is rebuilt, so that it is painted once afterwards.
// One window at a time; a null window resumes the suspended one.
class QWidget;

namespace platform {
void lockWindowUpdate(QWidget *window);
}
