// Exercise 4 driven as a pupil would: cards dragged onto the boxes, or a box and then a
// card chosen by switch scanning; the help after two wrong tries; the order menus.
#include "TestSupport.h"
#include "exercises/FormEs4.h"
#include "shell/FormMenu.h"
#include "shell/Modulo1.h"
#include "shell/ModuloPerIni.h"
#include "shell/modLanguageSupport.h"
#include "forms/Twips.h"
#include "platform/Random.h"
#include <QtTest>

using namespace forms;

namespace {

Control *carta(FormEs4 &f, int k) { return f.PictureBoxSecondaImmagine[k]; }
Control *casella(FormEs4 &f, int k) { return f.PictureBox1[k]; }
bool alSuoPosto(FormEs4 &f, int k)
{
    return !casella(f, k)->Visible() && carta(f, k)->Top() == casella(f, k)->Top() && carta(f, k)->Left() == casella(f, k)->Left();
}
// The highlight frame stands out by its border above and to the left of the item.
bool incorniciato(FormEs4 &f, Control *c)
{
    const double b = DimensioneRiquadro;
    Control *r = f.ShapeRiquadro;
    return r->Left() == c->Left() - b && r->Top() == c->Top() - b && r->Width() == c->Width() + b && r->Height() == c->Height() + b;
}
bool crescenti(const std::vector<int> &n) { return std::adjacent_find(n.begin(), n.end(), std::greater_equal<int>()) == n.end(); }

void space(FormEs4 &f) { QTest::keyClick(f.PictureScansioneManuale->widget(), Qt::Key_Space); }
void enter(FormEs4 &f) { QTest::keyClick(f.PictureScansioneManuale->widget(), Qt::Key_Return); }
void scegliCarta(FormEs4 &f, int carta)
{
    for (int guard = 0; f.ImmagineScelta != carta && guard < 10; ++guard) space(f);
    enter(f);
}
void scegli(FormEs4 &f, int casella, int carta)
{
    for (int guard = 0; f.PosizioneScansione() != casella && guard < 10; ++guard) space(f);
    enter(f);
    scegliCarta(f, carta);
}

} // namespace

class TestEs4 : public QObject {
    Q_OBJECT
private slots:
    void init() { preparaEsercizio(7); }
    void cleanup() { chiudiFinestre(); }

    void intestazioniEOrdine()
    {
        Ambiente env;
        auto &f = Default<FormEs4>();
        f.Show();
        // One header, then the empty line of the pieces: the first of the two rounds adds nothing.
        const QString crescente = MLSGetString(QStringLiteral("0039"));
        QVERIFY(!crescente.isEmpty());
        QCOMPARE(NumeroRigheEsercizi, 2);
        QCOMPARE(RigheEsercizi[1], crescente);
        QCOMPARE(RigheEsercizi[2], QString());
        QCOMPARE(f.Label4->Caption(), crescente);
        QVERIFY(f.mnuCresci->Checked() && !f.mnuDecresci->Checked());
        QVERIFY(crescenti(f.Numeri));
        QSet<QString> colonne;
        for (int k = 0; k < 5; ++k) {
            QCOMPARE(carta(f, k)->Top(), double(f.TopRigaBassa));
            QCOMPARE(carta(f, k)->Left(), casella(f, carta(f, k)->Tag().toInt())->Left());
            colonne.insert(carta(f, k)->Tag());
        }
        QCOMPARE(colonne.size(), 5);
        // The order already chosen, chosen again, writes another header.
        for (int volta = 0; volta < 2; ++volta) {
            f.mnuDecresci->raiseClick();
            QCOMPARE(RigheEsercizi[NumeroRigheEsercizi - 1], MLSGetString(QStringLiteral("0040")));
            QVERIFY(!f.mnuCresci->Checked() && f.mnuDecresci->Checked());
            std::vector<int> rovescio = f.Numeri;
            std::reverse(rovescio.begin(), rovescio.end());
            QVERIFY(crescenti(rovescio));
        }
        QCOMPARE(NumeroRigheEsercizi, 6);

        // With no room left for a header the record stays as it is.
        NumeroRigheEsercizi = kRigheMassime - 1;
        f.mnuCresci->raiseClick();
        QCOMPARE(NumeroRigheEsercizi, kRigheMassime - 1);
        QCOMPARE(f.Label4->Caption(), crescente);
    }

