#include "ModuloColoriSuoni.h"
#include "ModuloPerIni.h"
#include "forms/Form.h"
#include "platform/Paths.h"
#include "platform/Random.h"
#include "platform/Sound.h"
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

void Attendi(double Secondi)
{
    if (!(Secondi > 0)) return;
    // A window pausing in its activation is seen and used during the pause.
    forms::Form::ShowActivating();
    // The windows keep working during the pause, but the processor is left free: the loop
    // sleeps until an event or the end of the pause.
    QElapsedTimer clock;
    clock.start();
    const qint64 fine = qint64(Secondi * 1000.0 + 0.5);
    while (clock.elapsed() < fine) {
        QEventLoop loop;
        QTimer::singleShot(int(fine - clock.elapsed()), &loop, &QEventLoop::quit);
        loop.exec();
    }
}

void SuonoEsatto()
{
    if (SuoniAttivi) platform::playSoundAsync(platform::programFolder() + QStringLiteral("\\suoni\\si.wav"));
}

void SuonoErrato()
{
    if (SuoniAttivi) platform::playSoundAsync(platform::programFolder() + QStringLiteral("\\suoni\\no.wav"));
}

int32_t GeneraColoreCasuale()
{
    static const int32_t tabella[18] = {
        0x00C0C0FF, 0x008080FF, 0x00C0C0FF, 0x0080C0FF, 0x000080FF, 0x00C0FFFF,
        0x0000FFFF, 0x000040C0, 0x0080FF80, 0x0080FF80, 0x00FFFFC0, 0x00FFFF00,
        0x00FFC0C0, 0x00FFC0FF, 0x00FFC0FF, 0x00E0E0E0, 0x00FFC0FF, 0x00FF00FF};
    return tabella[platform::randomInt(0, 17)];
}
