// Exercise 3 driven as a pupil would: bricks laid with the mouse, the help markers, the
// three buttons by switch scanning, with the colour highlight and with the frame.
#include "TestSupport.h"
#include "exercises/FormEs3.h"
#include "shell/FormMenu.h"
#include "shell/Modulo1.h"
#include "shell/ModuloPerIni.h"
#include "forms/Twips.h"
#include "platform/Random.h"
#include <QtTest>

using namespace forms;

namespace {

void grab(Form &f, const QString &name)
{
    const QString dir = qEnvironmentVariable("BRIVO_GRAB");
    if (!dir.isEmpty()) f.window()->grab().save(dir + QLatin1Char('/') + name + QStringLiteral(".png"));
}

void click(Control *c, Qt::MouseButton b = Qt::LeftButton) { QTest::mouseClick(c->widget(), b, {}, QPoint(12, 12)); }
void lay(FormEs3 &f, int n)
{
    for (int i = 0; i < n; ++i) click(f.CommandMattone);
}

// The column as the pupil sees it: the lowest `bricks` places are bricks, the rest empty.
bool columnShows(FormEs3 &f, int bricks)
{
    if (f.MattoniMessi != bricks) return false;
    for (int i = 0; i < 10; ++i)
        if (f.Label4[i]->BackColor() != colourFromDouble(i < bricks ? ColoreDisegno2 : ColoreSfondo2)) return false;
    return true;
}

int markersShown(FormEs3 &f)
{
    int n = 0;
    for (Control *s : f.Shape2.all()) n += s->Visible() ? 1 : 0;
    return n;
}

// A round whose number satisfies `ok`, drawn anew as the window's own new round does.
void roundWhere(FormEs3 &f, const std::function<bool(int)> &ok)
{
    for (int guard = 0; !ok(NumeroCorrente) && guard < 200; ++guard) f.NuovoNumero();
    QVERIFY(ok(NumeroCorrente));
}

void space(FormEs3 &f) { QTest::keyClick(f.PictureScansioneManuale->widget(), Qt::Key_Space); }
void enter(FormEs3 &f) { QTest::keyClick(f.PictureScansioneManuale->widget(), Qt::Key_Return); }
void stepTo(FormEs3 &f, int position)
{
    for (int guard = 0; f.PosizioneScansione() != position && guard < 5; ++guard) space(f);
    QCOMPARE(f.PosizioneScansione(), position);
}

class Altra : public Form {
public:
    Altra() : Form(QStringLiteral("Altra")) {}
};

} // namespace

class TestEs3 : public QObject {
    Q_OBJECT
private slots:
    void init() { preparaEsercizio(7); }
    void cleanup() { chiudiFinestre(); }

    void colonnaConIlMouse()
    {
        Ambiente env;
        auto &f = Default<FormEs3>();
        f.Show();
        QCOMPARE(f.CommandMattone->MousePointer(), int(vbCustom));
        // A right release on an empty column, a middle release, and keys on the focused
        // brick button (it has no click) all leave the column alone.
        click(f.CommandMattone, Qt::RightButton);
        click(f.CommandMattone, Qt::MiddleButton);
        f.CommandMattone->SetFocus();
        QTest::keyClick(f.CommandMattone->widget(), Qt::Key_Space);
        QTest::keyClick(f.CommandMattone->widget(), Qt::Key_Return);
        QVERIFY(columnShows(f, 0));
        lay(f, 4);
        grab(f, QStringLiteral("es3_mouse_colonna"));
        click(f.CommandMattone, Qt::RightButton); // takes the top brick only
        QVERIFY(columnShows(f, 3));
        // Ten bricks fill the column; one more changes nothing and answers nothing.
        lay(f, 8);
        QVERIFY(columnShows(f, 10));
        click(f.Bot_ricomincia);
        QVERIFY(columnShows(f, 0));
        QCOMPARE(Esatti + Errati, 0);
        QVERIFY(f.ComandoIconaSi->Visible() && !f.ComandoIconaNo->Visible());
    }

