// The colour and file dialogs as the windows call them, and opening a document.
#include "TestSupport.h"
#include "CommDlgs.h"
#include "ModuloPerIni.h"
#include "forms/Form.h"
#include "platform/Dialogs.h"
#include "platform/Paths.h"
#include <QAbstractButton>
#include <QColorDialog>
#include <QDialogButtonBox>
#include <QDesktopServices>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QSettings>
#include <QTimer>
#include <QUrl>
#include <QtTest>
#include <functional>
#include <memory>

using namespace forms;

namespace {

// A window with the hidden label the configuration passes as the colour target.
class FormProva : public Form {
public:
    FormProva() : Form(QStringLiteral("FormProva")) {}

protected:
    void layout(Layout &l) override { l.add(Kind::Label, "LabelColore").at(0, 0, 600, 300).hidden().fore(0x00ABCDEF); }
};

// Works the modal dialogs from inside their own event loops: every few milliseconds
// `passo` is given the active modal widget, for as long as the returned poller lives. A
// dialog still open after a minute is cancelled, so that a failure cannot hang the test;
// a busy machine is far quicker than that.
std::unique_ptr<QTimer> alDialogo(std::function<void(QWidget *)> passo)
{
    auto t = std::make_unique<QTimer>();
    t->setInterval(5);
    auto inizio = std::make_shared<QElapsedTimer>();
    inizio->start();
    QObject::connect(t.get(), &QTimer::timeout, t.get(), [passo, inizio] {
        QWidget *w = QApplication::activeModalWidget();
        if (!w) return;
        if (inizio->elapsed() > 60000) {
            if (auto *d = qobject_cast<QDialog *>(w)) d->reject();
            return;
        }
        passo(w);
    });
    t->start();
    return t;
}

// Types a name into the file dialog and presses its OK button, through the dialog's own
// checks. The dialog fills its views in the background and may reset the typed name
// meanwhile, so the pollers repeat this until the dialog closes. The press is queued: the
// question it may ask runs its own event loop, in which the poller has to go on.
void scriviEConferma(QFileDialog *d, const QString &nome, bool &inCorso)
{
    if (inCorso) return;
    auto *campo = d->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
    if (!campo) return;
    campo->setText(nome);
    inCorso = true;
    QTimer::singleShot(0, d, [d, &inCorso] {
        const auto *bottoni = d->findChild<QDialogButtonBox *>();
        for (QAbstractButton *b : bottoni->buttons())
            if (bottoni->buttonRole(b) == QDialogButtonBox::AcceptRole && b->isEnabled()) b->click();
        inCorso = false;
    });
}

} // namespace

class TestDialoghi : public QObject {
    Q_OBJECT

    std::unique_ptr<Ambiente> env;
    std::unique_ptr<FormProva> form;
    Apertura apertura;
    Control *bersaglio() const { return form->control(QStringLiteral("LabelColore")); }

private slots:
    void init()
    {
        env = std::make_unique<Ambiente>();
        CreaCartelle();
        form = std::make_unique<FormProva>();
        form->Load();
        apertura.aperti.clear();
    }
    void cleanup()
    {
        platform::setColourDialogHandler(nullptr);
        platform::setFileDialogHandler(nullptr);
        QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
        form.reset();
        env.reset();
    }

    void chosenColourBecomesTheTextColour();
    void cancelledColourLeavesTheTarget();
    void customColoursStartBlackAtEveryCall();
    void fileDialogGetsModeAndFolder_data();
    void fileDialogGetsModeAndFolder();
    void realSaveDialogAddsTheExtensionAndAsksBeforeReplacing();
    void qtKeepsWhatItsDialogsRememberInTheTestsFolder();
    void documents();
};

void TestDialoghi::chosenColourBecomesTheTextColour()
{
    platform::setColourDialogHandler([] { return QColor(0x12, 0x34, 0x56); });
    QVERIFY(ScegliColore(form.get(), bersaglio()));
    // Red in the low byte.
    QCOMPARE(bersaglio()->ForeColor(), 0x00563412);
}

void TestDialoghi::cancelledColourLeavesTheTarget()
{
    platform::setColourDialogHandler([] { return QColor(); });
    QVERIFY(!ScegliColore(form.get(), bersaglio()));
    QCOMPARE(bersaglio()->ForeColor(), 0x00ABCDEF);
}

void TestDialoghi::customColoursStartBlackAtEveryCall()
{
    QCOMPARE(QColorDialog::customCount(), 16);
    for (int i = 0; i < 16; ++i) QColorDialog::setCustomColor(i, QColor(200, 10, i * 10));
    QList<QList<QRgb>> viste;
    platform::setColourDialogHandler([&] {
        QList<QRgb> v;
        for (int i = 0; i < 16; ++i) v << QColorDialog::customColor(i).rgb();
        viste << v;
        // What the user puts there is not kept for the next call.
        for (int i = 0; i < 16; ++i) QColorDialog::setCustomColor(i, QColor(i * 15, 255, 0));
        return QColor(1, 2, 3);
    });
    QVERIFY(ScegliColore(form.get(), bersaglio()));
    QVERIFY(ScegliColore(form.get(), bersaglio()));
    QCOMPARE(viste.size(), 2);
    const QList<QRgb> neri(16, qRgb(0, 0, 0));
    QCOMPARE(viste[0], neri);
    QCOMPARE(viste[1], neri);
}