    void numeriDelTurno()
    {
        Ambiente env;
        NumeroMassimo = 2; // too few numbers: the round still gets five, 0 to 4
        auto &f = Default<FormEs4>();
        f.Show();
        for (int massimo : {2, 4}) {
            NumeroMassimo = massimo;
            f.PreparaEsercizio();
            QCOMPARE(f.Numeri, (std::vector<int>{0, 1, 2, 3, 4}));
        }
    }

    void trascinareLeCarte()
    {
        Ambiente env;
        ColoreCasuale = false;
        Esatti = 3;
        auto &f = Default<FormEs4>();
        f.Show();
        QCOMPARE(f.EtichettaEsatti->Caption(), QStringLiteral("3"));
        const QString inizio = f.RigaLog;
        QVERIFY(QRegularExpression(QStringLiteral("^( \\d+  ){5}$")).match(inizio).hasMatch());

        trascina(carta(f, 0), casella(f, 1)); // wrong: counted on the dragged card
        QCOMPARE(f.EtichettaErrati->Caption(), QStringLiteral(" 1"));
        QCOMPARE(f.ErroriImmagine, (std::vector<int>{1, 0, 0, 0, 0}));
        QVERIFY(casella(f, 1)->Visible());
        trascina(carta(f, 0), casella(f, 0));
        QVERIFY(alSuoPosto(f, 0));
        QCOMPARE(carta(f, 0)->DragMode(), 0);
        QCOMPARE(f.EtichettaEsatti->Caption(), QStringLiteral(" 4"));
        // A placed card, or a drop on a filled box, changes nothing.
        trascina(carta(f, 0), casella(f, 1));
        trascina(carta(f, 1), casella(f, 0));
        QCOMPARE(Errati, 1);
        // The label and the picture of a card carry the card.
        trascina(f.LabelSecondoNumero[1], casella(f, 1));
        trascina(f.Image2[2], casella(f, 2));
        trascina(carta(f, 3), casella(f, 3));
        QVERIFY(!f.BottoneAvanti->Enabled());
        QCOMPARE(RigheEsercizi[NumeroRigheEsercizi], QString());
        trascina(carta(f, 4), casella(f, 4));
        QCOMPARE(Esatti, 8);
        QVERIFY(f.BottoneAvanti->Enabled());
        QCOMPARE(RigheEsercizi[NumeroRigheEsercizi], inizio + QStringLiteral("(*)"));
        fotografa(f, QStringLiteral("es4_mouse_finito"));

        f.BottoneAvanti->raiseClick();
        const QString secondo = f.RigaLog;
        QVERIFY(secondo.startsWith(QStringLiteral(" - ")));
        for (int k = 0; k < 5; ++k) trascina(carta(f, k), casella(f, k));
        QCOMPARE(RigheEsercizi[NumeroRigheEsercizi], inizio + QStringLiteral("(*)") + secondo);
        // A new order after a finished round: the new round does not wait on "avanti".
        f.mnuCresci->raiseClick();
        QVERIFY(!f.BottoneAvanti->Enabled());
        trascina(carta(f, 1), casella(f, 1));
        fotografa(f, QStringLiteral("es4_mouse"));
    }

