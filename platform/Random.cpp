#include "Random.h"
#include <chrono>
#include <random>

namespace platform {

namespace {
std::mt19937 &gen()
{
    static std::mt19937 g(5489u);
    return g;
}
}

void randomize() { gen().seed(unsigned(std::chrono::steady_clock::now().time_since_epoch().count() ^ std::random_device{}())); }
void randomSeed(unsigned seed) { gen().seed(seed); }
double rnd() { return std::uniform_real_distribution<double>(0.0, 1.0)(gen()); }
int randomInt(int lo, int hi)
{
    if (hi < lo) return lo;
    return std::uniform_int_distribution<int>(lo, hi)(gen());
}

} // namespace platform
