#pragma once
// The seven galaxy shapes and the two kinds of section they are made of.
#include "galaxy/star.h"

enum GalaxyShape : int {
    Ellipsoid = 0,
    Sphere = 1,
    TightSpiral = 2,
    MediumSpiral = 3,
    OpenSpiral = 4,
    BarredSpiral = 5,
    FourArmSpiral = 6,
};

inline constexpr double Pi = 3.141592653589793;

// A logarithmic spiral arm. The last three fields are derived by MakeArm.
struct ArmParameters {
    double StartAngle;  // theta0
    double Sweep;       // pi + shape constant
    double Growth;      // k
    double ShiftX;      // dx
    double EndAngle;    // StartAngle + Sweep
    double Spread;      // 2 / Sweep
    double Scale;       // 2 / exp(Growth * StartAngle)
};

// Builds an arm whose sweep is pi + sweepExtra, with its derived values.
ArmParameters MakeArm(double startAngle, double sweepExtra, double growth, double shiftX);

void FillBall(StarRecord* stars, int first, int end, double rx, double ry, double rz, ColourScheme scheme);
void FillArm(StarRecord* stars, int first, int end, const ArmParameters& arm, ColourScheme scheme);
// Fills all n records of stars with the shape's sections, in index order.
void GenerateGalaxy(StarRecord* stars, int n, GalaxyShape shape, ColourScheme scheme);
