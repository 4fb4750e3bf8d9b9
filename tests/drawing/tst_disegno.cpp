// The drawing of quantities, checked to the twip on the slot sizes the windows use.
#include "TestSupport.h"
#include "drawing/Disegno.h"
#include "forms/Form.h"
#include "shell/FormArchivio.h"
#include "shell/Modulo1.h"
#include "shell/ModuloPerIni.h"
#include "platform/Random.h"
#include <QtTest>

using namespace forms;

namespace {

// A window with one row of `n` slots of the given size, laid out like the exercise windows.
class FormSlot : public Form {
public:
    FormSlot(int n, double w, double h) : Form(QStringLiteral("FormSlot")), n_(n), w_(w), h_(h) { Move(0, 0, 16000, 12000); }
    std::vector<SlotFigura> riga() const
    {
        std::vector<SlotFigura> r;
        for (int i = 0; i < n_; ++i) r.push_back(Slot(this, "Box", i, "Label", "Shape", "Linea", "Image"));
        return r;
    }
    Control *sonda() const { return control(QStringLiteral("LabelDimensionaFont")); }

protected:
    void layout(Layout &l) override
    {
        for (int i = 0; i < n_; ++i) {
            l.add(Kind::PictureBox, "Box", i).at(120 + i * (w_ + 120), 240, w_, h_).back(0xFFFFFF).border(0);
            l.add(Kind::Image, "Image", i).in("Box", i).at(0, 0, w_, h_).pic(QString(), true);
            for (int j = 0; j < 10; ++j)
                l.add(Kind::Shape, "Shape", 10 * i + j).in("Box", i).fill(vbFSTransparent, 0x0000FF).outline(0x404040, 3);
            l.add(Kind::Line, "Linea", i).in("Box", i).outline(0x404040, 2);
            l.add(Kind::Label, "Label", i).in("Box", i).at(0, 0, w_, h_).withFont("Arial", 8.25, true).align(2)
                .transparent().fore(0x0000FF);
        }
        l.add(Kind::Label, "LabelDimensionaFont").cap("dimensiona font ").autosized().hidden().withFont("Arial", 14.25);
    }

private:
    int n_;
    double w_, h_;
};

struct Pos { double l, t, w, h; };
Pos pos(Control *c) { return {c->Left(), c->Top(), c->Width(), c->Height()}; }

int solid(const SlotFigura &s)
{
    int bits = 0;
    for (int j = 0; j < 10; ++j)
        if (s.forme[j]->FillStyle() == vbFSSolid) bits |= 1 << j;
    return bits;
}


} // namespace

