#include "Modulo1.h"
#include "FormArchivio.h"
#include "FormAvvio.h"
#include "ModuloPerIni.h"
#include "modLanguageSupport.h"
#include "forms/Picture.h"
#include "platform/Files.h"
#include "platform/MessageBox.h"
#include "platform/Paths.h"
#include "platform/PointerConfine.h"
#include "platform/Random.h"
#include "platform/SingleInstance.h"
#include <QCoreApplication>
#include <climits>

std::unique_ptr<clsResize> Ridimensionatore;
int Esatti = 0;
int Errati = 0;
int EsercizioScelto = 0;
int NumeroCorrente = 0;
std::array<QString, 11> NumeriInLettere;

bool AvviaSistema()
{
    static platform::SingleInstance istanza(QStringLiteral("brivomarte"));
    if (!istanza.acquire()) {
        platform::MsgBox(MLSGetString(QStringLiteral("0001")), platform::vbCritical | platform::vbOKOnly, QStringLiteral("Error"));
        return false;
    }
    platform::randomize();
    CreaCartelle();
    FileUtente = QStringLiteral("C:\\ImpostazioniProgrammiTesmo\\brivomarte\\utenti\\_predefinito.INI");
    NomeUtente = QStringLiteral("_predefinito");
    LeggiImpostazioni();
    Default<FormArchivio>();
    CaricaNumeriInLettere();
    Default<FormAvvio>().Show();
    // The users folder is read once the start window is on the screen, and kept while it
    // stays as it is: the menu that "Avvio" opens lists it, and a folder of thousands of
    // profiles takes a while to read.
    ElencoUtenti(true);
    // A run that ended in the middle of a write left the new file behind. Nothing before
    // this needs them gone; the users folder is looked at through the listing just kept.
    platform::removeInterruptedWrites(platform::localPath(CartellaRadice), 3);
    platform::removeInterruptedWrites(platform::programFolder(), 0);
    // The pictures of the windows to come are read while the pupil looks at this one.
    forms::preparePicturesWhenIdle();
    return true;
}

void CaricaNumeriInLettere()
{
    for (int k = 0; k <= 10; ++k) NumeriInLettere[k] = MLSGetString(QStringLiteral("%1").arg(4 + k, 4, 10, QLatin1Char('0')));
}

void TerminaProgramma()
{
    // Whatever way the program ends, the pointer is free again.
    platform::releasePointer();
    Ridimensionatore.reset();
    forms::Form::UnloadAll();
    QCoreApplication::quit();
}

void ContaEsatto() { if (Esatti < INT_MAX) ++Esatti; }
void ContaErrato() { if (Errati < INT_MAX) ++Errati; }
