#pragma once
// The steps RenderFrame is made of, for the renderer's own files, the tests
// and the benchmark. Each leaves the resting GL state as it found it.
#include "galaxy/galaxy_set.h"

// TravelSpeed x 0.001, in single precision: the time scale of every flight path.
float FrameTimeScale();

// The offset of galaxy g from its base position (0, 0, -20) at flight phase p
// and time scale s. Galaxies 2 and above share the diagonal path.
void FlightOffset(int galaxy, int phase, float timeScale, double offset[3]);

// The background picture that BackgroundIndex selects, as a plate at depth 100.
void DrawBackgroundPlate();

// Places, spins and draws the text, then advances its phase and spin.
void DrawTextStep(float timeScale);

// Sets galaxy g's transform, advances its phase and spin and works out the
// billboard corners. Leaves the galaxy's transform in place.
void PlaceGalaxy(int galaxy, float timeScale);

// Draws the stars of a galaxy under the current transform and corners; the
// sprite texture is switched on and bound once for the whole galaxy.
void DrawGalaxyStars(const Galaxy& galaxy);
