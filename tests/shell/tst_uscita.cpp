// The exit confirmation panel of the main menu: where and how it shows, its two words and
// their common size, the hover colours, yes and no, the pointer kinds and confinement.
#include "TestSupport.h"
#include "AdattaCarattere.h"
#include "FormEs1.h"
#include "FormEs2.h"
#include "FormEs3.h"
#include "FormEs4.h"
#include "FormEs5.h"
#include "FormMenu.h"
#include "Modulo1.h"
#include "ModuloPerIni.h"
#include "modLanguageSupport.h"
#include "forms/Twips.h"
#include "platform/PointerConfine.h"
#include <QtTest>
#include <cmath>
#include <functional>

using namespace forms;

namespace {

constexpr int32_t kGrigio = 0x00E0E0E0;
constexpr int32_t kRosso = 0x000000FF;


QPoint centro(Control *c) { return c->widget()->rect().center(); }
QRect sulloSchermo(Control *c) { return QRect(c->widget()->mapToGlobal(QPoint()), c->widget()->size()); }

} // namespace

class TestUscita : public QObject {
    Q_OBJECT

    std::unique_ptr<Ambiente> env;
    QString profilo() const { return env->file(QStringLiteral("BrivoMarte/utenti/Anna.ini")); }

    // A language of the test's own that holds only the two words of the panel.
    void parole(const QByteArray &si, const QByteArray &no)
    {
        QByteArray testo = "[Strings]\r\n0001=\"altro\"\r\n";
        if (!si.isNull()) testo += "0003=\"" + si + "\"\r\n";
        if (!no.isNull()) testo += "0002=\"" + no + "\"\r\n";
        writeBytes(env->program() + QStringLiteral("/Prova.lng"), testo);
        writeBytes(env->program() + QStringLiteral("/LangSetting.ini"), "[Language]\r\nCurrentLanguage=Prova\r\n");
    }

    // The menu with its panel open, after the profile was changed in memory.
    FormMenu &pannelloAperto()
    {
        creaUtente(QStringLiteral("Anna"));
        auto &m = Default<FormMenu>();
        m.Show();
        NumeroMassimo = 6;
        m.AvviaEsercizi(5);
        return m;
    }

    static Control *c(FormMenu &m, const char *nome) { return m.control(QLatin1String(nome)); }
    static QList<int32_t> colori(FormMenu &m)
    {
        return {c(m, "CommandNo")->BackColor(), c(m, "PictureNo")->BackColor(), c(m, "CommandSi")->BackColor(),
                c(m, "PictureSi")->BackColor()};
    }

private slots:
    void init() { env = std::make_unique<Ambiente>(); }
    void cleanup()
    {
        Form::UnloadAll();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        platform::releasePointer();
        Ridimensionatore.reset();
        forms::Screen::setSizeOverride(QSize());
        env.reset();
    }

    void exitButtonSavesAndShowsThePanel();
    void wordsAndTheirCommonSize_data();
    void wordsAndTheirCommonSize();
    void missingWordsDoNotHang();
    void hoverColours();
    void clicksOnEveryPartOfAButton_data();
    void clicksOnEveryPartOfAButton();
    void noLeavesTheMenuAndTheNextShowStartsAfresh();
    void pointerKinds_data();
    void pointerKinds();
    void holderOfEachWindow_data();
    void holderOfEachWindow();
    void tremorOnTheWordOfTheAnswerPressed_data();
    void tremorOnTheWordOfTheAnswerPressed();
};

