#pragma once
// The colour and file dialogs, and opening a document with the desktop's viewer.
#include <QColor>
#include <QString>
#include <functional>

class QWidget;

namespace platform {

// Solid colours only; the 16 custom colours start black at every call. Invalid on cancel.
QColor chooseColour(QWidget *owner);

// Mode 1 opens an existing file; any other mode saves (asking before overwriting). The
// filter is pairs of description and pattern. The default extension is added to a name
// typed without one. Empty on cancel.
QString chooseFile(QWidget *owner, int mode, const QString &title, const QString &initialName,
                   const QString &filter, const QString &initialFolder, const QString &defaultExtension);

// False when nothing could be opened; never waits for the viewer.
bool openDocument(const QString &path);

// Tests answer the dialogs instead of a person.
void setColourDialogHandler(std::function<QColor()> handler);
void setFileDialogHandler(std::function<QString(int mode, const QString &folder)> handler);

} // namespace platform
