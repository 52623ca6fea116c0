// The motion step: reversal at the walls of the box, the velocity and the
// spin that it sets, over fake frames that record what they are given.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "FakeRetainedMode.h"
#include "Motion.h"
#include "Scene.h"
#include "Settings.h"

namespace vyn::saver {
namespace {

using scenetest::FakeFrame;

class MotionTest : public ::testing::Test {
 protected:
  void SetUp() override {
    root = new FakeFrame(nullptr);
    object = new FakeFrame(root);
    object->position = {0.0f, 0.0f, 15.0f};
    sceneHandles = {root, nullptr, object};
    motionState = {};
    saverSettings = {};
  }
  void TearDown() override {
    sceneHandles = {};
    motionState = {};
    saverSettings = {};
    object->Release();
    root->Release();
  }

  // What one Move of the scene would do to the object's position.
  void ApplyVelocity() {
    object->position.x += object->velocity.x;
    object->position.y += object->velocity.y;
    object->position.z += object->velocity.z;
  }

  void ExpectDirections(int dx, int dy, int dz) {
    EXPECT_EQ(motionState.dx, dx);
    EXPECT_EQ(motionState.dy, dy);
    EXPECT_EQ(motionState.dz, dz);
  }

  FakeFrame* root = nullptr;
  FakeFrame* object = nullptr;
};

TEST_F(MotionTest, FirstStepFromTheStartSetsForwardVelocityAndSpin) {
  StepMotion();

  ExpectDirections(1, 1, 1);
  EXPECT_EQ(object->velocity.x, 0.1f);
  EXPECT_EQ(object->velocity.y, 0.08f);
  EXPECT_EQ(object->velocity.z, 0.2f);
  EXPECT_EQ(object->velocityWithRotation, FALSE);
  EXPECT_EQ(object->rotationAxis.x, 1.0f);
  EXPECT_EQ(object->rotationAxis.y, 1.0f);
  EXPECT_EQ(object->rotationAxis.z, 1.0f);
  EXPECT_EQ(object->rotationAngle, static_cast<float>(5.0 * 3.14159265359 / 180.0));
  // Everything is relative to the scene root, and the step itself moves
  // nothing.
  EXPECT_EQ(object->positionReferences, std::vector<LPDIRECT3DRMFRAME>{root});
  EXPECT_EQ(object->velocityReference, root);
  EXPECT_EQ(object->rotationReference, root);
  EXPECT_EQ(object->position.z, 15.0f);
  EXPECT_EQ(object->positionReference, nullptr);
  EXPECT_TRUE(object->moves.empty());
}

TEST_F(MotionTest, YIsTheFirstAxisToTurnAroundAfterAboutFiftyTicks) {
  int tick = 0;
  while (motionState.dy == 1 && tick < 200) {
    StepMotion();
    if (motionState.dy == 1) ApplyVelocity();
    ++tick;
  }
  // y crosses 4.0 at the 50th or 51st tick; the step after sees it outside.
  EXPECT_GE(tick, 50);
  EXPECT_LE(tick, 53);
  EXPECT_GT(object->position.y, 4.0f);
  ExpectDirections(1, -1, 1);
  EXPECT_EQ(object->velocity.x, 0.1f);
  EXPECT_EQ(object->velocity.y, -0.08f);
  EXPECT_EQ(object->velocity.z, 0.2f);
  EXPECT_EQ(object->rotationAxis.x, 1.0f);
  EXPECT_EQ(object->rotationAxis.y, -1.0f);
  EXPECT_EQ(object->rotationAxis.z, 1.0f);

  // The next tick brings it back inside, and the direction holds.
  ApplyVelocity();
  StepMotion();
  EXPECT_LE(object->position.y, 4.0f);
  ExpectDirections(1, -1, 1);
}

TEST_F(MotionTest, LongRunStaysNearTheBox) {
  for (int tick = 0; tick < 5000; ++tick) {
    StepMotion();
    ApplyVelocity();
    ASSERT_GE(object->position.x, -7.0f - 0.1f - 1e-4f) << tick;
    ASSERT_LE(object->position.x, 7.0f + 0.1f + 1e-4f) << tick;
    ASSERT_GE(object->position.y, -4.0f - 0.08f - 1e-4f) << tick;
    ASSERT_LE(object->position.y, 4.0f + 0.08f + 1e-4f) << tick;
    ASSERT_GE(object->position.z, 12.0f - 0.2f - 1e-4f) << tick;
    ASSERT_LE(object->position.z, 50.0f + 0.2f + 1e-4f) << tick;
  }
}

struct BoundCase {
  D3DVECTOR position;
  int dx, dy, dz;  // directions after one step from (1, 1, 1)
};

class MotionBoundTest : public MotionTest, public ::testing::WithParamInterface<BoundCase> {};

TEST_P(MotionBoundTest, ReversesExactlyTheAxesOutsideTheBox) {
  const BoundCase& c = GetParam();
  object->position = c.position;
  StepMotion();
  ExpectDirections(c.dx, c.dy, c.dz);
  EXPECT_EQ(object->velocity.x, static_cast<float>(c.dx * 0.1));
  EXPECT_EQ(object->velocity.y, static_cast<float>(c.dy * 0.08));
  EXPECT_EQ(object->velocity.z, static_cast<float>(c.dz * 0.2));
  EXPECT_EQ(object->rotationAxis.x, static_cast<float>(c.dx));
  EXPECT_EQ(object->rotationAxis.y, static_cast<float>(c.dy));
  EXPECT_EQ(object->rotationAxis.z, static_cast<float>(c.dz));
}

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();

INSTANTIATE_TEST_SUITE_P(
    Walls, MotionBoundTest,
    ::testing::Values(BoundCase{{7.0f, 0.0f, 15.0f}, 1, 1, 1},      // on a bound is inside
                      BoundCase{{-7.0f, 0.0f, 15.0f}, 1, 1, 1},
                      BoundCase{{7.05f, 0.0f, 15.0f}, -1, 1, 1},
                      BoundCase{{-7.05f, 0.0f, 15.0f}, -1, 1, 1},
                      BoundCase{{0.0f, 4.0f, 15.0f}, 1, 1, 1},
                      BoundCase{{0.0f, -4.0f, 15.0f}, 1, 1, 1},
                      BoundCase{{0.0f, 4.05f, 15.0f}, 1, -1, 1},
                      BoundCase{{0.0f, -4.05f, 15.0f}, 1, -1, 1},
                      BoundCase{{0.0f, 0.0f, 12.0f}, 1, 1, 1},
                      BoundCase{{0.0f, 0.0f, 50.0f}, 1, 1, 1},
                      BoundCase{{0.0f, 0.0f, 11.95f}, 1, 1, -1},
                      BoundCase{{0.0f, 0.0f, 50.05f}, 1, 1, -1},
                      BoundCase{{7.05f, -4.05f, 15.0f}, -1, -1, 1},  // two axes at once
                      BoundCase{{-8.0f, 5.0f, 60.0f}, -1, -1, -1},
                      BoundCase{{kNaN, 0.0f, 15.0f}, -1, 1, 1},      // NaN is outside
                      BoundCase{{0.0f, kNaN, 15.0f}, 1, -1, 1},
                      BoundCase{{0.0f, 0.0f, kNaN}, 1, 1, -1}));

TEST_F(MotionTest, NaNCoordinateReversesOnEveryStep) {
  object->position = {kNaN, 0.0f, 15.0f};
  for (int expected : {-1, 1, -1, 1}) {
    StepMotion();
    EXPECT_EQ(motionState.dx, expected);
    EXPECT_EQ(object->rotationAxis.x, static_cast<float>(expected));
  }
  EXPECT_EQ(motionState.dy, 1);
  EXPECT_EQ(motionState.dz, 1);
}

TEST_F(MotionTest, SpinAngleIsTheSpeedInRadiansForEverySetting) {
  for (int speed = 1; speed <= 10; ++speed) {
    saverSettings.speedDegrees = speed;
    StepMotion();
    EXPECT_EQ(object->rotationAngle, static_cast<float>(speed * M_PI / 180.0)) << speed;
    EXPECT_NEAR(object->rotationAngle, speed * 0.017453292519943295, 1e-6) << speed;
  }
}

TEST_F(MotionTest, FailedPositionReadReversesNothing) {
  object->getPositionResult = D3DRMERR_BADOBJECT;
  motionState = {1, -1, 1};
  StepMotion();
  ExpectDirections(1, -1, 1);
  EXPECT_EQ(object->velocity.y, -0.08f);
  EXPECT_EQ(object->rotationCalls, 1);
}

TEST_F(MotionTest, WithoutFramesTheStepDoesNothing) {
  sceneHandles.object = nullptr;
  StepMotion();
  EXPECT_EQ(object->velocityCalls, 0);
  EXPECT_EQ(object->rotationCalls, 0);
  ExpectDirections(1, 1, 1);
}

}  // namespace
}  // namespace vyn::saver
