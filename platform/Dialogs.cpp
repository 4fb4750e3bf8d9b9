#include "Dialogs.h"
#include "Files.h"
#include "Paths.h"
#include <QColorDialog>
#include <QDesktopServices>
#include <QFileDialog>
#include <QUrl>

namespace platform {

namespace {
std::function<QColor()> g_colour;
std::function<QString(int, const QString &)> g_file;
}

void setColourDialogHandler(std::function<QColor()> handler) { g_colour = std::move(handler); }
void setFileDialogHandler(std::function<QString(int, const QString &)> handler) { g_file = std::move(handler); }

QColor chooseColour(QWidget *owner)
{
    for (int i = 0; i < QColorDialog::customCount(); ++i) QColorDialog::setCustomColor(i, Qt::black);
    if (g_colour) return g_colour();
    QColorDialog d(owner);
    d.setOption(QColorDialog::DontUseNativeDialog, false);
    if (d.exec() != QDialog::Accepted) return {};
    QColor c = d.selectedColor();
    c.setAlpha(255);
    return c;
}

QString chooseFile(QWidget *owner, int mode, const QString &title, const QString &initialName,
                   const QString &filter, const QString &initialFolder, const QString &defaultExtension)
{
    const QString folder = localPath(initialFolder);
    if (g_file) return g_file(mode, folder);
    QFileDialog d(owner, title, folder);
    // Pairs of a description and a pattern, each ended by a NUL.
    const QStringList parts = filter.split(QChar(0));
    QStringList filters;
    for (int i = 0; i + 1 < parts.size() && !parts[i + 1].isEmpty(); i += 2)
        filters << (parts[i].isEmpty() ? parts[i + 1] : QStringLiteral("%1 (%2)").arg(parts[i], parts[i + 1]));
    if (!filters.isEmpty()) d.setNameFilters(filters);
    if (!initialName.isEmpty()) d.selectFile(initialName.left(255));
    d.setDefaultSuffix(defaultExtension);
    if (mode == 1) {
        d.setAcceptMode(QFileDialog::AcceptOpen);
        d.setFileMode(QFileDialog::ExistingFile);
    } else {
        d.setAcceptMode(QFileDialog::AcceptSave);
        d.setFileMode(QFileDialog::AnyFile);
    }
    if (d.exec() != QDialog::Accepted || d.selectedFiles().isEmpty()) return {};
    return d.selectedFiles().first();
}

bool openDocument(const QString &path)
{
    const QString local = localPath(path);
    if (!isOrdinaryFile(local)) return false;
    return QDesktopServices::openUrl(QUrl::fromLocalFile(local));
}

} // namespace platform
