// Fitting a text to its box with the hidden measuring label.
#include "TestSupport.h"
#include "drawing/AdattaCarattere.h"
#include "forms/Form.h"
#include <QtTest>

using namespace forms;

namespace {

class FormMisura : public Form {
public:
    FormMisura() : Form(QStringLiteral("FormMisura")) { Move(0, 0, 16000, 12000); }
    Control *sonda() const { return control(QStringLiteral("LabelDimensionaFont")); }
    Control *sondaGrassetto() const { return control(QStringLiteral("LabelDimensionaFontBold")); }
    Control *riquadro() const { return control(QStringLiteral("Riquadro")); }
    Control *bersaglio(int i) const { return control(QStringLiteral("Bersaglio"), i); }

protected:
    void layout(Layout &l) override
    {
        l.add(Kind::Label, "LabelDimensionaFont").cap("dimensiona font ").withFont("Arial", 14.25).autosized().hidden();
        l.add(Kind::Label, "LabelDimensionaFontBold").cap("dimensiona font ").withFont("Arial", 14.25, true).autosized().hidden();
        l.add(Kind::Label, "Riquadro").at(0, 0, 1000, 1000).cap("9").withFont("Arial", 8.25, true).align(2);
        l.add(Kind::Label, "Bersaglio", 0).at(0, 0, 100, 100).cap("9").withFont("Arial", 8.25, true);
        l.add(Kind::Label, "Bersaglio", 1).at(0, 0, 100, 100).cap("dieci").withFont("Times", 10, false);
    }
};

bool cresce(Control *sonda, Control *rif, ProvaAdattamento prova)
{
    const bool h = sonda->Height() < rif->Height();
    const bool w = sonda->Width() < rif->Width();
    return prova == ProvaAdattamento::Altezza ? h : prova == ProvaAdattamento::Larghezza ? w : h && w;
}

// The rule as it reads: one point at a time from the start size.
double scansione(Control *sonda, const QString &misurato, Control *rif, ProvaAdattamento prova, double inizio)
{
    sonda->setCaption(misurato);
    double s = inizio;
    for (;; s += 1) {
        sonda->setFontSize(s);
        if (!cresce(sonda, rif, prova) || s >= kDimensioneMassimaCarattere) return s;
    }
}

// The probe's height at a size.
double altezza(Control *sonda, const QString &testo, double size)
{
    sonda->setCaption(testo);
    sonda->setFontSize(size);
    return sonda->Height();
}

} // namespace

Q_DECLARE_METATYPE(ProvaAdattamento)

class TestAdatta : public QObject {
    Q_OBJECT

private slots:
    void matchesAPlainScan_data();
    void matchesAPlainScan();
    void exactHeightStopsTheGrowth();
    void neverBelowTheStartSize();
    void referenceWithoutSize();
    void growthHasAnUpperBound();
    void paddingIsMeasuredOnly();
};

void TestAdatta::matchesAPlainScan_data()
{
    QTest::addColumn<QString>("testo");
    QTest::addColumn<int>("spazi");
    QTest::addColumn<bool>("prima");
    QTest::addColumn<ProvaAdattamento>("prova");
    QTest::addColumn<QSizeF>("riquadro");
    QTest::addColumn<bool>("grassetto");

    const struct { const char *name; QSizeF size; } boxes[] = {
        {"picture slot", {6255, 4335}}, {"card", {1935, 1455}},
        {"wide strip", {15360, 600}}, {"tall strip", {400, 9000}}};
    const struct { const char *name; ProvaAdattamento p; } tests[] = {
        {"height", ProvaAdattamento::Altezza}, {"width", ProvaAdattamento::Larghezza},
        {"both", ProvaAdattamento::AltezzaELarghezza}};
    const struct { const char *text; int spazi; bool prima; } texts[] = {
        {"9", 0, false}, {"9", 3, false}, {"10", 3, false}, {"sette", 2, true}, {"Trova il numero che manca", 5, false},
        {"quattro", 7, false}};
    int n = 0;
    for (const auto &b : boxes)
        for (const auto &t : tests)
            for (const auto &x : texts)
                QTest::addRow("%s %s, \"%s\" +%d%s", b.name, t.name, x.text, x.spazi, x.prima ? " before" : "")
                    << QString::fromUtf8(x.text) << x.spazi << x.prima << t.p << b.size << bool(++n % 2);
}

void TestAdatta::matchesAPlainScan()
{
    QFETCH(QString, testo);
    QFETCH(int, spazi);
    QFETCH(bool, prima);
    QFETCH(ProvaAdattamento, prova);
    QFETCH(QSizeF, riquadro);
    QFETCH(bool, grassetto);
    Ambiente env;
    FormMisura f;
    f.Load();
    Control *sonda = grassetto ? f.sondaGrassetto() : f.sonda();
    f.riquadro()->Move(0, 0, riquadro.width(), riquadro.height());

    const QString blanks(spazi, QLatin1Char(' '));
    const QString misurato = prima ? blanks + testo : testo + blanks;
    const double atteso = scansione(sonda, misurato, f.riquadro(), prova, 14);

    sonda->setCaption(QStringLiteral("dimensiona font "));
    sonda->setFontSize(14.25);
    RegolaAdattamento r;
    r.testo = testo;
    r.spazi = spazi;
    r.spaziPrima = prima;
    r.riferimento = f.riquadro();
    r.prova = prova;
    r.bersagli = {f.riquadro(), f.bersaglio(1)};
    QCOMPARE(AdattaCarattere(sonda, r), atteso);
    QCOMPARE(sonda->FontSize(), atteso);
    QCOMPARE(sonda->Caption(), misurato);
    QCOMPARE(f.riquadro()->FontSize(), atteso);
    QCOMPARE(f.bersaglio(1)->FontSize(), atteso);
    QCOMPARE(f.bersaglio(0)->FontSize(), 8.25); // not a target
    // Only the sizes change: faces, weights and the targets' captions stay.
    QCOMPARE(sonda->Font().bold, grassetto);
    QCOMPARE(sonda->Font().name, QStringLiteral("Arial"));
    QCOMPARE(f.bersaglio(1)->Font().name, QStringLiteral("Times"));
    QCOMPARE(f.riquadro()->Caption(), QStringLiteral("9"));
    QCOMPARE(f.bersaglio(1)->Caption(), QStringLiteral("dieci"));
}

