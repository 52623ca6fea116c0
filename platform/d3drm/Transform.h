// Rigid placements of frames: an orthonormal basis and an origin, kept in
// double precision so that thousands of small rotations do not drift.
#pragma once

#include <cmath>

namespace vyn::d3drm {

struct Vec3d {
  double x = 0, y = 0, z = 0;

  friend Vec3d operator+(Vec3d a, Vec3d b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
  friend Vec3d operator-(Vec3d a, Vec3d b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
  friend Vec3d operator*(Vec3d a, double s) { return {a.x * s, a.y * s, a.z * s}; }
};

inline double Dot(Vec3d a, Vec3d b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
inline Vec3d Cross(Vec3d a, Vec3d b) {
  return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
inline double Length(Vec3d a) { return std::sqrt(Dot(a, a)); }
inline Vec3d Normalized(Vec3d a) {
  const double length = Length(a);
  return length > 0 ? a * (1.0 / length) : a;
}

// Rotates v about the unit axis k by angle (radians). In the left-handed
// system a positive angle turns +x towards +y about +z, which is clockwise
// when seen from the tip of the axis.
inline Vec3d RotateAbout(Vec3d v, Vec3d k, double angle) {
  const double c = std::cos(angle);
  const double s = std::sin(angle);
  return v * c + Cross(k, v) * s + k * (Dot(k, v) * (1 - c));
}

// A frame's placement in the coordinates of another frame: row i of the basis
// is the frame's axis i (x, y, z) and `origin` its origin. A point p of the
// frame lies at p.x*axis[0] + p.y*axis[1] + p.z*axis[2] + origin.
struct Placement {
  Vec3d axis[3] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}};
  Vec3d origin{};

  Vec3d RotateOut(Vec3d v) const { return axis[0] * v.x + axis[1] * v.y + axis[2] * v.z; }
  Vec3d PointOut(Vec3d p) const { return RotateOut(p) + origin; }
  Vec3d RotateIn(Vec3d v) const { return {Dot(v, axis[0]), Dot(v, axis[1]), Dot(v, axis[2])}; }
  Vec3d PointIn(Vec3d p) const { return RotateIn(p - origin); }
};

// The placement of `inner` (given relative to `outer`) relative to whatever
// `outer` is relative to.
inline Placement Compose(const Placement& inner, const Placement& outer) {
  Placement result;
  for (int i = 0; i < 3; ++i) result.axis[i] = outer.RotateOut(inner.axis[i]);
  result.origin = outer.PointOut(inner.origin);
  return result;
}

inline Placement Inverse(const Placement& p) {
  Placement result;
  result.axis[0] = {p.axis[0].x, p.axis[1].x, p.axis[2].x};
  result.axis[1] = {p.axis[0].y, p.axis[1].y, p.axis[2].y};
  result.axis[2] = {p.axis[0].z, p.axis[1].z, p.axis[2].z};
  result.origin = result.RotateOut(p.origin) * -1.0;
  return result;
}

// Builds the basis of a direction (+z) and an up vector (+y, projected onto
// the plane normal to the direction). False when they are parallel or null.
inline bool BasisFromDirectionUp(Vec3d direction, Vec3d up, Vec3d (&axis)[3]) {
  const Vec3d z = Normalized(direction);
  if (Length(z) == 0) return false;
  const Vec3d projected = up - z * Dot(up, z);
  if (Length(projected) <= 1e-12 * (Length(up) + 1e-300)) return false;
  const Vec3d y = Normalized(projected);
  axis[0] = Cross(y, z);
  axis[1] = y;
  axis[2] = z;
  return true;
}

// Re-orthonormalises a basis that has collected rounding error.
inline void Orthonormalize(Vec3d (&axis)[3]) {
  Vec3d fixed[3];
  if (BasisFromDirectionUp(axis[2], axis[1], fixed)) {
    for (int i = 0; i < 3; ++i) axis[i] = fixed[i];
  }
}

}  // namespace vyn::d3drm
