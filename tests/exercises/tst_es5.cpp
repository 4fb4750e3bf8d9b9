// Exercise 5 driven as a pupil would: dragging cards into the empty place, or choosing
// them by switch scanning; the kinds of question from the menu and what they write.
#include "TestSupport.h"
#include "exercises/FormEs5.h"
#include "shell/Modulo1.h"
#include "shell/ModuloPerIni.h"
#include "shell/modLanguageSupport.h"
#include "forms/Twips.h"
#include "platform/Random.h"
#include <QMenuBar>
#include <QtTest>

using namespace forms;

namespace {

int cartaSbagliata(FormEs5 &f) { return f.CartaGiusta == 0 ? 1 : 0; }

// Manual scanning: Space steps, Enter selects, both on the manual key catcher.
void space(FormEs5 &f) { QTest::keyClick(f.PictureScansioneManuale->widget(), Qt::Key_Space); }
void enter(FormEs5 &f) { QTest::keyClick(f.PictureScansioneManuale->widget(), Qt::Key_Return); }
void scegli(FormEs5 &f, int carta)
{
    for (int guard = 0; f.PosizioneScansione() != carta && guard < 10; ++guard) space(f);
    enter(f);
}

bool incorniciato(FormEs5 &f, Control *c)
{
    return f.ShapeRiquadro->Left() == c->Left() - DimensioneRiquadro && f.ShapeRiquadro->Top() == c->Top() - DimensioneRiquadro;
}

// What an item shows, enough to tell the representations apart.
QString aspetto(FormEs5 &f, const char *etichetta, const char *forme, const char *immagine, int i)
{
    Control *l = f.control(QLatin1String(etichetta), i);
    Control *s = f.control(QLatin1String(forme), 10 * i);
    const bool parola = l->Visible() && !l->Caption().isEmpty() && !l->Caption().at(0).isDigit();
    return QStringLiteral("%1 %2 %3 %4 %5").arg(f.control(QLatin1String(immagine), i)->Visible())
        .arg(l->Visible()).arg(parola).arg(s->Visible()).arg(s->Visible() ? s->Shape() : -1);
}

} // namespace

