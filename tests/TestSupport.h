#pragma once
// Shared by the tests: a temporary settings root and program folder, answered message
// boxes, a fixed resolution of 15 twips per pixel.
#include "platform/MessageBox.h"
#include <QStringList>
#include <QTemporaryDir>
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
void writeBytes(const QString &path, const QByteArray &bytes);
