#pragma once
// One star, and the colour classes and schemes that tint a galaxy.

struct StarRecord {
    double X, Y, Z;          // in the galaxy's own frame
    double Red, Green, Blue;
    double Size;             // 1.0 to 2.0
};

enum ColourClass : int { RedStar = 0, YellowStar = 1, WhiteStar = 2, BlueStar = 3 };
enum ColourScheme : int { BlueScheme = 0, WhiteScheme = 1, YellowScheme = 2, RedScheme = 3 };

// The class a scheme gives to a percentile draw p (0 to 99).
ColourClass ColourClassFor(ColourScheme scheme, int p);

// One draw: sets Red, Green and Blue from the scheme.
void PickStarColour(StarRecord& star, ColourScheme scheme);
// Colour draw, then size draw: the last two draws of every star.
void FinishStar(StarRecord& star, ColourScheme scheme);