void TestDialoghi::fileDialogGetsModeAndFolder_data()
{
    QTest::addColumn<int>("modo");
    QTest::addColumn<QString>("risposta");
    QTest::newRow("open") << 1 << "/tmp/scelto.rtf";
    QTest::newRow("save") << 2 << "/tmp/nuovo.rtf";
    QTest::newRow("cancelled") << 2 << "";
}

void TestDialoghi::fileDialogGetsModeAndFolder()
{
    QFETCH(int, modo);
    QFETCH(QString, risposta);
    int modoVisto = -1;
    QString cartellaVista;
    platform::setFileDialogHandler([&](int m, const QString &cartella) {
        modoVisto = m;
        cartellaVista = cartella;
        return risposta;
    });
    const QString filtro = QString(QChar(0)) + QStringLiteral("*.rtf") + QChar(0) + QChar(0);
    QCOMPARE(ScegliFile(form.get(), modo, QStringLiteral("Salva"), QString(), filtro, CartellaDati, QStringLiteral("rtf")),
             risposta);
    QCOMPARE(modoVisto, modo);
    // The folder as it is on this system's disk.
    QCOMPARE(cartellaVista, env->file(QStringLiteral("BrivoMarte/dati/")));
}


void TestDialoghi::realSaveDialogAddsTheExtensionAndAsksBeforeReplacing()
{
    const QString filtro = QStringLiteral("Documento RTF") + QChar(0) + QStringLiteral("*.rtf") + QChar(0) + QChar(0);
    const QString dati = env->file(QStringLiteral("BrivoMarte/dati"));
    QStringList domande;
    int risposteNo = 0;
    bool inCorso = false;
    const auto passo = [&](QWidget *w) {
        if (auto *d = qobject_cast<QFileDialog *>(w)) {
            QCOMPARE(d->directory().absolutePath(), dati);
            scriviEConferma(d, QStringLiteral("anna"), inCorso);
        } else if (auto *box = qobject_cast<QMessageBox *>(w)) {
            domande << box->text();
            // The first time "No": the dialog stays open, and the name is asked for again.
            box->button(risposteNo++ == 0 ? QMessageBox::No : QMessageBox::Yes)->click();
        }
    };
    auto salva = [&] {
        const auto poller = alDialogo(passo);
        return ScegliFile(form.get(), 2, QStringLiteral("Salva"), QString(), filtro, CartellaDati, QStringLiteral("rtf"));
    };

    // A name typed without an extension takes ".rtf"; a new file is not asked about.
    QCOMPARE(salva(), dati + QStringLiteral("/anna.rtf"));
    QVERIFY(domande.isEmpty());

    // The file is there now: the dialog asks before replacing it, and stays open on "No".
    writeBytes(dati + QStringLiteral("/anna.rtf"), "{\\rtf1 }");
    QCOMPARE(salva(), dati + QStringLiteral("/anna.rtf"));
    QCOMPARE(domande.size(), 2);
    QVERIFY2(domande[0].contains(QStringLiteral("anna.rtf")), qPrintable(domande[0]));
    QVERIFY(!QApplication::activeModalWidget());
}

void TestDialoghi::qtKeepsWhatItsDialogsRememberInTheTestsFolder()
{
    // The last folder and the custom colours of Qt's dialogs, never the user's own.
    const QString file = QSettings(QSettings::UserScope, QStringLiteral("QtProject")).fileName();
    QVERIFY2(file.startsWith(QDir::tempPath() + QLatin1Char('/')), qPrintable(file));
    QVERIFY2(!file.startsWith(QDir::homePath() + QStringLiteral("/.config/")), qPrintable(file));
}

void TestDialoghi::documents()
{
    QDesktopServices::setUrlHandler(QStringLiteral("file"), &apertura, "apri");
    const QString percorso = platform::programFolder() + QStringLiteral("\\documento.pdf");
    ApriDocumento(form.get(), percorso);
    QVERIFY(!platform::openDocument(percorso));
    QVERIFY(apertura.aperti.isEmpty());
    QVERIFY(env->messages.empty());

    writeBytes(env->program() + QStringLiteral("/documento.pdf"), "%PDF-1.4\n");
    ApriDocumento(form.get(), percorso);
    QCOMPARE(apertura.aperti, QList<QUrl>{QUrl::fromLocalFile(env->program() + QStringLiteral("/documento.pdf"))});
}

QTEST_MAIN(TestDialoghi)
#include "tst_dialoghi.moc"
