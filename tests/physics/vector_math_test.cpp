#include <cmath>

#include <gtest/gtest.h>

#include "physics/vector_math.h"

namespace {

void expectNear(Vec3 a, Vec3 b, float tolerance = 1e-5f)
{
    EXPECT_NEAR(a.x, b.x, tolerance);
    EXPECT_NEAR(a.y, b.y, tolerance);
    EXPECT_NEAR(a.z, b.z, tolerance);
}

TEST(VectorMath, NormaliseGivesUnitLengthAndZeroForZero)
{
    expectNear(normalise({3, 4, 0}), {0.6f, 0.8f, 0});
    expectNear(normalise({0, 0, 0}), {0, 0, 0}, 0.0f);
    expectNear(normalise({NAN, 1, 0}), {0, 0, 0});
}

TEST(VectorMath, PositiveTurnAboutUpTurnsForwardToTheLeft)
{
    // The car's left is -z.
    expectNear(transformDirection(rotationY(1.5707964f), {1, 0, 0}), {0, 0, -1});
    expectNear(transformDirection(rotationX(1.5707964f), {0, 1, 0}), {0, 0, 1});
}

TEST(VectorMath, ProductAppliesTheLeftMatrixFirst)
{
    Mat4 t = translationMatrix({1, 0, 0});
    Mat4 r = rotationY(1.5707964f);
    // Move, then turn: (1, 0, 0) -> (2, 0, 0) -> (0, 0, -2).
    expectNear(transformPoint(t * r, {1, 0, 0}), {0, 0, -2});
    // Turn, then move.
    expectNear(transformPoint(r * t, {1, 0, 0}), {1, 0, -1});
}

} // namespace
