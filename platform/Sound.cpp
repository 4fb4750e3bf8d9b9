#include "Sound.h"
#include "Files.h"
#include "Paths.h"
#include <QApplication>
#include <QAudioDevice>
#include <QHash>
#include <QMediaDevices>
#include <QSoundEffect>
#include <QUrl>

namespace platform {

namespace {
std::function<void(const QString &)> g_observer;

bool haveAudio()
{
    static const bool have = !QMediaDevices::defaultAudioOutput().isNull();
    return have;
}
}

void setSoundObserver(std::function<void(const QString &)> observer) { g_observer = std::move(observer); }

void playSoundAsync(const QString &file)
{
    const QString path = localPath(file);
    const bool exists = isOrdinaryFile(path);
    if (g_observer) { g_observer(exists ? path : QStringLiteral("beep")); return; }
    if (!exists) { QApplication::beep(); return; }
    if (!haveAudio()) return;
    // One effect per file, kept for the run; playing again restarts it at once.
    static QHash<QString, QSoundEffect *> effects;
    QSoundEffect *&e = effects[path];
    if (!e) {
        e = new QSoundEffect(qApp);
        e->setSource(QUrl::fromLocalFile(path));
    }
    e->stop();
    e->play();
}

} // namespace platform
