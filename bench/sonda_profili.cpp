// Probe for bench/profili.sh: runs the real program in this process, in the home folder it
// is given, and times what a teacher does with a users folder holding many profiles.
//
//   sonda_profili crea N             makes N pupil profiles (and the default one) in the
//                                    users folder under $HOME
//   sonda_profili passi              the start up to the start window, "Avvio" to the
//                                    painted menu, the configuration window's user
//                                    list, leaving the configuration window, the
//                                    menu's list of users opened
//   sonda_profili battitura [TASTI]  typing TASTI keys (10) of a new pupil's name
//
// Each time runs from the click (or the first key) until the window it leads to has been
// painted; the lines printed are "name milliseconds processor-milliseconds", the second
// the processor time this process took meanwhile. The language files are looked for
// beside the program (BRIVO_PROGRAMMA names another folder).
#include "FormAvvio.h"
#include "FormConfigura.h"
#include "FormMenu.h"
#include "Modulo1.h"
#include "ModuloPerIni.h"
#include "platform/MessageBox.h"
#include "platform/Paths.h"
#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QScreen>
#include <QTest>
#include <QWindow>
#include <cstdio>
#include <ctime>
#include <functional>
#include <sys/stat.h>

using namespace forms;

namespace {

// Notes when the window under watch has been painted at full-screen size: its controls are
// painted, and the picture put on the screen, while its expose event or its update request
// is handled, each control that changed getting its paint event.
class Sonda : public QApplication {
public:
    using QApplication::QApplication;

    // From now on, waits for that window's next full paint (at full-screen size unless
    // it is a pop-up).
    void osserva(std::function<QWidget *()> finestra, bool schermoIntero = true)
    {
        bersaglio = std::move(finestra);
        schermoIntero_ = schermoIntero;
        dipinta = dipintaDentro_ = false;
    }
    bool dipinta = false;

    bool notify(QObject *o, QEvent *e) override
    {
        const QEvent::Type tipo = e->type();
        const bool esito = QApplication::notify(o, e);
        if (!bersaglio || dipinta) return esito;
        QWidget *w = bersaglio();
        if (!w) return esito;
        if (tipo == QEvent::Paint && o->isWidgetType() && static_cast<QWidget *>(o)->window() == w) {
            dipintaDentro_ = true;
        } else if ((tipo == QEvent::UpdateRequest || tipo == QEvent::Expose) && (o == w || o == w->windowHandle())) {
            dipinta = dipintaDentro_ && w->isVisible() && w->screen()
                      && (!schermoIntero_ || w->size() == w->screen()->size());
            dipintaDentro_ = false;
        }
        return esito;
    }

private:
    std::function<QWidget *()> bersaglio;
    bool dipintaDentro_ = false;
    bool schermoIntero_ = true;
};

Sonda *sonda() { return static_cast<Sonda *>(qApp); }

// Lets the program finish what it does after a step (posted events, deferred deletes).
void riposa(int ms)
{
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < ms) QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// This process's processor time, in milliseconds: on a machine shared with other work,
// what the step itself costs.
double processore()
{
    timespec t;
    ::clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) * 1e3 + double(t.tv_nsec) / 1e6;
}

struct Tempo {
    double ms, processore;
};

// From the start of `azione` until `finestra` has been painted after it.
Tempo misura(const std::function<QWidget *()> &finestra, const std::function<void()> &azione, bool schermoIntero = true)
{
    riposa(200);
    sonda()->osserva(nullptr);
    QElapsedTimer t;
    t.start();
    const double p = processore();
    azione();
    // Only a paint after the step's own work counts.
    sonda()->osserva(finestra, schermoIntero);
    while (!sonda()->dipinta) {
        if (t.elapsed() > 30000) {
            std::fprintf(stderr, "sonda_profili: the window was not painted within 30 s\n");
            std::exit(1);
        }
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents, 5);
    }
    const Tempo tempo{double(t.nsecsElapsed()) / 1e6, processore() - p};
    sonda()->osserva(nullptr);
    return tempo;
}

QWidget *finestraDi(Form *f) { return f ? f->window() : nullptr; }

struct Impronta {
    qint64 inode = -1, modificato = -1;
    bool operator==(const Impronta &) const = default;
};