void TestUscita::exitButtonSavesAndShowsThePanel()
{
    forms::Screen::setSizeOverride(QSize(800, 600));
    creaUtente(QStringLiteral("Anna"));
    auto &m = Default<FormMenu>();
    m.Show();
    NumeroMassimo = 6;
    QVERIFY(!platform::pointerConfined());
    QTest::mouseClick(m.Command1[5]->widget(), Qt::LeftButton, {}, QPoint(10, 10));

    QCOMPARE(EsercizioScelto, 5);
    QCOMPARE(readLines(profilo()).value(3), QStringLiteral(" 6 "));
    QVERIFY(env->messages.empty());
    QCOMPARE(Form::LoadedForms().size(), size_t(1));
    Control *h = c(m, "FrameUscita");
    QVERIFY(h->Visible());
    QVERIFY(h->widget()->isVisible());
    // Centred on the full-screen window (12000 x 9000 twips here) by its outer size: the
    // difference rounded to a whole twip, then halved with the half twip dropped.
    QCOMPARE(m.Width(), 12000.0);
    QCOMPARE(m.Height(), 9000.0);
    QCOMPARE(h->Width(), 5655.0);
    QCOMPARE(h->Left(), 3172.0);
    QCOMPARE(h->Top(), double(int(std::nearbyint(9000 - h->Height())) / 2));
    QCOMPARE(h->BackColor(), m.BackColor());
    // In front of the window's other controls.
    QWidget *ultimo = nullptr;
    for (QObject *o : m.client()->children())
        if (auto *w = qobject_cast<QWidget *>(o)) ultimo = w;
    QCOMPARE(ultimo, h->widget());
    QCOMPARE(colori(m), (QList<int32_t>{kGrigio, kGrigio, kGrigio, kGrigio}));
    QCOMPARE(m.window()->focusWidget(), c(m, "CommandSi")->widget());
    // The pointer is kept inside the panel.
    QVERIFY(platform::pointerConfined());
    QCOMPARE(platform::confinedRect().size(), h->widget()->size());
    QCOMPARE(platform::confinedRect().topLeft(), h->widget()->mapToGlobal(QPoint(0, 0)));
}

void TestUscita::wordsAndTheirCommonSize_data()
{
    QTest::addColumn<QString>("carattere");
    QTest::addColumn<QByteArray>("si");
    QTest::addColumn<QByteArray>("no");
    QTest::addColumn<QString>("mostratoSi");
    QTest::addColumn<QString>("mostratoNo");
    QTest::addColumn<QString>("misurato");
    QTest::newRow("maiuscolo, equal lengths") << "maiuscolo" << QByteArray("Sì") << QByteArray("nO")
                                              << "SÌ" << "NO" << "NO";
    QTest::newRow("minuscolo keeps the spelling") << "minuscolo" << QByteArray("Sì") << QByteArray("nO")
                                                  << "Sì" << "nO" << "nO";
    QTest::newRow("longer yes") << "minuscolo" << QByteArray("Certo") << QByteArray("No")
                                << "Certo" << "No" << "Certo";
    QTest::newRow("longer no") << "maiuscolo" << QByteArray("si") << QByteArray("niente")
                               << "SI" << "NIENTE" << "NIENTE";
}

void TestUscita::wordsAndTheirCommonSize()
{
    QFETCH(QString, carattere);
    QFETCH(QByteArray, si);
    QFETCH(QByteArray, no);
    QFETCH(QString, mostratoSi);
    QFETCH(QString, mostratoNo);
    QFETCH(QString, misurato);
    parole(si, no);
    TipoCarattere = carattere;
    auto &m = pannelloAperto();
    Control *labelSi = c(m, "LabelSi"), *labelNo = c(m, "LabelNo"), *sonda = m.LabelDimensionaFont;
    QCOMPARE(labelSi->Caption(), mostratoSi);
    QCOMPARE(labelNo->Caption(), mostratoNo);
    QCOMPARE(labelSi->Font().name, QStringLiteral("arial"));
    QCOMPARE(labelNo->Font().name, QStringLiteral("arial"));
    QCOMPARE(sonda->Caption(), misurato);
    QCOMPARE(labelNo->FontSize(), labelSi->FontSize());
    QCOMPARE(sonda->FontSize(), labelSi->FontSize());
    QVERIFY(labelSi->FontSize() >= 12);
    // Grown until the measured word reaches the yes label; one point less it was narrower.
    const double dimensione = labelSi->FontSize();
    QVERIFY(sonda->Width() >= labelSi->Width() || sonda->Height() >= labelSi->Height() || dimensione == 12);
    if (dimensione > 12) {
        sonda->setFontSize(dimensione - 1);
        QVERIFY(sonda->Width() < labelSi->Width());
    }
}

