#include "ModuloPerIni.h"
#include "modLanguageSupport.h"
#include "platform/Files.h"
#include "platform/MessageBox.h"
#include "platform/Paths.h"
#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QScopedValueRollback>
#include <QStringList>
#include <cmath>
#include <optional>

QString TipoCarattere;
int RappresentazionePrima;
int RappresentazioneSeconda;
int NumeroMassimo;
bool SuoniAttivi;
bool TieniTraccia;
bool DisabilitaControlloAlunno;
double ColoreDisegno1;
double ColoreDisegno2;
double ColoreSfondo1;
double ColoreSfondo2;
double ColoreSfondoFinestra;
bool ColoreCasuale;
bool DisabilitaMousePersonalizzato;
int TipoScansione;
int VelocitaScansione;
bool RipartiDallInizio;
bool ConRiquadro;
int DimensioneRiquadro;
double ColoreBottoni;
double ColoreScansione;

QString NomeUtente;
QString FileUtente;

std::array<QString, kRigheMassime + 1> RigheEsercizi;
int NumeroRigheEsercizi = 0;

const QString CartellaRadice = platform::kSettingsRoot;
const QString CartellaProgramma = CartellaRadice + QStringLiteral("BrivoMarte\\");
const QString CartellaUtenti = CartellaProgramma + QStringLiteral("utenti\\");
const QString CartellaDati = CartellaProgramma + QStringLiteral("dati\\");

namespace {

struct Predefiniti {
    static constexpr int Rappresentazione1 = 1, Rappresentazione2 = 4, Massimo = 10, Scansione = 0;
    static constexpr int Velocita = 4, Riquadro = 9;
    static constexpr double Disegno1 = 255, Disegno2 = 16711680, Sfondo1 = 16777215, Sfondo2 = 12648447;
    static constexpr double SfondoFinestra = 16777152, Bottoni = -2147483633.0, ColScansione = 255;
};

// How a profile writes a number: a blank (or the minus sign) before it, a blank after it.
QString numero(double v)
{
    QString digits;
    if (v == std::floor(v) && std::fabs(v) < 1e15) digits = QString::number(qint64(std::fabs(v)));
    else digits = QString::number(std::fabs(v), 'g', 15);
    return (v < 0 ? QStringLiteral("-") : QStringLiteral(" ")) + digits + QLatin1Char(' ');
}

QString booleano(bool b) { return b ? QStringLiteral("True") : QStringLiteral("False"); }

std::optional<double> leggiNumero(const QString &line)
{
    bool ok = false;
    const double v = line.trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(v)) return std::nullopt;
    return v;
}

// A whole number that fits the 16-bit integers of the profile; else the read fails.
std::optional<int> leggiIntero(const QString &line)
{
    const auto v = leggiNumero(line);
    if (!v) return std::nullopt;
    const double r = std::nearbyint(*v);
    if (r < -32768 || r > 32767) return std::nullopt;
    return int(r);
}

// A colour is a 0x00BBGGRR value or a system colour (high bit set, entry in the low byte);
// anything else can only come from a hand-edited file and gives the setting's default.
double colore(double v, double predefinito)
{
    const double r = std::nearbyint(v);
    if (r >= 0 && r <= 16777215) return r;
    if (r >= -2147483648.0 && r <= -2147483648.0 + 255) return r;
    return predefinito;
}

// A profile is 21 short lines; anything much larger is not one.
constexpr qint64 kProfiloMassimo = 64 * 1024;

// The current profile's file on disk; empty when it is a link that leads out of the users
// folder, which is then neither read nor written through.
QString profiloSuDisco()
{
    const QString locale = platform::localPath(FileUtente);
    if (QFileInfo(locale).isSymLink() && !platform::liesInside(locale, platform::localPath(CartellaUtenti))) return {};
    return locale;
}

// Something that no profile can replace (a folder, a link leading out or nowhere, a pipe)
// stands at the current profile's place, `locale` on disk.
bool occupatoDaNonFile(const QString &locale)
{
    const QFileInfo occupante(locale);
    return (occupante.exists() || occupante.isSymLink()) && (profiloSuDisco().isEmpty() || !platform::isOrdinaryFile(locale));
}

