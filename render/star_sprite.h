#pragma once
// One star as a camera-facing, textured square that fades from the star's
// colour at its centre to nothing, through a red fringe, at its corners.
#include "galaxy/star.h"

// Texturing on, with the star sprite picture bound: once before a galaxy's stars.
void BeginStarSprites();
// One triangle fan: the centre and five rim vertices. Needs BeginStarSprites
// and the galaxy's corner offsets in SceneState.
void DrawStarSprite(const StarRecord& star);
// Texturing off again: once after a galaxy's stars.
void EndStarSprites();