void TestUscita::missingWordsDoNotHang()
{
    parole(QByteArray(), QByteArray());
    auto &m = pannelloAperto();
    QVERIFY(c(m, "FrameUscita")->Visible());
    QCOMPARE(c(m, "LabelSi")->Caption(), QString());
    QCOMPARE(c(m, "LabelNo")->Caption(), QString());
    QCOMPARE(c(m, "LabelNo")->FontSize(), c(m, "LabelSi")->FontSize());
    QVERIFY(c(m, "LabelSi")->FontSize() >= 12);
    QVERIFY(c(m, "LabelSi")->FontSize() <= kDimensioneMassimaCarattere); // the growth stopped
    QVERIFY(std::isfinite(c(m, "LabelSi")->FontSize()));
}

void TestUscita::hoverColours()
{
    auto &m = pannelloAperto();
    QWidget *pannello = c(m, "FrameUscita")->widget();
    const QList<int32_t> noRosso{kRosso, kRosso, kGrigio, kGrigio}, siRosso{kGrigio, kGrigio, kRosso, kRosso},
        grigi{kGrigio, kGrigio, kGrigio, kGrigio};

    QTest::mouseMove(c(m, "ImageNo")->widget(), centro(c(m, "ImageNo")));
    QCOMPARE(colori(m), noRosso);
    QTest::mouseMove(c(m, "LabelSi")->widget(), centro(c(m, "LabelSi")));
    QCOMPARE(colori(m), siRosso);
    QTest::mouseMove(c(m, "CommandNo")->widget(), QPoint(2, 2));
    QCOMPARE(colori(m), noRosso);
    QTest::mouseMove(c(m, "PictureSi")->widget(), QPoint(2, 2));
    QCOMPARE(colori(m), siRosso);
    QTest::mouseMove(pannello, QPoint(3, 3));
    QCOMPARE(colori(m), grigi);
    QTest::mouseMove(c(m, "LabelNo")->widget(), centro(c(m, "LabelNo")));
    QCOMPARE(colori(m), noRosso);

    // Moving within the red button writes no colour at all...
    c(m, "PictureSi")->setBackColor(0x00123456);
    QTest::mouseMove(c(m, "ImageNo")->widget(), centro(c(m, "ImageNo")));
    QTest::mouseMove(c(m, "PictureNo")->widget(), QPoint(2, 2));
    QCOMPARE(c(m, "PictureSi")->BackColor(), 0x00123456);
    // ...and neither does the bare panel once both buttons are grey.
    QTest::mouseMove(pannello, QPoint(3, 3));
    QCOMPARE(colori(m), grigi);
    c(m, "PictureNo")->setBackColor(0x00654321);
    QTest::mouseMove(pannello, QPoint(4, 4));
    QCOMPARE(c(m, "PictureNo")->BackColor(), 0x00654321);
}

void TestUscita::clicksOnEveryPartOfAButton_data()
{
    QTest::addColumn<QString>("parte");
    QTest::addColumn<bool>("angolo"); // click near the corner (the button's own face) or in the middle
    QTest::addColumn<bool>("si");
    QTest::newRow("no button") << "CommandNo" << true << false;
    QTest::newRow("no picture") << "PictureNo" << true << false;
    QTest::newRow("no image") << "ImageNo" << false << false;
    QTest::newRow("no label") << "LabelNo" << false << false;
    QTest::newRow("yes button") << "CommandSi" << true << true;
    QTest::newRow("yes picture") << "PictureSi" << true << true;
    QTest::newRow("yes image") << "ImageSi" << false << true;
    QTest::newRow("yes label") << "LabelSi" << false << true;
}

