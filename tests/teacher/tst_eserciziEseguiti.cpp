// The activity record window: the text it builds from the record, the configuration
// block, saving as rich text, and the printing of formatted text page by page.
#include "TestSupport.h"
#include "FormEserciziEseguiti.h"
#include "FormMenu.h"
#include "Modulo1.h"
#include "ModuloPerIni.h"
#include "ModuloStampa.h"
#include "modLanguageSupport.h"
#include "forms/Twips.h"
#include "platform/Dialogs.h"
#include <QDate>
#include <QFile>
#include <QLocale>
#include <QPrinter>
#include <QPrinterInfo>
#include <QRegularExpression>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextEdit>
#include <QtTest>

using namespace forms;

namespace {

void grab(Form &f, const QString &name)
{
    const QString dir = qEnvironmentVariable("BRIVO_GRAB");
    if (!dir.isEmpty()) f.window()->grab().save(dir + QLatin1Char('/') + name + QStringLiteral(".png"));
}

QStringList righe(FormEserciziEseguiti &f) { return f.RichTextBox1->Text().split(QLatin1Char('\n')); }

// The heading: the user's name alone on the first line, centred at 18 points; the date
// line left at the box's size.
void verificaIntestazione(FormEserciziEseguiti &f)
{
    QTextDocument *doc = qobject_cast<QTextEdit *>(f.RichTextBox1->widget())->document();
    const QTextBlock primo = doc->firstBlock(), data = primo.next().next();
    QCOMPARE(primo.text(), NomeUtente);
    QCOMPARE(primo.blockFormat().alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
    QCOMPARE(primo.begin().fragment().charFormat().fontPointSize(), 18.0);
    QVERIFY(!(data.blockFormat().alignment() & Qt::AlignHCenter));
    QCOMPARE(data.begin().fragment().charFormat().font().resolve(doc->defaultFont()).pointSizeF(), 14.25);
}

// A PDF "printer" on A4 with the given border it cannot print on.
std::unique_ptr<QPrinter> stampantePdf(const QString &percorso, double bordoMm = 0)
{
    auto p = std::make_unique<QPrinter>(QPrinter::HighResolution);
    p->setOutputFormat(QPrinter::PdfFormat);
    p->setOutputFileName(percorso);
    p->setPageSize(QPageSize(QPageSize::A4));
    p->setPageMargins(QMarginsF(bordoMm, bordoMm, bordoMm, bordoMm), QPageLayout::Millimeter);
    return p;
}

} // namespace

class TestEserciziEseguiti : public QObject {
    Q_OBJECT

    std::unique_ptr<Ambiente> env;
    QTemporaryDir uscite;
    std::vector<QString> cartelleDialogo;
    QString risposta;

    FormEserciziEseguiti &apri()
    {
        auto &f = Default<FormEserciziEseguiti>();
        f.Show();
        return f;
    }

private slots:
    void init()
    {
        Screen::setSizeOverride(QSize(1280, 1024));
        env = std::make_unique<Ambiente>();
        MLSCurrentLanguage = QStringLiteral("Italiano"); // as the main menu leaves it
        CreaCartelle();
        NomeUtente = QStringLiteral("Anna");
        FileUtente = PercorsoProfilo(NomeUtente);
        cartelleDialogo.clear();
        risposta.clear();
        platform::setFileDialogHandler([this](int mode, const QString &folder) {
            cartelleDialogo.push_back(mode == 2 ? QDir::cleanPath(folder) : QStringLiteral("wrong mode"));
            return risposta;
        });
    }
    void cleanup()
    {
        platform::setFileDialogHandler(nullptr);
        Form::UnloadAll();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        Ridimensionatore.reset();
        env.reset();
    }

    void textFromTheRecord()
    {
        auto &f = apri();
        const QString data = QLocale::system().toString(QDate::currentDate(), QLocale::ShortFormat);
        QCOMPARE(righe(f), (QStringList{QStringLiteral("Anna"), QString(), QStringLiteral("Esercizi eseguiti il ") + data,
                                        QString(), QString(), QString()}));
        verificaIntestazione(f);
        grab(f, QStringLiteral("eserciziEseguiti_vuoto"));

        // Read again at every activation, line 0 first.
        ScriviIntestazione(QStringLiteral("Esercizio 1"));
        AggiungiAlRegistro(QStringLiteral(" 3"));
        AggiungiAlRegistro(QStringLiteral(" -  5( * )"));
        f.Hide();
        f.Show();
        QCOMPARE(righe(f).mid(4), (QStringList{QString(), QStringLiteral("Esercizio 1"), QStringLiteral(" 3 -  5( * )"), QString()}));
        verificaIntestazione(f);

        // A line count past the record's end shows the record up to its last line.
        RigheEsercizi[kRigheMassime] = QStringLiteral("ultima");
        NumeroRigheEsercizi = kRigheMassime + 500;
        f.Hide();
        f.Show();
        QCOMPARE(righe(f).size(), 4 + kRigheMassime + 1 + 1);
        QCOMPARE(righe(f).at(4 + kRigheMassime), QStringLiteral("ultima"));
    }

