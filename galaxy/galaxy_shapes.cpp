#include "galaxy/galaxy_shapes.h"

#include <cmath>

#include "galaxy/random_source.h"

namespace {

constexpr double TwoPi = 6.283185307179586;

// The derived values depend only on the four parameters; the sweep is
// already pi + the shape's constant.
void DeriveArm(ArmParameters& arm)
{
    arm.EndAngle = arm.StartAngle + arm.Sweep;
    arm.Spread = 2.0 / arm.Sweep;
    arm.Scale = 2.0 / std::exp(arm.Growth * arm.StartAngle);
}

struct ArmShape {
    double SweepExtra;
    double Growth;
};

// Indexed by GalaxyShape, for the spiral shapes only.
constexpr ArmShape SpiralArms[7] = {
    {0.0, 0.0},   // Ellipsoid: no arms
    {0.0, 0.0},   // Sphere: no arms
    {8.5, 0.13},  // TightSpiral
    {4.5, 0.21},  // MediumSpiral
    {0.2, 0.52},  // OpenSpiral
    {3.5, 0.25},  // BarredSpiral
    {1.3, 0.3},   // FourArmSpiral
};

void FillTwoArmSpiral(StarRecord* stars, int n, GalaxyShape shape, ColourScheme scheme)
{
    const int q = n / 10;
    const ArmShape& a = SpiralArms[shape];
    // The barred spiral's bulge is the bar, and its arms are pushed out to
    // the bar's ends.
    const bool barred = shape == BarredSpiral;
    const double shift = barred ? 2.2 : 0.0;
    FillBall(stars, 0, 4 * q, 2.0, barred ? 4.0 : 2.0, 2.0, scheme);
    FillArm(stars, 4 * q, 7 * q, MakeArm(Pi / 2, a.SweepExtra, a.Growth, shift), scheme);
    FillArm(stars, 7 * q, n, MakeArm(3 * Pi / 2, a.SweepExtra, a.Growth, -shift), scheme);
}

void FillFourArmSpiral(StarRecord* stars, int n, ColourScheme scheme)
{
    const int q = n / 12;
    const ArmShape& a = SpiralArms[FourArmSpiral];
    FillBall(stars, 0, 4 * q, 2.0, 2.0, 2.0, scheme);
    FillArm(stars, 4 * q, 6 * q, MakeArm(Pi / 2, a.SweepExtra, a.Growth, 0.0), scheme);
    FillArm(stars, 6 * q, 8 * q, MakeArm(Pi, a.SweepExtra, a.Growth, 0.0), scheme);
    FillArm(stars, 8 * q, 10 * q, MakeArm(3 * Pi / 2, a.SweepExtra, a.Growth, 0.0), scheme);
    FillArm(stars, 10 * q, n, MakeArm(2 * Pi, a.SweepExtra, a.Growth, 0.0), scheme);
}

}  // namespace

ArmParameters MakeArm(double startAngle, double sweepExtra, double growth, double shiftX)
{
    ArmParameters arm{};
    arm.StartAngle = startAngle;
    arm.Sweep = Pi + sweepExtra;
    arm.Growth = growth;
    arm.ShiftX = shiftX;
    DeriveArm(arm);
    return arm;
}

void FillBall(StarRecord* stars, int first, int end, double rx, double ry, double rz, ColourScheme scheme)
{
    for (int i = first; i < end; ++i) {
        StarRecord& star = stars[i];
        const double phi = UnitRandom() * TwoPi;
        const double theta = UnitRandom() * Pi;
        const double r = UnitRandom();
        // Radius and polar angle are uniform on purpose: the ball is densest
        // at its centre and along its y axis.
        star.X = rx * r * std::sin(theta) * std::sin(phi);
        star.Y = ry * r * std::cos(theta);
        star.Z = rz * r * std::sin(theta) * std::cos(phi);
        FinishStar(star, scheme);
    }
}

void FillArm(StarRecord* stars, int first, int end, const ArmParameters& parameters, ColourScheme scheme)
{
    if (end <= first) return;
    // Derived once, before the first star, from the arm's four parameters.
    ArmParameters arm = parameters;
    DeriveArm(arm);
    for (int i = first; i < end; ++i) {
        StarRecord& star = stars[i];
        const double theta = arm.StartAngle + UnitRandom() * arm.Sweep;
        // This draw is unused, but it keeps every later draw in its place in
        // the stream, so a seed gives the same sky as it always has.
        (void)NextRandom();
        // Scatter about the spiral shrinks to nothing at the arm's tip.
        const double h = arm.EndAngle - theta;
        star.Z = (UnitRandom() - 0.5) * h * arm.Spread;
        const double rho = arm.Scale * std::exp(arm.Growth * theta);
        star.X = (UnitRandom() - 0.5) * h * arm.Spread + rho * std::cos(theta) + arm.ShiftX;
        star.Y = (UnitRandom() - 0.5) * h * arm.Spread + rho * std::sin(theta);
        FinishStar(star, scheme);
    }
}

void GenerateGalaxy(StarRecord* stars, int n, GalaxyShape shape, ColourScheme scheme)
{
    if (n <= 0 || stars == nullptr) return;
    switch (shape) {
    case Ellipsoid:
        FillBall(stars, 0, n, 9.6, 3.2, 3.2, scheme);
        break;
    case Sphere:
        FillBall(stars, 0, n, 4.0, 4.0, 4.0, scheme);
        break;
    case TightSpiral:
    case MediumSpiral:
    case OpenSpiral:
    case BarredSpiral:
        FillTwoArmSpiral(stars, n, shape, scheme);
        break;
    case FourArmSpiral:
        FillFourArmSpiral(stars, n, scheme);
        break;
    }
}
