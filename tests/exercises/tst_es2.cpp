// Exercise 2: matching by dragging, and by switch in two steps (a box, then a picture).
#include "TestSupport.h"
#include "exercises/FormEs2.h"
#include "shell/Modulo1.h"
#include "shell/ModuloPerIni.h"
#include "forms/Twips.h"
#include "platform/Random.h"
#include <QtTest>

using namespace forms;

namespace {
int colonna(FormEs2 &f, int k) { return f.FrameSecondaImmagine[k]->Tag().toInt(); }
bool alSuoPosto(FormEs2 &f, int k)
{
    return f.FrameSecondaImmagine[k]->Top() == f.Frame1[k]->Top() && f.FrameSecondaImmagine[k]->Left() == f.Frame1[k]->Left();
}
} // namespace

class TestEs2 : public QObject {
    Q_OBJECT
private slots:
    void init() { preparaEsercizio(5); }
    void cleanup() { chiudiFinestre(); }

    void giroConIlMouse()
    {
        Ambiente env;
        NumeroMassimo = 3;
        ScriviIntestazione(QStringLiteral("Esercizio 2"));
        auto &f = Default<FormEs2>();
        f.Show();
        // Four different numbers; with 3 as the highest they are 0 to 3.
        QCOMPARE(QSet<int>(f.Numeri.begin(), f.Numeri.end()), QSet<int>({0, 1, 2, 3}));
        // The lower row is shuffled: every column taken once.
        QSet<int> colonne;
        for (int k = 0; k < 4; ++k) {
            colonne.insert(colonna(f, k));
            QCOMPARE(f.FrameSecondaImmagine[k]->Left(), f.Frame1[colonna(f, k)]->Left());
        }
        QCOMPARE(colonne.size(), 4);
        fotografa(f, QStringLiteral("es2_mouse"));

        // A wrong drop counts once; a drop on the own box places the picture.
        trascina(f.LabelSecondoNumero[0], f.Frame1[1]);
        QCOMPARE(Errati, 1);
        QVERIFY(f.Frame1[1]->Visible());
        for (int k = 0; k < 4; ++k) {
            trascina(f.Image2[k], f.Frame1[k]);
            QVERIFY(alSuoPosto(f, k));
            QVERIFY(!f.Frame1[k]->Visible());
        }
        QCOMPARE(Esatti, 4);
        QVERIFY(!f.LabelSpiega->Visible());
        QVERIFY(f.BottoneAvanti->Enabled());
        QString atteso;
        for (int n : f.Numeri) atteso += QStringLiteral(" %1  ").arg(n);
        QCOMPARE(RigheEsercizi[NumeroRigheEsercizi], atteso + QStringLiteral("(*)"));

        // A hidden box takes nothing; "avanti" starts a round that adds " - " first.
        trascina(f.Image2[0], f.Frame1[0]);
        QCOMPARE(Esatti, 4);
        f.BottoneAvanti->raiseClick();
        QVERIFY(!f.BottoneAvanti->Enabled());
        for (int k = 0; k < 4; ++k) trascina(f.FrameSecondaImmagine[k], f.Frame1[k]);
        QVERIFY(RigheEsercizi[NumeroRigheEsercizi].startsWith(atteso + QStringLiteral("(*) - ")));
    }

    void dueErroriPortanoLImmagineASuoPosto()
    {
        Ambiente env;
        auto &f = Default<FormEs2>();
        f.Show();
        trascina(f.Image2[2], f.Frame1[0]);
        QCOMPARE(f.ErroriImmagine[2], 1);
        QVERIFY(!alSuoPosto(f, 2));
        trascina(f.Image2[2], f.Frame1[3]);
        // The second wrong try sends picture 2 home by itself, in ten small steps.
        QVERIFY(alSuoPosto(f, 2));
        QVERIFY(!f.Frame1[2]->Visible());
        QCOMPARE(f.Sistemati, 1);
        QCOMPARE(Errati, 2);
        QCOMPARE(Esatti, 0);
        QCOMPARE(f.ErroriImmagine[0], 0);
        QCOMPARE(f.FrameSecondaImmagine[2]->DragMode(), 0);
    }

