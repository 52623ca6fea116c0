#include "Motion.h"

#include "Scene.h"
#include "Settings.h"

namespace vyn::saver {

MotionState motionState;

namespace {

// The box, relative to the scene root; a coordinate on a bound is inside.
// Bounds are single precision, compared with the single-precision position.
struct AxisBox {
  D3DVALUE low;
  D3DVALUE high;
};
constexpr AxisBox kBoxX{-7.0f, 7.0f};
constexpr AxisBox kBoxY{-4.0f, 4.0f};
constexpr AxisBox kBoxZ{12.0f, 50.0f};

// Travel per tick on each axis.
constexpr double kSpeedX = 0.1;
constexpr double kSpeedY = 0.08;
constexpr double kSpeedZ = 0.2;

constexpr double kPi = 3.14159265359;

// Written as "not at or above the lower bound" so that NaN counts as outside.
bool OutsideBox(D3DVALUE coordinate, AxisBox box) {
  return !(coordinate >= box.low) || coordinate > box.high;
}

void ReverseIfOutside(D3DVALUE coordinate, AxisBox box, int& direction) {
  if (OutsideBox(coordinate, box)) direction = -direction;
}

D3DVALUE SpinAxisComponent(int direction) { return direction > 0 ? 1.0f : -1.0f; }

}  // namespace

void StepMotion() {
  LPDIRECT3DRMFRAME2 scene = sceneHandles.scene;
  LPDIRECT3DRMFRAME2 object = sceneHandles.object;
  // Without the frames (a failed set-up) there is nothing to move.
  if (scene == nullptr || object == nullptr) return;

  // The result is not looked at: a failed read leaves a point inside the
  // box, which reverses nothing.
  D3DVECTOR position{0.0f, 0.0f, kBoxZ.low};
  object->GetPosition(scene, &position);

  MotionState& m = motionState;
  ReverseIfOutside(position.x, kBoxX, m.dx);
  ReverseIfOutside(position.y, kBoxY, m.dy);
  ReverseIfOutside(position.z, kBoxZ, m.dz);

  object->SetVelocity(scene, static_cast<D3DVALUE>(m.dx * kSpeedX), static_cast<D3DVALUE>(m.dy * kSpeedY),
                      static_cast<D3DVALUE>(m.dz * kSpeedZ), FALSE);

  // The spin axis is the diagonal that matches the direction of travel, so
  // the spin turns round on the same step as the travel.
  const double theta = saverSettings.speedDegrees * kPi / 180.0;
  object->SetRotation(scene, SpinAxisComponent(m.dx), SpinAxisComponent(m.dy), SpinAxisComponent(m.dz),
                      static_cast<D3DVALUE>(theta));
}

}  // namespace vyn::saver
