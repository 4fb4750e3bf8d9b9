// The two choice screens: the pupil picks the representations by mouse or by switch.
#include "TestSupport.h"
#include "exercises/FormEs1.h"
#include "exercises/FormEs2.h"
#include "exercises/FormScelteDidattiche1.h"
#include "exercises/FormScelteDidattiche2.h"
#include "shell/FormMenu.h"
#include "shell/Modulo1.h"
#include "shell/ModuloPerIni.h"
#include "forms/Twips.h"
#include <QtTest>

using namespace forms;

namespace {
constexpr int32_t kGrigio = 0xE0E0E0;
bool colorato(SceltaDidattica &s, const char *scatole, int k) { return s.control(QLatin1String(scatole), k)->BackColor() != kGrigio; }
} // namespace

class TestScelte : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        Screen::setSizeOverride(QSize(1280, 1024));
        for (int k = 0; k <= 10; ++k) NumeriInLettere[k] = QStringLiteral("nove");
    }
    void cleanup() { chiudiFinestre(); }

    void sceltaConIlMouse()
    {
        Ambiente env;
        RappresentazionePrima = 1;
        auto &s = Default<FormScelteDidattiche1>();
        s.Show();
        QVERIFY(s.OptionDis1[1]->Value());
        QCOMPARE(s.OptionDis1[1]->BackColor(), SceltaDidattica::kRosso);
        QVERIFY(colorato(s, "PictureBoxImmagine", 1));
        QVERIFY(!colorato(s, "PictureBoxImmagine", 0));
        QCOMPARE(s.OptionDis1[6]->Caption(), QStringLiteral("TUTTI ESCLUSI I NUMERI IN LETTERE"));
        fotografa(s, QStringLiteral("scelte1"));

        // A click on a sample recolours without setting the option.
        s.PictureBoxImmagine[2]->raiseClick();
        QCOMPARE(RappresentazionePrima, 2);
        QVERIFY(s.OptionDis1[1]->Value());
        QVERIFY(!s.OptionDis1[2]->Value());
        QCOMPARE(s.OptionDis1[2]->BackColor(), SceltaDidattica::kRosso);
        QCOMPARE(s.OptionDis1[1]->BackColor(), s.BackColor());
        QVERIFY(colorato(s, "PictureBoxImmagine", 2));
        QVERIFY(!colorato(s, "PictureBoxImmagine", 1));

        // Groups: 6 colours the first five samples, 7 all six.
        s.OptionDis1[6]->setValue(1);
        for (int k = 0; k < 6; ++k) QCOMPARE(colorato(s, "PictureBoxImmagine", k), k <= 4);
        s.OptionDis1[7]->setValue(1);
        for (int k = 0; k < 6; ++k) QVERIFY(colorato(s, "PictureBoxImmagine", k));

        // Hover: the option under the mouse orange, the chosen one red, confirm grey.
        s.Opzione_MouseMove(0, 3);
        QCOMPARE(s.OptionDis1[3]->BackColor(), SceltaDidattica::kArancio);
        QCOMPARE(s.OptionDis1[7]->BackColor(), SceltaDidattica::kRosso);
        QCOMPARE(s.CommandConferma->BackColor(), SceltaDidattica::kGrigioChiaro);
        s.Form_MouseMove(0, 0, 0, 0);
        QCOMPARE(s.OptionDis1[3]->BackColor(), s.BackColor());
        s.CommandConferma_MouseMove();
        QCOMPARE(s.CommandConferma->BackColor(), SceltaDidattica::kArancio);

        EsercizioScelto = 0;
        s.CommandConferma->raiseClick();
        QVERIFY(!IfLoaded<FormScelteDidattiche1>());
        QVERIFY(IfLoaded<FormEs1>());
        QCOMPARE(RappresentazionePrima, 7);
    }

    void ogniEsercizioLaSuaFinestra()
    {
        Ambiente env;
        // Exercise 2 has its own screen; anything this screen opens no exercise for goes
        // back to the menu.
        const QList<QPair<int, QString>> attese = {{0, "FormEs1"}, {2, "FormEs3"}, {3, "FormEs4"}, {4, "FormEs5"},
                                                   {1, "FormMenu"}, {9, "FormMenu"}};
        for (const auto &[e, finestra] : attese) {
            EsercizioScelto = e;
            Default<FormScelteDidattiche1>().Show();
            Default<FormScelteDidattiche1>().AvviaEsercizi();
            QCOMPARE(finestreCaricate(), QStringList{finestra});
            Form::UnloadAll();
        }
    }

    void scansioneManualeDiciassette()
    {
        Ambiente env;
        TipoScansione = 1;
        RappresentazionePrima = 2;
        RappresentazioneSeconda = 5;
        EsercizioScelto = 1;
        auto &s = Default<FormScelteDidattiche2>();
        s.Show();
        QVERIFY(s.OptionDis1[2]->Value() && s.OptionDis2[5]->Value()); // two groups
        QCOMPARE(s.PosizioneScansione(), 16);                            // the first step reached "Conferma"
        QCOMPARE(s.CommandConferma->BackColor(), colourFromDouble(ColoreScansione));
        QWidget *w = s.PictureScansioneManuale->widget();
        for (int i = 0; i < 17; ++i) QTest::keyClick(w, Qt::Key_Space);
        QCOMPARE(s.PosizioneScansione(), 16);
        for (int i = 0; i < 13; ++i) QTest::keyClick(w, Qt::Key_Space);
        QCOMPARE(s.PosizioneScansione(), 12);
        QTest::keyClick(w, Qt::Key_Return);
        QCOMPARE(RappresentazioneSeconda, 4);
        QVERIFY(s.OptionDis2[4]->Value());
        QVERIFY(s.OptionDis1[2]->Value());
        // Clicks do nothing in the scanning modes, on the options and on "Conferma".
        s.OptionDis1[0]->raiseClick();
        QCOMPARE(RappresentazionePrima, 2);
        s.CommandConferma->raiseClick();
        QVERIFY(IfLoaded<FormScelteDidattiche2>());
        fotografa(s, QStringLiteral("scelte2"));
        for (int i = 0; i < 4; ++i) QTest::keyClick(w, Qt::Key_Space);
        QTest::keyClick(w, Qt::Key_Return);
        QVERIFY(!IfLoaded<FormScelteDidattiche2>());
        QVERIFY(caricata(QStringLiteral("FormEs2")));
    }

    void scansioneAutomaticaSoloSpazio()
    {
        Ambiente env;
        TipoScansione = 2;
        RappresentazionePrima = 7;
        auto &s = Default<FormScelteDidattiche1>();
        s.Show();
        QCOMPARE(s.Timer1->Interval(), 1000);
        QCOMPARE(s.PosizioneScansione(), 7);
        s.Timer1->Timer(); // the first step: option 7 loses its red, "Conferma" is lit
        QCOMPARE(s.PosizioneScansione(), 8);
        QCOMPARE(s.OptionDis1[7]->BackColor(), s.BackColor());
        s.Timer1->Timer();
        QCOMPARE(s.PosizioneScansione(), 0);
        QWidget *w = s.PictureScansioneAutomatica->widget();
        QTest::keyClick(w, Qt::Key_Return); // Enter does nothing
        QTest::keyClick(w, Qt::Key_A);      // nor does another key
        QVERIFY(s.Timer1->Enabled());
        QCOMPARE(RappresentazionePrima, 7);
        QTest::keyPress(w, Qt::Key_Space);
        QVERIFY(!s.Timer1->Enabled());
        QTest::keyRelease(w, Qt::Key_Space);
        QCOMPARE(RappresentazionePrima, 0);
        QVERIFY(s.Timer1->Enabled());
    }

    // What the screen marks is what the exercise gets. Before the first tick nothing is
    // highlighted, so Space chooses nothing: DOMINO stays marked and chosen, as it is the
    // first time the screen opens. An option chosen by the switch takes the mark from the
    // one chosen before, also when the ring has not passed over that one yet.
    void sceltaMostrataESceltaApplicata()
    {
        Ambiente env;
        TipoScansione = 2;
        RappresentazionePrima = 1;
        EsercizioScelto = 0;
        auto &s = Default<FormScelteDidattiche1>();
        s.Show();
        QWidget *w = s.PictureScansioneAutomatica->widget();
        QTest::keyPress(w, Qt::Key_Space);
        QTest::keyRelease(w, Qt::Key_Space);
        QCOMPARE(RappresentazionePrima, 1);
        QVERIFY(s.OptionDis1[1]->Value());
        QCOMPARE(s.OptionDis1[1]->BackColor(), SceltaDidattica::kRosso);
        QVERIFY(s.Timer1->Enabled());

        s.Timer1->Timer(); // "Conferma"
        s.Timer1->Timer(); // DITA, before DOMINO
        QTest::keyClick(w, Qt::Key_Space);
        QCOMPARE(RappresentazionePrima, 0);
        QVERIFY(s.OptionDis1[0]->Value() && !s.OptionDis1[1]->Value());
        QCOMPARE(s.OptionDis1[1]->BackColor(), s.BackColor());
        QVERIFY(colorato(s, "PictureBoxImmagine", 0) && !colorato(s, "PictureBoxImmagine", 1));
        while (s.PosizioneScansione() != 8) s.Timer1->Timer();
        QTest::keyClick(w, Qt::Key_Space);
        QVERIFY(caricata(QStringLiteral("FormEs1")));
        QCOMPARE(RappresentazionePrima, 0);
    }

    void lasciataDuranteLaPausa()
    {
        // The screen's activation pauses; if the pupil leaves meanwhile nothing of it runs.
        // The click is queued once the screen is loaded, so it arrives while the activation
        // runs (in its pause, or in a load the drawing makes).
        Ambiente env;
        EsercizioScelto = 1;
        QPointer<FormScelteDidattiche2> s = &Default<FormScelteDidattiche2>();
        bool mostrata = false;
        QTimer::singleShot(0, [&] {
            mostrata = s && s->Visible();
            if (s) s->CommandConferma->raiseClick();
            // Even with the deletions carried out here, the paused activation runs on a
            // window that still exists.
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        });
        s->Show();
        QVERIFY(mostrata);
        QVERIFY(!IfLoaded<FormScelteDidattiche2>());
        QVERIFY(caricata(QStringLiteral("FormEs2")));

        // Left during its own load (the translation lets events through): never shown.
        chiudiFinestre();
        QTimer::singleShot(0, [&] {
            s = IfLoaded<FormScelteDidattiche2>();
            if (s) s->Unload();
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        });
        Default<FormScelteDidattiche2>().Show();
        QVERIFY(s && !s->Visible());
        QVERIFY(!IfLoaded<FormScelteDidattiche2>());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!s);
    }
};

QTEST_MAIN(TestScelte)
#include "tst_scelte.moc"
