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
#include <QClipboard>
#include <QDate>
#include <QFile>
#include <QLocale>
#include <QMimeData>
#include <QPrinter>
#include <QPrinterInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextEdit>
#include <QThread>
#include <QtTest>
#include <grp.h>
#include <sys/stat.h>
#include <unistd.h>

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

// A CUPS scheduler of the test's own, on a socket of its own, with its own queues: the
// machine's printers and settings are never touched.
class CupsPrivato {
public:
    ~CupsPrivato()
    {
        if (cupsd_.state() != QProcess::NotRunning) {
            cupsd_.terminate();
            if (!cupsd_.waitForFinished(5000)) cupsd_.kill();
            cupsd_.waitForFinished(2000);
        }
    }
    QString socket() const { return dir_.filePath(QStringLiteral("cups.sock")); }
    QString uscita(const QString &coda) const { return dir_.filePath(QStringLiteral("out/") + coda + ".prn"); }

    // False when this machine has no scheduler to start.
    bool avvia()
    {
        const QString cupsd = QStandardPaths::findExecutable(QStringLiteral("cupsd"), {"/usr/sbin", "/sbin"});
        if (cupsd.isEmpty() || !dir_.isValid()) return false;
        const QString d = dir_.path();
        // The scheduler runs the jobs as an ordinary user, who must reach the folders.
        const group *lp = getgrnam("lp");
        const bool root = geteuid() == 0 && lp;
        for (const char *sub : {"spool", "cache", "state", "tmp", "ppd", "log", "out"}) QDir(d).mkdir(sub);
        ::chmod(QFile::encodeName(d).constData(), 0755);
        for (const char *sub : {"spool", "cache", "state", "tmp", "ppd", "out"}) {
            const QByteArray p = QFile::encodeName(d + QLatin1Char('/') + QLatin1String(sub));
            if (root) ::chown(p.constData(), 0, lp->gr_gid);
            ::chmod(p.constData(), qstrcmp(sub, "out") == 0 ? 0777 : 0775);
        }
        writeBytes(d + "/cupsd.conf", "LogLevel warn\nListen " + QFile::encodeName(socket())
                                          + "\nBrowsing No\nWebInterface No\nDefaultAuthType None\n"
                                            "<Location />\nOrder allow,deny\nAllow all\n</Location>\n");
        QByteArray files = "ServerRoot " + QFile::encodeName(d) + "\nRequestRoot " + QFile::encodeName(d)
                           + "/spool\nCacheDir " + QFile::encodeName(d) + "/cache\nStateDir " + QFile::encodeName(d)
                           + "/state\nTempDir " + QFile::encodeName(d) + "/tmp\nErrorLog " + QFile::encodeName(d)
                           + "/log/error_log\nAccessLog " + QFile::encodeName(d) + "/log/access_log\nPageLog "
                           + QFile::encodeName(d) + "/log/page_log\nFileDevice Yes\n";
        if (root) files += "User lp\nGroup lp\n";
        writeBytes(d + "/cups-files.conf", files);
        cupsd_.start(cupsd, {"-f", "-c", d + "/cupsd.conf", "-s", d + "/cups-files.conf"});
        if (!cupsd_.waitForStarted(5000)) return false;
        for (int i = 0; i < 400 && !QFileInfo::exists(socket()); ++i) QThread::msleep(50);
        return QFileInfo::exists(socket()) && comando("lpstat", {"-r"});
    }

    // Runs a CUPS command against this scheduler; false when it fails.
    bool comando(const QString &nome, const QStringList &argomenti)
    {
        const QString exe = QStandardPaths::findExecutable(nome, {"/usr/sbin", "/usr/bin", "/sbin", "/bin"});
        if (exe.isEmpty()) return false;
        QProcess p;
        p.setProcessEnvironment(ambiente());
        p.start(exe, argomenti);
        return p.waitForFinished(60000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
    }

    QProcessEnvironment ambiente() const
    {
        QProcessEnvironment e = QProcessEnvironment::systemEnvironment();
        e.insert(QStringLiteral("CUPS_SERVER"), socket());
        return e;
    }

private:
    QTemporaryDir dir_;
    QProcess cupsd_;
};

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