    void dueErroriPortanoLaCarta()
    {
        Ambiente env;
        auto &f = Default<FormEs4>();
        f.Show();
        trascina(carta(f, 2), casella(f, 0));
        trascina(carta(f, 2), casella(f, 4)); // the second wrong try, on another box
        QVERIFY(alSuoPosto(f, 2));
        QCOMPARE(f.Sistemati, 1);
        QCOMPARE(Esatti, 0);
        QCOMPARE(f.ErroriImmagine, (std::vector<int>{0, 0, 2, 0, 0}));
        const QString inizio = f.RigaLog.left(f.RigaLog.indexOf(QLatin1Char('(')));
        for (int k : {0, 1, 3, 4}) trascina(carta(f, k), casella(f, k));
        // The last card is always the pupil's: the round ends with a right placement.
        QCOMPARE(Esatti, 4);
        QVERIFY(f.BottoneAvanti->Enabled());
        QCOMPARE(RigheEsercizi[NumeroRigheEsercizi], inizio + QStringLiteral("(**)"));
    }

    void nuovoTurnoDuranteIlViaggio()
    {
        Ambiente env;
        auto &f = Default<FormEs4>();
        f.Show();
        QTimer::singleShot(250, &f, [&f] { f.mnuDecresci_Click(); });
        trascina(carta(f, 1), casella(f, 0));
        trascina(carta(f, 1), casella(f, 0));
        // The travelling card stopped with its round; the new round is untouched.
        QVERIFY(!f.posizionamentoInCorso());
        QCOMPARE(f.Sistemati, 0);
        for (int k = 0; k < 5; ++k) {
            QVERIFY(casella(f, k)->Visible());
            QCOMPARE(carta(f, k)->Top(), double(f.TopRigaBassa));
        }
    }

    void uscitaDuranteIlViaggio()
    {
        Ambiente env;
        auto &f = Default<FormEs4>();
        f.Show();
        // From inside an event loop, as in the program, so that the pause is a nested one.
        QEventLoop ciclo;
        QTimer::singleShot(0, [&] {
            trascina(carta(f, 1), casella(f, 0));
            trascina(carta(f, 1), casella(f, 0));
            ciclo.quit();
        });
        QPointer<FormEs4> lasciata(&f);
        double top = 0, left = 0;
        int sistemati = -1;
        QTimer::singleShot(250, [&] {
            f.mnuEsci_Click();
            f.control(QStringLiteral("CommandSi"))->raiseClick();
            top = carta(f, 1)->Top();
            left = carta(f, 1)->Left();
            sistemati = f.Sistemati;
        });
        ciclo.exec();
        QVERIFY(!IfLoaded<FormEs4>());
        QVERIFY(IfLoaded<FormMenu>());
        // The travel stopped where the window was left: nothing moved or counted after it.
        QVERIFY(lasciata);
        QCOMPARE(carta(f, 1)->Top(), top);
        QCOMPARE(carta(f, 1)->Left(), left);
        QCOMPARE(f.Sistemati, sistemati);
    }

