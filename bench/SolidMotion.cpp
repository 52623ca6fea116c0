#include "SolidMotion.h"

#include <cmath>

namespace vyn::bench {

namespace {

// The box and the speeds of the saver's motion; the bounds are compared in
// single precision with the single-precision position, as the saver does.
constexpr float kLow[3] = {-7.0f, -4.0f, 12.0f};
constexpr float kHigh[3] = {7.0f, 4.0f, 50.0f};
constexpr double kSpeed[3] = {0.1, 0.08, 0.2};
constexpr double kPi = 3.14159265359;

// Rodrigues' rotation of v about the unit axis u by angle a, written the way
// Retained Mode turns a frame: x turns towards y for a positive angle about z.
void Rotate(double (&v)[3], const double (&u)[3], double a) {
  double c = std::cos(a), s = std::sin(a);
  double dot = u[0] * v[0] + u[1] * v[1] + u[2] * v[2];
  double cross[3] = {u[1] * v[2] - u[2] * v[1], u[2] * v[0] - u[0] * v[2], u[0] * v[1] - u[1] * v[0]};
  for (int i = 0; i < 3; ++i) v[i] = v[i] * c + cross[i] * s + u[i] * dot * (1.0 - c);
}

}  // namespace

void SolidMotion::step() {
  for (int axis = 0; axis < 3; ++axis) {
    float p = static_cast<float>(position_[axis]);
    if (!(p >= kLow[axis]) || p > kHigh[axis]) direction_[axis] = -direction_[axis];
    velocity_[axis] = static_cast<float>(direction_[axis] * kSpeed[axis]);
    spinAxis_[axis] = direction_[axis] > 0 ? 1.0 : -1.0;
  }
  spinAngle_ = static_cast<float>(speedDegrees_ * kPi / 180.0);
}

void SolidMotion::move() {
  const double n = std::sqrt(3.0);
  const double unit[3] = {spinAxis_[0] / n, spinAxis_[1] / n, spinAxis_[2] / n};
  for (auto& axis : axes_) Rotate(axis, unit, spinAngle_);
  for (int i = 0; i < 3; ++i) position_[i] += velocity_[i];
}

}  // namespace vyn::bench