    void rispostaGiustaEContatori()
    {
        Ambiente env;
        ColoreCasuale = false;
        Esatti = 3;
        ScriviIntestazione(QStringLiteral("Esercizio 3"));
        auto &f = Default<FormEs3>();
        f.Show();
        QCOMPARE(f.EtichettaEsatti->Caption(), QStringLiteral("3"));
        const int first = NumeroCorrente;
        lay(f, first);
        click(f.BottoneConferma);
        QCOMPARE(f.EtichettaEsatti->Caption(), QStringLiteral(" 4"));
        QCOMPARE(RigheEsercizi[NumeroRigheEsercizi], QStringLiteral(" %1").arg(first));
        QVERIFY(!f.LabelSpiega->Visible());
        // Solved: the building buttons no longer answer, and the column stays as built.
        click(f.CommandMattone);
        click(f.Bot_ricomincia);
        click(f.BottoneConferma);
        QVERIFY(columnShows(f, first));
        QCOMPARE(Esatti, 4);
        grab(f, QStringLiteral("es3_mouse"));

        // "avanti" has the focus: Enter takes a new, empty round.
        QTest::keyClick(f.BottoneAvanti->widget(), Qt::Key_Return);
        QVERIFY(!f.BottoneAvanti->Enabled() && f.CommandMattone->Enabled());
        QVERIFY(columnShows(f, 0));
        QCOMPARE(f.BackColor(), colourFromDouble(ColoreSfondoFinestra));
        f.MenuAzzera_Click();
        QCOMPARE(f.EtichettaErrati->Caption(), QStringLiteral("0"));
        lay(f, NumeroCorrente);
        click(f.BottoneConferma);
        QCOMPARE(f.EtichettaEsatti->Caption(), QStringLiteral(" 1"));
    }

    void aiutoAlSecondoErrore()
    {
        Ambiente env;
        ScriviIntestazione(QStringLiteral("Esercizio 3"));
        RigheEsercizi[NumeroRigheEsercizi] = QStringLiteral(" 2");
        auto &f = Default<FormEs3>();
        f.Show();
        roundWhere(f, [](int n) { return n >= 3 && n <= 8; });
        const int n = NumeroCorrente;
        lay(f, n + 2);
        click(f.BottoneConferma);
        QCOMPARE(markersShown(f), 0);
        QVERIFY(columnShows(f, n + 2)); // the bricks stay, the buttons too
        click(f.CommandMattone, Qt::RightButton);
        click(f.BottoneConferma);
        // The second error marks the lowest n places, each beside its place.
        QCOMPARE(markersShown(f), n);
        QVERIFY(f.Shape2[n - 1]->Visible());
        const double middle = f.Label4[n - 1]->Top() + f.Label4[n - 1]->Height() / 2;
        QVERIFY(qAbs(f.Shape2[n - 1]->Top() + f.Shape2[n - 1]->Height() / 2 - middle) < 30);
        QCOMPARE(f.Shape2[0]->FillColor(), colourFromDouble(ColoreDisegno1));
        grab(f, QStringLiteral("es3_aiuto"));
        click(f.Bot_ricomincia);
        click(f.BottoneConferma);
        QCOMPARE(markersShown(f), n); // the third shows nothing new
        lay(f, n);
        click(f.BottoneConferma);
        QCOMPARE(RigheEsercizi[NumeroRigheEsercizi], QStringLiteral(" 2 -  %1(***)").arg(n));
        click(f.BottoneAvanti);
        QCOMPARE(markersShown(f), 0);
        // A round left unsolved adds nothing.
        click(f.CommandMattone);
        f.mnuEsci_Click();
        grab(f, QStringLiteral("es3_uscita"));
        f.control(QStringLiteral("CommandSi"))->raiseClick();
        QCOMPARE(RigheEsercizi[NumeroRigheEsercizi], QStringLiteral(" 2 -  %1(***)").arg(n));
        QVERIFY(!IfLoaded<FormEs3>() && IfLoaded<FormMenu>());
    }

    void zeroMattoni()
    {
        Ambiente env;
        NumeroMassimo = 0;
        ScriviIntestazione(QStringLiteral("Esercizio 3"));
        auto &f = Default<FormEs3>();
        f.Show();
        lay(f, 1);
        click(f.BottoneConferma);
        click(f.BottoneConferma);
        QCOMPARE(markersShown(f), 0); // nothing to mark for zero
        click(f.Bot_ricomincia);
        click(f.BottoneConferma); // the empty column is right
        QCOMPARE(RigheEsercizi[NumeroRigheEsercizi], QStringLiteral(" 0(**)"));
    }

