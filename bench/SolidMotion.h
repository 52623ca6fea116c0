// The solid's drift and spin, worked out on their own for the peer: the same
// box, speeds and spin as the saver's motion step, and the same effect as a
// retained-mode Move on the scene root (the spin about the object's own
// origin, the velocity added to its position, both relative to the root).
#pragma once

namespace vyn::bench {

class SolidMotion {
 public:
  explicit SolidMotion(double speedDegrees) : speedDegrees_(speedDegrees) {}

  // Reverses the directions that left the box and sets velocity and spin.
  void step();
  // Applies velocity and spin once.
  void move();

  // Object to root: x, y and z axes of the object and its position, all in
  // root coordinates (left-handed, +z away from the camera).
  const double (&axes() const)[3][3] { return axes_; }
  const double (&position() const)[3] { return position_; }

 private:
  double speedDegrees_;
  int direction_[3] = {1, 1, 1};
  double position_[3] = {0.0, 0.0, 15.0};
  double axes_[3][3] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}};
  double velocity_[3] = {0, 0, 0};
  double spinAxis_[3] = {1, 1, 1};
  double spinAngle_ = 0.0;
};

}  // namespace vyn::bench
