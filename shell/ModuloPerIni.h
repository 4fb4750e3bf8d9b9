#pragma once
// The current user's settings, the profile files that keep them, the settings folders,
// and the activity record of this run.
#include "platform/Files.h"
#include "platform/MessageBox.h"
#include <QSet>
#include <QString>
#include <QStringList>
#include <array>

// ---- the 21 user settings, in the order of the profile file ----
extern QString TipoCarattere;            // "maiuscolo" or "minuscolo"
extern int RappresentazionePrima;        // 0..7
extern int RappresentazioneSeconda;      // 0..7
extern int NumeroMassimo;                // 2..10
extern bool SuoniAttivi;
extern bool TieniTraccia;
extern bool DisabilitaControlloAlunno;
extern double ColoreDisegno1;
extern double ColoreDisegno2;
extern double ColoreSfondo1;
extern double ColoreSfondo2;
extern double ColoreSfondoFinestra;
extern bool ColoreCasuale;
extern bool DisabilitaMousePersonalizzato;
extern int TipoScansione;                // 0 mouse, 1 manual scanning, 2 automatic scanning
extern int VelocitaScansione;            // quarter seconds, 4..60
extern bool RipartiDallInizio;
extern bool ConRiquadro;
extern int DimensioneRiquadro;           // 3..30
extern double ColoreBottoni;
extern double ColoreScansione;

// ---- the current user ----
extern QString NomeUtente;
extern QString FileUtente;

// ---- the activity record: lines 0..1000, line 0 never written ----
constexpr int kRigheMassime = 1000;
extern std::array<QString, kRigheMassime + 1> RigheEsercizi;
extern int NumeroRigheEsercizi;

// ---- folders ----
extern const QString CartellaRadice;   // the settings root
extern const QString CartellaProgramma; // under the root: the program's folder
extern const QString CartellaUtenti;   // one profile per user
extern const QString CartellaDati;     // saved activity records


void ImpostaPredefiniti();
// False when the profile could not be written; the user has been told. A profile that was
// read where something no file can replace stands (a folder, a link leading out, a pipe),
// or a new user's that finds such a thing in its place, held nothing of its own: the user
// is told once that it cannot be saved, and the result is true, so that the teacher can
// move on to another user.
bool ScriviImpostazioni();
// The current user (NomeUtente, FileUtente) is a new one, just named: its settings were not
// read from its profile, which the first save makes.
void ProfiloNuovo();
// What the user is told when a profile cannot be saved because something that no file can
// replace stands in its place.
QString TestoProfiloSenzaFile();
// While one lives, a profile that cannot be written is not told again: for a window that
// has told it and hands over to one that saves the same user again as it comes up.
class NonRidirlo {
public:
    NonRidirlo();
    ~NonRidirlo();
    NonRidirlo(const NonRidirlo &) = delete;
    NonRidirlo &operator=(const NonRidirlo &) = delete;
};
void LeggiImpostazioni();
// Makes the folders of the tree that are missing and, when it made any, puts the readme of
// the settings root in place, once.
void CreaCartelle();
// Makes one folder of the very name given, unless it is there, and puts the readme in place
// when it made it: a folder alike but for letter case is no such folder (it may be
// another's). False when the folder could not be made; a folder or a readme that could not
// be written has been told to the user.
bool CreaCartella(const QString &Percorso);
bool EsisteCartella(const QString &Percorso);
bool EsisteFile(const QString &Percorso);
// Tells the user that a file (given by its path on disk) could not be written and was
// left as it was; `conseguenza`, when given, says instead what that means to the user.
void AvvisaFileNonScritto(const QString &percorso, const QString &conseguenza = QString(),
                          int stile = platform::vbExclamation);

// What stands in the way of a name becoming a user's profile file name.
using EsitoNomeUtente = platform::EsitoNome;
constexpr int kLunghezzaMassimaNome = platform::kNomeMassimo;
inline EsitoNomeUtente ControllaNomeUtente(const QString &nome) { return platform::controllaNome(nome); }
// A name from the users folder is used to build paths (its profile, its records folder)
// only when it names one entry of a folder and nothing else: no path separator, which would
// lead elsewhere, no NUL, which ends a path given to the system, and no leading dot, which
// hides the file here (an empty name's ".ini", "." and ".." among them). A name the new
// user's check refuses (too long, two dots in a row, a device name of Windows) may still be
// a profile copied in from another computer, and is one.
bool NomeUtenteSicuro(const QString &nome);
// The users whose profiles the users folder holds, from one listing, so that a name can be
// checked at every key without a look at a folder of thousands of profiles.
class UtentiEsistenti {
public:
    void aggiorna(); // lists the folder again
    // True when the folder held an entry of that name with ".ini", of whatever kind (a
    // profile, a folder, a pipe, a dangling link...), or it is the default user's name:
    // names that a list could not tell apart are one (platform::chiaveNome).
    bool contiene(const QString &nome) const;
    // True when that entry is neither an ordinary file nor a folder of the users folder (a
    // pipe, a dangling link, a link leading out of the folder...), which the user lists
    // leave out.
    bool senzaFile(const QString &nome) const;

private:
    QSet<QString> nomi_;      // by their keys
    QSet<QString> senzaFile_; // by their keys
};
// The names of the profiles in the users folder that can be users' (NomeUtenteSicuro), as
// their files spell them, in name order without regard to letter case (names alike but for
// it in a fixed order); profiles that are ordinary files or folders of the users folder,
// not pipes, devices, dangling links or links leading out of the folder (such a profile is
// neither read nor written). The default user's only when asked for.
QStringList ElencoUtenti(bool conPredefinito);
// What a list shows for those users: in capitals when asked, except for names that
// capitals alone would make look alike, which are shown as their files spell them.
QStringList NomiDaMostrare(const QStringList &utenti, bool maiuscolo);
// The profile path the user switches build.
QString PercorsoProfilo(const QString &nome);
// The current user's name as the profile's file spells it (NomeUtente is the name as the
// user was picked, in capitals from a list that shows capitals).
QString NomeDelProfilo();

// Writers of the activity record. A header takes two lines (the header and the line the
// exercise then fills); it is refused, returning false, when it would not fit, and the
// teacher is told the first time. The pieces of an exercise whose header was refused are
// written nowhere.
bool ScriviIntestazione(const QString &testo);
void AggiungiAlRegistro(const QString &pezzo);
void SvuotaRegistro();
