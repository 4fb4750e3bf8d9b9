#pragma once
// Start-up and the program-wide state the windows share.
#include "clsResize.h"
#include <QString>
#include <array>
#include <memory>

extern std::unique_ptr<clsResize> Ridimensionatore;
extern int Esatti;              // right answers since the menu was last activated
extern int Errati;              // wrong answers
extern int EsercizioScelto;     // 0..4 exercises 1..5, 5 the exit
extern int NumeroCorrente;      // the quantity of the current round
extern std::array<QString, 11> NumeriInLettere;

// False when the program must end at once (another copy is running).
bool AvviaSistema();
void CaricaNumeriInLettere();
// The program ends: the shared layout object is released and every window unloaded.
void TerminaProgramma();

// Counters saturate instead of overflowing.
void ContaEsatto();
void ContaErrato();
