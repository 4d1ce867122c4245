#include "testbed/frmTestBed.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace {

struct Step {
    double a;
    SweepPoint at;
};

// The whole sweep of a 256 x 256 picture in the 635 x 535 test bed.
std::vector<Step> SweepOf256() {
    std::vector<Step> steps;
    ForEachSweepAngle([&](double a) {
        steps.push_back({a, SweepPosition(a, 635, 535, 256, 256)});
    });
    return steps;
}

const Step& Nearest(const std::vector<Step>& steps, double a) {
    const Step* best = &steps.front();
    for (const Step& step : steps)
        if (std::abs(step.a - a) < std::abs(best->a - a))
            best = &step;
    return *best;
}

} // namespace

TEST(Sweep, AccumulatedAngleTakes71901Values) {
    const std::vector<Step> steps = SweepOf256();
    ASSERT_EQ(steps.size(), 71901u);
    EXPECT_EQ(steps.front().a, 1.0);
    EXPECT_LT(steps.back().a, 720.0);
    EXPECT_GT(steps.back().a, 719.99);
}

TEST(Sweep, PositionsRoundHalvesToEven) {
    const std::vector<Step> steps = SweepOf256();
    // 239.5 goes up to the even 240, 138.5 down to the even 138.
    EXPECT_EQ(steps.front().at, (SweepPoint{240, 138}));
    EXPECT_EQ(Nearest(steps, 90).at, (SweepPoint{190, 110}));
    EXPECT_EQ(Nearest(steps, 180).at, (SweepPoint{140, 140}));
    EXPECT_EQ(Nearest(steps, 270).at, (SweepPoint{190, 170}));
    EXPECT_EQ(Nearest(steps, 450).at, (SweepPoint{190, 110}));
    // Just short of two full turns: dy is 0, and 139.5 rounds to the even 140.
    EXPECT_EQ(steps.back().at, (SweepPoint{240, 140}));
}

TEST(Sweep, OddSizesCentreWithoutHalves) {
    // (635 - 255) / 2 = 190 and (535 - 255) / 2 = 140: only the offsets move the picture.
    EXPECT_EQ(SweepPosition(1, 635, 535, 255, 255), (SweepPoint{240, 139}));
    EXPECT_EQ(SweepPosition(180, 635, 535, 255, 255), (SweepPoint{140, 140}));
}
