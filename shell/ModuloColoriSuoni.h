#pragma once
// Feedback: a pause that keeps the windows alive, the right and wrong sounds, and a random
// background colour.
#include <cstdint>

void Attendi(double Secondi);
void SuonoEsatto();
void SuonoErrato();
int32_t GeneraColoreCasuale();