    void scansioneManuale()
    {
        Ambiente env;
        TipoScansione = 1;
        ColoreCasuale = false;
        RappresentazionePrima = 2;
        auto &f = Default<FormEs4>();
        f.Show();
        QVERIFY(f.ShapeRiquadro->Visible());
        QCOMPARE(carta(f, 0)->DragMode(), 0);
        QVERIFY(incorniciato(f, casella(f, 0)));
        space(f);
        enter(f); // box 1: marked, and the frame goes to the leftmost card
        QCOMPARE(f.FaseScansione, 2);
        QCOMPARE(casella(f, 1)->BackColor(), colourFromDouble(ColoreScansione));
        QCOMPARE(carta(f, f.ImmagineScelta)->Tag(), QStringLiteral("0"));
        QVERIFY(incorniciato(f, carta(f, f.ImmagineScelta)));
        fotografa(f, QStringLiteral("es4_manuale"));
        scegliCarta(f, 1);
        QVERIFY(alSuoPosto(f, 1));
        // Right away the frame shows the first empty box, which is what Enter would choose.
        QCOMPARE(f.FaseScansione, 1);
        QCOMPARE(f.PosizioneScansione(), 0);
        QVERIFY(incorniciato(f, casella(f, 0)));
        space(f);
        QCOMPARE(f.PosizioneScansione(), 2); // the filled box is passed over

        // Box 0 and two wrong cards: box 0's own card travels into it.
        scegli(f, 0, 3);
        QCOMPARE(f.FaseScansione, 2);
        QCOMPARE(f.ImmagineScelta, 3); // the frame stays on the wrong card
        enter(f);
        QVERIFY(alSuoPosto(f, 0));
        QCOMPARE(f.ErroriImmagine, (std::vector<int>{2, 0, 0, 0, 0}));
        QCOMPARE(f.FaseScansione, 1);
        QVERIFY(incorniciato(f, casella(f, 2)));

        for (int k : {2, 3, 4}) scegli(f, k, k);
        QCOMPARE(Esatti, 4);
        QCOMPARE(f.FaseScansione, 3);
        QVERIFY(incorniciato(f, f.BottoneAvanti));
        QVERIFY(RigheEsercizi[NumeroRigheEsercizi].endsWith(QStringLiteral("  (**)")));
        fotografa(f, QStringLiteral("es4_manuale_avanti"));
        space(f); // waiting on "avanti": nothing moves
        QVERIFY(incorniciato(f, f.BottoneAvanti));
        enter(f);
        QCOMPARE(f.FaseScansione, 1);
        QVERIFY(!f.BottoneAvanti->Enabled());
        QCOMPARE(casella(f, 1)->BackColor(), colourFromDouble(ColoreSfondo1));
    }

    void scansioneAutomatica()
    {
        Ambiente env;
        TipoScansione = 2;
        RappresentazionePrima = 4;
        auto &f = Default<FormEs4>();
        f.Show();
        QCOMPARE(f.Timer1->Interval(), 1000);
        QWidget *w = f.PictureScansioneAutomatica->widget();
        f.Timer1->Timer();
        QVERIFY(incorniciato(f, casella(f, 1)));
        // Any key held halts the highlight; a release other than Space leaves it halted.
        QTest::keyPress(w, Qt::Key_A);
        QTest::keyRelease(w, Qt::Key_A);
        QVERIFY(!f.Timer1->Enabled());
        QTest::keyClick(w, Qt::Key_Space);
        QCOMPARE(f.CasellaScelta, 1);
        QVERIFY(f.Timer1->Enabled());
        const int prima = f.ImmagineScelta;
        f.Timer1->Timer();
        QVERIFY(f.ImmagineScelta != prima);
        fotografa(f, QStringLiteral("es4_automatica"));
    }

    void parole()
    {
        Ambiente env;
        CaricaNumeriInLettere();
        RappresentazionePrima = 5;
        auto &f = Default<FormEs4>();
        f.Show();
        // One size for the five words; each label keeps the whole card, so that the words
        // stand where the other windows put theirs (at the top, centred across).
        for (int k = 0; k < 5; ++k) {
            Control *l = f.LabelSecondoNumero[k];
            QCOMPARE(l->FontSize(), f.LabelSecondoNumero[0]->FontSize());
            QCOMPARE(QRectF(l->Left(), l->Top(), l->Width(), l->Height()),
                     QRectF(0, 0, carta(f, k)->Width(), carta(f, k)->Height()));
            QCOMPARE(l->Alignment(), 2);
        }
        fotografa(f, QStringLiteral("es4_parole"));
        // A representation out of range leaves the cards as they were.
        const QString prima = f.LabelSecondoNumero[3]->Caption();
        RappresentazionePrima = 8;
        f.PreparaEsercizio();
        QCOMPARE(f.LabelSecondoNumero[3]->Caption(), prima);
        QCOMPARE(f.LabelSecondoNumero[3]->Top(), 0.0);
    }
};

QTEST_MAIN(TestEs4)
#include "tst_es4.moc"