// The current profile was read where such a thing stands: it was read as missing, so the
// settings in memory are nobody's but this run's. The teacher is told once per choice of
// that user that they cannot be saved.
bool g_profiloSenzaFile = false;
QString g_profiloLetto;          // the profile that was found for
QString g_profiloNuovo;          // a new user's profile (FileUtente), never read: looked at when saved
QString g_profiloSenzaFileDetto; // the profile it was told for

// Profiles whose failed write has just been told and is not told again (NonRidirlo).
int g_nonRidire = 0;

} // namespace

NonRidirlo::NonRidirlo() { ++g_nonRidire; }
NonRidirlo::~NonRidirlo() { --g_nonRidire; }

void ImpostaPredefiniti()
{
    TipoCarattere = QStringLiteral("maiuscolo");
    RappresentazionePrima = Predefiniti::Rappresentazione1;
    RappresentazioneSeconda = Predefiniti::Rappresentazione2;
    NumeroMassimo = Predefiniti::Massimo;
    SuoniAttivi = true;
    TieniTraccia = false;
    DisabilitaControlloAlunno = false;
    ColoreDisegno1 = Predefiniti::Disegno1;
    ColoreDisegno2 = Predefiniti::Disegno2;
    ColoreSfondo1 = Predefiniti::Sfondo1;
    ColoreSfondo2 = Predefiniti::Sfondo2;
    ColoreSfondoFinestra = Predefiniti::SfondoFinestra;
    ColoreCasuale = true;
    DisabilitaMousePersonalizzato = false;
    TipoScansione = Predefiniti::Scansione;
    VelocitaScansione = Predefiniti::Velocita;
    RipartiDallInizio = false;
    ConRiquadro = false;
    DimensioneRiquadro = Predefiniti::Riquadro;
    ColoreBottoni = Predefiniti::Bottoni;
    ColoreScansione = Predefiniti::ColScansione;
}

bool ScriviImpostazioni()
{
    const QStringList righe = {
        TipoCarattere,
        numero(RappresentazionePrima),
        numero(RappresentazioneSeconda),
        numero(NumeroMassimo),
        booleano(SuoniAttivi),
        booleano(TieniTraccia),
        // The default user's profile always lets the pupil choose.
        booleano(NomeUtente == QLatin1String("_predefinito") ? false : DisabilitaControlloAlunno),
        numero(ColoreDisegno1),
        numero(ColoreDisegno2),
        numero(ColoreSfondo1),
        numero(ColoreSfondo2),
        numero(ColoreSfondoFinestra),
        booleano(ColoreCasuale),
        booleano(DisabilitaMousePersonalizzato),
        numero(TipoScansione),
        numero(VelocitaScansione),
        booleano(RipartiDallInizio),
        booleano(ConRiquadro),
        numero(DimensioneRiquadro),
        numero(ColoreBottoni),
        numero(ColoreScansione),
    };
    QByteArray bytes;
    for (const QString &r : righe) bytes += r.toLatin1() + "\r\n";

    // A profile that already holds these bytes is left alone: every return to the menu
    // saves the current user, mostly unchanged, and a write forced to the disk can take
    // long on a busy one. A change is put in place whole, so a failed write (a full disk)
    // leaves the old profile as it was.
    const QString percorso = profiloSuDisco();
    if (platform::readRegularFile(percorso, kProfiloMassimo) == bytes) return true;
    if (platform::writeFileWhole(percorso, bytes)) return true;
    // A new user's profile, never read, is looked at now: what stands in its place held no
    // settings of its own either.
    const QString locale = platform::localPath(FileUtente);
    const bool nuovo = !g_profiloNuovo.isEmpty() && FileUtente == g_profiloNuovo;
    if (nuovo ? occupatoDaNonFile(locale) : locale == g_profiloLetto && g_profiloSenzaFile) {
        if (g_profiloSenzaFileDetto != locale) {
            g_profiloSenzaFileDetto = locale;
            platform::MsgBox(TestoProfiloSenzaFile() + QStringLiteral("\r\n") + NomeUtente, platform::vbExclamation,
                             QStringLiteral("Brivomarte"));
        }
        return true;
    }
    if (g_nonRidire == 0)
        platform::MsgBox(MLSGetStringOr(QStringLiteral("0045"), QStringLiteral("Non è stato possibile salvare le impostazioni dell'utente."))
                             + QStringLiteral("\r\n") + NomeUtente,
                         platform::vbExclamation, QStringLiteral("Brivomarte"));
    return false;
}