    // Megabytes pasted into the record would keep the window laying them out for minutes: a
    // paste or a drop takes so much, the box holds so much, and each cut is told once.
    void hugePasteIsCutAndTold()
    {
        auto &f = apri();
        auto *box = qobject_cast<QTextEdit *>(f.RichTextBox1->widget());
        QVERIFY(box);
        auto incolla = [&](const QString &testo) {
            QGuiApplication::clipboard()->setText(testo);
            box->moveCursor(QTextCursor::End);
            QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
            QCoreApplication::processEvents();
        };
        QString enorme;
        while (enorme.size() < 1'000'000) enorme += QStringLiteral("una riga lunga di testo incollato, come da una pagina web\n");
        const qsizetype prima = f.RichTextBox1->Text().size();
        incolla(QStringLiteral("nota della maestra"));
        QCOMPARE(f.RichTextBox1->Text().size(), prima + 18);
        QVERIFY(env->messages.empty());

        incolla(enorme);
        QCOMPARE(f.RichTextBox1->Text().size(), prima + 18 + kPasteMaxChars);
        QCOMPARE(env->messages.size(), size_t(1));
        QVERIFY(env->messages[0].text.startsWith(QStringLiteral("Il testo incollato era troppo lungo")));
        QVERIFY(f.RichTextBox1->Text().endsWith(enorme.left(kPasteMaxChars)));

        // Near the box's bound, what is left of it; then nothing.
        f.RichTextBox1->setText(enorme.left(kBoxMaxCharsWithPaste - 100));
        incolla(enorme);
        QCOMPARE(f.RichTextBox1->Text().size(), kBoxMaxCharsWithPaste);
        QCOMPARE(env->messages.size(), size_t(2));
        incolla(enorme);
        QCOMPARE(f.RichTextBox1->Text().size(), kBoxMaxCharsWithPaste);
        QCOMPARE(env->messages.size(), size_t(3));

        // A drop likewise, into a box with room.
        f.RichTextBox1->setText(QString());
        QMimeData trascinato;
        trascinato.setText(enorme);
        QDragEnterEvent entra(QPoint(5, 5), Qt::CopyAction, &trascinato, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(box->viewport(), &entra);
        QDragMoveEvent muovi(QPoint(5, 5), Qt::CopyAction, &trascinato, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(box->viewport(), &muovi);
        QDropEvent lascia(QPointF(5, 5), Qt::CopyAction, &trascinato, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(box->viewport(), &lascia);
        QCoreApplication::processEvents();
        QCOMPARE(f.RichTextBox1->Text().size(), kPasteMaxChars);
        QCOMPARE(env->messages.size(), size_t(4));
        QGuiApplication::clipboard()->clear();
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
        QVERIFY(rtf.contains("Numero pi\\'f9 grande: 10")); // in the code page the file declares
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
        // The file that could not be written is named, as every such file is.
        QCOMPARE(env->messages[0].text, QStringLiteral("Il registro degli esercizi non è stato salvato."));
        QCOMPARE(env->messages[1].text, QStringLiteral("Il registro degli esercizi non è stato salvato.\r\n") + risposta);
        for (const auto &m : env->messages) {
            QCOMPARE(m.style, int(platform::vbCritical));
            QCOMPARE(m.title, QStringLiteral("Brivomarte"));
        }
        QCOMPARE(f.RichTextBox1->Text(), prima);
    }

    // A pupil picked from a list in capitals is named so at the head of the record; the
    // folder of the pupil's records keeps the spelling of the profile's file.
    void pupilAsPickedFolderAsTheFile()
    {
        NomeUtente = QStringLiteral("ANNA");
        auto &f = apri();
        QCOMPARE(righe(f).value(0), QStringLiteral("ANNA"));
        verificaIntestazione(f);
        risposta = uscite.filePath(QStringLiteral("anna.rtf"));
        f.Command2->raiseClick();
        QCOMPARE(cartelleDialogo, std::vector<QString>{env->file(QStringLiteral("BrivoMarte/dati/Anna"))});
        QVERIFY(env->messages.empty());
    }

    // Twins whose names differ by letter case alone each keep their own records folder; a
    // pupil's folder copied in under another letter case is still the pupil's, as long as
    // no other profile is named as it is.
    void eachProfileItsOwnRecordsFolder_data()
    {
        // The profiles, alike but for letter case as they come in copied; what lies in the
        // records folder ("x/" a folder holding a record of its own, "x" a plain file); and
        // each save in turn, "pupil=folder its dialog opens in" (no folder: nothing saved).
        QTest::addColumn<QStringList>("profili");
        QTest::addColumn<QStringList>("presenti");
        QTest::addColumn<QStringList>("salvataggi");
        QTest::newRow("one pupil, its folder copied in under another case")
            << QStringList{"Anna00003"} << QStringList{"ANNA00003/"} << QStringList{"Anna00003=ANNA00003"};
        QTest::newRow("the twin named as the folder has it")
            << QStringList{"Anna00003", "ANNA00003"} << QStringList{"ANNA00003/"}
            << QStringList{"Anna00003=Anna00003", "ANNA00003=ANNA00003", "Anna00003=Anna00003"};
        QTest::newRow("twins, a folder of a third case is neither's")
            << QStringList{"Anna00003", "ANNA00003"} << QStringList{"anna00003/"}
            << QStringList{"Anna00003=Anna00003", "ANNA00003=ANNA00003"};
        QTest::newRow("its own folder beside one of another case")
            << QStringList{"Anna"} << QStringList{"ANNA/", "Anna/"} << QStringList{"Anna=Anna"};
        QTest::newRow("a plain file of another case") << QStringList{"Anna"} << QStringList{"anna"} << QStringList{"Anna=Anna"};
        QTest::newRow("a plain file of its name") << QStringList{"Anna"} << QStringList{"Anna"} << QStringList{"Anna="};
    }
    void eachProfileItsOwnRecordsFolder()
    {
        QFETCH(QStringList, profili);
        QFETCH(QStringList, presenti);
        QFETCH(QStringList, salvataggi);
        const QString dati = env->file(QStringLiteral("BrivoMarte/dati/"));
        for (const QString &p : profili) writeBytes(env->file(QStringLiteral("BrivoMarte/utenti/") + p + QStringLiteral(".ini")), "x");
        for (const QString &p : presenti) {
            const bool cartella = p.endsWith(QLatin1Char('/'));
            QVERIFY(cartella ? QDir().mkpath(dati + p) && writeBytes(dati + p + QStringLiteral("suo.rtf"), "x")
                             : writeBytes(dati + p, "non una cartella"));
        }
        // The dialog saves in the folder it opens in.
        platform::setFileDialogHandler([this](int, const QString &cartella) {
            cartelleDialogo.push_back(QDir::cleanPath(cartella));
            return cartella + QStringLiteral("/registro.rtf");
        });
        const QString leggimi = env->file(QStringLiteral("leggimi.txt"));
        QStringList riempite;
        for (const QString &s : salvataggi) {
            const QString alunno = s.section(QLatin1Char('='), 0, 0), cartella = s.section(QLatin1Char('='), 1);
            NomeUtente = alunno;
            FileUtente = PercorsoProfilo(alunno);
            const bool nuova = !QFileInfo::exists(dati + cartella);
            QFile::remove(leggimi);
            cartelleDialogo.clear();
            env->messages.clear();
            auto &f = apri();
            f.Command2->raiseClick();
            f.Unload();
            if (cartella.isEmpty()) {
                QVERIFY(cartelleDialogo.empty());
                QVERIFY(!env->messages.empty());
                continue;
            }
            QCOMPARE(cartelleDialogo, std::vector<QString>{QDir::cleanPath(dati + cartella)});
            QVERIFY(env->messages.empty());
            // The readme is put in place as a folder is made, and only then.
            QCOMPARE(QFileInfo::exists(leggimi), nuova);
            riempite << cartella;
        }
        // Whatever was there keeps its own, and takes only the saves that were to go there.
        for (const QString &p : presenti) {
            if (!p.endsWith(QLatin1Char('/'))) {
                QCOMPARE(readBytes(dati + p), QByteArray("non una cartella"));
                continue;
            }
            QStringList atteso{QStringLiteral("suo.rtf")};
            if (riempite.contains(p.chopped(1))) atteso.prepend(QStringLiteral("registro.rtf"));
            QCOMPARE(QDir(dati + p).entryList(QDir::Files, QDir::Name), atteso);
        }
    }

    void unsafeUserNameIsNoFolder()
    {
        // The records' folder is named as the profile's file: one that could lead out of the
        // records folder is never used as a path.
        NomeUtente = QStringLiteral("..");
        FileUtente = PercorsoProfilo(NomeUtente);
        auto &f = apri();
        risposta = uscite.filePath(QStringLiteral("x.rtf"));
        f.Command2->raiseClick();
        QCOMPARE(cartelleDialogo, std::vector<QString>{env->file(QStringLiteral("BrivoMarte/dati"))});
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

    // Run only as a child of refusedPrintJobIsReported, against the scheduler it started.
    void printOnTheDefaultPrinter()
    {
        const QByteArray atteso = qgetenv("BRIVO_PRINT_EXPECT");
        if (atteso.isEmpty()) QSKIP("run by refusedPrintJobIsReported");
        auto &f = apri();
        QTest::mouseClick(f.Command1->widget(), Qt::LeftButton, {}, QPoint(5, 5));
        if (atteso == "printed") {
            QVERIFY(env->messages.empty());
            return;
        }
        QCOMPARE(env->messages.size(), size_t(1));
        QCOMPARE(env->messages[0].text, QStringLiteral("La stampante non ha risposto: il testo non è stato stampato."));
    }

    void refusedPrintJobIsReported()
    {
        CupsPrivato cups;
        if (!cups.avvia()) QSKIP("no CUPS scheduler can be started here");
        const std::vector<std::pair<QString, QByteArray>> code = {
            {"rifiuta", "refused"}, {"ferma", "refused"}, {"funziona", "printed"}};
        for (const auto &[coda, atteso] : code) {
            // A scheduler started by an ordinary account runs its back-ends as that account
            // and may refuse it the administration: then there is nothing to print on.
            if (!cups.comando("lpadmin", {"-p", coda, "-E", "-v", "file://" + cups.uscita(coda), "-m",
                                          "drv:///sample.drv/generic.ppd"}))
                QSKIP("this account cannot add queues to its own CUPS scheduler");
        }
        QVERIFY(cups.comando("cupsreject", {"rifiuta"}));
        QVERIFY(cups.comando("cupsdisable", {"ferma"}));
        for (const auto &[coda, atteso] : code) {
            // The queue is this scheduler's default; the job runs in a process of its own,
            // since the CUPS library keeps the first scheduler it was shown.
            QVERIFY(cups.comando("lpadmin", {"-d", coda}));
            QProcessEnvironment e = cups.ambiente();
            e.insert(QStringLiteral("BRIVO_PRINT_EXPECT"), QString::fromLatin1(atteso));
            e.remove(QStringLiteral("PRINTER"));
            e.remove(QStringLiteral("LPDEST"));
            QProcess figlio;
            figlio.setProcessEnvironment(e);
            figlio.setProcessChannelMode(QProcess::MergedChannels);
            figlio.start(QCoreApplication::applicationFilePath(), {QStringLiteral("printOnTheDefaultPrinter")});
            QVERIFY(figlio.waitForFinished(60000));
            QVERIFY2(figlio.exitCode() == 0, qPrintable(coda + QLatin1Char('\n') + figlio.readAll()));
        }
        // The working queue really printed the text.
        QTRY_VERIFY_WITH_TIMEOUT(QFileInfo(cups.uscita("funziona")).size() > 1000, 60000);
        QVERIFY(!QFileInfo::exists(cups.uscita("rifiuta")));
        QVERIFY(!QFileInfo::exists(cups.uscita("ferma")));
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