    void configurationBlocks()
    {
        NumeroMassimo = 10;
        RappresentazionePrima = 1;
        RappresentazioneSeconda = 4;
        auto &f = apri();
        const QString prima = f.RichTextBox1->Text();
        const QString blocco = QStringLiteral("****************************\nNumero più grande: 10\nPrimo disegno: domino\n"
                                              "Secondo disegno: numeri");
        f.Command3->raiseClick();
        QCOMPARE(f.RichTextBox1->Text(), prima + blocco);
        QCOMPARE(finestreCaricate(), QStringList{QStringLiteral("FormEserciziEseguiti")});
        verificaIntestazione(f);

        // The next block starts right after the last name, in the language of the moment,
        // and keeps the trailing blank of the last option's name.
        MLSCurrentLanguage = QStringLiteral("English");
        RappresentazionePrima = 7;
        NumeroMassimo = 4;
        f.Command3->raiseClick();
        QCOMPARE(f.RichTextBox1->Text(), prima + blocco + QStringLiteral("****************************\nHighest number: 4\n"
                                                                         "First picture: all \nSecond picture: digits"));
        verificaIntestazione(f);
        grab(f, QStringLiteral("eserciziEseguiti_configurazione"));

        // The window has the shared layout object back and still follows its own size.
        QCOMPARE(Ridimensionatore->SourceForm(), &f);
        const double larghezza = f.RichTextBox1->Width();
        f.setWidth(f.Width() / 2);
        QVERIFY(qAbs(f.RichTextBox1->Width() - larghezza / 2) < 30);
    }

    void leavingAndComingBack()
    {
        auto &f = apri();
        const QString prima = f.RichTextBox1->Text();
        f.Command3->raiseClick();
        f.mnuEsci->action()->trigger();
        QCOMPARE(finestreCaricate(), QStringList{QStringLiteral("FormMenu")});
        QVERIFY(IfLoaded<FormMenu>()->Visible());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCOMPARE(apri().RichTextBox1->Text(), prima);
    }

    void savedAsRichTextInTheUsersFolder()
    {
        auto &f = apri();
        f.Command3->raiseClick();
        const QString cartella = env->file(QStringLiteral("BrivoMarte/dati/Anna"));
        QVERIFY(!QFileInfo::exists(cartella));
        risposta = uscite.filePath(QStringLiteral("anna.rtf"));
        QTest::mouseClick(f.Command2->widget(), Qt::LeftButton, {}, QPoint(5, 5));
        QVERIFY(env->messages.empty());
        QVERIFY(QFileInfo(cartella).isDir());
        QCOMPARE(cartelleDialogo, std::vector<QString>{cartella});
        const QByteArray rtf = readBytes(risposta);
        QVERIFY(rtf.startsWith("{\\rtf1"));
        QVERIFY(rtf.contains("\\pard\\qc\\plain\\f0\\fs36 Anna"));
        QVERIFY(rtf.contains("Numero pi\\u249? grande: 10"));
        QVERIFY(rtf.contains("Secondo disegno: numeri"));
    }

    void cancelledOrFailedSaveIsReported()
    {
        auto &f = apri();
        const QString prima = f.RichTextBox1->Text();
        f.Command2->raiseClick();
        risposta = uscite.filePath(QStringLiteral("manca/anna.rtf")); // a folder that is not there
        f.Command2->raiseClick();
        QCOMPARE(env->messages.size(), size_t(2));
        for (const auto &m : env->messages) {
            QCOMPARE(m.text, QStringLiteral("Il registro degli esercizi non è stato salvato."));
            QCOMPARE(m.style, int(platform::vbCritical));
            QCOMPARE(m.title, QStringLiteral("Brivomarte"));
        }
        QCOMPARE(f.RichTextBox1->Text(), prima);
    }

    void unsafeUserNameIsNoFolder()
    {
        NomeUtente = QStringLiteral("..\\fuori");
        auto &f = apri();
        risposta = uscite.filePath(QStringLiteral("x.rtf"));
        f.Command2->raiseClick();
        QCOMPARE(cartelleDialogo, std::vector<QString>{env->file(QStringLiteral("BrivoMarte/dati"))});
        QVERIFY(!QFileInfo::exists(env->file(QStringLiteral("BrivoMarte/fuori"))));
        QVERIFY(QFileInfo::exists(risposta));
    }

