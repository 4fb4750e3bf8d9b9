// Exercise 1 driven as a pupil would: typing, the help, the keypad by switch scanning.
#include "TestSupport.h"
#include "exercises/FormEs1.h"
#include "shell/FormMenu.h"
#include "shell/Modulo1.h"
#include "shell/ModuloPerIni.h"
#include "forms/Twips.h"
#include "platform/Random.h"
#include <QClipboard>
#include <QtTest>

using namespace forms;

namespace {


void type(FormEs1 &f, const QString &text)
{
    QTest::keyClicks(f.Text1->widget(), text);
    QTest::keyClick(f.Text1->widget(), Qt::Key_Return);
}

int enabledButtons(FormEs1 &f)
{
    int n = 0;
    for (Control *b : f.Command1.all()) n += b->Enabled() ? 1 : 0;
    return n;
}

// Manual scanning: Space steps, Enter selects, both on the manual key catcher.
void space(FormEs1 &f) { QTest::keyClick(f.PictureScansioneManuale->widget(), Qt::Key_Space); }
void enter(FormEs1 &f) { QTest::keyClick(f.PictureScansioneManuale->widget(), Qt::Key_Return); }
void selectNumber(FormEs1 &f, int n)
{
    for (int guard = 0; f.PosizioneScansione() != n && guard < 30; ++guard) space(f);
    enter(f);
}

} // namespace

class TestEs1 : public QObject {
    Q_OBJECT
private slots:
    void init() { preparaEsercizio(11); }
    void cleanup() { chiudiFinestre(); }

    void contatoriEPezziDelRegistro()
    {
        Ambiente env;
        ColoreCasuale = false;
        Esatti = 3;
        Errati = 0;
        ScriviIntestazione(QStringLiteral("Esercizio 1"));
        auto &f = Default<FormEs1>();
        f.Show();
        QCOMPARE(f.EtichettaEsatti->Caption(), QStringLiteral("3"));
        QCOMPARE(f.EtichettaErrati->Caption(), QStringLiteral("0"));
        // The counts have no colour of their own: they are written as their titles are.
        QCOMPARE(f.EtichettaEsatti->ForeColor(), f.Label1->ForeColor());
        QCOMPARE(f.EtichettaErrati->ForeColor(), f.Label2->ForeColor());
        const int first = NumeroCorrente;
        type(f, QString::number(first));
        QCOMPARE(f.EtichettaEsatti->Caption(), QStringLiteral(" 4"));
        QCOMPARE(RigheEsercizi[NumeroRigheEsercizi], QStringLiteral(" %1").arg(first));
        QVERIFY(f.Text1->Locked());
        // Enter again in the locked box neither counts nor writes the round twice.
        QTest::keyClick(f.Text1->widget(), Qt::Key_Return);
        QCOMPARE(Esatti, 4);
        QCOMPARE(RigheEsercizi[NumeroRigheEsercizi], QStringLiteral(" %1").arg(first));

        f.BottoneAvanti->raiseClick();
        const int second = NumeroCorrente;
        type(f, QString::number((second + 1) % 11));
        type(f, QString::number((second + 2) % 11));
        QCOMPARE(f.EtichettaErrati->Caption(), QStringLiteral(" 2"));
        QVERIFY(f.FrameAiuto->Visible());
        // A wrong help choice is a third error and greys that choice.
        int wrong = -1, right = -1;
        for (int i = 0; i < 3; ++i) (f.CommandAiuto[i]->Caption().toInt() == second ? right : wrong) = i;
        f.CommandAiuto[wrong]->raiseClick();
        QVERIFY(!f.CommandAiuto[wrong]->Enabled());
        f.CommandAiuto[right]->raiseClick();
        QVERIFY(!f.FrameAiuto->Visible());
        QCOMPARE(f.Text1->Text(), QString::number(second));
        QCOMPARE(RigheEsercizi[NumeroRigheEsercizi], QStringLiteral(" %1 -  %2(***)").arg(first).arg(second));

        f.MenuAzzera_Click();
        QCOMPARE(f.EtichettaEsatti->Caption(), QStringLiteral("0"));
        f.BottoneAvanti->raiseClick();
        type(f, QString::number(NumeroCorrente));
        QCOMPARE(f.EtichettaEsatti->Caption(), QStringLiteral(" 1"));
        fotografa(f, QStringLiteral("es1_mouse"));
    }

