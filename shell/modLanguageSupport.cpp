#include "modLanguageSupport.h"
#include "forms/Form.h"
#include "platform/Files.h"
#include "platform/Paths.h"
#include "platform/ProfileString.h"
#include <QCoreApplication>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QLocale>
#include <QPointer>
#include <QTranslator>
#include <optional>

QString MLSCurrentLanguage;

QString MLSSettingFile() { return platform::programFolder() + QStringLiteral("\\LangSetting.ini"); }

bool MLSPlainLanguageName(const QString &language) { return platform::controllaNome(language) == platform::EsitoNome::Valido; }

QString MLSLanguageFile(const QString &language)
{
    // A name that is not a plain file name names no file at all.
    if (!MLSPlainLanguageName(language)) return QString();
    QString folder = platform::programFolder();
    if (!folder.endsWith(QLatin1Char('\\')) && !folder.endsWith(QLatin1Char('/'))) folder += QLatin1Char('\\');
    return folder + language + QStringLiteral(".lng");
}

std::optional<QString> MLSReadIni(const QString &File, const QString &Section, const QString &Key)
{
    if (File.isEmpty()) return std::nullopt;
    // Every language file, whatever its size, is read by the one reader with its rules.
    QString value;
    if (!platform::readProfileString(File, Section, Key, value)) return std::nullopt;
    return value;
}

int MLSWriteIni(const QString &File, const QString &Section, const QString &Key, const QString &Value)
{
    return platform::writeProfileString(File, Section, Key, Value) ? 1 : 0;
}

std::optional<QString> MLSReadLanguageSetting()
{
    const auto v = MLSReadIni(MLSSettingFile(), QStringLiteral("Language"), QStringLiteral("CurrentLanguage"));
    // A name that could lead elsewhere counts as no setting at all.
    if (!v || !MLSPlainLanguageName(*v)) return std::nullopt;
    return v;
}

QString MLSDefaultLanguage()
{
    QStringList files;
    platform::listFolder(platform::programFolder(), QStringLiteral("*.lng"), true, files);
    QString first;
    for (const QString &f : files) {
        const QString lingua = f.chopped(4);
        if (!MLSPlainLanguageName(lingua)) continue;
        if (lingua.compare(QLatin1String("Italiano"), Qt::CaseInsensitive) == 0) return lingua;
        if (first.isEmpty()) first = lingua;
    }
    return first;
}

QString MLSGetString(const QString &Id)
{
    if (MLSCurrentLanguage.isEmpty()) MLSCurrentLanguage = MLSReadLanguageSetting().value_or(MLSDefaultLanguage());
    return MLSReadIni(MLSLanguageFile(MLSCurrentLanguage), QStringLiteral("Strings"), Id).value_or(QString());
}

void MLSLoadQtTranslations()
{
    static std::optional<QString> loaded; // the language whose Qt texts are installed
    static QPointer<QTranslator> translator;
    if (!QCoreApplication::instance() || loaded == MLSCurrentLanguage) return;
    loaded = MLSCurrentLanguage;
    delete translator; // takes itself out of the application
    // A language is named by its language file, in English or in the language itself
    // (English, Italiano, Deutsch); letter case does not count.
    QLocale locale = QLocale::c();
    for (int l = QLocale::AnyLanguage + 1; l <= QLocale::LastLanguage && locale == QLocale::c(); ++l) {
        const QLocale candidate{QLocale::Language(l)};
        if (candidate.language() != QLocale::Language(l)) continue;
        if (QLocale::languageToString(candidate.language()).compare(MLSCurrentLanguage, Qt::CaseInsensitive) == 0
            || candidate.nativeLanguageName().compare(MLSCurrentLanguage, Qt::CaseInsensitive) == 0)
            locale = candidate;
    }
    if (locale == QLocale::c()) return; // no known language: Qt's texts stay in English
    auto *t = new QTranslator(QCoreApplication::instance());
    if (t->load(locale, QStringLiteral("qt"), QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        QCoreApplication::installTranslator(t);
        translator = t;
    } else {
        delete t;
    }
}

QString MLSGetStringOr(const QString &Id, const QString &fallback)
{
    const QString t = MLSGetString(Id);
    return t.isEmpty() ? fallback : t;
}

void MLSTranslateForm(forms::Form *Frm)
{
    using forms::Kind;
    if (!Frm) return;
    MLSLoadQtTranslations();
    const QString file = MLSLanguageFile(MLSCurrentLanguage);
    // The window's section is found and read once, and asked for each text of the window.
    const auto section = file.isEmpty() ? std::nullopt : platform::readProfileSection(file, Frm->Name());
    auto lookup = [&](const QString &key) { return section ? std::optional<QString>(section->value(key)) : std::nullopt; };

    if (!Frm->Caption().isEmpty())
        if (auto v = lookup(Frm->Name() + QStringLiteral(".Caption"))) Frm->setCaption(*v);
    if (auto v = lookup(Frm->Name() + QStringLiteral(".Tag"))) Frm->setTag(*v);

    // A copy: a handler run while events are processed may add controls.
    const std::vector<forms::Control *> controls = Frm->Controls();
    QPointer<forms::Form> alive(Frm);
    // Events are let through below: a window whose activation loads this one is on the
    // screen by then, as the one the pupil sees and uses.
    forms::Form::ShowActivating();
    for (forms::Control *c : controls) {
        const QString prefix = c->fullName();
        if (c->hasCaption())
            if (auto v = lookup(prefix + QStringLiteral(".Caption")); v && !v->isEmpty()) c->setCaption(*v);
        const bool hasToolTip = c->kind() != Kind::Shape && c->kind() != Kind::Line && c->kind() != Kind::Timer;
        if (hasToolTip)
            if (auto v = lookup(prefix + QStringLiteral(".ToolTipText")); v && !v->isEmpty()) c->setToolTipText(*v);
        if (auto v = lookup(prefix + QStringLiteral(".Tag")); v && !v->isEmpty()) c->setTag(*v);
        if (c->hasCaptionByTabIndex())
            for (int i = 0; i < c->TabCount(); ++i)
                if (auto v = lookup(c->Name() + QStringLiteral(".TabCaption(%1)").arg(i))) c->setTabCaption(i, *v);
        QCoreApplication::processEvents();
        if (!alive || Frm->wasUnloaded()) return;
    }
}