class TestEs5 : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        preparaEsercizio(5);
        const char *parole[11] = {"zero", "uno", "due", "tre", "quattro", "cinque", "sei", "sette", "otto", "nove", "dieci"};
        for (int k = 0; k <= 10; ++k) NumeriInLettere[k] = QLatin1String(parole[k]);
    }
    void cleanup() { chiudiFinestre(); }

    void domande_data()
    {
        QTest::addColumn<int>("massimo");
        QTest::addColumn<int>("modo");
        for (int modo = 1; modo <= 4; ++modo) {
            QTest::newRow(qPrintable(QStringLiteral("4, kind %1").arg(modo))) << 4 << modo;
            QTest::newRow(qPrintable(QStringLiteral("10, kind %1").arg(modo))) << 10 << modo;
        }
        // Below five numbers in use, or above what can be drawn: the questions still come.
        QTest::newRow("2") << 2 << 1;
        QTest::newRow("15") << 15 << 4;
    }
    void domande()
    {
        QFETCH(int, massimo);
        QFETCH(int, modo);
        Ambiente env;
        NumeroMassimo = massimo;
        auto &f = Default<FormEs5>();
        f.Show();
        Control *voci[5] = {nullptr, f.mnuMezzo, f.mnuSuccessivo, f.mnuPrecedente, f.mnuMancante};
        voci[modo]->raiseClick();
        const int alto = std::clamp(massimo, 4, 10);
        QSet<int> tipi;
        for (int q = 0; q < 150; ++q) {
            f.PreparaEsercizio();
            QCOMPARE(QSet<int>(f.Numeri.begin(), f.Numeri.end()).size(), 5);
            for (int n : f.Numeri) QVERIFY(n >= 0 && n <= alto);
            const int n = f.Numeri[f.CartaGiusta];
            QCOMPARE(NumeroCorrente, n);
            const int t = f.ModoDomanda;
            if (modo != FormEs5::kMancante) QCOMPARE(t, modo);
            tipi.insert(t);
            const std::array<int, 3> attesi = t == 1 ? std::array<int, 3>{n - 1, n, n + 1}
                                           : t == 2 ? std::array<int, 3>{n - 1, n - 1, n}
                                                    : std::array<int, 3>{n, n + 1, n + 1};
            QVERIFY(f.NumeriDomanda == attesi);
            for (int d : f.NumeriDomanda) QVERIFY(d >= 0 && d <= 10);
            QCOMPARE(f.CasellaVuota, t == 1 ? 1 : t == 2 ? 2 : 0);
            for (int i = 0; i < 3; ++i) {
                QCOMPARE(f.PictureBox1[i]->Visible(), i == f.CasellaVuota);
                QCOMPARE(f.PictureBoxImmagine[i]->Visible(), t == 1 ? i != 1 : i == 1);
            }
        }
        // With "mancante" every kind comes up, and the menu keeps showing "mancante".
        if (modo == FormEs5::kMancante) {
            QCOMPARE(tipi, QSet<int>({1, 2, 3}));
            QCOMPARE(f.Label4->Caption(), MLSGetString(QStringLiteral("0015")));
            QVERIFY(f.mnuMancante->Checked());
            QVERIFY(!f.mnuMezzo->Checked());
        }
        if (massimo == 4) QCOMPARE(QSet<int>(f.Numeri.begin(), f.Numeri.end()), QSet<int>({0, 1, 2, 3, 4}));
    }

    void intestazioniEPezzi()
    {
        Ambiente env;
        ColoreCasuale = false;
        RappresentazionePrima = 5;
        auto &f = Default<FormEs5>();
        f.Show();
        QCOMPARE(f.BackColor(), colourFromDouble(ColoreSfondoFinestra));
        QCOMPARE(f.PictureBoxSecondaImmagine[3]->BackColor(), colourFromDouble(ColoreSfondo1));
        QCOMPARE(f.LabelNumero[0]->ForeColor(), colourFromDouble(ColoreDisegno1));
        const QList<QAction *> voci = f.menuBar()->actions();
        QCOMPARE(voci.size(), 3);
        QCOMPARE(voci[1]->text(), f.mnuTrova->Caption());
        // The activation's "in mezzo" heads line 1; its first question leaves no trace.
        const QString mezzo = MLSGetString(QStringLiteral("0016"));
        QVERIFY(!mezzo.isEmpty());
        QCOMPARE(RigheEsercizi[1], mezzo);
        QCOMPARE(f.Label4->Caption(), mezzo);
        QCOMPARE(NumeroRigheEsercizi, 2);
        QVERIFY(f.mnuMezzo->Checked());

        const int primo = NumeroCorrente;
        trascina(f.PictureBoxSecondaImmagine[f.CartaGiusta], f.PictureBox1[f.CasellaVuota]);
        QCOMPARE(RigheEsercizi[2], QStringLiteral(" %1  ").arg(primo));
        f.BottoneAvanti->raiseClick();
        const int secondo = NumeroCorrente;
        trascina(f.Image2[cartaSbagliata(f)], f.PictureBox1[f.CasellaVuota]);
        trascina(f.LabelSecondoNumero[f.CartaGiusta], f.PictureBox1[f.CasellaVuota]);
        QCOMPARE(RigheEsercizi[2], QStringLiteral(" %1   -  %2  (*)").arg(primo).arg(secondo));

        // A kind chosen in the middle of a question: a new header, no piece.
        f.BottoneAvanti->raiseClick();
        trascina(f.Image2[cartaSbagliata(f)], f.PictureBox1[f.CasellaVuota]);
        f.mnuSuccessivo->raiseClick();
        QCOMPARE(RigheEsercizi[2], QStringLiteral(" %1   -  %2  (*)").arg(primo).arg(secondo));
        QCOMPARE(RigheEsercizi[3], MLSGetString(QStringLiteral("0018")));
        QCOMPARE(NumeroRigheEsercizi, 4);
        QVERIFY(f.mnuSuccessivo->Checked() && !f.mnuMezzo->Checked());
        fotografa(f, QStringLiteral("es5_parole_successivo"));

        // A full record takes no more headers, yet the kind changes and the label says so.
        NumeroRigheEsercizi = kRigheMassime;
        f.mnuPrecedente->raiseClick();
        QCOMPARE(NumeroRigheEsercizi, kRigheMassime);
        QCOMPARE(f.Modo, int(FormEs5::kPrecedente));
        QCOMPARE(f.Label4->Caption(), MLSGetString(QStringLiteral("0017")));
    }

    void trascinareLeCarte()
    {
        Ambiente env;
        auto &f = Default<FormEs5>();
        f.Show();
        fotografa(f, QStringLiteral("es5_mouse_domanda"));
        const int giusta = f.CartaGiusta;
        const int vuota = f.CasellaVuota;
        // Dropped on a hidden place, or something that is not a card: nothing happens.
        trascina(f.PictureBoxSecondaImmagine[giusta], f.PictureBox1[(vuota + 1) % 3]);
        trascina(f.PictureBoxImmagine[0], f.PictureBox1[vuota]);
        QCOMPARE(Esatti + Errati, 0);
        QVERIFY(f.PictureBox1[vuota]->Visible());
        // Each wrong card goes away; after four only the right one is left.
        for (int i = 0, errori = 0; i < 5; ++i) {
            if (i == giusta) continue;
            trascina(f.Image2[i], f.PictureBox1[vuota]);
            QVERIFY(!f.PictureBoxSecondaImmagine[i]->Visible());
            QCOMPARE(Errati, ++errori);
        }
        QVERIFY(!f.BottoneAvanti->Enabled());
        fotografa(f, QStringLiteral("es5_mouse_errori"));
        trascina(f.LabelSecondoNumero[giusta], f.PictureBox1[vuota]);
        QCOMPARE(Esatti, 1);
        QVERIFY(!f.PictureBox1[vuota]->Visible());
        QCOMPARE(f.PictureBoxSecondaImmagine[giusta]->Left(), f.PictureBox1[vuota]->Left());
        QCOMPARE(f.Image2[giusta]->DragMode(), 0);
        QCOMPARE(f.PictureBoxSecondaImmagine[giusta]->MousePointer(), int(vbDefault));
        QVERIFY(f.BottoneAvanti->Enabled());
        fotografa(f, QStringLiteral("es5_mouse"));

        // "avanti" takes the focus, so that Enter goes on to the next question.
        QWidget *fuoco = f.window()->focusWidget();
        QCOMPARE(fuoco, f.BottoneAvanti->widget());
        QTest::keyClick(fuoco, Qt::Key_Return);
        QVERIFY(!f.BottoneAvanti->Enabled());
        for (int i = 0; i < 5; ++i) {
            QVERIFY(f.PictureBoxSecondaImmagine[i]->Visible());
            QCOMPARE(f.PictureBoxSecondaImmagine[i]->Left(), double(f.PosizioniCarte[i]));
            QCOMPARE(f.LabelSecondoNumero[i]->DragMode(), 1);
        }
    }

    void scansioneManuale()
    {
        Ambiente env;
        TipoScansione = 1;
        ConRiquadro = false; // the frame all the same
        RappresentazionePrima = 4;
        auto &f = Default<FormEs5>();
        f.Show();
        fotografa(f, QStringLiteral("es5_manuale_domanda"));
        QVERIFY(f.ShapeRiquadro->Visible());
        QCOMPARE(f.PictureBoxSecondaImmagine[0]->DragMode(), 0);
        QCOMPARE(f.PosizioneScansione(), 0);
        QVERIFY(incorniciato(f, f.PictureBoxSecondaImmagine[0]));
        for (int i = 0; i < 5; ++i) space(f);
        QCOMPARE(f.PosizioneScansione(), 0); // five cards: wrapped

        // A wrong card goes away and the frame stays on its empty place, which still counts.
        const int sbagliata = cartaSbagliata(f);
        scegli(f, sbagliata);
        QVERIFY(!f.PictureBoxSecondaImmagine[sbagliata]->Visible());
        QCOMPARE(f.PosizioneScansione(), sbagliata);
        enter(f);
        QCOMPARE(Errati, 2);
        QVERIFY(!f.PictureBoxSecondaImmagine[sbagliata]->Visible());
        const int giusta = f.CartaGiusta, vuota = f.CasellaVuota, numero = NumeroCorrente;
        scegli(f, giusta);
        QCOMPARE(Esatti, 1);
        QCOMPARE(RigheEsercizi[NumeroRigheEsercizi], QStringLiteral(" %1  (**)").arg(numero));
        QCOMPARE(f.PictureBoxSecondaImmagine[giusta]->Left(), f.PictureBox1[vuota]->Left());
        QVERIFY(incorniciato(f, f.BottoneAvanti));
        space(f); // waiting on "avanti": nothing moves
        QVERIFY(incorniciato(f, f.BottoneAvanti));
        fotografa(f, QStringLiteral("es5_manuale"));
        enter(f);
        QVERIFY(!f.BottoneAvanti->Enabled());
        QCOMPARE(f.PosizioneScansione(), 0);
        QVERIFY(incorniciato(f, f.PictureBoxSecondaImmagine[0]));

        // A kind chosen from the menu after the answer opens a question that can be answered.
        scegli(f, f.CartaGiusta);
        f.mnuPrecedente->raiseClick();
        QVERIFY(!f.BottoneAvanti->Enabled());
        space(f);
        QCOMPARE(f.PosizioneScansione(), 1);
        scegli(f, f.CartaGiusta);
        QCOMPARE(Esatti, 3);
    }

    void scansioneAutomatica()
    {
        Ambiente env;
        TipoScansione = 2;
        VelocitaScansione = 6;
        auto &f = Default<FormEs5>();
        f.Show();
        QCOMPARE(f.Timer1->Interval(), 1500);
        QWidget *w = f.PictureScansioneAutomatica->widget();
        f.Timer1->Timer();
        QCOMPARE(f.PosizioneScansione(), 1);
        QVERIFY(incorniciato(f, f.PictureBoxSecondaImmagine[1]));
        QTest::keyPress(w, Qt::Key_A); // any key held halts the frame
        QVERIFY(!f.Timer1->Enabled());
        for (int guard = 0; f.PosizioneScansione() != f.CartaGiusta && guard < 10; ++guard) f.Timer1->Timer();
        QTest::keyClick(w, Qt::Key_Space);
        QCOMPARE(Esatti, 1);
        QVERIFY(f.Timer1->Enabled());
        // Solved: the ticks leave the frame round "avanti"; Space starts the next question.
        f.Timer1->Timer();
        f.Timer1->Timer();
        QVERIFY(incorniciato(f, f.BottoneAvanti));
        fotografa(f, QStringLiteral("es5_automatica"));
        QTest::keyClick(w, Qt::Key_Space);
        QVERIFY(!f.BottoneAvanti->Enabled());
        QVERIFY(incorniciato(f, f.PictureBoxSecondaImmagine[0]));
        QCOMPARE(Esatti + Errati, 1);
    }

    void unaRappresentazionePerEntrambeLeRighe()
    {
        Ambiente env;
        RappresentazionePrima = 7;
        auto &f = Default<FormEs5>();
        f.Show();
        QSet<QString> visti;
        bool parole = false;
        for (int q = 0; q < 40; ++q) {
            f.PreparaEsercizio();
            const QString sopra = aspetto(f, "LabelNumero", "Shape1", "Image1", 0);
            QCOMPARE(aspetto(f, "LabelSecondoNumero", "Shape2", "Image2", 4), sopra);
            visti.insert(sopra);
            parole = parole || f.LabelSecondoNumero[0]->Caption() == NumeriInLettere[f.Numeri[0]].toUpper();
        }
        QVERIFY(visti.size() >= 3 && parole);
    }
};

QTEST_MAIN(TestEs5)
#include "tst_es5.moc"
