#pragma once
// The one random stream of the process. Every random choice draws from it,
// in a fixed order, so one seed always gives the same sky.
#include <cstdint>

// The double nearest 1/32767: scales a draw onto 0.0 .. 1.0 with both ends exact.
inline constexpr double UnitRandomStep = 1.0 / 32767.0;

void SeedRandom(uint32_t seed);
// 0 to 32767.
int NextRandom();
// NextRandom() scaled onto the closed range 0.0 to 1.0.
double UnitRandom();
