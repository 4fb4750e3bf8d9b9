#include "TestSupport.h"
#include "forms/Form.h"
#include <QDropEvent>
#include <QMimeData>
#include "forms/Twips.h"
#include "platform/Paths.h"
#include "shell/ModuloPerIni.h"
#include "shell/Modulo1.h"
#include "platform/Random.h"
#include "shell/modLanguageSupport.h"
#include <QApplication>
#include <QDir>
#include <QKeyEvent>
#include <QFile>
#include <QtTest>
#include <csignal>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

Ambiente::Ambiente(bool copyLanguages)
{
    forms::setTwipsPerPixel(15);
    QDir(dir_.path()).mkpath(QStringLiteral("root"));
    QDir(dir_.path()).mkpath(QStringLiteral("program"));
    platform::setSettingsRoot(root());
    platform::setProgramFolder(program());
    if (copyLanguages) {
        const QString assets = qEnvironmentVariable("BRIVO_ASSETS") + QStringLiteral("/lang/");
        for (const QString &f : QDir(assets).entryList(QDir::Files))
            QFile::copy(assets + f, program() + QLatin1Char('/') + f);
    }
    MLSCurrentLanguage.clear();
    ImpostaPredefiniti();
    SvuotaRegistro();
    platform::setMsgBoxHandler([this](const platform::MsgBoxCall &c) {
        messages.push_back(c);
        return answer;
    });
}

Ambiente::~Ambiente()
{
    platform::setMsgBoxHandler(nullptr);
    platform::setSettingsRoot(QString());
    platform::setProgramFolder(QString());
    MLSCurrentLanguage.clear();
}

QString Ambiente::root() const { return dir_.path() + QStringLiteral("/root"); }
QString Ambiente::program() const { return dir_.path() + QStringLiteral("/program"); }

QStringList readLines(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return {};
    QStringList l = QString::fromUtf8(f.readAll()).split(QStringLiteral("\r\n"));
    if (!l.isEmpty() && l.last().isEmpty()) l.removeLast();
    return l;
}

QByteArray readBytes(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

int conDiscoPieno(qint64 limit, const std::function<int()> &work)
{
    const pid_t figlio = fork();
    if (figlio < 0) return -1;
    if (figlio == 0) {
        // A write past the limit then fails with an error instead of ending the process.
        signal(SIGXFSZ, SIG_IGN);
        const rlimit r{rlim_t(limit), rlim_t(limit)};
        setrlimit(RLIMIT_FSIZE, &r);
        _exit(work());
    }
    int stato = 0;
    if (waitpid(figlio, &stato, 0) != figlio || !WIFEXITED(stato)) return -1;
    return WEXITSTATUS(stato);
}

void writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    if (f.open(QIODevice::WriteOnly)) f.write(bytes);
}

QStringList finestreCaricate()
{
    QStringList out;
    for (forms::Form *f : forms::Form::LoadedForms())
        if (f->Name() != QLatin1String("FormArchivio")) out << f->Name();
    return out;
}

forms::Form *caricata(const QString &nome)
{
    for (forms::Form *f : forms::Form::LoadedForms())
        if (f->Name() == nome) return f;
    return nullptr;
}

void creaUtente(const QString &nome)
{
    CreaCartelle();
    NomeUtente = nome;
    FileUtente = PercorsoProfilo(nome);
    QVERIFY(ScriviImpostazioni());
}

void trascina(forms::Control *sorgente, forms::Control *destinazione)
{
    QWidget *w = destinazione->widget();
    std::unique_ptr<QMimeData> mime(forms::mimeForDrag(sorgente));
    const QPointF centro(w->width() / 2.0, w->height() / 2.0);
    QDragEnterEvent enter(centro.toPoint(), Qt::MoveAction, mime.get(), Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(w, &enter);
    QDropEvent drop(centro, Qt::MoveAction, mime.get(), Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(w, &drop);
}

void fotografa(forms::Form &f, const QString &nome)
{
    const QString dir = qEnvironmentVariable("BRIVO_GRAB");
    if (!dir.isEmpty()) f.window()->grab().save(dir + QLatin1Char('/') + nome + QStringLiteral(".png"));
}

void preparaEsercizio(unsigned seme)
{
    forms::Screen::setSizeOverride(QSize(1280, 1024));
    for (int k = 0; k <= 10; ++k) NumeriInLettere[k] = QString::number(k);
    platform::randomSeed(seme);
    Esatti = 0;
    Errati = 0;
}

void chiudiFinestre()
{
    forms::Form::UnloadAll();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

namespace {
ulong g_oraServer = 100000; // a server clock in milliseconds

void tastoComeX11(QWidget *w, QEvent::Type tipo, int tasto, ulong ora)
{
    const QString testo = tasto == Qt::Key_Space ? QStringLiteral(" ") : tasto == Qt::Key_Return ? QStringLiteral("\r") : QString();
    QKeyEvent e(tipo, tasto, Qt::NoModifier, testo, false);
    e.setTimestamp(ora);
    QApplication::sendEvent(w, &e);
}
} // namespace

void premiComeX11(QWidget *w, int tasto, int ripetizioni)
{
    tastoComeX11(w, QEvent::KeyPress, tasto, g_oraServer += 1000);
    for (int i = 0; i < ripetizioni; ++i) tastoComeX11(w, QEvent::KeyPress, tasto, g_oraServer += i == 0 ? 660 : 40);
}

void rilasciaComeX11(QWidget *w, int tasto)
{
    tastoComeX11(w, QEvent::KeyRelease, tasto, g_oraServer += 20);
}