class TestDisegno : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        for (int k = 0; k <= 10; ++k) NumeriInLettere[k] = QStringList{"zero", "uno", "due", "tre", "quattro", "cinque", "sei",
                                                                     "sette", "otto", "nove", "dieci"}[k];
    }

    void grigliaDelleFinestre_data()
    {
        QTest::addColumn<double>("w");
        QTest::addColumn<double>("h");
        QTest::addColumn<int>("ux");
        QTest::addColumn<int>("uy");
        QTest::newRow("esercizio 1") << 7500.0 << 4500.0 << 375 << 375;
        QTest::newRow("esercizio 3") << 5220.0 << 3060.0 << 261 << 255;
        QTest::newRow("resto ignorato") << 7519.0 << 4511.0 << 375 << 375;
        QTest::newRow("righe") << 1935.0 << 1455.0 << 96 << 121;
        QTest::newRow("carte") << 2010.0 << 1205.0 << 100 << 100;
        QTest::newRow("mezzo twip") << 2009.5 << 1205.0 << 100 << 100;
    }
    void grigliaDelleFinestre()
    {
        QFETCH(double, w);
        QFETCH(double, h);
        QFETCH(int, ux);
        QFETCH(int, uy);
        Ambiente env(false);
        FormSlot f(1, w, h);
        f.Load();
        const Griglia g = CalcolaGriglia(f.riga()[0].contenitore);
        QCOMPARE(g.ux, ux);
        QCOMPARE(g.uy, uy);
    }

    void geometriaAlTwip()
    {
        Ambiente env(false);
        FormSlot f(1, 7500, 4500);
        f.Load();
        const SlotFigura s = f.riga()[0];
        const Griglia g = CalcolaGriglia(s.contenitore);

        DisegnaFigura(s, kDomino, 7, g);
        QCOMPARE(s.forme[0]->Left(), 1500.0);
        QCOMPARE(s.forme[0]->Top(), 1875.0);
        QCOMPARE(s.forme[0]->Width(), 750.0);
        QCOMPARE(s.forme[5]->Left(), 5250.0);
        QCOMPARE(s.forme[5]->Top(), 1875.0);
        QCOMPARE(s.linea->X1(), 3750.0);
        QCOMPARE(s.linea->X2(), 3750.0);
        QCOMPARE(s.linea->Y2(), 4500.0);
        QVERIFY(s.linea->Visible() && !s.etichetta->Visible() && !s.immagine->Visible());
        for (Control *pip : s.forme) {
            QCOMPARE(pip->Shape(), int(vbShapeCircle)); // round pips, never squares
            QCOMPARE(pip->Width(), 750.0);
            QCOMPARE(pip->Height(), 750.0);
        }

        DisegnaFigura(s, kPallini, 3, g);
        const double lefts[5] = {187, 1687, 3187, 4687, 6187};
        for (int i = 0; i < 5; ++i) {
            QCOMPARE(s.forme[i]->Left(), lefts[i]);
            QCOMPARE(s.forme[i + 5]->Left(), lefts[i]);
            QCOMPARE(s.forme[i]->Top(), 562.0);
            QCOMPARE(s.forme[i + 5]->Top(), 2812.0);
            QCOMPARE(s.forme[i]->Width(), 1125.0);
            QCOMPARE(s.forme[i]->Height(), 1125.0);
        }
        QCOMPARE(s.linea->Y1(), 2250.0);
        QCOMPARE(s.linea->X2(), 7500.0);

        DisegnaFigura(s, kBarre, 3, g);
        const double bars[10] = {187, 937, 1687, 2437, 3187, 3937, 4687, 5437, 6187, 6937};
        for (int j = 0; j < 10; ++j) {
            QCOMPARE(s.forme[j]->Left(), bars[j]);
            QCOMPARE(s.forme[j]->Top(), 750.0);
            QCOMPARE(s.forme[j]->Width(), 375.0);
            QCOMPARE(s.forme[j]->Height(), 3000.0);
            QCOMPARE(s.forme[j]->Shape(), int(vbShapeRectangle));
        }
    }

    void restoDelContenitore()
    {
        Ambiente env(false);
        FormSlot f(1, 7519, 4511);
        f.Load();
        const SlotFigura s = f.riga()[0];
        DisegnaFigura(s, kDomino, 1, CalcolaGriglia(s.contenitore));
        QCOMPARE(s.linea->X1(), 3759.0);
        DisegnaFigura(s, kBarre, 1, CalcolaGriglia(s.contenitore));
        QCOMPARE(s.linea->X1(), 3759.0);
        QCOMPARE(s.forme[5]->Left(), 3946.0);

        FormSlot f3(1, 5220, 3060);
        f3.Load();
        const SlotFigura s3 = f3.riga()[0];
        DisegnaFigura(s3, kPallini, 1, CalcolaGriglia(s3.contenitore));
        QCOMPARE(s3.forme[0]->Top(), 382.0);
        QCOMPARE(s3.forme[5]->Top(), 1912.0);
    }

    void carteDelRiordino()
    {
        Ambiente env(false);
        FormSlot f(5, 2010, 1205);
        f.Load();
        const auto riga = f.riga();
        DisegnaRiga(riga, kDomino, {0, 1, 2, 3, 4}, f.sonda(), 2);
        QCOMPARE(pos(riga[0].forme[0]).l, 400.0);
        QCOMPARE(pos(riga[0].forme[0]).t, 500.0);
        QCOMPARE(pos(riga[0].forme[0]).w, 200.0);
        QCOMPARE(riga[3].linea->X1(), 1005.0);
        DisegnaRiga(riga, kPallini, {0, 1, 2, 3, 4}, f.sonda(), 2);
        const double dots[5] = {50, 450, 850, 1250, 1650};
        for (int i = 0; i < 5; ++i) {
            QCOMPARE(riga[2].forme[i]->Left(), dots[i]);
            QCOMPARE(riga[2].forme[i]->Top(), 150.0);
            QCOMPARE(riga[2].forme[i + 5]->Top(), 750.0);
            QCOMPARE(riga[2].forme[i]->Width(), 300.0);
        }
        DisegnaRiga(riga, kBarre, {0, 1, 2, 3, 4}, f.sonda(), 2);
        const double bars[10] = {50, 250, 450, 650, 850, 1055, 1255, 1455, 1655, 1855};
        for (int j = 0; j < 10; ++j) {
            QCOMPARE(riga[4].forme[j]->Left(), bars[j]);
            QCOMPARE(riga[4].forme[j]->Top(), 200.0);
            QCOMPARE(riga[4].forme[j]->Height(), 800.0);
        }
    }

    void riempimenti()
    {
        Ambiente env(false);
        FormSlot f(1, 7500, 4500);
        f.Load();
        const SlotFigura s = f.riga()[0];
        const Griglia g = CalcolaGriglia(s.contenitore);
        const int domino[11] = {0x000, 0x001, 0x006, 0x007, 0x01E, 0x01F, 0x03F, 0x0DF, 0x0FF, 0x3DF, 0x3FF};
        for (int n = 0; n <= 10; ++n) {
            DisegnaFigura(s, kDomino, n, g);
            QCOMPARE(solid(s), domino[n]);
            DisegnaFigura(s, kPallini, n, g);
            QCOMPARE(solid(s), (1 << n) - 1);
            DisegnaFigura(s, kBarre, n, g);
            QCOMPARE(solid(s), (1 << n) - 1);
            for (Control *c : s.forme) QVERIFY(c->Visible());
        }
    }

    void fuoriIntervalloNonDisegna()
    {
        Ambiente env(false);
        FormSlot f(1, 7500, 4500);
        f.Load();
        const SlotFigura s = f.riga()[0];
        const Griglia g = CalcolaGriglia(s.contenitore);
        DisegnaFigura(s, kDomino, 4, g);
        const int prima = solid(s);
        for (int n : {-1, 11, 32767}) DisegnaFigura(s, kDomino, n, g);
        for (int k : {-1, 6, 8}) DisegnaFigura(s, k, 3, g);
        QCOMPARE(solid(s), prima);
        QVERIFY(s.linea->Visible());
        QCOMPARE(ScegliRappresentazione(8), -1);
        QCOMPARE(ScegliRappresentazione(-1), -1);
        platform::randomSeed(7);
        QSet<int> visti6, visti7;
        for (int i = 0; i < 400; ++i) {
            visti6.insert(ScegliRappresentazione(6));
            visti7.insert(ScegliRappresentazione(7));
        }
        QCOMPARE(visti6, QSet<int>({0, 1, 2, 3, 4}));
        QCOMPARE(visti7, QSet<int>({0, 1, 2, 3, 4, 5}));
    }

    void testoDellaRiga()
    {
        Ambiente env(false);
        FormSlot f(4, 1935, 1455);
        f.Load();
        const auto riga = f.riga();
        // Digits: only label 0's caption is measured; "10" elsewhere takes the same size.
        DisegnaRiga(riga, kCifre, {3, 10, 5, 7}, f.sonda(), 3);
        QCOMPARE(f.sonda()->Caption(), QStringLiteral("3   "));
        const double size = riga[0].etichetta->FontSize();
        for (const SlotFigura &s : riga) QCOMPARE(s.etichetta->FontSize(), size);
        QCOMPARE(riga[1].etichetta->Caption(), QStringLiteral("10"));
        QVERIFY(size > 14);
        // Words: the first of the longest words is measured.
        TipoCarattere = QStringLiteral("minuscolo");
        DisegnaRiga(riga, kParole, {3, 5, 4, 7}, f.sonda(), 3);
        QCOMPARE(f.sonda()->Caption(), QStringLiteral("quattro   "));
        QCOMPARE(riga[0].etichetta->Caption(), QStringLiteral("tre"));
        TipoCarattere = QStringLiteral("Maiuscolo");
        DisegnaRiga(riga, kParole, {3, 5, 6, 7}, f.sonda(), 2);
        QCOMPARE(f.sonda()->Caption(), QStringLiteral("cinque  "));
        TipoCarattere = QStringLiteral("maiuscolo");
        DisegnaRiga(riga, kParole, {0, 1, 2, 10}, f.sonda(), 2);
        QCOMPARE(riga[3].etichetta->Caption(), QStringLiteral("DIECI"));
        for (const SlotFigura &s : riga) {
            QVERIFY(s.etichetta->Visible());
            QVERIFY(!s.linea->Visible());
            for (Control *c : s.forme) QVERIFY(!c->Visible());
        }
    }

    void campioniEColori()
    {
        Ambiente env(false);
        FormSlot f(6, 1800, 1300);
        f.Load();
        const auto riga = f.riga();
        DisegnaCampioniNove(riga, f.sonda());
        QCOMPARE(solid(riga[1]), 0x3DF);
        QCOMPARE(solid(riga[2]), 0x1FF);
        QCOMPARE(solid(riga[3]), 0x1FF);
        QCOMPARE(riga[4].etichetta->Caption(), QStringLiteral("9"));
        QCOMPARE(riga[5].etichetta->Caption(), QStringLiteral("NOVE"));

        auto coloured = [&](int k) { return riga[k].contenitore->BackColor() != 0xE0E0E0; };
        const QString grigie = Default<FormArchivio>().ImageArchivio[11]->picture().source();
        const QString colorate = Default<FormArchivio>().ImageArchivio[9]->picture().source();
        for (int scelta = 0; scelta <= 8; ++scelta) {
            ImpostaColoriCampioni(riga, scelta, 0xFFFFFF, 0xFF0000);
            ImpostaColoriCampioni(riga, scelta, 0xFFFFFF, 0xFF0000); // twice gives the same
            for (int k = 0; k < 6; ++k) {
                const bool atteso = scelta == k || (scelta == 6 && k <= 4) || scelta == 7;
                QCOMPARE(coloured(k), atteso);
            }
            const bool mani = scelta == 0 || scelta == 6 || scelta == 7;
            QCOMPARE(riga[0].immagine->picture().source(), mani ? colorate : grigie);
            QCOMPARE(riga[4].etichetta->ForeColor(), (scelta == 4 || scelta == 6 || scelta == 7) ? 0xFF0000 : 0x808080);
            QCOMPARE(riga[5].etichetta->ForeColor(), (scelta == 5 || scelta == 7) ? 0xFF0000 : 0x808080);
            QCOMPARE(riga[2].forme[9]->FillColor(), (scelta == 2 || scelta >= 6) && scelta <= 7 ? 0xFF0000 : 0x808080);
        }
    }

    void anteprimaDellaConfigurazione()
    {
        // The preview's grid and its offsets come from the first frame, the dividing lines
        // from each preview's own frame.
        Ambiente env(false);
        FormSlot f(2, 3975, 2535);
        f.Load();
        const auto riga = f.riga();
        riga[1].contenitore->setWidth(3000);
        const Griglia g = CalcolaGriglia(riga[0].contenitore);
        QCOMPARE(g.ux, 198);
        QCOMPARE(g.uy, 211);
        DisegnaAnteprimaNove(riga[1], kBarre, g, riga[0].contenitore, QString(), f.sonda());
        QCOMPARE(riga[1].linea->X1(), 1500.0);
        QCOMPARE(riga[1].forme[5]->Left(), 3975.0 / 2 - 0.5 + 99);
        QCOMPARE(solid(riga[1]), 0x1FF);
        DisegnaAnteprimaNove(riga[1], kPallini, g, riga[0].contenitore, QString(), f.sonda());
        QCOMPARE(riga[1].linea->X2(), 3975.0);
        DisegnaAnteprimaNove(riga[1], kDomino, g, riga[0].contenitore, QString(), f.sonda());
        QCOMPARE(solid(riga[1]), 0x3DF);
        QCOMPARE(riga[1].linea->X1(), 1500.0);
        // Digits without padding; words as the language gives them; no preview for 6 and 7.
        DisegnaAnteprimaNove(riga[0], kCifre, g, riga[0].contenitore, QString(), f.sonda());
        QCOMPARE(f.sonda()->Caption(), QStringLiteral("9"));
        DisegnaAnteprimaNove(riga[0], kParole, g, riga[0].contenitore, QStringLiteral("Nove"), f.sonda());
        QCOMPARE(riga[0].etichetta->Caption(), QStringLiteral("Nove"));
        riga[0].etichetta->setVisible(false);
        DisegnaAnteprimaNove(riga[0], kCasualeTutte, g, riga[0].contenitore, QString(), f.sonda());
        QVERIFY(!riga[0].etichetta->Visible());
    }

    void immagini()
    {
        // The hands fill their image control whatever its proportions: no band, no strip,
        // the box's own colour around the fingers and its border left in sight. A round
        // emblem keeps its proportions. Each representation is grabbed too when asked
        // (BRIVO_GRAB=folder), to look at.
        Ambiente env(false);
        for (const QSizeF box : {QSizeF(1935, 1455), QSizeF(7500, 1500), QSizeF(1500, 1500)}) {
            FormSlot f(1, box.width(), box.height());
            f.Load();
            f.Show();
            const SlotFigura s = f.riga()[0];
            s.contenitore->setBackColor(0x00FFFF);
            s.contenitore->setBorderStyle(1);
            s.immagine->Move(0, 0, box.width(), box.height());
            DisegnaFigura(s, kDita, 10, CalcolaGriglia(s.contenitore));
            const QRectF r = QRectF(s.immagine->widget()->rect());
            QCOMPARE(s.immagine->picture().placed(r), r);

            auto foto = [&] { return s.contenitore->widget()->grab().toImage().convertToFormat(QImage::Format_RGB32); };
            const QImage img = foto();
            fotografa(f, QStringLiteral("mani_%1x%2").arg(box.width()).arg(box.height()));
            s.immagine->setVisible(false);
            const QImage vuota = foto(); // the bare box: its colour and its border
            QRect mani;
            for (int y = 0; y < img.height(); ++y)
                for (int x = 0; x < img.width(); ++x) {
                    const bool bordo = x == 0 || y == 0 || x == img.width() - 1 || y == img.height() - 1;
                    if (bordo) QCOMPARE(img.pixel(x, y), vuota.pixel(x, y));
                    else if (img.pixel(x, y) != vuota.pixel(x, y)) mani |= QRect(x, y, 1, 1);
                }
            QVERIFY2(mani.width() >= img.width() * 0.85 && mani.height() >= img.height() * 0.85,
                     qPrintable(QStringLiteral("hands %1x%2 in %3x%4").arg(mani.width()).arg(mani.height())
                                    .arg(img.width()).arg(img.height())));
            f.Unload();
        }
        const Picture emblema = Picture::fromFile(QStringLiteral(":/pictures/faccina_si.svg"));
        QCOMPARE(emblema.placed(QRectF(0, 0, 400, 90)), QRectF(150, 0, 100, 90));

        FormSlot f(4, 7500 / 2, 4500 / 2);
        f.Load();
        f.Show();
        const auto riga = f.riga();
        for (int k = 0; k <= 5; ++k) {
            DisegnaRiga(riga, k, {0, 5, 9, 10}, f.sonda(), 3);
            fotografa(f, QStringLiteral("rappresentazione_%1").arg(k));
        }
        // The same on a dark background, where empty shapes must still show.
        for (const SlotFigura &s : riga) {
            s.contenitore->setBackColor(0x402000);
            for (Control *c : s.forme) c->setFillColor(0x00FFFF);
        }
        DisegnaRiga(riga, kPallini, {0, 5, 9, 10}, f.sonda(), 3);
        fotografa(f, QStringLiteral("scuro_pallini"));
        DisegnaRiga(riga, kDomino, {0, 5, 9, 10}, f.sonda(), 3);
        fotografa(f, QStringLiteral("scuro_domino"));
        f.Unload();
    }
};

QTEST_MAIN(TestDisegno)
#include "tst_disegno.moc"
