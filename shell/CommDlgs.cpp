#include "CommDlgs.h"
#include "forms/Form.h"
#include "platform/Dialogs.h"

bool ScegliColore(forms::Form *owner, forms::Control *target)
{
    const QColor c = platform::chooseColour(owner ? owner->window() : nullptr);
    if (!c.isValid()) return false;
    target->setForeColor(forms::fromQColor(c));
    return true;
}

QString ScegliFile(forms::Form *owner, int mode, const QString &titolo, const QString &nomeIniziale,
                   const QString &filtro, const QString &cartellaIniziale, const QString &estensione)
{
    return platform::chooseFile(owner ? owner->window() : nullptr, mode, titolo, nomeIniziale, filtro,
                                cartellaIniziale, estensione);
}

void ApriDocumento(forms::Form *, const QString &percorso)
{
    platform::openDocument(percorso);
}