void TestUscita::clicksOnEveryPartOfAButton()
{
    QFETCH(QString, parte);
    QFETCH(bool, angolo);
    QFETCH(bool, si);
    auto &m = pannelloAperto();
    QVERIFY(platform::pointerConfined());
    NumeroMassimo = 8; // changed again while the panel is open
    Control *bersaglio = m.control(parte);
    QTest::mouseClick(bersaglio->widget(), Qt::LeftButton, {}, angolo ? QPoint(2, 2) : centro(bersaglio));

    QVERIFY(!platform::pointerConfined());
    QVERIFY(env->messages.empty());
    if (si) {
        // The profile is written a second time and the program ends.
        QCOMPARE(readLines(profilo()).value(3), QStringLiteral(" 8 "));
        QVERIFY(Form::LoadedForms().empty());
        QVERIFY(!Ridimensionatore);
    } else {
        QCOMPARE(readLines(profilo()).value(3), QStringLiteral(" 6 "));
        QCOMPARE(IfLoaded<FormMenu>(), &m);
        QVERIFY(!c(m, "FrameUscita")->Visible());
    }
}

void TestUscita::noLeavesTheMenuAndTheNextShowStartsAfresh()
{
    auto &m = pannelloAperto();
    Control *h = c(m, "FrameUscita");
    const double top = h->Top(), left = h->Left();
    QTest::mouseMove(c(m, "ImageSi")->widget(), centro(c(m, "ImageSi")));
    c(m, "CommandNo")->raiseClick();
    QVERIFY(!h->Visible());
    QVERIFY(!platform::pointerConfined());
    // The buttons keep their last colours while hidden.
    QCOMPARE(c(m, "CommandSi")->BackColor(), kRosso);
    QCOMPARE(IfLoaded<FormMenu>(), &m);
    QCOMPARE(m.Command1[5]->BackColor(), m.BackColor());

    h->Move(0, 0, h->Width(), h->Height());
    c(m, "LabelSi")->setFontSize(40);
    m.PresentaFinestraUscita();
    QVERIFY(h->Visible());
    QCOMPARE(h->Top(), top);
    QCOMPARE(h->Left(), left);
    QCOMPARE(colori(m), (QList<int32_t>{kGrigio, kGrigio, kGrigio, kGrigio}));
    QCOMPARE(c(m, "LabelSi")->FontSize(), c(m, "LabelNo")->FontSize());
    QVERIFY(platform::pointerConfined());
}

void TestUscita::pointerKinds_data()
{
    QTest::addColumn<bool>("disabilita");
    QTest::addColumn<int>("puntatore");
    QTest::newRow("own pointer") << false << int(vbCustom);
    QTest::newRow("system pointer") << true << int(vbDefault);
}

void TestUscita::pointerKinds()
{
    QFETCH(bool, disabilita);
    QFETCH(int, puntatore);
    DisabilitaMousePersonalizzato = disabilita;
    auto &m = pannelloAperto();
    for (const char *n : {"CommandSi", "CommandNo", "PictureSi", "PictureNo", "ImageSi", "ImageNo", "LabelSi", "LabelNo"}) {
        QCOMPARE(c(m, n)->MousePointer(), puntatore);
        QCOMPARE(c(m, n)->widget()->testAttribute(Qt::WA_SetCursor), !disabilita);
    }
}

void TestUscita::holderOfEachWindow_data()
{
    QTest::addColumn<std::function<Form &()>>("finestra");
    QTest::addColumn<QString>("nome");
    QTest::addColumn<int>("tipo");
    auto di = [](auto *t) {
        using T = std::remove_pointer_t<decltype(t)>;
        return std::function<Form &()>([]() -> Form & { return Default<T>(); });
    };
    QTest::newRow("FormMenu") << di((FormMenu *)nullptr) << "FrameUscita" << int(Kind::Frame);
    QTest::newRow("FormEs1") << di((FormEs1 *)nullptr) << "FrameUscita" << int(Kind::Frame);
    QTest::newRow("FormEs2") << di((FormEs2 *)nullptr) << "FrameUscita" << int(Kind::PictureBox);
    QTest::newRow("FormEs3") << di((FormEs3 *)nullptr) << "PictureBoxUscita" << int(Kind::PictureBox);
    QTest::newRow("FormEs4") << di((FormEs4 *)nullptr) << "PictureBoxUscita" << int(Kind::PictureBox);
    QTest::newRow("FormEs5") << di((FormEs5 *)nullptr) << "PictureBoxUscita" << int(Kind::PictureBox);
}

