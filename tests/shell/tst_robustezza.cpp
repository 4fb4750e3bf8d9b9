// Every window, in every input mode, survives a click on each of its controls and a few
// presses of the two switches: nothing crashes, hangs or indexes out of range, whatever
// opens or closes on the way.
#include "TestSupport.h"
#include "exercises/FormEs1.h"
#include "exercises/FormEs2.h"
#include "exercises/FormEs3.h"
#include "exercises/FormEs4.h"
#include "exercises/FormEs5.h"
#include "exercises/FormScelteDidattiche1.h"
#include "exercises/FormScelteDidattiche2.h"
#include "shell/FormInfo.h"
#include "shell/FormMenu.h"
#include "shell/Modulo1.h"
#include "shell/ModuloPerIni.h"
#include "teacher/FormConfigura.h"
#include "teacher/FormEserciziEseguiti.h"
#include "forms/Twips.h"
#include "platform/Dialogs.h"
#include "platform/Random.h"
#include <QtTest>
#include <functional>

using namespace forms;

namespace {

struct Finestra {
    const char *nome;
    std::function<Form *()> apri;
};

template <class T>
Finestra finestra(const char *nome)
{
    return {nome, [] { return static_cast<Form *>(&Default<T>()); }};
}

const std::vector<Finestra> &finestre()
{
    static const std::vector<Finestra> tutte = {
        finestra<FormMenu>("FormMenu"), finestra<FormEs1>("FormEs1"), finestra<FormEs2>("FormEs2"),
        finestra<FormEs3>("FormEs3"), finestra<FormEs4>("FormEs4"), finestra<FormEs5>("FormEs5"),
        finestra<FormScelteDidattiche1>("FormScelteDidattiche1"), finestra<FormScelteDidattiche2>("FormScelteDidattiche2"),
        finestra<FormConfigura>("FormConfigura"), finestra<FormEserciziEseguiti>("FormEserciziEseguiti"),
        finestra<FormInfo>("FormInfo")};
    return tutte;
}

void premi(Form *f, Qt::Key tasto)
{
    for (const char *nome : {"PictureScansioneManuale", "PictureScansioneAutomatica"}) {
        if (!f->isLoaded()) return;
        Control *c = f->control(QLatin1String(nome));
        if (c && c->Visible() && c->widget()) QTest::keyClick(c->widget(), tasto);
    }
}

} // namespace

class TestRobustezza : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        Screen::setSizeOverride(QSize(1024, 768));
        platform::setColourDialogHandler([] { return QColor(Qt::darkGreen); });
        platform::setFileDialogHandler([](int, const QString &) { return QString(); });
    }

    void ogniFinestraOgniModo_data()
    {
        QTest::addColumn<int>("finestra");
        QTest::addColumn<int>("modo");
        for (int i = 0; i < int(finestre().size()); ++i)
            for (int modo = 0; modo <= 2; ++modo)
                QTest::newRow(qPrintable(QStringLiteral("%1 modo %2").arg(QLatin1String(finestre()[i].nome)).arg(modo))) << i << modo;
    }
    void ogniFinestraOgniModo()
    {
        QFETCH(int, finestra);
        QFETCH(int, modo);
        Ambiente env;
        platform::randomSeed(unsigned(finestra * 3 + modo));
        CreaCartelle();
        TipoScansione = modo;
        NumeroMassimo = 4;
        for (int k = 0; k <= 10; ++k) NumeriInLettere[k] = QStringLiteral("parola");

        Form *f = finestre()[finestra].apri();
        QPointer<Form> vivo(f);
        f->Show();
        const std::vector<Control *> controlli = f->Controls();
        for (Control *c : controlli) {
            if (!vivo || !f->isLoaded()) break;
            if (!c->Visible() || !c->Enabled() || c->Name() == QLatin1String("CommandSi")) continue;
            c->raiseClick();
            if (c->MouseMove && vivo && f->isLoaded()) c->MouseMove(1, 0, 10, 10);
        }
        for (int giro = 0; giro < 6 && vivo && f->isLoaded(); ++giro) {
            premi(f, Qt::Key_Space);
            premi(f, Qt::Key_Return);
            if (Control *t = vivo && f->isLoaded() ? f->control(QStringLiteral("Timer1")) : nullptr)
                if (t->Timer) t->Timer();
        }
        QVERIFY(NumeroRigheEsercizi >= 0 && NumeroRigheEsercizi <= kRigheMassime);
        Form::UnloadAll();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
};

QTEST_MAIN(TestRobustezza)
#include "tst_robustezza.moc"
