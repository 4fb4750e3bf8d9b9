#pragma once
// The current user's settings, the profile files that keep them, the settings folders,
// and the activity record of this run.
#include <QString>
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
// False when the profile could not be written; the user has been told.
bool ScriviImpostazioni();
void LeggiImpostazioni();
void CreaCartelle();
// False when the folder or the readme could not be written; the user has been told.
bool CreaCartella(const QString &Percorso);
bool EsisteCartella(const QString &Percorso);
bool EsisteFile(const QString &Percorso);
// Tells the user that a file (given by its path on disk) could not be written and was
// left as it was.
void AvvisaFileNonScritto(const QString &percorso);

// A user name is used as a file name only when it cannot lead out of the users folder.
bool NomeUtenteSicuro(const QString &nome);
// The profile path the user switches build.
QString PercorsoProfilo(const QString &nome);

// Writers of the activity record. A header takes two lines (the header and the line the
// exercise then fills); it is refused, returning false, when it would not fit.
bool ScriviIntestazione(const QString &testo);
void AggiungiAlRegistro(const QString &pezzo);
void SvuotaRegistro();