void TestUscita::holderOfEachWindow()
{
    // The holder carries the name and kind each window gives it, so that the keys of its
    // window's language section reach it; a picture box has no border of its own.
    QFETCH(std::function<Form &()>, finestra);
    QFETCH(QString, nome);
    QFETCH(int, tipo);
    preparaEsercizio(3);
    creaUtente(QStringLiteral("Anna"));
    const QString sezione = QString::fromLatin1(QTest::currentDataTag());
    writeBytes(env->program() + QStringLiteral("/Prova.lng"),
               "[Strings]\r\n0002=\"no\"\r\n0003=\"si\"\r\n[" + sezione.toLatin1() + "]\r\n" + nome.toLatin1()
                   + ".Tag=\"uscita\"\r\n");
    writeBytes(env->program() + QStringLiteral("/LangSetting.ini"), "[Language]\r\nCurrentLanguage=Prova\r\n");
    MLSCurrentLanguage = QStringLiteral("Prova");
    Form &f = finestra();
    f.Show();
    Control *h = f.control(nome);
    QVERIFY(h);
    QCOMPARE(int(h->kind()), tipo);
    QCOMPARE(h->Tag(), QStringLiteral("uscita"));
    if (h->kind() == Kind::PictureBox) QCOMPARE(h->BorderStyle(), 0);
    for (const char *parte : {"CommandSi", "CommandNo", "PictureSi", "PictureNo"}) QCOMPARE(f.control(QLatin1String(parte))->Container(), h);
    if (auto *m = dynamic_cast<FormMenu *>(&f)) m->AvviaEsercizi(5);
    else static_cast<FormEsercizio &>(f).mnuEsci_Click();
    QVERIFY(h->Visible());
    fotografa(f, sezione + QStringLiteral("_uscita"));
    f.control(QStringLiteral("CommandNo"))->raiseClick();
    QVERIFY(!h->Visible());
    chiudiFinestre();
}

void TestUscita::tremorOnTheWordOfTheAnswerPressed_data()
{
    QTest::addColumn<bool>("si");
    QTest::newRow("no closes the menu's panel") << false;
    QTest::newRow("yes leaves an exercise for the menu") << true;
}

void TestUscita::tremorOnTheWordOfTheAnswerPressed()
{
    // A shaky hand presses an answer's picture and, at once, the far end of its word, well
    // away from the picture: the menu's tiles lie there by then. Picture and word are one
    // answer, so that press is part of the first and starts no exercise; after a pause the
    // same spot does start one.
    QFETCH(bool, si);
    static ulong ora = 100000;
    ora += 10000;
    preparaEsercizio(3);
    Form *f;
    if (si) {
        creaUtente(QStringLiteral("Anna"));
        auto &e = Default<FormEs1>();
        e.Show();
        e.mnuEsci_Click();
        f = &e;
    } else {
        f = &pannelloAperto();
    }
    const QString risposta = si ? QStringLiteral("Si") : QStringLiteral("No");
    const QRect figura = sulloSchermo(f->control(QStringLiteral("Image") + risposta));
    const QRect parola = sulloSchermo(f->control(QStringLiteral("Label") + risposta));
    const QPoint tremore(parola.right() - 4, parola.center().y());
    QVERIFY(!figura.adjusted(-24, -24, 24, 24).contains(tremore));

    clicComeX11(f->window(), figura.center(), ora);
    FormMenu *m = IfLoaded<FormMenu>();
    QCOMPARE(finestreCaricate(), QStringList{QStringLiteral("FormMenu")});
    QVERIFY(m->Visible() && !c(*m, "FrameUscita")->Visible());
    clicComeX11(m->window(), tremore, ora + 70);
    QCOMPARE(finestreCaricate(), QStringList{QStringLiteral("FormMenu")});
    clicComeX11(m->window(), tremore, ora + 2000);
    QVERIFY(!IfLoaded<FormMenu>());
}

QTEST_MAIN(TestUscita)
#include "tst_uscita.moc"
