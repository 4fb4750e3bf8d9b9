#pragma once
// The colour and file dialogs as the windows call them, and opening a document.
#include <QString>

namespace forms { class Control; class Form; }

// True when a colour was chosen: it is then the target's text colour.
bool ScegliColore(forms::Form *owner, forms::Control *target);
// Mode 1 open, any other save; the chosen path, or empty.
QString ScegliFile(forms::Form *owner, int mode, const QString &titolo, const QString &nomeIniziale,
                   const QString &filtro, const QString &cartellaIniziale, const QString &estensione);
// Opens a document with the desktop's viewer; a failure is passed over in silence.
void ApriDocumento(forms::Form *finestra, const QString &percorso);
