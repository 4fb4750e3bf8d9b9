// The yardstick for the start-up benchmark: the least a Qt Widgets program can do to put
// one full-screen window up. Brivomarte's start-up time and memory are read against it.
#include <QApplication>
#include <QScreen>
#include <QWidget>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QWidget window(nullptr, Qt::FramelessWindowHint);
    window.setGeometry(QGuiApplication::primaryScreen()->geometry());
    window.show();
    return QApplication::exec();
}