    void scansioneManuale()
    {
        Ambiente env;
        TipoScansione = 1;
        auto &f = Default<FormEs2>();
        f.Show();
        QWidget *w = f.PictureScansioneManuale->widget();
        auto space = [&] { QTest::keyClick(w, Qt::Key_Space); };
        auto enter = [&] { QTest::keyClick(w, Qt::Key_Return); };
        QVERIFY(f.ShapeRiquadro->Visible());
        QCOMPARE(f.FaseScansione, 1);
        QCOMPARE(f.ShapeRiquadro->Left(), f.Frame1[0]->Left() - DimensioneRiquadro);
        // Box 1, then a wrong picture: the box stays marked and the phase stays 2.
        space();
        enter();
        QCOMPARE(f.FaseScansione, 2);
        QCOMPARE(f.CasellaScelta, 1);
        QCOMPARE(f.Frame1[1]->BackColor(), colourFromDouble(ColoreScansione));
        while (f.ImmagineScelta == 1) space();
        enter();
        QCOMPARE(f.ErroriImmagine[1], 1);
        QCOMPARE(f.FaseScansione, 2);
        // The right picture.
        for (int guard = 0; guard < 8 && f.ImmagineScelta != 1; ++guard) space();
        enter();
        QVERIFY(alSuoPosto(f, 1));
        QCOMPARE(f.FaseScansione, 1);
        QCOMPARE(Esatti, 1);
        // Placed pictures are skipped in phase 2, hidden boxes in phase 1.
        for (int box : {0, 2, 3}) {
            while (f.PosizioneScansione() != box) space();
            enter();
            for (int i = 0; i < 8; ++i) {
                QVERIFY(f.ImmagineScelta != 1);
                if (f.ImmagineScelta == box) break;
                space();
            }
            enter();
        }
        QCOMPARE(Esatti, 4);
        QCOMPARE(f.FaseScansione, 3);
        QCOMPARE(f.ShapeRiquadro->Top(), f.BottoneAvanti->Top() - DimensioneRiquadro);
        fotografa(f, QStringLiteral("es2_manuale"));
        space(); // nothing while "avanti" waits
        QCOMPARE(f.FaseScansione, 3);
        enter();
        QCOMPARE(f.FaseScansione, 1);
        QCOMPARE(f.Sistemati, 0);
    }

    void scansioneAutomaticaDueSbagli()
    {
        Ambiente env;
        TipoScansione = 2;
        auto &f = Default<FormEs2>();
        f.Show();
        QWidget *w = f.PictureScansioneAutomatica->widget();
        auto select = [&] {
            QTest::keyPress(w, Qt::Key_Space);
            QVERIFY(!f.Timer1->Enabled());
            QTest::keyRelease(w, Qt::Key_Space);
            QVERIFY(f.Timer1->Enabled());
        };
        select(); // box 0
        QCOMPARE(f.CasellaScelta, 0);
        while (f.ImmagineScelta == 0) f.Timer1->Timer();
        select();
        while (f.ImmagineScelta == 0) f.Timer1->Timer();
        select();
        // Two wrong pictures for box 0 bring its own picture there.
        QVERIFY(alSuoPosto(f, 0));
        QCOMPARE(f.FaseScansione, 1);
        // The highlight is at once on the first empty box, and that box is what a switch
        // chooses next.
        QCOMPARE(f.PosizioneScansione(), 1);
        QCOMPARE(f.ShapeRiquadro->Left(), f.Frame1[1]->Left() - DimensioneRiquadro);
        QCOMPARE(Errati, 2);
        QCOMPARE(Esatti, 0);
    }
};

QTEST_MAIN(TestEs2)
#include "tst_es2.moc"