    void numeroMassimoFuoriMisura_data()
    {
        QTest::addColumn<int>("massimo");
        QTest::newRow("15") << 15;
        QTest::newRow("-3") << -3;
    }
    void numeroMassimoFuoriMisura()
    {
        QFETCH(int, massimo);
        Ambiente env;
        NumeroMassimo = massimo;
        auto &f = Default<FormEs3>();
        f.Show();
        QSet<int> seen;
        for (int round = 0; round < 300; ++round) {
            f.NuovoNumero();
            seen.insert(NumeroCorrente);
            f.MostraAiuto(); // never past the tenth marker
        }
        // Within the ten places, the full column asked for too.
        QCOMPARE(seen, massimo > 0 ? QSet<int>({0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10}) : QSet<int>({0}));
    }

    void scansioneManuale()
    {
        Ambiente env;
        TipoScansione = 1;
        auto &f = Default<FormEs3>();
        f.Show();
        const int32_t lit = colourFromDouble(ColoreScansione), off = colourFromDouble(ColoreBottoni);
        QVERIFY(f.PictureScansioneManuale->Visible() && f.BottoneAvanti->Visible() && !f.ShapeRiquadro->Visible());
        QCOMPARE(f.Label4[3]->MousePointer(), int(vbDefault));
        // Nothing highlighted yet; Enter before any Space hands in the empty column.
        for (Control *b : {f.CommandMattone.get(), f.Bot_ricomincia.get(), f.BottoneConferma.get()}) QCOMPARE(b->BackColor(), off);
        roundWhere(f, [](int n) { return n >= 2; });
        enter(f);
        QCOMPARE(Errati, 1);
        // The mouse does nothing in scanning.
        click(f.CommandMattone);
        click(f.BottoneConferma);
        QCOMPARE(Errati, 1);
        QVERIFY(columnShows(f, 0));
        // Mattone, Ricomincia, Conferma, Mattone; the brick item lays one brick.
        space(f);
        QCOMPARE(f.CommandMattone->BackColor(), lit);
        enter(f);
        grab(f, QStringLiteral("es3_manuale_mattone"));
        space(f);
        QCOMPARE(f.Bot_ricomincia->BackColor(), lit);
        QCOMPARE(f.CommandMattone->BackColor(), off);
        space(f);
        QCOMPARE(f.PosizioneScansione(), int(FormEs3::kConferma));
        space(f);
        QCOMPARE(f.PosizioneScansione(), int(FormEs3::kMattone));
        for (int i = 0; i < 11; ++i) enter(f); // the eleventh changes nothing
        QVERIFY(columnShows(f, 10));
        QCOMPARE(Esatti + Errati, 1);
        stepTo(f, FormEs3::kRicomincia);
        enter(f);
        stepTo(f, FormEs3::kMattone);
        for (int i = 0; i < NumeroCorrente; ++i) enter(f);
        stepTo(f, FormEs3::kConferma);
        const int32_t before = f.BackColor();
        enter(f);
        QCOMPARE(Esatti, 1);
        QCOMPARE(f.BottoneAvanti->BackColor(), lit);
        QCOMPARE(f.BottoneConferma->BackColor(), off);
        grab(f, QStringLiteral("es3_manuale"));
        space(f); // waiting on "avanti": nothing moves
        QCOMPARE(f.PosizioneScansione(), int(FormEs3::kAvanti));
        enter(f);
        QVERIFY(!f.BottoneAvanti->Enabled());
        QCOMPARE(f.PosizioneScansione(), int(FormEs3::kMattone));
        QCOMPARE(f.CommandMattone->BackColor(), lit);
        QVERIFY(columnShows(f, 0));
        // A new colour for the window and its key catcher at every round.
        QVERIFY(f.BackColor() != before);
        QCOMPARE(f.PictureScansioneManuale->BackColor(), f.BackColor());

        // A wrong answer keeps the highlight on Conferma; the next step goes to Mattone.
        roundWhere(f, [](int n) { return n >= 1; });
        stepTo(f, FormEs3::kConferma);
        enter(f);
        QCOMPARE(f.BottoneConferma->BackColor(), lit);
        space(f);
        QCOMPARE(f.PosizioneScansione(), int(FormEs3::kMattone));
    }

