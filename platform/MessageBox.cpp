#include "MessageBox.h"
#include <QApplication>
#include <QMessageBox>

namespace platform {

namespace {
std::function<int(const MsgBoxCall &)> g_handler;
}

void setMsgBoxHandler(std::function<int(const MsgBoxCall &)> handler) { g_handler = std::move(handler); }

int MsgBox(const QString &text, int style, const QString &title)
{
    if (g_handler) return g_handler({text, style, title});
    QMessageBox box(QApplication::activeWindow());
    box.setWindowTitle(title);
    box.setText(text);
    const int icon = style & 0x70;
    box.setIcon(icon == vbCritical ? QMessageBox::Critical
                : icon == vbQuestion ? QMessageBox::Question
                : icon == vbExclamation ? QMessageBox::Warning
                : icon == vbInformation ? QMessageBox::Information : QMessageBox::NoIcon);
    const int buttons = style & 0x7;
    if (buttons == vbYesNo) box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
    else if (buttons == vbOKCancel) box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
    else box.setStandardButtons(QMessageBox::Ok);
    box.setWindowFlag(Qt::WindowStaysOnTopHint);
    switch (box.exec()) {
    case QMessageBox::Yes: return vbYes;
    case QMessageBox::No: return vbNo;
    case QMessageBox::Cancel: return vbCancel;
    default: return vbOK;
    }
}

} // namespace platform
