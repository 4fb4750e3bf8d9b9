#pragma once
// Modal message boxes. Tests can answer them instead of a person.
#include <QString>
#include <functional>

class QWidget;

namespace platform {

enum MsgBoxStyle : int {
    vbOKOnly = 0, vbOKCancel = 1, vbYesNo = 4,
    vbCritical = 16, vbQuestion = 32, vbExclamation = 48, vbInformation = 64
};
enum MsgBoxResult : int { vbOK = 1, vbCancel = 2, vbYes = 6, vbNo = 7 };

int MsgBox(const QString &text, int style, const QString &title);

struct MsgBoxCall { QString text; int style; QString title; };
// While set, every message box is handed to the function instead of being shown.
void setMsgBoxHandler(std::function<int(const MsgBoxCall &)> handler);

} // namespace platform
