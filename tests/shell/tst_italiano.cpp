// Italian is the language the windows were laid out in: the Italian language file gives
// every Italian text of a layout as the layout gives it, letter for letter and blank for
// blank. Each window is loaded once with no language file and once in Italian, and every
// translated text (window caption and tag, control captions, tool tips and tags) is compared.
#include "TestSupport.h"
#include "FormAvvio.h"
#include "FormConfigura.h"
#include "FormEs1.h"
#include "FormEs2.h"
#include "FormEs3.h"
#include "FormEs4.h"
#include "FormEs5.h"
#include "FormEserciziEseguiti.h"
#include "FormInfo.h"
#include "FormMenu.h"
#include "FormScelteDidattiche1.h"
#include "FormScelteDidattiche2.h"
#include "Modulo1.h"
#include "modLanguageSupport.h"
#include "forms/Twips.h"
#include <QFile>
#include <QtTest>
#include <functional>
#include <map>

using namespace forms;

namespace {

using Testi = std::map<QString, QString>; // "control.property" -> text

Testi testi(const Form &f)
{
    Testi t{{f.Name() + QStringLiteral(".Caption"), f.Caption()}, {f.Name() + QStringLiteral(".Tag"), f.Tag()}};
    for (const Control *c : f.Controls()) {
        t[c->fullName() + QStringLiteral(".Caption")] = c->Caption();
        t[c->fullName() + QStringLiteral(".ToolTipText")] = c->ToolTipText();
        t[c->fullName() + QStringLiteral(".Tag")] = c->Tag();
    }
    return t;
}

// Loads a fresh window of the kind and gives back its texts once its load has run.
template <class T>
Testi caricaE()
{
    T &f = Default<T>();
    const Testi t = testi(f);
    Form::UnloadAll();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    Ridimensionatore.reset();
    return t;
}

// Layout texts that are no Italian wording but stand in for the text that only the
// language file gives: the menu's button and language item names, the information
// window's caption, and "about".
bool segnaposto(const QString &chiave, const QString &testo)
{
    return testo == QLatin1String("Label1") || testo == QLatin1String("Form1") || testo == QLatin1String("about")
        || chiave.startsWith(QLatin1String("mnuLanguage("));
}

} // namespace

class TestItaliano : public QObject {
    Q_OBJECT

private slots:
    void init() { preparaEsercizio(1); }

    void finestre_data()
    {
        QTest::addColumn<std::function<Testi()>>("carica");
        QTest::newRow("FormAvvio") << std::function<Testi()>(caricaE<FormAvvio>);
        QTest::newRow("FormMenu") << std::function<Testi()>(caricaE<FormMenu>);
        QTest::newRow("FormInfo") << std::function<Testi()>(caricaE<FormInfo>);
        QTest::newRow("FormEs1") << std::function<Testi()>(caricaE<FormEs1>);
        QTest::newRow("FormEs2") << std::function<Testi()>(caricaE<FormEs2>);
        QTest::newRow("FormEs3") << std::function<Testi()>(caricaE<FormEs3>);
        QTest::newRow("FormEs4") << std::function<Testi()>(caricaE<FormEs4>);
        QTest::newRow("FormEs5") << std::function<Testi()>(caricaE<FormEs5>);
        QTest::newRow("FormScelteDidattiche1") << std::function<Testi()>(caricaE<FormScelteDidattiche1>);
        QTest::newRow("FormScelteDidattiche2") << std::function<Testi()>(caricaE<FormScelteDidattiche2>);
        QTest::newRow("FormEserciziEseguiti") << std::function<Testi()>(caricaE<FormEserciziEseguiti>);
        QTest::newRow("FormConfigura") << std::function<Testi()>(caricaE<FormConfigura>);
    }

    void finestre()
    {
        QFETCH(std::function<Testi()>, carica);
        Testi layout, italiano;
        {
            Ambiente env(false);
            layout = carica();
        }
        {
            Ambiente env;
            MLSCurrentLanguage = QStringLiteral("Italiano");
            italiano = carica();
        }
        QStringList diversi;
        for (const auto &[chiave, testo] : layout) {
            if (testo.isEmpty() || segnaposto(chiave, testo)) continue;
            const auto it = italiano.find(chiave);
            if (it == italiano.end() || it->second != testo)
                diversi << chiave + QStringLiteral(": \"") + testo + QStringLiteral("\" <> \"") + (it == italiano.end() ? QString() : it->second) + QLatin1Char('"');
        }
        QVERIFY2(diversi.isEmpty(), qPrintable(diversi.join(QLatin1Char('\n'))));
    }

    // The configuration window's controls carry no tool tips, in either language.
    void configurazioneSenzaSuggerimenti()
    {
        for (const char *lingua : {"Italiano", "English"}) {
            Ambiente env;
            MLSCurrentLanguage = QLatin1String(lingua);
            for (const auto &[chiave, testo] : caricaE<FormConfigura>())
                if (chiave.endsWith(QLatin1String(".ToolTipText"))) QVERIFY2(testo.isEmpty(), qPrintable(chiave));
        }
    }
};

QTEST_MAIN(TestItaliano)
#include "tst_italiano.moc"