void ProfiloNuovo() { g_profiloNuovo = FileUtente; }

QString TestoProfiloSenzaFile()
{
    return MLSGetStringOr(QStringLiteral("0060"), QStringLiteral("Le impostazioni di questo alunno non possono essere salvate: al "
                                                 "posto del suo file c'è una cartella, un collegamento che porta "
                                                 "altrove o un altro oggetto che non è un file."));
}

void LeggiImpostazioni()
{
    const QString locale = platform::localPath(FileUtente);
    g_profiloLetto = locale;
    g_profiloNuovo.clear();
    g_profiloSenzaFile = occupatoDaNonFile(locale);
    if (g_profiloSenzaFileDetto != locale) g_profiloSenzaFileDetto.clear();
    if (!EsisteFile(FileUtente)) ImpostaPredefiniti();
    // Only an ordinary file of a profile's size is read: a pipe or a device reads as missing.
    const auto bytes = platform::readRegularFile(profiloSuDisco(), kProfiloMassimo);
    if (!bytes) { ImpostaPredefiniti(); return; }
    QStringList righe = QString::fromLatin1(*bytes).split(QLatin1Char('\n'));
    for (QString &r : righe)
        if (r.endsWith(QLatin1Char('\r'))) r.chop(1);
    // A file that ends before line 21 has no line 22 start; "a\r\n" x 21 splits into 22 parts.
    const bool completo = righe.size() > 21 || (righe.size() == 21 && !righe[20].isEmpty());
    if (!completo) { ImpostaPredefiniti(); return; }

    auto intero = [&](int i) { return leggiIntero(righe[i]); };
    auto reale = [&](int i) { return leggiNumero(righe[i]); };
    auto vero = [&](int i) { return righe[i].startsWith(QLatin1Char('T')); };

    const auto r2 = intero(1), r3 = intero(2), r4 = intero(3), r15 = intero(14), r16 = intero(15), r19 = intero(18);
    const auto c8 = reale(7), c9 = reale(8), c10 = reale(9), c11 = reale(10), c12 = reale(11), c20 = reale(19), c21 = reale(20);
    if (!r2 || !r3 || !r4 || !r15 || !r16 || !r19 || !c8 || !c9 || !c10 || !c11 || !c12 || !c20 || !c21) {
        ImpostaPredefiniti();
        return;
    }

    TipoCarattere = righe[0].startsWith(QLatin1String("mai")) ? QStringLiteral("maiuscolo") : QStringLiteral("minuscolo");
    // Values outside what the configuration offers can only come from a hand-edited file:
    // they are brought back into range so that no window indexes out of bounds.
    RappresentazionePrima = (*r2 >= 0 && *r2 <= 7) ? *r2 : Predefiniti::Rappresentazione1;
    RappresentazioneSeconda = (*r3 >= 0 && *r3 <= 7) ? *r3 : Predefiniti::Rappresentazione2;
    NumeroMassimo = std::clamp(*r4, 2, 10);
    SuoniAttivi = vero(4);
    TieniTraccia = vero(5);
    DisabilitaControlloAlunno = vero(6);
    ColoreDisegno1 = colore(*c8, Predefiniti::Disegno1);
    ColoreDisegno2 = colore(*c9, Predefiniti::Disegno2);
    ColoreSfondo1 = colore(*c10, Predefiniti::Sfondo1);
    ColoreSfondo2 = colore(*c11, Predefiniti::Sfondo2);
    ColoreSfondoFinestra = colore(*c12, Predefiniti::SfondoFinestra);
    ColoreCasuale = vero(12);
    DisabilitaMousePersonalizzato = vero(13);
    TipoScansione = (*r15 >= 0 && *r15 <= 2) ? *r15 : Predefiniti::Scansione;
    VelocitaScansione = std::clamp(*r16, 4, 60);
    RipartiDallInizio = vero(16);
    ConRiquadro = vero(17);
    DimensioneRiquadro = std::clamp(*r19, 3, 30);
    ColoreBottoni = colore(*c20, Predefiniti::Bottoni);
    ColoreScansione = colore(*c21, Predefiniti::ColScansione);
}

bool EsisteCartella(const QString &Percorso)
{
    if (Percorso.isEmpty()) return false;
    const QFileInfo fi(platform::localPath(Percorso));
    return fi.exists() && fi.isDir();
}

