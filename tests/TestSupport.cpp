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
#include <QMouseEvent>
#include <QFile>
#include <QProcess>
#include <QtTest>
#include <algorithm>
#include <csignal>
#include <sys/inotify.h>
#include <sys/resource.h>
#include <unistd.h>

namespace {
// Qt keeps what its dialogs remember (the last folder, the custom colours) in the user's
// configuration folder: each test program has one of its own, set before Qt starts and
// removed when the program ends.
struct ConfigurazionePropria {
    QTemporaryDir dir{QDir::tempPath() + QStringLiteral("/brivo-config-XXXXXX")};
    ConfigurazionePropria()
    {
        if (dir.isValid()) qputenv("XDG_CONFIG_HOME", QFile::encodeName(dir.path()));
    }
} g_configurazione;
} // namespace

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

int rieseguiConDiscoPieno(const QStringList &args)
{
    QProcess p;
    p.setProcessChannelMode(QProcess::ForwardedChannels);
    p.start(QCoreApplication::applicationFilePath(), QStringList{QStringLiteral("--disco-pieno")} + args);
    if (!p.waitForFinished(120000)) {
        p.kill();
        p.waitForFinished();
        return -1;
    }
    return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
}

void discoPieno(qint64 limit)
{
    // A write past the limit then fails with an error instead of ending the process.
    signal(SIGXFSZ, SIG_IGN);
    const rlimit r{rlim_t(limit), rlim_t(limit)};
    setrlimit(RLIMIT_FSIZE, &r);
}

bool writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size() && f.flush();
}

std::optional<std::vector<EventoCartella>> eventiCartella(const QString &folder, uint32_t mask, const std::function<void()> &work)
{
    const int fd = inotify_init1(IN_NONBLOCK);
    if (fd < 0) return std::nullopt;
    if (inotify_add_watch(fd, QFile::encodeName(folder).constData(), mask) < 0) {
        close(fd);
        return std::nullopt;
    }
    work();
    std::vector<EventoCartella> eventi;
    alignas(inotify_event) char buf[64 * 1024];
    ssize_t n;
    while ((n = read(fd, buf, sizeof buf)) > 0)
        for (char *p = buf; p < buf + n;) {
            const auto *e = reinterpret_cast<const inotify_event *>(p);
            eventi.push_back({e->mask, e->len ? QFile::decodeName(e->name) : QString()});
            p += sizeof(inotify_event) + e->len;
        }
    close(fd);
    return eventi;
}

int apertureCartella(const QString &folder, const std::function<void()> &work)
{
    const auto eventi = eventiCartella(folder, IN_OPEN | IN_CLOSE_NOWRITE, work);
    if (!eventi) return -1;
    return int(std::count_if(eventi->begin(), eventi->end(), [](const EventoCartella &e) { return e.nome.isEmpty() && (e.tipo & IN_OPEN); }));
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

void clicComeX11(QWidget *finestra, QPoint globale, ulong ora)
{
    const QPointF locale = finestra->mapFromGlobal(QPointF(globale));
    for (QEvent::Type tipo : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
        const bool giu = tipo == QEvent::MouseButtonPress;
        QMouseEvent e(tipo, locale, locale, QPointF(globale), Qt::LeftButton, giu ? Qt::LeftButton : Qt::NoButton, Qt::NoModifier);
        e.setTimestamp(giu ? ora : ora + 1);
        QCoreApplication::sendEvent(finestra->windowHandle(), &e);
    }
}
