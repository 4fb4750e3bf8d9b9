// The yardstick of the timing benchmarks: the least a Qt Widgets program can do to put a
// full-screen window up, a label with a line of text. Brivomarte's start-up and its window
// changes are read against it.
//
//   bare_window          one window
//   bare_window cambio   two windows of different colours; a click on the one shown shows
//                        the other and hides itself, as a program changes windows
//
// Built twice: bare_window links Qt Widgets alone, bare_window_moduli also the Qt modules
// the program links (pictures, sound, printing) and loads them, which tells the time the
// modules take from the program's own.
#include <QApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QScreen>
#ifdef BARE_MODULI
#include <QAudioDevice>
#include <QMediaDevices>
#include <QPrinterInfo>
#include <QSvgRenderer>
#endif

namespace {

class Finestra : public QLabel {
public:
    Finestra(const QString &testo, const QColor &colore) : QLabel(testo, nullptr, Qt::FramelessWindowHint)
    {
        setAlignment(Qt::AlignCenter);
        QFont f = font();
        f.setPointSize(40);
        setFont(f);
        setAutoFillBackground(true);
        QPalette p = palette();
        p.setColor(QPalette::Window, colore);
        setPalette(p);
        setGeometry(QGuiApplication::primaryScreen()->geometry());
    }
    Finestra *altra = nullptr;

protected:
    void mouseReleaseEvent(QMouseEvent *) override
    {
        if (!altra) return;
        altra->show();
        altra->raise();
        altra->activateWindow();
        hide();
    }
};

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
#ifdef BARE_MODULI
    // Calls into each module where the program would, never in fact: their libraries are
    // loaded and set up at the start, as the program's are, and nothing more is done.
    if (argc > 1000) {
        QSvgRenderer svg;
        QMediaDevices::defaultAudioOutput();
        QPrinterInfo::defaultPrinterName();
    }
#endif
    Finestra uno(QStringLiteral("Uno"), QColor(255, 255, 192));
    Finestra due(QStringLiteral("Due"), QColor(192, 224, 255));
    if (argc > 1 && QByteArrayView(argv[1]) == "cambio") {
        uno.altra = &due;
        due.altra = &uno;
    }
    uno.show();
    return QApplication::exec();
}