void TestAdatta::exactHeightStopsTheGrowth()
{
    Ambiente env;
    FormMisura f;
    f.Load();
    Control *sonda = f.sonda();
    // A size at which the probe becomes higher than one point below.
    double s = 30;
    while (altezza(sonda, "9", s) == altezza(sonda, "9", s - 1)) ++s;
    const double h = altezza(sonda, "9", s);
    f.riquadro()->Move(0, 0, 100000, h);

    RegolaAdattamento r;
    r.testo = QStringLiteral("9");
    r.riferimento = f.riquadro();
    r.prova = ProvaAdattamento::Altezza;
    r.bersagli = {f.bersaglio(0)};
    QCOMPARE(AdattaCarattere(sonda, r), s);
    QCOMPARE(sonda->Height(), h);
    // One twip more and the size that reached it exactly still fits.
    f.riquadro()->setHeight(h + 1);
    QVERIFY(AdattaCarattere(sonda, r) > s);
}

void TestAdatta::neverBelowTheStartSize()
{
    Ambiente env;
    FormMisura f;
    f.Load();
    f.riquadro()->Move(0, 0, 150, 150); // far smaller than "9" at 12 points
    for (double start : {12.0, 14.0}) {
        RegolaAdattamento r;
        r.dimensioneIniziale = start;
        r.testo = QStringLiteral("Trova il numero che manca");
        r.riferimento = f.riquadro();
        r.bersagli = {f.bersaglio(0), f.bersaglio(1)};
        QCOMPARE(AdattaCarattere(f.sonda(), r), start);
        QCOMPARE(f.bersaglio(0)->FontSize(), start);
        QCOMPARE(f.bersaglio(1)->FontSize(), start);
    }
}

void TestAdatta::referenceWithoutSize()
{
    Ambiente env;
    FormMisura f;
    f.Load();
    RegolaAdattamento r;
    r.testo = QStringLiteral("9");
    r.riferimento = f.riquadro();
    r.bersagli = {f.bersaglio(0)};

    f.riquadro()->Move(0, 0, 5000, 0);
    r.prova = ProvaAdattamento::Altezza;
    QCOMPARE(AdattaCarattere(f.sonda(), r), 14.0);
    r.prova = ProvaAdattamento::AltezzaELarghezza;
    QCOMPARE(AdattaCarattere(f.sonda(), r), 14.0);

    f.riquadro()->Move(0, 0, 0, 5000);
    r.prova = ProvaAdattamento::Larghezza;
    QCOMPARE(AdattaCarattere(f.sonda(), r), 14.0);
    // A width of nothing does not count under the height test.
    r.prova = ProvaAdattamento::Altezza;
    QCOMPARE(AdattaCarattere(f.sonda(), r), scansione(f.sonda(), "9", f.riquadro(), r.prova, 14));
    QVERIFY(f.bersaglio(0)->FontSize() > 14);

    // No reference at all.
    r.riferimento = nullptr;
    QCOMPARE(AdattaCarattere(f.sonda(), r), 14.0);
    QCOMPARE(f.bersaglio(0)->FontSize(), 14.0);
}

void TestAdatta::growthHasAnUpperBound()
{
    Ambiente env;
    FormMisura f;
    f.Load();
    RegolaAdattamento r;
    r.riferimento = f.riquadro();
    r.bersagli = {f.bersaglio(0)};

    // An empty text never gets wider: it would grow for ever under the width test.
    f.riquadro()->Move(0, 0, 1000, 1000);
    r.testo = QString();
    r.prova = ProvaAdattamento::Larghezza;
    QCOMPARE(AdattaCarattere(f.sonda(), r), kDimensioneMassimaCarattere);
    QCOMPARE(f.bersaglio(0)->FontSize(), kDimensioneMassimaCarattere);

    // A reference larger than any text.
    f.riquadro()->Move(0, 0, 1e9, 1e9);
    r.testo = QStringLiteral("9");
    r.prova = ProvaAdattamento::AltezzaELarghezza;
    QCOMPARE(AdattaCarattere(f.sonda(), r), kDimensioneMassimaCarattere);
}

void TestAdatta::paddingIsMeasuredOnly()
{
    Ambiente env;
    FormMisura f;
    f.Load();
    f.riquadro()->Move(0, 0, 2000, 100000);
    RegolaAdattamento r;
    r.testo = QStringLiteral("10");
    r.riferimento = f.riquadro();
    r.prova = ProvaAdattamento::Larghezza;
    r.bersagli = {f.riquadro()};
    const double bare = AdattaCarattere(f.sonda(), r);
    r.spazi = 3;
    const double padded = AdattaCarattere(f.sonda(), r);
    QCOMPARE(f.sonda()->Caption(), QStringLiteral("10   "));
    QVERIFY2(padded < bare, qPrintable(QStringLiteral("%1 / %2").arg(padded).arg(bare)));
    QCOMPARE(f.riquadro()->Caption(), QStringLiteral("9"));
}

QTEST_MAIN(TestAdatta)
#include "tst_adatta.moc"
