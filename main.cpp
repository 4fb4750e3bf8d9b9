#include "shell/Modulo1.h"
#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Brivomarte"));
    // Windows are hidden and shown as the pupil moves on; the program ends by its own exits.
    QApplication::setQuitOnLastWindowClosed(false);
    if (!AvviaSistema()) return 0;
    return QApplication::exec();
}