bool EsisteFile(const QString &Percorso)
{
    if (Percorso.isEmpty()) return false;
    const QString locale = platform::localPath(Percorso);
    return platform::isOrdinaryFile(locale) && !QFileInfo(locale).isHidden();
}

namespace {

// Makes one folder of the very name given (its parent exists; a folder alike but for letter
// case may be another's) unless it is there; false, with the user told, when it cannot be
// made. `fatta` tells whether it was made now.
bool creaSoloCartella(const QString &Percorso, bool *fatta = nullptr)
{
    QString locale = platform::localPathAsSpelt(Percorso);
    if (locale.endsWith(QLatin1Char('/'))) locale.chop(1);
    const QFileInfo fi(locale);
    if (fatta) *fatta = false;
    if (fi.isDir()) return true;
    if (QDir(fi.absolutePath()).mkdir(fi.fileName())) {
        if (fatta) *fatta = true;
        return true;
    }
    platform::MsgBox(MLSGetStringOr(QStringLiteral("0046"), QStringLiteral("Non è stato possibile creare la cartella delle impostazioni:"))
                         + QStringLiteral("\r\n") + locale,
                     platform::vbExclamation, QStringLiteral("Brivomarte"));
    return false;
}

// Puts the readme of the settings root in place. It is a courtesy: a readme that cannot be
// written is reported, but the folders are there and the program goes on.
void scriviLeggimi()
{
    QByteArray bytes;
    for (const QString &r : {MLSGetString(QStringLiteral("0031")), QStringLiteral(" "), MLSGetString(QStringLiteral("0032")),
                             QStringLiteral(" "), MLSGetString(QStringLiteral("0033"))})
        bytes += r.toUtf8() + "\r\n";
    const QString leggimi = platform::localPath(CartellaRadice + QStringLiteral("leggimi.txt"));
    if (!platform::writeFileWhole(leggimi, bytes)) AvvisaFileNonScritto(leggimi);
}

} // namespace

void CreaCartelle()
{
    // The readme is put in place once for the whole tree, however many folders it took:
    // each write is forced to the disk, and a first start makes three or four folders.
    bool fatta = false;
    for (const QString &p : {CartellaRadice, CartellaProgramma, CartellaUtenti, CartellaDati}) {
        if (EsisteCartella(p)) continue;
        // A folder that cannot be made leaves its subfolders impossible too: say it once.
        if (!creaSoloCartella(p)) break;
        fatta = true;
    }
    if (fatta) scriviLeggimi();
}

bool CreaCartella(const QString &Percorso)
{
    bool fatta = false;
    if (!creaSoloCartella(Percorso, &fatta)) return false;
    if (fatta) scriviLeggimi();
    return true;
}

void AvvisaFileNonScritto(const QString &percorso, const QString &conseguenza, int stile)
{
    const QString testo = !conseguenza.isEmpty()
                              ? conseguenza
                              : MLSGetStringOr(QStringLiteral("0047"), QStringLiteral("Non è stato possibile scrivere il file:"));
    platform::MsgBox(testo + QStringLiteral("\r\n") + percorso, stile, QStringLiteral("Brivomarte"));
}

bool NomeUtenteSicuro(const QString &nome)
{
    return !nome.isEmpty() && !nome.startsWith(QLatin1Char('.')) && !nome.contains(QLatin1Char('/'))
           && !nome.contains(QLatin1Char('\\')) && !nome.contains(QChar(0));
}

void UtentiEsistenti::aggiorna()
{
    // Every entry of the folder takes its name, whatever it is: a profile written under the
    // name of a pipe or a dangling link could never be saved.
    QStringList voci, elencabili;
    platform::listEveryEntry(CartellaUtenti, QStringLiteral("*.ini"), voci);
    platform::listFolderInside(CartellaUtenti, QStringLiteral("*.ini"), elencabili);
    auto nome = [](const QString &voce) { return platform::chiaveNome(voce.left(voce.size() - 4)); };
    nomi_.clear();
    for (const QString &v : voci) nomi_.insert(nome(v));
    senzaFile_ = nomi_;
    for (const QString &v : elencabili) senzaFile_.remove(nome(v));
}

bool UtentiEsistenti::contiene(const QString &nome) const
{
    // Two pupils that look alike in a list could not be told apart there; and the profile
    // paths are found whatever their letter case.
    static const QString predefinito = platform::chiaveNome(QStringLiteral("_predefinito"));
    const QString chiave = platform::chiaveNome(nome);
    return chiave == predefinito || nomi_.contains(chiave);
}