    void rispostaScritta()
    {
        Ambiente env;
        auto &f = Default<FormEs1>();
        f.Show();
        NumeroCorrente = 3;
        // Only digits, commas and Backspace reach the box; "3,7" reads 3.
        QTest::keyClicks(f.Text1->widget(), QStringLiteral("a 3b,7x"));
        QCOMPARE(f.Text1->Text(), QStringLiteral("3,7"));
        QTest::keyClick(f.Text1->widget(), Qt::Key_Return);
        QCOMPARE(Esatti, 1);
        f.BottoneAvanti->raiseClick();
        const int before = Errati + Esatti;
        QTest::keyClick(f.Text1->widget(), Qt::Key_Return); // empty box: nothing
        QCOMPARE(Errati + Esatti, before);
        // Ten is read whole.
        NumeroCorrente = 10;
        type(f, QStringLiteral("10"));
        QCOMPARE(Esatti, 2);
        QCOMPARE(Errati, 0);

        // A wrong answer stays in the box the pupil sees; once the help covers the box,
        // what is typed there is read on its own, whatever was typed before.
        f.BottoneAvanti->raiseClick();
        NumeroCorrente = 1;
        type(f, QStringLiteral("5"));
        QCOMPARE(f.Text1->Text(), QStringLiteral("5"));
        QTest::keyClick(f.Text1->widget(), Qt::Key_Backspace);
        type(f, QStringLiteral("6"));
        QVERIFY(f.FrameAiuto->Visible());
        QCOMPARE(f.Text1->Text(), QString());
        type(f, QStringLiteral("7"));
        QCOMPARE(Errati, 3);
        QCOMPARE(f.Text1->Text(), QString());
        // A wrong help choice clicked greys out; the keys stay with the covered box, so an
        // Enter alone answers nothing and a typed answer is read as before.
        QVERIFY(QTest::qWaitForWindowActive(f.window()));
        const int wrong = f.CommandAiuto[0]->Caption().toInt() == 1 ? 1 : 0;
        QTest::mouseClick(f.CommandAiuto[wrong]->widget(), Qt::LeftButton);
        QCOMPARE(Errati, 4);
        QVERIFY(!f.CommandAiuto[wrong]->Enabled());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QCOMPARE(Errati, 4);
        QCOMPARE(Esatti, 2);
        QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("1"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QCOMPARE(Esatti, 3);
        QCOMPARE(Errati, 4);
        QVERIFY(!f.FrameAiuto->Visible());
        QCOMPARE(f.Text1->Text(), QStringLiteral("1"));
    }

    // The box holds digits and commas whatever brings the text in: a key of another script,
    // an input method's commit, a paste. "٣" is a digit to Qt, but never one of the answer's.
    void rispostaSoloCifreComunque()
    {
        Ambiente env;
        auto &f = Default<FormEs1>();
        f.Show();
        NumeroCorrente = 7;
        QWidget *box = f.Text1->widget();
        // As X sends a key of an Arabic layout: its character as text, its code point as key.
        for (QEvent::Type t : {QEvent::KeyPress, QEvent::KeyRelease}) {
            QKeyEvent tasto(t, 0x0663, Qt::NoModifier, QStringLiteral("٣"));
            QApplication::sendEvent(box, &tasto);
        }
        QCOMPARE(f.Text1->Text(), QString());
        QInputMethodEvent composto;
        composto.setCommitString(QStringLiteral("٣数7"));
        QApplication::sendEvent(box, &composto);
        QCOMPARE(f.Text1->Text(), QStringLiteral("7"));
        QGuiApplication::clipboard()->setText(QStringLiteral("٣数,8"));
        for (QEvent::Type t : {QEvent::KeyPress, QEvent::KeyRelease}) {
            QKeyEvent incolla(t, Qt::Key_V, Qt::ControlModifier, QString(QChar(0x16)));
            QApplication::sendEvent(box, &incolla);
        }
        QGuiApplication::clipboard()->clear();
        QCOMPARE(f.Text1->Text(), QStringLiteral("7,8"));
        QTest::keyClick(box, Qt::Key_Return);
        QCOMPARE(Esatti, 1);
    }

    void aiutoOffreNumeriPermessi()
    {
        Ambiente env;
        NumeroMassimo = 2;
        auto &f = Default<FormEs1>();
        f.Show();
        for (int round = 0; round < 20; ++round) {
            f.MostraFrameAiuto();
            QSet<int> offered;
            for (int i = 0; i < 3; ++i) offered.insert(f.CommandAiuto[i]->Caption().toInt());
            QCOMPARE(offered, QSet<int>({0, 1, 2}));
        }
    }

    void menoPossibilita_data()
    {
        QTest::addColumn<int>("massimo");
        QTest::addColumn<int>("left");
        QTest::newRow("2") << 2 << 1;
        QTest::newRow("4: three left, none taken") << 4 << 3;
        QTest::newRow("5") << 5 << 1;
        QTest::newRow("10") << 10 << 6;
    }
    void menoPossibilita()
    {
        QFETCH(int, massimo);
        QFETCH(int, left);
        Ambiente env;
        NumeroMassimo = massimo;
        TipoScansione = 1;
        auto &f = Default<FormEs1>();
        f.Show();
        const int target = NumeroCorrente;
        const int wrong1 = (target + 1) % (massimo + 1), wrong2 = (target + 2) % (massimo + 1);
        selectNumber(f, wrong1);
        selectNumber(f, wrong2);
        QCOMPARE(enabledButtons(f), left);
        QVERIFY(f.Command1[target]->Enabled());
        for (int k = massimo + 1; k <= 10; ++k) QVERIFY(!f.Command1[k]->Visible());
    }

    void scansioneManuale()
    {
        Ambiente env;
        TipoScansione = 1;
        NumeroMassimo = 4;
        RipartiDallInizio = false;
        auto &f = Default<FormEs1>();
        f.Show();
        QVERIFY(!f.Text1->Visible());
        QVERIFY(f.FrameScansione->Visible());
        QCOMPARE(f.PosizioneScansione(), 0);
        QCOMPARE(f.Command1[0]->BackColor(), colourFromDouble(ColoreScansione));
        for (int i = 1; i <= 5; ++i) space(f);
        QCOMPARE(f.PosizioneScansione(), 0); // five buttons: wrapped
        const int target = NumeroCorrente;
        const int wrong = (target + 1) % 5;
        selectNumber(f, wrong);
        QVERIFY(!f.Command1[wrong]->Enabled());
        QCOMPARE(f.PosizioneScansione(), wrong); // the highlight rests on the greyed button
        enter(f);                                // selecting it again does nothing
        QCOMPARE(Errati, 1);
        space(f);
        QVERIFY(f.PosizioneScansione() != wrong);
        selectNumber(f, target);
        QCOMPARE(Esatti, 1);
        QVERIFY(f.BottoneAvanti2->Enabled());
        QCOMPARE(f.BottoneAvanti2->BackColor(), colourFromDouble(ColoreScansione));
        const int pos = f.PosizioneScansione();
        space(f); // waiting on "avanti": nothing moves
        QCOMPARE(f.PosizioneScansione(), pos);
        enter(f); // "avanti"
        QVERIFY(!f.BottoneAvanti2->Enabled());
        QCOMPARE(enabledButtons(f), 5);
        fotografa(f, QStringLiteral("es1_manuale"));
    }

    void ripartiDallInizio()
    {
        Ambiente env;
        TipoScansione = 1;
        RipartiDallInizio = true;
        ConRiquadro = true;
        auto &f = Default<FormEs1>();
        f.Show();
        QVERIFY(f.ShapeRiquadro->Visible());
        const int target = NumeroCorrente;
        const int wrong = target == 0 ? 1 : 0;
        selectNumber(f, wrong);
        // Back at once to the first enabled button, framed.
        const int first = wrong == 0 ? (target == 1 ? 2 : 1) : 0;
        QCOMPARE(f.PosizioneScansione(), std::min(first, target == 0 ? 0 : first));
        Control *b = f.Command1[f.PosizioneScansione()];
        QCOMPARE(f.ShapeRiquadro->Left(), b->Left() - DimensioneRiquadro);
        QCOMPARE(f.ShapeRiquadro->Width(), b->Width() + DimensioneRiquadro);
        selectNumber(f, target);
        QCOMPARE(f.PosizioneScansione(), 0);
        QCOMPARE(f.ShapeRiquadro->Top(), f.BottoneAvanti2->Top() - DimensioneRiquadro);
        fotografa(f, QStringLiteral("es1_riquadro"));
    }

    void scansioneAutomatica()
    {
        Ambiente env;
        TipoScansione = 2;
        VelocitaScansione = 200; // out of range: the step stays within 1 to 15 seconds
        NumeroMassimo = 3;
        auto &f = Default<FormEs1>();
        f.Show();
        QCOMPARE(f.Timer1->Interval(), 15000);
        QVERIFY(f.Timer1->Enabled());
        QWidget *w = f.PictureScansioneAutomatica->widget();
        f.Timer1->Timer();
        QCOMPARE(f.PosizioneScansione(), 1);
        // Any key held halts the highlight; a release other than Space leaves it halted.
        QTest::keyPress(w, Qt::Key_A);
        QVERIFY(!f.Timer1->Enabled());
        QTest::keyRelease(w, Qt::Key_A);
        QVERIFY(!f.Timer1->Enabled());
        // Holding Space repeats its press; one release selects once and the timer resumes.
        QTest::keyPress(w, Qt::Key_Space);
        QTest::keyPress(w, Qt::Key_Space, Qt::NoModifier, -1);
        QTest::sendKeyEvent(QTest::KeyAction::Press, w, Qt::Key_Space, QStringLiteral(" "), Qt::NoModifier);
        QTest::keyRelease(w, Qt::Key_Space);
        QCOMPARE(Esatti + Errati, 1);
        QVERIFY(f.Timer1->Enabled());
        QVERIFY(!f.Command1[1]->Enabled());
    }

    void esciTornaAlMenu()
    {
        Ambiente env;
        auto &f = Default<FormEs1>();
        f.Show();
        f.mnuEsci_Click();
        QVERIFY(f.control(QStringLiteral("FrameUscita"))->Visible());
        fotografa(f, QStringLiteral("es1_uscita"));
        f.control(QStringLiteral("CommandSi"))->raiseClick();
        QVERIFY(!IfLoaded<FormEs1>());
        QVERIFY(IfLoaded<FormMenu>());
    }

    // "No" leaves the window as it was: in automatic scanning the key catcher has the keys
    // again at once, and Space pauses the scanning without waiting for the next tick.
    void noRidaITastiAllaScansione()
    {
        Ambiente env;
        TipoScansione = 2;
        VelocitaScansione = 60;
        auto &f = Default<FormEs1>();
        f.Show();
        QVERIFY(QTest::qWaitForWindowActive(f.window()));
        f.mnuEsci_Click();
        QTest::mouseClick(f.control(QStringLiteral("CommandNo"))->widget(), Qt::LeftButton);
        QVERIFY(!f.control(QStringLiteral("FrameUscita"))->Visible());
        QWidget *tasti = QApplication::focusWidget();
        QCOMPARE(tasti, f.PictureScansioneAutomatica->widget());
        QTest::keyPress(tasti, Qt::Key_Space);
        QVERIFY(!f.Timer1->Enabled());
        QTest::keyRelease(tasti, Qt::Key_Space);
        QCOMPARE(Esatti + Errati, 1);
        QVERIFY(f.Timer1->Enabled());
    }
};

QTEST_MAIN(TestEs1)
#include "tst_es1.moc"
