#pragma once
// Interface texts: by four-digit id from the current language file, and each window's
// captions, tool tips and tags by window and control name.
#include <QString>
#include <optional>

namespace forms { class Form; }

extern QString MLSCurrentLanguage;

// The value of Key in Section of File; no value when the file cannot be read. A missing
// section or key gives an empty text.
std::optional<QString> MLSReadIni(const QString &File, const QString &Section, const QString &Key);
// Non-zero on success.
int MLSWriteIni(const QString &File, const QString &Section, const QString &Key, const QString &Value);
// The text of an id in the current language; empty on any failure.
QString MLSGetString(const QString &Id);
// The same, or `fallback` when the language gives no text (for messages the program must
// always be able to show).
QString MLSGetStringOr(const QString &Id, const QString &fallback);
void MLSTranslateForm(forms::Form *Frm);
// Qt's own texts (the buttons and labels of the colour, file and print dialogs) in the
// current language, from Qt's translations installed on the machine. Done again only when
// the language has changed since the last call; every window translation calls it.
void MLSLoadQtTranslations();

// The language named in the setting file; no value when the file cannot be read, names no
// language, or names one that is not a plain file name.
std::optional<QString> MLSReadLanguageSetting();
// The language used while the setting names none that can be used: the program's own,
// Italiano, when its file lies beside the program, else the first language file there;
// empty when there is none.
QString MLSDefaultLanguage();

// Paths beside the program. A language name is a plain file name in the program folder,
// by the rules of every name the program gives a file (no separator of either kind, no
// drive, no "..", no device name); any other name has no file and the path is empty.
bool MLSPlainLanguageName(const QString &language);
QString MLSSettingFile();
QString MLSLanguageFile(const QString &language);
