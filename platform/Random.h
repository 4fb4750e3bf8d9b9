#pragma once
// The program's one random generator, seeded once at start.
namespace platform {
void randomize();               // from the clock
void randomSeed(unsigned seed); // tests
double rnd();                   // uniform in [0, 1)
int randomInt(int lo, int hi);  // uniform whole number in [lo, hi]
}
