#pragma once
// Shared by the tests: a temporary settings root and program folder, answered message
// boxes, a fixed resolution of 15 twips per pixel.
#include "platform/MessageBox.h"
#include <QObject>
#include <QStringList>
#include <QUrl>
#include <QTemporaryDir>
#include <functional>
#include <memory>
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

// Runs `work` in a child process whose writes fail beyond `limit` bytes of a file, as they
// fail on a full disk. Returns what `work` returned, or -1 when the child did not end by
// itself.
int conDiscoPieno(qint64 limit, const std::function<int()> &work);
void writeBytes(const QString &path, const QByteArray &bytes);

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
