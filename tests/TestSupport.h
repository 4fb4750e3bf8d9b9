#pragma once
// Shared by the tests: a temporary settings root and program folder, answered message
// boxes, a fixed resolution of 15 twips per pixel.
#include "platform/MessageBox.h"
#include <QObject>
#include <QPoint>
#include <QStringList>
#include <QUrl>
#include <QTemporaryDir>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

class Ambiente {
public:
    // copyLanguages: put the program's language files and setting file in the program folder.
    explicit Ambiente(bool copyLanguages = true);
    ~Ambiente();
    QString root() const;      // the settings root
    QString program() const;   // the program folder
    QString file(const QString &relative) const { return root() + QLatin1Char('/') + relative; }
    std::vector<platform::MsgBoxCall> messages;
    int answer = platform::vbOK;

private:
    QTemporaryDir dir_;
};

QStringList readLines(const QString &path); // lines without their CR LF
QByteArray readBytes(const QString &path);  // empty when the file cannot be read

// Full disks. The test program is started again, afresh, with "--disco-pieno" and `args`;
// its main hands that run to the test's own work, which calls discoPieno() before writing.
// Returns the exit code of that run, or -1 when it did not end by itself.
int rieseguiConDiscoPieno(const QStringList &args);
// From here on, writes beyond `limit` bytes of a file fail with an error, as on a full disk.
void discoPieno(qint64 limit);
bool writeBytes(const QString &path, const QByteArray &bytes); // false when not all was written
// What inotify reports about a folder while `work` runs, for the events of `mask`: each
// event's kind and the name of the entry it was about, empty for the folder itself
// (opening it, to list it, is IN_OPEN). Like events in a row are told once: watch for
// IN_CLOSE_NOWRITE too to count each opening. No value where there is no inotify.
struct EventoCartella {
    uint32_t tipo;
    QString nome;
};
std::optional<std::vector<EventoCartella>> eventiCartella(const QString &folder, uint32_t mask, const std::function<void()> &work);
// How many times the folder itself is opened, as listing it does, while `work` runs; -1
// where there is no inotify.
int apertureCartella(const QString &folder, const std::function<void()> &work);

namespace forms { class Form; }

// The names of the loaded windows in load order, without the picture archive (which the
// drawing of quantities loads hidden whenever it needs it).
QStringList finestreCaricate();
forms::Form *caricata(const QString &nome);
// A user with a profile in the users folder, made from the settings in memory.
void creaUtente(const QString &nome);

// Stands in for the desktop's viewer: records what would be opened.
class Apertura : public QObject {
    Q_OBJECT
public:
    QList<QUrl> aperti;
public slots:
    void apri(const QUrl &u) { aperti << u; }
};

namespace forms { class Control; }
// Drops `sorgente` on `destinazione` as a finished mouse drag would (a real drag cannot
// run on the offscreen platform).
void trascina(forms::Control *sorgente, forms::Control *destinazione);

// Saves a picture of the window into the folder BRIVO_GRAB names, when it names one, so
// that a person can look at what the pupil sees.
void fotografa(forms::Form &f, const QString &nome);

// An exercise window's test starts on a 1280x1024 screen with digits for number words, a
// fixed random sequence and zeroed counters; it ends with every window unloaded and gone.
void preparaEsercizio(unsigned seme);
void chiudiFinestre();

class QWidget;
// A key held as the X server sends it to the program, which asks for detectable
// auto-repeat: the first press, then repeated presses of the same key at the server's
// repeat rate, none flagged as a repeat. `rilasciaComeX11` sends the one release at the end.
void premiComeX11(QWidget *w, int tasto, int ripetizioni = 6);
void rilasciaComeX11(QWidget *w, int tasto);
// A click as the X server hands it to the program: the press of the left button at the
// server's time `ora` and its release a millisecond later, at the screen's point `globale`,
// to the window of the top-level widget `finestra` (not to the widget under the pointer).
void clicComeX11(QWidget *finestra, QPoint globale, ulong ora);
