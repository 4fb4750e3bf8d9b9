#include "Redraw.h"
#include <QPointer>
#include <QWidget>

namespace platform {

namespace {
QPointer<QWidget> g_locked;
}

void lockWindowUpdate(QWidget *window)
{
    if (g_locked && g_locked != window) g_locked->setUpdatesEnabled(true);
    g_locked = window;
    if (window) window->setUpdatesEnabled(false);
}

} // namespace platform