    void scansioneAutomaticaConRiquadro()
    {
        Ambiente env;
        TipoScansione = 2;
        ConRiquadro = true;
        DimensioneRiquadro = 12;
        auto &f = Default<FormEs3>();
        f.Show();
        QVERIFY(f.Timer1->Enabled() && f.PictureScansioneAutomatica->Visible() && f.ShapeRiquadro->Visible());
        // At rest under the picture: no item looks highlighted.
        Control *pic = f.PictureBoxPrimaImmagine;
        QVERIFY(f.ShapeRiquadro->Left() >= pic->Left() && f.ShapeRiquadro->Top() >= pic->Top() &&
                f.ShapeRiquadro->Left() + f.ShapeRiquadro->Width() <= pic->Left() + pic->Width());
        grab(f, QStringLiteral("es3_automatica_inizio"));

        QWidget *w = f.PictureScansioneAutomatica->widget();
        roundWhere(f, [](int n) { return n >= 1 && n <= 9; });
        const int n = NumeroCorrente;
        QTest::keyClick(w, Qt::Key_Space); // before the first tick: the empty column
        QCOMPARE(Errati, 1);
        f.Timer1->Timer();
        auto framed = [&f](Control *item) {
            const double b = DimensioneRiquadro;
            return f.ShapeRiquadro->Left() == item->Left() - b && f.ShapeRiquadro->Top() == item->Top() - b &&
                   f.ShapeRiquadro->Width() == item->Width() + b && f.ShapeRiquadro->Height() == item->Height() + b;
        };
        QVERIFY(framed(f.CommandMattone));
        QCOMPARE(f.CommandMattone->BackColor(), colourFromDouble(ColoreBottoni)); // the frame, not the colour
        // Any key held halts the highlight; releasing it leaves it halted until Space.
        QTest::keyPress(w, Qt::Key_A);
        QTest::keyRelease(w, Qt::Key_A);
        QVERIFY(!f.Timer1->Enabled());
        QCOMPARE(f.MattoniMessi, 0);
        for (int i = 0; i < n; ++i) QTest::keyClick(w, Qt::Key_Space);
        QVERIFY(f.Timer1->Enabled());
        QVERIFY(columnShows(f, n));
        f.Timer1->Timer();
        f.Timer1->Timer();
        QVERIFY(framed(f.BottoneConferma));
        QTest::keyClick(w, Qt::Key_Space);
        QCOMPARE(Esatti, 1);
        QVERIFY(framed(f.BottoneAvanti));
        grab(f, QStringLiteral("es3_automatica"));
        // Ticks and the mouse leave "avanti" waiting; Space starts the next round.
        f.Timer1->Timer();
        click(f.BottoneAvanti);
        QCOMPARE(f.PosizioneScansione(), int(FormEs3::kAvanti));
        QTest::keyClick(w, Qt::Key_Space);
        QVERIFY(!f.BottoneAvanti->Enabled() && f.Timer1->Enabled());
        QVERIFY(framed(f.CommandMattone));
    }

    // One hold of the switch on "Mattone", repeating as X11 sends it on a busy machine,
    // lays one brick: with Enter in manual scanning, with Space in automatic scanning.
    void tenutaUnSoloMattone_data()
    {
        QTest::addColumn<int>("tipo");
        QTest::newRow("manual") << 1;
        QTest::newRow("automatic") << 2;
    }
    void tenutaUnSoloMattone()
    {
        QFETCH(int, tipo);
        Ambiente env;
        TipoScansione = tipo;
        VelocitaScansione = 60;
        auto &f = Default<FormEs3>();
        f.Show();
        roundWhere(f, [](int n) { return n >= 3; });
        if (tipo == 1) stepTo(f, FormEs3::kMattone);
        else f.Timer1->Timer();
        QCOMPARE(f.PosizioneScansione(), int(FormEs3::kMattone));
        QWidget *w = (tipo == 1 ? f.PictureScansioneManuale : f.PictureScansioneAutomatica)->widget();
        const int tasto = tipo == 1 ? Qt::Key_Return : Qt::Key_Space;
        premiComeX11(w, tasto, 10);
        QVERIFY(columnShows(f, 0));
        rilasciaComeX11(w, tasto);
        QVERIFY(columnShows(f, 1));
        QCOMPARE(Errati, 0);
    }

    void nuovaAttivazioneRiapreIlTurno()
    {
        Ambiente env;
        TipoScansione = 1;
        auto &f = Default<FormEs3>();
        f.Show();
        roundWhere(f, [](int n) { return n == 0; });
        enter(f); // the empty column is right: "avanti" waits
        QVERIFY(f.BottoneAvanti->Enabled());
        Default<Altra>().Show();
        f.Show();
        // A fresh round that can be worked at once, not one held on "avanti".
        QVERIFY(!f.BottoneAvanti->Enabled() && f.BottoneConferma->Enabled());
        space(f);
        QCOMPARE(f.PosizioneScansione(), int(FormEs3::kMattone));
    }
};

QTEST_MAIN(TestEs3)
#include "tst_es3.moc"