bool UtentiEsistenti::senzaFile(const QString &nome) const { return senzaFile_.contains(platform::chiaveNome(nome)); }

QStringList ElencoUtenti(bool conPredefinito)
{
    QStringList voci, nomi;
    // A users folder that cannot be listed gives no users.
    if (!platform::listFolderInside(CartellaUtenti, QStringLiteral("*.ini"), voci)) return nomi;
    // The same listing gives the same users: the menu asks at every turn, and a folder of
    // thousands of profiles is long to go over.
    static QStringList ultimeVoci[2], ultimiNomi[2];
    if (voci == ultimeVoci[conPredefinito]) return ultimiNomi[conPredefinito];
    for (const QString &v : voci) {
        const QString nome = v.left(v.size() - 4);
        if (!conPredefinito && nome.compare(QLatin1String("_predefinito"), Qt::CaseInsensitive) == 0) continue;
        // Every profile that can be opened as one is listed, however it came in; a hidden
        // file's, or a name that would lead elsewhere, cannot be picked.
        if (!NomeUtenteSicuro(nome)) continue;
        nomi << nome;
    }
    ultimeVoci[conPredefinito] = voci;
    ultimiNomi[conPredefinito] = nomi;
    return nomi;
}

QStringList NomiDaMostrare(const QStringList &utenti, bool maiuscolo)
{
    if (!maiuscolo) return utenti;
    // The same users as one of the last two times (the menu's list and the configuration's)
    // are shown as then.
    static QStringList ultimi[2], ultimeVoci[2];
    static int prossimo = 0;
    for (int k = 0; k < 2; ++k)
        if (utenti == ultimi[k]) return ultimeVoci[k];
    QStringList voci;
    voci.reserve(utenti.size());
    QHash<QString, int> quante;
    quante.reserve(utenti.size());
    for (const QString &u : utenti) ++quante[voci.emplace_back(u.toUpper())];
    for (qsizetype i = 0; i < voci.size(); ++i)
        if (quante.value(voci[i]) > 1) voci[i] = utenti[i];
    ultimi[prossimo] = utenti;
    ultimeVoci[prossimo] = voci;
    prossimo = 1 - prossimo;
    return voci;
}

QString PercorsoProfilo(const QString &nome) { return CartellaUtenti + nome + QStringLiteral(".ini"); }

QString NomeDelProfilo()
{
    // The file's name less its extension; no profile chosen yet, no name.
    const QString file = FileUtente.section(QLatin1Char('\\'), -1);
    return file.size() > 4 ? file.chopped(4) : QString();
}

namespace {
// The last header was written: the pieces of its exercise follow it. Once a header is
// refused, its exercise's pieces are written nowhere, rather than onto the line before.
bool g_intestazioneScritta = false;
bool g_registroPienoDetto = false;
}

bool ScriviIntestazione(const QString &testo)
{
    if (NumeroRigheEsercizi < 0 || NumeroRigheEsercizi + 2 > kRigheMassime) {
        g_intestazioneScritta = false;
        if (!g_registroPienoDetto) {
            g_registroPienoDetto = true;
            platform::MsgBox(MLSGetStringOr(QStringLiteral("0058"), QStringLiteral("Il registro degli esercizi è pieno: gli esercizi che "
                                                                   "seguono non vengono più registrati.")),
                             platform::vbExclamation, QStringLiteral("Brivomarte"));
        }
        return false;
    }
    ++NumeroRigheEsercizi;
    RigheEsercizi[NumeroRigheEsercizi] = testo;
    ++NumeroRigheEsercizi;
    g_intestazioneScritta = true;
    return true;
}

void AggiungiAlRegistro(const QString &pezzo)
{
    if (!g_intestazioneScritta || NumeroRigheEsercizi < 0 || NumeroRigheEsercizi > kRigheMassime) return;
    RigheEsercizi[NumeroRigheEsercizi] += pezzo;
}

void SvuotaRegistro()
{
    for (int i = 0; i <= std::clamp(NumeroRigheEsercizi, 0, kRigheMassime); ++i) RigheEsercizi[i].clear();
    NumeroRigheEsercizi = 0;
    g_intestazioneScritta = false;
    g_registroPienoDetto = false;
}
