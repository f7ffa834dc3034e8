#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "galaxy/galaxy_shapes.h"
#include "galaxy/random_source.h"
#include "galaxy_test_support.h"

namespace {

constexpr double Epsilon = std::numeric_limits<double>::epsilon();
// A few ulps of slack for bounds that hold exactly in real arithmetic.
constexpr double Slack = 8 * Epsilon;

class GalaxyShapes : public GalaxyStateTest {};

// The shape's arm constants as the rows of the arm table.
struct ArmRow {
    const char* name;
    double startAngle, sweepExtra, growth, shiftX;
    double sweep, endAngle, spread, growthTimesStart;
};
const ArmRow ArmRows[] = {
    {"Tight 1", 1.5707963267948966, 8.5, 0.13, 0, 11.641592653589793, 13.21238898038469, 0.1717977994517169, 0.20420352248333656},
    {"Tight 2", 4.71238898038469, 8.5, 0.13, 0, 11.641592653589793, 16.353981633974485, 0.1717977994517169, 0.6126105674500096},
    {"Medium 1", 1.5707963267948966, 4.5, 0.21, 0, 7.641592653589793, 9.21238898038469, 0.26172554474759385, 0.32986722862692824},
    {"Medium 2", 4.71238898038469, 4.5, 0.21, 0, 7.641592653589793, 12.353981633974483, 0.26172554474759385, 0.9896016858807848},
    {"Open 1", 1.5707963267948966, 0.2, 0.52, 0, 3.3415926535897933, 4.91238898038469, 0.5985169969330186, 0.8168140899333463},
    {"Open 2", 4.71238898038469, 0.2, 0.52, 0, 3.3415926535897933, 8.053981633974484, 0.5985169969330186, 2.4504422698000385},
    {"Barred 1", 1.5707963267948966, 3.5, 0.25, 2.2, 6.641592653589793, 8.21238898038469, 0.3011325903763454, 0.39269908169872414},
    {"Barred 2", 4.71238898038469, 3.5, 0.25, -2.2, 6.641592653589793, 11.353981633974483, 0.3011325903763454, 1.1780972450961724},
    {"FourArm 1", 1.5707963267948966, 1.3, 0.3, 0, 4.441592653589793, 6.0123889803846895, 0.45028892921631525, 0.47123889803846897},
    {"FourArm 2", 3.141592653589793, 1.3, 0.3, 0, 4.441592653589793, 7.583185307179586, 0.45028892921631525, 0.9424777960769379},
    {"FourArm 3", 4.71238898038469, 1.3, 0.3, 0, 4.441592653589793, 9.153981633974482, 0.45028892921631525, 1.413716694115407},
    {"FourArm 4", 6.283185307179586, 1.3, 0.3, 0, 4.441592653589793, 10.72477796076938, 0.45028892921631525, 1.8849555921538759},
};

ArmParameters ArmOf(const ArmRow& row)
{
    return MakeArm(row.startAngle, row.sweepExtra, row.growth, row.shiftX);
}

TEST_F(GalaxyShapes, ArmParametersAreTheExactDoubles)
{
    EXPECT_EQ(Pi / 2, 1.5707963267948966);
    EXPECT_EQ(3 * Pi / 2, 4.71238898038469);
    for (const ArmRow& row : ArmRows) {
        const ArmParameters arm = ArmOf(row);
        EXPECT_EQ(arm.Sweep, row.sweep) << row.name;
        EXPECT_EQ(arm.EndAngle, row.endAngle) << row.name;
        EXPECT_EQ(arm.Spread, row.spread) << row.name;
        EXPECT_EQ(arm.Growth * arm.StartAngle, row.growthTimesStart) << row.name;
        EXPECT_EQ(arm.Scale, 2.0 / std::exp(row.growthTimesStart)) << row.name;
        EXPECT_EQ(arm.ShiftX, row.shiftX) << row.name;
    }
}

// The rules' arithmetic, product by product in the order they are written,
// replayed from the stream: a reordered product changes the last bits.
TEST_F(GalaxyShapes, StarsFollowTheFormulasToTheLastBit)
{
    constexpr double TwoPi = 6.283185307179586;
    const auto unit = [](int draw) { return draw * UnitRandomStep; };

    const std::vector<int> d = DrawsAfterSeed(4242, 15);
    StarRecord balls[3];
    SeedRandom(4242);
    FillBall(balls, 0, 3, 9.6, 3.2, 3.2, BlueScheme);
    for (int i = 0; i < 3; ++i) {
        const int* b = &d[5 * i];
        const double phi = unit(b[0]) * TwoPi;
        const double theta = unit(b[1]) * Pi;
        const double r = unit(b[2]);
        EXPECT_EQ(balls[i].X, 9.6 * r * std::sin(theta) * std::sin(phi)) << "ball star " << i;
        EXPECT_EQ(balls[i].Y, 3.2 * r * std::cos(theta)) << "ball star " << i;
        EXPECT_EQ(balls[i].Z, 3.2 * r * std::sin(theta) * std::cos(phi)) << "ball star " << i;
        EXPECT_EQ(balls[i].Size, 1.0 + unit(b[4])) << "ball star " << i;
    }

    const ArmRow& row = ArmRows[7];  // the barred spiral's second arm: dx is -2.2
    const std::vector<int> a = DrawsAfterSeed(4242, 21);
    StarRecord arms[3];
    SeedRandom(4242);
    FillArm(arms, 0, 3, ArmOf(row), BlueScheme);
    for (int i = 0; i < 3; ++i) {
        const int* s = &a[7 * i];
        const double theta = row.startAngle + unit(s[0]) * row.sweep;
        const double h = row.endAngle - theta;
        const double rho = 2 / std::exp(row.growthTimesStart) * std::exp(row.growth * theta);
        EXPECT_EQ(arms[i].Z, (unit(s[2]) - 0.5) * h * row.spread) << "arm star " << i;
        EXPECT_EQ(arms[i].X, (unit(s[3]) - 0.5) * h * row.spread + rho * std::cos(theta) + row.shiftX) << "arm star " << i;
        EXPECT_EQ(arms[i].Y, (unit(s[4]) - 0.5) * h * row.spread + rho * std::sin(theta)) << "arm star " << i;
        EXPECT_EQ(arms[i].Size, 1.0 + unit(s[6])) << "arm star " << i;
    }
}

bool SameStars(const std::vector<StarRecord>& a, const std::vector<StarRecord>& b, std::string& where)
{
    for (size_t i = 0; i < a.size(); ++i) {
        const StarRecord& s = a[i];
        const StarRecord& t = b[i];
        if (s.X != t.X || s.Y != t.Y || s.Z != t.Z || s.Red != t.Red || s.Green != t.Green ||
            s.Blue != t.Blue || s.Size != t.Size) {
            where = "star " + std::to_string(i);
            return false;
        }
    }
    return true;
}

// Each shape's sections over explicit index ranges, built from the same
// seed, must give exactly what the generator gives.
TEST_F(GalaxyShapes, SectionSplits)
{
    using Fill = void (*)(StarRecord*);
    struct Case {
        const char* name;
        GalaxyShape shape;
        int n;
        Fill fill;
    };
    const Case cases[] = {
        {"ellipsoid 1005", Ellipsoid, 1005, [](StarRecord* s) { FillBall(s, 0, 1005, 9.6, 3.2, 3.2, RedScheme); }},
        {"sphere 1005", Sphere, 1005, [](StarRecord* s) { FillBall(s, 0, 1005, 4, 4, 4, RedScheme); }},
        {"two-arm 1005", TightSpiral, 1005,
         [](StarRecord* s) {
             FillBall(s, 0, 400, 2, 2, 2, RedScheme);
             FillArm(s, 400, 700, ArmOf(ArmRows[0]), RedScheme);
             FillArm(s, 700, 1005, ArmOf(ArmRows[1]), RedScheme);
         }},
        {"two-arm 10", TightSpiral, 10,
         [](StarRecord* s) {
             FillBall(s, 0, 4, 2, 2, 2, RedScheme);
             FillArm(s, 4, 7, ArmOf(ArmRows[0]), RedScheme);
             FillArm(s, 7, 10, ArmOf(ArmRows[1]), RedScheme);
         }},
        {"two-arm 9", TightSpiral, 9, [](StarRecord* s) { FillArm(s, 0, 9, ArmOf(ArmRows[1]), RedScheme); }},
        {"barred 1005", BarredSpiral, 1005,
         [](StarRecord* s) {
             FillBall(s, 0, 400, 2, 4, 2, RedScheme);
             FillArm(s, 400, 700, ArmOf(ArmRows[6]), RedScheme);
             FillArm(s, 700, 1005, ArmOf(ArmRows[7]), RedScheme);
         }},
        {"four-arm 1005", FourArmSpiral, 1005,
         [](StarRecord* s) {
             FillBall(s, 0, 332, 2, 2, 2, RedScheme);
             FillArm(s, 332, 498, ArmOf(ArmRows[8]), RedScheme);
             FillArm(s, 498, 664, ArmOf(ArmRows[9]), RedScheme);
             FillArm(s, 664, 830, ArmOf(ArmRows[10]), RedScheme);
             FillArm(s, 830, 1005, ArmOf(ArmRows[11]), RedScheme);
         }},
        {"four-arm 11", FourArmSpiral, 11, [](StarRecord* s) { FillArm(s, 0, 11, ArmOf(ArmRows[11]), RedScheme); }},
        {"four-arm 12", FourArmSpiral, 12,
         [](StarRecord* s) {
             FillBall(s, 0, 4, 2, 2, 2, RedScheme);
             FillArm(s, 4, 6, ArmOf(ArmRows[8]), RedScheme);
             FillArm(s, 6, 8, ArmOf(ArmRows[9]), RedScheme);
             FillArm(s, 8, 10, ArmOf(ArmRows[10]), RedScheme);
             FillArm(s, 10, 12, ArmOf(ArmRows[11]), RedScheme);
         }},
    };
    for (const Case& c : cases) {
        std::vector<StarRecord> generated(c.n), expected(c.n);
        SeedRandom(2024);
        GenerateGalaxy(generated.data(), c.n, c.shape, RedScheme);
        const int after = NextRandom();
        SeedRandom(2024);
        c.fill(expected.data());
        EXPECT_EQ(NextRandom(), after) << c.name << ": the draws went out of step";
        std::string where;
        EXPECT_TRUE(SameStars(generated, expected, where)) << c.name << ": " << where;
    }
    // The other two-arm shapes use their own arms over the same ranges.
    for (GalaxyShape shape : {MediumSpiral, OpenSpiral}) {
        const ArmRow* arms = &ArmRows[2 * (shape - MediumSpiral) + 2];
        std::vector<StarRecord> generated(1005), expected(1005);
        SeedRandom(77);
        GenerateGalaxy(generated.data(), 1005, shape, BlueScheme);
        SeedRandom(77);
        FillBall(expected.data(), 0, 400, 2, 2, 2, BlueScheme);
        FillArm(expected.data(), 400, 700, ArmOf(arms[0]), BlueScheme);
        FillArm(expected.data(), 700, 1005, ArmOf(arms[1]), BlueScheme);
        std::string where;
        EXPECT_TRUE(SameStars(generated, expected, where)) << "shape " << shape << ": " << where;
    }
}

TEST_F(GalaxyShapes, DrawCounts)
{
    const struct {
        GalaxyShape shape;
        int n;
        int draws;
    } cases[] = {
        {Ellipsoid, 1000, 5000}, {Sphere, 1000, 5000},       {TightSpiral, 1000, 6200},
        {MediumSpiral, 1000, 6200}, {OpenSpiral, 1000, 6200}, {BarredSpiral, 1000, 6200},
        {FourArmSpiral, 1000, 6336}, {FourArmSpiral, 11, 77},  {TightSpiral, 0, 0},
        {Sphere, 0, 0},
    };
    for (const auto& c : cases) {
        std::vector<StarRecord> stars(c.n + 1);
        EXPECT_EQ(DrawsMadeBy(5, [&] { GenerateGalaxy(stars.data(), c.n, c.shape, WhiteScheme); }), c.draws)
            << "shape " << c.shape << ", n " << c.n;
    }
    StarRecord unused{};
    EXPECT_EQ(DrawsMadeBy(5, [&] { FillArm(&unused, 3, 3, ArmOf(ArmRows[0]), WhiteScheme); }), 0);
    EXPECT_EQ(DrawsMadeBy(5, [&] { FillBall(&unused, 4, 2, 1, 1, 1, WhiteScheme); }), 0);
}

// Every record up to n is written, and nothing past it.
TEST_F(GalaxyShapes, WritesExactlyTheGivenRecords)
{
    const double Unwritten = std::numeric_limits<double>::quiet_NaN();
    for (int shape = Ellipsoid; shape <= FourArmSpiral; ++shape) {
        for (int n : {1, 9, 10, 11, 12, 13, 1005}) {
            std::vector<StarRecord> stars(n + 1, StarRecord{Unwritten, Unwritten, Unwritten, Unwritten,
                                                            Unwritten, Unwritten, Unwritten});
            GenerateGalaxy(stars.data(), n, static_cast<GalaxyShape>(shape), YellowScheme);
            for (int i = 0; i < n; ++i) {
                const StarRecord& s = stars[i];
                ASSERT_FALSE(std::isnan(s.X) || std::isnan(s.Y) || std::isnan(s.Z) || std::isnan(s.Red) ||
                             std::isnan(s.Green) || std::isnan(s.Blue) || std::isnan(s.Size))
                    << "shape " << shape << ", n " << n << ", star " << i;
            }
            EXPECT_TRUE(std::isnan(stars[n].X)) << "shape " << shape << ", n " << n;
        }
    }
}

// (x/rx)^2 + (y/ry)^2 + (z/rz)^2 over stars first to end - 1, at most.
double LargestBallMeasure(const std::vector<StarRecord>& stars, int first, int end, double rx, double ry, double rz)
{
    double largest = 0;
    for (int i = first; i < end; ++i) {
        const StarRecord& s = stars[i];
        largest = std::max(largest, (s.X / rx) * (s.X / rx) + (s.Y / ry) * (s.Y / ry) + (s.Z / rz) * (s.Z / rz));
    }
    return largest;
}

TEST_F(GalaxyShapes, BallsStayWithinTheirRadii)
{
    const struct {
        GalaxyShape shape;
        int ballEnd;  // of 6000 stars
        double rx, ry, rz;
    } cases[] = {
        {Ellipsoid, 6000, 9.6, 3.2, 3.2},    {Sphere, 6000, 4, 4, 4},
        {TightSpiral, 2400, 2, 2, 2},        {MediumSpiral, 2400, 2, 2, 2},
        {OpenSpiral, 2400, 2, 2, 2},         {BarredSpiral, 2400, 2, 4, 2},
        {FourArmSpiral, 2000, 2, 2, 2},
    };
    for (const auto& c : cases) {
        std::vector<StarRecord> stars(6000);
        SeedRandom(31);
        GenerateGalaxy(stars.data(), 6000, c.shape, BlueScheme);
        const double largest = LargestBallMeasure(stars, 0, c.ballEnd, c.rx, c.ry, c.rz);
        EXPECT_LE(largest, 1.0 + Slack) << "shape " << c.shape;
        // And the ball is filled out towards its surface, not shrunk.
        EXPECT_GT(largest, 0.9) << "shape " << c.shape;
    }
}

// The spiral point of an arm at angle theta.
void SpiralPoint(const ArmParameters& arm, double theta, double& x, double& y)
{
    const double rho = arm.Scale * std::exp(arm.Growth * theta);
    x = rho * std::cos(theta) + arm.ShiftX;
    y = rho * std::sin(theta);
}

// Each star's angle is its first draw; replaying the stream gives it, and the
// star must lie within 1 of the spiral point at that angle in x, y and z.
TEST_F(GalaxyShapes, ArmScatterIsAtMostOneAboutTheSpiral)
{
    constexpr int Count = 3000;
    for (const ArmRow& row : ArmRows) {
        const ArmParameters arm = ArmOf(row);
        const std::vector<int> stream = DrawsAfterSeed(17, 7 * Count);
        std::vector<StarRecord> stars(Count);
        SeedRandom(17);
        FillArm(stars.data(), 0, Count, arm, WhiteScheme);
        double largest = 0;
        for (int i = 0; i < Count; ++i) {
            const double theta = arm.StartAngle + stream[7 * i] * UnitRandomStep * arm.Sweep;
            double x, y;
            SpiralPoint(arm, theta, x, y);
            const StarRecord& s = stars[i];
            const double scale = 1 + std::max(std::abs(x), std::abs(y));
            ASSERT_LE(std::abs(s.X - x), 1.0 + Slack * scale) << row.name << ", star " << i;
            ASSERT_LE(std::abs(s.Y - y), 1.0 + Slack * scale) << row.name << ", star " << i;
            ASSERT_LE(std::abs(s.Z), 1.0) << row.name << ", star " << i;
            largest = std::max({largest, std::abs(s.X - x), std::abs(s.Y - y), std::abs(s.Z)});
        }
        EXPECT_GT(largest, 0.8) << row.name << ": the scatter has shrunk";
    }
}

// An angle draw of 32767 puts a star at the very tip, where there is no
// scatter left: exactly on the spiral, in the disc's plane.
TEST_F(GalaxyShapes, TipStarSitsOnTheSpiral)
{
    const uint32_t tipSeed = SeedWithFirstDraw([](int d) { return d == 32767; });
    for (const ArmRow& row : ArmRows) {
        const ArmParameters arm = ArmOf(row);
        StarRecord star{};
        SeedRandom(tipSeed);
        FillArm(&star, 0, 1, arm, RedScheme);
        double x, y;
        SpiralPoint(arm, arm.EndAngle, x, y);
        EXPECT_EQ(star.Z, 0.0) << row.name;
        EXPECT_EQ(star.X, x) << row.name;
        EXPECT_EQ(star.Y, y) << row.name;
        const double tipRadius = 2 * std::exp(arm.Growth * arm.Sweep);
        EXPECT_NEAR(std::hypot(star.X - arm.ShiftX, star.Y), tipRadius, tipRadius * Slack) << row.name;
    }
}

// At the root the spiral starts on the bulge's edge, radius 2.
TEST_F(GalaxyShapes, ArmRootsOnTheBulgeEdge)
{
    for (const ArmRow& row : ArmRows) {
        const ArmParameters arm = ArmOf(row);
        double x, y;
        SpiralPoint(arm, arm.StartAngle, x, y);
        EXPECT_NEAR(std::hypot(x - arm.ShiftX, y), 2.0, 2 * Slack) << row.name;
    }
    // The barred spiral's arms start beside the ends of the bar.
    double x, y;
    SpiralPoint(ArmOf(ArmRows[6]), ArmRows[6].startAngle, x, y);
    EXPECT_NEAR(x, 2.2, Slack);
    EXPECT_NEAR(y, 2.0, Slack);
    SpiralPoint(ArmOf(ArmRows[7]), ArmRows[7].startAngle, x, y);
    EXPECT_NEAR(x, -2.2, Slack);
    EXPECT_NEAR(y, -2.0, Slack);
}

}  // namespace