    void printWithoutAPrinterIsReported()
    {
        if (!QPrinterInfo::defaultPrinter().isNull()) QSKIP("this machine has a default printer: nothing is printed on it");
        auto &f = apri();
        QTest::mouseClick(f.Command1->widget(), Qt::LeftButton, {}, QPoint(5, 5));
        QCOMPARE(env->messages.size(), size_t(1));
        QVERIFY(!env->messages[0].text.isEmpty());
    }

    void printedPageByPage()
    {
        QTextDocument doc;
        doc.setDefaultFont(QFont(QStringLiteral("Arial"), 14));
        auto stampa = [&](const QString &testo) {
            doc.setPlainText(testo);
            const QString pdf = uscite.filePath(QStringLiteral("stampa.pdf"));
            auto p = stampantePdf(pdf, 5);
            const std::vector<int> pagine = StampaPagine(doc, *p, 1440, 1440, 1440, 1440);
            p.reset();
            const int nelFile = int(QString::fromLatin1(readBytes(pdf)).count(QRegularExpression(QStringLiteral("/Type\\s*/Page[^s]"))));
            return nelFile == int(pagine.size()) ? pagine : std::vector<int>{};
        };
        QCOMPARE(stampa(QString()), std::vector<int>{0});
        QCOMPARE(stampa(QStringLiteral("Anna\n\nEsercizi\n\n\n")), std::vector<int>{0});

        // Each page starts at a line, right after the last line of the page before, and
        // holds as many lines as the page's height between the margins allows.
        QStringList linee;
        for (int i = 0; i < 300; ++i) linee << QStringLiteral("riga %1").arg(i, 3, 10, QLatin1Char('0'));
        const QString testo = linee.join(QLatin1Char('\n')) + QLatin1Char('\n');
        const std::vector<int> pagine = stampa(testo);
        QPrinter misura(QPrinter::HighResolution);
        const int perPagina = int((29.7 / 2.54 - 2) * misura.logicalDpiY() / QFontMetricsF(doc.defaultFont(), &misura).height());
        QCOMPARE(int(pagine.size()), (300 + perPagina - 1) / perPagina);
        for (size_t k = 1; k < pagine.size(); ++k) {
            QCOMPARE(testo[pagine[k] - 1], QLatin1Char('\n'));
            QVERIFY(qAbs((pagine[k] - pagine[k - 1]) / 9 - perPagina) <= 1);
        }
    }

    void printingStartsAnInchFromTheEdges()
    {
        for (double bordo : {0.0, 6.35, 17.0}) {
            auto p = stampantePdf(uscite.filePath(QStringLiteral("bordo.pdf")), bordo);
            const RettangoloStampa r = CalcolaRettangoloStampa(*p, 1440, 1440, 1440, 1440);
            // The sheet and the border as the printer has them, at 20 twips to the point.
            const QRectF foglio = p->paperRect(QPrinter::Point), stampabile = p->pageRect(QPrinter::Point);
            const double bordoX = (stampabile.left() - foglio.left()) * 20, bordoY = (stampabile.top() - foglio.top()) * 20;
            QCOMPARE(bordoX > 0, bordo > 0);
            QVERIFY(qAbs(r.sinistra + bordoX - 1440) <= 1);
            QVERIFY(qAbs(r.alto + bordoY - 1440) <= 1);
            QVERIFY(qAbs(r.destra + bordoX - (foglio.width() * 20 - 1440)) <= 2);
            QVERIFY(qAbs(r.basso + bordoY - (foglio.height() * 20 - 1440)) <= 2);
        }
    }

    void printingEndsWhenNothingFits()
    {
        QTextDocument doc;
        doc.setDefaultFont(QFont(QStringLiteral("Arial"), 14));
        doc.setPlainText(QStringLiteral("uno\ndue\ntre\n"));
        // Margins wider than the sheet: one page, nothing on it.
        auto p = stampantePdf(uscite.filePath(QStringLiteral("niente.pdf")));
        QCOMPARE(StampaPagine(doc, *p, 20000, 1440, 20000, 1440), std::vector<int>{0});
        // A page lower than a line: each line on a page of its own, and then the end.
        auto q = stampantePdf(uscite.filePath(QStringLiteral("basso.pdf")));
        const RettangoloStampa foglio = CalcolaRettangoloStampa(*q, 0, 0, 0, 0);
        QCOMPARE(StampaPagine(doc, *q, 1440, 1440, 1440, foglio.basso - 1440 - 100), (std::vector<int>{0, 4, 8}));
    }
};

QTEST_MAIN(TestEserciziEseguiti)
#include "tst_eserciziEseguiti.moc"