Impronta improntaDi(const QString &percorso)
{
    struct stat st;
    if (::stat(QFile::encodeName(percorso).constData(), &st) != 0) return {};
    return {qint64(st.st_ino), qint64(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec};
}

int crea(int quanti)
{
    const QString cartella = QDir::homePath() + QStringLiteral("/ImpostazioniProgrammiTesmo/BrivoMarte/utenti");
    if (!QDir().mkpath(cartella)) return 1;
    ImpostaPredefiniti();
    // One profile's bytes, as the program writes them, for every pupil.
    NomeUtente = QStringLiteral("_predefinito");
    FileUtente = QStringLiteral("C:\\ImpostazioniProgrammiTesmo\\brivomarte\\utenti\\_predefinito.INI");
    if (!ScriviImpostazioni()) return 1;
    const QByteArray profilo = [&] {
        QFile f(cartella + QStringLiteral("/_predefinito.INI"));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }();
    if (profilo.isEmpty()) return 1;
    for (int i = 1; i <= quanti; ++i) {
        QFile f(cartella + QStringLiteral("/Alunno %1.ini").arg(i, 5, 10, QLatin1Char('0')));
        if (!f.open(QIODevice::WriteOnly) || f.write(profilo) != profilo.size()) return 1;
    }
    return 0;
}

void stampa(const char *nome, Tempo t)
{
    std::printf("%s %.1f %.1f\n", nome, t.ms, t.processore);
    std::fflush(stdout);
}

// The program's start, in this process, up to its start window, painted.
Tempo avvioProgramma()
{
    return misura([] { return finestraDi(IfLoaded<FormAvvio>()); }, [] {
        if (!AvviaSistema()) std::exit(1);
    });
}

void passi()
{
    stampa("avvio_programma", avvioProgramma());
    auto *avvio = IfLoaded<FormAvvio>();
    stampa("avvio_menu", misura([] { return finestraDi(IfLoaded<FormMenu>()); },
                                [&] { QTest::mouseClick(avvio->Command1->widget(), Qt::LeftButton); }));

    misura([] { return finestraDi(IfLoaded<FormConfigura>()); },
           [] { IfLoaded<FormMenu>()->control(QStringLiteral("mnuConfigura"))->action()->trigger(); });
    auto *conf = IfLoaded<FormConfigura>();
    stampa("lista_utenti", misura([] { return finestraDi(IfLoaded<FormConfigura>()); },
                                  [&] { QTest::mouseClick(conf->OptionUtente[1]->widget(), Qt::LeftButton); }));
    if (conf->ListModificaUtente->ListCount() == 0) {
        std::fprintf(stderr, "sonda_profili: the user list is empty\n");
        std::exit(1);
    }

    // Nothing was changed: leaving writes no file.
    const QString profilo = platform::localPath(FileUtente);
    const Impronta prima = improntaDi(profilo);
    stampa("uscita_configura", misura([] { return finestraDi(IfLoaded<FormMenu>()); },
                                      [&] { conf->control(QStringLiteral("mnuEsci"))->action()->trigger(); }));
    std::printf("profilo_riscritto %d\n", improntaDi(profilo) == prima ? 0 : 1);

    // The menu's list of users, opened.
    auto *combo = qobject_cast<QComboBox *>(IfLoaded<FormMenu>()->control(QStringLiteral("Combo1"))->widget());
    if (!combo) std::exit(1);
    stampa("lista_menu", misura([combo] { return combo->view()->window(); }, [combo] { combo->showPopup(); }, false));
    combo->hidePopup();
}

void battitura(int tasti)
{
    avvioProgramma();
    auto *avvio = IfLoaded<FormAvvio>();
    misura([] { return finestraDi(IfLoaded<FormMenu>()); },
           [&] { QTest::mouseClick(avvio->Command1->widget(), Qt::LeftButton); });
    misura([] { return finestraDi(IfLoaded<FormConfigura>()); },
           [] { IfLoaded<FormMenu>()->control(QStringLiteral("mnuConfigura"))->action()->trigger(); });
    auto *conf = IfLoaded<FormConfigura>();
    misura([] { return finestraDi(IfLoaded<FormConfigura>()); },
           [&] { QTest::mouseClick(conf->OptionUtente[2]->widget(), Qt::LeftButton); });
    QWidget *casella = conf->TextNuovoUtente->widget();
    const QString nome = QStringLiteral("bartolomeo rossi").left(tasti);
    stampa("battitura", misura([] { return finestraDi(IfLoaded<FormConfigura>()); }, [&] {
               for (const QChar c : nome) QTest::keyClick(casella, c.toLatin1());
           }));
    if (conf->TextNuovoUtente->Text() != nome) {
        std::fprintf(stderr, "sonda_profili: the name box holds \"%s\"\n", qPrintable(conf->TextNuovoUtente->Text()));
        std::exit(1);
    }
}

} // namespace

int main(int argc, char *argv[])
{
    Sonda app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Brivomarte"));
    QApplication::setQuitOnLastWindowClosed(false);
    const QString programma = qEnvironmentVariable("BRIVO_PROGRAMMA");
    platform::setProgramFolder(programma.isEmpty() ? QCoreApplication::applicationDirPath() + QStringLiteral("/..") : programma);
    // A message would wait for a click that never comes: say it and stop.
    platform::setMsgBoxHandler([](const platform::MsgBoxCall &c) {
        std::fprintf(stderr, "sonda_profili: message: %s\n", qPrintable(c.text));
        std::exit(1);
        return platform::vbOK;
    });

    const QString comando = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString();
    if (comando == QLatin1String("crea") && argc > 2) return crea(QString::fromLocal8Bit(argv[2]).toInt());
    if (comando == QLatin1String("passi")) passi();
    else if (comando == QLatin1String("battitura")) battitura(argc > 2 ? QString::fromLocal8Bit(argv[2]).toInt() : 10);
    else {
        std::fprintf(stderr, "usage: sonda_profili crea N | passi | battitura [TASTI]\n");
        return 2;
    }
    TerminaProgramma();
    return 0;
}
