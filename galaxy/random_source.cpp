#include "galaxy/random_source.h"

namespace {

// The whole process shares this one state; 1 until the scene seeds it.
uint32_t RandomState = 1;

}  // namespace

void SeedRandom(uint32_t seed)
{
    RandomState = seed;
}

int NextRandom()
{
    // Linear congruential step in 32-bit unsigned arithmetic (wraps mod 2^32).
    RandomState = RandomState * 214013u + 2531011u;
    return static_cast<int>((RandomState >> 16) & 0x7FFFu);
}

double UnitRandom()
{
    return NextRandom() * UnitRandomStep;
}
